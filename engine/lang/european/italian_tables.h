// Italian character tables, each sorted by code point: the main table of letters,
// digits and punctuation, and the extra tables looked up after it.
#pragma once

#include "lang/european/char_table.h"

namespace kotari {

extern const CharEntry kItalianChars[];
extern const int kItalianCharsCount;

struct ItalianTable {
    const CharEntry *entries;
    int count;
};

// Accents, Greek, IPA, fractions, Roman numerals, operators (in lookup order).
constexpr int kItalianExtraTableCount = 6;
extern const ItalianTable kItalianExtraTables[kItalianExtraTableCount];

}  // namespace kotari
