// Japanese translator: the symbol and prefix tables of the cell rules, the
// pronunciation and tsunagi rules on single tokens, and the analysis passes
// for abbreviations, expressions, hash tags, months and foreign words.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/engine.h"
#include "lang/japanese/jp_internal.h"
#include "test_support.h"

namespace {

using test_support::Hex;
using namespace kotari::jp;

std::string Emit(const std::string &stream) {
    g_diagnostics = false;
    std::vector<uint8_t> cells(kMaxCells, 0);
    int n = EmitCells(stream.c_str(), static_cast<int>(stream.size()), cells.data(), kMaxCells);
    cells.resize(static_cast<size_t>(n));
    return Hex(cells);
}

std::string Stream(const std::string &utf8) {
    g_diagnostics = false;
    char stream[kStreamBytes];
    jpanalyzer(utf8.c_str(), stream, kStreamBytes);
    return stream;
}

MorphToken Token(const char *line) {
    g_diagnostics = false;
    MorphToken t;
    EXPECT_TRUE(ParseMecabLine(line, &t)) << line;
    return t;
}

TEST(JapaneseTables, PunctuationAfterItsNeighbours) {
    EXPECT_EQ(Emit("ア！イ"), "01 16 00 03") << "one blank after ！ and ？";
    EXPECT_EQ(Emit("ア？イ"), "01 22 00 03");
    EXPECT_EQ(Emit("ア？！イ"), "01 22 16 00 03") << "a group of marks is set off once";
    EXPECT_EQ(Emit("ア！？"), "01 16 22") << "no blanks between two marks";
    EXPECT_EQ(Emit("ア？)"), "01 22 36") << "none before )";
    EXPECT_EQ(Emit("カ・キ"), "21 10 00 23");
    EXPECT_EQ(Emit("ア，イ"), "01 30 00 03") << "a full-width comma in Japanese text is a touten";
    EXPECT_EQ(Emit("x，y"), "30 2D 02 30 3D") << "between letters it is the comma";
    EXPECT_EQ(Emit("「ア、」"), "24 01 30 24");
}

TEST(JapaneseTables, AsciiSymbolsAndTheirSurroundings) {
    EXPECT_EQ(Emit("(a)(b)"), "36 01 36 00 36 03 36") << "one blank between ) and (";
    EXPECT_EQ(Emit("a)b"), "30 01 36 00 03") << "a blank after ) before a letter";
    EXPECT_EQ(Emit("a&b"), "30 01 00 30 2F 00 03");
    EXPECT_EQ(Emit("it's"), "30 0A 1E 04 0E");
    EXPECT_EQ(Emit("1<2"), "3C 01 14 14 00 3C 03") << "a blank before the number sign after <";
    EXPECT_EQ(Emit("1/2"), "3C 01 0C 03") << "no number sign after /";
    EXPECT_EQ(Emit("a~"), "30 01 10 09");
}

TEST(JapaneseTables, FullWidthSymbolsUnitsAndMusic) {
    EXPECT_EQ(Emit("Ⅳ"), "30 20 20 0A 27") << "Roman numeral of two letters: double capital";
    EXPECT_EQ(Emit("Ⅰ"), "30 20 0A");
    EXPECT_EQ(Emit("ⅸ"), "30 0A 2D");
    EXPECT_EQ(Emit("℃"), "30 19 20 09");
    EXPECT_EQ(Emit("ア→イ"), "01 00 12 12 15 03");
    EXPECT_EQ(Emit("ア＃"), "01 30 29");
    EXPECT_EQ(Emit("ア＊"), "01 00 30 06");
    EXPECT_EQ(Emit("『カ』"), "30 24 21 24 06");
    EXPECT_EQ(Emit("㎡"), "30 0D 23");
    EXPECT_EQ(Emit("㍉"), "00") << "other unit signs of the block are one blank";
    EXPECT_EQ(Emit("x²"), "30 2D 23");
    EXPECT_EQ(Emit("\u03BC"), "30 08 0D");
    EXPECT_EQ(Emit("\u00B5"), "30 08 0D") << "the micro sign like µ";
    EXPECT_EQ(Emit("\xF0\x9D\x80\x80\xF0\x9D\x85\x9F\xF0\x9D\x89\x85"), "20 04 10 39 23 05")
        << "music start, a quarter note, music end at the end of the text";
    EXPECT_EQ(Emit("ゐゑ"), "06 16");
    EXPECT_EQ(Emit("ヵヶヷ"), "") << "these kana write nothing";
}

TEST(JapanesePronunciation, RulesOnSingleTokens) {
    MorphToken t = Token("お姉さん\t名詞,一般,*,*,*,*,お姉さん,オネエサン,オネーサン");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "オネエサン") << "e-row with エ";
    t = Token("兄さん\t名詞,一般,*,*,*,*,兄さん,ニイサン,ニーサン");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "ニイサン") << "i-row with イ";
    t = Token("経営\t名詞,サ変接続,*,*,*,*,経営,ケイエイ,ケーエー");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "ケイエイ") << "every e-row long vowel written with イ";
    t = Token("東京\t名詞,固有名詞,地域,一般,*,*,東京,トウキョウ,トーキョー");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "トーキョー");
    t = Token("でしょう\t助動詞,*,*,*,特殊・デス,未然ウ接続,です,デショウ,デショー");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "デショー") << "only content words";
    t = Token("続く\t動詞,自立,*,*,五段・カ行イ音便,基本形,続く,ツヅク,ツズク");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "ツヅク") << "douon renko at the start";
    t = Token("三日月\t名詞,一般,*,*,*,*,三日月,ミカヅキ,ミカズキ");
    AdjustPronounce(t);
    EXPECT_STREQ(t.pro, "ミカヅキ") << "nigo no rendaku";
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
    EXPECT_EQ(Stream("J.F.K."), "JFK") << "capitals with periods";
    EXPECT_EQ(Stream("Ｊ・Ｏ・Ｃ"), "ＪＯＣ") << "full-width capitals with nakaten";
    EXPECT_EQ(Stream("1+2=3"),
        "\x01"
        "1+2=3")
        << "an expression opens with its sign";
    EXPECT_EQ(Stream("1+2"), "1+2") << "one operator alone is no expression";
    EXPECT_EQ(Stream("7月"), "7ガツ");
    EXPECT_EQ(Stream("10km"), "10km") << "a unit word is not quoted";
    EXPECT_EQ(Stream("let's go"), "\x02let's go\x03");
    EXPECT_EQ(Stream("新北海道"), "シン ホッカイドー") << "a prefix stands apart from a name";
    EXPECT_EQ(Stream("全世界"), "ゼンセカイ") << "and joins a common word";
    EXPECT_EQ(Stream("このまま"), "コノママ");
    EXPECT_EQ(Stream("この本"), "コノ ホン");
    EXPECT_EQ(Stream("お茶"), "オチャ");
    EXPECT_EQ(Stream("もっと三回"), "モット 3カイ") << "a number after an adverb stands apart";
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
    EXPECT_EQ(Emit("（ア（イ）ウ）"), "36 01 30 36 03 36 06 09 36") << "round brackets inside round brackets";
    EXPECT_EQ(Emit("（ア）（イ）"), "36 01 36 00 36 03 36") << "side by side they stay first brackets";
    EXPECT_EQ(Emit("‘カ’"), "10 36 21 36 02") << "single quotes are not lost";
    EXPECT_EQ(Emit("〝カ〟"), "10 36 21 36 02");
    EXPECT_EQ(Emit("｛カ｝"), "10 36 21 36 02");
    EXPECT_EQ(Emit("■▲"), "20 33 06 20 31 06") << "filled shapes";
    EXPECT_EQ(Emit("カ＠キ"), "21 00 30 2A 00 23") << "a full-width at sign is set off";
    EXPECT_EQ(Emit("＠カ"), "30 2A 00 21");
    EXPECT_EQ(Emit("カァ"), "21 01") << "a small vowel with no pair is the full-size vowel";
    EXPECT_EQ(Emit("カゃ"), "21") << "other small kana with no pair write nothing";
    EXPECT_EQ(Emit("ア★"), "01 00 30 2E 06") << "the black star, set off like the other star signs";
    EXPECT_EQ(Emit("７，５００"), "3C 1B 04 11 1A 1A") << "a comma inside a number is the digit-group mark";
    EXPECT_EQ(Emit("９－１"), "3C 0A 24 3C 01") << "the full-width hyphen-minus is not lost";
    EXPECT_EQ(Emit("x.7"), "30 2D 32 3C 1B") << "after a word the point is no decimal point: new number";
    EXPECT_EQ(Emit("2.7"), "3C 03 02 1B");
    EXPECT_EQ(Emit("x@12"), "30 2D 2A 3C 01 03") << "after another symbol the digits take the number sign";
    EXPECT_EQ(Emit("1,5"), "3C 01 04 11") << "but a digit group goes on";
    EXPECT_EQ(Emit("\xE2\xA0\x81\xE2\xA0\xBF\xE2\xA1\x80"), "01 3F 40") << "braille patterns pass through";
}

