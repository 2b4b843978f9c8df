// Japanese translator: the symbol and prefix tables of the cell rules, the
// pronunciation and tsunagi rules on single tokens, and the analysis passes
// for abbreviations, expressions, hash tags, months and foreign words.
#include <gtest/gtest.h>

#include <cstdio>
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

MorphToken Token(const char *line) {
    g_diagnostics = false;
    MorphToken t;
    EXPECT_TRUE(ParseMecabLine(line, &t)) << line;
    return t;
}

// The pronunciation of one MeCab line after the kana-orthography rules.
std::string Adjusted(const char *line) {
    MorphToken t = Token(line);
    AdjustPronounce(t);
    return t.pro;
}

TEST(JapaneseTables, PunctuationAfterItsNeighbours) { CheckCases("JapaneseTables.PunctuationAfterItsNeighbours"); }

TEST(JapaneseTables, AsciiSymbolsAndTheirSurroundings) {
    CheckCases("JapaneseTables.AsciiSymbolsAndTheirSurroundings");
}

TEST(JapaneseTables, FullWidthSymbolsUnitsAndMusic) {
    CheckCases("JapaneseTables.FullWidthSymbolsUnitsAndMusic");
    EXPECT_EQ(Emit("\xF0\x9D\x80\x80\xF0\x9D\x85\x9F\xF0\x9D\x89\x85"), "20 04 10 39 23 05")
        << "music start, a quarter note, music end at the end of the text";
}

TEST(JapanesePronunciation, RulesOnSingleTokens) {
    EXPECT_EQ(Adjusted("お姉さん\t名詞,一般,*,*,*,*,お姉さん,オネエサン,オネーサン"), "オネエサン") << "e-row with エ";
    EXPECT_EQ(Adjusted("兄さん\t名詞,一般,*,*,*,*,兄さん,ニイサン,ニーサン"), "ニイサン") << "i-row with イ";
    EXPECT_EQ(Adjusted("経営\t名詞,サ変接続,*,*,*,*,経営,ケイエイ,ケーエー"), "ケイエイ")
        << "every e-row long vowel written with イ";
    EXPECT_EQ(Adjusted("東京\t名詞,固有名詞,地域,一般,*,*,東京,トウキョウ,トーキョー"), "トーキョー");
    EXPECT_EQ(Adjusted("でしょう\t助動詞,*,*,*,特殊・デス,未然ウ接続,です,デショウ,デショー"), "デショー")
        << "only content words";
    EXPECT_EQ(Adjusted("続く\t動詞,自立,*,*,五段・カ行イ音便,基本形,続く,ツヅク,ツズク"), "ツヅク")
        << "douon renko at the start";
    EXPECT_EQ(Adjusted("三日月\t名詞,一般,*,*,*,*,三日月,ミカヅキ,ミカズキ"), "ミカヅキ") << "nigo no rendaku";
}

TEST(JapaneseTsunagi, NumbersAndLetters) {
    MorphToken three = Token("3\t名詞,数,*,*,*,*,*");
    MorphToken ri = Token("輪\t名詞,接尾,助数詞,*,*,*,輪,リン,リン");
    CheckTsunagi(three, ri);
    EXPECT_TRUE(ri.tsunagi) << "ra-row after a number";
    MorphToken kyaku = Token("脚\t名詞,接尾,助数詞,*,*,*,脚,キャク,キャク");
    CheckTsunagi(three, kyaku);
    EXPECT_FALSE(kyaku.tsunagi);
    MorphToken you = Token("億\t名詞,数,*,*,*,*,億,オク,オク");
    CheckTsunagi(three, you);
    EXPECT_TRUE(you.tsunagi);
    MorphToken a = Token("A\t名詞,一般,*,*,*,*,*");
    MorphToken gata = Token("型\t名詞,接尾,一般,*,*,*,型,ガタ,ガタ");
    CheckTsunagi(a, gata);
    EXPECT_TRUE(gata.tsunagi) << "a suffix written in kana after a letter";
}

TEST(JapaneseAnalysisPasses, AbbreviationsExpressionsTagsAndMonths) {
    CheckCases("JapaneseAnalysisPasses.AbbreviationsExpressionsTagsAndMonths");
    EXPECT_EQ(Stream("1+2=3"),
        "\x01"
        "1+2=3")
        << "an expression opens with its sign";
}

