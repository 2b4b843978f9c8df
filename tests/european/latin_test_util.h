// Helpers for the French, Italian, Polish and Norwegian translator tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine.h"

namespace latin_test {

using Cells = std::vector<uint8_t>;

// Runs one translator directly on `text` with the given options already applied;
// the work buffer has a guard zone after cell 6144 that must stay untouched.
inline Cells RunTranslator(kotari::Translator fn, const std::u16string &text, const TranslatorOptions &o,
                           bool *guardIntact = nullptr) {
    kotari::ApplyOptions(o);
    std::u16string copy = text;
    std::vector<uint8_t> buffer(kotari::kCellBufferSize + 256, 0);
    for (int i = kotari::kCellBufferSize; i < kotari::kCellBufferSize + 256; ++i) buffer[i] = 0xA5;
    int n = fn(copy.data(), buffer.data());
    bool intact = true;
    for (int i = kotari::kCellBufferSize; i < kotari::kCellBufferSize + 256; ++i) intact &= buffer[i] == 0xA5;
    for (int i = n; i < kotari::kCellBufferSize; ++i) intact &= buffer[i] == 0;  // nothing past the count
    if (guardIntact) *guardIntact = intact;
    if (n < 0 || n > kotari::kCellBufferSize) return Cells(1, 0xFF);
    return Cells(buffer.begin(), buffer.begin() + n);
}

inline TranslatorOptions Options(int language, int lineCells = 0) {
    TranslatorOptions o{};
    o.language = language;
    o.englishGrade = 1;
    o.markComputerText = 1;
    o.lineCells = lineCells;
    o.chineseMode = 1;
    o.frenchGrade = 1;
    o.germanGrade = 2;
    o.vietnameseVariant = 2;
    return o;
}

}  // namespace latin_test
