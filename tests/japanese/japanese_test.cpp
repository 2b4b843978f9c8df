// Japanese translator: normalisation, the analysis (spaces, pronunciation,
// fractions, tsunagi, addresses, token limits), the kana cell rules and the
// fixed buffers, each from the rules of Japanese braille as this engine
// implements them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/engine.h"
#include "japanese/japanese_cases.h"
#include "lang/japanese/jp_internal.h"
#include "test_support.h"

namespace {

using test_support::Hex;
using namespace kotari::jp;
using namespace japanese_test;

// Diagnostics off for the suite; the test that checks them turns them on.
class Quiet : public testing::Environment {
public:
    void SetUp() override { g_diagnostics = false; }
};
const auto *const kQuiet = testing::AddGlobalTestEnvironment(new Quiet);

bool HasThreeBlanks(const std::vector<uint8_t> &c) {
    for (size_t i = 2; i < c.size(); ++i)
        if (c[i] == 0 && c[i - 1] == 0 && c[i - 2] == 0) return true;
    return false;
}

TEST(JapaneseKana, YouonAndSpecialSoundsTakeBackThePreviousKana) {
    CheckCases("JapaneseKana.YouonAndSpecialSoundsTakeBackThePreviousKana");
}

TEST(JapaneseKana, PunctuationLettersAndDigits) { CheckCases("JapaneseKana.PunctuationLettersAndDigits"); }

TEST(JapaneseKana, SpacesNeverMakeThreeBlanks) {
    CheckCases("JapaneseKana.SpacesNeverMakeThreeBlanks");
    EXPECT_FALSE(HasThreeBlanks(Cells("はい。 いいえ。   そうです。")));
}

TEST(JapaneseNormalise, HalfWidthKanaBecomeFullWidth) {
    char out[kTextBytes];
    ConvertHankakuKana2Zenkaku("ｶﾞﾊﾟｳﾞﾁﾏﾓﾜﾝｯｰ｢ｱ｣", out, kTextBytes);
    EXPECT_STREQ(out, "ガパヴチマモワンッー「ア」");
    ConvertHankakuKana2Zenkaku("ｱﾞﾏﾟ", out, kTextBytes);
    EXPECT_STREQ(out, "ア゛マ゜") << "a mark after a kana that cannot take it stands alone";
    EXPECT_EQ(H("ｶﾞｷﾞ"), H("ガギ"));
    EXPECT_EQ(H("ﾃﾞｨｽｸ"), H("ディスク"));
}

TEST(JapaneseNormalise, TabIsOneBlankAndTextIsCutAtACharacter) {
    CheckCases("JapaneseNormalise.TabIsOneBlankAndTextIsCutAtACharacter");
    char text[kTextBytes] = "a\tb";
    EXPECT_EQ(TabsToZenSpace(text, kTextBytes), 5);
    EXPECT_STREQ(text,
        "a\xE3\x80\x80"
        "b");
    // 400 kanji are 1200 UTF-8 bytes: the buffer keeps 341 whole characters.
    std::u16string many(400, u'漢');
    char utf8[kTextBytes];
    EXPECT_EQ(Utf16ToUtf8(many.c_str(), utf8, kTextBytes), 1023);
    std::u16string lone =
        u"ab\xD800"
        u"cd";
    EXPECT_EQ(Utf16ToUtf8(lone.c_str(), utf8, kTextBytes), 2) << "a lone surrogate stops the conversion";
    // A tab that no longer fits ends the text rather than overflowing it.
    std::string full(1022, 'a');
    full += '\t';
    std::memcpy(text, full.c_str(), full.size() + 1);
    EXPECT_LE(TabsToZenSpace(text, kTextBytes), 1023);
}

TEST(JapaneseAnalysis, InputSpacesAreRestoredAndCollapsed) {
    CheckCases("JapaneseAnalysis.InputSpacesAreRestoredAndCollapsed");
    EXPECT_EQ(H("猫    犬"), H("猫 犬"));
}

TEST(JapaneseAnalysis, PronunciationFollowsTheKanaOrthography) {
    CheckCases("JapaneseAnalysis.PronunciationFollowsTheKanaOrthography");
}

TEST(JapaneseAnalysis, MissingPronunciationFallsBack) {
    MorphToken t;
    ASSERT_TRUE(ParseMecabLine("3\t名詞,数,*,*,*,*,*", &t));
    EXPECT_STREQ(t.pro, "3") << "fewer than seven fields: the surface";
    ASSERT_TRUE(ParseMecabLine("語\t名詞,一般,*,*,*,*,語,ゴ,*", &t));
    EXPECT_STREQ(t.pro, "ゴ") << "pronunciation * : the reading";
    ASSERT_TRUE(ParseMecabLine("Ωx\t名詞,一般,*,*,*,*,*,*,*", &t));
    EXPECT_STREQ(t.pro, "Ωx") << "both * : the surface";
    // A kanji in such a surface has no cell; it is read from the fallback table
    // (々 repeats the reading before it) and the result is cut at a character.
    ASSERT_TRUE(ParseMecabLine("語々x\t名詞,一般,*,*,*,*,語,*,*", &t));
    EXPECT_STREQ(t.pro, "ゴゴx");
    std::string many;
    for (int i = 0; i < 42; ++i) many += "章";  // three kana each: more than the field holds
    ASSERT_TRUE(ParseMecabLine((many + "\t名詞,一般,*,*,*,*,*").c_str(), &t));
    EXPECT_GT(std::strlen(t.pro), 200u);
    EXPECT_EQ(std::strlen(t.pro) % 3, 0u) << "cut inside a character";
    // Through the translator: words the dictionary lacks are still read out.
    for (const char *word : {"龘", "燚犇", "讀觸"}) {
        EXPECT_FALSE(Cells(word).empty()) << word;
        EXPECT_EQ(Stream(word).find_first_of("\xe4\xe5\xe6\xe7\xe8\xe9"), std::string::npos) << Stream(word);
    }
    EXPECT_FALSE(ParseMecabLine("EOS", &t));
    // Oversized fields stay inside the record.
    std::string line(3000, 'x');
    line += "\t" + std::string(100, 'p') + "," + std::string(100, 'q') + ",*,*,*," + std::string(100, 'c') + ",*," +
            std::string(600, 'r') + "," + std::string(600, 'o');
    ASSERT_TRUE(ParseMecabLine(line.c_str(), &t));
    EXPECT_LT(std::strlen(t.surface), sizeof t.surface);
    EXPECT_LT(std::strlen(t.pos), sizeof t.pos);
    EXPECT_LT(std::strlen(t.pro), sizeof t.pro);
}

TEST(JapaneseAnalysis, FractionsTsunagiAndAddresses) {
    CheckCases("JapaneseAnalysis.FractionsTsunagiAndAddresses");
    const auto cells = Hex(Cells("URLはhttp://example.comです"));
    EXPECT_NE(cells.find("20 26 13 1E 1E 0F"), std::string::npos) << cells;
    EXPECT_NE(cells.find("09 15 0D 20 34"), std::string::npos) << cells;
    const auto mail = Hex(Cells("連絡先はtaro@example.jpです"));
    EXPECT_NE(mail.find("20 26 1E 01 17 15 2A"), std::string::npos) << mail;
}

TEST(JapaneseAnalysis, WordDivision) { CheckCases("JapaneseAnalysis.WordDivision"); }

TEST(JapaneseAnalysis, LatinWordsAfterSpacesAndInQuotes) {
    const auto pen = Hex(Cells("日本製のpen"));
    EXPECT_NE(pen.find("00 30 0F 11 1D"), std::string::npos) << "a new foreign word after a space: " << pen;
    const auto phrase = Hex(Cells("sun roomらしい"));
    EXPECT_EQ(phrase.rfind("26 0E 25 1D 00 17 15 15 0D 34", 0), 0u) << "inside quotes no second sign: " << phrase;
}

TEST(JapaneseNumbers, DigitsAndNumberSigns) { CheckCases("JapaneseNumbers.DigitsAndNumberSigns"); }

TEST(JapaneseNumbers, KanjiNumeralsBecomeDigits) {
    CheckCases("JapaneseNumbers.KanjiNumeralsBecomeDigits");
    char out[512];
    MorphToken t[3];
    ParseMecabLine("九\t名詞,数,*,*,*,*,九,キュウ,キュー", &t[0]);
    ParseMecabLine("九\t名詞,数,*,*,*,*,九,キュウ,キュー", &t[1]);
    EXPECT_EQ(ConvertKanSuu(t, 0, 2, 5, out, 2), 1) << "the conversion stops at its buffer";
}

TEST(JapaneseMarks, AnnotationsStarsMaskedCharactersAndBoxes) {
    const auto note = H("注＊1を見よ");
    EXPECT_NE(note.find("30 3C 01 06"), std::string::npos) << "annotation sign, number, closing cell: " << note;
    EXPECT_EQ(H("*注意").rfind("14 14 00", 0), 0u) << "a lone asterisk opening the text is a star mark";
    EXPECT_EQ(H("○○").rfind("24 10 35 10 35", 0), 0u) << "masked characters";
    EXPECT_NE(H("次の□に入れよ").find("00 38 2D 2D 07"), std::string::npos) << "a blank box to fill in";
    CheckCases("JapaneseMarks.AnnotationsStarsMaskedCharactersAndBoxes");
    EXPECT_EQ(H("2*3").find("06"), std::string::npos) << "an asterisk between numbers is no annotation";
}

TEST(JapaneseLimits, MoreThanAHundredTokensStopAtTheHundredth) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "猫。";  // 120 tokens
    const auto cells = Cells(text);
    int cats = 0;
    for (size_t i = 0; i + 1 < cells.size(); ++i)
        if (cells[i] == 0x0F && cells[i + 1] == 0x2A) ++cats;
    EXPECT_EQ(cats, 50);
}