TEST(JapaneseAnalysisPasses, KatakanaNamesInPieces) {
    g_diagnostics = false;
    char stream[kStreamBytes];
    MorphToken t[2] = {Token("ラ・マンチャ\t名詞,固有名詞,地域,一般,*,*,ラ・マンチャ,ラ・マンチャ,ラ・マンチャ")};
    AnalyzeTokens("ラ・マンチャ", t, 1, stream, kStreamBytes);
    EXPECT_STREQ(stream, "ラ マンチャ") << "a nakaten inside a name is a space";
    t[0] = Token("東京タワー\t名詞,固有名詞,一般,*,*,*,東京タワー,トウキョウタワー,トーキョータワー");
    AnalyzeTokens("東京タワー", t, 1, stream, kStreamBytes);
    EXPECT_STREQ(stream, "トーキョー タワー") << "kanji and katakana parts of a name stand apart";
    t[0] = Token("テスト\t名詞,固有名詞,一般,*,*,*,テスト,テスト,テスト");
    t[1] = Token("＝\t名詞,固有名詞,一般,*,*,*,＝,＝,＝");
    AnalyzeTokens("テスト＝", t, 2, stream, kStreamBytes);
    EXPECT_STREQ(stream, "テスト ") << "an equals sign inside a katakana name is a space";
}

TEST(JapaneseTables, BracketsShapesAndBraillePatterns) {
    CheckCases("JapaneseTables.BracketsShapesAndBraillePatterns");
}

TEST(JapaneseAnalysisPasses, WordDivisionOfCompoundsAndPrefixes) {
    CheckCases("JapaneseAnalysisPasses.WordDivisionOfCompoundsAndPrefixes");
    EXPECT_EQ(Stream("dir/7/9/x").find("ブンノ"), std::string::npos) << "a slash inside a path is no fraction";
    EXPECT_NE(Stream("東京～大阪").find("～"), std::string::npos) << "between words it stays a dash";
}

TEST(JapaneseAnalysisPasses, KanjiNumeralsInsideWords) {
    EXPECT_EQ(Emit(Stream("四輪車")), "3C 19 24 13 34 08 31") << "a numeral that counts is a digit inside a word";
    CheckCases("JapaneseAnalysisPasses.KanjiNumeralsInsideWords");
}

TEST(JapaneseAnalysisPasses, NumbersWithANativeReading) {
    CheckCases("JapaneseAnalysisPasses.NumbersWithANativeReading");
    EXPECT_EQ(Stream("24日"), std::to_string(24) + "カ") << "ニジューヨッカ: the digits, then カ";
}

TEST(JapaneseAnalysisPasses, AddressesNeedAWholeAddress) {
    EXPECT_EQ(Stream("x@y").find('\x15'), std::string::npos) << "no domain: no address";
    EXPECT_NE(Stream("info@example.jp").find('\x15'), std::string::npos);
    EXPECT_EQ(Stream("info@example.jp").back(), '\x14');
    EXPECT_EQ(Stream("https://a.example").front(), '\x15');
}

TEST(JapaneseNormalise, SurrogatePairsAndVoicedWo) {
    std::u16string music = u"\xD834\xDD5F";
    char utf8[kTextBytes];
    EXPECT_EQ(Utf16ToUtf8(music.c_str(), utf8, kTextBytes), 4);
    EXPECT_STREQ(utf8, "\xF0\x9D\x85\x9F");
    char out[kTextBytes];
    ConvertHankakuKana2Zenkaku("ｦﾞﾜﾞ", out, kTextBytes);
    EXPECT_STREQ(out, "ヺヷ");
}

// Accented Latin letters keep their letter instead of vanishing; × and ÷ stay operators.
TEST(JapaneseNormalise, AccentedLatinLettersKeepTheirLetter) {
    char text[kTextBytes];
    std::snprintf(text, sizeof text, "%s", "naïve Æsop straße Łódź ×÷ ア");
    EXPECT_EQ(FoldLatinAccents(text), static_cast<int>(std::strlen("naive AEsop strasse Lodz ×÷ ア")));
    EXPECT_STREQ(text, "naive AEsop strasse Lodz ×÷ ア");
    EXPECT_EQ(H("Ångström café"), H("Angstrom cafe"));
}

// Marks that would otherwise write nothing become the kana they stand for.
TEST(JapaneseNormalise, KanaMarksJoinAndIterationMarksRepeat) {
    const struct {
        const char *in, *out;
    } cases[] = {
        {"か゛ハ゜う゛ウ゛", "がパゔヴ"}, {"か\u3099ほ\u309A", "がぽ"},  // combining marks
        {"ヰ゛ヷヺ", "ヴィヴァヴォ"}, {"すゝきたゞコヽロがゝ", "すすきただココロがか"},
        {"ゝa゛ん゛", "ゝa゛ん゛"},  // nothing to repeat, nothing to join
    };
    for (const auto &c : cases) {
        char text[kTextBytes];
        std::snprintf(text, sizeof text, "%s", c.in);
        ComposeKanaMarks(text, kTextBytes);
        EXPECT_STREQ(text, c.out) << c.in;
    }
    char small[8];
    std::snprintf(small, sizeof small, "%s", "ヷヷ");
    ComposeKanaMarks(small, sizeof small);
    EXPECT_STREQ(small, "ヴァ") << "cut at a whole character";
    EXPECT_EQ(test_support::EngineCells(u"ｦﾞ", 9, 0), test_support::EngineCells(u"ヴォ", 9, 0));
}

}  // namespace
