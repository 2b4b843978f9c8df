// The process-wide recursive lock that guards the display status, the
// acknowledgement flag, the pending response, the transfer queue, the job list,
// both translators and every log line. Nested taking on one thread is normal.
#pragma once

#include <mutex>

namespace velumi::platform {

class SharedLock {
public:
    // The one lock of the process. It is created on first use (the device
    // object's creation takes it first) and lives as long as the process, so a
    // worker that is still unwinding never takes a destroyed lock.
    static std::recursive_mutex &Get();
};

// Scoped holder of the shared lock.
class SharedLockGuard {
public:
    SharedLockGuard() : lock_(SharedLock::Get()) {}
    SharedLockGuard(const SharedLockGuard &) = delete;
    SharedLockGuard &operator=(const SharedLockGuard &) = delete;

private:
    std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace velumi::platform