TEST(JapaneseAnalysisPasses, WordDivisionOfCompoundsAndPrefixes) {
    EXPECT_EQ(Stream("旧校舎"), "キュー コーシャ") << "a one-kanji prefix of this kind stands apart";
    EXPECT_EQ(Stream("前会長"), "ゼン カイチョー");
    EXPECT_EQ(Stream("全世界"), "ゼンセカイ") << "other prefixes join";
    EXPECT_EQ(Stream("重さ加減"), "オモサ カゲン") << "a suffix counts with the part before it";
    EXPECT_EQ(Stream("乗用車燃費"), "ジョーヨーシャ ネンピ") << "two nouns of two morae or more";
    EXPECT_EQ(Stream("交通安全"), "コーツー アンゼン") << "a compound the dictionary lists whole is divided";
    EXPECT_EQ(Stream("優柔不断"), "ユージュー フダン");
    EXPECT_EQ(Stream("温故知新"), "オンコ チシン") << "a four-kanji phrase whose halves are no words alone";
    EXPECT_EQ(Stream("半信半疑"), "ハンシン ハンギ");
    EXPECT_EQ(Stream("言葉遊び"), "コトバ アソビ") << "kanji and kana: two parts of three morae";
    EXPECT_EQ(Stream("気に障る"), "キニ サワル") << "a verb the dictionary lists whole with a particle inside";
    EXPECT_EQ(Stream("持ってくる"), "モッテ クル") << "an auxiliary verb after て";
    EXPECT_EQ(Stream("名残惜しい"), "ナゴリ オシイ") << "a noun and an adjective";
    EXPECT_EQ(Stream("思い出す"), "オモイダス") << "a compound verb stays whole";
    EXPECT_EQ(Stream("見つける"), "ミツケル");
    EXPECT_EQ(Stream("図書館"), "トショカン") << "a part of one kanji stays joined";
    EXPECT_EQ(Stream("田中 紳太郎"), "タナカ シンタロー") << "a name is divided once, family from given name";
    EXPECT_EQ(Stream("関西国際空港"), "カンサイ コクサイ クーコー") << "a place name ending in common words";
    EXPECT_EQ(Stream("名古屋城公園"), "ナゴヤジョー コーエン");
    EXPECT_EQ(Stream("京都駅"), "キョートエキ") << "a last word of two morae joins";
    EXPECT_EQ(Stream("仲間々"), "ナカマ ナカマ") << "a word of three morae repeated by 々";
    EXPECT_EQ(Stream("村々"), "ムラムラ") << "a shorter one joins";
    EXPECT_EQ(Stream("こういう話"), "コー イウ ハナシ") << "いう is written イウ and stands apart";
    EXPECT_EQ(Stream("と言う"), "ト イウ");
    EXPECT_EQ(Stream("書かずして"), "カカズシテ") << "して after ず joins";
    EXPECT_EQ(Stream("7パーセント"), "7パーセント") << "a unit is not cut as a katakana compound";
    EXPECT_EQ(Stream("チームメート"), "チーム メート") << "a part the dictionary lists only as a name still counts";
    EXPECT_EQ(Stream("ホテルグラッセ"), "ホテル グラッセ") << "an unknown word beside a known one";
    EXPECT_EQ(Stream("楽じゃない"), "ラクジャ ナイ") << "ない after a particle stands apart";
    EXPECT_EQ(Stream("静かでございます"), "シズカデ ゴザイマス") << "ございます stands apart";
    EXPECT_EQ(Stream("鈴木一郎訳"), "スズキ イチロー ヤク") << "the work of a named person stands apart";
    EXPECT_EQ(Stream("田中談"), "タナカ ダン") << "so do the words of one";
    EXPECT_EQ(Stream("佐藤絵"), "サトー エ") << "also where the dictionary has a noun, not a suffix";
    EXPECT_EQ(Stream("思うて"), "オモーテ") << "u-euphony before て is a long vowel";
    EXPECT_EQ(Stream("思うでしょう"), "オモウデショー") << "a plain form before でしょう is no euphony";
    EXPECT_EQ(Stream("dir/7/9/x").find("ブンノ"), std::string::npos) << "a slash inside a path is no fraction";
    EXPECT_EQ(Stream("ヰスキー"), "イスキー") << "ヰ ヱ ヂ ヅ of loanwords are written イ エ ジ ズ";
    EXPECT_EQ(Stream("ヂーゼル"), "ジーゼル");
    EXPECT_EQ(Stream("チヂミ"), "チヂミ") << "but a repeated チ keeps ヂ";
    EXPECT_EQ(Stream("ねえ～"), "ネエー") << "a wave dash after a kana draws the vowel out";
    EXPECT_EQ(Stream("だよ～。"), "ダヨー。");
    EXPECT_NE(Stream("東京～大阪").find("～"), std::string::npos) << "between words it stays a dash";
}

