// Japanese translator: the symbol and prefix tables of the cell rules, the
// pronunciation and tsunagi rules on single tokens, and the analysis passes
// for abbreviations, expressions, hash tags, months and foreign words.
#include <gtest/gtest.h>

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

// The pronunciation of one MeCab line after the pronunciation rules.
std::string Pronounced(const char *line) {
    MorphToken t = Token(line);
    AdjustPronounce(t);
    return t.pro;
}

TEST(JapaneseTables, PunctuationAfterItsNeighbours) {
    test_support::ExpectOutputs(Emit,
        {{"ア！イ", "01 16 00 03", "one blank after ！ and ？"}, {"ア？イ", "01 22 00 03"},
            {"ア？！イ", "01 22 16 00 03", "a group of marks is set off once"},
            {"ア！？", "01 16 22", "no blanks between two marks"}, {"ア？)", "01 22 36", "none before )"},
            {"カ・キ", "21 10 00 23"}, {"ア，イ", "01 30 00 03", "a full-width comma in Japanese text is a touten"},
            {"x，y", "30 2D 02 30 3D", "between letters it is the comma"}, {"「ア、」", "24 01 30 24"}});
}

TEST(JapaneseTables, AsciiSymbolsAndTheirSurroundings) {
    test_support::ExpectOutputs(Emit,
        {{"(a)(b)", "36 01 36 00 36 03 36", "one blank between ) and ("},
            {"a)b", "30 01 36 00 03", "a blank after ) before a letter"}, {"a&b", "30 01 00 30 2F 00 03"},
            {"it's", "30 0A 1E 04 0E"}, {"1<2", "3C 01 14 14 00 3C 03", "a blank before the number sign after <"},
            {"1/2", "3C 01 0C 03", "no number sign after /"}, {"a~", "30 01 10 09"}});
}

TEST(JapaneseTables, FullWidthSymbolsUnitsAndMusic) {
    test_support::ExpectOutputs(Emit,
        {{"Ⅳ", "30 20 20 0A 27", "Roman numeral of two letters: double capital"}, {"Ⅰ", "30 20 0A"}, {"ⅸ", "30 0A 2D"},
            {"℃", "30 19 20 09"}, {"ア→イ", "01 00 12 12 15 03"}, {"ア＃", "01 30 29"}, {"ア＊", "01 00 30 06"},
            {"『カ』", "30 24 21 24 06"}, {"㎡", "30 0D 23"},
            {"㍉", "00", "other unit signs of the block are one blank"}, {"x²", "30 2D 23"}, {"\u03BC", "30 08 0D"},
            {"\u00B5", "30 08 0D", "the micro sign like µ"}});
    EXPECT_EQ(Emit("\xF0\x9D\x80\x80\xF0\x9D\x85\x9F\xF0\x9D\x89\x85"), "20 04 10 39 23 05")
        << "music start, a quarter note, music end at the end of the text";
    EXPECT_EQ(Emit("ゐゑ"), "06 16");
    EXPECT_EQ(Emit("ヵヶヷ"), "") << "these kana write nothing";
}

