// Symbols, quotes, computer text, accented and Greek letters, fractions.
#include <gtest/gtest.h>

#include "english_helpers.h"
#include "lang/english/english.h"
#include "lang/english/english_ueb_symbols.h"

using namespace english_test;

TEST(EnglishAccents, ModifierThenBaseLetter) {
    EXPECT_EQ(G2("\u00E9"), "18 0C 11");  // é
    EXPECT_EQ(G1("\u00C9\u00C9"), "20 20 18 0C 23 11 11 1C");  // ÉÉ: one modifier for the run
    EXPECT_EQ(G2("\u00C9\u00C9"), "20 20 18 0C 23 11 11 1C");
    test_support::ExpectOutputs(G1, {{"caf\u00E9", "09 01 0B 18 0C 11"}, {"\u00C9cole", "20 18 0C 11 09 15 07 11"},
                                        {"na\u00EFve", "1D 01 18 12 0A 27 11"}, {"\u00F8", "08 21 15", "stroke"},
                                        {"\u0111", "08 12 19", "horizontal stroke"}});
}

TEST(EnglishAccents, LigaturesAndOldLetters) {
    EXPECT_EQ(G1("\u00E6"), "01 18 16 11");
    // A capital ligature outside a capitalised word: a capital sign before each letter.
    EXPECT_EQ(G1("\u00C6"), "20 01 20 18 16 11");
    EXPECT_EQ(G2("\u0152uvre"), "20 15 20 18 16 11 25 27 17 11");
    test_support::ExpectOutputs(G1,
        {{"a\u00C6", "01 20 01 20 18 16 11"},
            {"\u00C6SOP", "20 20 01 18 16 11 0E 15 0F", "the word indicator covers both"},
            {"\u01FD", "18 0C 01 18 16 11", "ǽ: acute over the ligature"}, {"\u00FE", "3C 2E", "thorn"},
            {"\u00F0", "3C 2B", "eth"}, {"\u021D", "3C 3D", "yogh"}});
}

TEST(EnglishAccents, ClassLookup) {
    using kotari::english::AccentClassOf;
    EXPECT_EQ(AccentClassOf(u'\u00E9'), 10);
    EXPECT_EQ(AccentClassOf(u'\u00C7'), 4);
    EXPECT_EQ(AccentClassOf(u'\u0153'), 12);
    EXPECT_EQ(AccentClassOf(u'\u00DE'), 13);
    EXPECT_EQ(AccentClassOf(u'e'), 14);
    EXPECT_EQ(AccentClassOf(u'\u03B1'), 14);
}

TEST(EnglishGreek, CapitalsAndWords) {
    test_support::ExpectOutputs(G1,
        {{"\u03B1", "28 01"}, {"\u03A9", "20 28 3A"}, {"\u0391\u0392", "20 20 28 01 28 03"},
            {"\u0391\u03B2", "20 28 01 28 03"},
            {"\u0391\u0392\u03B3", "20 28 01 20 28 03 28 1B", "each capital of a mixed run"},
            {"\u0391\u0392 \u0393", "20 20 28 01 28 03 00 20 28 1B"}, {"\u03C2", "28 0E", "final sigma"}});
}

TEST(EnglishNumbers, Fractions) {
    test_support::ExpectOutputs(G1, {{"\u00BC", "3C 01 0C 19"}, {"\u2152", "3C 01 0C 01 1A"},
                                        {"\u2189", "3C 1A 0C 09"}, {"\u00BD \u00BD", "3C 01 0C 03 10 3C 01 0C 03"}});
}

TEST(EnglishSymbols, TableCellsAndSpecialCases) {
    test_support::ExpectOutputs(G1,
        {{"a&b", "01 08 2F 03"}, {"$5", "08 0E 3C 11"}, {"^", "08 22", "the first table entry wins"},
            {"\u2014\u2014", "10 20 24", "long dash"}, {"\u2014", "20 24"}, {"a__b", "01 28 24 03"},
            {"\u2192", "30 33 15"}, {"\u2192\u2190", "30 33 15 33 2A"}, {"\u25CBx", "30 2B 3F 31 2D"},
            {"\u00A9", "18 09"}});
}

TEST(EnglishSymbols, QuestionMarkAlone) {
    test_support::ExpectOutputs(G1, {{"?", "30 26"}, {"a ? b", "01 00 30 26 00 03"}, {"why?", "3A 13 3D 26"}});
}

TEST(EnglishSymbols, RightSingleQuoteBetweenLettersIsAnApostrophe) {
    EXPECT_EQ(G1("don\u2019t"), "19 15 1D 04 1E");
    EXPECT_EQ(G2("don\u2019t"), G2("don't"));
    EXPECT_EQ(G2("it\u2019s"), "2D 04 0E");
    test_support::ExpectOutputs(G1, {{"rock\u2019n\u2019roll", "17 15 09 05 04 1D 04 17 15 07 07"},
                                        // Elsewhere it is still the closing quote.
                                        {"\u2018hi\u2019", "20 26 13 0A 20 34"}, {"\u2019tis", "20 34 1E 0A 0E"}});
}

TEST(EnglishSymbols, StraightQuotesAlternate) {
    test_support::ExpectOutputs(G1,
        {{"\"a\" \"b\"", "26 01 34 00 26 03 34"}, {"5\"", "3C 11 20 36", "a lone one keeps its table cells"},
            {"\u201Ca\u201D", "18 26 01 18 34"}});
}

