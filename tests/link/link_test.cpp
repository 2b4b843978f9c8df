// The protocol engine, the display transfer thread and the serial port,
// against the simulated pad over a real pseudo-terminal.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "fake_device.h"
#include "log_capture.h"
#include "padsim.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "process_state.h"
#include "protocol/ccom.h"
#include "protocol/display_thread.h"

using namespace velumi;
using padsim::Fault;

using test_support::OpenDescriptors;

namespace {

bool WaitUntil(const std::function<bool()> &cond, int ms) {
    for (int i = 0; i < ms / 5; ++i) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return cond();
}

class Link : public testing::Test {
protected:
    void SetUp() override {
        platform::SetTimeScale(Scale());
        ASSERT_TRUE(pad.Start());
        com.SetDevice(&device);
        ASSERT_EQ(com.COMInitPath(pad.DevicePath()), 0);
    }
    void TearDown() override {
        com.COMDeinit();
        platform::SetTimeScale(1);
    }
    virtual int Scale() { return 10; }

    // Sends the current graphics job as the device object would.
    int Display() { return com.RequestDisplay(); }

    DisplayJob &GraphicsJob(int lines, int cells) {
        platform::SharedLockGuard lock;
        DisplayJob &job = device.AddJob();
        job.m_nNumOfLine = static_cast<uint8_t>(lines);
        job.m_nNumOfCell = static_cast<uint8_t>(cells);
        for (int i = 0; i < lines * cells; ++i) job.data[i] = static_cast<uint8_t>(i);
        return job;
    }

