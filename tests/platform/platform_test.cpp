// Events, waits, worker threads, the clock and run-time loading.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/event.h"
#include "platform/library.h"
#include "platform/thread.h"
#include "platform/utf.h"

using namespace velumi::platform;

namespace {

TEST(Event, AutoResetReleasesOneWaitAndClears) {
    Event e(Event::Reset::Auto);
    EXPECT_FALSE(e.Wait(0));
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_FALSE(e.Wait(0)) << "an auto-reset event is cleared by the wait that takes it";
}

TEST(Event, ManualResetStaysSetUntilReset) {
    Event e(Event::Reset::Manual);
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(e.Wait(10));
    e.ResetEvent();
    EXPECT_FALSE(e.Wait(0));
}

TEST(Event, WaitTimesOutAfterRoughlyTheLimit) {
    Event e(Event::Reset::Auto);
    auto start = NowMs();
    EXPECT_FALSE(e.Wait(50));
    auto elapsed = NowMs() - start;
    EXPECT_GE(elapsed, 50u);
    EXPECT_LT(elapsed, 1000u);
}

TEST(Event, SetFromAnotherThreadWakesTheWaiterAtOnce) {
    Event e(Event::Reset::Auto);
    std::thread t([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        e.Set();
    });
    auto start = NowMs();
    EXPECT_TRUE(e.Wait(5000));
    EXPECT_LT(NowMs() - start, 2000u);
    t.join();
}

TEST(Event, WaitForAnyPrefersTheLowestIndexAndClearsOnlyThatOne) {
    Event stop(Event::Reset::Manual), work(Event::Reset::Auto);
    work.Set();
    stop.Set();
    EXPECT_EQ(WaitForAny({&stop, &work}, 0), 0) << "the stop event wins when both are set";
    EXPECT_TRUE(work.IsSet()) << "the work event was not consumed";
    stop.ResetEvent();
    EXPECT_EQ(WaitForAny({&stop, &work}, 0), 1);
    EXPECT_FALSE(work.IsSet());
    EXPECT_EQ(WaitForAny({&stop, &work}, 20), kWaitTimeout);
}

TEST(Event, NoSignalIsLostUnderManyConcurrentSets) {
    // Every Set of an auto-reset event before the consumer waits must release at least one wait.
    Event work(Event::Reset::Auto), stop(Event::Reset::Manual);
    std::atomic<int> produced{0}, consumed{0};
    std::thread consumer([&] {
        for (;;) {
            int r = WaitForAny({&stop, &work}, 2000);
            if (r == 0) break;
            if (r == 1) consumed = produced.load();
        }
    });
    for (int i = 0; i < 2000; ++i) {
        ++produced;
        work.Set();
    }
    // The last Set must be seen.
    for (int i = 0; i < 200 && consumed.load() != 2000; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(consumed.load(), 2000);
    stop.Set();
    consumer.join();
}

TEST(WorkerThread, StopsCooperativelyAndJoins) {
    WorkerThread w;
    std::atomic<int> loops{0};
    ASSERT_TRUE(w.Start(
        [&](Event &stop) {
            while (!stop.Wait(5)) ++loops;
        },
        Priority::Highest));
    EXPECT_FALSE(w.Start([](Event &) {})) << "a running worker is not started twice";
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(w.Running());
    EXPECT_FALSE(w.Join(false));
    w.RequestStop();
    EXPECT_TRUE(w.Join(true));
    EXPECT_FALSE(w.Running());
    EXPECT_GT(loops.load(), 0);
    // And it can be started again.
    ASSERT_TRUE(w.Start([](Event &) {}));
    EXPECT_TRUE(w.Join(true));
}

TEST(Clock, ScaledTimeoutsNeverReachZero) {
    EXPECT_EQ(Scaled(10000), 10000);
    SetTimeScale(10);
    EXPECT_EQ(Scaled(10000), 1000);
    EXPECT_EQ(Scaled(5), 1);
    SetTimeScale(1);
    auto a = NowMs();
    SleepMs(15);
    EXPECT_GE(NowMs() - a, 15u);
}

TEST(Library, LoadsBySearchAndReportsMissingOnes) {
    Library lib;
    ASSERT_TRUE(lib.Open("libc.so.6")) << lib.Error();
    EXPECT_NE(lib.Symbol("strlen"), nullptr);
    EXPECT_EQ(lib.Symbol("no_such_symbol_here"), nullptr);
    Library missing;
    EXPECT_FALSE(missing.Open("/nonexistent/libNothing.so"));
    EXPECT_FALSE(missing.Error().empty());
    EXPECT_FALSE(OwnDirectory().empty());
    EXPECT_EQ(OwnDirectory().back(), '/');
}

TEST(Utf, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xF0\x9F\x98\x80"), (std::u16string{u'a', 0xE9, 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "b\xC3"),
        (std::u16string{0xFFFD, u'b', 0xFFFD}));
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), std::u16string(3, 0xFFFD)) << "encoded surrogates are refused";
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(Utf16ToUtf8(lone, 4), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

}  // namespace
