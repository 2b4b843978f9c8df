// Init, de-init, model selection and device facts through the exported API.
#include <dirent.h>

#include "device/velumi.h"
#include "pad_fixture.h"
#include "process_state.h"

using test_support::OpenDescriptors;
using test_support::Threads;

namespace {

struct NamedPad : PadTest {
    explicit NamedPad(const std::string &name) : PadTest(name) {}
};
struct QxShortPad : NamedPad {
    QxShortPad() : NamedPad("AQX-SHORTB") {}
};
struct UnknownPad : NamedPad {
    UnknownPad() : NamedPad("ZEPHYR") {}
};
struct OrielWidePad : NamedPad {
    OrielWidePad() : NamedPad("ORIEL_WIDE") {}
};
struct TarnPad : PadTest {};

TEST_F(QxShortPad, DeviceNameSelectsTheModel) {
    ASSERT_EQ(Init(), 0);
    EXPECT_EQ(velumi::Library().currentModel.load(), 6);
    EXPECT_TRUE(log.Contains("[OK] Set Velumi type => VELUMI_QX_SHORT"));
    EXPECT_EQ(pad->RequestCount(0x0100), 0u);
}

TEST_F(UnknownPad, UnknownNameKeepsTheDefaultModel) {
    ASSERT_EQ(Init(), 0);
    EXPECT_EQ(velumi::Library().currentModel.load(), 2);
}

TEST_F(OrielWidePad, ModelOnesNameInsideModelZerosSelectsModelOne) {
    ASSERT_EQ(Init(), 0);
    EXPECT_EQ(velumi::Library().currentModel.load(), 1);
}

TEST_F(TarnPad, InitWithTypeKnowsTheNameAndTheGeometry) {
    int cells = -1, lines = -1, braille = -1;
    EXPECT_EQ(VELUMI_GET_DISPLAY_INFO(&cells, &lines, &braille), VELUMI_ERROR_NOT_INIT);
    EXPECT_EQ(cells, -1);
    EXPECT_EQ(lines, -1);
    EXPECT_EQ(braille, -1);
    ASSERT_EQ(Init(3), 0);
    static std::string name;
    static std::thread::id where;
    EXPECT_EQ(VELUMI_GET_DEVICE_NAME([](const char *n) {
        name = n;
        where = std::this_thread::get_id();
    }),
        0);
    EXPECT_EQ(name, "TARN");
    EXPECT_EQ(where, std::this_thread::get_id()) << "a known name is delivered on the caller's thread";
    EXPECT_EQ(pad->RequestCount(0x0100), 0u) << "the pad is not asked";
    EXPECT_EQ(VELUMI_GET_DISPLAY_INFO(&cells, &lines, &braille), 0);
    EXPECT_EQ(cells, 40);
    EXPECT_EQ(lines, 20);
    EXPECT_EQ(braille, 32);
    EXPECT_EQ(VELUMI_GET_DISPLAY_INFO(nullptr, nullptr, nullptr), 0) << "null pointers are skipped";
    // A second init is refused and leaves the link alone.
    EXPECT_EQ(VELUMI_INIT(kPort), VELUMI_ERROR_ALREADY_INIT);
    EXPECT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("a"), 0);
}

TEST_F(TarnPad, InvalidDeviceTypeIsRefusedBeforeAnythingOpens) {
    EXPECT_EQ(VELUMI_INIT_WITH_DEVICE_TYPE(kPort, 9), VELUMI_ERROR_INVALID_DEVICE_TYPE);
    EXPECT_EQ(VELUMI_INIT_WITH_DEVICE_TYPE(kPort, -1), VELUMI_ERROR_INVALID_DEVICE_TYPE);
    EXPECT_EQ(VELUMI_DEINIT(), VELUMI_ERROR_NOT_INIT);
}

