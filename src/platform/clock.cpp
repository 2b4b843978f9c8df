#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace velumi::platform {

namespace {
std::atomic<int> g_scale{1};
}

uint64_t NowMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

int Scaled(int ms) {
    int s = g_scale.load(std::memory_order_relaxed);
    if (s <= 1 || ms <= 0) return ms;
    int r = ms / s;
    return r > 0 ? r : 1;
}

void SetTimeScale(int divisor) { g_scale.store(divisor < 1 ? 1 : divisor, std::memory_order_relaxed); }

int TimeScale() { return g_scale.load(std::memory_order_relaxed); }

void SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace velumi::platform
