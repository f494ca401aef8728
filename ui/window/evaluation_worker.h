#pragma once

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs one piece of work (an "=" evaluation) on a thread of its own so that the window's thread
// stays free to paint and to take Cancel. Work that ends within a short grace period is waited
// for, so that an ordinary calculation shows its result at once without a busy flash; longer
// work reports finished() on the window's thread when it ends.
class EvaluationWorker : public QObject {
    Q_OBJECT
public:
    explicit EvaluationWorker(QObject* parent = nullptr);
    // Waits for work still running: the owner asks it to stop first.
    ~EvaluationWorker() override;

    // Starts work, which must not be running already. True when it ended within grace (no
    // finished() follows); false when it still runs and finished() will follow.
    bool run(std::function<void()> work, std::chrono::milliseconds grace);
    // Blocks until the work has ended; finished() is then not emitted for it.
    void wait();
    bool running() const { return thread_.joinable(); }

Q_SIGNALS:
    void finished();

private:
    void join();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool ended_ = false;
    // While the window's thread waits for the work itself, the work does not post finished().
    bool waiting_ = false;
    unsigned generation_ = 0;
};