TEST_F(TarnPad, FirmwareVersionBeforeInitReturnsAtOnceAndAfterInitAsksThePad) {
    static std::atomic<int> calls{0};
    static std::string version;
    auto cb = [](const char *v) {
        version = v;
        ++calls;
    };
    EXPECT_EQ(VELUMI_GET_FW_VERSION(cb), 0);
    EXPECT_EQ(calls.load(), 0);
    ASSERT_EQ(Init(), 0);
    EXPECT_EQ(VELUMI_GET_FW_VERSION(cb), 0);
    EXPECT_EQ(calls.load(), 1) << "the callback ran before the call returned";
    EXPECT_EQ(version, "1.00.000");
    EXPECT_EQ(pad->RequestCount(0x0000), 1u);
    EXPECT_EQ(VELUMI_GET_FW_VERSION(cb), 0);
    EXPECT_EQ(calls.load(), 2);
    EXPECT_EQ(pad->RequestCount(0x0000), 1u) << "a known version is not asked again";
}

TEST_F(TarnPad, DeinitDuringATransferIsRefusedAndTenCyclesLeakNothing) {
    ASSERT_EQ(Init(), 0);
    pad->SetFault(padsim::Fault::DelayAnswers, 300);
    std::vector<unsigned char> picture(800, 0x3F);
    EXPECT_EQ(VELUMI_DISPLAY_DATA(picture.data(), 800, 1), 0);
    EXPECT_EQ(VELUMI_DEINIT(), VELUMI_ERROR_DISPLAY_IN_PROGRESS);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_DISPLAY_IN_PROGRESS in CVelumi::DeInit"));
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), VELUMI_ERROR_DISPLAY_IN_PROGRESS) << "still initialised, still busy";
    pad->ClearFaults();
    WaitIdle();
    EXPECT_EQ(VELUMI_DEINIT(), 0);

    const int fds = OpenDescriptors(), threads = Threads();
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Init(3), 0) << i;
        ASSERT_EQ(VELUMI_DEINIT(), 0) << i;
    }
    EXPECT_EQ(OpenDescriptors(), fds);
    EXPECT_EQ(Threads(), threads);
}

TEST_F(TarnPad, KeyNoticesReachTheKeyCallbackUntilItIsRemoved) {
    ASSERT_EQ(Init(), 0);
    static std::vector<int> keys;
    static std::mutex m;
    VELUMI_REGISTER_KEY_CALLBACK([](int k) {
        std::lock_guard<std::mutex> g(m);
        keys.push_back(k);
    });
    pad->SendFunctionKeys(0x90);
    pad->SendPerkinsKey(2);
    ASSERT_TRUE(WaitUntil([] {
        std::lock_guard<std::mutex> g(m);
        return keys.size() == 3;
    }));
    {
        std::lock_guard<std::mutex> g(m);
        EXPECT_EQ(keys, (std::vector<int>{0, 3, 200}));
    }
    VELUMI_REGISTER_KEY_CALLBACK(nullptr);
    pad->SendPerkinsKey(4);
    pad->SendFunctionKeys(0x80);
    ASSERT_TRUE(WaitUntil([&] { return log.Contains("NOTI_KEY_FUNCTION  key(0x80)"); }));
    std::lock_guard<std::mutex> g(m);
    EXPECT_EQ(keys.size(), 3u);
}

TEST(NoPad, MissingPortFailsAndOperationsNeedInit) {
    velumi::platform::SetTimeScale(10);
    setenv("VELUMI_PORT_DIR", "/nonexistent", 1);
    velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
    EXPECT_EQ(VELUMI_INIT(3), VELUMI_ERROR_COM_OPEN_FAIL);
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), VELUMI_ERROR_COM_NOT_OPENED);
    EXPECT_EQ(VELUMI_DEINIT(), VELUMI_ERROR_NOT_INIT);
}

TEST(NoPad, MissingEngineFailsInitBeforeThePortOpens) {
    velumi::platform::SetTimeScale(10);
    LogCapture log;
    velumi::FreeKotariLibrary();
    velumi::SetKotariLibraryPath("/nonexistent/libKotariEngine.so");
    EXPECT_EQ(VELUMI_INIT(3), VELUMI_ERROR_ENGINE_LOAD_FAIL);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_KOTARI_DLL_LOAD_FAIL in LoadKotariLibrary()"));
    EXPECT_FALSE(log.Contains("COMInit"));
    const char16_t text[] = u"hello";
    EXPECT_EQ(VELUMI_BRAILLE_DISPLAY(text, ENGLISH), VELUMI_ERROR_COM_NOT_OPENED);
}

}  // namespace
