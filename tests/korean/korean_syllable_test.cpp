// Hangul syllables, abbreviations, the separator, compatibility jamo, Hanja
// readings and Roman numerals.
#include <string>

#include "korean_test_util.h"
#include "lang/korean/korean_tables.h"

using korean_test::K;
using korean_test::KPlain;

TEST(KoreanSyllable, SecondSetAbbreviations) {
    test_support::ExpectOutputs(KPlain,
        {{"가", "2B"}, {"한", "1A 12", "하 and the final ㄴ"}, {"판", "19 12"}, {"나무", "09 11 0D"},
            {"땅", "20 0A 36"},
            // Before ㅇ the bare consonant would join the next vowel: 나 stays in full.
            {"나아", "09 23 23"}, {"따오", "20 0A 23 25"},
            // 가 and 사 keep their abbreviations, which are no consonants.
            {"가위", "2B 0D 17"}, {"사이", "07 15"},
            // 팠 in full: 19 0C would read as 폐.
            {"팠", "19 23 0C"},
            // After a digit and a hyphen.
            {"1-나", "3C 01 24 09 23"}});
}

TEST(KoreanSyllable, WordAbbreviationsOnlyAtWordStart) {
    test_support::ExpectOutputs(KPlain,
        {{"그리고", "01 25"}, {"그래서", "01 0E"}, {"그러나", "01 09"}, {"그러면", "01 12"}, {"그런데", "01 1D"},
            {"그러므로", "01 22"}, {"그리하여", "01 31"}, {"그리고는", "01 25 09 35"}, {"가 그리고", "2B 00 01 25"},
            // Inside a word the syllables are written one by one.
            {"가그리고", "2B 08 2A 10 15 08 25"}});
}

TEST(KoreanSyllable, FirstSetAndVowelFinalAbbreviations) {
    test_support::ExpectOutputs(KPlain,
        {{"것", "38 0E"}, {"껏", "20 38 0E"}, {"껐", "20 08 0E 0C"}, {"까", "20 2B"}, {"깎", "20 2B 01 01"},
            {"쌀", "20 07 02"}, {"성 썽 정 쩡 청", "20 3B 00 20 20 3B 00 28 3B 00 20 28 3B 00 30 3B"},
            // With the 영 abbreviation these would read as 성 썽 정 쩡 청.
            {"셩 쎵 졍 쪙 쳥", "20 31 36 00 20 20 31 36 00 28 31 36 00 20 28 31 36 00 30 31 36"}});
    EXPECT_EQ(K("억 언 얼 연 열 영 옥 온 옹 운 울 은 을 인"),
        "39 00 3E 00 1E 00 21 00 33 00 3B 00 2D 00 37 00 3F 00 1B 00 2F 00 35 00 2E 00 1F");
    test_support::ExpectOutputs(KPlain, {{"글", "08 2E"},
                                            // A double or cluster final: its second cell follows the abbreviation.
                                            {"늙", "09 2E 01"}, {"얹", "3E 05"}, {"볶", "18 2D 01"},
                                            // No abbreviation applies: written jamo by jamo.
                                            {"뷁", "18 0F 17 02 01"}, {"앉", "23 12 05"}, {"국", "08 0D 01"}});
}

TEST(KoreanSyllable, SeparatorBeforeYeAndAe) {
    test_support::ExpectOutputs(KPlain,
        {{"서예", "20 0E 24 0C"}, {"뭐예요", "11 0F 24 0C 2C"}, {"국예", "08 0D 01 0C", "after a final: no separator"},
            {"우애", "0D 24 17"}, {"과애", "08 27 24 17"}, {"아애", "23 17", "ㅏ is not one of ㅑ ㅘ ㅜ ㅝ"},
            {"예", "0C"}});
}

TEST(KoreanSyllable, CompatibilityJamo) {
    test_support::ExpectOutputs(KPlain, {{"ㄱ", "3F 01"}, {"ㄸ", "3F 14 14"}, {"ㅆ", "3F 04 04"}, {"ㄳ", "3F 01 04"},
                                            {"ㅎ", "3F 34"}, {"ㅏ", "3F 23"}, {"ㅙ", "3F 27 17"},
                                            // A jamo is no syllable: a word abbreviation may follow it.
                                            {"ㄱ그리고", "3F 01 01 25"}});
}

TEST(KoreanSyllable, HanjaBecomeTheirReadings) {
    EXPECT_EQ(K("水"), "11 2F 00 20 0D");  // 물 수
    EXPECT_EQ(K("水"), K("물 수"));
    EXPECT_EQ(K("山水"), K("뫼 산물 수"));
    EXPECT_EQ(K("九"), K("아홉 구"));
    // A character outside the table is an unknown character: a blank.
    EXPECT_EQ(K("가丂나"), "2B 00 09");
}

TEST(KoreanSyllable, HanjaTableIsSortedAndUsable) {
    using namespace kotari::korean;
    ASSERT_GE(kHanjaReadingCount, 2000);
    for (int i = 0; i < kHanjaReadingCount; ++i) {
        const HanjaReading &r = kHanjaReadings[i];
        if (i > 0) {
            ASSERT_LT(kHanjaReadings[i - 1].ch, r.ch);
        }
        ASSERT_GE(r.length, 1);
        ASSERT_LE(r.length, kMaxHanjaReading);
        for (int k = 0; k < r.length; ++k)
            ASSERT_TRUE(r.reading[k] == u' ' || (r.reading[k] >= 0xAC00 && r.reading[k] <= 0xD7A3))
                << "U+" << std::hex << int(r.ch);
        // The reading ends with the character's sound, a syllable.
        ASSERT_NE(r.reading[r.length - 1], u' ');
    }
}

TEST(KoreanSyllable, RomanNumeralsAreSpelledOut) {
    EXPECT_EQ(K("Ⅲ"), K("III"));
    EXPECT_EQ(K("제Ⅱ장"), K("제II장"));
    EXPECT_EQ(K("ⅻ"), K("xii"));
}
