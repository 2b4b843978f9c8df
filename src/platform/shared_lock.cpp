#include "platform/shared_lock.h"

namespace velumi::platform {

std::recursive_mutex &SharedLock::Get() {
    // Never destroyed: threads of other static objects may log during exit.
    static std::recursive_mutex *lock = new std::recursive_mutex;
    return *lock;
}

}  // namespace velumi::platform
