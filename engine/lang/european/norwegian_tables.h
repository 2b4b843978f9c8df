// Norwegian character table, sorted by code point.
#pragma once

#include "lang/european/latin_family.h"

namespace kotari {

extern const latin::CharEntry kNorwegianChars[];
extern const int kNorwegianCharsCount;

}  // namespace kotari
