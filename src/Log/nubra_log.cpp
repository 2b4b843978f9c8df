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

// Cuts a UTF-8 string to at most `length` bytes without leaving a partial character.
void CutAtCharacter(char *s, int length) {
    int lead = length - 1;
    while (lead > 0 && (static_cast<unsigned char>(s[lead]) & 0xC0) == 0x80) --lead;
    const unsigned char b = static_cast<unsigned char>(s[lead]);
    const int need = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    s[lead + need <= length ? length : lead] = '\0';
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
