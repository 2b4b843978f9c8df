// PNG to pin conversion, "_tgx_" files and the text helpers of the velumi tool.
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "image.h"
#include "test_images.h"
#include "text.h"

using namespace velumi_tool;

namespace {

Image Blank(int w, int h, uint8_t grey = 255, uint8_t alpha = 255) {
    return tool_test::UniformImage(w, h, grey, alpha);
}

void Set(Image &im, int x, int y, uint8_t grey, uint8_t alpha = 255) {
    uint8_t *p = &im.rgba[(static_cast<size_t>(y) * im.width + x) * 4];
    p[0] = p[1] = p[2] = grey;
    p[3] = alpha;
}

// TARN: 20 lines of 40 cells, 80 x 80 pins.
constexpr int kLines = 20, kCells = 40;

TEST(ImageToCells, OnePixelPerPinSetsTheDotOfEachPinPosition) {
    Image im = Blank(80, 80);
    Set(im, 0, 0, 0);  // cell 0: dot 1
    Set(im, 1, 0, 0);  // cell 0: dot 4
    Set(im, 0, 3, 0);  // cell 0: dot 7
    Set(im, 1, 3, 0);  // cell 0: dot 8
    Set(im, 3, 5, 0);  // line 1, cell 1: right column, second row = dot 5
    Set(im, 78, 78, 0);  // line 19, cell 39: left column, third row = dot 3
    const auto cells = ImageToCells(im, kLines, kCells, {});
    ASSERT_EQ(cells.size(), 800u);
    EXPECT_EQ(cells[0], 0x01 | 0x08 | 0x40 | 0x80);
    EXPECT_EQ(cells[kCells + 1], 0x10);
    EXPECT_EQ(cells[19 * kCells + 39], 0x04);
    int raised = 0;
    for (uint8_t c : cells) raised += __builtin_popcount(c);
    EXPECT_EQ(raised, 6);
    // Every pin position maps to its own bit.
    uint8_t all = 0;
    for (int x = 0; x < 2; ++x)
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(all & PinBit(x, y), 0);
            all |= PinBit(x, y);
        }
    EXPECT_EQ(all, 0xFF);
}

TEST(ImageToCells, LargerPicturesAverageThePixelsOfEachPin) {
    Image small = Blank(80, 80), large = Blank(160, 160);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            if ((x * 7 + y * 3) % 5 == 0) {
                Set(small, x, y, 0);
                for (int k = 0; k < 4; ++k) Set(large, 2 * x + k % 2, 2 * y + k / 2, 0);
            }
    EXPECT_EQ(ImageToCells(large, kLines, kCells, {}), ImageToCells(small, kLines, kCells, {}));
    // A pin half covered by black averages to mid-grey: raised at threshold 128, not at 127.
    Image half = Blank(160, 160);
    Set(half, 0, 0, 0);
    Set(half, 1, 0, 0);
    ConvertOptions o;
    EXPECT_EQ(ImageToCells(half, kLines, kCells, o)[0], 0x01);
    o.threshold = 127;
    EXPECT_EQ(ImageToCells(half, kLines, kCells, o)[0], 0x00);
}

TEST(ImageToCells, AspectRatioIsKeptAndThePictureCentred) {
    // 10 x 80 black: pins 35..44 of every row.
    const auto tall = ImageToCells(Blank(10, 80, 0), kLines, kCells, {});
    for (int line = 0; line < kLines; ++line) {
        const uint8_t *row = &tall[line * kCells];
        EXPECT_EQ(row[16], 0x00);
        EXPECT_EQ(row[17], 0x08 | 0x10 | 0x20 | 0x80) << "pin 35 is the right column of cell 17";
        for (int c = 18; c <= 21; ++c) EXPECT_EQ(row[c], 0xFF);
        EXPECT_EQ(row[22], 0x01 | 0x02 | 0x04 | 0x40) << "pin 44 is the left column of cell 22";
        EXPECT_EQ(row[23], 0x00);
    }
    // 200 x 100 black on 80 x 80 pins: scaled to 80 x 40, rows 20..59 = lines 5..14.
    const auto wide = ImageToCells(Blank(200, 100, 0), kLines, kCells, {});
    for (int line = 0; line < kLines; ++line)
        EXPECT_EQ(wide[line * kCells + 7], line >= 5 && line < 15 ? 0xFF : 0x00) << line;
    // A non-square graphics area (LINNET: 10 lines of 30 cells, 60 x 40 pins).
    const auto linnet = ImageToCells(Blank(4, 4, 0), 10, 30, {});
    ASSERT_EQ(linnet.size(), 300u);
    for (int c = 0; c < 30; ++c) EXPECT_EQ(linnet[5 * 30 + c], c >= 5 && c < 25 ? 0xFF : 0x00) << c;
}