TEST(JapaneseLimits, HostileInputStaysInsideTheBuffers) {
    // Cells: 1023 ampersands would be 4092 cells; emission stops at 1024.
    std::string amp(1023, '&');
    std::vector<uint8_t> cells(kMaxCells + 64, 0xEE);
    int n = EmitCells(amp.c_str(), 1023, cells.data(), kMaxCells);
    EXPECT_LE(n, kMaxCells);
    for (size_t i = kMaxCells; i < cells.size(); ++i) ASSERT_EQ(cells[i], 0xEE);
    // The whole translator on long mixed input.
    std::u16string text;
    for (int i = 0; i < 2047; ++i) text += u"漢ｶ&ﾞ1aア\t　ー"[i % 10];
    std::vector<uint8_t> work(kotari::kCellBufferSize, 0);
    EXPECT_LE(kotari::TranslateJapanese(text.data(), work.data()), kMaxCells);
    for (size_t i = kMaxCells; i < work.size(); ++i) ASSERT_EQ(work[i], 0);
    // The stream never passes 1023 bytes.
    std::string ascii;
    for (int i = 0; i < 300; ++i) ascii += "ab ";
    char stream[kStreamBytes];
    EXPECT_LE(jpanalyzer(ascii.c_str(), stream, kStreamBytes), 1023);
}

