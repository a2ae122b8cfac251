#include "beklesinu.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QtDebug>

#include <exception>

QThreadPool *AsyncHavuzu()
{
    // Never destroyed: the process ends without waiting for running loads.
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(32);
        p->setExpiryTimeout(30000);
        return p;
    }();
    return pool;
}

TAwait::TAwait(std::function<void()> work)
    : FAsync(std::move(work))
{
}

void TAwait::Await(std::function<void()> done)
{
    // The task keeps the TAwait alive until done has run, like the interface reference
    // the task configuration holds.
    auto self = shared_from_this();
    AsyncHavuzu()->start([self, done = std::move(done)]() mutable {
        try {
            if (self->FAsync)
                self->FAsync();
        } catch (const std::exception &e) {
            // An escaping exception must not take the process down from a pool thread.
            qWarning("Async: background work ended with an exception: %s", e.what());
        } catch (...) {
            qWarning("Async: background work ended with an unknown exception");
        }
        QMetaObject::invokeMethod(
            qApp, [self = std::move(self), done = std::move(done)] {
                if (done)
                    done();
            },
            Qt::QueuedConnection);
    });
}

std::shared_ptr<IAwait> Async(std::function<void()> work)
{
    return std::make_shared<TAwait>(std::move(work));
}
