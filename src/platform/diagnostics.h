// Diagnostic lines: what the SDK tells a developer on the process's standard
// output and standard error (the translator chosen, liblouis's table list),
// apart from the trace. VELUMI_QUIET=1 in the environment silences them; the
// engine's own diagnostic lines follow the same variable.
#pragma once

namespace velumi::platform {

constexpr char kQuietVariable[] = "VELUMI_QUIET";

// True while VELUMI_QUIET is set to anything but "" or "0".
bool DiagnosticsQuiet();

}  // namespace velumi::platform

namespace velumi {

// One line on standard output (flushed), unless diagnostics are quiet.
void DiagnosticLine(const char *format, ...) __attribute__((format(printf, 1, 2)));
// One line on standard error, unless diagnostics are quiet.
void DiagnosticError(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velumi
