// Events with manual- or auto-reset semantics, waited on singly or several at
// once with a time-out in milliseconds.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace velumi::platform {

constexpr int kInfinite = -1;
constexpr int kWaitTimeout = -1;

class Event {
public:
    enum class Reset { Manual, Auto };
    explicit Event(Reset reset, bool initiallySet = false);
    ~Event();
    Event(const Event &) = delete;
    Event &operator=(const Event &) = delete;

    void Set();
    void ResetEvent();
    bool IsSet() const;
    // Waits until set or until timeoutMs passes (kInfinite: no limit). True when
    // set; an auto-reset event is cleared by the wait that takes it.
    bool Wait(int timeoutMs);

private:
    friend int WaitForAny(const std::vector<Event *> &, int);
    struct Waiter {
        std::condition_variable cv;
    };
    bool TakeLocked();  // under the event mutex

    const bool manual_;
    bool set_;
    std::vector<Waiter *> waiters_;  // guarded by the event mutex
};

// Waits for the first of several events. Returns the index of the event that
// ended the wait (the lowest index wins when several are set, so put a stop
// event first), or kWaitTimeout. Only the returned auto-reset event is cleared.
int WaitForAny(const std::vector<Event *> &events, int timeoutMs);

}  // namespace velumi::platform
