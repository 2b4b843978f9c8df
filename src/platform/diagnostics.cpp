#include "platform/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velumi::platform {

bool DiagnosticsQuiet() {
    const char *value = std::getenv(kQuietVariable);
    return value && *value && std::strcmp(value, "0") != 0;
}

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
    if (platform::DiagnosticsQuiet()) return;
    va_list args;
    va_start(args, format);
    WriteLine(stdout, format, args);
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
