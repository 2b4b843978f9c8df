// Latin runs, numbers, punctuation, spaces and the line layout.
#include <string>

#include "KotariEngine.h"
#include "korean_test_util.h"

using korean_test::K;
using korean_test::KPlain;
using korean_test::Settings;

namespace {
Settings Width(int cells) {
    Settings st;
    st.lineCells = cells;
    return st;
}
Settings NoComputerText() {
    Settings st;
    st.computer = false;
    return st;
}
}  // namespace

TEST(KoreanLatin, RomanIndicatorsAroundALatinRun) {
    test_support::ExpectOutputs(KPlain,
        {{"한 ABC 가", "1A 12 00 34 20 20 01 03 09 32 00 2B"}, {"가abc나", "2B 34 01 03 09 32 09"},
            // Inside parentheses only the start indicator.
            {"(ABC)", "26 04 34 20 20 01 03 09 20 34"},
            // Before punctuation or a digit no end indicator.
            {"ABC?", "34 20 20 01 03 09 26"}, {"ABC3", "34 20 20 01 03 09 3C 09"},
            // Spaces and punctuation between Latin words stay in the run, which is

            // trimmed back to its last letter.
            {"a, b 가", "34 01 02 00 30 03 32 00 2B"}, {"a b, 가", "34 01 00 30 03 10 00 2B"}});
}

TEST(KoreanLatin, FirstWordOfARunIsSpelledOut) {
    // "but" would read as its wordsign; inside Korean text it is spelled out.
    EXPECT_EQ(K("but 가"), "34 03 25 1E 32 00 2B");
}

TEST(KoreanLatin, ComputerText) {
    // Marked: the address is a run of its own in computer-text indicators.
    EXPECT_EQ(K("www.ab.com에서"), "38 2C 3A 3A 3A 28 01 03 28 09 15 0D 38 31 1D 20 0E");
    EXPECT_EQ(K("see www.ab.com 가"), "34 0E 11 11 32 00 38 2C 3A 3A 3A 28 01 03 28 09 15 0D 38 31 00 2B");
    // Not marked: an ordinary Latin run.
    std::string plain = K("www.ab.com에서", NoComputerText());
    EXPECT_EQ(plain.substr(0, 2), "34");
    EXPECT_EQ(plain.substr(plain.size() - 11), "32 1D 20 0E");
    EXPECT_EQ(plain.find("38 2C"), std::string::npos);
}

TEST(KoreanLatin, AccentedAndGreekLettersJoinTheRun) {
    EXPECT_EQ(K("é가"), "34 18 0C 11 32 2B");
    EXPECT_EQ(K("α가"), "34 28 01 32 2B");
}

TEST(KoreanNumber, NumberSignAndContinuation) {
    test_support::ExpectOutputs(KPlain,
        {{"3,000", "3C 09 02 1A 1A 1A"}, {"3.5", "3C 09 32 11"}, {"12:30", "3C 01 03 10 02 09 1A"},
            {"010-1234", "3C 1A 01 1A 24 01 03 09 19"}, {"1 2", "3C 01 00 3C 03"},
            // A comma elsewhere is the Korean comma.
            {"가,나", "2B 10 09"}, {"3, 가", "3C 09 10 00 2B"}});
}

TEST(KoreanNumber, BlankBeforeASyllableThatReadsAsADigit) {
    test_support::ExpectOutputs(KPlain, {{"3년", "3C 09 00 09 21"}, {"5시", "3C 11 20 15"}, {"7운", "3C 1B 00 1B"},
                                            // 분 starts with ㅂ, which reads as no digit.
                                            {"30분", "3C 09 1A 18 1B"}, {"3개", "3C 09 08 17"}});
}

TEST(KoreanNumber, CircledNumbers) {
    test_support::ExpectOutputs(KPlain, {{"①", "3C 02"}, {"⑩", "3C 02 34"}, {"⑳", "3C 06 34"}, {"①②", "3C 02 3C 06"},
                                            // A digit after a circled number and a full stop continues it.
                                            {"①.5", "3C 02 32 11"}});
}

