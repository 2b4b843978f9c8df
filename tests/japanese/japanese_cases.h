// Shared by the Japanese tests: the translator driven three ways (the analysis
// stream of a text, the cells of a hand-written stream, the whole translation)
// and the table of cases in tests/data/japanese_cases.txt, run by section.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/engine.h"
#include "lang/japanese/jp_internal.h"
#include "test_support.h"

namespace japanese_test {

using namespace kotari::jp;

// The whole translator (before line packing); diagnostics as the caller set them.
inline std::vector<uint8_t> Cells(const std::string &utf8) {
    std::u16string text = test_support::U16(utf8);
    std::vector<uint8_t> cells(kotari::kCellBufferSize, 0);
    int n = kotari::TranslateJapanese(text.data(), cells.data());
    cells.resize(static_cast<size_t>(n));
    return cells;
}
inline std::string H(const std::string &utf8) { return test_support::Hex(Cells(utf8)); }

// The emission alone, over a stream written by hand (kana with word spaces).
inline std::string Emit(const std::string &stream) {
    g_diagnostics = false;
    std::vector<uint8_t> cells(kMaxCells + 16, 0xEE);
    int n = EmitCells(stream.c_str(), static_cast<int>(stream.size()), cells.data(), kMaxCells);
    cells.resize(static_cast<size_t>(n));
    return test_support::Hex(cells);
}

// The analysis stream of a text.
inline std::string Stream(const std::string &utf8) {
    g_diagnostics = false;
    char stream[kStreamBytes];
    jpanalyzer(utf8.c_str(), stream, kStreamBytes);
    return stream;
}

// One line of the case table: KIND TAB INPUT TAB EXPECTED [TAB NOTE].
struct Case {
    std::string kind, input, expected, note;
    int line;
};

// \xHH, \t and \\ in a field of the case table.
inline std::string Unescape(const std::string &s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
        } else if (s[i + 1] == 'x' && i + 3 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i + 1] == 't' ? '\t' : s[i + 1];
            ++i;
        }
    }
    return out;
}

// The cases of every section, read once.
inline const std::map<std::string, std::vector<Case>> &CaseTable() {
    static const auto table = [] {
        std::map<std::string, std::vector<Case>> sections;
        std::ifstream in(VELUMI_TEST_DATA_DIR "/japanese_cases.txt");
        std::string line, section;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.empty() || line[0] == '#') continue;
            if (line[0] == '[') {
                section = line.substr(1, line.find(']') - 1);
                continue;
            }
            std::vector<std::string> f;
            for (size_t at = 0;;) {
                size_t tab = line.find('\t', at);
                f.push_back(Unescape(line.substr(at, tab - at)));
                if (tab == std::string::npos) break;
                at = tab + 1;
            }
            f.resize(4);
            sections[section].push_back({f[0], f[1], f[2], f[3], number});
        }
        return sections;
    }();
    return table;
}

// Runs the cases of one section of the table, each as an expectation.
inline void CheckCases(const std::string &section) {
    auto it = CaseTable().find(section);
    ASSERT_NE(it, CaseTable().end()) << "no section [" << section << "] in japanese_cases.txt";
    for (const Case &c : it->second) {
        std::string got = c.kind == "stream" ? Stream(c.input) : c.kind == "emit" ? Emit(c.input) : H(c.input);
        EXPECT_EQ(got, c.expected) << c.kind << " " << c.input << ": " << c.note << " (japanese_cases.txt:" << c.line
                                   << ")";
    }
}

}  // namespace japanese_test
