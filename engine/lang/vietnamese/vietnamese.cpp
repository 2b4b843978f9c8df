// Vietnamese translators. Both map each character through one list of codes
// (cells, and the tone codes D sắc, E huyền, F hỏi, G ngã, H nặng), then write
// the codes with number and capital signs. They differ in where the tone sign
// goes:
//  - the first rule set moves it in front of the first vowel of its syllable
//    (not counting the u of qu and the i of gi), as Vietnamese braille writes
//    the tone before the rhyme;
//  - the second rule set rebuilds each syllable and puts the tone sign directly
//    before the vowel that bears the tone in print, chosen by the spelling rule of
//    Vietnamese (the vowel with a diacritic; else, before a final consonant, the
//    last vowel; else oa, oe, uy on their second vowel, three vowels on the
//    middle one, two on the first), so old-style (hòa, thủy) and new-style (hoà,
//    thuỷ) spellings give the same braille.

#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/engine.h"
#include "core/text_cursor.h"

namespace kotari {
namespace vietnamese {
namespace {

enum : uint8_t { D = 0x44, E = 0x45, F = 0x46, G = 0x47, H = 0x48 };
constexpr uint8_t kDigitBit = 0x40, kCapitalBit = 0x80;
constexpr uint8_t kToneCells[5] = {0x14, 0x30, 0x22, 0x24, 0x20};  // D..H
constexpr uint8_t kCapital = 0x28, kCapitalWord = 0x38, kLetterSign = 0x20;

inline bool IsTone(uint8_t code) { return code >= D && code <= H; }

using Entry = CharCells<3>;  // cells and tone codes

// 135 characters, sorted by code point for bisection.
// clang-format off
constexpr Entry kChars[] = {
    {u' ', 1, {0x00}}, {u'!', 1, {0x16}}, {u'"', 1, {0x26}}, {u'#', 1, {0x3C}}, {u'$', 1, {0x2B}},
    {u'%', 3, {0x3C, 0x1A, 0x34}}, {u'&', 1, {0x2F}}, {u'\'', 1, {0x04}}, {u'(', 2, {0x08, 0x23}},
    {u')', 2, {0x08, 0x1C}}, {u'*', 1, {0x26}}, {u'+', 2, {0x10, 0x16}}, {u',', 1, {0x02}}, {u'-', 1, {0x24}},
    {u'.', 1, {0x32}}, {u'/', 1, {0x0C}}, {u'0', 1, {0x1A}}, {u'1', 1, {0x01}}, {u'2', 1, {0x03}},
    {u'3', 1, {0x09}}, {u'4', 1, {0x19}}, {u'5', 1, {0x11}}, {u'6', 1, {0x0B}}, {u'7', 1, {0x1B}},
    {u'8', 1, {0x13}}, {u'9', 1, {0x0A}}, {u':', 1, {0x12}}, {u';', 1, {0x06}}, {u'<', 2, {0x10, 0x2A}},
    {u'=', 2, {0x10, 0x36}}, {u'>', 2, {0x10, 0x15}}, {u'?', 1, {0x22}}, {u'@', 1, {0x08}},
    {u'[', 2, {0x28, 0x23}}, {u'\\', 2, {0x08, 0x21}}, {u']', 2, {0x28, 0x1C}},
    {u'a', 1, {0x01}}, {u'b', 1, {0x03}}, {u'c', 1, {0x09}}, {u'd', 1, {0x19}}, {u'e', 1, {0x11}},
    {u'f', 1, {0x0B}}, {u'g', 1, {0x1B}}, {u'h', 1, {0x13}}, {u'i', 1, {0x0A}}, {u'j', 1, {0x1A}},
    {u'k', 1, {0x05}}, {u'l', 1, {0x07}}, {u'm', 1, {0x0D}}, {u'n', 1, {0x1D}}, {u'o', 1, {0x15}},
    {u'p', 1, {0x0F}}, {u'q', 1, {0x1F}}, {u'r', 1, {0x17}}, {u's', 1, {0x0E}}, {u't', 1, {0x1E}},
    {u'u', 1, {0x25}}, {u'v', 1, {0x27}}, {u'w', 1, {0x3A}}, {u'x', 1, {0x2D}}, {u'y', 1, {0x3D}},
    {u'z', 1, {0x35}}, {u'{', 2, {0x38, 0x23}}, {u'}', 2, {0x38, 0x1C}},
    {u'à', 2, {E, 0x01}}, {u'á', 2, {D, 0x01}}, {u'â', 1, {0x21}}, {u'ã', 2, {G, 0x01}},
    {u'è', 2, {E, 0x11}}, {u'é', 2, {D, 0x11}}, {u'ê', 1, {0x23}}, {u'ì', 2, {E, 0x0A}},
    {u'í', 2, {D, 0x0A}}, {u'ò', 2, {E, 0x15}}, {u'ó', 2, {D, 0x15}}, {u'ô', 1, {0x39}},
    {u'õ', 2, {G, 0x15}}, {u'ù', 2, {E, 0x25}}, {u'ú', 2, {D, 0x25}}, {u'ý', 2, {D, 0x3D}},
    {u'ă', 1, {0x1C}}, {u'đ', 1, {0x2E}}, {u'ĩ', 2, {G, 0x0A}}, {u'ũ', 2, {G, 0x25}},
    {u'ơ', 1, {0x2A}}, {u'ư', 1, {0x33}},
    {u'ạ', 2, {H, 0x01}}, {u'ả', 2, {F, 0x01}}, {u'ấ', 2, {D, 0x21}}, {u'ầ', 2, {E, 0x21}},
    {u'ẩ', 2, {F, 0x21}}, {u'ẫ', 2, {G, 0x21}}, {u'ậ', 2, {H, 0x21}}, {u'ắ', 2, {D, 0x1C}},
    {u'ằ', 2, {E, 0x1C}}, {u'ẳ', 2, {F, 0x1C}}, {u'ẵ', 2, {G, 0x1C}}, {u'ặ', 2, {H, 0x1C}},
    {u'ẹ', 2, {H, 0x11}}, {u'ẻ', 2, {F, 0x11}}, {u'ẽ', 2, {G, 0x11}}, {u'ế', 2, {D, 0x23}},
    {u'ề', 2, {E, 0x23}}, {u'ể', 2, {F, 0x23}}, {u'ễ', 2, {G, 0x23}}, {u'ệ', 2, {H, 0x23}},
    {u'ỉ', 2, {F, 0x0A}}, {u'ị', 2, {H, 0x0A}}, {u'ọ', 2, {H, 0x15}}, {u'ỏ', 2, {F, 0x15}},
    {u'ố', 2, {D, 0x39}}, {u'ồ', 2, {E, 0x39}}, {u'ổ', 2, {F, 0x39}}, {u'ỗ', 2, {G, 0x39}},
    {u'ộ', 2, {H, 0x39}}, {u'ớ', 2, {D, 0x2A}}, {u'ờ', 2, {E, 0x2A}}, {u'ở', 2, {F, 0x2A}},
    {u'ỡ', 2, {G, 0x2A}}, {u'ợ', 2, {H, 0x2A}}, {u'ụ', 2, {H, 0x25}}, {u'ủ', 2, {F, 0x25}},
    {u'ứ', 2, {D, 0x33}}, {u'ừ', 2, {E, 0x33}}, {u'ử', 2, {F, 0x33}}, {u'ữ', 2, {G, 0x33}},
    {u'ự', 2, {H, 0x33}}, {u'ỳ', 2, {E, 0x3D}}, {u'ỵ', 2, {H, 0x3D}}, {u'ỷ', 2, {F, 0x3D}},
    {u'ỹ', 2, {G, 0x3D}}, {0x2013, 1, {G}}, {0x201C, 1, {0x26}}, {0x201D, 1, {0x34}},
    {0x2026, 3, {0x04, 0x04, 0x04}},
};
// clang-format on
constexpr int kCharCount = sizeof kChars / sizeof kChars[0];
static_assert(kCharCount == 135, "135 characters");
static_assert(IsSortedByChar(kChars, kCharCount), "the list is searched by bisection");

// The lower-case form of a Vietnamese capital, or 0 when `c` is none.
char16_t LowerOf(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    if (c == 0x0102 || c == 0x0110 || c == 0x0128 || c == 0x0168 || c == 0x01A0 || c == 0x01AF)
        return static_cast<char16_t>(c + 1);
    if (c >= 0x1EA0 && c <= 0x1EF9 && (c & 1) == 0) return static_cast<char16_t>(c + 1);
    return 0;
}

const Entry *Find(char16_t c) { return FindSorted(kChars, kCharCount, c); }

// The codes of the text: cells, tone codes, digits with bit 6 and the first
// non-tone code of a capital with bit 7; a character outside the list is a blank.
// letters[k] is true for the codes of letters (and their tone codes).
int MapText(const char16_t *text, uint8_t *codes, bool *letters, int capacity) {
    int n = 0;
    for (int i = 0; text[i]; i += CharUnitsAt(text, i)) {
        const char16_t lower = LowerOf(text[i]);
        const Entry *e = Find(lower ? lower : text[i]);
        const uint8_t blank = 0;
        const uint8_t *src = e ? e->cells : &blank;
        const int k = e ? e->count : 1;
        if (n + k > capacity) break;
        const bool digit = text[i] >= u'0' && text[i] <= u'9';
        const char16_t base = lower ? lower : text[i];
        const bool letter = e && ((base >= u'a' && base <= u'z') || base >= 0xC0) && base < 0x2000;
        bool capitalDone = false;
        for (int j = 0; j < k; ++j) {
            uint8_t code = src[j];
            if (digit) code |= kDigitBit;
            if (lower && !capitalDone && !IsTone(code)) {
                code |= kCapitalBit;
                capitalDone = true;
            }
            letters[n] = letter;
            codes[n++] = code;
        }
    }
    return n;
}

inline bool IsDigitCode(uint8_t code) { return (code & kDigitBit) && !(code & kCapitalBit) && !IsTone(code); }
inline uint8_t CellOf(uint8_t code) { return code & 0x3F; }
inline bool IsVowelCell(uint8_t cell) {
    switch (cell) {
    case 0x01:
    case 0x11:
    case 0x0A:
    case 0x15:
    case 0x25:
    case 0x3D:  // a e i o u y
    case 0x1C:
    case 0x21:
    case 0x23:
    case 0x39:
    case 0x2A:
    case 0x33:  // ă â ê ô ơ ư
        return true;
    default: return false;
    }
}
// Writes the codes with number, capital and letter signs. With `moveTones`, a
// tone code goes in front of the first vowel of its syllable already written;
// otherwise (and when there is none) it waits for the next letter and goes
// directly before its cell.
int WriteCodes(const uint8_t *codes, const bool *letters, int count, uint8_t *cells, bool moveTones) {
    CellWriter w(cells);
    bool prevDigit = false;
    int capitalRun = 0;  // capitals in a row
    int capitalSignAt = -1;  // where this word's capital sign stands
    bool wordCapitalised = false;
    int firstVowelAt = -1;  // where the first vowel of this syllable starts (with its signs)
    uint8_t prevCell = 0;  // the letter before, for qu and gi
    int pendingTone = -1;
    for (int i = 0; i < count && !w.full(); ++i) {
        const uint8_t code = codes[i];
        if (!letters[i]) {
            if (pendingTone >= 0) w.put(kToneCells[pendingTone]);
            pendingTone = -1;
            firstVowelAt = -1;
            prevCell = 0;
            if (code == 0) {
                capitalRun = 0;
                capitalSignAt = -1;
                wordCapitalised = false;
            }
        }
        if (IsDigitCode(code)) {
            if (!prevDigit) w.put(kNumberSign);
            w.put(CellOf(code));
            prevDigit = true;
            capitalRun = 0;
            continue;
        }
        if (IsTone(code)) {
            const uint8_t tone = kToneCells[code - D];
            if (moveTones && firstVowelAt >= 0) w.insert(firstVowelAt, tone);
            else pendingTone = code - D;
            continue;
        }
        const uint8_t cell = CellOf(code);
        const int start = w.size();
        if (code & kCapitalBit) {
            if (capitalRun == 0 && !wordCapitalised) {
                capitalSignAt = w.size();
                w.put(kCapital);
            } else if (capitalRun == 1 && capitalSignAt >= 0 && !wordCapitalised) {
                w.set(capitalSignAt, kCapitalWord);
                wordCapitalised = true;
            }
            ++capitalRun;
        } else if (letters[i]) {
            if (capitalRun >= 2) w.put(kLetterSign);
            else if (prevDigit && (cell == 0x01 || cell == 0x03 || cell == 0x09 || cell == 0x11 || cell == 0x13 ||
                                      cell == 0x19 || cell == 0x1A || cell == 0x1B))
                w.put(kLetterSign);
            capitalRun = 0;
        } else {
            capitalRun = 0;
        }
        prevDigit = false;
        if (pendingTone >= 0 && letters[i]) {
            w.put(kToneCells[pendingTone]);
            pendingTone = -1;
        }
        w.put(cell);
        if (letters[i] && IsVowelCell(cell) && firstVowelAt < 0) {
            const bool quU = cell == 0x25 && prevCell == 0x1F;
            int next = i + 1;  // the next letter, past tone codes
            while (next < count && letters[next] && IsTone(codes[next])) ++next;
            const bool giI =
                cell == 0x0A && prevCell == 0x1B && next < count && letters[next] && IsVowelCell(CellOf(codes[next]));
            if (!quU && !giI) firstVowelAt = start;
        }
        prevCell = letters[i] ? cell : 0;
        if (!w.commit()) break;
    }
    if (pendingTone >= 0) w.put(kToneCells[pendingTone]);
    w.commit();
    return w.count();
}

// Second rule set: within each syllable of at most eight codes, moves the tone
// code directly before the vowel that bears the tone by the spelling rule.
void PlaceTones(uint8_t *codes, const bool *letters, int count) {
    int i = 0;
    while (i < count) {
        if (!letters[i]) {
            ++i;
            continue;
        }
        int end = i;
        while (end < count && letters[end]) ++end;
        int toneAt = -1;
        for (int k = i; k < end; ++k)
            if (IsTone(codes[k])) toneAt = k;
        if (toneAt >= 0 && end - i <= 8) {
            const uint8_t tone = codes[toneAt];
            uint8_t syl[8];
            int n = 0;
            for (int k = i; k < end; ++k)
                if (k != toneAt) syl[n++] = codes[k];
            // The vowel cluster, skipping the u of qu and the i of gi before another vowel.
            int first = 0;
            while (first < n && !IsVowelCell(CellOf(syl[first]))) ++first;
            if (first < n && first > 0) {
                const uint8_t before = CellOf(syl[first - 1]), v = CellOf(syl[first]);
                if (((before == 0x1F && v == 0x25) || (before == 0x1B && v == 0x0A)) && first + 1 < n &&
                    IsVowelCell(CellOf(syl[first + 1])))
                    ++first;
            }
            int last = first;
            while (last < n && IsVowelCell(CellOf(syl[last]))) ++last;
            const int vowels = last - first;
            int target = first;
            if (vowels > 1) {
                int marked = -1;
                for (int k = first; k < last; ++k) {
                    const uint8_t v = CellOf(syl[k]);
                    if (v == 0x1C || v == 0x21 || v == 0x23 || v == 0x39 || v == 0x2A || v == 0x33) marked = k;
                }
                const uint8_t v1 = CellOf(syl[first]), v2 = CellOf(syl[first + 1]);
                const bool glide = (v1 == 0x15 && (v2 == 0x01 || v2 == 0x11)) || (v1 == 0x25 && v2 == 0x3D);
                if (marked >= 0) target = marked;
                else if (last < n) target = last - 1;  // a final consonant follows
                else if (vowels == 3) target = first + 1;
                else if (glide) target = first + 1;
            }
            if (first < n) {
                int k = i;
                for (int j = 0; j < n; ++j) {
                    if (j == target) codes[k++] = tone;
                    codes[k++] = syl[j];
                }
            }
        }
        i = end;
    }
}

uint8_t g_codes[kCellBufferSize];
bool g_letters[kCellBufferSize];

}  // namespace
}  // namespace vietnamese

int TranslateVietnamese1(char16_t *text, uint8_t *cells) {
    using namespace vietnamese;
    const int n = MapText(text, g_codes, g_letters, kCellBufferSize);
    return WriteCodes(g_codes, g_letters, n, cells, true);
}

int TranslateVietnamese2(char16_t *text, uint8_t *cells) {
    using namespace vietnamese;
    const int n = MapText(text, g_codes, g_letters, kCellBufferSize);
    PlaceTones(g_codes, g_letters, n);
    return WriteCodes(g_codes, g_letters, n, cells, false);
}

}  // namespace kotari
