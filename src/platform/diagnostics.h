// Diagnostic lines: what the SDK tells a developer on the process's standard
// output (the translator chosen, liblouis's table list) and standard error,
// apart from the trace. Two environment switches, read at every line:
//   VELUMI_QUIET=1       no diagnostic lines at all (the engine's own lines
//                        follow the same variable); VELUMI_QUIET=stderr sends
//                        the standard-output lines to standard error instead;
//   VELUMI_NO_TRACE_FILE=1  no trace file (and no trace folder) is written.
#pragma once

#include <cstdio>

namespace velumi::platform {

constexpr char kQuietVariable[] = "VELUMI_QUIET";
constexpr char kNoTraceFileVariable[] = "VELUMI_NO_TRACE_FILE";

// True while VELUMI_QUIET is set to anything but "", "0" or "stderr".
bool DiagnosticsQuiet();
// Where diagnostic standard-output lines go: stdout, stderr, or null when quiet.
std::FILE *DiagnosticStream();
// True while VELUMI_NO_TRACE_FILE is set to anything but "" or "0".
bool TraceFileOff();

}  // namespace velumi::platform

namespace velumi {

// One diagnostic line (flushed) on DiagnosticStream().
void DiagnosticLine(const char *format, ...) __attribute__((format(printf, 1, 2)));
// One line on standard error, unless diagnostics are quiet.
void DiagnosticError(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velumi
