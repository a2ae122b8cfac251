#pragma once
// Background tasks with a continuation: Async(work)->Await(done) runs work on a pool
// thread and afterwards done on the UI thread. done always runs after work returned,
// also when work ended with an exception.
#include <functional>
#include <memory>

class QThreadPool;

class IAwait {
public:
    virtual ~IAwait() = default;
    // Starts the background procedure and returns at once.
    virtual void Await(std::function<void()> done) = 0;
};

class TAwait : public IAwait, public std::enable_shared_from_this<TAwait> {
public:
    explicit TAwait(std::function<void()> work);
    void Await(std::function<void()> done) override;

private:
    std::function<void()> FAsync;
};

std::shared_ptr<IAwait> Async(std::function<void()> work);

// The pool background work runs on. Loads mostly wait on the network, so it is wider than
// the number of cores; tests use it to wait for work that is still running.
QThreadPool *AsyncHavuzu();
