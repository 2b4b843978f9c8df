// Command-line parsing shared by the tools.
#pragma once

#include <string>

namespace velumi_tools {

// Splits "--name=VALUE" into `arg` = "--name" and `value` = "VALUE"; true when it
// did. Anything else is left as it is.
inline bool SplitLongOption(std::string &arg, std::string &value) {
    const size_t eq = arg.find('=');
    if (arg.compare(0, 2, "--") != 0 || eq == std::string::npos) return false;
    value = arg.substr(eq + 1);
    arg = arg.substr(0, eq);
    return true;
}

}  // namespace velumi_tools
