// Russian letter, punctuation, symbol and mathematics cells.
#include "lang/european/russian_tables.h"

// Table data, laid out by hand or by its generator.
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
    {u'\u00C0', 1, {0x37}}, {u'\u00C2', 1, {0x21}}, {u'\u00C4', 1, {0x1C}}, {u'\u00C7', 1, {0x2F}},
    {u'\u00C8', 1, {0x2E}}, {u'\u00C9', 1, {0x3F}}, {u'\u00CA', 1, {0x23}}, {u'\u00CE', 1, {0x29}},
    {u'\u00D4', 1, {0x39}}, {u'\u00D6', 1, {0x2A}}, {u'\u00D9', 1, {0x3E}}, {u'\u00DB', 1, {0x31}},
    {u'\u00DC', 1, {0x33}}, {u'\u00E0', 1, {0x37}}, {u'\u00E2', 1, {0x21}}, {u'\u00E4', 1, {0x1C}},
    {u'\u00E7', 1, {0x2F}}, {u'\u00E8', 1, {0x2E}}, {u'\u00E9', 1, {0x3F}}, {u'\u00EA', 1, {0x23}},
    {u'\u00EE', 1, {0x29}}, {u'\u00F4', 1, {0x39}}, {u'\u00F6', 1, {0x2A}}, {u'\u00F9', 1, {0x3E}},
    {u'\u00FB', 1, {0x31}}, {u'\u00FC', 1, {0x33}},
};

// Punctuation and symbols, then the mathematics signs of Russian braille:
// + 235, − 36, × 3, ÷ 256, = 2356, < 246, > 135, ≤ ≥ with 2356 after, ≠ 23456,
// ± 235-36, ≈ 26-26, % 3456-356, / 6-34, ∞ 12456.
constexpr SymbolRecord kSymbols[kSymbolCount] = {
    {u'!', 1, {0x16}},
    {u'#', 1, {0x39}},
    {u'$', 2, {0x08, 0x19}},
    {u'%', 2, {0x3C, 0x34}},
    {u'&', 2, {0x20, 0x2F}},
    {u'\'', 1, {0x04}},
    {u'(', 1, {0x23}},
    {u')', 1, {0x1C}},
    {u'*', 1, {0x14}},
    {u'+', 1, {0x16}},
    {u',', 1, {0x02}},
    {u'-', 1, {0x24}},
    {u'.', 1, {0x32}},
    {u'/', 2, {0x20, 0x0C}},
    {u':', 1, {0x12}},
    {u';', 1, {0x06}},
    {u'<', 1, {0x2A}},
    {u'=', 1, {0x36}},
    {u'>', 1, {0x15}},
    {u'?', 1, {0x22}},
    {u'@', 1, {0x29}},
    {u'[', 1, {0x37}},
    {u']', 1, {0x3E}},
    {u'_', 2, {0x24, 0x24}},
    {u'\u00A7', 1, {0x2C}},        // §
    {u'\u00B0', 2, {0x28, 0x34}},  // °
    {u'\u00B1', 2, {0x16, 0x24}},  // ±
    {u'\u00BD', 3, {0x3C, 0x01, 0x06}},  // ½: the number sign, 1 and a lowered 2
    {u'\u00D7', 1, {0x04}},        // ×
    {u'\u00F7', 1, {0x32}},        // ÷
    {u'\u0301', 1, {0x08}},        // combining acute accent (stress mark)
    {u'\u2013', 1, {0x24}},        // en dash
    {u'\u2014', 1, {0x24}},        // em dash, the dash of Russian dialogue
    {u'\u2026', 3, {0x32, 0x32, 0x32}},  // ellipsis
    {u'\u2116', 1, {0x1D}},        // №
    {u'\u2212', 1, {0x24}},        // minus
    {u'\u2215', 2, {0x20, 0x0C}},  // division slash
    {u'\u221E', 1, {0x3B}},        // ∞
    {u'\u2248', 2, {0x22, 0x22}},  // ≈
    {u'\u2260', 1, {0x3E}},        // ≠
    {u'\u2264', 2, {0x2A, 0x36}},  // ≤
    {u'\u2265', 2, {0x15, 0x36}},  // ≥
    {u'\uF0A2', 2, {0x28, 0x14}},
    {u'\uF0B2', 3, {0x28, 0x14, 0x14}},
};

static_assert(IsSortedByChar(kAccented, kAccentedCount), "Russian accented letters must be sorted for bisection");
static_assert(IsSortedByChar(kSymbols, kSymbolCount), "Russian symbols must be sorted for bisection");

}  // namespace russian
}  // namespace kotari
