// Where the engine's diagnostic lines go. They follow the SDK's switch, so one
// variable quiets every subsystem: VELUMI_QUIET=1 silences them, VELUMI_QUIET=stderr
// moves standard-output lines to standard error; unset or "0" leaves them be.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kotari {

// The stream for a line meant for `wanted` (stdout or stderr), or null when quiet.
inline std::FILE *DiagnosticStream(std::FILE *wanted) {
    const char *value = std::getenv("VELUMI_QUIET");
    if (!value || !*value || std::strcmp(value, "0") == 0) return wanted;
    return std::strcmp(value, "stderr") == 0 ? stderr : nullptr;
}

}  // namespace kotari