TEST(KoreanPunctuation, TableAndVariants) {
    test_support::ExpectOutputs(KPlain,
        {{"가.", "2B 32"}, {"가!", "2B 16"}, {"가·나", "2B 10 06 09"}, {"「가」", "10 26 2B 34 02"},
            {"（가）", "26 04 2B 20 34"}, {"！", "16"}, {"※", "14 14"}, {"㎠", "34 09 0D 18 3C 03"}});
}

TEST(KoreanPunctuation, SpecialRules) {
    test_support::ExpectOutputs(KPlain,
        {// The straight double quote alternates.
            {"\"가\" \"나\"", "26 2B 34 00 26 09 34"},
            // Operators: blanks towards Hangul only.
            {"가+나", "2B 00 22 00 09"}, {"3+4=7", "3C 09 22 3C 19 12 12 3C 1B"},
            // Currency before a digit drops its first cell.
            {"$5", "08 19 3C 11"}, {"$", "34 08 19"}, {"₩1,000", "08 3A 3C 01 02 1A 1A 1A"},
            // Shapes: 38 before a run of one shape, 07 after it.
            {"○○가", "38 34 34 07 2B"}, {"△□", "38 2C 07 38 36 07"},
            // Ellipses and full stops.
            {"……", "20 20 20"}, {"…⋯", "20 20 20"}, {".....", "32 32 32"},
            // Percent and degrees: a blank before Hangul.
            {"20%가", "3C 03 1A 34 0F 00 2B"}, {"20%.", "3C 03 1A 34 0F 32"}, {"30°다", "3C 09 1A 34 19 00 0A"}});
}

TEST(KoreanSpace, BlanksAndUnknownCharacters) {
    test_support::ExpectOutputs(KPlain, {{"가  나", "2B 00 09"}, {" 가", "00 2B"}, {"가\t나", "2B 00 09"},
                                            // A character outside the basic plane is one character: one blank.
                                            {"가\xF0\x9F\x98\x80나", "2B 00 09"}, {"", ""}});
}

TEST(KoreanLayout, SyllablesAreNeverSplit) {
    // 한글날 is one 6-cell word on 5-cell lines: 날 (09 02) moves whole.
    EXPECT_EQ(K("한글날", Width(5)), "1A 12 08 2E 00 09 02");
    // 가뷁 on 4-cell lines: 뷁 moves to the second line; longer than a line,
    // it then runs on.
    EXPECT_EQ(K("가뷁", Width(4)), "2B 00 00 00 18 0F 17 02 01");
    EXPECT_EQ(K("뷁", Width(2)), "18 0F 17 02 01");
    // Latin cells may be split anywhere.
    EXPECT_EQ(K("ABCD", Width(3)), "34 20 20 01 03 09 19 32");
}

TEST(KoreanLayout, WordWrapping) {
    EXPECT_EQ(K("한글 날개", Width(6)), "1A 12 08 2E 00 00 09 02 08 17");
    // A blank that would start a line is dropped; a leading blank is kept.
    EXPECT_EQ(K("한글 가", Width(4)), "1A 12 08 2E 2B");
    EXPECT_EQ(K(" 가", Width(4)), "00 2B");
    // A long word after an exactly filled line starts there, with no blank line.
    EXPECT_EQ(K("한글 한글날", Width(4)), "1A 12 08 2E 1A 12 08 2E 09 02");
    // Width 0 or less: one 6144-cell line.
    EXPECT_EQ(K("한글 날개", Width(-3)), "1A 12 08 2E 00 09 02 08 17");
}

TEST(KoreanLayout, ThroughTheExportOnlyPadded) {
    std::u16string text = korean_test::U16("한글날");
    text.push_back(0);
    TranslatorOptions o{};
    o.language = 10;
    o.englishGrade = 1;
    o.markComputerText = 1;
    o.lineCells = 5;
    std::vector<uint8_t> out(3 * kotari::kCellBufferSize, 0xEE);
    int n = BrailleTranslator(reinterpret_cast<uint16_t *>(&text[0]), out.data(), &o);
    ASSERT_EQ(n, 10);
    out.resize(n);
    EXPECT_EQ(korean_test::Hex(out), "1A 12 08 2E 00 09 02 00 00 00");
}
