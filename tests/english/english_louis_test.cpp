// Golden translations checked against liblouis (en-ueb-g1.ctb / en-ueb-g2.ctb)
// at run time, and the share of dictionary words on which both agree.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "english_helpers.h"
#include "test_support.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis/liblouis.h>

using namespace english_test;

namespace {

// liblouis's cells for `text`, trailing blanks dropped; empty on failure.
std::vector<uint8_t> Louis(const std::string &text, int grade) {
    std::vector<uint8_t> cells;
    if (!test_support::LouisCells(grade == 1 ? "en-ueb-g1.ctb" : "en-ueb-g2.ctb", U16(text), cells)) return {};
    test_support::TrimTrailingBlanks(cells);
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

// The large word lists (rare words, names, British spellings): every
// twentieth line in grade 2, where syllable boundaries decide most contractions.
TEST(EnglishLouis, LargeWordListAgreement) {
    for (const char *path : {"/usr/share/dict/american-english-huge", "/usr/share/dict/british-english-huge"}) {
        std::ifstream dict(path);
        if (!dict) continue;
        int total = 0, same = 0;
        std::string word;
        for (int i = 0; std::getline(dict, word); ++i) {
            if (i % 20 != 0 || word.empty()) continue;
            ++total;
            same += Ours(word, 2) == Louis(word, 2);
        }
        ASSERT_GT(total, 10000) << path;
        EXPECT_GE(100.0 * same / total, 99.0) << path;
    }
}

#endif  // VELUMI_HAVE_LOUIS