    LogCapture log;
    padsim::SimulatedPad pad;
    FakeDevice device;
    CCOM com;
};

class RealTimeLink : public Link {
    int Scale() override { return 1; }
};

TEST_F(Link, FirmwareVersionRequestTracesInOrderAndReturnsZero) {
    log.Clear();
    EXPECT_EQ(com.RequestFirmwareVersion(), 0);
    EXPECT_EQ(com.FirmwareVersion(), "1.00.000");
    int a = log.IndexOf("[CHG_DISP_STATUS] => E_NUBRA_STATUS_VER_REQ");
    int b = log.IndexOf("[SEND] REQ_FW_VER_INFO ## AA 55 00 05 00 00 00 00 A5 ", a);
    int c = log.IndexOf("[RECV] RSP_FW_VER_INFO ## AA 55 00 0D 00 00 01 00 ", b);
    int d = log.IndexOf("RSP_FW_VER_INFO - 1.00.000", c);
    int e = log.IndexOf("[CHG_DISP_STATUS] => E_NUBRA_STATUS_VER_RSP", d);
    int f = log.IndexOf("[WAIT] Send ACK in COM", e);
    int g = log.IndexOf("[WAIT] Recv ACK", f);
    EXPECT_TRUE(a >= 0 && b > a && c > b && d > c && e > d && f > e && g > f)
        << a << " " << b << " " << c << " " << d << " " << e << " " << f << " " << g;
    EXPECT_GE(log.IndexOf("[WAIT] Waiting for ACK..."), 0);
    EXPECT_LT(log.IndexOf("[WAIT] Waiting for ACK..."), c);
}

TEST_F(Link, DeviceNameAndHardwareVersionReachTheDevice) {
    EXPECT_EQ(com.RequestDeviceName(), 0);
    EXPECT_EQ(device.deviceType, "TARN");
    EXPECT_EQ(device.name, "TARN");
    EXPECT_EQ(com.RequestHardwareVersion(), 0);
    EXPECT_EQ(com.HardwareVersion(), 1);
    EXPECT_EQ(com.DisplayStatus(), E_NUBRA_STATUS_HW_VER_RSP);
}

TEST_F(RealTimeLink, SilentPadGetsFourRequestsThenFailsWith34) {
    pad.SetFault(Fault::NeverAnswer);
    std::vector<uint64_t> sends;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        size_t seen = 0;
        while (!done) {
            size_t n = pad.RequestCount(0x0000);
            if (n > seen) {
                sends.push_back(platform::NowMs());
                seen = n;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    const uint64_t start = platform::NowMs();
    EXPECT_EQ(com.RequestFirmwareVersion(), NUBRA_ERROR_COM_NOT_RESPONSE);
    const uint64_t elapsed = platform::NowMs() - start;
    done = true;
    watcher.join();
    EXPECT_EQ(pad.RequestCount(0x0000), 4u);
    ASSERT_EQ(sends.size(), 4u);
    for (size_t i = 1; i < sends.size(); ++i) {
        EXPECT_GE(sends[i] - sends[i - 1], 990u) << i;
        EXPECT_LE(sends[i] - sends[i - 1], 1300u) << i;
    }
    EXPECT_GE(elapsed, 4000u);
    EXPECT_LE(elapsed, 5500u);
    EXPECT_EQ(log.Count("[ERROR] RETRY"), 3);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_COM_NOT_RESPONSE - 3 times try fail"));
    EXPECT_TRUE(log.Contains("[ERROR] Recv NACK - error(0x22)"));
    EXPECT_EQ(com.DisplayStatus(), E_NUBRA_STATUS_NONE);
}

TEST_F(RealTimeLink, MissingLineNoticeFailsAfterOneSecondWithoutResend) {
    pad.SetFault(Fault::OmitLineNotice);
    GraphicsJob(2, 30);
    const uint64_t start = platform::NowMs();
    EXPECT_EQ(Display(), 0) << "the caller is released by the acceptance";
    ASSERT_TRUE(WaitUntil([&] { return !device.Completions().empty(); }, 3000));
    const uint64_t elapsed = platform::NowMs() - start;
    EXPECT_EQ(device.Completions(), std::vector<int>{NUBRA_ERROR_COM_NOT_RESPONSE});
    EXPECT_GE(elapsed, 1000u);
    EXPECT_LE(elapsed, 1600u);
    EXPECT_EQ(pad.RequestCount(0x0200), 1u) << "a missing notice is never resent";
    EXPECT_TRUE(log.Contains("E_NUBRA_STATUS_NOTI can not received"));
    EXPECT_EQ(com.DisplayStatus(), E_NUBRA_STATUS_NONE);
}

TEST_F(Link, RequestNeverSentTimesOutWith35AndResetsTheStatus) {
    com.DisplayThread()->Stop(false);  // nobody takes the posted status
    const uint64_t start = platform::NowMs();
    EXPECT_EQ(com.RequestFirmwareVersion(), NUBRA_ERROR_COM_RESPONSE_TIMEOUT);
    EXPECT_GE(platform::NowMs() - start, 1000u) << "10 s at a time scale of 10";
    EXPECT_TRUE(log.Contains("[ERROR] Don't Recv - NUBRA_ERROR_COM_RESPONSE_TIMEOUT"));
    EXPECT_EQ(com.DisplayStatus(), E_NUBRA_STATUS_NONE);
    EXPECT_EQ(pad.RequestCount(0x0000), 0u);
}

TEST_F(Link, PictureIsSentLineByLineAndCompletes) {
    DisplayJob &job = GraphicsJob(10, 40);
    // Only lines 4 and 7 (0-based 3 and 6) differ from the last picture.
    {
        platform::SharedLockGuard lock;
        job.currentLine = 3;
    }
    device.nextLine = [](DisplayJob &j) { return j.currentLine == 3 ? 6 : j.m_nNumOfLine; };
    EXPECT_EQ(Display(), 0);
    ASSERT_TRUE(WaitUntil([&] { return device.displayDone.load() == 1; }, 3000));
    EXPECT_EQ(pad.RequestCount(0x0200), 2u);
    EXPECT_EQ(device.Completions(), std::vector<int>{0});
    EXPECT_EQ(device.lastShownRecorded, 1);
    auto line4 = pad.GraphicLine(4);
    ASSERT_EQ(line4.size(), 40u);
    EXPECT_EQ(line4[0], 120);
    auto frames = pad.ReceivedFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].size(), 50u);
    EXPECT_EQ(frames[0][4], 4);
    EXPECT_EQ(frames[1][4], 7);
    EXPECT_EQ(com.DisplayStatus(), E_NUBRA_STATUS_NONE);
}

TEST_F(Link, NoisyAndSlowPadsAreSurvived) {
    pad.SetFault(Fault::GarbageBetweenFrames, 9);
    EXPECT_EQ(com.RequestFirmwareVersion(), 0);
    pad.ClearFaults();
    pad.SetFault(Fault::OneByteAtATime, 1);
    EXPECT_EQ(com.RequestDeviceName(), 0);
    pad.ClearFaults();
    // A corrupted answer is dropped; the resend's answer is taken.
    pad.SetFault(Fault::CorruptChecksum, 1);
    EXPECT_EQ(com.RequestFirmwareVersion(), 0);
    EXPECT_EQ(pad.RequestCount(0x0000), 3u);
    EXPECT_TRUE(log.Contains("[ERROR] checksum ("));
    pad.ClearFaults();
    // A rejected line is resent after the response time-out and then accepted.
    pad.SetFault(Fault::RejectLine, 1, 0x07);
    GraphicsJob(1, 30);
    EXPECT_EQ(Display(), 0);
    ASSERT_TRUE(WaitUntil([&] { return device.displayDone.load() == 1; }, 3000));
    EXPECT_EQ(pad.RequestCount(0x0200), 2u);
    EXPECT_TRUE(log.Contains("[ERROR] RSP_DISPLAY_LINE  response(0x7)"));
}

TEST_F(Link, AFloodThatOverfillsTheReceiveBufferIsCutAndReceptionResumes) {
    // A frame header promising 2040 bytes, then far more bytes than the buffer holds.
    std::vector<uint8_t> flood{0xAA, 0x55, 0x07, 0xF4};
    flood.resize(6000, 0x11);
    pad.SendRaw(flood);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(com.RequestFirmwareVersion(), 0);
    EXPECT_EQ(com.FirmwareVersion(), "1.00.000");
}

TEST_F(Link, KeyNoticesReachTheDevice) {
    pad.SendFunctionKeys(0xC0);
    pad.SendPerkinsKey(4);
    pad.SendPageKey(0x02);
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::lock_guard<std::mutex> g(device.mutex);
            return device.keys.size() == 3 && device.eventKeys.size() == 1;
        },
        2000));
    std::lock_guard<std::mutex> g(device.mutex);
    EXPECT_EQ(device.keys, (std::vector<int>{0, 1, 100}));
    EXPECT_EQ(device.eventKeys, std::vector<int>{2});
}

