// Japanese translator: the cell rules (kana, youon and special sounds,
// letters, prefixes, punctuation, symbol tables, digits) and the emission loop
// that turns the intermediate stream into cells.
#include <cstdio>
#include <cstring>

#include "core/cell_writer.h"
#include "lang/japanese/jp_internal.h"

namespace kotari {
namespace jp {

namespace {

// ---- Kana ------------------------------------------------------------------

// Cells of the hiragana U+3041..U+3096: prefix (0, 0x10 voiced, 0x20
// semi-voiced) and base cell; base 0 writes nothing.
struct KanaCell {
    uint8_t prefix;
    uint8_t base;
};

constexpr uint8_t A = 0x01, I = 0x03, U = 0x09, E = 0x0B, O = 0x0A;
constexpr uint8_t K = 0x20, S = 0x30, T = 0x14, N = 0x04, H = 0x24, M = 0x34, R = 0x10;

// clang-format off
const KanaCell kKana[] = {
    {0, A}, {0, A}, {0, I}, {0, I}, {0, U}, {0, U}, {0, E}, {0, E}, {0, O}, {0, O},  // ぁ..お
    {0, K | A}, {0x10, K | A}, {0, K | I}, {0x10, K | I}, {0, K | U}, {0x10, K | U},  // か..ぐ
    {0, K | E}, {0x10, K | E}, {0, K | O}, {0x10, K | O},                              // け..ご
    {0, S | A}, {0x10, S | A}, {0, S | I}, {0x10, S | I}, {0, S | U}, {0x10, S | U},  // さ..ず
    {0, S | E}, {0x10, S | E}, {0, S | O}, {0x10, S | O},                              // せ..ぞ
    {0, T | A}, {0x10, T | A}, {0, T | I}, {0x10, T | I}, {0, 0x02},                   // た だ ち ぢ っ
    {0, T | U}, {0x10, T | U}, {0, T | E}, {0x10, T | E}, {0, T | O}, {0x10, T | O},  // つ..ど
    {0, N | A}, {0, N | I}, {0, N | U}, {0, N | E}, {0, N | O},                        // な..の
    {0, H | A}, {0x10, H | A}, {0x20, H | A}, {0, H | I}, {0x10, H | I}, {0x20, H | I},  // は..ぴ
    {0, H | U}, {0x10, H | U}, {0x20, H | U}, {0, H | E}, {0x10, H | E}, {0x20, H | E},  // ふ..ぺ
    {0, H | O}, {0x10, H | O}, {0x20, H | O},                                          // ほ ぼ ぽ
    {0, M | A}, {0, M | I}, {0, M | U}, {0, M | E}, {0, M | O},                        // ま..も
    {0, 0x0C}, {0, 0x0C}, {0, 0x2C}, {0, 0x2C}, {0, 0x1C}, {0, 0x1C},                 // ゃ や ゅ ゆ ょ よ
    {0, R | A}, {0, R | I}, {0, R | U}, {0, R | E}, {0, R | O},                        // ら..ろ
    {0, 0x04}, {0, 0x04}, {0, 0x06}, {0, 0x16}, {0, 0x14}, {0, 0x34},                  // ゎ わ ゐ ゑ を ん
    {0x10, U}, {0, 0}, {0, 0},                                                         // ゔ ゕ ゖ
};
// clang-format on

// Katakana to the hiragana of the same sound; other code points unchanged.
uint32_t ToHira(uint32_t cp) {
    if (cp >= 0x30A1 && cp <= 0x30F6) return cp - 0x60;
    return cp;
}

bool IsSmallVowelOrY(uint32_t h) {
    return h == 0x3041 || h == 0x3043 || h == 0x3045 || h == 0x3047 || h == 0x3049 || h == 0x3083 || h == 0x3085 ||
           h == 0x3087;
}

// Special sounds: previous kana (hiragana), small kana, two cells.
struct Pair {
    char16_t prev;
    char16_t small;
    uint8_t c1;
    uint8_t c2;
};

// clang-format off
const Pair kPairs[] = {
    // Special sounds (the youon of i-row kana follow the rule in YouonCells).
    {u'て', u'ゅ', 0x28, 0x1D}, {u'で', u'ゅ', 0x38, 0x1D}, {u'ふ', u'ゅ', 0x28, 0x2C}, {u'ゔ', u'ゅ', 0x38, 0x2C},
    {u'ふ', u'ょ', 0x28, 0x1C}, {u'ゔ', u'ょ', 0x38, 0x1C}, {u'く', u'ぁ', 0x22, 0x21}, {u'ぐ', u'ぁ', 0x32, 0x21},
    {u'つ', u'ぁ', 0x22, 0x15}, {u'ふ', u'ぁ', 0x22, 0x25}, {u'ゔ', u'ぁ', 0x32, 0x25}, {u'う', u'ぃ', 0x22, 0x03},
    {u'ふ', u'ぃ', 0x22, 0x27}, {u'い', u'ぃ', 0x22, 0x27}, {u'ゔ', u'ぃ', 0x32, 0x27}, {u'く', u'ぃ', 0x22, 0x23},
    {u'ぐ', u'ぃ', 0x32, 0x23}, {u'す', u'ぃ', 0x08, 0x33}, {u'ず', u'ぃ', 0x18, 0x33}, {u'つ', u'ぃ', 0x22, 0x17},
    {u'て', u'ぃ', 0x08, 0x17}, {u'で', u'ぃ', 0x18, 0x17}, {u'と', u'ぅ', 0x22, 0x1D}, {u'ど', u'ぅ', 0x32, 0x1D},
    {u'う', u'ぇ', 0x22, 0x0B}, {u'く', u'ぇ', 0x22, 0x2B}, {u'ぐ', u'ぇ', 0x32, 0x2B}, {u'つ', u'ぇ', 0x22, 0x1F},
    {u'ふ', u'ぇ', 0x22, 0x2F}, {u'ゔ', u'ぇ', 0x32, 0x2F}, {u'う', u'ぉ', 0x22, 0x0A}, {u'く', u'ぉ', 0x22, 0x2A},
    {u'ぐ', u'ぉ', 0x32, 0x2A}, {u'つ', u'ぉ', 0x22, 0x1E}, {u'ふ', u'ぉ', 0x22, 0x2E}, {u'ゔ', u'ぉ', 0x32, 0x2E},
    {u'う', u'ぁ', 0x22, 0x01},
};
// clang-format on

// Youon: an i-row kana with ゃ ゅ ょ, or with ぇ, is written as the youon sign
// (voiced or semi-voiced like the kana) and the kana's consonant with the small
// kana's vowel: きゃ 08 21, ぎょ 18 2A, ぴゅ 28 2D, しぇ 08 3B. False for other pairs.
bool YouonCells(uint32_t prev, uint32_t small, uint8_t *out) {
    constexpr uint8_t kVowelDots = 0x0B, kConsonantDots = 0x34;
    uint8_t vowel = small == u'ゃ' ? A : small == u'ゅ' ? U : small == u'ょ' ? O : small == u'ぇ' ? E : 0;
    if (!vowel || prev < 0x3041 || prev > 0x3096 || prev == u'ぃ') return false;
    const KanaCell &k = kKana[prev - 0x3041];
    if ((k.base & kVowelDots) != I || (vowel != E && !(k.base & kConsonantDots))) return false;
    out[0] = static_cast<uint8_t>(0x08 | k.prefix);
    out[1] = static_cast<uint8_t>((k.base & kConsonantDots) | vowel);
    return true;
}

// Start of the character before index in s (index > 0).
int PrevCharStart(const char *s, int index) {
    int p = index - 1;
    while (p > 0 && (static_cast<unsigned char>(s[p]) & 0xC0) == 0x80 && index - p < 4) --p;
    return p;
}

int KanaOf(uint32_t hira, uint8_t *out) {
    if (hira < 0x3041 || hira > 0x3096) return 0;
    const KanaCell &k = kKana[hira - 0x3041];
    if (k.base == 0) return 0;
    int n = 0;
    if (k.prefix) out[n++] = k.prefix;
    out[n++] = k.base;
    return n;
}

bool IsClosingBracket(uint32_t c) {
    return c == 0xFF09 || c == 0xFF3D || c == 0x300D || c == 0x300F || c == 0x3015 || c == 0x201D || c == 0x2019 ||
           c == 0x301F || c == 0xFF5D;
}

bool IsOpeningBracket(uint32_t c) {
    return c == 0xFF08 || c == 0xFF3B || c == 0x300C || c == 0x300E || c == 0x3014 || c == 0x201C || c == 0x2018 ||
           c == 0x301D || c == 0xFF5B;
}

bool IsUpperRoman(uint32_t c) { return c >= 0x2160 && c <= 0x216B; }
bool IsLowerRoman(uint32_t c) { return c >= 0x2170 && c <= 0x217B; }

const char *const kRoman[] = {"i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix", "x", "xi", "xii"};

}  // namespace

// ---- Rule steps ---------------------------------------------------------------

int MakeHira(const char *stream, int index, JpLetter prevType, int *takeBack, uint8_t *out) {
    *takeBack = 0;
    int len = 0;
    uint32_t cp = DecodeAt(stream + index, &len);
    JP_LOG("MakeHira ind:%d,type:%d\n", index, static_cast<int>(prevType));
    if (cp == 0x30FC) {
        out[0] = 0x12;
        return 1;
    }
    if (cp >= 0x30F7 && cp <= 0x30FF) return 0;  // ヷ..ヺ and the iteration marks
    uint32_t h = ToHira(cp);
    if (h < 0x3041 || h > 0x3096) return 0;
    if (!IsSmallVowelOrY(h)) return KanaOf(h, out);

    uint32_t prev = 0;
    if (index > 0) {
        int plen = 0;
        prev = ToHira(DecodeAt(stream + PrevCharStart(stream, index), &plen));
    }
    bool prevKana = prev >= 0x3041 && prev <= 0x3096;
    if (!prevKana) {
        JP_LOG("single small %x %d\n", h, index);
        out[0] = kKana[h - 0x3041].base;
        return 1;
    }
    if (YouonCells(prev, h, out)) {
        uint8_t prevCells[2];
        *takeBack = KanaOf(prev, prevCells);
        return 2;
    }
    for (const Pair &p : kPairs) {
        if (p.prev == prev && p.small == h) {
            uint8_t prevCells[2];
            *takeBack = KanaOf(prev, prevCells);
            out[0] = p.c1;
            out[1] = p.c2;
            return 2;
        }
    }
    // A small vowel that forms no pair stands for a drawn-out vowel (ヤッタァ): it is
    // written as the full-size vowel rather than lost. Other small kana write nothing.
    if (h == 0x3041 || h == 0x3043 || h == 0x3045 || h == 0x3047 || h == 0x3049) return KanaOf(h + 1, out);
    return 0;
}

uint8_t LetterCell(uint32_t cp) {
    static const uint8_t kAlpha[26] = {0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
        0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35};
    if (cp >= 'A' && cp <= 'Z') return kAlpha[cp - 'A'];
    if (cp >= 'a' && cp <= 'z') return kAlpha[cp - 'a'];
    if (cp >= 0xFF21 && cp <= 0xFF3A) return kAlpha[cp - 0xFF21];
    if (cp >= 0xFF41 && cp <= 0xFF5A) return kAlpha[cp - 0xFF41];
    return 0;
}

int Suuji(uint32_t cp, uint8_t *out) {
    static const uint8_t kDigit[10] = {0x1A, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A};
    int d = -1;
    if (cp >= '0' && cp <= '9') d = static_cast<int>(cp - '0');
    if (cp >= 0xFF10 && cp <= 0xFF19) d = static_cast<int>(cp - 0xFF10);
    if (d < 0) return 0;
    JP_LOG("Suuji %02x\n", cp & 0xFF);
    out[0] = kDigit[d];
    return 1;
}

static bool IsCapital(JpLetter t) { return t == HANKAKU_OOMOJI || t == ZENKAKU_OOMOJI; }
static bool IsSmall(JpLetter t) { return t == HANKAKU_KOMOJI || t == ZENKAKU_KOMOJI; }

int MakePre(JpLetter prevType, const char *prevChar, JpLetter nowType, const char *now, uint8_t *out) {
    if (prevType == nowType) return 0;
    JP_LOG("MakePre prev:%x now:%x\n", prevType, nowType);
    int plen = 0;
    uint32_t prev = prevChar ? DecodeAt(prevChar, &plen) : 0;
    int n = 0;
    if (IsCapital(nowType)) {
        // A full-width capital after a full-width small letter continues the word, like half-width.
        if (prevType == CTRL_GAIKOKU || prevType == HANKAKU_KOMOJI ||
            (prevType == ZENKAKU_KOMOJI && nowType == ZENKAKU_OOMOJI)) {
            out[n++] = 0x20;
        } else if (prevType == HANKAKU_KIGOU && prev >= 0x21 && prev <= 0x2F) {
            out[n++] = 0x20;
        } else {
            out[n++] = 0x30;
            out[n++] = 0x20;
        }
        int clen = 0;
        DecodeAt(now, &clen);
        int nlen = 0;
        if (clen > 0 && IsCapital(LetterType(now + clen, &nlen, true))) out[n++] = 0x20;
        return n;
    }
    if (IsSmall(nowType)) {
        if (prevType == CTRL_SUUSHIKI || prevType == CTRL_GAIKOKU || prevType == CTRL_ADDRESS ||
            prevType == HANKAKU_KIGOU || prevType == HANKAKU_OOMOJI ||
            (prevType == ZENKAKU_OOMOJI && nowType == ZENKAKU_KOMOJI))
            return 0;
        out[n++] = 0x30;
        return n;
    }
    if (nowType == HANKAKU_SUUJI || nowType == ZENKAKU_SUUJI) {
        if (prevType == HANKAKU_KIGOU || prevType == ZENKAKU_KIGOU) {
            JP_LOG("prev KIGO prev:%02x\n", prev & 0xFF);
            if (prev == '<' || prev == '>') out[n++] = 0x00;
            if (prevType == ZENKAKU_KIGOU || std::strchr(" (*+-:;<=>?", static_cast<int>(prev)) != nullptr)
                out[n++] = 0x3C;
            return n;
        }
        if (prevType == KATAKANA) out[n++] = 0x00;
        out[n++] = 0x3C;
        return n;
    }
    if (nowType == HIRAGANA) {
        // A kana after a closing symbol is set off by a blank; the ideographic space is already one.
        if (prevType == ZENKAKU_KIGOU && !IsOpeningBracket(prev) && prev != 0x3000) out[n++] = 0x00;
        return n;
    }
    return 0;
}

int MakeKutoufu(const char *now, const char *next, uint8_t *out) {
    int len = 0;
    uint32_t c = DecodeAt(now, &len);
    int nlen = 0;
    uint32_t nx = next ? DecodeAt(next, &nlen) : 0;
    JpLetter ntype = nx ? LetterType(next, &nlen, true) : NOT_DEFINED;
    JP_LOG("MakeKutoufu nexttype %d %02x\n", static_cast<int>(ntype), nx & 0xFF);
    bool end = nx == 0;
    bool closing = IsClosingBracket(nx);
    int n = 0;
    switch (c) {
    case 0x3001:
        out[n++] = 0x30;
        if (!end && !closing) out[n++] = 0x00;
        break;
    case 0x3002:
        out[n++] = 0x32;
        if (!end && !closing) {
            JP_LOG("Kuten\n");
            out[n++] = 0x00;
            out[n++] = 0x00;
        }
        break;
    case 0x30FB:
        out[n++] = 0x10;
        if (!end) out[n++] = 0x00;
        break;
    case 0xFF01:
    case 0xFF1F:
        // One blank after ！ and ？ (Japanese braille punctuation); none inside a
        // group of marks (？！) or before a closing bracket.
        out[n++] = c == 0xFF01 ? 0x16 : 0x22;
        if (!end && !closing && ntype != KUTOUFU && nx != ')') out[n++] = 0x00;
        break;
    default: break;
    }
    return n;
}

int HankakuKigo(char c, bool decimalPoint, uint8_t *out) {
    struct Row {
        char c;
        uint8_t n;
        uint8_t cells[4];
    };
    // clang-format off
    static const Row kRows[] = {
        {' ', 1, {0x00}},       {'!', 1, {0x16}},       {'"', 2, {0x10, 0x34}}, {'#', 2, {0x30, 0x29}},
        {'$', 1, {0x39}},       {'%', 2, {0x30, 0x0F}}, {'&', 4, {0x00, 0x30, 0x2F, 0x00}},
        {'\'', 1, {0x04}},      {',', 1, {0x04}},       {'(', 1, {0x36}},       {')', 1, {0x36}},
        {'*', 2, {0x30, 0x21}}, {'+', 1, {0x22}},       {'?', 1, {0x22}},       {'-', 1, {0x24}},
        {'_', 1, {0x24}},       {'/', 1, {0x0C}},       {':', 2, {0x10, 0x02}}, {';', 1, {0x06}},
        {'<', 2, {0x14, 0x14}}, {'=', 2, {0x12, 0x12}}, {'>', 2, {0x22, 0x22}}, {'@', 1, {0x2A}},
        {'[', 1, {0x37}},       {'\\', 1, {0x2B}},      {']', 1, {0x3E}},       {'^', 1, {0x30}},
        {'`', 2, {0x20, 0x22}}, {'{', 1, {0x23}},       {'|', 2, {0x30, 0x33}}, {'}', 1, {0x1C}},
        {'~', 2, {0x10, 0x09}},
    };
    // clang-format on
    if (c == '.') {
        out[0] = decimalPoint ? 0x02 : 0x32;
        return 1;
    }
    for (const Row &r : kRows) {
        if (r.c == c) {
            std::memcpy(out, r.cells, r.n);
            return r.n;
        }
    }
    return 0;
}

int MakeHankakuKigoPre(const char *now, JpLetter prevType, const char *prevChar, const uint8_t *cellsBefore,
    int cellCount, uint8_t *out, int *after, uint8_t *afterCells) {
    JP_LOG("MakeHankakuKigoPre pretype%din\n", static_cast<int>(prevType));
    *after = 0;
    char c = now[0];
    int plen = 0;
    uint32_t prev = prevChar ? DecodeAt(prevChar, &plen) : 0;
    uint32_t next = static_cast<unsigned char>(now[1]);
    int nlen = 0;
    JpLetter ntype = next ? LetterType(now + 1, &nlen, true) : NOT_DEFINED;
    int n = 0;
    if (c == ' ' || c == '\t') {
        bool twoBlank = cellCount >= 2 && cellsBefore[cellCount - 1] == 0 && cellsBefore[cellCount - 2] == 0;
        if (twoBlank) return 0;
        out[n++] = 0x00;
        return n;
    }
    if (c == '(' && (prev == ')' || prev == 0xFF09)) {
        JP_LOG("MakeHankakuKigoPre added space out %d\n", n);
        out[n++] = 0x00;
    }
    if (c == '\'') {
        if (ntype == HANKAKU_SUUJI) {
            out[n++] = 0x3C;
            out[n++] = 0x04;
        } else if (next == ' ' || ntype == HANKAKU_KOMOJI) {
            out[n++] = 0x04;
        }
        return n;
    }
    bool digitBefore = prevType == HANKAKU_SUUJI || prevType == ZENKAKU_SUUJI;
    bool digitAfter = ntype == HANKAKU_SUUJI || ntype == ZENKAKU_SUUJI;
    n += HankakuKigo(c, c == '.' && digitBefore && digitAfter, out + n);
    if (c == '.' && next != 0) {
        bool ok = ntype == HANKAKU_OOMOJI || ntype == HANKAKU_KOMOJI || ntype == ZENKAKU_OOMOJI ||
                  ntype == ZENKAKU_KOMOJI || digitAfter || next == ' ' || next == 0x03;
        if (!ok) afterCells[(*after)++] = 0x00;
    }
    if (c == ')' && next != 0) {
        uint32_t ncp = DecodeAt(now + 1, &nlen);
        // Before ( the blank comes from the ( rule: one blank, not two.
        if (next != ' ' && next != '(' && ncp != 0xFF08 && !(ncp >= 0xC0 && ncp <= 0xFF))
            afterCells[(*after)++] = 0x00;
    }
    return n;
}

int ZenkakuKigo(uint32_t c, uint8_t *out) {
    struct Row {
        uint32_t c;
        uint8_t n;
        uint8_t cells[4];
    };
    // clang-format off
    static const Row kRows[] = {
        {0x3000, 1, {0x00}},       {0x300A, 1, {0x36}},       {0x300B, 1, {0x36}},
        {0x300C, 1, {0x24}},       {0x300D, 1, {0x24}},       {0x300E, 2, {0x30, 0x24}},
        {0x300F, 2, {0x24, 0x06}}, {0x3014, 2, {0x30, 0x36}}, {0xFF5F, 2, {0x30, 0x36}},
        {0x3015, 2, {0x36, 0x06}}, {0xFF60, 2, {0x36, 0x06}}, {0x301C, 2, {0x24, 0x24}},
        {0xFF5E, 2, {0x24, 0x24}}, {0xFF03, 1, {0x29}},       {0xFF05, 1, {0x0F}},
        {0xFF06, 2, {0x2F, 0x00}}, {0xFF08, 1, {0x36}},       {0xFF09, 1, {0x36}},
        {0xFF0A, 1, {0x06}},       {0xFF0B, 1, {0x22}},       {0xFF0E, 1, {0x32}},
        {0xFF1A, 2, {0x10, 0x02}}, {0xFF1D, 2, {0x12, 0x12}}, {0xFF3B, 2, {0x10, 0x36}},
        {0xFF3D, 2, {0x36, 0x02}}, {0x2015, 1, {0x12}},       {0x2500, 1, {0x12}},
        {0x201C, 2, {0x30, 0x04}}, {0x201D, 2, {0x20, 0x06}}, {0x2025, 3, {0x02, 0x02, 0x02}},
        {0x2026, 3, {0x02, 0x02, 0x02}}, {0x203B, 2, {0x14, 0x14}}, {0x25CE, 2, {0x14, 0x14}},
        {0x2103, 3, {0x19, 0x20, 0x09}}, {0x2190, 3, {0x2A, 0x12, 0x12}}, {0x2192, 3, {0x12, 0x12, 0x15}},
        {0x2194, 4, {0x2A, 0x12, 0x12, 0x15}}, {0x2212, 1, {0x24}}, {0x221A, 1, {0x1C}},
        {0x25A1, 4, {0x38, 0x2D, 0x2D, 0x07}}, {0x25B3, 2, {0x20, 0x22}}, {0x2606, 2, {0x20, 0x22}},
        {0x25CB, 2, {0x22, 0x22}},
        // Single quotes, double prime quotes and braces: the second bracket pair,
        // like ［ ］, rather than losing them.
        {0x2018, 2, {0x10, 0x36}}, {0x2019, 2, {0x36, 0x02}}, {0x301D, 2, {0x10, 0x36}},
        {0x301F, 2, {0x36, 0x02}}, {0xFF5B, 2, {0x10, 0x36}}, {0xFF5D, 2, {0x36, 0x02}},
        // Filled shapes: shape sign with its fill prefix, closed by dots 2-3.
        {0x25A0, 3, {0x20, 0x33, 0x06}}, {0x25B2, 3, {0x20, 0x31, 0x06}}, {0x25BC, 3, {0x30, 0x31, 0x06}},
        {0x25C6, 3, {0x28, 0x27, 0x06}},
        // Full-width at sign: the Japanese-text form, set off by blanks (added by the caller).
        {0xFF20, 2, {0x30, 0x2A}},
        {0x2605, 3, {0x30, 0x2E, 0x06}},  // black star
        {0xFF0D, 1, {0x24}},               // full-width hyphen-minus, as -
    };
    // clang-format on
    for (const Row &r : kRows) {
        if (r.c == c) {
            std::memcpy(out, r.cells, r.n);
            return r.n;
        }
    }
    if (IsUpperRoman(c) || IsLowerRoman(c)) {
        const char *s = kRoman[IsUpperRoman(c) ? c - 0x2160 : c - 0x2170];
        int n = 0;
        for (; s[n]; ++n) out[n] = LetterCell(static_cast<uint32_t>(s[n]));
        return n;
    }
    auto in = [c](uint32_t lo, uint32_t hi) { return c >= lo && c <= hi; };
    if (in(0x2000, 0x203F) || in(0x2100, 0x213F) || in(0x2180, 0x21BF) || in(0x2200, 0x223F) || in(0x2500, 0x253F) ||
        in(0x2580, 0x263F) || in(0x3000, 0x303F) || in(0xFF00, 0xFFEF))
        return 0;
    if (in(0x2000, 0x2FFF) || c == 0x30A0 || c == 0x3190) {
        out[0] = 0x00;
        return 1;
    }
    return 0;
}

int MakeKigoPrefixByte(JpLetter prevType, const char *prevChar, uint32_t now, uint32_t next, uint8_t *out) {
    JP_LOG("MakeKigoPrefixByte in\n");
    int plen = 0;
    uint32_t prev = prevChar ? DecodeAt(prevChar, &plen) : 0;
    int n = 0;
    if (now == 0xFF08 && (prev == 0xFF09 || prev == ')')) {
        out[n++] = 0x00;
        return n;
    }
    if (prevType == ZENKAKU_KIGOU) return 0;
    if (now == 0x2103) {
        out[n++] = 0x30;
    } else if (IsUpperRoman(now)) {
        out[n++] = 0x30;
        out[n++] = 0x20;
        bool multi = now != 0x2160 && now != 0x2164 && now != 0x2169;
        if (multi || IsUpperRoman(next)) {
            JP_LOG("inch2:%x\n", next);
            out[n++] = 0x20;
        }
    } else if (IsLowerRoman(now)) {
        out[n++] = 0x30;
    } else if (now == 0x2192 || (now >= 0x2600 && now <= 0x263F)) {
        out[n++] = 0x00;
    } else if (now == 0xFF03 || now == 0xFF05) {
        out[n++] = 0x30;
    } else if (now == 0xFF06 || now == 0xFF0A) {
        if (prevChar && prev != ' ' && prev != 0x3000) out[n++] = 0x00;
        out[n++] = 0x30;
    }
    return n;
}

int MakeTwoByteKigo(uint32_t c, uint8_t *out) {
    JP_LOG("TWOBYTE_KIGOU\n");
    switch (c) {
    case 0xB2: out[0] = 0x23; return 1;
    case 0xB3:
    case 0xB9: out[0] = 0x29; return 1;
    case 0xD7: out[0] = 0x21; return 1;
    case 0xF7:
        out[0] = 0x0C;
        out[1] = 0x0C;
        return 2;
    case 0x3BC:
    case 0xB5:
        out[0] = 0x30;
        out[1] = 0x08;
        out[2] = 0x0D;
        return 3;  // µ, and the micro sign
    default: return 0;
    }
}

int TaniKigo(uint32_t c, uint8_t *out) {
    static const struct {
        uint32_t c;
        uint8_t n;
        uint8_t cells[4];
    } kRows[] = {
        {0x33A1, 3, {0x30, 0x0D, 0x23}},
        {0x33A2, 4, {0x30, 0x05, 0x0D, 0x23}},
        {0x33A4, 4, {0x30, 0x09, 0x0D, 0x29}},
        {0x33A5, 3, {0x30, 0x0D, 0x29}},
    };
    for (const auto &r : kRows) {
        if (r.c == c) {
            std::memcpy(out, r.cells, r.n);
            return r.n;
        }
    }
    if (c >= 0x3380 && c <= 0x33BF) return 0;
    out[0] = 0x00;
    return 1;
}

int OngakuKigo(uint32_t c, bool first, bool last, uint8_t *out) {
    int n = 0;
    if (c >= 0x1D15E && c <= 0x1D164) {
        // Notes from the whole to the eighth, then the shorter ones with the same cells.
        static const uint8_t kNotes[] = {0x1D, 0x39, 0x19, 0x3D};
        out[n++] = 0x10;
        out[n++] = kNotes[(c - 0x1D15E) % 4];
        return n;
    }
    switch (c) {
    case 0x1D000:
        if (!first) out[n++] = 0x00;
        out[n++] = 0x20;
        out[n++] = 0x04;
        break;
    case 0x1D13E: out[n++] = 0x2D; break;
    case 0x1D245:
        out[n++] = 0x23;
        out[n++] = 0x05;
        if (!last) out[n++] = 0x00;
        break;
    default: break;
    }
    return n;
}

// Circled numbers ①..⑳: blank (not at the start or after a space), number sign, digits.
static int Maru(uint32_t c, bool first, bool afterSpace, uint8_t *out) {
    if (c < 0x2460 || c > 0x2473) return 0;
    char temp[8];
    std::snprintf(temp, sizeof temp, "%02d", static_cast<int>(c - 0x2460 + 1));
    JP_LOG("temp %s\n", temp);
    int n = 0;
    if (!first && !afterSpace) out[n++] = 0x00;
    out[n++] = 0x3C;
    if (temp[0] != '0') n += Suuji(static_cast<uint32_t>(temp[0]), out + n);
    n += Suuji(static_cast<uint32_t>(temp[1]), out + n);
    return n;
}

// ---- Emission ----------------------------------------------------------------------

int EmitCells(const char *stream, int len, uint8_t *cells, int cap) {
    JP_LOG("braille len: %d\nbrailleCode:\n", len);
    CellWriter out(cells, cap);
    JpLetter prevType = HIRAGANA;
    JpLetter prevPrevType = HIRAGANA;
    const char *prevChar = nullptr;
    bool inQuotes = false;  // between foreign-word or address quotes
    int parens = 0;  // open round brackets
    bool groupMark = false;  // the last cell was a digit-group mark inside a number
    int j = 0;
    while (j < len && stream[j]) {
        bool afterGroupMark = groupMark;
        groupMark = false;
        int clen = 0;
        JpLetter t = LetterType(stream + j, &clen);
        if (clen <= 0) break;
        int dummy = 0;
        uint32_t cp = DecodeAt(stream + j, &dummy);
        const char *next = stream + j + clen;
        int nlen = 0;
        uint32_t ncp = DecodeAt(next, &nlen);
        uint8_t tmp[24];
        int k = 0;
        int takeBack = 0;
        int consumed = clen;
        bool first = j == 0;
        switch (t) {
        case CTRL_SUUSHIKI:
        case CTRL_CHUUKI: tmp[k++] = 0x30; break;
        case CTRL_GAIKOKU:
            tmp[k++] = cp == 0x02 ? 0x26 : 0x34;
            inQuotes = cp == 0x02;
            break;
        case CTRL_HOSHI:
            if (ncp == 0x25B3) {
                tmp[k++] = 0x20;
                tmp[k++] = 0x22;
            }
            consumed += nlen;
            break;
        case CTRL_FUSEJI: {
            uint8_t shape = ncp == 0x25CB   ? 0x35
                            : ncp == 0x25A1 ? 0x3D
                            : ncp == 0x25B3 ? 0x37
                            : ncp == 0xD7   ? 0x3F
                                            : 0;
            tmp[k++] = 0x10;
            if (shape) {
                tmp[k++] = shape;
                consumed += nlen;
            }
            break;
        }
        case CTRL_KUURAN:
            tmp[k++] = 0x00;
            tmp[k++] = 0x38;
            tmp[k++] = 0x2D;
            tmp[k++] = 0x2D;
            tmp[k++] = 0x07;
            break;
        case CTRL_ADDRESS:
            tmp[k++] = 0x20;
            tmp[k++] = cp == 0x15 ? 0x26 : 0x34;
            inQuotes = cp == 0x15;
            break;
        case HANKAKU_KIGOU:
            if (cp == '_') {
                tmp[k++] = 0x24;
            } else {
                int after = 0;
                uint8_t afterCells[2];
                k = MakeHankakuKigoPre(stream + j, prevType, prevChar, cells, out.count(), tmp, &after, afterCells);
                for (int a = 0; a < after; ++a) tmp[k++] = afterCells[a];
            }
            break;
        case HANKAKU_OOMOJI:
        case ZENKAKU_OOMOJI:
        case HANKAKU_KOMOJI:
        case ZENKAKU_KOMOJI: {
            // Inside foreign-word or address quotes a word after a space or symbol
            // continues the quoted text; outside them a word after a space is a new
            // foreign word and takes the foreign-letter sign again.
            JpLetter pre = prevType;
            bool afterSpace = prevChar && *prevChar == ' ';
            if (inQuotes && prevType == HANKAKU_KIGOU) pre = CTRL_GAIKOKU;
            else if (!inQuotes && afterSpace) pre = NOT_DEFINED;
            k = MakePre(pre, prevChar, t, stream + j, tmp);
            tmp[k++] = LetterCell(cp);
            break;
        }
        case HANKAKU_SUUJI:
        case ZENKAKU_SUUJI:
            if (!afterGroupMark) k = MakePre(prevType, prevChar, t, stream + j, tmp);
            // After . , / the number goes on only when a digit comes before the
            // symbol (3.14, 1,000, 1/2); after a word (abc.123) or after any other
            // symbol (@123, #5) it is a new number: without the sign the digits
            // would read as the letters a to j.
            if (k == 0 && !afterGroupMark && prevType == HANKAKU_KIGOU && prevChar && *prevChar != '\'' &&
                *prevChar != '_' &&
                !(std::strchr(".,/", *prevChar) && (prevPrevType == HANKAKU_SUUJI || prevPrevType == ZENKAKU_SUUJI)))
                tmp[k++] = 0x3C;
            k += Suuji(cp, tmp + k);
            break;
        case TWOBYTE_KIGOU: k = MakeTwoByteKigo(cp, tmp); break;
        case HIRAGANA:
        case KATAKANA: {
            bool afterSpace = prevChar && (*prevChar == ' ' || *prevChar == '_');
            if (!first && prevType != HANKAKU_SUUJI && !afterSpace)
                k = MakePre(prevType, prevChar, t, stream + j, tmp);
            // A kana straight after a Latin letter, or an a- or ra-row kana straight
            // after a digit, would read as part of it: the tsunagi sign comes between.
            uint32_t h0 = ToHira(cp);
            bool afterLetter = prevType == HANKAKU_OOMOJI || prevType == HANKAKU_KOMOJI ||
                               prevType == ZENKAKU_OOMOJI || prevType == ZENKAKU_KOMOJI;
            bool aOrRa = h0 == 0x3042 || h0 == 0x3044 || h0 == 0x3046 || h0 == 0x3048 || h0 == 0x304A ||
                         (h0 >= 0x3089 && h0 <= 0x308D);
            uint32_t nh = ToHira(ncp);
            bool youonNext = nh == 0x3083 || nh == 0x3085 || nh == 0x3087;
            bool afterDigit = prevType == HANKAKU_SUUJI || prevType == ZENKAKU_SUUJI;
            if (afterLetter || (afterDigit && aOrRa && !youonNext)) tmp[k++] = 0x24;
            int h = MakeHira(stream, j, prevType, &takeBack, tmp + k);
            k += h;
            break;
        }
        case HANKAKU_KANA:
        case ZENKAKU_KIGOU:
            k = MakeKigoPrefixByte(first ? NOT_DEFINED : prevType, prevChar, cp, ncp, tmp);
            if (cp == 0xFF20 && !first && k == 0 && !(prevChar && (*prevChar == ' ' || *prevChar == '\x03')) &&
                !(cells && out.count() > 0 && cells[out.count() - 1] == 0x00))
                tmp[k++] = 0x00;
            k += ZenkakuKigo(cp, tmp + k);
            if (cp == 0xFF20 && ncp && ncp != ' ' && ncp != 0x3000) tmp[k++] = 0x00;
            break;
        case NOT_DEFINED:
            // Braille patterns in the text are cells already: written as they are.
            if (cp >= 0x2800 && cp <= 0x28FF) tmp[k++] = static_cast<uint8_t>(cp - 0x2800);
            break;
        case TANI_KIGOU: k = TaniKigo(cp, tmp); break;
        case KUTOUFU: {
            bool digitBefore = prevType == HANKAKU_SUUJI || prevType == ZENKAKU_SUUJI;
            if (cp == 0xFF0C) {
                // A full-width comma: the comma between letters or digits, else a touten.
                bool alnum = digitBefore || prevType == HANKAKU_OOMOJI || prevType == HANKAKU_KOMOJI ||
                             prevType == ZENKAKU_OOMOJI || prevType == ZENKAKU_KOMOJI;
                int ntmp2 = 0;
                JpLetter nt2 = ncp ? LetterType(next, &ntmp2, true) : NOT_DEFINED;
                if (digitBefore && (nt2 == HANKAKU_SUUJI || nt2 == ZENKAKU_SUUJI)) {
                    tmp[k++] = 0x04;  // the digit-group mark: the number goes on (1，000)
                    groupMark = true;
                } else if (alnum) {
                    tmp[k++] = 0x02;
                } else {
                    tmp[k++] = 0x30;
                    if (ncp && !IsClosingBracket(ncp)) tmp[k++] = 0x00;
                }
                break;
            }
            int ntmp = 0;
            JpLetter nt = ncp ? LetterType(next, &ntmp, true) : NOT_DEFINED;
            bool digitAfter = nt == HANKAKU_SUUJI || nt == ZENKAKU_SUUJI;
            if (!(cp == 0x30FB && digitBefore && digitAfter)) k = MakeKutoufu(stream + j, next, tmp);
            break;
        }
        case SPECIAL_CHARACTERS: k = Maru(cp, first, prevChar && *prevChar == ' ', tmp); break;
        case ONGAKU_KIGOU: k = OngakuKigo(cp, first, ncp == 0, tmp); break;
        default: break;
        }
        // Round brackets inside round brackets take the second bracket cells.
        if (cp == '(' || cp == 0xFF08 || cp == ')' || cp == 0xFF09) {
            bool open = cp == '(' || cp == 0xFF08;
            if (!open && parens > 0) --parens;
            if (parens > 0 && k > 0 && k < static_cast<int>(sizeof tmp)) {
                for (int q = 0; q < k; ++q) {
                    if (tmp[q] != 0x36) continue;
                    std::memmove(tmp + q + 1, tmp + q, static_cast<size_t>(k - q));
                    tmp[open ? q : q + 1] = open ? 0x30 : 0x06;
                    ++k;
                    break;
                }
            }
            if (open && parens < 8) ++parens;
        }
        int keep = out.count() >= takeBack ? out.count() - takeBack : 0;
        if (keep + k > cap) {
            JP_LOG("brailleLength%d + temp_len%d > MAX %d\n", out.count(), k, cap);
            break;
        }
        out.truncate(keep);  // a youon or special sound takes back the previous kana
        out.put(tmp, k);
        if (!out.commit()) break;
        prevPrevType = prevType;
        prevType = t;
        prevChar = stream + j;
        j += consumed;
    }
    return out.count();
}

}  // namespace jp
}  // namespace kotari
