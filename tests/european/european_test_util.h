// Runs one European translator on a text and returns its cells; the work
// buffer carries a guard area after its 6144 cells that must stay untouched.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine.h"
#include "test_support.h"

namespace european_test {

// The counted cells; fails the test when the translator writes past its work
// buffer or returns a count outside it.
inline std::vector<uint8_t> Translate(kotari::Translator fn, const std::u16string &text) {
    const test_support::GuardedRun run = test_support::RunGuarded(fn, text);
    EXPECT_GE(run.count, 0);
    EXPECT_LE(run.count, kotari::kCellBufferSize);
    if (!run.guardIntact) ADD_FAILURE() << "cells written past the work buffer";
    return run.cells;
}

inline std::vector<uint8_t> Cells(std::initializer_list<int> cells) {
    return std::vector<uint8_t>(cells.begin(), cells.end());
}

// The largest number of whole repetitions of a k-cell character that fit.
inline int WholeFit(int k) { return kotari::kCellBufferSize / k * k; }

}  // namespace european_test
