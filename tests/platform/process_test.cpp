// The helper process: start, exchange with deadlines, a helper that ends, stop.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/process.h"

using velumi::platform::ExchangeResult;
using velumi::platform::HelperProcess;
using velumi::platform::NowMs;

namespace {

// A shell helper running `script` with its channel on descriptor 3.
bool StartShell(HelperProcess &helper, const std::string &script) {
    std::string error;
    return helper.Start("/bin/sh", {"-c", script}, error);
}

TEST(HelperProcess, ExchangesBytesAndStopsWhenItsSocketCloses) {
    HelperProcess helper;
    ASSERT_TRUE(StartShell(helper, "cat <&3 >&3"));
    EXPECT_TRUE(helper.Running());
    EXPECT_GT(helper.Pid(), 1);
    ASSERT_EQ(helper.Send("abc", 3, NowMs() + 5000), ExchangeResult::Done);
    char back[4] = {};
    ASSERT_EQ(helper.Receive(back, 3, NowMs() + 5000), ExchangeResult::Done);
    EXPECT_STREQ(back, "abc");
    EXPECT_EQ(helper.Receive(back, 1, NowMs() + 50), ExchangeResult::TimedOut) << "nothing more to read";
    helper.Stop(5000);
    EXPECT_FALSE(helper.Running());
    EXPECT_EQ(helper.EndReason(), "exit status 0") << "cat ended at the end of its input";
    EXPECT_EQ(helper.Send("x", 1, NowMs() + 50), ExchangeResult::Closed);
}

TEST(HelperProcess, AHelperThatEndsOrCannotStartIsReported) {
    HelperProcess helper;
    ASSERT_TRUE(StartShell(helper, "exit 3"));
    char byte = 0;
    EXPECT_EQ(helper.Receive(&byte, 1, NowMs() + 5000), ExchangeResult::Closed);
    helper.Kill();
    EXPECT_EQ(helper.EndReason(), "exit status 3");

    ASSERT_TRUE(StartShell(helper, "sleep 30"));
    helper.Kill();
    EXPECT_FALSE(helper.Running());
    EXPECT_EQ(helper.EndReason(), "signal 9");

    std::string error;
    EXPECT_FALSE(helper.Start("/nonexistent/helper", {}, error));
    EXPECT_NE(error.find("/nonexistent/helper"), std::string::npos) << error;
    EXPECT_FALSE(helper.Running());
    helper.Kill();  // nothing to kill: harmless
}

}  // namespace
