// Helpers for the French, Italian, Polish and Norwegian translator tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine.h"
#include "test_support.h"

namespace latin_test {

using Cells = std::vector<uint8_t>;

// Runs one translator directly on `text` with the given options already applied;
// the work buffer has a guard zone after cell 6144 that must stay untouched.
inline Cells RunTranslator(kotari::Translator fn, const std::u16string &text, const TranslatorOptions &o,
    bool *guardIntact = nullptr) {
    kotari::ApplyOptions(o);
    const test_support::GuardedRun run = test_support::RunGuarded(fn, text);
    if (guardIntact) *guardIntact = run.guardIntact && run.blankAfterCount;
    if (run.count < 0 || run.count > kotari::kCellBufferSize) return Cells(1, 0xFF);
    return run.cells;
}

// `unit` repeated to the longest text the engine takes (2047 units) through `fn`:
// nothing may be written past the work buffer or past the count, and the count
// stays within `maxCells`.
inline void ExpectLongestTextFits(kotari::Translator fn, const char16_t *unit, const TranslatorOptions &o,
    size_t maxCells = 6144) {
    std::u16string text;
    while (text.size() < 2047) text += unit;
    text.resize(2047);
    bool intact = false;
    const Cells cells = RunTranslator(fn, text, o, &intact);
    EXPECT_TRUE(intact);
    EXPECT_LE(cells.size(), maxCells);
}

// The export's packed cells for `text` at `width` cells a line.
inline Cells ThroughExport(int language, int width, std::u16string text) {
    TranslatorOptions o = kotari::DefaultOptions(language, width);
    text.push_back(0);
    Cells out(2 * kotari::kCellBufferSize + 64);
    out.resize(static_cast<size_t>(BrailleTranslator(reinterpret_cast<uint16_t *>(text.data()), out.data(), &o)));
    return out;
}

}  // namespace latin_test
