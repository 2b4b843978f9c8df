// Norwegian character table, sorted by code point.
#pragma once

#include "lang/european/char_table.h"

namespace kotari {

extern const CharEntry kNorwegianChars[];
extern const int kNorwegianCharsCount;

}  // namespace kotari
