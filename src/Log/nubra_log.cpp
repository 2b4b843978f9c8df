#include "Log/nubra_log.h"

#include <cstdarg>
#include <cstdio>

#include "Log/nubra_trace.h"
#include "platform/debug_output.h"
#include "platform/shared_lock.h"

namespace velumi {

std::atomic<bool> g_traceOn{true};

namespace {
char g_line[kLogLineSize];

// Cuts a UTF-8 string at the last whole character within `length` bytes.
void CutAtCharacter(char *s, int length) {
    int end = length;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    s[end] = '\0';
}
}  // namespace

void NubraLog(const char *format, ...) {
    platform::SharedLockGuard lock;
    if (!g_traceOn.load(std::memory_order_relaxed)) return;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(g_line, sizeof g_line, format, args);
    va_end(args);
    if (n < 0) g_line[0] = '\0';
    else if (n >= kLogLineSize) CutAtCharacter(g_line, kLogLineSize - 1);
    platform::DebugOutput(g_line);
    platform::DebugOutput("\n");
    CNubraTrace::Instance().WriteLine(g_line);
}

}  // namespace velumi
