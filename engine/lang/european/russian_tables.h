// Russian tables: Cyrillic, Greek and Latin-1 letters, punctuation, symbols and
// the mathematics signs.
#pragma once

#include <cstdint>

#include "core/cells.h"

namespace kotari {
namespace russian {

// Cells of а..я (U+0430-U+044F, index ch - 0x430); ё is separate.
extern const uint8_t kCyrillic[32];
constexpr uint8_t kCyrillicYo = 0x21;

// Cells of the Greek small letters α..ω (U+03B1-U+03C9, index ch - 0x3B1),
// the Latin letter of the same sound; capitals U+0391-U+03A9 use the same cells.
extern const uint8_t kGreek[25];

using SymbolRecord = CharCells<3>;

// Accented Latin-1 letters, either case (sorted by character).
constexpr int kAccentedCount = 26;
extern const SymbolRecord kAccented[kAccentedCount];

// Punctuation other than the quotes, symbols and mathematics signs (sorted).
constexpr int kSymbolCount = 44;
extern const SymbolRecord kSymbols[kSymbolCount];

}  // namespace russian
}  // namespace kotari
