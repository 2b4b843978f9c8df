// Constant tables of the Korean translator.
#include "lang/korean/korean_tables.h"

// Table data, laid out by hand or by its generator.
// clang-format off
namespace kotari {
namespace korean {

constexpr JamoCells kJamoCells[kJamoCount] = {
    // Initials 0-18: ㄱ ㄲ ㄴ ㄷ ㄸ ㄹ ㅁ ㅂ ㅃ ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ
    {1, {0x08}}, {2, {0x20, 0x08}}, {1, {0x09}}, {1, {0x0A}}, {2, {0x20, 0x0A}}, {1, {0x10}},
    {1, {0x11}}, {1, {0x18}}, {2, {0x20, 0x18}}, {1, {0x20}}, {2, {0x20, 0x20}}, {1, {0x1B}},
    {1, {0x28}}, {2, {0x20, 0x28}}, {1, {0x30}}, {1, {0x0B}}, {1, {0x13}}, {1, {0x19}}, {1, {0x1A}},
    // Vowels 19-39: ㅏ ㅐ ㅑ ㅒ ㅓ ㅔ ㅕ ㅖ ㅗ ㅘ ㅙ ㅚ ㅛ ㅜ ㅝ ㅞ ㅟ ㅠ ㅡ ㅢ ㅣ
    {1, {0x23}}, {1, {0x17}}, {1, {0x1C}}, {2, {0x1C, 0x17}}, {1, {0x0E}}, {1, {0x1D}}, {1, {0x31}},
    {1, {0x0C}}, {1, {0x25}}, {1, {0x27}}, {2, {0x27, 0x17}}, {1, {0x3D}}, {1, {0x2C}}, {1, {0x0D}},
    {1, {0x0F}}, {2, {0x0F, 0x17}}, {2, {0x0D, 0x17}}, {1, {0x29}}, {1, {0x2A}}, {1, {0x3A}}, {1, {0x15}},
    // Finals 40-67: none ㄱ ㄲ ㄳ ㄴ ㄵ ㄶ ㄷ ㄹ ㄺ ㄻ ㄼ ㄽ ㄾ ㄿ ㅀ ㅁ ㅂ ㅄ ㅅ ㅆ ㅇ ㅈ ㅊ ㅋ ㅌ ㅍ ㅎ
    {0, {0}}, {1, {0x01}}, {2, {0x01, 0x01}}, {2, {0x01, 0x04}}, {1, {0x12}}, {2, {0x12, 0x05}},
    {2, {0x12, 0x34}}, {1, {0x14}}, {1, {0x02}}, {2, {0x02, 0x01}}, {2, {0x02, 0x22}}, {2, {0x02, 0x03}},
    {2, {0x02, 0x04}}, {2, {0x02, 0x26}}, {2, {0x02, 0x32}}, {2, {0x02, 0x34}}, {1, {0x22}}, {1, {0x03}},
    {2, {0x03, 0x04}}, {1, {0x04}}, {1, {0x0C}}, {1, {0x36}}, {1, {0x05}}, {1, {0x06}}, {1, {0x16}},
    {1, {0x26}}, {1, {0x32}}, {1, {0x34}},
};

// Consonants take their final cells, doubled ones their single consonant's cell
// twice; vowels take their vowel cells.
constexpr JamoCells kCompatJamoCells[kCompatCount] = {
    // ㄱ ㄲ ㄳ ㄴ ㄵ ㄶ ㄷ ㄸ ㄹ ㄺ
    {1, {0x01}}, {2, {0x01, 0x01}}, {2, {0x01, 0x04}}, {1, {0x12}}, {2, {0x12, 0x05}},
    {2, {0x12, 0x34}}, {1, {0x14}}, {2, {0x14, 0x14}}, {1, {0x02}}, {2, {0x02, 0x01}},
    // ㄻ ㄼ ㄽ ㄾ ㄿ ㅀ ㅁ ㅂ ㅃ ㅄ
    {2, {0x02, 0x22}}, {2, {0x02, 0x03}}, {2, {0x02, 0x04}}, {2, {0x02, 0x26}}, {2, {0x02, 0x32}},
    {2, {0x02, 0x34}}, {1, {0x22}}, {1, {0x03}}, {2, {0x03, 0x03}}, {2, {0x03, 0x04}},
    // ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ
    {1, {0x04}}, {2, {0x04, 0x04}}, {1, {0x36}}, {1, {0x05}}, {2, {0x05, 0x05}},
    {1, {0x06}}, {1, {0x16}}, {1, {0x26}}, {1, {0x32}}, {1, {0x34}},
    // ㅏ ㅐ ㅑ ㅒ ㅓ ㅔ ㅕ ㅖ ㅗ ㅘ ㅙ ㅚ ㅛ ㅜ ㅝ ㅞ ㅟ ㅠ ㅡ ㅢ ㅣ
    {1, {0x23}}, {1, {0x17}}, {1, {0x1C}}, {2, {0x1C, 0x17}}, {1, {0x0E}}, {1, {0x1D}}, {1, {0x31}},
    {1, {0x0C}}, {1, {0x25}}, {1, {0x27}}, {2, {0x27, 0x17}}, {1, {0x3D}}, {1, {0x2C}}, {1, {0x0D}},
    {1, {0x0F}}, {2, {0x0F, 0x17}}, {2, {0x0D, 0x17}}, {1, {0x29}}, {1, {0x2A}}, {1, {0x3A}}, {1, {0x15}},
};

constexpr WordAbbreviation kWordAbbreviations[kWordAbbreviationCount] = {
    {u"그래서", 3, {0x01, 0x0E}},   {u"그러나", 3, {0x01, 0x09}},   {u"그러면", 3, {0x01, 0x12}},
    {u"그런데", 3, {0x01, 0x1D}},   {u"그리고", 3, {0x01, 0x25}},   {u"그러므로", 4, {0x01, 0x22}},
    {u"그리하여", 4, {0x01, 0x31}},
};

// Vowels: ㅓ 4, ㅕ 6, ㅗ 8, ㅜ 13, ㅡ 18, ㅣ 20. Finals: ㄱ-ㄳ 1-3, ㄴ-ㄶ 4-6,
// ㄹ and its clusters 8-15, ㅇ 21.
constexpr VowelFinalAbbreviation kVowelFinalAbbreviations[kVowelFinalCount] = {
    {4, 1, 3, 0x39},  {4, 4, 6, 0x3E},  {4, 8, 15, 0x1E},  {6, 4, 6, 0x21},  {6, 8, 15, 0x33},
    {6, 21, 21, 0x3B}, {8, 1, 3, 0x2D}, {8, 4, 6, 0x37},   {8, 21, 21, 0x3F}, {13, 4, 6, 0x1B},
    {13, 8, 15, 0x2F}, {18, 4, 6, 0x35}, {18, 8, 15, 0x2E}, {20, 4, 6, 0x1F},
};

constexpr PunctuationEntry kPunctuation[kPunctuationCount] = {
#include "korean_punctuation.inc"
};

constexpr PunctuationVariant kPunctuationVariants[kPunctuationVariantCount] = {
    {0xFF0E, 0},  // ．
    {0xFF01, 2},  // ！
    {0xFF0C, 3},  // ，
    {0x30FB, 4},  // ・
    {0x2022, 4},  // •
    {0xFF1A, 5},  // ：
    {0xFF1B, 6},  // ；
    {0xFF0F, 7},  // ／
    {0xFF08, 12},  // （
    {0x3014, 12},  // 〔
    {0xFF09, 13},  // ）
    {0x3015, 13},  // 〕
    {0xFF5B, 14},  // ｛
    {0xFF5D, 15},  // ｝
    {0xFF3B, 16},  // ［
    {0xFF3D, 17},  // ］
    {0x27EA, 19},  // ⟪
    {0x27EB, 21},  // ⟫
    {0xFF62, 22},  // ｢
    {0x27E8, 23},  // ⟨
    {0xFF63, 24},  // ｣
    {0x27E9, 25},  // ⟩
    {0xFF0D, 26},  // －
    {0x005F, 26},  // _
    {0x2014, 27},  // —
    {0x223C, 28},  // ∼
    {0xFF0A, 35},  // ＊
    {0x203B, 35},  // ※
    {0xFF07, 36},  // ＇
    {0xFFE6, 39},  // ￦
    {0xFFE0, 40},  // ￠
    {0xFF04, 41},  // ＄
    {0xFFE1, 42},  // ￡
    {0xFFE5, 43},  // ￥
    {0xFF0B, 45},  // ＋
    {0x2715, 47},  // ✕
    {0xFF1D, 49},  // ＝
    {0xFF1E, 51},  // ＞
    {0xFF1C, 53},  // ＜
    {0xFFEB, 59},  // ￫
    {0xFFE9, 60},  // ￩
    {0xFFEC, 62},  // ￬
    {0xFFEA, 63},  // ￪
    {0xFF05, 74},  // ％
    {0xFF20, 75},  // ＠
};

constexpr CircledNumber kCircledNumbers[kCircledLast - kCircledFirst + 1] = {
    {1, {0x02}},       {1, {0x06}},       {1, {0x12}},       {1, {0x32}},       {1, {0x22}},  // ①-⑤
    {1, {0x16}},       {1, {0x36}},       {1, {0x26}},       {1, {0x14}},       {2, {0x02, 0x34}},  // ⑥-⑩
    {2, {0x02, 0x02}}, {2, {0x02, 0x06}}, {2, {0x02, 0x12}}, {2, {0x02, 0x32}}, {2, {0x02, 0x22}},  // ⑪-⑮
    {2, {0x02, 0x16}}, {2, {0x02, 0x36}}, {2, {0x02, 0x26}}, {2, {0x02, 0x14}}, {2, {0x06, 0x34}},  // ⑯-⑳
};

// Every row is filled (a short initialiser would leave zero rows at the end).
static_assert(kJamoCells[kJamoCount - 1].cells[0] == 0x34, "jamo rows");
static_assert(kCompatJamoCells[kCompatCount - 1].cells[0] == 0x15, "compatibility jamo rows");
static_assert(kWordAbbreviations[kWordAbbreviationCount - 1].length == 4, "word abbreviation rows");
static_assert(kFirstRangeSet[kFirstRangeCount - 1].first == 0xCCAD, "first range set rows");
static_assert(kSecondRangeSet[kSecondRangeCount - 1].first == 0xC9DC, "second range set rows");
static_assert(kVowelFinalAbbreviations[kVowelFinalCount - 1].cell == 0x1F, "vowel-and-final rows");
static_assert(kRomanNumerals[kRomanNumeralCount - 1].ch == 0x217B, "Roman numeral rows");
static_assert(kPunctuation[kPunctuationCount - 1].ch == 0x0022, "punctuation rows");
static_assert(kPunctuationVariants[kPunctuationVariantCount - 1].ch == 0xFF20, "punctuation variant rows");
static_assert(kCircledNumbers[kCircledLast - kCircledFirst].count == 2, "circled number rows");

constexpr bool RangesWellFormed(const SyllableRange *rows, int n) {
    for (int i = 0; i < n; ++i)
        if (rows[i].first > rows[i].last || rows[i].count == 0) return false;
    return true;
}
static_assert(RangesWellFormed(kFirstRangeSet, kFirstRangeCount), "first range set");
static_assert(RangesWellFormed(kSecondRangeSet, kSecondRangeCount), "second range set");

}  // namespace korean
}  // namespace kotari
