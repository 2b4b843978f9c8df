// German translator: letters, umlauts and ß; capital signs that leave normally
// capitalised words unmarked; numbers on the a-j cells; the grade 2 letter
// groups; punctuation and symbols.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "core/text_cursor.h"
#include "lang/european/german_tables.h"

namespace kotari {

namespace {

using namespace german;

constexpr char16_t kCapitalSharpS = 0x1E9E;

bool IsCapital(char16_t c) { return IsAsciiUpper(c) || c == u'Ä' || c == u'Ö' || c == u'Ü' || c == kCapitalSharpS; }
bool IsSmall(char16_t c) { return IsAsciiLower(c) || c == u'ß' || c == u'ä' || c == u'ö' || c == u'ü'; }
bool IsLetter(char16_t c) { return IsCapital(c) || IsSmall(c); }
// The capital test also takes ì after a capital as a small letter.
bool IsSmallAfterCapital(char16_t c) { return IsSmall(c) || c == u'ì'; }

char16_t Lower(char16_t c) {
    if (IsAsciiUpper(c)) return AsciiLower(c);
    switch (c) {
    case u'Ä': return u'ä';
    case u'Ö': return u'ö';
    case u'Ü': return u'ü';
    case kCapitalSharpS: return u'ß';
    default: return c;
    }
}

uint8_t GermanLetterCell(char16_t c) {
    c = Lower(c);
    if (IsAsciiLower(c)) return LetterCell(c);
    switch (c) {
    case u'ä': return 0x1C;
    case u'ö': return 0x2A;
    case u'ü': return 0x33;
    default: return 0x2E;  // ß
    }
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || IsLineBlank(c);
}

const SymbolRecord *FindSymbol(char16_t c) { return FindSorted(kSymbols, kSymbolCount, c); }

// The text around position i; characters before the start and after the end read as 0.
struct View {
    const char16_t *text;
    int length;
    char16_t at(int i) const { return (i >= 0 && i < length) ? text[i] : 0; }
};

// Sign before the capital at i: 0 (none), 18 (a run of capitals or a lone
// capital) or 28 (a capital inside a word, or a word with more capitals or digits).
uint8_t CapitalSign(const View &v, int i) {
    const char16_t prev = v.at(i - 1), next = v.at(i + 1);
    if (!IsSmallAfterCapital(next) && IsCapital(prev)) return 0;  // inside a run of capitals
    if (!IsSmallAfterCapital(next)) return 0x18;
    const bool startsWord = !IsLetter(prev) && !IsAsciiDigit(prev);
    if (startsWord) {
        int small = 0;
        bool onlySmall = true;
        for (int j = i + 1; j < v.length && (IsLetter(v.text[j]) || IsAsciiDigit(v.text[j])); ++j) {
            if (IsSmall(v.text[j])) {
                ++small;
            } else {
                onlySmall = false;
                break;
            }
        }
        if (onlySmall && small > 0) return 0;
    }
    return 0x28;
}

// Does `p` stand in the word [ws, we) as its place requires? Compared in small letters.
bool Matches(const View &v, int ws, int we, const Pattern &p) {
    int len = 0;
    while (p.text[len]) ++len;
    for (int s = ws; s + len <= we; ++s) {
        if (p.place != PatternPlace::kAnywhere && s == ws) continue;  // one letter must stand before
        if (p.place == PatternPlace::kAfterLetterAtEnd && s + len != we) continue;
        if (p.place == PatternPlace::kAfterLetterThenOne && s + len + 1 > we) continue;
        int k = 0;
        while (k < len && Lower(v.text[s + k]) == p.text[k]) ++k;
        if (k == len) return true;
    }
    return false;
}

bool AnyMatches(const View &v, int ws, int we, const Pattern *ps, int count) {
    for (int k = 0; k < count; ++k)
        if (Matches(v, ws, we, ps[k])) return true;
    return false;
}

// The word around position i and, checked at most once per word and group,
// whether the group's exception patterns write it letter by letter.
struct Word {
    int start = -1, end = -1;
    unsigned checked = 0;  // bit g: group g has been checked for this word
    unsigned singly = 0;  // bit g: group g is written letter by letter here

    void update(const View &v, int i) {
        if (i >= start && i < end) return;
        start = i;
        end = i;
        while (start > 0 && IsLetter(v.text[start - 1])) --start;
        while (end < v.length && IsLetter(v.text[end])) ++end;
        checked = singly = 0;
    }

