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
