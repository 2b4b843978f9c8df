// Helpers shared by the French, Italian, Polish and Norwegian translators: a
// bounded writer over the 6144-cell work buffer.
#pragma once

#include <cstdint>

#include "core/engine.h"

namespace kotari {
namespace latin {

// Appends cells to the work buffer and never writes past its end; cells that do
// not fit are dropped and `full` is set, so a translator can stop early.
struct CellWriter {
    uint8_t *cells;
    int limit = kCellBufferSize;
    int n = 0;
    bool full = false;

    CellWriter(uint8_t *buffer, int max = kCellBufferSize) : cells(buffer), limit(max) {}

    void put(uint8_t c) {
        if (n < limit) cells[n++] = c;
        else full = true;
    }
    void put(const uint8_t *c, int count) {
        for (int i = 0; i < count; ++i) put(c[i]);
    }
    // Removes the cells from `to` on (they go back to blank).
    void truncate(int to) {
        while (n > to) cells[--n] = 0;
    }
};

// Type byte of a character-table entry.
enum : uint8_t {
    kTypeSmall = 0x01,
    kTypeCapital = 0x02,   // cells are those of the small letter
    kTypeDigit = 0x04,
    kTypeKeepsNumber = 0x08,  // decimal comma and point
    kTypeSymbol = 0x10,
    kTypeLetterAJ = 0x20,  // a-j, read as a digit right after a number
    kTypeRecord = 0x80,    // Polish: the cell byte indexes the record table
};

// One character of a table sorted by code point.
struct CharEntry {
    char16_t ch;
    uint8_t type;
    uint8_t count;
    uint8_t cells[6];
};

template <typename T>
constexpr bool IsSorted(const T *table, unsigned long n) {
    for (unsigned long i = 1; i < n; ++i)
        if (!(table[i - 1].ch < table[i].ch)) return false;
    return true;
}

constexpr bool IsSortedChars(const char16_t *table, unsigned long n) {
    for (unsigned long i = 1; i < n; ++i)
        if (!(table[i - 1] < table[i])) return false;
    return true;
}

// Bisection over a table sorted by `ch`; nullptr when absent.
template <typename T>
const T *Find(const T *table, int n, char16_t c) {
    int lo = 0, hi = n - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (table[mid].ch == c) return &table[mid];
        if (table[mid].ch < c) lo = mid + 1;
        else hi = mid - 1;
    }
    return nullptr;
}

inline bool Contains(const char16_t *table, int n, char16_t c) {
    int lo = 0, hi = n - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (table[mid] == c) return true;
        if (table[mid] < c) lo = mid + 1;
        else hi = mid - 1;
    }
    return false;
}

// True when the letters from `i` on form a word of two or more capitals (the
// word starts at i: no letter stands before it).
template <typename IsLetterFn, typename IsCapitalFn>
bool StartsCapitalWord(const char16_t *t, int i, IsLetterFn isLetter, IsCapitalFn isCapital) {
    if (i > 0 && isLetter(t[i - 1])) return false;
    int j = i;
    while (t[j] && isLetter(t[j])) {
        if (!isCapital(t[j])) return false;
        ++j;
    }
    return j - i > 1;
}

inline bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

inline bool IsAsciiLower(char16_t c) { return c >= u'a' && c <= u'z'; }
inline bool IsAsciiUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }
inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Cells of the letters a-z in the common literary alphabet (w = 2-4-5-6).
constexpr uint8_t kLetterCells[26] = {0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
                                      0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35};

// Digits 1-9, 0 on the cells of a-j, indexed by the digit value.
constexpr uint8_t kDigitCells[10] = {0x1A, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A};

}  // namespace latin
}  // namespace kotari
