// The connection opener against the real server: refused connections, a closed port,
// and a caller on a background thread.
#include "childprocess.h"
#include "dialogs.h"
#include "modaldialog.h"
#include "sqlconnection.h"
#include "testmain.h"
#include "utils.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtConcurrent>

namespace {

const QString Title = QStringLiteral("Korvel Oto Yedek Parça B2B");

// A port nobody listens on: bound once by us and released again.
int unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

// Expects `count` plain boxes whose text names the port, each answered with OK.
void expectAttemptBoxes(testsupport::ModalDialogHelper &dialogs, int count, int port)
{
    for (int i = 0; i < count; ++i) {
        testsupport::DialogAnswer a;
        a.button = QStringLiteral("OK");
        a.title = Title;
        a.text = QString::number(port);
        a.textContains = true;
        dialogs.expect(a);
    }
}

} // namespace

class TestBaglantiAc : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void acceptsAtTheThirdAttempt();
    void closedPort_data();
    void closedPort();
    void backgroundCallerWaitsForEachBox();

private:
    bool startServer(testsupport::ChildProcess &server, const QStringList &faults);
    QTemporaryDir m_dir;
};

void TestBaglantiAc::initTestCase()
{
    QVERIFY2(QByteArray(KORVEL_SERVER_BIN).size() > 0, "server not built");
    QVERIFY(m_dir.isValid());
    platform::SetApplicationTitle(Title);
    platform::SetBeepHook([](unsigned) {});
}

void TestBaglantiAc::cleanupTestCase()
{
    platform::SetBeepHook({});
}

bool TestBaglantiAc::startServer(testsupport::ChildProcess &server, const QStringList &faults)
{
    static int n = 0;
    QStringList args{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--web-port"), QStringLiteral("0"),
                     QStringLiteral("--db"), m_dir.filePath(QStringLiteral("db%1.sqlite").arg(++n)),
                     QStringLiteral("--demo"), QStringLiteral("--demo-stock"), QStringLiteral("50"),
                     QStringLiteral("--demo-accounts"), QStringLiteral("3")};
    for (const QString &f : faults)
        args << QStringLiteral("--fault") << f;
    const bool ok = server.start(QStringLiteral(KORVEL_SERVER_BIN), args);
    if (!ok)
        qWarning("%s", qPrintable(server.errorString()));
    return ok;
}

void TestBaglantiAc::acceptsAtTheThirdAttempt()
{
    testsupport::ChildProcess server;
    QVERIFY(startServer(server, {QStringLiteral("refuse=2")}));
    platform::TSQLConnection c;
    c.SetHostName(QStringLiteral("127.0.0.1"));
    c.SetPort(QString::number(server.port()));

    testsupport::ModalDialogHelper dialogs;
    expectAttemptBoxes(dialogs, 2, server.port());
    QElapsedTimer clock;
    clock.start();
    const bool open = BaglantiAc(c, true); // a final message would be a third, unexpected box
    const qint64 elapsed = clock.elapsed();

    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(open);
    QVERIFY(c.Connected());
    QCOMPARE(dialogs.seen().size(), 2);
    QVERIFY2(elapsed >= 1000, qPrintable(QString::number(elapsed))); // two pauses of 500 ms
    QVERIFY(!QApplication::activeModalWidget());
}

void TestBaglantiAc::closedPort_data()
{
    QTest::addColumn<bool>("sonMesaj");
    QTest::newRow("silent") << false;
    QTest::newRow("with the final message") << true;
}

void TestBaglantiAc::closedPort()
{
    QFETCH(bool, sonMesaj);
    const int port = unusedPort();
    platform::TSQLConnection c;
    c.SetHostName(QStringLiteral("127.0.0.1"));
    c.SetPort(QString::number(port));

    testsupport::ModalDialogHelper dialogs;
    expectAttemptBoxes(dialogs, 11, port);
    if (sonMesaj)
        dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), BaglantiHataMesaji());
    const bool open = BaglantiAc(c, sonMesaj);

    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(!open);
    QVERIFY(!c.Connected());
    QCOMPARE(dialogs.seen().size(), sonMesaj ? 12 : 11);
    QTest::qWait(100);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestBaglantiAc::backgroundCallerWaitsForEachBox()
{
    testsupport::ChildProcess server;
    QVERIFY(startServer(server, {QStringLiteral("refuse=2")}));
    platform::TSQLConnection bagc;
    bagc.SetHostName(QStringLiteral("127.0.0.1"));
    bagc.SetPort(QString::number(server.port()));
    std::shared_ptr<platform::TSQLConnection> clone = bagc.Clone();

    testsupport::ModalDialogHelper dialogs;
    QFuture<bool> open;
    bool shownOnUiThread = false;
    bool callerWaiting = false;
    testsupport::DialogAnswer first;
    first.button = QStringLiteral("OK");
    first.title = Title;
    first.inspect = [&](QWidget *box) {
        shownOnUiThread = box->thread() == qApp->thread();
        callerWaiting = !open.isFinished();
    };
    dialogs.expect(first);
    dialogs.expect(QStringLiteral("OK"), Title);

    open = QtConcurrent::run([clone] { return BaglantiAc(*clone, false); });
    KORVEL_VERIFY_DIALOGS(dialogs);
    QTRY_VERIFY_WITH_TIMEOUT(open.isFinished(), 5000);
    QVERIFY(open.result());
    QCOMPARE(dialogs.seen().size(), 2);
    QVERIFY(shownOnUiThread);
    QVERIFY(callerWaiting);
}

KORVEL_TEST_MAIN(TestBaglantiAc)
#include "tst_baglantiac.moc"
