// Polish translator: table lookup, capitals, numbers, separators, unknowns.
#include <gtest/gtest.h>

#include "european/latin_test_util.h"
#include "lang/european/polish_tables.h"

namespace {

using latin_test::Cells;

Cells Pl(const std::u16string &text) {
    return latin_test::RunTranslator(kotari::TranslatePolish, text, kotari::DefaultOptions(17));
}

TEST(Polish, LettersAndPolishLetters) {
    EXPECT_EQ(Pl(u"kot"), (Cells{0x05, 0x15, 0x1E}));
    EXPECT_EQ(Pl(u"ąćęłńóśźż"), (Cells{0x21, 0x29, 0x31, 0x23, 0x39, 0x2C, 0x2A, 0x2E, 0x2F}));
}

TEST(Polish, CapitalsAndWordsOfCapitals) {
    EXPECT_EQ(Pl(u"Ala"), (Cells{0x28, 0x01, 0x07, 0x01}));
    // A word of capitals: 28 28 once, no further signs.
    EXPECT_EQ(Pl(u"KOTA."), (Cells{0x28, 0x28, 0x05, 0x15, 0x1E, 0x01, 0x04}));
    EXPECT_EQ(Pl(u"ŻÓŁW"), (Cells{0x28, 0x28, 0x2F, 0x2C, 0x23, 0x3A}));
    // A single capital is not a word of capitals; mixed words mark each capital.
    EXPECT_EQ(Pl(u"A"), (Cells{0x28, 0x01}));
    EXPECT_EQ(Pl(u"AbC"), (Cells{0x28, 0x01, 0x03, 0x28, 0x09}));
    // The mark ends with the word.
    EXPECT_EQ(Pl(u"UE i"), (Cells{0x28, 0x28, 0x25, 0x11, 0, 0x0A}));
}

TEST(Polish, Numbers) {
    EXPECT_EQ(Pl(u"12"), (Cells{0x3C, 0x01, 0x03}));
    // Decimal comma and point keep the number; other signs end it.
    EXPECT_EQ(Pl(u"12,5"), (Cells{0x3C, 0x01, 0x03, 0x02, 0x11}));
    EXPECT_EQ(Pl(u"1-2"), (Cells{0x3C, 0x01, 0x24, 0x3C, 0x03}));
    EXPECT_EQ(Pl(u"1 2"), (Cells{0x3C, 0x01, 0, 0x3C, 0x03}));
}

TEST(Polish, StraightQuoteOpensBeforeAWord) {
    EXPECT_EQ(Pl(u"\"tak\""), (Cells{0x26, 0x1E, 0x01, 0x05, 0x34}));
    EXPECT_EQ(Pl(u"a \"1\""), (Cells{0x01, 0, 0x26, 0x3C, 0x01, 0x34}));
    EXPECT_EQ(Pl(u"\""), (Cells{0x34}));
}

TEST(Polish, MinusAndTimes) {
    EXPECT_EQ(Pl(u"2\u22121"), (Cells{0x3C, 0x03, 0x24, 0x3C, 0x01}));
    EXPECT_EQ(Pl(u"2\u00D73"), (Cells{0x3C, 0x03, 0x04, 0x3C, 0x09}));
}

TEST(Polish, SeparatorsWriteBlanks) {
    EXPECT_EQ(Pl(u"a\tb\nc\u00A0d\u3000e"), (Cells{0x01, 0, 0x03, 0, 0x09, 0, 0x19, 0, 0x11}));
}

TEST(Polish, UnknownCharactersAndSurrogatePairsWrite22) {
    EXPECT_EQ(Pl(u"中"), (Cells{0x22}));
    EXPECT_EQ(Pl(u"a\U0001F600b"), (Cells{0x01, 0x22, 0x03}));  // one cell for the pair
    EXPECT_EQ(Pl(std::u16string{u'a', 0xD800}), (Cells{0x01, 0x22}));  // stray half
    EXPECT_EQ(Pl(std::u16string{0xDC00, 0xD800, u'b'}), (Cells{0x22, 0x22, 0x03}));
}

TEST(Polish, MultiCellCharactersComeFromRecords) {
    EXPECT_EQ(Pl(u"%"), (Cells{0x3C, 0x1A, 0x34}));
    EXPECT_EQ(Pl(u"©"), (Cells{0x36, 0x20, 0x09, 0x36}));
    EXPECT_EQ(Pl(u"Æ"), (Cells{0x28, 0x20, 0x1C}));
}

TEST(Polish, TableBisectionFindsEveryCharacter) {
    using namespace kotari;
    for (const kotari::PolishChar &c : kotari::kPolishChars) {
        Cells expected;
        if (c.type & kTypeRecord) {
            const kotari::PolishRecord &r = kotari::kPolishRecords[c.cell];
            expected.assign(r.cells, r.cells + r.count);
        } else {
            expected.push_back(c.cell);
        }
        const uint8_t type = (c.type & kTypeRecord) ? kotari::kPolishRecords[c.cell].type : c.type;
        if (type & kTypeDigit) expected.insert(expected.begin(), 0x3C);
        if (type & kTypeCapital) expected.insert(expected.begin(), 0x28);
        EXPECT_EQ(Pl(std::u16string(1, c.ch)), expected) << std::hex << int(c.ch);
    }
}

TEST(Polish, WorstCaseInputStaysInsideTheBuffer) {
    for (const char16_t *unit : {u"©", u"Æ", u"¼", u"\U0001F600"})
        latin_test::ExpectLongestTextFits(kotari::TranslatePolish, unit, kotari::DefaultOptions(17));
}

}  // namespace