TEST(ImageToCells, ThresholdInvertAndTransparency) {
    Image im = Blank(80, 80);
    Set(im, 0, 0, 100);  // mid-dark
    Set(im, 2, 0, 0, 0);  // transparent black
    Set(im, 4, 0, 0, 100);  // mostly transparent black
    Set(im, 6, 0, 255, 200);  // mostly opaque white
    ConvertOptions o;
    auto cells = ImageToCells(im, kLines, kCells, o);
    EXPECT_EQ(cells[0], 0x01);
    EXPECT_EQ(cells[1], 0x00) << "transparent pixels are background";
    EXPECT_EQ(cells[2], 0x00);
    EXPECT_EQ(cells[3], 0x00);
    o.threshold = 100;  // only luminance below 100 is dark
    EXPECT_EQ(ImageToCells(im, kLines, kCells, o)[0], 0x00);
    o.threshold = 128;
    o.invert = true;
    cells = ImageToCells(im, kLines, kCells, o);
    EXPECT_EQ(cells[0], 0xFE) << "inverted: every white pin but the dark one is raised";
    EXPECT_EQ(cells[1], 0xFE) << "inverted, the transparent pixel is still background";
    EXPECT_EQ(cells[2], 0xFE);
    EXPECT_EQ(cells[3], 0xFF) << "the mostly opaque white pixel is raised";
}

TEST(ImageToCells, DegenerateInputsGiveABlankArea) {
    EXPECT_EQ(ImageToCells(Image{}, kLines, kCells, {}), std::vector<uint8_t>(800, 0));
    EXPECT_TRUE(ImageToCells(Blank(3, 3, 0), 0, 20, {}).empty());
    Image broken = Blank(10, 10, 0);
    broken.rgba.resize(12);
    EXPECT_EQ(ImageToCells(broken, 2, 2, {}), std::vector<uint8_t>(4, 0));
    // One huge pixel covers the whole area.
    EXPECT_EQ(ImageToCells(Blank(3, 4, 0), 2, 3, {}), std::vector<uint8_t>(6, 0xFF));
}

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/velumi-image-test-XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("rm -rf " + path).c_str()); }
};