TEST(JapaneseAnalysisPasses, KanjiNumeralsInsideWords) {
    EXPECT_EQ(Emit(Stream("四輪車")), "3C 19 24 13 34 08 31") << "a numeral that counts is a digit inside a word";
    EXPECT_EQ(Stream("三月"), "3ガツ") << "a month";
    EXPECT_EQ(Stream("一長一短"), "1チョー 1タン") << "two counted words in one phrase, ッ absorbed";
    EXPECT_EQ(Stream("一般"), "イッパン") << "no number sense left";
    EXPECT_EQ(Stream("一応"), "イチオー") << "an adverb stays kana";
    EXPECT_EQ(Stream("二つ"), "フタツ") << "a native reading stays kana";
    EXPECT_EQ(Stream("十字路"), "ジュージロ") << "a numeral drawing a shape stays kana";
    EXPECT_EQ(Emit("4リンシャ"), "3C 19 24 13 34 08 31") << "tsunagi between a digit and a ラ-row kana";
}

TEST(JapaneseAnalysisPasses, NumbersWithANativeReading) {
    EXPECT_EQ(Stream("八日"), "ヨーカ") << "days of the month are read natively and written in kana";
    EXPECT_EQ(Stream("十日"), "トオカ");
    EXPECT_EQ(Stream("二十日"), "ハツカ");
    EXPECT_EQ(Stream("９日まで"), "ココノカマデ") << "also when written in digits";
    EXPECT_EQ(Stream("十二日"), "12ニチ") << "other days keep the digits";
    EXPECT_EQ(Stream("24日"), std::to_string(24) + "カ") << "ニジューヨッカ: the digits, then カ";
    EXPECT_EQ(Stream("五、六日"), "5、6ニチ") << "a span of days is read as written";
    EXPECT_EQ(Stream("七月一日"), "7ガツ ツイタチ") << "the first after a month";
    EXPECT_EQ(Stream("1日に2回"), "1ニチニ 2カイ") << "but one day as a length of time";
    EXPECT_EQ(Stream("一人で"), "ヒトリデ") << "one and two people";
    EXPECT_EQ(Stream("五人"), "5ニン");
    EXPECT_EQ(Stream("六杯"), "6パイ") << "a ハ-row counter after a geminate number is said with パ";
    EXPECT_EQ(Stream("８本"), "８ポン") << "full-width digits stay as written";
    EXPECT_EQ(Stream("20匹"), "20ピキ");
    EXPECT_EQ(Stream("五本"), "5ホン") << "other numbers leave it";
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

// Marks that would otherwise write nothing become the kana they stand for.
TEST(JapaneseNormalise, KanaMarksJoinAndIterationMarksRepeat) {
    const struct {
        const char *in, *out;
    } cases[] = {
        {"か゛ハ゜う゛ウ゛", "がパゔヴ"}, {"か\u3099ほ\u309A", "がぽ"},  // combining marks
        {"ヱ゛ヷヺ", "ヴェヴァヴォ"}, {"づゝふゞイスヽがゝ", "づつふぶイススがか"},
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
