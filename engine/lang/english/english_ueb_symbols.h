// Unified English Braille cells of characters outside the translator's own
// tables (symbols, punctuation, mathematical signs and further letters).
#pragma once

#include "core/cells.h"

namespace kotari {
namespace english {

using UebSymbol = CharCells<6>;
constexpr int kUebSymbolCount = 581;
extern const UebSymbol kUebSymbols[kUebSymbolCount];

}  // namespace english
}  // namespace kotari
