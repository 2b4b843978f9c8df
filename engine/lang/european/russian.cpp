// Russian translator: Cyrillic letters with the capital sign, Latin runs marked
// with 28 or 20, Greek letters after 30, accented Latin-1 letters, numbers,
// punctuation with alternating quotes, symbols and mathematics signs.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "lang/european/russian_tables.h"

namespace kotari {

namespace {

using namespace russian;

bool IsLatin(char16_t c) { return IsAsciiLetter(c); }
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

bool IsBlank(char16_t c) { return c == u' ' || c == 0x00A0 || IsLineBlank(c); }

}  // namespace

int TranslateRussian(char16_t *text, uint8_t *cells) {
    CellWriter out(cells);
    bool quoteOpen = false;  // the next quotation mark closes
    for (int i = 0; text[i]; ++i) {
        const char16_t c = text[i];
        const char16_t prev = i > 0 ? text[i - 1] : 0;
        const char16_t next = text[i + 1];
        if (IsSmallCyrillic(c)) {
            // After a digit the separator 10 keeps the letter from reading as a digit.
            if (IsAsciiDigit(prev)) out.put(0x10);
            out.put(CyrillicCell(c));
        } else if (IsCapitalCyrillic(c)) {
            out.put(0x18, CyrillicCell(c));
        } else if (IsLatin(c)) {
            if (IsAsciiUpper(c)) {
                if (!IsAsciiUpper(prev)) out.put(0x28);
                out.put(LetterCell(c));
            } else {
                if (!IsLatin(prev)) out.put(0x20);
                out.put(LetterCell(c));
                if (IsSmallCyrillic(next)) out.put(0x10);
            }
        } else if (uint8_t g = GreekCell(c)) {
            out.put(0x30, g);
        } else if (IsAsciiDigit(c)) {
            if (!IsAsciiDigit(prev) && prev != u',') out.put(0x3C);
            out.put(DigitCell(c));
        } else if (c == u'"' || c == 0x00AB || c == 0x00BB || c == 0x201C || c == 0x201D || c == 0x201E) {
            out.put(quoteOpen ? 0x34 : 0x26);
            quoteOpen = !quoteOpen;
        } else if (IsBlank(c)) {
            out.put(kBlankCell);
        } else if (const SymbolRecord *a = FindSorted(kAccented, kAccentedCount, c)) {
            out.put(a->cells, a->count);
        } else if (const SymbolRecord *sym = FindSorted(kSymbols, kSymbolCount, c)) {
            out.put(sym->cells, sym->count);
        }
        // Any other character writes nothing.
        if (!out.commit()) break;
    }
    return out.count();
}

}  // namespace kotari
