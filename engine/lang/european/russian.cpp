// Russian translator: Cyrillic letters with the capital sign, Latin runs marked
// with 28 or 20, Greek letters after 30, accented Latin-1 letters, numbers,
// punctuation with alternating quotes, symbols and mathematics signs.
#include "core/engine.h"
#include "lang/european/european_common.h"
#include "lang/european/russian_tables.h"

namespace kotari {

namespace {

using namespace russian;
using european::CellRun;
using european::CellWriter;
using european::IsAsciiDigit;

bool IsLatin(char16_t c) { return european::IsAsciiUpper(c) || european::IsAsciiLower(c); }
bool IsSmallCyrillic(char16_t c) { return (c >= 0x430 && c <= 0x44F) || c == 0x451; }
bool IsCapitalCyrillic(char16_t c) { return (c >= 0x410 && c <= 0x42F) || c == 0x401; }

uint8_t CyrillicCell(char16_t c) {
    if (c == 0x451 || c == 0x401) return kCyrillicYo;
    if (c <= 0x42F) c = static_cast<char16_t>(c + 0x20);
    return kCyrillic[c - 0x430];
}

// Greek letter cell, or 0 for a character that is not a Greek letter.
uint8_t GreekCell(char16_t c) {
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return kGreek[c - 0x391];
    if (c >= 0x3B1 && c <= 0x3C9) return kGreek[c - 0x3B1];
    return 0;
}

const SymbolRecord *Find(const SymbolRecord *table, int n, char16_t c) {
    int lo = 0, hi = n - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        if (table[mid].ch == c) return &table[mid];
        if (table[mid].ch < c) lo = mid + 1;
        else hi = mid - 1;
    }
    return nullptr;
}

bool IsBlank(char16_t c) { return c == u' ' || c == 0x00A0 || european::IsLineBlank(c); }

}  // namespace

int TranslateRussian(char16_t *text, uint8_t *cells) {
    CellWriter out(cells);
    bool quoteOpen = false;  // the next quotation mark closes
    for (int i = 0; text[i]; ++i) {
        const char16_t c = text[i];
        const char16_t prev = i > 0 ? text[i - 1] : 0;
        const char16_t next = text[i + 1];
        CellRun run;
        if (IsSmallCyrillic(c)) {
            // After a digit the separator 10 keeps the letter from reading as a digit.
            if (IsAsciiDigit(prev)) run.add(0x10);
            run.add(CyrillicCell(c));
        } else if (IsCapitalCyrillic(c)) {
            run.add(0x18, CyrillicCell(c));
        } else if (IsLatin(c)) {
            const char16_t small = european::AsciiLower(c);
            const uint8_t cell = small == u'w' ? 0x3A : european::kLatinLetters[small - u'a'];
            if (european::IsAsciiUpper(c)) {
                if (!european::IsAsciiUpper(prev)) run.add(0x28);
                run.add(cell);
            } else {
                if (!IsLatin(prev)) run.add(0x20);
                run.add(cell);
                if (IsSmallCyrillic(next)) run.add(0x10);
            }
        } else if (uint8_t g = GreekCell(c)) {
            run.add(0x30, g);
        } else if (IsAsciiDigit(c)) {
            if (!IsAsciiDigit(prev) && prev != u',') run.add(0x3C);
            run.add(european::DigitCell(c));
        } else if (c == u'"' || c == 0x00AB || c == 0x00BB || c == 0x201C || c == 0x201D || c == 0x201E) {
            run.add(quoteOpen ? 0x34 : 0x26);
            quoteOpen = !quoteOpen;
        } else if (IsBlank(c)) {
            run.add(0x00);
        } else if (const SymbolRecord *a = Find(kAccented, kAccentedCount, c)) {
            run.addAll(a->cells, a->count);
        } else if (const SymbolRecord *s = Find(kSymbols, kSymbolCount, c)) {
            run.addAll(s->cells, s->count);
        }
        // Any other character writes nothing.
        if (!out.append(run.c, run.n)) break;
    }
    return out.count();
}

}  // namespace kotari
