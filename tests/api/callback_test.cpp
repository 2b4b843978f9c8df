// Calls into the SDK from inside its callbacks, and init and de-init racing on
// two threads: every call returns within its bound and leaves the SDK usable.
#include <dirent.h>

#include "device/velumi.h"
#include "pad_fixture.h"
#include "process_state.h"

using test_support::Threads;

namespace {

struct Callbacks : PadTest {
    Callbacks() : PadTest("TARN") {}
};

struct Outcome {
    std::atomic<int> result{-1};
    std::atomic<uint64_t> ms{0};
    void Run(int (*call)()) {
        if (result.load() != -1) return;  // the first call only
        const uint64_t start = velumi::platform::NowMs();
        const int r = call();
        ms = velumi::platform::NowMs() - start;
        result = r;
    }
};
Outcome g_key, g_display, g_name;
int (*g_call)() = nullptr;

int Deinit() { return VELUMI_DEINIT(); }
int ShowPicture() {
    static const std::vector<unsigned char> picture(800, 0x15);
    return VELUMI_DISPLAY_DATA(picture.data(), 800, 0);
}
int ClearBraille() { return VELUMI_RESET_BRAILLE_DISPLAY(); }

void ExpectUsable(PadTest &) {
    WaitUntil([] { return !velumi::CCOM::Instance().IsDisplayBusy(); });
    EXPECT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("ok"), 0) << "the SDK still works";
}

TEST_F(Callbacks, DeinitFromACallbackIsRefusedAtOnceAndChangesNothing) {
    ASSERT_EQ(Init(3), 0);
    g_key.result = g_display.result = g_name.result = -1;
    g_call = Deinit;
    VELUMI_REGISTER_KEY_CALLBACK([](int) { g_key.Run(g_call); });
    VELUMI_REGISTER_DISPLAY_CALLBACK([] { g_display.Run(g_call); });
    pad->SendFunctionKeys(0x80);
    ASSERT_TRUE(WaitUntil([] { return g_key.result.load() != -1; }, 3000)) << "the key callback never returned";
    EXPECT_EQ(g_key.result.load(), VELUMI_ERROR_DISPLAY_IN_PROGRESS);
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("abc"), 0);
    ASSERT_TRUE(WaitUntil([] { return g_display.result.load() != -1; }, 3000));
    EXPECT_EQ(g_display.result.load(), VELUMI_ERROR_DISPLAY_IN_PROGRESS);
    WaitIdle();
    // A device name the pad sends on its own runs the device-name callback there.
    static std::atomic<bool> armed;
    armed = false;
    EXPECT_EQ(VELUMI_GET_DEVICE_NAME([](const char *) {
        if (armed) g_name.Run(g_call);
    }),
        0);
    armed = true;
    pad->SendDeviceName("TARN");
    ASSERT_TRUE(WaitUntil([] { return g_name.result.load() != -1; }, 3000));
    EXPECT_EQ(g_name.result.load(), VELUMI_ERROR_DISPLAY_IN_PROGRESS);
    for (Outcome *o : {&g_key, &g_display, &g_name}) EXPECT_LT(o->ms.load(), 100u);
    VELUMI_REGISTER_KEY_CALLBACK(nullptr);
    VELUMI_REGISTER_DISPLAY_CALLBACK(CountDisplay);
    EXPECT_FALSE(log.Contains("NUBRA_ERROR_COM_STILL_ACTIVE"));
    ExpectUsable(*this);
    WaitIdle();
    EXPECT_EQ(VELUMI_DEINIT(), 0);
    EXPECT_EQ(VELUMI_INIT_WITH_DEVICE_TYPE(kPort, 3), 0) << "de-init was complete";
}

TEST_F(Callbacks, WaitingCallsFromACallbackReturn35AtOnce) {
    ASSERT_EQ(Init(3), 0);
    g_key.result = g_display.result = -1;
    g_call = ShowPicture;
    VELUMI_REGISTER_KEY_CALLBACK([](int) { g_key.Run(g_call); });
    pad->SendPerkinsKey(4);
    ASSERT_TRUE(WaitUntil([] { return g_key.result.load() != -1; }, 3000));
    EXPECT_EQ(g_key.result.load(), VELUMI_ERROR_COM_RESPONSE_TIMEOUT);
    EXPECT_LT(g_key.ms.load(), 100u);
    g_call = ClearBraille;
    VELUMI_REGISTER_DISPLAY_CALLBACK([] { g_display.Run(g_call); });
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("abc"), 0);
    ASSERT_TRUE(WaitUntil([] { return g_display.result.load() != -1; }, 3000));
    EXPECT_EQ(g_display.result.load(), VELUMI_ERROR_COM_RESPONSE_TIMEOUT);
    EXPECT_LT(g_display.ms.load(), 100u);
    VELUMI_REGISTER_DISPLAY_CALLBACK(CountDisplay);
    VELUMI_REGISTER_KEY_CALLBACK(nullptr);
    WaitIdle();
    EXPECT_EQ(pad->RequestCount(0x0200), 1u) << "nothing was sent for the refused calls";
    // Calls that do not wait work from a callback: a page key.
    static std::atomic<int> paged{-1};
    VELUMI_REGISTER_KEY_CALLBACK([](int) { paged = VELUMI_SEND_KEY(0x2); });
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY(std::string(64, 'b').c_str()), 0);
    WaitIdle();
    pad->SendFunctionKeys(0x10);
    ASSERT_TRUE(WaitUntil([] { return paged.load() != -1; }));
    EXPECT_EQ(paged.load(), 0);
    EXPECT_TRUE(WaitUntil([&] { return log.Contains("[OK] KEY position (32 / 32)"); }));
    ExpectUsable(*this);
}

TEST_F(Callbacks, InitAndDeinitRacingOnTwoThreadsStayConsistent) {
    const int threads = Threads();
    std::atomic<int> inits{0}, deinits{0};
    std::vector<std::thread> racers;
    racers.emplace_back([&] {
        for (int i = 0; i < 12; ++i)
            if (VELUMI_INIT_WITH_DEVICE_TYPE(kPort, 3) == 0) ++inits;
    });
    for (int t = 0; t < 2; ++t)
        racers.emplace_back([&] {
            for (int i = 0; i < 200 && inits.load() < 12; ++i) {
                if (VELUMI_DEINIT() == 0) ++deinits;
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
    for (auto &t : racers) t.join();
    EXPECT_GT(inits.load(), 0);
    EXPECT_GT(deinits.load(), 0);
    WaitIdle();
    VELUMI_DEINIT();
    EXPECT_EQ(VELUMI_DEINIT(), VELUMI_ERROR_NOT_INIT);
    EXPECT_EQ(Threads(), threads) << "no worker is left behind";
    ASSERT_EQ(Init(3), 0);
    ExpectUsable(*this);
}

}  // namespace
