// Russian letter, punctuation, symbol and mathematics cells.
#include "lang/european/russian_tables.h"

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
    {u'\u00C0', {0x37}, 1}, {u'\u00C2', {0x21}, 1}, {u'\u00C4', {0x1C}, 1}, {u'\u00C7', {0x2F}, 1},
    {u'\u00C8', {0x2E}, 1}, {u'\u00C9', {0x3F}, 1}, {u'\u00CA', {0x23}, 1}, {u'\u00CE', {0x29}, 1},
    {u'\u00D4', {0x39}, 1}, {u'\u00D6', {0x2A}, 1}, {u'\u00D9', {0x3E}, 1}, {u'\u00DB', {0x31}, 1},
    {u'\u00DC', {0x33}, 1}, {u'\u00E0', {0x37}, 1}, {u'\u00E2', {0x21}, 1}, {u'\u00E4', {0x1C}, 1},
    {u'\u00E7', {0x2F}, 1}, {u'\u00E8', {0x2E}, 1}, {u'\u00E9', {0x3F}, 1}, {u'\u00EA', {0x23}, 1},
    {u'\u00EE', {0x29}, 1}, {u'\u00F4', {0x39}, 1}, {u'\u00F6', {0x2A}, 1}, {u'\u00F9', {0x3E}, 1},
    {u'\u00FB', {0x31}, 1}, {u'\u00FC', {0x33}, 1},
};

// Punctuation and symbols, then the mathematics signs of Russian braille:
// + 235, − 36, × 3, ÷ 256, = 2356, < 246, > 135, ≤ ≥ with 2356 after, ≠ 23456,
// ± 235-36, ≈ 26-26, % 3456-356, / 6-34, ∞ 12456.
constexpr SymbolRecord kSymbols[kSymbolCount] = {
    {u'!', {0x16}, 1},
    {u'#', {0x39}, 1},
    {u'$', {0x08, 0x19}, 2},
    {u'%', {0x3C, 0x34}, 2},
    {u'&', {0x20, 0x2F}, 2},
    {u'\'', {0x04}, 1},
    {u'(', {0x23}, 1},
    {u')', {0x1C}, 1},
    {u'*', {0x14}, 1},
    {u'+', {0x16}, 1},
    {u',', {0x02}, 1},
    {u'-', {0x24}, 1},
    {u'.', {0x32}, 1},
    {u'/', {0x20, 0x0C}, 2},
    {u':', {0x12}, 1},
    {u';', {0x06}, 1},
    {u'<', {0x2A}, 1},
    {u'=', {0x36}, 1},
    {u'>', {0x15}, 1},
    {u'?', {0x22}, 1},
    {u'@', {0x29}, 1},
    {u'_', {0x24, 0x24}, 2},
    {u'\u00A7', {0x2C}, 1},        // §
    {u'\u00B0', {0x28, 0x34}, 2},  // °
    {u'\u00B1', {0x16, 0x24}, 2},  // ±
    {u'\u00D7', {0x04}, 1},        // ×
    {u'\u00F7', {0x32}, 1},        // ÷
    {u'\u0301', {0x08}, 1},        // combining acute accent (stress mark)
    {u'\u2013', {0x24}, 1},        // en dash
    {u'\u2014', {0x24}, 1},        // em dash, the dash of Russian dialogue
    {u'\u2026', {0x32, 0x32, 0x32}, 3},  // ellipsis
    {u'\u2116', {0x1D}, 1},        // №
    {u'\u2212', {0x24}, 1},        // minus
    {u'\u2215', {0x20, 0x0C}, 2},  // division slash
    {u'\u221E', {0x3B}, 1},        // ∞
    {u'\u2248', {0x22, 0x22}, 2},  // ≈
    {u'\u2260', {0x3E}, 1},        // ≠
    {u'\u2264', {0x2A, 0x36}, 2},  // ≤
    {u'\u2265', {0x15, 0x36}, 2},  // ≥
    {u'\uF0A2', {0x28, 0x14}, 2},
    {u'\uF0B2', {0x28, 0x14, 0x14}, 3},
};

static_assert(IsSortedByChar(kAccented, kAccentedCount), "Russian accented letters must be sorted for bisection");
static_assert(IsSortedByChar(kSymbols, kSymbolCount), "Russian symbols must be sorted for bisection");

}  // namespace russian
}  // namespace kotari
