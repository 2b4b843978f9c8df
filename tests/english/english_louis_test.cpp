// Golden translations checked against liblouis (en-ueb-g1.ctb / en-ueb-g2.ctb)
// at run time, and the share of dictionary words on which both agree.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "english_helpers.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis/liblouis.h>

using namespace english_test;

namespace {

// liblouis's cells for `text`, trailing blanks dropped; empty on failure.
std::vector<uint8_t> Louis(const std::string &text, int grade) {
    static bool pathSet = [] { return setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0) == 0; }();
    (void)pathSet;
    std::u16string u = U16(text);
    // widechar is 32 bits on this platform's liblouis, 16 on others.
    std::vector<widechar> in(u.begin(), u.end());
    std::vector<widechar> out(in.size() * 4 + 16);
    int inLen = static_cast<int>(in.size()), outLen = static_cast<int>(out.size());
    const char *table = grade == 1 ? "unicode.dis,en-ueb-g1.ctb" : "unicode.dis,en-ueb-g2.ctb";
    if (!lou_translateString(table, in.data(), &inLen, out.data(), &outLen, nullptr, nullptr, 0)) return {};
    std::vector<uint8_t> cells;
    for (int i = 0; i < outLen; ++i) {
        widechar c = out[i];
        cells.push_back(c >= 0x2800 && c <= 0x28FF ? static_cast<uint8_t>(c - 0x2800) : 0);
    }
    while (!cells.empty() && cells.back() == 0) cells.pop_back();
    return cells;
}

std::vector<uint8_t> Ours(const std::string &text, int grade) {
    Settings st;
    st.grade = grade;
    std::vector<uint8_t> c = Cells(text, st);
    while (!c.empty() && c.back() == 0) c.pop_back();
    return c;
}

}  // namespace

TEST(EnglishLouis, GoldenSentencesGrade2) {
    const char *sentences[] = {
        "The quick brown fox jumps over the lazy dog.",
        "It's a good day for people who like Braille.",
        "Children should receive their letters today, not tomorrow.",
        "Although he was already there, she said nothing.",
        "Knowledge of the world will come in time.",
        "Ourselves, yourselves and themselves.",
        "He paid 25 dollars for 3 books on 12 March 2024.",
        "Where is the character that ought to be here?",
        "The friend of my father's mother.",
        "Immediately afterwards the question was answered.",
        "This software is provided \"as is\", without warranty.",
        "Copyright (C) 2007 Free Software Foundation, Inc.",
    };
    for (const char *s : sentences) EXPECT_EQ(Hex(Ours(s, 2)), Hex(Louis(s, 2))) << s;
}

TEST(EnglishLouis, GoldenSentencesGrade1) {
    const char *sentences[] = {
        "The quick brown fox jumps over the lazy dog.",
        "Version 3, 29 June 2007",
        "Each licensee is addressed as you.",
        "A cat and 1, 2, 3.",
        "Caf\u00E9 na\u00EFve r\u00E9sum\u00E9",
    };
    for (const char *s : sentences) EXPECT_EQ(Hex(Ours(s, 1)), Hex(Louis(s, 1))) << s;
}

// A regression guard for the contraction rules and the word lists: every
// fifth word of the system word list, translated alone.
TEST(EnglishLouis, DictionaryAgreement) {
    std::ifstream dict("/usr/share/dict/american-english");
    if (!dict) GTEST_SKIP() << "no word list";
    int total = 0, same2 = 0, same1 = 0;
    std::string word;
    for (int i = 0; std::getline(dict, word); ++i) {
        if (i % 5 != 0 || word.empty()) continue;
        ++total;
        same2 += Ours(word, 2) == Louis(word, 2);
        same1 += Ours(word, 1) == Louis(word, 1);
    }
    ASSERT_GT(total, 10000);
    EXPECT_GE(100.0 * same2 / total, 98.0);
    EXPECT_GE(100.0 * same1 / total, 99.5);
}

#endif  // VELUMI_HAVE_LOUIS