TEST_F(Link, BraillePagingMovesTheWindowWithinTheCells) {
    DisplayJob saved;
    saved.kind = JobKind::Braille;
    saved.cellCount = 45;
    for (int i = 0; i < 45; ++i) saved.cells[i] = static_cast<uint8_t>(1 + i % 60);
    {
        platform::SharedLockGuard lock;
        device.AddJob() = saved;
        device.saved = saved;
    }
    EXPECT_EQ(com.COMReqDispLineByKey(0x02), 0);
    ASSERT_TRUE(WaitUntil([&] { return device.displayDone.load() == 1; }, 2000));
    EXPECT_EQ(pad.BrailleLine()[0], 21) << "the window moved to cell 20";
    EXPECT_TRUE(log.Contains("[OK] KEY position (20 / 20)"));
    EXPECT_EQ(com.COMReqDispLineByKey(0x08), 0);
    ASSERT_TRUE(WaitUntil([&] { return log.Contains("[ERROR] NEXT_KEY - Invalid position"); }, 2000));
    EXPECT_EQ(pad.RequestCount(0x0200), 1u);
    EXPECT_EQ(com.COMReqDispLineByKey(0x01), 0);
    ASSERT_TRUE(WaitUntil([&] { return device.displayDone.load() == 2; }, 2000));
    EXPECT_EQ(pad.BrailleLine()[0], 1);

    // Ten cells on a 20-cell line: the next page clamps back to the same window.
    saved.cellCount = 10;
    saved.windowStart = 0;
    {
        platform::SharedLockGuard lock;
        device.saved = saved;
    }
    EXPECT_EQ(com.COMReqDispLineByKey(0x02), 0);
    ASSERT_TRUE(WaitUntil([&] { return device.displayDone.load() == 3; }, 2000));
    EXPECT_TRUE(log.Contains("[OK] KEY position (0 / -20)")) << "lastStart wraps below zero";
}

TEST_F(Link, PagingWithoutASavedBrailleLineIsRefused) {
    GraphicsJob(1, 30);
    EXPECT_EQ(com.COMReqDispLineByKey(0x02), NUBRA_ERROR_BRAILLE_NOT_TRANSLATE);
    platform::SharedLockGuard lock;
    EXPECT_EQ(device.CurrentJob()->m_nNumOfCell, 30) << "the graphics job is untouched";
}

