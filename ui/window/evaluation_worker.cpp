#include "evaluation_worker.h"

#include <QMetaObject>

EvaluationWorker::EvaluationWorker(QObject* parent) : QObject(parent)
{
}

EvaluationWorker::~EvaluationWorker()
{
    join();
}

bool EvaluationWorker::run(std::function<void()> work, std::chrono::milliseconds grace)
{
    join();
    const unsigned generation = ++generation_;
    {
        const std::lock_guard lock(mutex_);
        ended_ = false;
        waiting_ = true;
    }
    thread_ = std::thread([this, generation, work = std::move(work)] {
        work();
        const std::lock_guard lock(mutex_);
        ended_ = true;
        done_.notify_all();
        if (waiting_)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                // A wait() or a newer run() may have taken this work's end already.
                if (generation != generation_ || !thread_.joinable())
                    return;
                join();
                Q_EMIT finished();
            },
            Qt::QueuedConnection);
    });
    std::unique_lock lock(mutex_);
    const bool ended = done_.wait_for(lock, grace, [this] { return ended_; });
    waiting_ = ended;
    lock.unlock();
    if (ended)
        join();
    return ended;
}

void EvaluationWorker::wait()
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = true;
    }
    join();
}

void EvaluationWorker::join()
{
    if (thread_.joinable())
        thread_.join();
}
