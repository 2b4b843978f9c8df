#include "platform/event.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace velumi::platform {

namespace {
// One mutex for all events keeps multi-event waits simple and free of lost
// wake-ups; the SDK has only a handful of events.
std::mutex &EventMutex() {
    static std::mutex *m = new std::mutex;
    return *m;
}
}  // namespace

Event::Event(Reset reset, bool initiallySet) : manual_(reset == Reset::Manual), set_(initiallySet) {}

Event::~Event() = default;

void Event::Set() {
    std::lock_guard<std::mutex> g(EventMutex());
    set_ = true;
    for (Waiter *w : waiters_) w->cv.notify_all();
}

void Event::ResetEvent() {
    std::lock_guard<std::mutex> g(EventMutex());
    set_ = false;
}

bool Event::IsSet() const {
    std::lock_guard<std::mutex> g(EventMutex());
    return set_;
}

bool Event::TakeLocked() {
    if (!set_) return false;
    if (!manual_) set_ = false;
    return true;
}

bool Event::Wait(int timeoutMs) { return WaitForAny({this}, timeoutMs) == 0; }

int WaitForAny(const std::vector<Event *> &events, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    std::unique_lock<std::mutex> lock(EventMutex());
    Event::Waiter waiter;
    bool registered = false;
    int result = kWaitTimeout;
    for (;;) {
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i]->TakeLocked()) {
                result = static_cast<int>(i);
                break;
            }
        }
        if (result != kWaitTimeout || timeoutMs == 0) break;
        if (!registered) {
            for (Event *e : events) e->waiters_.push_back(&waiter);
            registered = true;
        }
        if (timeoutMs == kInfinite) {
            waiter.cv.wait(lock);
        } else if (waiter.cv.wait_until(lock, deadline) == std::cv_status::timeout) {
            // One last look: a Set may have raced with the time-out.
            for (size_t i = 0; i < events.size(); ++i) {
                if (events[i]->TakeLocked()) {
                    result = static_cast<int>(i);
                    break;
                }
            }
            break;
        }
    }
    if (registered) {
        for (Event *e : events) {
            auto &w = e->waiters_;
            w.erase(std::remove(w.begin(), w.end(), &waiter), w.end());
        }
    }
    return result;
}

}  // namespace velumi::platform
