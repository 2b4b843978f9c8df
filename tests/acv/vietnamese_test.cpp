// Vietnamese: both rule sets, with tone signs, capitals, digits and the
// 135-character list.
#include "acv_test_util.h"

namespace {

using acv_test::Vietnamese;

TEST(Vietnamese, CapitalisedWordStartsWith38) {
    for (int set : {1, 2}) {
        EXPECT_EQ(Vietnamese("VIỆT NAM", set).substr(0, 2), "38");
        EXPECT_EQ(Vietnamese("TP HCM", set), "38 1E 0F 00 38 13 09 0D");
        EXPECT_EQ(Vietnamese("Nam", set), "28 1D 01 0D") << "one capital takes 28";
        EXPECT_EQ(Vietnamese("ABc", set), "38 01 03 20 09") << "a small letter after capitals takes 20";
    }
    EXPECT_EQ(Vietnamese("VIỆT NAM", 1), "38 27 20 0A 23 1E 00 38 1D 01 0D");
}

TEST(Vietnamese, FirstSetPutsTheToneBeforeTheFirstVowel) {
    EXPECT_EQ(Vietnamese("Việt", 1), "28 27 20 0A 23 1E");
    EXPECT_EQ(Vietnamese("người", 1), "1D 1B 30 33 2A 0A");
    EXPECT_EQ(Vietnamese("hòa", 1), "13 30 15 01");
    EXPECT_EQ(Vietnamese("hoà", 1), "13 30 15 01");
    EXPECT_EQ(Vietnamese("quả", 1), "1F 25 22 01") << "the u of qu is no vowel of the rhyme";
    EXPECT_EQ(Vietnamese("giá", 1), "1B 0A 14 01") << "nor is the i of gi";
    EXPECT_EQ(Vietnamese("gì", 1), "1B 30 0A");
    EXPECT_EQ(Vietnamese("Ấn", 1), "28 14 21 1D") << "the tone follows the capital sign";
}

TEST(Vietnamese, SecondSetPutsTheToneBeforeTheVowelThatBearsIt) {
    EXPECT_EQ(Vietnamese("Việt", 2), "28 27 0A 20 23 1E");
    EXPECT_EQ(Vietnamese("người", 2), "1D 1B 33 30 2A 0A");
    EXPECT_EQ(Vietnamese("hòa", 2), "13 15 30 01") << "old and new spellings give the same braille";
    EXPECT_EQ(Vietnamese("hoà", 2), "13 15 30 01");
    EXPECT_EQ(Vietnamese("thủy", 2), Vietnamese("thuỷ", 2));
    EXPECT_EQ(Vietnamese("mùa", 2), "0D 30 25 01") << "two vowels without a final: the first";
    EXPECT_EQ(Vietnamese("khuya", 2), "05 13 25 3D 01");
    EXPECT_EQ(Vietnamese("quả", 2), "1F 25 22 01");
    EXPECT_EQ(Vietnamese("tuổi", 2), "1E 25 22 39 0A");
}

TEST(Vietnamese, DigitsPunctuationAndUnknownCharacters) {
    for (int set : {1, 2}) {
        EXPECT_EQ(Vietnamese("2024", set), "3C 03 1A 03 19");
        EXPECT_EQ(Vietnamese("1a", set), "3C 01 20 01") << "a letter that reads as a digit takes 20";
        EXPECT_EQ(Vietnamese("1k", set), "3C 01 05");
        EXPECT_EQ(Vietnamese("(a)", set), "08 23 01 08 1C");
        EXPECT_EQ(Vietnamese("a€b", set), "01 00 03") << "a character outside the list is a blank";
        EXPECT_EQ(Vietnamese("a\U0001F600b", set), "01 00 03") << "a surrogate pair is one character";
        EXPECT_EQ(Vietnamese("50%", set), "3C 11 1A 3C 1A 34");
        EXPECT_EQ(Vietnamese("“à”", set), "26 30 01 34");
    }
}

TEST(Vietnamese, AFullBufferEndsOnAWholeCharacter) {
    for (auto fn : {kotari::TranslateVietnamese1, kotari::TranslateVietnamese2}) {
        const auto cells = acv_test::Direct(fn, acv_test::Repeat("Người Việt ", 1000));
        EXPECT_GT(cells.size(), 6000u);
    }
}

}  // namespace
