// The monotonic millisecond clock, and the time scale that tests use to run
// the protocol's long time-outs quickly.
#pragma once

#include <cstdint>

namespace velumi::platform {

// Milliseconds of the monotonic clock.
uint64_t NowMs();

// Every protocol time-out and pause passes through Scaled(): divided by the
// time scale (1 in production; tests set e.g. 10 to run a 10 s time-out in 1 s).
int Scaled(int ms);
void SetTimeScale(int divisor);
int TimeScale();

void SleepMs(int ms);

}  // namespace velumi::platform