TEST(JapaneseLetters, ClassesAndBlocks) {
    int len = 0;
    EXPECT_EQ(LetterType("ア", &len, true), KATAKANA);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(LetterType("ゞ", &len, true), NOT_DEFINED);
    EXPECT_EQ(LetterType("。", &len, true), KUTOUFU);
    EXPECT_EQ(LetterType("㎡", &len, true), TANI_KIGOU);
    EXPECT_EQ(LetterType("\xF0\x9D\x85\x9E", &len, true), ONGAKU_KIGOU);
    EXPECT_EQ(len, 4);
    EXPECT_EQ(LetterType("\xE3\x81", &len, true), NOT_DEFINED) << "a cut character";
    EXPECT_EQ(len, 1);
    StrBlock b[10];
    EXPECT_EQ(GetStrBlock("abcアイ１２", b), 3);
    EXPECT_EQ(GetStrBlock("aアaアaアaアaアaア", b), 10) << "at most ten runs";
}

TEST(JapaneseDiagnostics, OneSwitchAndNeverInTheCells) {
    const auto quiet = Cells("東京へ行きます。");
    g_diagnostics = true;
    testing::internal::CaptureStdout();
    const auto loud = Cells("東京へ行きます。");
    const std::string out = testing::internal::GetCapturedStdout();
    g_diagnostics = false;
    EXPECT_EQ(quiet, loud);
    EXPECT_NE(out.find("analysis ret:"), std::string::npos);
    EXPECT_NE(out.find("jpanalyzer making output"), std::string::npos);
}

TEST(JapaneseAnalyser, UnavailableGivesNoCellsAndOtherLanguagesWork) {
    const char *old = getenv("MECABRC");
    std::string saved = old ? old : "";
    setenv("MECABRC", "/nonexistent/velumi-mecabrc", 1);
    g_diagnostics = true;
    testing::internal::CaptureStderr();
    const auto cells = Cells("東京へ行きます。");
    const std::string err = testing::internal::GetCapturedStderr();
    g_diagnostics = false;
    EXPECT_TRUE(cells.empty());
    EXPECT_EQ(err.rfind("Exception:", 0), 0u) << err;
    // Through the export: one blank line, and English is unaffected.
    EXPECT_EQ(test_support::EngineCells(u"東京", 9, 20), std::vector<uint8_t>(20, 0));
    EXPECT_EQ(Hex(test_support::EngineCells(u"abc", 5, 4)), "01 03 09 00");
    if (old) setenv("MECABRC", saved.c_str(), 1);
    else unsetenv("MECABRC");
    EXPECT_FALSE(Cells("東京").empty());
}

}  // namespace
