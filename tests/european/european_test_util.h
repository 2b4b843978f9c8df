// Runs one European translator on a text and returns its cells; the work
// buffer carries a guard area after its 6144 cells that must stay untouched.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine.h"

namespace european_test {

constexpr int kGuard = 256;
constexpr uint8_t kGuardByte = 0xA5;

inline std::vector<uint8_t> Translate(kotari::Translator fn, const std::u16string &text) {
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

inline std::vector<uint8_t> Cells(std::initializer_list<int> cells) {
    return std::vector<uint8_t>(cells.begin(), cells.end());
}

// The largest number of whole repetitions of a k-cell character that fit.
inline int WholeFit(int k) { return kotari::kCellBufferSize / k * k; }

}  // namespace european_test
