// Helpers for the English translator tests: run the translator with chosen
// settings and compare cells written as hex strings ("20 01").
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/engine.h"

namespace english_test {

struct Settings {
    int grade = 2;
    bool lowercase = false;
    bool computer = true;
};

inline std::u16string U16(const std::string &utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        int n;
        if (c < 0x80) { cp = c; n = 1; }
        else if (c < 0xE0) { cp = c & 0x1F; n = 2; }
        else if (c < 0xF0) { cp = c & 0x0F; n = 3; }
        else { cp = c & 0x07; n = 4; }
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

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
