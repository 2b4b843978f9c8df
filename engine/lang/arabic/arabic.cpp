// Arabic translator: Arabic letters and marks, the three digit sets, numbers with
// separators, brackets and symbols, and Latin runs through the English translator
// between script-switch indicators (38 into Latin, 38 back into Arabic, 30 after a
// number).

#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/engine.h"
#include "lang/arabic/arabic_tables.h"
#include "lang/english/english.h"

namespace kotari {
namespace arabic {
namespace {

constexpr uint8_t kSwitch = 0x38;  // into a Latin run, and back into Arabic after one
constexpr uint8_t kAfterNumber = 0x30;  // an Arabic letter or a symbol right after a number

struct Symbol {
    char16_t ch;
    uint8_t count;
    uint8_t arabic[3];
    uint8_t latinCount;
    uint8_t latin[3];
};

// The same characters in Arabic and in Latin context.
constexpr Symbol kSymbols[] = {
    {u'!', 1, {0x16}, 1, {0x16}},
    {u'"', 1, {0x36}, 1, {0x36}},
    {u'#', 1, {0x3C}, 1, {0x3C}},
    {u'$', 1, {0x3B}, 1, {0x3B}},
    {u'%', 2, {0x12, 0x0F}, 2, {0x12, 0x0F}},
    {u'&', 1, {0x0F}, 1, {0x0F}},
    {u'\'', 1, {0x10}, 1, {0x04}},
    {u'*', 1, {0x14}, 2, {0x14, 0x14}},
    {u'+', 1, {0x16}, 1, {0x16}},
    {u',', 1, {0x10}, 1, {0x10}},
    {u'-', 1, {0x24}, 1, {0x24}},
    {u'.', 1, {0x32}, 1, {0x32}},
    {u'/', 2, {0x38, 0x0C}, 2, {0x38, 0x0C}},
    {u':', 2, {0x10, 0x02}, 1, {0x12}},
    {u';', 1, {0x30}, 1, {0x06}},
    {u'<', 3, {0x00, 0x2A, 0x00}, 3, {0x00, 0x2A, 0x00}},
    {u'=', 1, {0x36}, 1, {0x36}},
    {u'>', 3, {0x00, 0x15, 0x00}, 3, {0x00, 0x15, 0x00}},
    {u'?', 1, {0x26}, 1, {0x26}},
    {u'@', 1, {0x08}, 1, {0x08}},
    {u'\\', 2, {0x20, 0x0C}, 2, {0x20, 0x0C}},
    {u'^', 1, {0x2C}, 1, {0x2C}},
    {u'_', 1, {0x38}, 1, {0x38}},
    {u'`', 1, {0x10}, 1, {0x10}},
    {u'|', 1, {0x1B}, 1, {0x1B}},
    {u'~', 1, {0x18}, 1, {0x18}},
    {0x00D7, 1, {0x26}, 1, {0x26}},
    {0x00F7, 1, {0x32}, 1, {0x32}},
};
static_assert(sizeof kSymbols / sizeof kSymbols[0] == 28, "28 symbols in each context");

using Simple = CharCells<2>;
// clang-format off
constexpr Simple kBrackets[] = {
    {u'(', 1, {0x26}}, {u')', 1, {0x34}}, {u'[', 2, {0x20, 0x26}},
    {u']', 2, {0x34, 0x04}}, {u'{', 2, {0x10, 0x26}}, {u'}', 2, {0x34, 0x02}},
};
// clang-format on
// clang-format off
constexpr Simple kAfterDigit[] = {
    {u'*', 1, {0x26}}, {u'+', 1, {0x16}}, {u'-', 1, {0x24}},
    {u'=', 1, {0x36}}, {0x00D7, 1, {0x26}}, {0x00F7, 1, {0x32}},
};
// clang-format on

enum class Script { Arabic, Latin, Digit };

inline bool IsArabic(char16_t c) { return (c >= 0x0600 && c <= 0x06FF) || c == 0xFEFB; }
inline int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= 0x0660 && c <= 0x0669) return c - 0x0660;
    if (c >= 0x06F0 && c <= 0x06F9) return c - 0x06F0;
    return -1;
}
inline bool IsDigit(char16_t c) { return DigitValue(c) >= 0; }
inline bool IsLatin(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c < 0x0250 && c != 0xD7 && c != 0xF7);
}
inline bool IsPunctuation(char16_t c) {
    return c == u'!' || c == u',' || c == u'.' || c == u':' || c == u';' || c == u'?' || c == 0xD7 || c == 0xF7;
}
inline bool IsSeparator(char16_t c) { return c != 0 && c <= 0x20; }

const LetterRow *FindLetter(char16_t c) { return FindSorted(kLetters, kLetterCount, c); }
const Symbol *FindSymbol(char16_t c) {
    for (const Symbol &s : kSymbols)
        if (s.ch == c) return &s;
    return nullptr;
}
template <size_t N>
const Simple *FindSimple(const Simple (&table)[N], char16_t c) {
    for (const Simple &s : table)
        if (s.ch == c) return &s;
    return nullptr;
}

void PutSymbol(CellWriter &w, char16_t c, bool latin) {
    if (const Symbol *s = FindSymbol(c)) {
        if (latin) w.put(s->latin, s->latinCount);
        else w.put(s->arabic, s->count);
    }
}