TEST_F(Link, SecondInitIsRefusedAndLeavesTheLinkAlone) {
    EXPECT_EQ(com.COMInitPath(pad.DevicePath()), NUBRA_ERROR_COM_PORT_ALREADY_OPENED);
    EXPECT_EQ(com.RequestFirmwareVersion(), 0);
}

// The port's exclusive-mode flag, seen through a descriptor of our own: 1 or 0
// for root, who may open an exclusive port; -1 when it cannot be opened or read.
int Exclusive(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    int on = -1;
    if (::ioctl(fd, TIOCGEXCL, &on) != 0) on = -1;
    ::close(fd);
    return on;
}

TEST(Port, OpenCloseContract) {
    platform::SetTimeScale(10);
    LogCapture log;
    const int before = OpenDescriptors();
    {
        CCOM com;
        EXPECT_EQ(com.COMInitPath("/nonexistent/tty"), NUBRA_ERROR_COM_OPEN_FAIL);
        EXPECT_TRUE(log.Contains("[ERROR] COMInit() RE_PORT_OPEN_ERROR"));
        EXPECT_EQ(OpenDescriptors(), before) << "no descriptor is left open";
        // A plain file is not a serial port.
        EXPECT_EQ(com.COMInitPath("/etc/hostname"), NUBRA_ERROR_COM_OPEN_FAIL);
        EXPECT_EQ(OpenDescriptors(), before);
        log.Clear();
        EXPECT_EQ(com.COMDeinit(), 0);
        EXPECT_TRUE(log.Contains("[1 times]")) << "a port never opened reports closed at once";
    }
    padsim::SimulatedPad pad;
    ASSERT_TRUE(pad.Start());
    CRS232 port;
    port.SetPortName(pad.DevicePath());
    ASSERT_EQ(port.Open(), RE_OK);
    EXPECT_EQ(port.Open(), RE_PORT_ALREADY_OPENED);
    EXPECT_NE(Exclusive(pad.DevicePath()), 0) << "no other user opens the port while the SDK has it";
    EXPECT_EQ(port.Close(), 0) << "the workers are still running";
    ASSERT_TRUE(WaitUntil([&] { return port.Close() == 1; }, 2000));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(Exclusive(pad.DevicePath()), 0) << "closed, the port is free again though the pad keeps its side";
    ASSERT_EQ(port.Open(), RE_OK) << "a closed port opens again";
    const uint8_t frame[9] = {0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0xA5};
    EXPECT_EQ(port.COMPortWrite(frame, 0, 0), 0);
    std::vector<uint8_t> big(4097, 0);
    EXPECT_EQ(port.COMPortWrite(big.data(), 4097, 0), 0);
    EXPECT_EQ(port.COMPortWrite(frame, 9, 0), 1);
    EXPECT_TRUE(pad.WaitForRequests(0x0000, 1, 2000));
    while (port.Close() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    platform::SetTimeScale(1);
}

TEST(Port, PortNumbersResolve) {
    unsetenv("VELUMI_PORT_DIR");
    EXPECT_EQ(ResolvePortName("\\\\.\\COM3"), "/dev/ttyS2");
    setenv("VELUMI_PORT_DIR", "/tmp/pads", 1);
    EXPECT_EQ(ResolvePortName("\\\\.\\COM7"), "/tmp/pads/com7");
    unsetenv("VELUMI_PORT_DIR");
    EXPECT_EQ(ResolvePortName("/dev/pts/4"), "/dev/pts/4");
}

double CpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

TEST_F(Link, UnpluggedPadNeitherCrashesNorBurnsACore) {
    EXPECT_EQ(com.RequestFirmwareVersion(), 0);
    pad.HangUp();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double cpu = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LT(CpuSeconds() - cpu, 0.15) << "the receive worker backs off";
    EXPECT_NE(com.RequestFirmwareVersion(), 0);
    const uint64_t start = platform::NowMs();
    EXPECT_EQ(com.COMDeinit(), 0);
    EXPECT_LT(platform::NowMs() - start, 3000u);
}

}  // namespace
