// A simulated pad linked as $VELUMI_PORT_DIR/com7, and the SDK pointed at the
// engine of this build, with protocol time-outs scaled down tenfold.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "VelumiSDK.h"
#include "braille/kotari_bridge.h"
#include "braille/louis_bridge.h"
#include "log_capture.h"
#include "padsim.h"
#include "platform/clock.h"
#include "protocol/ccom.h"

constexpr int kPort = 7;

inline bool WaitUntil(const std::function<bool()> &cond, int ms = 3000) {
    for (int i = 0; i < ms / 2; ++i) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return cond();
}

inline std::atomic<int> &DisplayCallbacks() {
    static std::atomic<int> n{0};
    return n;
}
inline void CountDisplay() { ++DisplayCallbacks(); }

class PadTest : public testing::Test {
protected:
    explicit PadTest(std::string deviceName = "TARN") {
        padsim::Options o;
        o.deviceName = deviceName;
        pad = std::make_unique<padsim::SimulatedPad>(o);
    }
    void SetUp() override {
        velumi::platform::SetTimeScale(10);
        char tmpl[] = "/tmp/velumi-ports-XXXXXX";
        dir = mkdtemp(tmpl);
        setenv("VELUMI_PORT_DIR", dir.c_str(), 1);
        setenv("VELUMI_LOG_DIR", (dir + "/log").c_str(), 1);
        velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
        velumi::SetLouisHelperPath(VELUMI_BUILD_DIR "/lib/velumi/velumi-louis-helper");
        ASSERT_TRUE(pad->Start());
        ASSERT_TRUE(pad->LinkAs(dir, kPort));
        VELUMI_REGISTER_DISPLAY_CALLBACK(CountDisplay);
    }
    void TearDown() override {
        WaitIdle();
        VELUMI_DEINIT();
        VELUMI_REGISTER_DISPLAY_CALLBACK(nullptr);
        VELUMI_REGISTER_KEY_CALLBACK(nullptr);
        pad->Stop();
        velumi::platform::SetTimeScale(1);
    }
    // Waits until no transfer runs.
    void WaitIdle() {
        WaitUntil([] { return !velumi::CCOM::Instance().IsDisplayBusy(); });
    }
    // Init as model `type` (8: ask the pad), then wait for the clearing transfers to end.
    int Init(int type = 8) {
        int r = VELUMI_INIT_WITH_DEVICE_TYPE(kPort, type);
        WaitIdle();
        pad->ClearReceived();
        return r;
    }
    size_t DisplayFrames() { return pad->RequestCount(0x0200); }

    std::string dir;
    std::unique_ptr<padsim::SimulatedPad> pad;
    LogCapture log;
};
