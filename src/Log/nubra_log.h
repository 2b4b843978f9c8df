// The one log function: every trace line of the SDK goes through NubraLog.
#pragma once

#include <atomic>

namespace velumi {

// Largest line, terminator included; longer lines are cut to 1023 bytes (never
// inside a UTF-8 sequence).
constexpr int kLogLineSize = 1024;

// printf-style; formats one line under the shared lock and writes it to the
// debug output, then "\n" as a second write, while the trace switch is on. The
// line also goes to the daily trace file once the trace writer is enabled.
void NubraLog(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The device object's trace switch (on from the start).
extern std::atomic<bool> g_traceOn;

}  // namespace velumi
