// Cells and character classes shared by the translators: the a-z alphabet and
// the digits on the a-j cells, ASCII and blank tests, UTF-16 surrogates, and
// lookups in constant tables sorted by character.
#pragma once

#include <cstdint>

namespace kotari {

// Cells of the letters a-z in the common braille alphabet (w = dots 2-4-5-6).
constexpr uint8_t kLetterCells[26] = {0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
    0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35};

// Digits 0-9 on the cells of j and a-i, indexed by the digit's value.
constexpr uint8_t kDigitCells[10] = {0x1A, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A};

constexpr uint8_t kBlankCell = 0x00;

// The number sign (dots 3-4-5-6), the same in every braille code the engine writes.
constexpr uint8_t kNumberSign = 0x3C;

constexpr bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool IsAsciiUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }
constexpr bool IsAsciiLower(char16_t c) { return c >= u'a' && c <= u'z'; }
constexpr bool IsAsciiLetter(char16_t c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr char16_t AsciiLower(char16_t c) { return IsAsciiUpper(c) ? static_cast<char16_t>(c + 32) : c; }

// Cell of an ASCII letter of either case.
constexpr uint8_t LetterCell(char16_t asciiLetter) { return kLetterCells[AsciiLower(asciiLetter) - u'a']; }
// Cell of an ASCII digit.
constexpr uint8_t DigitCell(char16_t asciiDigit) { return kDigitCells[asciiDigit - u'0']; }

// Tab, line feed, vertical tab, form feed and carriage return: they separate
// words like a space.
constexpr bool IsLineBlank(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; }

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// A row of a table sorted by character: the character and its `count` cells.
// The number of rows of a table whose definition is in sight.
template <typename Row, int N>
constexpr int CountOf(const Row (&)[N]) {
    return N;
}

template <int N>
struct CharCells {
    char16_t ch;
    uint8_t count;
    uint8_t cells[N];
};

// True when the rows of `table` are in strictly rising order of their `ch`.
template <typename Row>
constexpr bool IsSortedByChar(const Row *table, unsigned long n) {
    for (unsigned long i = 1; i < n; ++i)
        if (!(table[i - 1].ch < table[i].ch)) return false;
    return true;
}

constexpr bool IsSortedChars(const char16_t *table, unsigned long n) {
    for (unsigned long i = 1; i < n; ++i)
        if (!(table[i - 1] < table[i])) return false;
    return true;
}

// The row of `table` (sorted by `ch`) whose `ch` is c, found by bisection; nullptr when absent.
template <typename Row>
const Row *FindSorted(const Row *table, int n, char16_t c) {
    int lo = 0, hi = n - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (table[mid].ch == c) return &table[mid];
        if (table[mid].ch < c) lo = mid + 1;
        else hi = mid - 1;
    }
    return nullptr;
}

// The results of a table lookup for every character below U+0180 (ASCII,
// Latin-1 and Latin Extended-A, where most text lies), computed once, so that
// those characters cost one index instead of a search. Keep it as a
// function-local static beside the lookup it caches.
template <typename Row>
class LowCharIndex {
public:
    static constexpr char16_t kSize = 0x180;

    template <typename Lookup>
    explicit LowCharIndex(Lookup lookup) {
        for (char16_t c = 0; c < kSize; ++c) rows_[c] = lookup(c);
    }
    bool covers(char16_t c) const { return c < kSize; }
    const Row *operator[](char16_t c) const { return rows_[c]; }

private:
    const Row *rows_[kSize];
};

// True when the sorted list of characters holds c.
inline bool ContainsSorted(const char16_t *table, int n, char16_t c) {
    int lo = 0, hi = n - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (table[mid] == c) return true;
        if (table[mid] < c) lo = mid + 1;
        else hi = mid - 1;
    }
    return false;
}

// The first row of each ASCII character in `table` (rows with a `ch` member), -1 where there is none.
template <typename Row>
void FirstAsciiRows(int8_t (&index)[128], const Row *table, int count) {
    for (int i = 0; i < 128; ++i) index[i] = -1;
    for (int i = count - 1; i >= 0; --i)
        if (table[i].ch < 128) index[table[i].ch] = static_cast<int8_t>(i);
}

}  // namespace kotari
