// Runs the Arabic, Chinese or Vietnamese translator through the engine's export
// (no line wrapping) or directly with a guard area after the work buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "KotariEngine.h"
#include "core/engine.h"
#include "test_support.h"

namespace acv_test {

using test_support::Hex;
using test_support::U16;

// Cells of `utf8` as the export gives them for one long line, trailing blanks dropped.
inline std::string Braille(int language, const std::string &utf8, int option = 1) {
    std::u16string text = U16(utf8);
    TranslatorOptions o{language, 1, 0, 1, 0, 1, 1, 2, 2};
    if (language == KOTARI_LANGUAGE_CHINESE_SIMPLIFIED) o.chineseMode = option;
    if (language == KOTARI_LANGUAGE_VIETNAMESE) o.vietnameseVariant = option;
    std::vector<uint8_t> out(2 * KOTARI_CELL_BUFFER_SIZE + KOTARI_CELL_BUFFER_SIZE);
    out.resize(BrailleTranslator(reinterpret_cast<uint16_t *>(text.data()), out.data(), &o));
    test_support::TrimTrailingBlanks(out);
    return Hex(out);
}
inline std::string Arabic(const std::string &t) { return Braille(KOTARI_LANGUAGE_ARABIC, t); }
inline std::string Chinese(const std::string &t, int mode = 1) {
    return Braille(KOTARI_LANGUAGE_CHINESE_SIMPLIFIED, t, mode);
}
inline std::string Vietnamese(const std::string &t, int variant) {
    return Braille(KOTARI_LANGUAGE_VIETNAMESE, t, variant);
}

constexpr int kGuard = 256;
constexpr uint8_t kGuardByte = 0xA5;

// Runs `fn` on `text` over a work buffer followed by a guard area that must stay
// untouched; returns the cells written.
inline std::vector<uint8_t> Direct(kotari::Translator fn, const std::u16string &text) {
    std::vector<char16_t> input(text.begin(), text.end());
    input.push_back(0);
    std::vector<uint8_t> buffer(kotari::kCellBufferSize + kGuard, kGuardByte);
    std::fill(buffer.begin(), buffer.begin() + kotari::kCellBufferSize, 0);
    const int n = fn(input.data(), buffer.data());
    EXPECT_GE(n, 0);
    EXPECT_LE(n, kotari::kCellBufferSize);
    for (int i = kotari::kCellBufferSize; i < kotari::kCellBufferSize + kGuard; ++i) {
        if (buffer[i] != kGuardByte) {
            ADD_FAILURE() << "cell " << i << " written past the work buffer";
            break;
        }
    }
    if (n < 0) return {};
    return std::vector<uint8_t>(buffer.begin(), buffer.begin() + n);
}

inline std::u16string Repeat(const std::string &utf8, int times) {
    std::u16string one = U16(utf8), all;
    for (int i = 0; i < times; ++i) all += one;
    return all;
}

}  // namespace acv_test
