// The character table shared by the Italian, Polish and Norwegian translators:
// rows of character, type and cells sorted by character, and the capital-word
// test their capital rules share.
#pragma once

#include <cstdint>

#include "core/cells.h"

namespace kotari {

// Type byte of a character-table row.
enum : uint8_t {
    kTypeSmall = 0x01,
    kTypeCapital = 0x02,      // cells are those of the small letter
    kTypeDigit = 0x04,
    kTypeKeepsNumber = 0x08,  // decimal comma and point
    kTypeSymbol = 0x10,
    kTypeLetterAJ = 0x20,     // a-j, read as a digit right after a number
    kTypeRecord = 0x80,       // Polish: the cell byte indexes the record table
};

// One character of a table sorted by code point.
struct CharEntry {
    char16_t ch;
    uint8_t type;
    uint8_t count;
    uint8_t cells[6];
};

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

}  // namespace kotari