TEST(Png, ReadsWhatWasWrittenAndOtherColourTypes) {
    TempDir dir;
    Image im = Blank(5, 3);
    Set(im, 4, 2, 17, 99);
    std::string error;
    ASSERT_TRUE(WritePng(dir.path + "/a.png", im, error)) << error;
    Image back;
    ASSERT_TRUE(ReadPng(dir.path + "/a.png", back, error)) << error;
    EXPECT_EQ(back.width, 5);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.rgba, im.rgba);

    // A grey + alpha PNG is expanded to RGBA.
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = 2;
    png.height = 1;
    png.format = PNG_FORMAT_GA;
    const uint8_t ga[4] = {10, 255, 200, 0};
    ASSERT_TRUE(png_image_write_to_file(&png, (dir.path + "/ga.png").c_str(), 0, ga, 0, nullptr));
    ASSERT_TRUE(ReadPng(dir.path + "/ga.png", back, error)) << error;
    ASSERT_EQ(back.rgba.size(), 8u);
    EXPECT_EQ(back.rgba[0], 10);
    EXPECT_EQ(back.rgba[3], 255);
    EXPECT_EQ(back.rgba[7], 0);

    EXPECT_FALSE(ReadPng(dir.path + "/missing.png", back, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    std::ofstream(dir.path + "/text.png") << "not a picture";
    EXPECT_FALSE(ReadPng(dir.path + "/text.png", back, error));
    EXPECT_NE(error.find("not a PNG"), std::string::npos) << error;
    // A PNG cut short after its header.
    std::ifstream whole(dir.path + "/a.png", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(dir.path + "/cut.png", std::ios::binary) << bytes.substr(0, 40);
    EXPECT_FALSE(ReadPng(dir.path + "/cut.png", back, error));
}

TEST(Tgx, HeaderGeometryAndCells) {
    TempDir dir;
    std::vector<uint8_t> cells(6);
    for (int i = 0; i < 6; ++i) cells[i] = static_cast<uint8_t>(0x10 + i);
    const auto tgx = MakeTgx(2, 3, cells);
    ASSERT_EQ(tgx.size(), 36u);
    EXPECT_EQ(std::string(tgx.begin(), tgx.begin() + 5), "_tgx_");
    EXPECT_EQ(tgx[5], 2);
    EXPECT_EQ(tgx[6], 3);
    for (int i = 7; i < 30; ++i) EXPECT_EQ(tgx[i], 0) << i;
    EXPECT_EQ(std::vector<uint8_t>(tgx.begin() + 30, tgx.end()), cells);
    EXPECT_EQ(MakeTgx(2, 3, {1}).size(), 36u) << "missing cells are blank";

    std::string error;
    const std::string path = dir.path + "/p.tgx";
    ASSERT_TRUE(WriteFile(path, tgx, error)) << error;
    int lines = 0, perLine = 0;
    ASSERT_TRUE(ReadTgxHeader(path, lines, perLine, error)) << error;
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(perLine, 3);
    ASSERT_TRUE(WriteFile(path, std::vector<uint8_t>(tgx.begin(), tgx.end() - 1), error));
    EXPECT_FALSE(ReadTgxHeader(path, lines, perLine, error));
    EXPECT_NE(error.find("shorter"), std::string::npos);
    ASSERT_TRUE(WriteFile(path, {'_', 't', 'g', 'y', '_', 1, 1}, error));
    EXPECT_FALSE(ReadTgxHeader(path, lines, perLine, error));
    EXPECT_FALSE(WriteFile(dir.path + "/no/such/folder.tgx", tgx, error));
}

TEST(Text, Utf8Decoding) {
    std::u16string out;
    ASSERT_TRUE(Utf8ToUtf16("a\xC3\xA9\xE2\xA0\x81\xF0\x9F\x98\x80", out));
    EXPECT_EQ(out, std::u16string(u"a\u00E9\u2801\U0001F600"));
    for (const char *bad :
        {"\xC3", "\xE2\xA0", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\x80"})
        EXPECT_FALSE(Utf8ToUtf16(bad, out)) << bad;
}

TEST(Text, ParagraphsJoinLinesAndCutLongOnesAtSpaces) {
    EXPECT_EQ(Paragraphs(u"one\ntwo  three\n\n\n four \r\n", 100),
        (std::vector<std::u16string>{u"one two three", u"four"}));
    EXPECT_TRUE(Paragraphs(u" \n\t\n", 100).empty());
    EXPECT_EQ(Paragraphs(u"aaa bbb ccc", 7), (std::vector<std::u16string>{u"aaa bbb", u"ccc"}));
    EXPECT_EQ(Paragraphs(u"abcdefghij", 4), (std::vector<std::u16string>{u"abcd", u"efgh", u"ij"}));
    // A surrogate pair at the cut moves whole to the next piece.
    EXPECT_EQ(Paragraphs(u"abc\U0001F600d", 4), (std::vector<std::u16string>{u"abc", u"\U0001F600d"}));
    // Nothing is lost, whatever the limit.
    std::u16string text;
    for (int i = 0; i < 3000; ++i) text += (i % 7 == 0) ? u' ' : static_cast<char16_t>(u'a' + i % 26);
    std::u16string joined;
    for (const auto &p : Paragraphs(text, 2000)) {
        EXPECT_LE(p.size(), 2000u);
        joined += (joined.empty() ? u"" : u" ") + p;
    }
    EXPECT_EQ(joined, text.substr(1));
}

TEST(Text, LanguageNamesCodesAndNumbers) {
    EXPECT_EQ(ParseLanguage("english"), 5);
    EXPECT_EQ(ParseLanguage("EN"), 5);
    EXPECT_EQ(ParseLanguage("fr"), 6);
    EXPECT_EQ(ParseLanguage("Chinese-Simplified"), 3);
    EXPECT_EQ(ParseLanguage("zh-TW"), 2);
    EXPECT_EQ(ParseLanguage("norwegian"), 18);
    EXPECT_EQ(ParseLanguage("nb"), 18);
    EXPECT_EQ(ParseLanguage("kazakh"), 19);
    EXPECT_EQ(ParseLanguage("uzbek"), 25);
    EXPECT_EQ(ParseLanguage("12"), 12);
    for (const char *bad : {"", "0", "26", "-5", "klingon", "e", "00000000005", "english2"})
        EXPECT_EQ(ParseLanguage(bad), -1) << bad;
    // Every language has a unique code and round-trips by name.
    for (const LanguageName &l : Languages()) EXPECT_EQ(ParseLanguage(l.name), l.code);
    EXPECT_EQ(LanguageNameOf(6), "french");
}

}  // namespace
