// Engine entry: options, dispatch and line packing.
#include <gtest/gtest.h>

#include <vector>

#include "core/engine.h"

namespace {

std::vector<uint8_t> Pack(const std::vector<uint8_t> &cells, int width, bool wrap = true) {
    TranslatorOptions o{};
    o.lineCells = width;
    kotari::ApplyOptions(o);
    std::vector<uint8_t> out(3 * kotari::kCellBufferSize, 0xEE);
    int n = kotari::packCells(out.data(), cells.data(), static_cast<int>(cells.size()), wrap);
    out.resize(n);
    return out;
}

TEST(PackCells, EmptyTextGivesOneBlankLine) { EXPECT_EQ(Pack({}, 10), std::vector<uint8_t>(10, 0)); }

TEST(PackCells, TwoWordsShareALine) {
    EXPECT_EQ(Pack({1, 2, 3, 0, 4, 5, 6}, 10), (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0, 0, 0}));
}

TEST(PackCells, WordThatDoesNotFitStartsNextLineAndDropsLineStartBlank) {
    // "abcd efgh" at width 6: the second word moves down; the blank that would start line 2 is dropped.
    EXPECT_EQ(Pack({1, 1, 1, 1, 0, 2, 2, 2, 2}, 6), (std::vector<uint8_t>{1, 1, 1, 1, 0, 0, 2, 2, 2, 2, 0, 0}));
    // A blank after an exactly filled line is dropped.
    EXPECT_EQ(Pack({1, 1, 1, 0, 2}, 3), (std::vector<uint8_t>{1, 1, 1, 2, 0, 0}));
}

TEST(PackCells, LeadingBlankIsKept) { EXPECT_EQ(Pack({0, 1, 1}, 4), (std::vector<uint8_t>{0, 1, 1, 0})); }

TEST(PackCells, LongWordRunsOnAndFollowsFullLineWithBlankLine) {
    // A 5-cell word at width 3 runs over the line end.
    EXPECT_EQ(Pack({7, 7, 7, 7, 7}, 3), (std::vector<uint8_t>{7, 7, 7, 7, 7, 0}));
    // After an exactly filled line, a word longer than a line gets one blank line first.
    EXPECT_EQ(Pack({1, 1, 1, 0, 7, 7, 7, 7}, 3), (std::vector<uint8_t>{1, 1, 1, 0, 0, 0, 7, 7, 7, 7, 0, 0}));
}

TEST(PackCells, NoWrapOnlyPads) {
    EXPECT_EQ(Pack({1, 0, 0, 1, 1, 1, 1}, 4, false), (std::vector<uint8_t>{1, 0, 0, 1, 1, 1, 1, 0}));
}

TEST(PackCells, NonPositiveWidthPadsTo6144) {
    EXPECT_EQ(Pack({1, 2}, 0).size(), 6144u);
    EXPECT_EQ(Pack({1, 2}, -5).size(), 6144u);
}

TEST(PackCells, WrappingNeverExceedsTheDocumentedBound) {
    // Worst case: words one cell longer than a line, each after an exactly filled line.
    for (int width : {1, 2, 3, 7, 20, 32}) {
        std::vector<uint8_t> cells;
        while (cells.size() + 2 * width + 2 < static_cast<size_t>(kotari::kCellBufferSize)) {
            cells.insert(cells.end(), width, 1);
            cells.push_back(0);
            cells.insert(cells.end(), width + 1, 2);
            cells.push_back(0);
        }
        auto out = Pack(cells, width);
        EXPECT_LE(out.size(), static_cast<size_t>(2 * kotari::kCellBufferSize + width)) << width;
        EXPECT_EQ(out.size() % width, 0u);
    }
}

TEST(BrailleTranslator, DispatchesUnknownCodesToEnglishAndPacksByLanguage) {
    std::vector<uint8_t> expected;
    for (int code : {5, 0, 99}) {
        std::u16string text = u"ab cd";
        TranslatorOptions o{code, 1, 0, 1, 20, 1, 1, 2, 2};
        std::vector<uint8_t> out(3 * kotari::kCellBufferSize);
        int n = BrailleTranslator(reinterpret_cast<uint16_t *>(text.data()), out.data(), &o);
        ASSERT_GT(n, 0);
        EXPECT_EQ(n % 20, 0);
        out.resize(n);
        if (expected.empty()) expected = out;
        EXPECT_EQ(out, expected) << "code " << code;
    }
}

TEST(BrailleTranslator, OptionsMapToSettings) {
    TranslatorOptions o{7, 1, 3, 0, -1, 3, 2, 1, 1};
    kotari::ApplyOptions(o);
    EXPECT_EQ(kotari::g_settings.englishGrade, 1);
    EXPECT_TRUE(kotari::g_settings.lowercaseInput);
    EXPECT_FALSE(kotari::g_settings.markComputerText);
    EXPECT_EQ(kotari::g_settings.lineWidth, 6144);
    EXPECT_EQ(kotari::g_settings.rawLineCellsKorean, -1);
    EXPECT_EQ(kotari::g_settings.chineseMode, 3);
    EXPECT_EQ(kotari::g_settings.frenchGrade, 2);
    EXPECT_EQ(kotari::g_settings.germanGrade, 1);
    EXPECT_EQ(kotari::g_settings.vietnameseVariant, 1);
    TranslatorOptions d{5, 0, 0, 1, 20, 7, 0, 0, 0};
    kotari::ApplyOptions(d);
    EXPECT_EQ(kotari::g_settings.englishGrade, 2);
    EXPECT_EQ(kotari::g_settings.chineseMode, 1);
    EXPECT_EQ(kotari::g_settings.frenchGrade, 1);
    EXPECT_EQ(kotari::g_settings.germanGrade, 2);
    EXPECT_EQ(kotari::g_settings.vietnameseVariant, 2);
}

}  // namespace
