// Chinese translator: each Chinese character as its Mandarin syllable in current
// braille (mode 1: initial, final and tone; mode 2: the tone only where the table
// marks it; mode 3: two-cell double-phonic braille with abbreviations), a blank
// after each listed two-character word, digits, Latin letters and punctuation.
// The translator lays out its own lines (the packing only pads them): the cells
// run on over line ends, but the cells of one character never part.
#include <algorithm>

#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/engine.h"
#include "core/line_layout.h"
#include "lang/chinese/chinese_data.h"

namespace kotari {
namespace chinese {
namespace {

constexpr uint8_t kLatinSign = 0x30;
constexpr uint8_t kRepeat = 0x3C;  // mode 3: the character before, once more

struct Abbreviation {
    char16_t first, second;  // second 0: a single character
    uint8_t count;
    uint8_t cells[2];
};

// Mode 3 abbreviations; two-character entries are tried first.
// clang-format off
constexpr Abbreviation kAbbreviations[] = {
    {u'我', u'们', 2, {0x33, 0x02}}, {u'我', u'的', 2, {0x33, 0x0C}}, {u'你', u'们', 2, {0x1F, 0x02}},
    {u'你', u'的', 2, {0x1F, 0x0C}}, {u'他', u'们', 2, {0x1E, 0x02}}, {u'他', u'的', 2, {0x1E, 0x0C}},
    {u'可', u'以', 2, {0x05, 0x12}}, {u'就', u'是', 2, {0x31, 0x16}}, {u'还', u'是', 2, {0x3B, 0x16}},
    {u'没', u'有', 2, {0x2A, 0x12}}, {u'同', u'志', 2, {0x29, 0x09}},
    {u'个', 0, 1, {0x01}}, {u'也', 0, 1, {0x2E}}, {u'了', 0, 1, {0x07}}, {u'他', 0, 1, {0x1E}},
    {u'你', 0, 1, {0x1F}}, {u'再', 0, 2, {0x08, 0x19}}, {u'可', 0, 1, {0x05}}, {u'和', 0, 1, {0x03}},
    {u'在', 0, 1, {0x19}}, {u'地', 0, 1, {0x1C}}, {u'就', 0, 1, {0x31}}, {u'得', 0, 2, {0x0C, 0x14}},
    {u'我', 0, 1, {0x33}}, {u'是', 0, 1, {0x0B}},
};
// clang-format on
// 她 and 它 in mode 3: a sign of their own, with 们 or 的 after it as for 他.
constexpr uint8_t kSheSign[2] = {0x08, 0x1E}, kItSign[2] = {0x10, 0x1E};

struct Punctuation {
    char16_t first, second;  // second 0: one character
    uint8_t count;
    uint8_t cells[3];
};

// Four pairs written as one sign, then single marks (full-width and Western).
// clang-format off
constexpr Punctuation kPunctuation[] = {
    {0xFF1A, 0x201C, 2, {0x24, 0x18}},        // ：“
    {0x2014, 0x2014, 2, {0x20, 0x24}},        // ——
    {0x2026, 0x2026, 3, {0x10, 0x10, 0x10}},  // ……
    {0x201D, 0x3002, 3, {0x18, 0x10, 0x06}},  // ”。
    {0x3002, 0, 2, {0x10, 0x06}},             // 。
    {0xFF0C, 0, 2, {0x10, 0x00}},             // ，
    {0x3001, 0, 2, {0x08, 0x00}},             // 、
    {0xFF1B, 0, 2, {0x30, 0x00}},             // ；
    {0xFF1A, 0, 2, {0x24, 0x00}},             // ：
    {0xFF1F, 0, 2, {0x10, 0x04}},             // ？
    {0xFF01, 0, 2, {0x30, 0x02}},             // ！
    {0x201C, 0, 1, {0x18}},                   // “
    {0x201D, 0, 2, {0x18, 0x00}},             // ”
    {0x2018, 0, 2, {0x18, 0x18}},             // ‘
    {0x2019, 0, 3, {0x18, 0x18, 0x00}},       // ’
    {0xFF08, 0, 2, {0x30, 0x04}},             // （
    {0xFF09, 0, 2, {0x20, 0x06}},             // ）
    {0x300A, 0, 2, {0x10, 0x24}},             // 《
    {0x300B, 0, 2, {0x24, 0x02}},             // 》
    {0x3008, 0, 2, {0x10, 0x04}},             // 〈
    {0x3009, 0, 2, {0x20, 0x02}},             // 〉
    {0x3010, 0, 2, {0x30, 0x06}},             // 【
    {0x3011, 0, 2, {0x30, 0x06}},             // 】
    {0x300C, 0, 2, {0x18, 0x18}},             // 「
    {0x300D, 0, 3, {0x18, 0x18, 0x00}},       // 」
    {0x2014, 0, 2, {0x20, 0x24}},             // —
    {0x2026, 0, 3, {0x10, 0x10, 0x10}},       // …
    {0x00B7, 0, 2, {0x10, 0x02}},             // ·
    {0xFF5E, 0, 3, {0x10, 0x20, 0x02}},       // ～
    {u'.', 0, 2, {0x10, 0x06}},
    {u',', 0, 2, {0x10, 0x00}},
    {u';', 0, 2, {0x30, 0x00}},
    {u':', 0, 2, {0x24, 0x00}},
    {u'?', 0, 2, {0x10, 0x04}},
    {u'!', 0, 2, {0x30, 0x02}},
    {u'(', 0, 2, {0x30, 0x04}},
    {u')', 0, 2, {0x20, 0x06}},
    {u'"', 0, 1, {0x18}},
    {u'-', 0, 1, {0x24}},
};
// clang-format on

inline bool IsHan(char16_t c) { return c >= 0x4E00 && c <= 0x9FA5; }
inline int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= 0xFF10 && c <= 0xFF19) return c - 0xFF10;
    return -1;
}
inline int LetterIndex(char16_t c) {
    if (c >= 0xFF21 && c <= 0xFF5A) c = static_cast<char16_t>(c - 0xFEE0);  // full-width forms
    if (c >= u'A' && c <= u'Z') return c - u'A';
    if (c >= u'a' && c <= u'z') return c - u'a';
    return -1;
}

// Tone 1-4, 5 for the neutral tone, 0 for none.
int ToneOf(uint8_t a, uint8_t b) {
    const bool a7 = a & 0x80, a6 = a & 0x40, b7 = b & 0x80;
    if (!a7) {
        if (a6) return b7 ? 3 : 2;
        return b7 ? 1 : 0;
    }
    return (!a6 && !b7) ? 4 : 5;
}
constexpr uint8_t kToneCells[6] = {0, 0x01, 0x02, 0x04, 0x06, 0};

const CharRecord *FindChar(char16_t c) {
    const CharRecord *end = kChars + kCharCount;
    const CharRecord *r = std::lower_bound(kChars, end, c,
        [](const CharRecord &rec, char16_t v) { return static_cast<char16_t>(rec.hi << 8 | rec.lo) < v; });
    return (r != end && static_cast<char16_t>(r->hi << 8 | r->lo) == c) ? r : nullptr;
}

const ReadingChoice *FindChoice(char16_t c, uint8_t side, char16_t neighbour) {
    const ReadingChoice *end = kChoices + kChoiceCount;
    auto key = [](char16_t ch, uint8_t sd, char16_t nb) { return uint64_t(ch) << 24 | uint64_t(sd) << 16 | nb; };
    const uint64_t k = key(c, side, neighbour);
    const ReadingChoice *r = std::lower_bound(kChoices, end, k,
        [&](const ReadingChoice &rc, uint64_t v) { return key(rc.ch, rc.side, rc.neighbour) < v; });
    return (r != end && key(r->ch, r->side, r->neighbour) == k) ? r : nullptr;
}

bool IsWordPair(char16_t prev, char16_t cur) {
    const WordPair *end = kWordPairs + kWordPairCount;
    const WordPair *r = std::lower_bound(kWordPairs, end, WordPair{prev, cur},
        [](const WordPair &a, const WordPair &b) { return a.prev != b.prev ? a.prev < b.prev : a.cur < b.cur; });
    return r != end && r->prev == prev && r->cur == cur;
}

// Writes the syllable of one character; false when the table has no record.
bool PutSyllable(CellWriter &w, const char16_t *text, int i, int mode) {
    const char16_t c = text[i];
    const CharRecord *rec = FindChar(c);
    if (!rec) return false;
    uint8_t a = rec->a, b = rec->b, cc = rec->c, d = rec->d;
    if (b & 0x40) {  // several readings: the neighbours may choose another
        const ReadingChoice *ch = i > 0 ? FindChoice(c, 0, text[i - 1]) : nullptr;
        if (!ch && text[i + 1]) ch = FindChoice(c, 1, text[i + 1]);
        if (ch) a = ch->a, b = ch->b, cc = ch->c, d = ch->d;
    }
    uint8_t out[3];
    int k = 0;
    if (mode == 3) {
        out[k++] = cc & 0x3F;
        out[k++] = d & 0x3F;
    } else {
        out[k++] = a & 0x3F;
        if (b & 0x3F) out[k++] = b & 0x3F;
        const uint8_t tone = kToneCells[ToneOf(a, b)];
        if (tone && (mode == 1 || (cc & 0x80))) out[k++] = tone;
    }
    w.put(out, k);
    return true;
}

uint8_t g_stream[kCellBufferSize];  // cells before the line layout, each character marked as a unit

}  // namespace
}  // namespace chinese

