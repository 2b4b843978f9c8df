// Arabic: letters and marks, digits and numbers with separators, symbols, Latin
// runs between script-switch indicators, and the generated letters table.
#include <algorithm>

#include "acv_test_util.h"
#include "lang/arabic/arabic_tables.h"

namespace {

using acv_test::Arabic;

TEST(Arabic, DigitsAndNumbersWithSeparators) {
    test_support::ExpectOutputs(Arabic,
        {{"12", "3C 01 03"}, {"12/5", "3C 01 03 38 0C 11"}, {"١٢", "3C 01 03", "Arabic-Indic digits"},
            {"۴۵", "3C 19 11", "extended Arabic-Indic digits"},
            {"1-2-3", "3C 01 24 03 24 09", "a hyphen that occurs twice"},
            {"10:30", "3C 01 1A 12 09 1A", "a colon that occurs once"}, {"3,500", "3C 09 20 11 1A 1A"}});
    // One hyphen is no number with separators: the hyphen follows a digit.
    EXPECT_EQ(Arabic("1-2"), "3C 01 30 24 3C 03");
}

TEST(Arabic, LettersMarksAndLigatures) {
    test_support::ExpectOutputs(Arabic,
        {{"كتاب", "05 1E 01 03"}, {"كِتَابٌ", "05 11 1E 02 01 03 22"},
            {"الله", "01 07 20 02 07 13", "alef, lam, shadda, fatha, lam, ha"},
            {"لا", "27", "lam followed by alef is the ligature"}, {"سلام", "0E 27 0D"}, {"ﻻ", "27"},
            {"بسم الله", "03 0E 0D 00 01 07 20 02 07 13"}, {"ـ", "", "a character of no class writes nothing"}});
}

TEST(Arabic, ExtendedLettersTakeTheCellOfTheirBaseLetter) {
    test_support::ExpectOutputs(Arabic,
        {{"پ", "03", "peh, like beh"}, {"چ", "1A", "tcheh, like jeem"}, {"ک", "05", "keheh, like kaf"},
            {"ی", "15", "farsi yeh"}, {"ے", "3D", "yeh barree"},
            {"ۀ", "13", "by decomposition: heh with yeh above is heh"},
            {"ٻ", "03", "by name: beh with two dots below"}});
}

TEST(Arabic, LatinRunsBetweenSwitchIndicators) {
    EXPECT_EQ(Arabic("مرحبا hello عالم"), "0D 17 31 03 01 00 38 13 11 07 07 15 00 38 37 01 07 0D");
    EXPECT_EQ(Arabic("مرحبا hello"), "0D 17 31 03 01 00 38 13 11 07 07 15 38")
        << "a text ending in Latin closes with 38";
    test_support::ExpectOutputs(Arabic, {{"hello world", "38 13 11 07 07 15 00 3A 15 17 07 19 38"},
                                            {"3b", "3C 09 30 03 38", "a Latin letter right after a number takes 30"},
                                            {"3ب", "3C 09 30 03", "so does an Arabic letter"}});
}

TEST(Arabic, PunctuationAndSymbols) {
    test_support::ExpectOutputs(Arabic,
        {{"كتاب.", "05 1E 01 03 30 32", "punctuation always takes 30"},
            {"كتاب، قلم", "05 1E 01 03 10 00 1F 07 0D", "the Arabic comma is a letter-table row"},
            {"3×4", "3C 09 30 26 3C 19", "after a digit the after-digit table"}, {"3*4", "3C 09 30 26 3C 19"},
            {"(كتاب)", "26 05 1E 01 03 34"}, {"[ب]", "20 26 03 34 04"}, {"ب & ت", "03 00 0F 00 1E"},
            {"ب:", "03 30 10 02", "colon in Arabic context"}, {"a:", "38 01 12 38", "colon in a Latin run is English"},
            {"   ", ""}});
}

TEST(Arabic, LettersTableIsSortedAndCoversTheCoreRows) {
    using namespace kotari::arabic;
    EXPECT_EQ(kLetterCount, 171);
    for (int i = 1; i < kLetterCount; ++i) ASSERT_LT(kLetters[i - 1].ch, kLetters[i].ch);
    auto cell = [](char16_t c) {
        const LetterRow *end = kLetters + kLetterCount;
        const LetterRow *r = std::find_if(kLetters, end, [&](const LetterRow &row) { return row.ch == c; });
        return r == end ? -1 : int(r->cells[0]);
    };
    EXPECT_EQ(cell(0x0627), 0x01);
    EXPECT_EQ(cell(0x064A), 0x0A);
    EXPECT_EQ(cell(0x0652), 0x12);
    EXPECT_EQ(cell(0x06A9), 0x05);
    EXPECT_EQ(cell(0x06CC), 0x15);
    EXPECT_EQ(cell(0xFEFB), 0x27);
    for (char16_t c = 0x0671; c <= 0x06D3; ++c) EXPECT_NE(cell(c), -1) << "U+" << std::hex << int(c);
}

TEST(Arabic, AFullBufferEndsOnAWholeCharacter) {
    const auto cells = acv_test::Direct(kotari::TranslateArabic, acv_test::Repeat("كتاب 12/5 hello ", 2000));
    ASSERT_GT(cells.size(), 6000u);
    const auto latin = acv_test::Direct(kotari::TranslateArabic, acv_test::Repeat("hello ", 3000));
    ASSERT_GT(latin.size(), 6000u);
    EXPECT_EQ(latin[0], 0x38);
    EXPECT_NE(latin.back(), 0x38) << "a run cut by the full buffer has no closing indicator";
}

}  // namespace
