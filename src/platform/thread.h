// Worker threads with cooperative stop: a worker owns its std::thread and a
// manual-reset stop event; stopping sets the event (and whatever wake-up the
// body needs) and joins. Nothing is ever killed.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "platform/event.h"

namespace velumi::platform {

enum class Priority { Lowest, BelowNormal, Normal, AboveNormal, Highest };

class WorkerThread {
public:
    WorkerThread();
    ~WorkerThread();  // requests a stop and joins
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // Starts body(stopEvent) on a new thread at the given priority (best
    // effort). False when a thread is already running or cannot be created.
    bool Start(std::function<void(Event &stop)> body, Priority priority = Priority::Normal);
    // Sets the stop event; does not wait.
    void RequestStop();
    // True while the body has not returned.
    bool Running() const;
    // Joins when the body has returned (or waits for it when wait is true).
    // Returns true when no thread is left.
    bool Join(bool wait = true);
    Event &StopEvent() { return stop_; }

private:
    std::thread thread_;
    Event stop_{Event::Reset::Manual};
    std::atomic<bool> running_{false};
};

// Applies a priority to the calling thread; failures (no privilege) are ignored.
void SetCurrentThreadPriority(Priority priority);

}  // namespace velumi::platform
