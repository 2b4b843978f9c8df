// Arabic and Chinese reach the pad's braille line through the engine, with the
// Chinese mode set through VELUMI_SET_BRAILLE_LANGUAGE; Vietnamese goes to liblouis.
#include "api/pad_fixture.h"
#include "test_support.h"

namespace {

struct AcvPad : PadTest {
    AcvPad() : PadTest("LINNET") {}  // 20 braille cells
    int Show(const std::u16string &text, int language, std::string *stdoutText) {
        const int before = DisplayCallbacks();
        testing::internal::CaptureStdout();
        const int r = VELUMI_BRAILLE_DISPLAY(text.c_str(), language);
        *stdoutText = testing::internal::GetCapturedStdout();
        if (r == 0) WaitUntil([&] { return DisplayCallbacks() > before; });
        WaitIdle();
        return r;
    }
};

TEST_F(AcvPad, ArabicAndChineseGoThroughTheEngine) {
    ASSERT_EQ(Init(2), 0);
    std::string out;
    const std::u16string arabic = test_support::U16("كتاب 12");
    ASSERT_EQ(Show(arabic, 1, &out), 0);
    EXPECT_NE(out.find("NUBRA\n"), std::string::npos);
    std::vector<uint8_t> expected = {0x05, 0x1E, 0x01, 0x03, 0x00, 0x3C, 0x01, 0x03};
    expected.resize(20, 0);
    EXPECT_EQ(pad->BrailleLine(), expected);

    ASSERT_EQ(VELUMI_SET_BRAILLE_LANGUAGE(3, 3), 0);
    ASSERT_EQ(Show(test_support::U16("我们"), 3, &out), 0);
    expected = {0x33, 0x02};
    expected.resize(20, 0);
    EXPECT_EQ(pad->BrailleLine(), expected) << "mode 3 through the Chinese option slot";

    ASSERT_EQ(Show(test_support::U16("VIỆT"), 13, &out), 0);
    EXPECT_NE(out.find("LIBLOUIS\n"), std::string::npos) << "the catalogue sends Vietnamese to liblouis";
}

}  // namespace
