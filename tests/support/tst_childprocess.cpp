#include "childprocess.h"
#include "testmain.h"

#include <QProcess>

#include <csignal>
#include <cerrno>

using testsupport::ChildProcess;

class ChildProcessTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsAndReadsPorts();
    void killsChildThatIgnoresTerm();
    void destructorStopsChild();
    void reportsFailedStart_data();
    void reportsFailedStart();
};

void ChildProcessTest::startsAndReadsPorts()
{
    ChildProcess child;
    QVERIFY2(child.start(QStringLiteral(KORVEL_FAKE_CHILD), {}), qPrintable(child.errorString()));
    QCOMPARE(child.port(), 4321);
    QCOMPARE(child.webPort(), 8765);
    QVERIFY(child.output().startsWith("starting\nready 4321 8765\n"));
    QVERIFY(child.isRunning());
    QCOMPARE(child.stop(), 0);
    QVERIFY(!child.isRunning());
}

void ChildProcessTest::killsChildThatIgnoresTerm()
{
    ChildProcess child;
    QVERIFY2(child.start(QStringLiteral(KORVEL_FAKE_CHILD), {QStringLiteral("--ignore-term")}),
             qPrintable(child.errorString()));
    QCOMPARE(child.stop(300), -1);
    QVERIFY(!child.isRunning());
}

void ChildProcessTest::destructorStopsChild()
{
    qint64 pid = 0;
    {
        ChildProcess child;
        QVERIFY2(child.start(QStringLiteral(KORVEL_FAKE_CHILD), {}), qPrintable(child.errorString()));
        pid = child.process()->processId();
        QVERIFY(pid > 0);
    }
    QCOMPARE(::kill(pid_t(pid), 0), -1);
    QCOMPARE(errno, ESRCH);
}

void ChildProcessTest::reportsFailedStart_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("exits early") << QStringLiteral(KORVEL_FAKE_CHILD) << QStringList{QStringLiteral("--exit"), QStringLiteral("3")}
                                 << QStringLiteral("hazır olmadan sona erdi (çıkış kodu 3). Çıktı:\nstarting");
    QTest::newRow("never ready") << QStringLiteral(KORVEL_FAKE_CHILD) << QStringList{QStringLiteral("--silent")}
                                 << QStringLiteral("300 ms içinde 'ready' satırını yazmadı. Çıktı:\nstarting");
    QTest::newRow("no such program") << QStringLiteral("/nonexistent/korvel-server") << QStringList{}
                                     << QStringLiteral("başlatılamadı");
}

void ChildProcessTest::reportsFailedStart()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    ChildProcess child;
    QVERIFY(!child.start(program, arguments, QStringLiteral("ready"), 300));
    QVERIFY2(child.errorString().contains(message), qPrintable(child.errorString()));
    QVERIFY(!child.isRunning());
}

KORVEL_TEST_MAIN(ChildProcessTest)
#include "tst_childprocess.moc"
