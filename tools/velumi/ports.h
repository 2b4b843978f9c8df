// Serial ports as the tool names them: device paths and the SDK's port numbers,
// and why a port cannot be used.
#pragma once

#include <string>

namespace velumi_tool {

// The path the SDK opens for port `n`: $VELUMI_PORT_<n>, else
// $VELUMI_PORT_DIR/com<n>, else /dev/ttyS<n-1>.
std::string PortPath(int n);
// Why a serial port cannot be used, from the errno of opening it: names the
// dialout group for permission denied, says no such device, port busy.
std::string PortErrorText(int err);
// Opens `path` as the SDK will and says what stands in the way, or "" when
// nothing does (the file exists, is a terminal, and no other program holds it).
std::string PortProblem(const std::string &path);

}  // namespace velumi_tool