int TranslateChinese(char16_t *text, uint8_t *cells) {
    using namespace chinese;
    const int mode = g_settings.chineseMode;
    std::fill(g_stream, g_stream + kCellBufferSize, 0);
    CellWriter w(g_stream);
    UnitMarker marker;
    int unitStart = 0;
    bool inDigits = false, inLatin = false;
    for (int i = 0; text[i] && !w.full(); ++i) {
        const char16_t c = text[i];
        const int digit = DigitValue(c), letter = LetterIndex(c);
        if (digit < 0 && !(c == u'.' && inDigits && DigitValue(text[i + 1]) >= 0)) inDigits = false;
        if (letter < 0) inLatin = false;

        if (IsHan(c)) {
            if (mode == 3 && i > 0 && text[i - 1] == c) {
                w.put(&kRepeat, 1);
            } else if (mode == 3 && (c == u'她' || c == u'它')) {
                // 她 and 它: their sign, then 们 or 的 as in the pairs of 他.
                w.put(c == u'她' ? kSheSign : kItSign, 2);
                const char16_t next = text[i + 1];
                if (next == u'们' || next == u'的') {
                    const uint8_t t = next == u'们' ? 0x02 : 0x0C;
                    w.put(&t, 1);
                    ++i;
                }
            } else if (mode == 3) {
                const Abbreviation *hit = nullptr;
                for (const Abbreviation &ab : kAbbreviations) {
                    if (ab.first == c && (ab.second == 0 || ab.second == text[i + 1])) {
                        hit = &ab;
                        break;
                    }
                }
                if (hit) {
                    w.put(hit->cells, hit->count);
                    if (hit->second) ++i;
                } else if (!PutSyllable(w, text, i, mode)) {
                    continue;
                }
            } else if (c == u'它') {
                const uint8_t t[] = {0x08, 0x1E, 0x14};
                w.put(t, 3);
            } else if (c == u'她') {
                const uint8_t t[] = {0x1E, 0x14, 0x01};
                w.put(t, 3);
            } else if (c == u'的') {
                const uint8_t t = 0x19;
                w.put(&t, 1);
            } else if (!PutSyllable(w, text, i, mode)) {
                continue;  // a character the table lacks writes nothing
            }
            // A blank after the second character of a listed word.
            if (i > 0 && text[i + 1] && IsWordPair(text[i - 1], text[i])) {
                const uint8_t blank = 0;
                w.put(&blank, 1);
            }
        } else if (digit >= 0) {
            if (!inDigits) w.put(&kNumberSign, 1);
            const uint8_t d = kDigitCells[digit];
            w.put(&d, 1);
            inDigits = true;
        } else if (letter >= 0) {
            if (!inLatin) w.put(&kLatinSign, 1);
            w.put(&kLetterCells[letter], 1);
            inLatin = true;
        } else if (c == u' ' || c == 0x3000 || c == u'\t' || c == u'\n' || c == u'\r') {
            if (w.size() > 0 && w.at(w.size() - 1) != 0) {
                const uint8_t blank = 0;
                w.put(&blank, 1);
            }
        } else if (c == u'.' && inDigits) {
            const uint8_t point = 0x04;  // a decimal point inside a number
            w.put(&point, 1);
        } else {
            for (const Punctuation &p : kPunctuation) {
                if (p.first == c && (p.second == 0 || p.second == text[i + 1])) {
                    w.put(p.cells, p.count);
                    if (p.second) ++i;
                    break;
                }
            }
        }
        if (!w.commit()) break;
        // The cells of one character (a syllable, an abbreviation, a sign) stay on one line.
        const uint8_t m = marker.next();
        for (int k = unitStart; k < w.count(); ++k)
            if (g_stream[k]) g_stream[k] |= m;
        unitStart = w.count();
    }
    LineRules rules;
    rules.width = g_settings.lineWidth;
    rules.capacity = kCellBufferSize;
    rules.wrapWords = false;
    rules.markedUnits = true;
    return LayOutLines(cells, g_stream, w.count(), rules);
}

}  // namespace kotari