TEST(EnglishComputerText, WebAddressesAreEnclosed) {
    test_support::ExpectOutputs(G1,
        {{"www.ab.com", "38 2C 3A 3A 3A 28 01 03 28 09 15 0D 38 31"},
            {"see www.ab.com now", "0E 11 11 00 38 2C 3A 3A 3A 28 01 03 28 09 15 0D 38 31 00 1D 15 3A"},
            {"x@ab.org", "38 2C 2D 08 01 03 28 15 17 1B 38 31"},
            {"HTTP://ab.de", "38 2C 20 20 13 1E 1E 0F 12 38 0C 38 0C 01 03 28 19 11 38 31"}});
}

TEST(EnglishComputerText, PlainTextWithoutPrefixOrAt) {
    EXPECT_EQ(G1("ab.com"), "01 03 32 09 15 0D");
    EXPECT_EQ(G1("notes.txt"), "1D 15 1E 11 0E 32 1E 2D 1E");
    Settings st;
    st.grade = 1;
    st.computer = false;
    EXPECT_EQ(Hex(Cells("www.ab.com", st)), "3A 3A 3A 32 01 03 32 09 15 0D");
}

TEST(EnglishComputerText, NotContractedInGrade2) {
    EXPECT_EQ(G2("www.the.com"), "38 2C 3A 3A 3A 28 1E 13 11 28 09 15 0D 38 31");
}

TEST(EnglishComputerText, Detection) {
    using kotari::english::IsComputerText;
    EXPECT_TRUE(IsComputerText(u"www.ab.com", 10));
    EXPECT_TRUE(IsComputerText(u"https://x.info", 14));
    EXPECT_TRUE(IsComputerText(u"a@b.cd", 6));
    EXPECT_FALSE(IsComputerText(u"a@b.c", 5));  // one letter after the dot
    EXPECT_FALSE(IsComputerText(u"a@b.abcde", 9));  // five
    EXPECT_FALSE(IsComputerText(u"a.b@cd", 6));  // the dot comes before the @
    EXPECT_FALSE(IsComputerText(u"www.", 4));
    EXPECT_FALSE(IsComputerText(nullptr, 3));
}

// Characters outside the translator's own tables take their Unified English
// Braille cells (as liblouis en-ueb-g1/g2 writes them); nothing becomes a blank.
TEST(EnglishUebSymbols, CharactersOutsideTheOwnTables) {
    // En dash between numbers: the dash ends the number, the second gets its own sign.
    EXPECT_EQ(G1("1990\u20132000"), "3C 01 0A 0A 1A 20 24 3C 03 1A 1A 1A");
    EXPECT_EQ(G2("1990\u20132000"), "3C 01 0A 0A 1A 20 24 3C 03 1A 1A 1A");
    test_support::ExpectOutputs(G1,
        {{"x \u00B1 y", "2D 00 38 16 00 3D", "±"}, {"\u00BFQu\u00E9?", "18 30 26 20 1F 25 18 0C 11 26", "¿"},
            {"x \u2208 A", "2D 00 18 11 00 20 01", "∈"}});
    test_support::ExpectOutputs(G2,
        {{"\u00A1", "18 30 16", "¡"}, {"\u2200", "18 01", "∀"}, {"\u2260", "10 36 08 31", "≠"},
            {"\u0141", "20 08 21 07", "Ł: capital of ł"},
            {"\u04D4", "20 01 20 18 16 11", "Ӕ: an uppercase row takes the capital sign"}});
}

TEST(EnglishUebSymbols, OwnTablesWinAndBlanksStay) {
    test_support::ExpectOutputs(G1,
        {{"a\u2014b", "01 20 24 03", "em dash from the translator's own table"},
            {"\u00BD", "3C 01 0C 03", "fraction from the fraction table"},
            {"a\tb", "01 00 03", "a control character is still a blank"}, {"a\u00A0b", "01 00 03", "no-break space"}});
}

TEST(EnglishUebSymbols, UnknownCharacterIsOneVisibleSign) {
    // The first transcriber-defined print symbol, 08 28, once per character.
    EXPECT_EQ(G1("\uE000"), "08 28");  // private use
    EXPECT_EQ(G1("a\U0001F600b"), "01 08 28 03");  // a surrogate pair is one character
    EXPECT_EQ(G2("\U0001F600\U0001F600"), "08 28 08 28");
    EXPECT_EQ(G1("\u2764\uFE0F"), "08 28");  // the variation selector adds nothing
    EXPECT_EQ(G1("5\uE0005"), "3C 11 08 28 3C 11");  // and it ends the number
    // A lone surrogate half is one unknown character too.
    kotari::g_settings = kotari::EngineSettings{};
    char16_t text[] = {u'x', 0xD800, u'y', 0};
    std::vector<uint8_t> cells(kotari::kCellBufferSize, 0);
    cells.resize(kotari::TranslateEnglish(text, cells.data()));
    EXPECT_EQ(Hex(cells), "30 2D 08 28 30 3D");  // x and y standing alone get the grade 1 sign
}

TEST(EnglishUebSymbols, TableIsSortedForBisection) {
    using namespace kotari::english;
    for (int i = 1; i < kUebSymbolCount; ++i) ASSERT_LT(kUebSymbols[i - 1].ch, kUebSymbols[i].ch);
    EXPECT_EQ(kotari::FindSorted(kUebSymbols, kUebSymbolCount, u'\u2013')->count, 2);
    EXPECT_EQ(kotari::FindSorted(kUebSymbols, kUebSymbolCount, u'\uE000'), nullptr);
}
