// Russian letter, punctuation, symbol and mathematics cells.
#include "lang/european/russian_tables.h"

// Table data, laid out by hand; the rows of the larger tables are kept in data/<name>.tsv
// and written out at build time as <name>.inc (kotari_table_rows in engine/CMakeLists.txt).
// clang-format off
namespace kotari {
namespace russian {

const uint8_t kCyrillic[32] = {
    0x01, 0x03, 0x3A, 0x1B, 0x19, 0x11, 0x1A, 0x35,  // а б в г д е ж з
    0x0A, 0x2F, 0x05, 0x07, 0x0D, 0x1D, 0x15, 0x0F,  // и й к л м н о п
    0x17, 0x0E, 0x1E, 0x25, 0x0B, 0x13, 0x09, 0x1F,  // р с т у ф х ц ч
    0x31, 0x2D, 0x37, 0x2E, 0x3E, 0x2A, 0x33, 0x2B,  // ш щ ъ ы ь э ю я
};

const uint8_t kGreek[25] = {
    0x01, 0x03, 0x1B, 0x19, 0x11, 0x35, 0x1A, 0x13,  // α β γ δ ε ζ η θ
    0x0A, 0x05, 0x07, 0x0D, 0x1D, 0x2D, 0x15, 0x0F,  // ι κ λ μ ν ξ ο π
    0x17, 0x0E, 0x0E, 0x1E, 0x25, 0x0B, 0x09, 0x3D,  // ρ ς σ τ υ φ χ ψ
    0x3A,                                            // ω
};

constexpr SymbolRecord kAccented[kAccentedCount] = {
#include "russian_accented.inc"
};

// Punctuation and symbols, then the mathematics signs of Russian braille:
// + 235, − 36, × 3, ÷ 256, = 2356, < 246, > 135, ≤ ≥ with 2356 after, ≠ 23456,
// ± 235-36, ≈ 26-26, % 3456-356, / 6-34, ∞ 12456.
constexpr SymbolRecord kSymbols[kSymbolCount] = {
#include "russian_symbols.inc"
};

static_assert(IsSortedByChar(kAccented, kAccentedCount), "Russian accented letters must be sorted for bisection");
static_assert(IsSortedByChar(kSymbols, kSymbolCount), "Russian symbols must be sorted for bisection");

}  // namespace russian
}  // namespace kotari
