// Helpers shared by the test suites: UTF-8 literals as UTF-16, cells as hex,
// liblouis called directly, and the engine of this build called as the SDK calls it.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <liblouis.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "KotariEngine.h"
#include "platform/utf.h"

namespace test_support {

inline std::u16string U16(const std::string &utf8) { return velumi::platform::Utf8ToUtf16(utf8); }

// "20 01 ..."
inline std::string Hex(const std::vector<uint8_t> &cells) {
    std::string s;
    char buf[4];
    for (uint8_t c : cells) {
        std::snprintf(buf, sizeof buf, "%02X", c);
        if (!s.empty()) s += ' ';
        s += buf;
    }
    return s;
}

// One case of a function from text to text: the input, the output expected (for
// translations the cells as Hex writes them) and, where it needs saying, why.
struct OutputCase {
    const char *text;
    const char *expected;
    const char *why = "";
};

// Checks every case: fn(text) gives the expected output. A failure names the text.
template <typename Fn>
void ExpectOutputs(Fn fn, std::initializer_list<OutputCase> cases) {
    for (const OutputCase &c : cases) EXPECT_EQ(fn(c.text), c.expected) << "text \"" << c.text << "\" " << c.why;
}

inline void TrimTrailingBlanks(std::vector<uint8_t> &cells) {
    while (!cells.empty() && cells.back() == 0) cells.pop_back();
}

// liblouis's cells for `text` through "unicode.dis," + table; false when liblouis fails.
inline bool LouisCells(const std::string &table, const std::u16string &text, std::vector<uint8_t> &cells) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    // widechar is 32 bits on this platform's liblouis, 16 on others.
    std::vector<widechar> in(text.begin(), text.end());
    std::vector<widechar> out(std::max<size_t>(8 * in.size() + 64, 1024));
    int inLen = static_cast<int>(in.size()), outLen = static_cast<int>(out.size());
    const std::string tables = "unicode.dis," + table;
    cells.clear();
    if (!lou_translateString(tables.c_str(), in.data(), &inLen, out.data(), &outLen, nullptr, nullptr, 0))
        return false;
    for (int i = 0; i < outLen; ++i)
        cells.push_back(out[i] >= 0x2800 && out[i] <= 0x28FF ? static_cast<uint8_t>(out[i] - 0x2800) : 0);
    return true;
}

// LouisCells as a value; a failure of liblouis fails the test that asked, naming the table.
inline std::vector<uint8_t> LouisCellsOrFail(const std::string &table, const std::u16string &text) {
    std::vector<uint8_t> cells;
    EXPECT_TRUE(LouisCells(table, text, cells)) << table;
    return cells;
}

#ifdef VELUMI_BUILD_DIR
// The engine library of this build, called through its export.
inline std::vector<uint8_t> EngineCells(const std::u16string &text, int language, int width, int englishGrade = 1) {
    std::u16string copy = text;
    TranslatorOptions o{language, englishGrade, 0, 1, width, 1, 1, 2, 2};
    std::vector<uint8_t> out(3 * 6144);
    static void *lib = dlopen(VELUMI_BUILD_DIR "/lib/libKotariEngine.so", RTLD_NOW);
    auto fn = reinterpret_cast<BrailleTranslatorFn>(dlsym(lib, "BrailleTranslator"));
    out.resize(fn(reinterpret_cast<uint16_t *>(copy.data()), out.data(), &o));
    return out;
}
#endif

}  // namespace test_support

namespace test_support {

// One engine translator run on a copy of `text` in a work buffer of
// KOTARI_CELL_BUFFER_SIZE blank cells followed by a guard area.
struct GuardedRun {
    int count = 0;  // what the translator returned
    std::vector<uint8_t> cells;  // the counted cells; empty when the count is out of range
    bool guardIntact = true;  // nothing written past the work buffer
    bool blankAfterCount = true;  // nothing written between the count and the end of the buffer
};

inline GuardedRun RunGuarded(int (*translator)(char16_t *, uint8_t *), const std::u16string &text) {
    constexpr int kGuard = 256;
    constexpr uint8_t kGuardByte = 0xA5;
    std::vector<char16_t> input(text.begin(), text.end());
    input.push_back(0);
    std::vector<uint8_t> buffer(KOTARI_CELL_BUFFER_SIZE + kGuard, kGuardByte);
    std::fill(buffer.begin(), buffer.begin() + KOTARI_CELL_BUFFER_SIZE, 0);
    GuardedRun run;
    run.count = translator(input.data(), buffer.data());
    for (int i = KOTARI_CELL_BUFFER_SIZE; i < KOTARI_CELL_BUFFER_SIZE + kGuard; ++i)
        run.guardIntact &= buffer[i] == kGuardByte;
    if (run.count < 0 || run.count > KOTARI_CELL_BUFFER_SIZE) return run;
    for (int i = run.count; i < KOTARI_CELL_BUFFER_SIZE; ++i) run.blankAfterCount &= buffer[i] == 0;
    run.cells.assign(buffer.begin(), buffer.begin() + run.count);
    return run;
}

}  // namespace test_support
