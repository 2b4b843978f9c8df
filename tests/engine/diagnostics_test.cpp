// The engine's diagnostic lines follow VELUMI_QUIET, as the SDK's do.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "core/diagnostics.h"

namespace {

TEST(EngineDiagnostics, FollowTheSdksQuietSwitch) {
    unsetenv("VELUMI_QUIET");
    EXPECT_EQ(kotari::DiagnosticStream(stdout), stdout);
    setenv("VELUMI_QUIET", "0", 1);
    EXPECT_EQ(kotari::DiagnosticStream(stderr), stderr);
    setenv("VELUMI_QUIET", "1", 1);
    EXPECT_EQ(kotari::DiagnosticStream(stdout), nullptr);
    EXPECT_EQ(kotari::DiagnosticStream(stderr), nullptr);
    setenv("VELUMI_QUIET", "stderr", 1);
    EXPECT_EQ(kotari::DiagnosticStream(stdout), stderr);
    unsetenv("VELUMI_QUIET");
}

}  // namespace
