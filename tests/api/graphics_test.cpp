// Pictures: changed lines only, partial updates, clearing, graphics files and
// the refusal of bad arguments.
#include <fstream>

#include "pad_fixture.h"
#include "protocol/frame.h"

namespace {

struct Graphics : PadTest {
    explicit Graphics(const char *name = "TARN") : PadTest(name) {}
    std::vector<unsigned char> Picture(unsigned char fill) { return std::vector<unsigned char>(800, fill); }
    // Shows a picture and waits for the display callback.
    int Show(const std::vector<unsigned char> &p, int all = 0) {
        const int before = DisplayCallbacks();
        int r = VELUMI_DISPLAY_DATA(p.data(), static_cast<int>(p.size()), all);
        if (r == 0) WaitUntil([&] { return DisplayCallbacks() > before; });
        WaitIdle();
        return r;
    }
};
struct Linnet : Graphics {
    Linnet() : Graphics("LINNET") {}
};

TEST_F(Graphics, OnlyChangedLinesAreSentByteExactAndTheCallbackRunsOnce) {
    ASSERT_EQ(Init(3), 0);
    auto first = Picture(0x01);
    ASSERT_EQ(Show(first), 0);
    pad->ClearReceived();
    auto second = first;
    for (int c = 0; c < 40; ++c) {
        second[3 * 40 + c] = static_cast<unsigned char>(c);  // line 4
        second[6 * 40 + c] = 0xFF;  // line 7
    }
    const int before = DisplayCallbacks();
    ASSERT_EQ(Show(second), 0);
    EXPECT_EQ(DisplayCallbacks(), before + 1);
    auto frames = pad->ReceivedFrames();
    ASSERT_EQ(frames.size(), 2u);
    std::vector<uint8_t> expected{0xAA, 0x55, 0x00, 46, 4, 0x02, 0x00, 0x00, 0x00};
    for (int c = 0; c < 40; ++c) expected.push_back(static_cast<uint8_t>(c));
    expected.push_back(velumi::FrameChecksum(expected.data() + 4, 45));
    EXPECT_EQ(frames[0], expected);
    EXPECT_EQ(frames[1][4], 7);
    EXPECT_EQ(pad->GraphicLine(7), std::vector<uint8_t>(40, 0xFF));

    // The same picture again sends nothing.
    pad->ClearReceived();
    EXPECT_EQ(VELUMI_DISPLAY_DATA(second.data(), 800, 0), VELUMI_ERROR_DISPLAY_NO_CHANGE);
    EXPECT_EQ(DisplayFrames(), 0u);
    // Unless every line is asked for.
    ASSERT_EQ(Show(second, 1), 0);
    EXPECT_EQ(DisplayFrames(), 20u);
}

TEST_F(Graphics, ShortDataLeavesTheRestBlank) {
    ASSERT_EQ(Init(3), 0);
    auto full = Picture(0x07);
    ASSERT_EQ(Show(full), 0);
    std::vector<unsigned char> head(40, 0x07);
    ASSERT_EQ(Show(head), 0);
    EXPECT_EQ(pad->GraphicLine(1), std::vector<uint8_t>(40, 0x07));
    EXPECT_EQ(pad->GraphicLine(20), std::vector<uint8_t>(40, 0x00));
}

TEST_F(Graphics, BadArgumentsAreRefusedWithoutSending) {
    ASSERT_EQ(Init(3), 0);
    auto p = Picture(1);
    EXPECT_EQ(VELUMI_DISPLAY_DATA(p.data(), -1, 0), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    std::vector<unsigned char> big(801, 1);
    EXPECT_EQ(VELUMI_DISPLAY_DATA(big.data(), 801, 0), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    EXPECT_EQ(VELUMI_DISPLAY_DATA(nullptr, 10, 0), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    EXPECT_EQ(VELUMI_DISPLAY_DATA_PART(p.data(), 1, -1), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    EXPECT_EQ(VELUMI_DISPLAY_DATA_PART(p.data(), 0, 0), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    EXPECT_EQ(VELUMI_DISPLAY_DATA_PART(nullptr, 1, 0), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    EXPECT_EQ(VELUMI_DISPLAY(nullptr), VELUMI_ERROR_INVALID_DISPLAY_FILE);
    EXPECT_EQ(DisplayFrames(), 0u);
    EXPECT_EQ(VELUMI_DISPLAY_DATA(nullptr, 0, 0), VELUMI_ERROR_DISPLAY_NO_CHANGE) << "empty data is a blank picture";
}

TEST_F(Linnet, PartialUpdatesSendTheLinesTouched) {
    ASSERT_EQ(Init(2), 0);
    const unsigned char one = 0x3F;
    const int before = DisplayCallbacks();
    ASSERT_EQ(VELUMI_DISPLAY_DATA_PART(&one, 1, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return DisplayCallbacks() > before; }));
    WaitIdle();
    auto frames = pad->ReceivedFrames();
    ASSERT_EQ(frames.size(), 2u) << "line 0, then line 1";
    EXPECT_EQ(frames[0][4], 1);
    EXPECT_EQ(frames[1][4], 2);
    EXPECT_EQ(pad->GraphicLine(1)[0], 0x3F);
    // The last cell of the area is reachable, one past it is not.
    std::vector<unsigned char> cells(10, 0x01);
    EXPECT_EQ(VELUMI_DISPLAY_DATA_PART(cells.data(), 10, 290), 0);
    WaitIdle();
    EXPECT_EQ(VELUMI_DISPLAY_DATA_PART(cells.data(), 10, 291), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    EXPECT_EQ(pad->GraphicLine(10)[29], 0x01);
    EXPECT_EQ(pad->GraphicLine(1)[0], 0x3F) << "the rest of the last picture is kept";
}

TEST_F(Graphics, ResettingTwiceFindsNothingToChange) {
    ASSERT_EQ(Init(3), 0);
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), VELUMI_ERROR_DISPLAY_NO_CHANGE) << "init cleared the area already";
    auto p = Picture(0x09);
    ASSERT_EQ(Show(p), 0);
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), 0);
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), VELUMI_ERROR_DISPLAY_IN_PROGRESS) << "while the first is sent";
    WaitIdle();
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), VELUMI_ERROR_DISPLAY_NO_CHANGE);
}

