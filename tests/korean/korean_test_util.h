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

constexpr int kGuard = 256;
constexpr uint8_t kGuardByte = 0xA5;

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
    std::vector<char16_t> input(text.begin(), text.end());
    input.push_back(0);
    std::vector<uint8_t> buffer(kotari::kCellBufferSize + kGuard, kGuardByte);
    std::fill(buffer.begin(), buffer.begin() + kotari::kCellBufferSize, 0);
    const int n = kotari::TranslateKorean(input.data(), buffer.data());
    EXPECT_GE(n, 0);
    EXPECT_LE(n, kotari::kCellBufferSize);
    for (int i = kotari::kCellBufferSize; i < kotari::kCellBufferSize + kGuard; ++i) {
        if (buffer[i] != kGuardByte) {
            ADD_FAILURE() << "cell " << i << " written past the work buffer";
            break;
        }
    }
    if (n < 0) return {};
    for (int i = 0; i < n; ++i) {
        if (buffer[i] > 0x3F) {
            ADD_FAILURE() << "cell " << i << " keeps a marker: " << int(buffer[i]);
            break;
        }
    }
    return std::vector<uint8_t>(buffer.begin(), buffer.begin() + n);
}

inline std::string K(const std::string &text, Settings st = {}) { return Hex(Translate16(U16(text), st)); }

}  // namespace korean_test
