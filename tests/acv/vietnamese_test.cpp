// Vietnamese: both rule sets, with tone signs, capitals, digits and the
// 135-character list.
#include "acv_test_util.h"

namespace {

using acv_test::Vietnamese;

TEST(Vietnamese, CapitalisedWordStartsWith38) {
    for (int set : {1, 2}) {
        EXPECT_EQ(Vietnamese("VIỆT NAM", set).substr(0, 2), "38");
        test_support::ExpectOutputs([set](const std::string &t) { return Vietnamese(t, set); },
            {{"TP HCM", "38 1E 0F 00 38 13 09 0D"}, {"Nam", "28 1D 01 0D", "one capital takes 28"},
                {"ABc", "38 01 03 20 09", "a small letter after capitals takes 20"}});
    }
    EXPECT_EQ(Vietnamese("VIỆT NAM", 1), "38 27 20 0A 23 1E 00 38 1D 01 0D");
}

TEST(Vietnamese, FirstSetPutsTheToneBeforeTheFirstVowel) {
    test_support::ExpectOutputs([](const std::string &t) { return Vietnamese(t, 1); },
        {{"Việt", "28 27 20 0A 23 1E"}, {"người", "1D 1B 30 33 2A 0A"}, {"hòa", "13 30 15 01"}, {"hoà", "13 30 15 01"},
            {"quả", "1F 25 22 01", "the u of qu is no vowel of the rhyme"},
            {"giá", "1B 0A 14 01", "nor is the i of gi"}, {"gì", "1B 30 0A"},
            {"Ấn", "28 14 21 1D", "the tone follows the capital sign"}});
}

TEST(Vietnamese, SecondSetPutsTheToneBeforeTheVowelThatBearsIt) {
    test_support::ExpectOutputs([](const std::string &t) { return Vietnamese(t, 2); },
        {{"Việt", "28 27 0A 20 23 1E"}, {"người", "1D 1B 33 30 2A 0A"},
            {"hòa", "13 15 30 01", "old and new spellings give the same braille"}, {"hoà", "13 15 30 01"}});
    EXPECT_EQ(Vietnamese("thủy", 2), Vietnamese("thuỷ", 2));
    test_support::ExpectOutputs([](const std::string &t) { return Vietnamese(t, 2); },
        {{"mùa", "0D 30 25 01", "two vowels without a final: the first"}, {"khuya", "05 13 25 3D 01"},
            {"quả", "1F 25 22 01"}, {"tuổi", "1E 25 22 39 0A"}});
}

TEST(Vietnamese, DigitsPunctuationAndUnknownCharacters) {
    for (int set : {1, 2}) {
        test_support::ExpectOutputs([set](const std::string &t) { return Vietnamese(t, set); },
            {{"2024", "3C 03 1A 03 19"}, {"1a", "3C 01 20 01", "a letter that reads as a digit takes 20"},
                {"1k", "3C 01 05"}, {"(a)", "08 23 01 08 1C"},
                {"a€b", "01 00 03", "a character outside the list is a blank"},
                {"a\U0001F600b", "01 00 03", "a surrogate pair is one character"}, {"50%", "3C 11 1A 3C 1A 34"},
                {"“à”", "26 30 01 34"}});
    }
}

TEST(Vietnamese, AFullBufferEndsOnAWholeCharacter) {
    for (auto fn : {kotari::TranslateVietnamese1, kotari::TranslateVietnamese2}) {
        const auto cells = acv_test::Direct(fn, acv_test::Repeat("Người Việt ", 1000));
        EXPECT_GT(cells.size(), 6000u);
    }
}

}  // namespace
