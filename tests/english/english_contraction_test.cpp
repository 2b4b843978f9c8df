// Grade 2 contraction: wordsigns, groupsigns, context rules, conflicts and the
// word lists.
#include <gtest/gtest.h>

#include <cstring>

#include "english_helpers.h"
#include "lang/english/english.h"
#include "lang/english/english_tables.h"

using namespace english_test;
using namespace kotari::english;

TEST(EnglishWordsigns, WholeWordsAlone) {
    test_support::ExpectOutputs(G2,
        {{"the", "2E"}, {"but", "03"}, {"Braille", "20 03 17 07"}, {"about", "01 03"}, {"themselves", "2E 0D 27 0E"}});
    EXPECT_EQ(G1("but"), "03 25 1E");
}

TEST(EnglishWordsigns, PunctuationAndApostropheEndings) {
    test_support::ExpectOutputs(G2,
        {{"(but)", "10 23 03 10 1C"}, {"it's", "2D 04 0E"}, {"can't", "09 04 1E"}, {"enough's", "22 04 0E"},
            {"enough'd", "22 33 23 04 19", "enough takes only 's"}, {"butx", "03 25 1E 2D"}});
}

TEST(EnglishWordsigns, LowerWordsignsRefusedNextToPunctuation) {
    test_support::ExpectOutputs(G2,
        {{"be", "06"}, {"be.", "03 11 32"}, {"-was", "24 3A 01 0E"}, {"in.", "14 32", "in is not one of them"}});
}

TEST(EnglishGroupsigns, StrongAndLowerGroupsigns) {
    test_support::ExpectOutputs(G2,
        {{"chat", "21 01 1E"}, {"sing", "0E 2C"}, {"head", "13 02 19", "ea inside a word"},
            {"each", "11 01 21", "ea never starts a word"}, {"ebb", "11 03 03", "bb never ends a word"},
            {"rubber", "17 25 06 3B"}, {"because", "06 09"}, {"befit", "06 0B 0A 1E", "be starts the word"},
            {"abet", "01 03 11 1E", "be inside a word"}, {"distant", "32 1E 01 1D 1E"},
            {"condition", "12 19 0A 30 1D"}});
}

TEST(EnglishGroupsigns, ContextRules) {
    test_support::ExpectOutputs(G2,
        {{"ch", "09 13", "would read as the wordsign child"},
            {"ingot", "14 1B 15 1E", "ing does not start a word; in does"},
            {"en", "11 1D", "en alone would read as enough"}, {"boone", "03 15 15 1D 11", "one after o"},
            {"phoney", "0F 13 10 15 3D"}, {"ence", "22 09 11", "final groupsigns never start a word"},
            {"fence", "0B 30 11"}, {"kindness", "05 14 19 30 0E"},
            {"childish", "21 0A 07 19 0A 29", "children rule does not apply"}, {"time", "10 1E"},
            {"sometime", "10 0E 10 1E"}});
}

TEST(EnglishGroupsigns, ConflictTable) {
    test_support::ExpectOutputs(G2, {{"thence", "39 30 11", "th, then ence, not the"}, {"father", "10 0B"},
                                        {"mother", "10 0D"}, {"pastime", "0F 01 0E 10 1E", "time wins over st"}});
}

TEST(EnglishGroupsigns, MixedCaseGroupsKeepTheirCapitals) {
    test_support::ExpectOutputs(G2, {{"tHe", "1E 20 13 11"}, {"The", "20 2E"}, {"THE", "20 20 2E"}});
}

TEST(EnglishWordLists, BareShortformsOnlyStandingAlone) {
    test_support::ExpectOutputs(G2, {{"much@", "0D 25 21 08 01"}, {"could/should", "09 33 07 19 38 0C 29 33 07 19"},
                                        {"about@", "01 03 33 1E 08 01"}, {"@much", "08 01 0D 25 21"}});
    // Standing alone, or with an apostrophe ending, they stay shortforms.
    test_support::ExpectOutputs(G2,
        {{"much", "0D 21"}, {"(could)", "10 23 09 19 10 1C"}, {"much's", "0D 21 04 0E"}, {"-much", "24 0D 21"}});
    // A longer listed word is not a bare shortform.
    EXPECT_EQ(G2("muchly"), "0D 21 07 3D");
}

TEST(EnglishWordLists, TheRulesOwnExamples) {
    test_support::ExpectOutputs(G2,
        {{"aboutface", "01 03 0B 01 09 11"}, {"aboutfaced", "01 03 0B 01 09 2B"},
            {"chifforobe", "21 0A 16 15 17 15 03 11"}, {"twofold", "1E 3A 15 0B 15 07 19"},
            {"insofar", "14 0E 15 0B 1C"}, {"biofeedback", "03 0A 15 0B 11 2B 03 01 09 05"},
            {"disingenuous", "32 14 1B 22 25 33 0E"}});
}

