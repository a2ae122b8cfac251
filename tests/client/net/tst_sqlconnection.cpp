// Opening, closing and cloning connections against the substitute server.
#include "netfixture.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QMutex>
#include <QTcpServer>
#include <QThread>
#include <atomic>
#include <dbxcommand.h>
#include <exception.h>
#include <sqlconnection.h>
#include <testmain.h>

using platform::TSQLConnection;

namespace {

// A loopback port nobody listens on.
int closedPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const int port = probe.serverPort();
    probe.close();
    return port;
}

QString openFailure(TSQLConnection &connection)
{
    try {
        connection.Open();
    } catch (const platform::Exception &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TestSqlConnection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QString::fromUtf8(KORVEL_SERVER_BIN).isEmpty())
            QSKIP("the substitute server is not part of this build");
        QVERIFY2(m_server.start(QString::fromUtf8(KORVEL_SERVER_BIN)), qPrintable(m_server.errorString()));
    }

    void openHandshakesAndCloseDropsTheSocket()
    {
        auto connection = m_server.connection();
        QVERIFY(!connection->Connected());
        connection->Open();
        QVERIFY(connection->Connected());
        QVERIFY(!connection->ServerPlatformName().isEmpty());
        connection->Open(); // already open: nothing happens
        QVERIFY(connection->Connected());
        connection->Close();
        QVERIFY(!connection->Connected());
        connection->Close();
        connection->SetConnected(true);
        QVERIFY(connection->Connected());
    }

    void openRefusesUnusableParameters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no host") << "HostName"
                                 << ""
                                 << "Sunucu adresi belirtilmediği";
        QTest::newRow("port text") << "Port"
                                   << "dokuz"
                                   << "geçersiz port";
        QTest::newRow("port range") << "Port"
                                    << "70000"
                                    << "geçersiz port";
        QTest::newRow("protocol") << "CommunicationProtocol"
                                  << "https"
                                  << "iletişim protokolü";
        QTest::newRow("filters") << "Filters"
                                 << R"({"ZLibCompression":{}})"
                                 << "iletim filtresi";
        QTest::newRow("driver") << ""
                                << "MySQL"
                                << "sürücüsü";
    }

    void openRefusesUnusableParameters()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        auto connection = m_server.connection();
        if (name.isEmpty())
            connection->SetDriverName(value);
        else
            connection->SetParam(name, value);
        const QString message = openFailure(*connection);
        QVERIFY2(message.contains(expected), qPrintable(message));
        QVERIFY(!connection->Connected());
    }

    void openAgainstClosedPortFailsFastNamingHostPortAndReason()
    {
        const int port = closedPort();
        QVERIFY(port > 0);
        auto connection = nettest::loopbackConnection(port);
        QElapsedTimer timer;
        timer.start();
        const QString message = openFailure(*connection);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!connection->Connected());
        QVERIFY2(message.contains(QLatin1String("127.0.0.1")), qPrintable(message));
        QVERIFY2(message.contains(QString::number(port)), qPrintable(message));
        QVERIFY2(message.contains(QLatin1String("reddedildi")), qPrintable(message));
    }

    void openAgainstAnotherKindOfServerFails()
    {
        // The web port speaks HTTP but knows no handshake.
        auto connection = nettest::loopbackConnection(m_server.webPort());
        const QString message = openFailure(*connection);
        QVERIFY2(!message.isEmpty(), "the web port was taken for the application server");
        QVERIFY2(message.contains(QString::number(m_server.webPort())), qPrintable(message));
        QVERIFY(!connection->Connected());
    }

    void silentServerDoesNotHoldOpen()
    {
        // Accepts at the TCP level (backlog) but never answers the handshake.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        auto connection = nettest::loopbackConnection(silent.serverPort());
        QElapsedTimer timer;
        timer.start();
        const QString message = openFailure(*connection);
        QVERIFY2(!message.isEmpty(), "a server without a handshake was taken");
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!connection->Connected());
    }

    void serverRefusingTwoConnectionsAcceptsTheThird()
    {
        nettest::B2BServer refusing;
        QVERIFY2(refusing.start(QString::fromUtf8(KORVEL_SERVER_BIN),
                                {QStringLiteral("--fault"), QStringLiteral("refuse=2")}),
                 qPrintable(refusing.errorString()));
        auto connection = refusing.connection();
        for (int attempt = 1; attempt <= 2; ++attempt) {
            const QString message = openFailure(*connection);
            QVERIFY2(!message.isEmpty(), qPrintable(QStringLiteral("attempt %1 opened").arg(attempt)));
            QVERIFY2(message.contains(QString::number(refusing.port())), qPrintable(message));
            QVERIFY(!connection->Connected());
        }
        connection->Open();
        QVERIFY(connection->Connected());
    }

    void cloneCopiesParametersAndIsIndependent()
    {
        TSQLConnection source;
        source.SetHostName(QStringLiteral("127.0.0.1"));
        source.SetPort(QString::number(m_server.port()));
        source.SetParam(QStringLiteral("DSProxyPort"), QStringLiteral("8191"));
        source.SetLoginPrompt(true);
        source.Open();

        std::unique_ptr<TSQLConnection> clone = source.Clone();
        QVERIFY(!clone->Connected());
        QVERIFY(!clone->parent());
        QCOMPARE(clone->DriverName(), source.DriverName());
        QCOMPARE(clone->LoginPrompt(), true);
        for (const QString &name :
             {QStringLiteral("HostName"), QStringLiteral("Port"), QStringLiteral("DSProxyPort"),
              QStringLiteral("CommunicationProtocol"), QStringLiteral("DatasnapContext"), QStringLiteral("Filters")})
            QCOMPARE(clone->Param(name), source.Param(name));

        clone->Open();
        source.Close();
        QVERIFY(clone->Connected());
        // The clone's own socket still serves calls after the source closed.
        auto command = clone->CreateCommand();
        command->SetCommandType(QStringLiteral("DataSnap.ServerMethod"));
        command->SetText(QStringLiteral("TServerMethods1.AcilisReklamAdet"));
        command->ExecuteUpdate();
        QVERIFY(command->Parameter(0).GetInt32() >= 0);

        clone->SetHostName(QStringLiteral("192.0.2.1"));
        QCOMPARE(source.HostName(), QStringLiteral("127.0.0.1"));
        source.Open();
        QVERIFY(source.Connected());
    }

    void sixteenClientsCallAtOnceEachOnItsOwnClone()
    {
        TSQLConnection main;
        main.SetHostName(QStringLiteral("127.0.0.1"));
        main.SetPort(QString::number(m_server.port()));

        constexpr int clients = 16;
        constexpr int callsEach = 25;
        std::atomic<int> good{0};
        QStringList failures;
        QMutex failuresLock;
        std::atomic<bool> go{false};
        QList<QThread *> threads;
        for (int i = 0; i < clients; ++i) {
            threads.append(QThread::create([&, i] {
                while (!go.load())
                    QThread::yieldCurrentThread();
                try {
                    std::unique_ptr<TSQLConnection> clone = main.Clone();
                    clone->Open();
                    auto command = clone->CreateCommand();
                    command->SetCommandType(QStringLiteral("DataSnap.ServerMethod"));
                    command->SetText(QStringLiteral("TServerMethods1.BuyukGetir"));
                    const QString computer =
                        i % 2 ? nettest::B2BServer::knownComputer() : QStringLiteral("YOK-%1").arg(i);
                    for (int c = 0; c < callsEach; ++c) {
                        command->Parameter(0).SetWideString(computer);
                        command->ExecuteUpdate();
                        const QJsonValue record = command->Parameter(1).GetJSONValue();
                        const bool known = record.toObject()
                                               .value(QLatin1String("fields"))
                                               .toObject()
                                               .value(QLatin1String("FVarmi"))
                                               .toBool();
                        if (known == bool(i % 2))
                            ++good;
                    }
                    clone->Close();
                } catch (const platform::Exception &e) {
                    QMutexLocker lock(&failuresLock);
                    failures.append(e.Message());
                }
            }));
            threads.last()->start();
        }
        go = true;
        for (QThread *t : threads) {
            QVERIFY(t->wait(60000));
            delete t;
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QCOMPARE(good.load(), clients * callsEach);
        QVERIFY(!main.Connected());
    }

private:
    nettest::B2BServer m_server;
};

KORVEL_TEST_MAIN(TestSqlConnection)
#include "tst_sqlconnection.moc"