TEST(JapanesePronunciation, RulesOnSingleTokens) {
    test_support::ExpectOutputs(Pronounced,
        {{"お姉さん\t名詞,一般,*,*,*,*,お姉さん,オネエサン,オネーサン", "オネエサン", "e-row with エ"},
            {"兄さん\t名詞,一般,*,*,*,*,兄さん,ニイサン,ニーサン", "ニイサン", "i-row with イ"},
            {"経営\t名詞,サ変接続,*,*,*,*,経営,ケイエイ,ケーエー", "ケイエイ",
                "every e-row long vowel written with イ"},
            {"東京\t名詞,固有名詞,地域,一般,*,*,東京,トウキョウ,トーキョー", "トーキョー"},
            {"でしょう\t助動詞,*,*,*,特殊・デス,未然ウ接続,です,デショウ,デショー", "デショー", "only content words"},
            {"続く\t動詞,自立,*,*,五段・カ行イ音便,基本形,続く,ツヅク,ツズク", "ツヅク", "douon renko at the start"},
            {"三日月\t名詞,一般,*,*,*,*,三日月,ミカヅキ,ミカズキ", "ミカヅキ", "nigo no rendaku"}});
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
    test_support::ExpectOutputs(Stream,
        {{"1+2", "1+2", "one operator alone is no expression"}, {"7月", "7ガツ"},
            {"10km", "10km", "a unit word is not quoted"}, {"let's go", "\x02let's go\x03"},
            {"新北海道", "シン ホッカイドー", "a prefix stands apart from a name"},
            {"全世界", "ゼンセカイ", "and joins a common word"}, {"このまま", "コノママ"}, {"この本", "コノ ホン"},
            {"お茶", "オチャ"}, {"もっと三回", "モット 3カイ", "a number after an adverb stands apart"}});
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
    test_support::ExpectOutputs(Emit,
        {{"（ア（イ）ウ）", "36 01 30 36 03 36 06 09 36", "round brackets inside round brackets"},
            {"（ア）（イ）", "36 01 36 00 36 03 36", "side by side they stay first brackets"},
            {"‘カ’", "10 36 21 36 02", "single quotes are not lost"}, {"〝カ〟", "10 36 21 36 02"},
            {"｛カ｝", "10 36 21 36 02"}, {"■▲", "20 33 06 20 31 06", "filled shapes"},
            {"カ＠キ", "21 00 30 2A 00 23", "a full-width at sign is set off"}, {"＠カ", "30 2A 00 21"},
            {"カァ", "21 01", "a small vowel with no pair is the full-size vowel"},
            {"カゃ", "21", "other small kana with no pair write nothing"},
            {"ア★", "01 00 30 2E 06", "the black star, set off like the other star signs"},
            {"７，５００", "3C 1B 04 11 1A 1A", "a comma inside a number is the digit-group mark"},
            {"９－１", "3C 0A 24 3C 01", "the full-width hyphen-minus is not lost"},
            {"x.7", "30 2D 32 3C 1B", "after a word the point is no decimal point: new number"},
            {"2.7", "3C 03 02 1B"},
            {"x@12", "30 2D 2A 3C 01 03", "after another symbol the digits take the number sign"},
            {"1,5", "3C 01 04 11", "but a digit group goes on"},
            {"\xE2\xA0\x81\xE2\xA0\xBF\xE2\xA1\x80", "01 3F 40", "braille patterns pass through"}});
}

