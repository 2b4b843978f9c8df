// The Arabic letters-and-marks table, generated at build time by
// scripts/gen_arabic_table.py: the core letters and marks of Arabic braille,
// and every derived letter of U+0620..U+06FF with the cell of its base letter.
#pragma once

#include <cstdint>

namespace kotari::arabic {

struct LetterRow {
    uint16_t ch;
    uint8_t count;
    uint8_t cells[2];
};

extern const LetterRow kLetters[];  // sorted by character
extern const int kLetterCount;

}  // namespace kotari::arabic