    bool writtenSingly(const View &v, int g) {
        const unsigned bit = 1u << g;
        if (!(checked & bit)) {
            checked |= bit;
            const LetterGroup &grp = kGroups[g];
            if (AnyMatches(v, start, end, grp.exceptions, grp.exceptionCount) &&
                !AnyMatches(v, start, end, grp.overrides, grp.overrideCount))
                singly |= bit;
        }
        return (singly & bit) != 0;
    }
};

// The grade 2 group that starts at i and is written as one cell, or null. A
// group stays within its word, and only its first letter may carry a capital
// sign, so no capital sign is lost with the letters it consumes.
const LetterGroup *GroupAt(const View &v, Word &w, int i, int *length) {
    for (int g = 0; g < kGroupCount; ++g) {
        const LetterGroup &grp = kGroups[g];
        int len = 0;
        while (grp.letters[len] && i + len < w.end && Lower(v.text[i + len]) == grp.letters[len]) ++len;
        if (grp.letters[len]) continue;
        bool signLost = false;
        for (int k = 1; k < len; ++k)
            if (IsCapital(v.text[i + k]) && CapitalSign(v, i + k) != 0) signLost = true;
        if (signLost) continue;
        // The first group that matches the letters decides: in its exception
        // words the first letter is written alone.
        if (w.writtenSingly(v, g)) return nullptr;
        *length = len;
        return &grp;
    }
    return nullptr;
}

// The cells of a character that is neither a letter, a digit nor a blank.
void SymbolCells(const View &v, int i, bool *doubleQuoteOpen, CellWriter *out) {
    const char16_t c = v.text[i];
    if (c == u'"') {
        out->put(*doubleQuoteOpen ? 0x34 : 0x26);
        *doubleQuoteOpen = !*doubleQuoteOpen;
        return;
    }
    if (c == 0x2018) {  // ‘ opens when the next single quote closes it with ’
        int j = i + 1;
        while (j < v.length && v.text[j] != 0x2018 && v.text[j] != 0x2019) ++j;
        out->put(0x20, (j < v.length && v.text[j] == 0x2019) ? 0x26 : 0x34);
        return;
    }
    if (c == 0x201C) {  // “ opens when a ” follows before another opening quote
        for (int j = i + 1; j < v.length; ++j) {
            const char16_t d = v.text[j];
            if (d == 0x201D) {
                out->put(0x26);
                return;
            }
            if (d == 0x00AB || d == 0x201C || d == 0x201E) break;
        }
        out->put(0x34);
        return;
    }
    if (const SymbolRecord *s = FindSymbol(c)) {
        out->put(s->cells, s->count);
        return;
    }
    out->put(0x22);
}

}  // namespace

int TranslateGerman(char16_t *text, uint8_t *cells) {
    View v{text, 0};
    while (text[v.length]) ++v.length;
    CellWriter out(cells);
    const bool grade2 = g_settings.germanGrade == 2;
    bool doubleQuoteOpen = false;
    Word word;
    for (int i = 0; i < v.length;) {
        const char16_t c = text[i];
        const char16_t prev = v.at(i - 1), prev2 = v.at(i - 2), next = v.at(i + 1);
        int used = 1;
        if (IsLetter(c)) {
            if (IsCapital(c)) {
                if (uint8_t sign = CapitalSign(v, i)) out.put(sign);
            }
            int len = 0;
            const LetterGroup *g = nullptr;
            if (grade2) {
                word.update(v, i);
                g = GroupAt(v, word, i, &len);
            }
            if (g) {
                out.put(g->cell);
                used = len;
            } else {
                out.put(GermanLetterCell(c));
            }
        } else if (IsAsciiDigit(c)) {
            const bool continues =
                IsAsciiDigit(prev) || prev == u'§' || ((prev == u',' || prev == u'.') && IsAsciiDigit(prev2));
            if (!continues) out.put(0x3C);
            out.put(DigitCell(c));
            if (next >= u'a' && next <= u'j') out.put(0x20);
        } else if (c == u'\t') {
            out.put(kBlankCell, kBlankCell);
        } else if (IsBlank(c)) {
            out.put(kBlankCell);
        } else {
            used = CharUnitsAt(text, i);
            SymbolCells(v, i, &doubleQuoteOpen, &out);
        }
        if (!out.commit()) break;
        i += used;
    }
    return out.count();
}

}  // namespace kotari
