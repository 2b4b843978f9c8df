// Italian character tables, each sorted by code point: the main table of letters,
// digits and punctuation, and the extra table looked up after it.
#pragma once

#include "lang/european/char_table.h"

namespace kotari {

extern const CharEntry kItalianChars[];
extern const int kItalianCharsCount;

// Accents, Greek, IPA, fractions, Roman numerals and operators, in one table.
extern const CharEntry kItalianExtra[];
extern const int kItalianExtraCount;

}  // namespace kotari
