// What a session keeps: the model against stray device names, the
// application's braille settings across re-init, the braille-line rule.
#include "braille/kotari_bridge.h"
#include "braille/louis_bridge.h"
#include "device/velumi.h"
#include "pad_fixture.h"

namespace {

struct Session : PadTest {
    Session() : PadTest("TARN") {}
};
struct NoBrailleLine : PadTest {
    NoBrailleLine() : PadTest("ORIEL") {}
};

TEST_F(Session, ADeviceNameThatNamesNoModelChangesNothing) {
    ASSERT_EQ(Init(), 0);
    for (const char *name : {"", "ZEPHYR"}) {
        log.Clear();
        pad->SendDeviceName(name);
        ASSERT_TRUE(WaitUntil([&] { return log.Contains("[RECV] RSP_DEVICE_NAME_INFO"); })) << name;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        int cells = 0, lines = 0, braille = 0;
        EXPECT_EQ(VELUMI_GET_DISPLAY_INFO(&cells, &lines, &braille), 0);
        EXPECT_EQ(cells, 40);
        EXPECT_EQ(lines, 20);
        EXPECT_EQ(braille, 32);
        static std::string reported;
        EXPECT_EQ(VELUMI_GET_DEVICE_NAME([](const char *n) { reported = n; }), 0);
        EXPECT_EQ(reported, "TARN");
        std::vector<unsigned char> picture(800, 0x09);
        picture[0] = static_cast<unsigned char>(name[0] ? 1 : 2);
        EXPECT_EQ(VELUMI_DISPLAY_DATA(picture.data(), 800, 0), 0) << "the full picture still fits";
        WaitIdle();
    }
    // A name that names a model still selects it.
    pad->SendDeviceName("QX-LINE");
    ASSERT_TRUE(WaitUntil([] { return velumi::Library().currentModel.load() == 5; }));
}

TEST_F(Session, BrailleSettingsSurviveDeinitAndInit) {
    EXPECT_EQ(VELUMI_SET_BRAILLE_LANGUAGE(ENGLISH, 2), 0);
    EXPECT_EQ(VELUMI_SET_BRAILLE_LANGUAGE(FRENCH, 2), 0);
    EXPECT_EQ(VELUMI_SET_BRAILLE_LANGUAGE(GERMAN, 1), 0);
    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_EQ(Init(3), 0) << cycle;
        EXPECT_EQ(velumi::KotariOptions().englishGrade, 2) << cycle;
        EXPECT_EQ(velumi::KotariOptions().frenchGrade, 2) << cycle;
        EXPECT_EQ(velumi::KotariOptions().germanGrade, 1) << cycle;
        EXPECT_EQ(velumi::KotariOptions().language, GERMAN) << cycle;
        EXPECT_EQ(velumi::LouisGrade(), 1) << cycle;
        EXPECT_EQ(velumi::KotariOptions().lineCells, 32) << "the line still follows the model";
        ASSERT_EQ(VELUMI_DEINIT(), 0);
    }
    VELUMI_SET_BRAILLE_LANGUAGE(ENGLISH, 1);
    VELUMI_SET_BRAILLE_LANGUAGE(FRENCH, 1);
    VELUMI_SET_BRAILLE_LANGUAGE(GERMAN, 2);
}

TEST_F(NoBrailleLine, ClearingTheBrailleLineNeedsOne) {
    ASSERT_EQ(Init(1), 0);
    EXPECT_EQ(VELUMI_RESET_BRAILLE_DISPLAY(), VELUMI_ERROR_NO_BRAILLE_LINE);
    EXPECT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("a"), VELUMI_ERROR_NO_BRAILLE_LINE);
    EXPECT_EQ(DisplayFrames(), 0u) << "nothing is sent";
    std::vector<unsigned char> picture(300, 0x3F);
    EXPECT_EQ(VELUMI_DISPLAY_DATA(picture.data(), 300, 0), 0) << "not left busy";
}

}  // namespace
