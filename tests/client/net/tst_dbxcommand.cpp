// Server-method commands: every value kind through the real server, the server's
// refusals, and answers the client must refuse without crashing.
#include "netfixture.h"

#include <QBuffer>
#include <QJsonObject>
#include <atomic>
#include <baglantiu.h>
#include <cmath>
#include <dbxcommand.h>
#include <exception.h>
#include <functional>
#include <limits>
#include <sqlconnection.h>
#include <table.h>
#include <testmain.h>
#include <zlib.h>

using platform::TDBXCommand;
using platform::TDBXParameter;
using platform::TSQLConnection;

using CommandStep = std::function<void(TDBXCommand &)>;
Q_DECLARE_METATYPE(CommandStep)

namespace {

std::unique_ptr<TDBXCommand> serverMethod(TSQLConnection &connection, const QString &method)
{
    auto command = connection.CreateCommand();
    command->SetCommandType(QStringLiteral("DataSnap.ServerMethod"));
    command->SetText(QStringLiteral("TServerMethods1.") + method);
    command->Prepare();
    return command;
}

// Runs `step` and returns the message of the platform exception it raised, or a null string.
QString failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const platform::Exception &e) {
        return e.Message().isNull() ? QStringLiteral("") : e.Message();
    }
    return QString();
}

// The HTTP status of the server's refusal: -1 when `step` succeeded, 0 when it failed
// on the client's side.
int statusOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const platform::RemoteError &e) {
        return e.Status();
    } catch (const platform::Exception &) {
        return 0;
    }
    return -1;
}

QByteArray gzip(const QByteArray &data)
{
    z_stream zs{};
    deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&zs, uLong(data.size()))) + 32, Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(int(zs.total_out));
    deflateEnd(&zs);
    return out;
}

} // namespace

#define REQUIRE_SERVER()                                                                                               \
    if (!m_serverUp)                                                                                                   \
    QSKIP("the substitute server is not part of this build")

class TestDbxCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The answers the real server never gives are tested without it.
        if (QString::fromUtf8(KORVEL_SERVER_BIN).isEmpty())
            return;
        QVERIFY2(m_server.start(QString::fromUtf8(KORVEL_SERVER_BIN)), qPrintable(m_server.errorString()));
        m_connection = m_server.connection();
        m_connection->Open();

        auto login = serverMethod(*m_connection, QStringLiteral("BuyukGetir"));
        login->Parameter(0).SetWideString(nettest::B2BServer::knownComputer());
        login->ExecuteUpdate();
        const TSonucBilgisi *record = login->Parameter(1).GetRecord<TSonucBilgisi>();
        QVERIFY(record && record->Varmi());
        m_session.Kopyala(*record);

        auto search = serverMethod(*m_connection, QStringLiteral("StokAraGetirQuelpa"));
        search->Parameter(0).SetWideString(QString());
        search->Parameter(1).SetRecord(&m_session);
        search->ExecuteUpdate();
        const wire::Table *stock = search->Parameter(2).GetTable();
        QVERIFY(stock->rowCount() > 0);
        m_stokno = qint32(stock->intValue(0, stock->indexOf(QStringLiteral("STOK_STOKNO"))));
        m_serverUp = true;
    }

    void roundTripsEveryValueKind_data()
    {
        REQUIRE_SERVER();
        QTest::addColumn<QString>("method");
        QTest::addColumn<CommandStep>("setInputs");
        QTest::addColumn<CommandStep>("check");
        const TSonucBilgisi session = m_session;

        QTest::newRow("string in, record out") << "BuyukGetir" << CommandStep([](TDBXCommand &c) {
            c.Parameter(0).SetWideString(nettest::B2BServer::knownComputer());
        }) << CommandStep([session](TDBXCommand &c) {
            const TSonucBilgisi *r = c.Parameter(1).GetRecord<TSonucBilgisi>();
            QVERIFY(r);
            QVERIFY(r->Varmi());
            QCOMPARE(r->BILGISAYARID(), nettest::B2BServer::knownComputer());
            QVERIFY(r->CARINO() > 0);
            QCOMPARE(c.Parameter(1).GetRecord<TSonucBilgisi>(), r); // read twice, one object
        });
        QTest::newRow("unknown computer") << "BuyukGetir" << CommandStep([](TDBXCommand &c) {
            c.Parameter(0).SetWideString(QStringLiteral("BİLİNMEYEN-ŞİŞLİ-ÇĞÜÖ"));
        }) << CommandStep([](TDBXCommand &c) {
            const TSonucBilgisi *r = c.Parameter(1).GetRecord<TSonucBilgisi>();
            QVERIFY(r);
            QVERIFY(!r->Varmi());
        });
        QTest::newRow("integer out") << "AcilisReklamAdet" << CommandStep() << CommandStep([](TDBXCommand &c) {
            QCOMPARE(c.ParameterCount(), 1);
            QVERIFY(c.Parameter(0).GetInt32() >= 0);
            QVERIFY(c.Parameter(0).GetInt64() >= 0);
        });
        QTest::newRow("string out") << "KayanYaziGetir" << CommandStep() << CommandStep([](TDBXCommand &c) {
            QVERIFY(!c.Parameter(0).GetWideString().isEmpty());
        });
        QTest::newRow("reader") << "TeslimVer" << CommandStep() << CommandStep([](TDBXCommand &c) {
            const wire::Table *t = c.Parameter(0).GetTable();
            QVERIFY(t);
            QVERIFY(t->columnCount() >= 2);
            QVERIFY(t->rowCount() >= 1);
            QCOMPARE(c.Parameter(0).GetTable(), t);
        });
        QTest::newRow("integer in, data packet out")
            << "SepetVer2" << CommandStep([session](TDBXCommand &c) { c.Parameter(0).SetInt32(session.CARINO()); })
            << CommandStep([](TDBXCommand &c) {
                   const wire::Table *t = c.Parameter(1).GetTable();
                   QVERIFY(t->indexOf(QStringLiteral("SIRANO")) >= 0);
                   QVERIFY(t->indexOf(QStringLiteral("SEC")) >= 0);
               });
        QTest::newRow("record in, record out")
            << "TusSonuclariVer" << CommandStep([session](TDBXCommand &c) { c.Parameter(0).SetRecord(&session); })
            << CommandStep([](TDBXCommand &c) {
                   const TTusSonuclari *r = c.Parameter(1).GetRecord<TTusSonuclari>();
                   QVERIFY(r);
                   QVERIFY(r->Alindi() >= 0 && r->Goruldu() >= 0);
               });
        QTest::newRow("string and record in, large data packet out")
            << "StokAraGetirQuelpa" << CommandStep([session](TDBXCommand &c) {
                   c.Parameter(0).SetWideString(QString());
                   c.Parameter(1).SetRecord(&session);
               })
            << CommandStep([](TDBXCommand &c) {
                   // Large enough for the server to answer compressed.
                   const wire::Table *t = c.Parameter(2).GetTable();
                   QVERIFY(t->rowCount() >= 100);
                   QVERIFY(t->indexOf(QStringLiteral("STOK_STOKNO")) >= 0);
               });
        const qint32 stokno = m_stokno;
        QTest::newRow("doubles in") << "SepetEkle2" << CommandStep([session, stokno](TDBXCommand &c) {
            c.Parameter(0).SetRecord(&session);
            c.Parameter(1).SetInt32(session.CARINO());
            c.Parameter(2).SetInt32(stokno);
            c.Parameter(3).SetWideString(QStringLiteral("8690000000001"));
            c.Parameter(4).SetWideString(QStringLiteral("YAĞ FİLTRESİ"));
            c.Parameter(5).SetDouble(2.5);
            c.Parameter(6).SetDouble(20);
            c.Parameter(7).SetDouble(123.45);
            c.Parameter(8).SetDouble(10);
            c.Parameter(9).SetInt32(session.Sirano());
            c.Parameter(10).SetInt32(0);
            c.Parameter(11).SetDouble(5);
            c.Parameter(12).SetDouble(0);
            c.Parameter(13).SetDouble(0);
        }) << CommandStep([](TDBXCommand &c) { QCOMPARE(c.Parameter(14).GetInt32(), 1); });
        QTest::newRow("Boolean out") << "SiparisKaydet" << CommandStep([session](TDBXCommand &c) {
            c.Parameter(0).SetRecord(&session);
            c.Parameter(1).SetInt32(session.CARINO());
            c.Parameter(2).SetInt32(1);
            c.Parameter(3).SetInt32(1);
            c.Parameter(4).SetWideString(QStringLiteral("Deneme siparişi — çğıöşü"));
            c.Parameter(5).SetInt32(session.Sirano());
            c.Parameter(6).SetInt32(1);
        }) << CommandStep([](TDBXCommand &c) {
            QCOMPARE(c.ParameterCount(), 8);
            c.Parameter(7).GetBoolean(); // true or false, but a Boolean
        });
        QTest::newRow("Int64 out, stream") << "BannerResimVer2" << CommandStep() << CommandStep([](TDBXCommand &c) {
            const qint64 size = c.Parameter(0).GetInt64();
            QBuffer *stream = c.Parameter(1).GetStream();
            QVERIFY(stream && stream->isReadable());
            QVERIFY(size > 0);
            QCOMPARE(stream->size(), size);
            QVERIFY(stream->data().startsWith("GIF8"));
        });
    }

    void roundTripsEveryValueKind()
    {
        REQUIRE_SERVER();
        QFETCH(QString, method);
        QFETCH(CommandStep, setInputs);
        QFETCH(CommandStep, check);
        auto command = serverMethod(*m_connection, method);
        // Twice on the same command: the second execution replaces the first one's results.
        for (int run = 0; run < 2; ++run) {
            if (setInputs)
                setInputs(*command);
            command->ExecuteUpdate();
            check(*command);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void nullRecordArgumentTravelsAsNull()
    {
        REQUIRE_SERVER();
        // The server sees null, not an empty record: it refuses with its own message.
        auto command = serverMethod(*m_connection, QStringLiteral("TusSonuclariVer"));
        command->Parameter(0).SetRecord(nullptr);
        const QString message = failureOf([&] { command->ExecuteUpdate(); });
        QVERIFY(!message.isNull());
        QVERIFY(m_connection->Connected());
    }

    void serverErrorReachesTheCallerWithItsMessage()
    {
        REQUIRE_SERVER();
        nettest::B2BServer failing;
        QVERIFY2(failing.start(
                     QString::fromUtf8(KORVEL_SERVER_BIN),
                     {QStringLiteral("--fault"), QStringLiteral("fail=KayanYaziGetir:Kayan yazı bulunamadı (deneme)")}),
                 qPrintable(failing.errorString()));
        auto connection = failing.connection();
        connection->Open();
        auto command = serverMethod(*connection, QStringLiteral("KayanYaziGetir"));
        QCOMPARE(failureOf([&] { command->ExecuteUpdate(); }), QStringLiteral("Kayan yazı bulunamadı (deneme)"));
    }

    void wrongParameterCountIsRefusedAndTheConnectionGoesOn()
    {
        REQUIRE_SERVER();
        auto command = serverMethod(*m_connection, QStringLiteral("AcilisReklamAdet"));
        command->Parameter(0).SetInt32(1);
        QCOMPARE(statusOf([&] { command->ExecuteUpdate(); }), 400);
        QVERIFY(!failureOf([&] { command->ExecuteUpdate(); }).isEmpty());
        QVERIFY(m_connection->Connected());

        auto good = serverMethod(*m_connection, QStringLiteral("AcilisReklamAdet"));
        good->ExecuteUpdate();
        QVERIFY(good->Parameter(0).GetInt32() >= 0);
    }

    void oversizedBodyIsRefused()
    {
        REQUIRE_SERVER();
        auto command = serverMethod(*m_connection, QStringLiteral("BuyukGetir"));
        command->Parameter(0).SetWideString(QString(1024 * 1024 + 16, QLatin1Char('x')));
        const int status = statusOf([&] { command->ExecuteUpdate(); });
        // 413, or the server closed the socket before the whole body was sent.
        QVERIFY2(status == 413 || status == 0, qPrintable(QString::number(status)));

        m_connection->Open(); // whatever the refusal did to the socket, a reopen serves again
        command->Parameter(0).SetWideString(nettest::B2BServer::knownComputer());
        command->ExecuteUpdate();
        QVERIFY(command->Parameter(1).GetRecord<TSonucBilgisi>()->Varmi());
    }

    void inputsAreCheckedBeforeSending_data()
    {
        QTest::addColumn<CommandStep>("step");
        QTest::addColumn<QString>("expected");
        QTest::newRow("gap in the inputs") << CommandStep([](TDBXCommand &c) {
            c.Parameter(1).SetInt32(5);
            c.ExecuteUpdate();
        }) << "0. parametre atanmadı";
        QTest::newRow("NaN") << CommandStep([](TDBXCommand &c) {
            c.Parameter(0).SetDouble(std::numeric_limits<double>::quiet_NaN());
        }) << "geçerli bir sayı değil";
        QTest::newRow("infinity") << CommandStep([](TDBXCommand &c) {
            c.Parameter(0).SetDouble(-std::numeric_limits<double>::infinity());
        }) << "geçerli bir sayı değil";
        QTest::newRow("command type") << CommandStep([](TDBXCommand &c) {
            c.SetCommandType(QStringLiteral("Dbx.SQL"));
            c.ExecuteUpdate();
        }) << "komut türü";
        QTest::newRow("text without class") << CommandStep([](TDBXCommand &c) {
            c.SetText(QStringLiteral("KayanYaziGetir"));
            c.Prepare();
        }) << "metodu adı";
        QTest::newRow("text with a path") << CommandStep([](TDBXCommand &c) {
            c.SetText(QStringLiteral("TServerMethods1.Kayan/../Yazi"));
            c.Prepare();
        }) << "metodu adı";
        QTest::newRow("reading a value never set")
            << CommandStep([](TDBXCommand &c) { c.Parameter(3).GetInt32(); }) << "değeri yok";
    }

    void inputsAreCheckedBeforeSending()
    {
        QFETCH(CommandStep, step);
        QFETCH(QString, expected);
        TSQLConnection closed; // nothing may reach a server
        auto command = serverMethod(closed, QStringLiteral("KayanYaziGetir"));
        const QString message = failureOf([&] { step(*command); });
        QVERIFY2(message.contains(expected), qPrintable(message));
    }

    void executingNeedsAnOpenLiveConnection()
    {
        REQUIRE_SERVER();
        auto connection = m_server.connection();
        auto command = serverMethod(*connection, QStringLiteral("KayanYaziGetir"));
        QVERIFY(failureOf([&] { command->ExecuteUpdate(); }).contains(QStringLiteral("açık değil")));
        connection.reset();
        QVERIFY(failureOf([&] { command->ExecuteUpdate(); }).contains(QStringLiteral("bağlantısı artık yok")));
    }

    void malformedAnswersAreRefused_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("expected"); // part of the message
        // Rows with an HTTP error status must come out as platform::RemoteError of that status.

        QTest::newRow("not JSON") << 200 << QByteArray("<html>tamam</html>") << ""
                                  << "çözümlenemedi";
        QTest::newRow("cut JSON") << 200 << QByteArray(R"({"result":[1,)") << ""
                                  << "çözümlenemedi";
        QTest::newRow("no result") << 200 << QByteArray(R"({"sonuc":[1]})") << ""
                                   << "çözümlenemedi";
        QTest::newRow("result not an array") << 200 << QByteArray(R"({"result":5})") << ""
                                             << "çözümlenemedi";
        QTest::newRow("value missing") << 200 << QByteArray(R"({"result":[]})") << "int"
                                       << "değeri yok";
        QTest::newRow("text for integer") << 200 << QByteArray(R"({"result":["7"]})") << "int"
                                          << "çözümlenemedi";
        QTest::newRow("fraction for integer") << 200 << QByteArray(R"({"result":[1.5]})") << "int"
                                              << "çözümlenemedi";
        QTest::newRow("integer out of range") << 200 << QByteArray(R"({"result":[3000000000]})") << "int"
                                              << "çözümlenemedi";
        QTest::newRow("number for Boolean") << 200 << QByteArray(R"({"result":[1]})") << "bool"
                                            << "çözümlenemedi";
        QTest::newRow("number for text") << 200 << QByteArray(R"({"result":[1]})") << "string"
                                         << "çözümlenemedi";
        QTest::newRow("column lengths differ")
            << 200
            << QByteArray(R"({"result":[{"table":[["A",6,0,0,0,4,0,0,false,false,0,false,false],)"
                          R"(["B",26,1,0,0,9,0,0,true,false,0,false,false]],"A":[1,2],"B":["x"]}]})")
            << "table"
            << "çözümlenemedi";
        QTest::newRow("text in an integer column")
            << 200 << QByteArray(R"({"result":[{"table":[["A",6,0,0,0,4,0,0,false,false,0,false,false]],"A":["x"]}]})")
            << "table"
            << "çözümlenemedi";
        QTest::newRow("table of another shape") << 200 << QByteArray(R"({"result":[[1,2,3]]})") << "table"
                                                << "çözümlenemedi";
        QTest::newRow("byte out of range") << 200 << QByteArray(R"({"result":[3,[1,2,256]]})") << "stream"
                                           << "çözümlenemedi";
        QTest::newRow("stream as text") << 200 << QByteArray(R"({"result":[3,"abc"]})") << "stream"
                                        << "çözümlenemedi";
        QTest::newRow("unknown record type")
            << 200 << QByteArray(R"({"result":[{"type":"baglantiu.TBaska","id":1,"fields":{}}]})") << "record"
            << "çözümlenemedi";
        QTest::newRow("record field missing")
            << 200 << QByteArray(R"({"result":[{"type":"baglantiu.TTusSonuclari","id":1,"fields":{"FAlindi":1}}]})")
            << "record"
            << "çözümlenemedi";
        QTest::newRow("error envelope") << 500 << QByteArray(R"({"error":"Sunucuda bir hata oluştu"})") << ""
                                        << "Sunucuda bir hata oluştu";
        QTest::newRow("error page") << 502 << QByteArray("<h1>Bad Gateway</h1>") << ""
                                    << "HTTP 502";
        QTest::newRow("refused as too large") << 413 << QByteArray() << ""
                                              << "çok büyük";
        QTest::newRow("gzip that is not") << -200 << QByteArray("bu gzip değil") << ""
                                          << "iletişim kesildi";
    }

    void malformedAnswersAreRefused()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, read);
        QFETCH(QString, expected);
        nettest::CannedServer server([&](const QString &, const QByteArray &) {
            nettest::CannedServer::Answer answer;
            answer.status = std::abs(status);
            answer.body = body;
            if (status < 0)
                answer.headers.append(qMakePair(QByteArray("Content-Encoding"), QByteArray("gzip")));
            return answer;
        });
        QVERIFY(server.isListening());
        auto connection = nettest::loopbackConnection(server.port());
        connection->Open();
        auto command = serverMethod(*connection, QStringLiteral("TusSonuclariVer"));
        const QString message = failureOf([&] {
            command->ExecuteUpdate();
            if (read == QLatin1String("int"))
                command->Parameter(0).GetInt32();
            else if (read == QLatin1String("bool"))
                command->Parameter(0).GetBoolean();
            else if (read == QLatin1String("string"))
                command->Parameter(0).GetWideString();
            else if (read == QLatin1String("table"))
                command->Parameter(0).GetTable();
            else if (read == QLatin1String("stream"))
                command->Parameter(1).GetStream();
            else if (read == QLatin1String("record"))
                command->Parameter(0).GetRecord<TTusSonuclari>();
        });
        QVERIFY2(!message.isNull(), "the answer was accepted");
        QVERIFY2(message.contains(expected), qPrintable(message));
        if (status >= 400)
            QCOMPARE(statusOf([&] { command->ExecuteUpdate(); }), status);
    }

    void parameterReferencesOutliveExecutions()
    {
        std::atomic<int> calls{0};
        nettest::CannedServer server([&](const QString &, const QByteArray &) {
            nettest::CannedServer::Answer answer;
            answer.body = QByteArray(R"({"result":[)") + QByteArray::number(++calls) + "]}";
            return answer;
        });
        auto connection = nettest::loopbackConnection(server.port());
        connection->Open();
        auto command = serverMethod(*connection, QStringLiteral("AcilisReklamAdet"));
        TDBXParameter &result = command->Parameter(0);
        command->ExecuteUpdate();
        QCOMPARE(result.GetInt32(), 1);
        for (int i = 1; i < 40; ++i) // enough growth to move any stored parameter
            command->Parameter(i);
        command->ExecuteUpdate();
        QCOMPARE(result.GetInt32(), 2);
        QCOMPARE(command->ParameterCount(), 1);
    }

    void gzipAnswersAreDecoded()
    {
        nettest::CannedServer server([](const QString &, const QByteArray &) {
            nettest::CannedServer::Answer answer;
            answer.body = gzip(R"({"result":["ÇĞİÖŞÜ çğıöşü",42]})");
            answer.headers.append(qMakePair(QByteArray("Content-Encoding"), QByteArray("gzip")));
            return answer;
        });
        auto connection = nettest::loopbackConnection(server.port());
        connection->Open();
        auto command = serverMethod(*connection, QStringLiteral("KayanYaziGetir"));
        command->ExecuteUpdate();
        QCOMPARE(command->Parameter(0).GetWideString(), QStringLiteral("ÇĞİÖŞÜ çğıöşü"));
        QCOMPARE(command->Parameter(1).GetInt32(), 42);
    }

private:
    nettest::B2BServer m_server;
    std::unique_ptr<TSQLConnection> m_connection;
    TSonucBilgisi m_session;
    qint32 m_stokno = 0;
    bool m_serverUp = false;
};

KORVEL_TEST_MAIN(TestDbxCommand)
#include "tst_dbxcommand.moc"
