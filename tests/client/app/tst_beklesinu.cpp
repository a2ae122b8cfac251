// Background tasks: work on a pool thread, then done on the UI thread, always in that order.
#include "beklesinu.h"
#include "testmain.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <stdexcept>

class TestBeklesin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void doneRunsAfterWorkOnTheUiThread();
    void doneRunsWhenWorkThrows();
    void awaitReturnsBeforeWorkEnds();
    void manyWaitingTasksRunAtOnce();
};

void TestBeklesin::doneRunsAfterWorkOnTheUiThread()
{
    QThread *workThread = nullptr;
    QThread *doneThread = nullptr;
    std::atomic<bool> workEnded{false};
    bool workEndedBeforeDone = false;
    Async([&] {
        workThread = QThread::currentThread();
        QThread::msleep(50);
        workEnded = true;
    })->Await([&] {
        doneThread = QThread::currentThread();
        workEndedBeforeDone = workEnded;
    });
    QTRY_VERIFY(doneThread != nullptr);
    QVERIFY(workThread != qApp->thread());
    QCOMPARE(doneThread, qApp->thread());
    QVERIFY(workEndedBeforeDone);
}

void TestBeklesin::doneRunsWhenWorkThrows()
{
    bool done = false;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("bozuk")));
    Async([] { throw std::runtime_error("bozuk"); })->Await([&] { done = true; });
    QTRY_VERIFY(done);
}

void TestBeklesin::awaitReturnsBeforeWorkEnds()
{
    QSemaphore release;
    bool done = false;
    Async([&] { release.acquire(); })->Await([&] { done = true; });
    // The caller's handler has ended; the UI keeps running while work waits.
    QTest::qWait(50);
    QVERIFY(!done);
    release.release();
    QTRY_VERIFY(done);
}

void TestBeklesin::manyWaitingTasksRunAtOnce()
{
    // Loads mostly wait for the network; several of them must be able to wait together even
    // on a machine with two cores.
    constexpr int Tasks = 8;
    QSemaphore started;
    QSemaphore release;
    int done = 0;
    for (int i = 0; i < Tasks; ++i) {
        Async([&] {
            started.release();
            release.acquire();
        })->Await([&] { ++done; });
    }
    QVERIFY(started.tryAcquire(Tasks, 5000));
    release.release(Tasks);
    QTRY_COMPARE(done, Tasks);
}

KORVEL_TEST_MAIN(TestBeklesin)
#include "tst_beklesinu.moc"