TEST(EnglishWordLists, ShortformAndExceptionWords) {
    test_support::ExpectOutputs(G2,
        {{"today's", "1E 19 04 0E"}, {"friendship", "0B 17 29 0A 0F"}, {"afterword", "01 0B 18 3A"},
            {"Afterword", "20 01 0B 18 3A", "the input's capitals are kept"}, {"northeast", "1D 15 17 39 02 0C"},
            {"bean", "03 02 1D"}, {"coupon", "09 33 0F 15 1D"}});
}

// No groupsign across a syllable boundary: th in cart-horse, be in beg-ging and
// Beau-mont, the in South-end, one in Indo-nesia, con in cone-flower.
TEST(EnglishWordLists, NoContractionAcrossSyllables) {
    test_support::ExpectOutputs(G2,
        {{"carthorse", "09 1C 1E 13 15 17 0E 11"}, {"Carthorses", "20 09 1C 1E 13 15 17 0E 11 0E"},
            {"begging", "03 11 36 2C"}, {"Southend", "20 0E 33 39 22 19"}, {"Southend's", "20 0E 33 39 22 19 04 0E"},
            {"Beaumont", "20 03 02 25 0D 15 1D 1E"}, {"beadle", "03 02 19 07 11"},
            {"Indonesia", "20 14 19 15 1D 11 0E 0A 01"}, {"Monet", "20 0D 15 1D 11 1E"},
            {"coneflower", "09 10 15 0B 07 2A 3B"}});
    test_support::ExpectOutputs(G2,
        {// Where the groupsign is right the general rules still apply.
            {"beatific", "06 01 1E 0A 0B 0A 09"}, {"honeycomb", "13 10 15 3D 09 15 0D 03"},
            // In running text too, and in upper case.
            {"(carthorse)", "10 23 09 1C 1E 13 15 17 0E 11 10 1C"}, {"BEGGING", "20 20 03 11 36 2C"}});
}

// Every record's segmented form spells its word, uses only known groups, and
// the lists are sorted for the bisection.
TEST(EnglishWordLists, RecordsAreConsistent) {
    auto check = [](const WordRecord *list, int count) {
        for (int i = 0; i < count; ++i) {
            const WordRecord &r = list[i];
            ASSERT_EQ(std::strlen(r.word), r.wordLength) << r.word;
            ASSERT_GT(r.wordLength, 0) << i;
            ASSERT_EQ(std::strlen(r.segmented), r.segmentedLength) << r.word;
            std::string letters, group;
            bool inGroup = false;
            for (int k = 0; k < r.segmentedLength; ++k) {
                char c = r.segmented[k];
                if (c == '/') {
                    if (inGroup) {
                        bool known = false;
                        for (const auto &w : kWordsignTable) known = known || group == w.word;
                        for (const auto &g : kGroupsignTable) known = known || group == g.letters;
                        EXPECT_TRUE(known) << r.word << ": " << group;
                        group.clear();
                    }
                    inGroup = !inGroup;
                    continue;
                }
                letters += c;
                if (inGroup) group += c;
            }
            EXPECT_FALSE(inGroup) << r.word;
            EXPECT_EQ(letters, r.word);
            if (i > 0) {
                EXPECT_LT(std::strcmp(list[i - 1].word, r.word), 0) << r.word;
            }
        }
    };
    check(kShortformWordList, kShortformWordCount);
    check(kExceptionWordList, kExceptionWordCount);
}

TEST(EnglishFirstWord, InsideKoreanTheFirstWordIsSpelledOut) {
    kotari::g_settings = kotari::EngineSettings{};
    std::u16string text = u"but but";
    uint8_t cells[64] = {};
    kotari::CellWriter out(cells, 64);
    int n = TranslateRun(&text[0], static_cast<int>(text.size()), out, true);
    EXPECT_EQ(Hex(std::vector<uint8_t>(cells, cells + n)), "03 25 1E 00 03");
    text = u"every";
    kotari::CellWriter again(cells, 64);
    n = TranslateRun(&text[0], 5, again, true);
    EXPECT_EQ(Hex(std::vector<uint8_t>(cells, cells + n)), "10 11 3D");
    // The flag belongs to that call: a later English translation is unaffected.
    EXPECT_EQ(G2("but but"), "03 00 03");
}

TEST(EnglishRun, StopsAtLengthAndCapacity) {
    kotari::g_settings = kotari::EngineSettings{};
    kotari::g_settings.englishGrade = 1;
    std::u16string text = u"abc def";
    uint8_t cells[8] = {};
    kotari::CellWriter out(cells, 8);
    EXPECT_EQ(TranslateRun(&text[0], 3, out, false), 3);  // "abc" only
    // At the capacity the run ends on a whole word: "abc" does not fit in 2 cells.
    uint8_t small[2] = {};
    kotari::CellWriter tight(small, 2);
    EXPECT_EQ(TranslateRun(&text[0], 7, tight, false), 0);
    EXPECT_TRUE(tight.full());
    EXPECT_EQ(small[0] | small[1], 0);
}
