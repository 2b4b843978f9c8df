// Spanish tables: letter cells and separator cells.
#pragma once

#include <cstdint>

#include "core/cells.h"

namespace kotari {
namespace spanish {

// Cells of the small letters U+00E0-U+00FF (index ch - 0xE0); 0 for ÷.
extern const uint8_t kLatin1Letters[32];

using SeparatorRecord = CharCells<3>;  // a count of 0: the separator writes nothing

constexpr int kSeparatorCount = 64;
extern const SeparatorRecord kSeparators[kSeparatorCount];  // sorted by character

// Cells of the letters I V X L C D M: a run of capitals made only of these is a
// Roman numeral and keeps a single capital sign.
constexpr uint8_t kRomanCells[7] = {0x0A, 0x27, 0x2D, 0x07, 0x09, 0x19, 0x0D};

// Lowered digits 1-9 and 0, for numerators and ordinals.
constexpr uint8_t kLoweredDigits[10] = {0x34, 0x02, 0x06, 0x12, 0x32, 0x22, 0x16, 0x36, 0x26, 0x14};  // 0..9

}  // namespace spanish
}  // namespace kotari
