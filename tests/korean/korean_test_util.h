// Runs the Korean translator with chosen settings; the work buffer carries a
// guard area after its 6144 cells that must stay untouched.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/engine.h"
#include "test_support.h"

namespace korean_test {

struct Settings {
    int lineCells = 0;
    bool computer = true;
    bool lowercase = false;
    int englishGrade = 2;
};

using test_support::U16;

using test_support::Hex;

inline void Apply(const Settings &st) {
    kotari::g_settings = kotari::EngineSettings{};
    kotari::g_settings.englishGrade = st.englishGrade;
    kotari::g_settings.lowercaseInput = st.lowercase;
    kotari::g_settings.markComputerText = st.computer;
    kotari::g_settings.rawLineCellsKorean = st.lineCells;
    kotari::g_settings.lineWidth = st.lineCells > 0 ? st.lineCells : kotari::kCellBufferSize;
}

// Translates UTF-16 text; checks the result bounds, the guard area and that
// every cell is a six-dot cell.
inline std::vector<uint8_t> Translate16(const std::u16string &text, Settings st = {}) {
    Apply(st);
    const test_support::GuardedRun run = test_support::RunGuarded(kotari::TranslateKorean, text);
    EXPECT_GE(run.count, 0);
    EXPECT_LE(run.count, kotari::kCellBufferSize);
    if (!run.guardIntact) ADD_FAILURE() << "cells written past the work buffer";
    for (size_t i = 0; i < run.cells.size(); ++i) {
        if (run.cells[i] > 0x3F) {
            ADD_FAILURE() << "cell " << i << " keeps a marker: " << int(run.cells[i]);
            break;
        }
    }
    return run.cells;
}

inline std::string K(const std::string &text, Settings st = {}) { return Hex(Translate16(U16(text), st)); }
// K with the default settings, as test_support::ExpectOutputs takes it.
inline std::string KPlain(const std::string &text) { return K(text); }

}  // namespace korean_test
