// Runs the Arabic, Chinese or Vietnamese translator through the engine's export
// (no line wrapping) or directly over a guarded work buffer.
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

// Runs `fn` on `text` over a guarded work buffer; returns the cells written.
inline std::vector<uint8_t> Direct(kotari::Translator fn, const std::u16string &text) {
    const test_support::GuardedRun run = test_support::RunGuarded(fn, text);
    EXPECT_GE(run.count, 0);
    EXPECT_LE(run.count, kotari::kCellBufferSize);
    EXPECT_TRUE(run.guardIntact) << "written past the work buffer";
    EXPECT_TRUE(run.blankAfterCount) << "written past the count";
    return run.cells;
}

inline std::u16string Repeat(const std::string &utf8, int times) {
    std::u16string one = U16(utf8), all;
    for (int i = 0; i < times; ++i) all += one;
    return all;
}

}  // namespace acv_test