TEST_F(Graphics, GraphicsFilesAreCheckedAgainstTheModel) {
    ASSERT_EQ(Init(3), 0);
    auto write = [&](const std::string &name, int lines, int cells, size_t body) {
        std::string path = dir + "/" + name;
        std::ofstream f(path, std::ios::binary);
        std::string header = "_tgx_";
        header += static_cast<char>(lines);
        header += static_cast<char>(cells);
        header.resize(30, '\0');
        f << header << std::string(body, '\x2A');
        return path;
    };
    EXPECT_EQ(VELUMI_DISPLAY(write("wrong.tgx", 10, 40, 800).c_str()), VELUMI_ERROR_INVALID_DISPLAY_FILE);
    EXPECT_EQ(VELUMI_DISPLAY((dir + "/missing.tgx").c_str()), VELUMI_ERROR_INVALID_DISPLAY_FILE);
    const int before = DisplayCallbacks();
    ASSERT_EQ(VELUMI_DISPLAY(write("good.tgx", 20, 40, 800).c_str()), 0);
    ASSERT_TRUE(WaitUntil([&] { return DisplayCallbacks() > before; }));
    EXPECT_EQ(pad->GraphicLine(20), std::vector<uint8_t>(40, 0x2A));
    // A short file keeps zeros where its cells end.
    WaitIdle();
    ASSERT_EQ(VELUMI_DISPLAY(write("short.tgx", 20, 40, 400).c_str()), 0);
    WaitIdle();
    EXPECT_EQ(pad->GraphicLine(20), std::vector<uint8_t>(40, 0x00));
}

}  // namespace
