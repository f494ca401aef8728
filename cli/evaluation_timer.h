#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class Engine;

// --timeout: cancels an evaluation of the engine that runs longer than a limit. A thread of its
// own sleeps until the deadline of the evaluation under way and then asks the engine to stop,
// which ends the evaluation with "Calculation cancelled" at the engine's next check.
class EvaluationTimer {
public:
    EvaluationTimer(Engine& engine, std::chrono::duration<double> limit);
    ~EvaluationTimer();
    EvaluationTimer(const EvaluationTimer&) = delete;
    EvaluationTimer& operator=(const EvaluationTimer&) = delete;

    // An evaluation begins: its deadline is now plus the limit.
    void start();
    // It ended. True when the timer had cancelled it; the engine's cancel request is cleared.
    bool stop();

private:
    void watch();

    Engine& engine_;
    const std::chrono::steady_clock::duration limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool running_ = false;  // an evaluation is under way
    bool expired_ = false;  // and the timer cancelled it
    bool quit_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};