// A word made of digits and the separators , - / : with a digit after a
// separator, whose first separator is a comma or a slash, a hyphen that occurs
// exactly twice, or a colon that occurs exactly once.
bool IsNumberWithSeparators(const char16_t *w, int len) {
    if (len == 0 || !IsDigit(w[0])) return false;
    int hyphens = 0, colons = 0;
    char16_t first = 0;
    bool digitAfterSeparator = false;
    for (int i = 0; i < len; ++i) {
        const char16_t c = w[i];
        if (IsDigit(c)) continue;
        if (c != u',' && c != u'-' && c != u'/' && c != u':') return false;
        if (!first) first = c;
        hyphens += c == u'-';
        colons += c == u':';
        if (i + 1 < len && IsDigit(w[i + 1])) digitAfterSeparator = true;
    }
    if (!first || !digitAfterSeparator) return false;
    return first == u',' || first == u'/' || (first == u'-' && hyphens == 2) || (first == u':' && colons == 1);
}

void WriteNumberWithSeparators(CellWriter &w, const char16_t *word, int len) {
    w.put(kNumberSign);
    for (int i = 0; i < len; ++i) {
        const char16_t c = word[i];
        if (IsDigit(c)) w.put(kDigitCells[DigitValue(c)]);
        else if (c == u',') w.put(0x20);
        else if (c == u'-') w.put(0x24);
        else if (c == u'/') w.put(0x38, 0x0C);
        else if (c == u':') w.put(0x12);
    }
}

constexpr char16_t kAllah[4] = {0x0627, 0x0644, 0x0644, 0x0647};
constexpr uint8_t kAllahCells[6] = {0x01, 0x07, 0x20, 0x02, 0x07, 0x13};

bool IsAllahAt(const char16_t *text, int i, int end) {
    if (end - i < 4) return false;
    for (int k = 0; k < 4; ++k)
        if (text[i + k] != kAllah[k]) return false;
    if (i + 4 < end && FindLetter(text[i + 4])) return false;  // part of a longer word
    return true;
}

}  // namespace
}  // namespace arabic

int TranslateArabic(char16_t *text, uint8_t *cells) {
    using namespace arabic;
    CellWriter w(cells);
    Script script = Script::Arabic;
    int i = 0;
    while (text[i] && !w.full()) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        int end = i;
        while (text[end] && !IsSeparator(text[end])) ++end;
        if (script == Script::Digit) script = Script::Arabic;  // a number ends with its word

        bool latinRun = false, latinToEnd = false;
        if (IsNumberWithSeparators(text + i, end - i)) {
            WriteNumberWithSeparators(w, text + i, end - i);
            w.commit();
            script = Script::Digit;
        } else {
            for (int p = i; p < end && !w.full(); ++p) {
                const char16_t c = text[p];
                const bool afterDigit = p > i && IsDigit(text[p - 1]);
                if (IsArabic(c) && !IsDigit(c)) {
                    const LetterRow *row = FindLetter(c);
                    if (!row) continue;  // no cell: nothing, and no switch
                    if (script == Script::Latin) w.put(kSwitch);
                    else if (afterDigit) w.put(kAfterNumber);
                    script = Script::Arabic;
                    if (IsAllahAt(text, p, end)) {
                        w.put(kAllahCells, 6);
                        p += 3;
                    } else if (c == 0x0644 && p + 1 < end && text[p + 1] == 0x0627) {
                        w.put(0x27);  // lam-alef
                        ++p;
                    } else {
                        w.put(row->cells, row->count);
                    }
                } else if (IsDigit(c)) {
                    if (!afterDigit) w.put(kNumberSign);
                    w.put(kDigitCells[DigitValue(c)]);
                    script = Script::Digit;
                } else if (IsLatin(c)) {
                    if (script == Script::Arabic) w.put(kSwitch);
                    else if (afterDigit) w.put(kAfterNumber);
                    // The Latin run goes up to the next Arabic character, over word ends.
                    int runEnd = p;
                    while (text[runEnd] && !(IsArabic(text[runEnd]) && FindLetter(text[runEnd]))) ++runEnd;
                    int runLen = runEnd;
                    while (runLen > p && IsSeparator(text[runLen - 1])) --runLen;
                    // The indicator is kept only with the run's first word.
                    english::TranslateRun(text + p, runLen - p, w, false);
                    script = Script::Latin;
                    latinRun = true;
                    if (!text[runEnd]) {
                        latinToEnd = true;
                    } else if (runLen < runEnd) {
                        w.put(kBlankCell);  // the blank between the run and the Arabic word after it
                    }
                    w.commit();
                    end = runEnd;
                    break;
                } else if (IsPunctuation(c)) {
                    w.put(kAfterNumber);
                    const Simple *s = afterDigit ? FindSimple(kAfterDigit, c) : nullptr;
                    if (s) w.put(s->cells, s->count);
                    else PutSymbol(w, c, script == Script::Latin);
                } else if (const Simple *b = FindSimple(kBrackets, c)) {
                    w.put(b->cells, b->count);
                } else if (c > 0x20 && c < 0x7F) {
                    const Simple *s = afterDigit ? FindSimple(kAfterDigit, c) : nullptr;
                    if (afterDigit) w.put(kAfterNumber);
                    if (s) w.put(s->cells, s->count);
                    else PutSymbol(w, c, script == Script::Latin);
                }
                // Characters of no class write nothing.
                if (!w.commit()) break;
            }
        }
        if (latinToEnd) {
            // The text ends in a Latin run: it closes with the switch indicator.
            w.put(kSwitch);
            w.commit();
            break;
        }
        // A blank ends each word (a Latin run has written its own).
        if (!latinRun && w.size() > 0 && w.at(w.size() - 1) != 0 && text[end]) w.put(kBlankCell);
        if (!w.commit()) break;
        i = end;
    }
    int n = w.count();
    while (n > 0 && cells[n - 1] == 0) --n;  // no trailing blank at the very end
    return n;
}

}  // namespace kotari
