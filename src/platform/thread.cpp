#include "platform/thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>

namespace velumi::platform {

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread() {
    RequestStop();
    Join(true);
}

bool WorkerThread::Start(std::function<void(Event &stop)> body, Priority priority) {
    if (thread_.joinable()) {
        if (Running()) return false;
        thread_.join();
    }
    stop_.ResetEvent();
    running_ = true;
    try {
        thread_ = std::thread([this, body = std::move(body), priority] {
            SetCurrentThreadPriority(priority);
            body(stop_);
            running_ = false;
        });
    } catch (const std::system_error &) {
        running_ = false;
        return false;
    }
    return true;
}

void WorkerThread::RequestStop() { stop_.Set(); }

bool WorkerThread::Running() const { return running_.load(); }

bool WorkerThread::Join(bool wait) {
    if (!thread_.joinable()) return true;
    if (!wait && Running()) return false;
    thread_.join();
    return true;
}

void SetCurrentThreadPriority(Priority priority) {
    // Nice values per thread: raising priority needs privilege and usually
    // fails for ordinary users, which is fine.
    static const int kNice[] = {10, 5, 0, -2, -5};
    const pid_t tid = static_cast<pid_t>(::syscall(SYS_gettid));
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), kNice[static_cast<int>(priority)]);
}

}  // namespace velumi::platform
