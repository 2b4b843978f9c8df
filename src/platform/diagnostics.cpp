#include "platform/diagnostics.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace velumi::platform {

namespace {
// True when the variable is set to anything but "" or "0".
bool Switched(const char *name, const char **value = nullptr) {
    const char *v = std::getenv(name);
    if (value) *value = v;
    return v && *v && std::strcmp(v, "0") != 0;
}
}  // namespace

bool DiagnosticsQuiet() {
    const char *value = nullptr;
    return Switched(kQuietVariable, &value) && std::strcmp(value, "stderr") != 0;
}

std::FILE *DiagnosticStream() {
    const char *value = nullptr;
    if (!Switched(kQuietVariable, &value)) return stdout;
    return std::strcmp(value, "stderr") == 0 ? stderr : nullptr;
}

bool TraceFileOff() { return Switched(kNoTraceFileVariable); }

}  // namespace velumi::platform

namespace velumi {

namespace {
void WriteLine(std::FILE *stream, const char *format, va_list args) {
    std::vfprintf(stream, format, args);
    std::fputc('\n', stream);
    std::fflush(stream);
}
}  // namespace

void DiagnosticLine(const char *format, ...) {
    std::FILE *stream = platform::DiagnosticStream();
    if (!stream) return;
    va_list args;
    va_start(args, format);
    WriteLine(stream, format, args);
    va_end(args);
}

void DiagnosticError(const char *format, ...) {
    if (platform::DiagnosticsQuiet()) return;
    va_list args;
    va_start(args, format);
    WriteLine(stderr, format, args);
    va_end(args);
}

}  // namespace velumi
