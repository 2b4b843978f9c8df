// The debug output stream: where every log line goes, one call per piece.
// By default nothing is shown (like a debugger's output window with no
// debugger attached) unless VELUMI_DEBUG_OUTPUT=stderr is set; tests install a
// sink that captures the lines.
#pragma once

#include <functional>
#include <string>

namespace velumi::platform {

using DebugSink = std::function<void(const char *text)>;

// Writes text to the debug output (and to the installed sink).
void DebugOutput(const char *text);

// Installs a sink (an empty function removes it); returns the previous one.
DebugSink SetDebugSink(DebugSink sink);

}  // namespace velumi::platform
