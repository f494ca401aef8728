#include "evaluation_timer.h"

#include "engine.h"

EvaluationTimer::EvaluationTimer(Engine& engine, std::chrono::duration<double> limit)
    : engine_(engine), limit_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(limit))
{
    thread_ = std::thread([this] { watch(); });
}

EvaluationTimer::~EvaluationTimer()
{
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void EvaluationTimer::start()
{
    {
        const std::lock_guard lock(mutex_);
        engine_.clearCancel();
        running_ = true;
        expired_ = false;
        deadline_ = std::chrono::steady_clock::now() + limit_;
    }
    changed_.notify_all();
}

bool EvaluationTimer::stop()
{
    const std::lock_guard lock(mutex_);
    running_ = false;
    engine_.clearCancel();
    return expired_;
}

void EvaluationTimer::watch()
{
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (!running_ || expired_) {
            changed_.wait(lock);
            continue;
        }
        const auto deadline = deadline_;
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && running_ && !expired_ &&
            deadline == deadline_) {
            expired_ = true;
            engine_.requestCancel();
        }
    }
}
