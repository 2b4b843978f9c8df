// VELUMI_NO_TRACE_FILE: the trace goes to the debug output only, with no trace
// file and no trace folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "Log/nubra_log.h"
#include "Log/nubra_trace.h"
#include "log_capture.h"

namespace {

bool Exists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

TEST(TraceSwitch, NoTraceFileMeansNoFileAndNoFolder) {
    char tmpl[] = "/tmp/velumi-notrace-XXXXXX";
    const std::string root = mkdtemp(tmpl);
    const std::string folder = root + "/log/";
    setenv("VELUMI_LOG_DIR", folder.c_str(), 1);
    setenv("VELUMI_NO_TRACE_FILE", "1", 1);
    velumi::TraceStart();
    LogCapture capture;
    velumi::NubraLog("[OK] %s()", "TraceSwitch");
    EXPECT_TRUE(capture.Contains("[OK] TraceSwitch()")) << "the debug output still gets every line";
    EXPECT_FALSE(velumi::CNubraTrace::Instance().Enabled());
    EXPECT_FALSE(Exists(folder));

    setenv("VELUMI_NO_TRACE_FILE", "0", 1);  // "0" leaves the trace file on
    velumi::TraceStart();
    velumi::NubraLog("[OK] %s()", "TraceSwitch");
    EXPECT_TRUE(velumi::CNubraTrace::Instance().Enabled());
    EXPECT_TRUE(Exists(velumi::CNubraTrace::Instance().FilePath()));
    velumi::CNubraTrace::Instance().Enable(false);
    unsetenv("VELUMI_NO_TRACE_FILE");
    unsetenv("VELUMI_LOG_DIR");
    std::system(("rm -rf " + root).c_str());
}

}  // namespace
