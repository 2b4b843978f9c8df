// VELUMI_QUIET: the SDK's diagnostic lines on standard output, silenced or
// moved to standard error; translation and the catalogue's lines obey it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "device/catalog.h"
#include "platform/diagnostics.h"

namespace {

struct Captured {
    std::string out, err;
};

Captured PrintWith(const char *quiet) {
    if (quiet) setenv("VELUMI_QUIET", quiet, 1);
    else unsetenv("VELUMI_QUIET");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    velumi::DiagnosticLine("line %d", 1);
    velumi::DiagnosticError("problem");
    velumi::LouisTable(velumi::FRENCH, 1);
    Captured c{testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
    unsetenv("VELUMI_QUIET");
    return c;
}

TEST(Diagnostics, QuietSilencesStderrMovesAndZeroKeeps) {
    const Captured normal = PrintWith(nullptr);
    EXPECT_EQ(normal.out, "line 1\n6\nfrench\n");
    EXPECT_EQ(normal.err, "problem\n");
    const Captured zero = PrintWith("0");
    EXPECT_EQ(zero.out, normal.out);
    const Captured quiet = PrintWith("1");
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");
    const Captured moved = PrintWith("stderr");
    EXPECT_EQ(moved.out, "");
    EXPECT_EQ(moved.err, "line 1\nproblem\n6\nfrench\n");
}

}  // namespace
