// Norwegian translator: letters, numbers and its own line layout.
#include <gtest/gtest.h>

#include "european/latin_test_util.h"

namespace {

using latin_test::Cells;

Cells No(const std::u16string &text, int lineCells = 0) {
    return latin_test::RunTranslator(kotari::TranslateNorwegian, text, kotari::DefaultOptions(18, lineCells));
}

TEST(Norwegian, LettersAndCapitals) {
    EXPECT_EQ(No(u"æøå"), (Cells{0x1C, 0x2A, 0x21}));
    EXPECT_EQ(No(u"Ola"), (Cells{0x20, 0x15, 0x07, 0x01}));
    EXPECT_EQ(No(u"NRK"), (Cells{0x20, 0x20, 0x1D, 0x17, 0x05}));
    EXPECT_EQ(No(u"ÆØÅ"), (Cells{0x20, 0x20, 0x1C, 0x2A, 0x21}));
}

TEST(Norwegian, NumberSign) {
    EXPECT_EQ(No(u"12"), (Cells{0x3C, 0x01, 0x03}));
    // No new sign after a digit, a comma or a full stop; a new one after a colon.
    EXPECT_EQ(No(u"3,5"), (Cells{0x3C, 0x09, 0x02, 0x11}));
    EXPECT_EQ(No(u"1.000"), (Cells{0x3C, 0x01, 0x04, 0x1A, 0x1A, 0x1A}));
    EXPECT_EQ(No(u"1:2"), (Cells{0x3C, 0x01, 0x12, 0x3C, 0x03}));
    // a-j after a digit is marked so it is not read as a digit.
    EXPECT_EQ(No(u"12a"), (Cells{0x3C, 0x01, 0x03, 0x30, 0x01}));
    EXPECT_EQ(No(u"2k"), (Cells{0x3C, 0x03, 0x05}));
}

TEST(Norwegian, NumberIsKeptOnOneLine) {
    // Line of 8: "abcde" (5 cells), blank, then the number 12 (3 cells) would
    // cross the line end at column 6, so blanks fill the line first.
    EXPECT_EQ(No(u"abcde 12", 8), (Cells{0x01, 0x03, 0x09, 0x19, 0x11, 0, 0, 0, 0x3C, 0x01, 0x03}));
    // A number that fits stays where it is; words are not moved.
    EXPECT_EQ(No(u"ab 12", 8), (Cells{0x01, 0x03, 0, 0x3C, 0x01, 0x03}));
    EXPECT_EQ(No(u"abcdefg hij", 8).size(), 11u);
    // The number runs up to the next white space, its punctuation included.
    EXPECT_EQ(No(u"abcd 1,5.", 8), (Cells{0x01, 0x03, 0x09, 0x19, 0, 0, 0, 0, 0x3C, 0x01, 0x02, 0x11, 0x04}));
    // Cells per line below 1 mean 6144: nothing moves.
    EXPECT_EQ(No(u"abcde 12", 0), (Cells{0x01, 0x03, 0x09, 0x19, 0x11, 0, 0x3C, 0x01, 0x03}));
    EXPECT_EQ(No(u"abcde 12", -5), No(u"abcde 12", 0));
}

TEST(Norwegian, ExportDoesNotRewrap) {
    EXPECT_EQ(latin_test::ThroughExport(18, 4, u"abc de"), (Cells{0x01, 0x03, 0x09, 0, 0x19, 0x11, 0, 0}));
}

TEST(Norwegian, NumbersAndTheirUnits) {
    EXPECT_EQ(No(u"10 %"), (Cells{0x3C, 0x01, 0x1A, 0x28, 0x34}));
    EXPECT_EQ(No(u"\u00A7 18"), (Cells{0x2C, 0x3C, 0x01, 0x13}));
    EXPECT_EQ(No(u"20\u00B0 C"), (Cells{0x3C, 0x03, 0x1A, 0x10, 0x34, 0x20, 0x09}));
    EXPECT_EQ(No(u"5 kg"), (Cells{0x3C, 0x11, 0, 0x05, 0x1B}));  // other units keep their blank
    EXPECT_EQ(No(u"\u2152"), (Cells{0x3C, 0x01, 0x0C, 0x3C, 0x01, 0x1A}));
    EXPECT_EQ(No(u"\u2122"), (Cells{0x26, 0x1E, 0x34}));
}

TEST(Norwegian, UnknownCharacters) {
    EXPECT_EQ(No(u"a中b"), (Cells{0x01, 0x22, 0x03}));
    EXPECT_EQ(No(u"\U0001F600"), (Cells{0x22}));
}

TEST(Norwegian, WritesAtMost6141Cells) {
    for (int width : {0, 7, 40}) {
        for (const char16_t *unit : {u"x²", u"²", u"1 ", u"Æ", u"a1,5 "})
            latin_test::ExpectLongestTextFits(kotari::TranslateNorwegian, unit, kotari::DefaultOptions(18, width),
                6141);
    }
}

}  // namespace