TEST(JapaneseAnalysisPasses, WordDivisionOfCompoundsAndPrefixes) {
    test_support::ExpectOutputs(Stream,
        {{"旧校舎", "キュー コーシャ", "a one-kanji prefix of this kind stands apart"}, {"前会長", "ゼン カイチョー"},
            {"全世界", "ゼンセカイ", "other prefixes join"},
            {"重さ加減", "オモサ カゲン", "a suffix counts with the part before it"},
            {"乗用車燃費", "ジョーヨーシャ ネンピ", "two nouns of two morae or more"},
            {"交通安全", "コーツー アンゼン", "a compound the dictionary lists whole is divided"},
            {"優柔不断", "ユージュー フダン"},
            {"温故知新", "オンコ チシン", "a four-kanji phrase whose halves are no words alone"},
            {"半信半疑", "ハンシン ハンギ"}, {"言葉遊び", "コトバ アソビ", "kanji and kana: two parts of three morae"},
            {"気に障る", "キニ サワル", "a verb the dictionary lists whole with a particle inside"},
            {"持ってくる", "モッテ クル", "an auxiliary verb after て"},
            {"名残惜しい", "ナゴリ オシイ", "a noun and an adjective"},
            {"思い出す", "オモイダス", "a compound verb stays whole"}, {"見つける", "ミツケル"},
            {"図書館", "トショカン", "a part of one kanji stays joined"},
            {"田中 紳太郎", "タナカ シンタロー", "a name is divided once, family from given name"},
            {"関西国際空港", "カンサイ コクサイ クーコー", "a place name ending in common words"},
            {"名古屋城公園", "ナゴヤジョー コーエン"}, {"京都駅", "キョートエキ", "a last word of two morae joins"},
            {"仲間々", "ナカマ ナカマ", "a word of three morae repeated by 々"},
            {"村々", "ムラムラ", "a shorter one joins"},
            {"こういう話", "コー イウ ハナシ", "いう is written イウ and stands apart"}, {"と言う", "ト イウ"},
            {"書かずして", "カカズシテ", "して after ず joins"},
            {"7パーセント", "7パーセント", "a unit is not cut as a katakana compound"},
            {"チームメート", "チーム メート", "a part the dictionary lists only as a name still counts"},
            {"ホテルグラッセ", "ホテル グラッセ", "an unknown word beside a known one"},
            {"楽じゃない", "ラクジャ ナイ", "ない after a particle stands apart"},
            {"静かでございます", "シズカデ ゴザイマス", "ございます stands apart"},
            {"鈴木一郎訳", "スズキ イチロー ヤク", "the work of a named person stands apart"},
            {"田中談", "タナカ ダン", "so do the words of one"},
            {"佐藤絵", "サトー エ", "also where the dictionary has a noun, not a suffix"},
            {"思うて", "オモーテ", "u-euphony before て is a long vowel"},
            {"思うでしょう", "オモウデショー", "a plain form before でしょう is no euphony"}});
    EXPECT_EQ(Stream("dir/7/9/x").find("ブンノ"), std::string::npos) << "a slash inside a path is no fraction";
    test_support::ExpectOutputs(Stream,
        {{"ヰスキー", "イスキー", "ヰ ヱ ヂ ヅ of loanwords are written イ エ ジ ズ"}, {"ヂーゼル", "ジーゼル"},
            {"チヂミ", "チヂミ", "but a repeated チ keeps ヂ"},
            {"ねえ～", "ネエー", "a wave dash after a kana draws the vowel out"}, {"だよ～。", "ダヨー。"}});
    EXPECT_NE(Stream("東京～大阪").find("～"), std::string::npos) << "between words it stays a dash";
}

TEST(JapaneseAnalysisPasses, KanjiNumeralsInsideWords) {
    EXPECT_EQ(Emit(Stream("四輪車")), "3C 19 24 13 34 08 31") << "a numeral that counts is a digit inside a word";
    test_support::ExpectOutputs(Stream,
        {{"三月", "3ガツ", "a month"}, {"一長一短", "1チョー 1タン", "two counted words in one phrase, ッ absorbed"},
            {"一般", "イッパン", "no number sense left"}, {"一応", "イチオー", "an adverb stays kana"},
            {"二つ", "フタツ", "a native reading stays kana"},
            {"十字路", "ジュージロ", "a numeral drawing a shape stays kana"}});
    EXPECT_EQ(Emit("4リンシャ"), "3C 19 24 13 34 08 31") << "tsunagi between a digit and a ラ-row kana";
}

TEST(JapaneseAnalysisPasses, NumbersWithANativeReading) {
    test_support::ExpectOutputs(Stream,
        {{"八日", "ヨーカ", "days of the month are read natively and written in kana"}, {"十日", "トオカ"},
            {"二十日", "ハツカ"}, {"９日まで", "ココノカマデ", "also when written in digits"},
            {"十二日", "12ニチ", "other days keep the digits"}});
    EXPECT_EQ(Stream("24日"), std::to_string(24) + "カ") << "ニジューヨッカ: the digits, then カ";
    test_support::ExpectOutputs(Stream,
        {{"五、六日", "5、6ニチ", "a span of days is read as written"},
            {"七月一日", "7ガツ ツイタチ", "the first after a month"},
            {"1日に2回", "1ニチニ 2カイ", "but one day as a length of time"},
            {"一人で", "ヒトリデ", "one and two people"}, {"五人", "5ニン"},
            {"六杯", "6パイ", "a ハ-row counter after a geminate number is said with パ"},
            {"８本", "８ポン", "full-width digits stay as written"}, {"20匹", "20ピキ"},
            {"五本", "5ホン", "other numbers leave it"}});
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

}  // namespace
