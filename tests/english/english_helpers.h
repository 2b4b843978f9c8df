// Helpers for the English translator tests: run the translator with chosen
// settings and compare cells written as hex strings ("20 01").
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/engine.h"
#include "test_support.h"

namespace english_test {

struct Settings {
    int grade = 2;
    bool lowercase = false;
    bool computer = true;
};

using test_support::U16;

using test_support::Hex;

// Translates `text` (UTF-8) with the English translator; the text copy that the
// translator may rewrite is returned through `rewritten` when given.
inline std::vector<uint8_t> Cells(const std::string &text, Settings st = {}, std::u16string *rewritten = nullptr) {
    kotari::g_settings = kotari::EngineSettings{};
    kotari::g_settings.englishGrade = st.grade;
    kotari::g_settings.lowercaseInput = st.lowercase;
    kotari::g_settings.markComputerText = st.computer;
    std::u16string buf = U16(text);
    buf.push_back(0);
    std::vector<uint8_t> cells(kotari::kCellBufferSize, 0);
    int n = kotari::TranslateEnglish(&buf[0], cells.data());
    cells.resize(n);
    if (rewritten) *rewritten = buf.substr(0, buf.size() - 1);
    return cells;
}

inline std::string G2(const std::string &text) { return Hex(Cells(text)); }
inline std::string G1(const std::string &text) {
    Settings st;
    st.grade = 1;
    return Hex(Cells(text, st));
}

}  // namespace english_test
