// Letters, capitals, numbers, spaces and grade 1 indicators.
#include <gtest/gtest.h>

#include "english_helpers.h"

using namespace english_test;

TEST(EnglishLetters, SingleCapitalAndCapitalisedWordInBothGrades) {
    EXPECT_EQ(G1("A"), "20 01");
    EXPECT_EQ(G2("A"), "20 01");
    EXPECT_EQ(G1("AB"), "20 20 01 03");
    EXPECT_EQ(G2("AB"), "30 20 20 01 03");  // ab spells a shortform
    EXPECT_EQ(G2("abc"), "01 03 09");
    EXPECT_EQ(G1("Hi"), "20 13 0A");
}

TEST(EnglishLetters, CapitalTailOfMixedWordGetsWordIndicator) {
    EXPECT_EQ(G1("McDONALD"), "20 0D 09 20 20 19 15 1D 01 07 19");
    EXPECT_EQ(G1("McD"), "20 0D 09 20 19");  // one capital: a capital sign only
}

TEST(EnglishLetters, CapitalisedWordIsLowerCasedInTheCallersText) {
    std::u16string text;
    Cells("NASA x", {}, &text);
    EXPECT_EQ(text, u"nasa x");
}

TEST(EnglishLetters, LowerCaseInputFoldsTheCallersText) {
    Settings st;
    st.lowercase = true;
    std::u16string text;
    EXPECT_EQ(Hex(Cells("ABC", st, &text)), "01 03 09");
    EXPECT_EQ(text, u"abc");
    st.grade = 1;
    EXPECT_EQ(Hex(Cells("Hello World", st, &text)), "13 11 07 07 15 00 3A 15 17 07 19");
    EXPECT_EQ(text, u"hello world");
}

TEST(EnglishNumbers, NumberSignOnceAndLetterDigits) {
    test_support::ExpectOutputs(G2, {{"123", "3C 01 03 09"}, {"1 000", "3C 01 10 1A 1A 1A", "numeric space"},
                                        {"3.5", "3C 09 32 11"}, {"3,5", "3C 09 02 11"}, {"90", "3C 0A 1A"}});
}

TEST(EnglishNumbers, DecimalPointBeforeDigits) {
    EXPECT_EQ(G2(".5"), "3C 32 11");
    EXPECT_EQ(G2("x .5"), "30 2D 00 3C 32 11");
    EXPECT_EQ(G1("v.5"), "27 32 3C 11");  // after a letter the number sign follows the point
    EXPECT_EQ(G1("($.5)"), "10 23 08 0E 3C 32 11 10 1C");  // after a symbol too: never lost
}

TEST(EnglishNumbers, GradeOneSymbolIndicatorBeforeLettersAToK) {
    test_support::ExpectOutputs(G1,
        {{"1a", "3C 01 30 01"}, {"2k", "3C 03 30 05"}, {"1st", "3C 01 0E 1E", "s is no digit letter"},
            {"1B", "3C 01 20 03", "a capital ends the number"}, {"3.b", "3C 09 32 30 03"}});
    EXPECT_EQ(G2("4b"), "3C 19 30 03");  // one indicator, not two
}

TEST(EnglishSpaces, RunsCollapseAndLeadingBlankKept) {
    test_support::ExpectOutputs(G1, {{"a  b", "01 00 03"}, {" a", "00 01"}, {"  a", "00 01"}, {"a ", "01 00"},
                                        {"1 a", "3C 01 00 01", "a space ends the number"},
                                        {"a\tb", "01 00 03", "other characters write a blank"}});
}

TEST(EnglishGrade1Indicators, StandaloneLettersInGrade2) {
    test_support::ExpectOutputs(G2, {{"b", "30 03"}, {"a", "01"}, {"I", "20 0A"}, {"o", "15"}});
    EXPECT_EQ(G1("b"), "03");
    test_support::ExpectOutputs(G2,
        {{"x-ray", "30 2D 24 17 01 3D"}, {"don't", "19 15 1D 04 1E", "t after a letter and apostrophe"},
            {"I'm", "20 0A 04 0D"}, {"5\u00B0C", "3C 11 18 1A 20 09", "C after a degree sign"}});
}

TEST(EnglishGrade1Indicators, LetterSequencesThatSpellShortforms) {
    test_support::ExpectOutputs(G2, {{"ab", "30 01 03"}, {"(gd)", "10 23 30 1B 19 10 1C"}, {"xs.", "30 2D 0E 32"}});
    EXPECT_EQ(G1("ab"), "01 03");
    EXPECT_EQ(G2("abx"), "01 03 2D");
}

TEST(EnglishGrade1Indicators, SpacedLettersGetWordIndicator) {
    test_support::ExpectOutputs(G2,
        {{"b-l-i-n-d", "30 30 03 24 07 24 0A 24 1D 24 19"},
            {"b-l-i-n-d b", "30 30 03 24 07 24 0A 24 1D 24 19 00 30 03", "mode ends at the space"},
            {"a-b-c", "01 24 30 03 24 30 09", "starts with a: single-letter indicators only"}});
}
