// The Arabic letters-and-marks table, generated at build time by
// scripts/gen_arabic_table.py: the core letters and marks of Arabic braille,
// and every derived letter of U+0620..U+06FF with the cell of its base letter.
#pragma once

#include <cstdint>

#include "core/cells.h"

namespace kotari::arabic {

using LetterRow = CharCells<2>;

extern const LetterRow kLetters[];  // sorted by character
extern const int kLetterCount;

}  // namespace kotari::arabic
