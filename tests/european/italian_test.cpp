// Italian translator: main table and the extra tables.
#include <gtest/gtest.h>

#include "european/latin_test_util.h"

namespace {

using latin_test::Cells;

Cells It(const std::u16string &text) {
    return latin_test::RunTranslator(kotari::TranslateItalian, text, kotari::DefaultOptions(8));
}

TEST(Italian, LettersAccentsAndCapitals) {
    EXPECT_EQ(It(u"città"), (Cells{0x09, 0x0A, 0x1E, 0x1E, 0x37}));
    EXPECT_EQ(It(u"èéìòù"), (Cells{0x2E, 0x3F, 0x0C, 0x2C, 0x3E}));
    EXPECT_EQ(It(u"Roma"), (Cells{0x28, 0x17, 0x15, 0x0D, 0x01}));
    EXPECT_EQ(It(u"ONU e"), (Cells{0x28, 0x28, 0x15, 0x1D, 0x25, 0, 0x11}));
    EXPECT_EQ(It(u"È"), (Cells{0x28, 0x2E}));
}

TEST(Italian, NumbersRestartAfterAnySign) {
    EXPECT_EQ(It(u"12"), (Cells{0x3C, 0x01, 0x03}));
    EXPECT_EQ(It(u"12,5"), (Cells{0x3C, 0x01, 0x03, 0x02, 0x3C, 0x11}));
    EXPECT_EQ(It(u"1-2"), (Cells{0x3C, 0x01, 0x24, 0x3C, 0x03}));
}

TEST(Italian, QuotesAroundAWordAndTheEllipsis) {
    EXPECT_EQ(It(u"\"si\""), (Cells{0x26, 0x0E, 0x0A, 0x34}));
    EXPECT_EQ(It(u"(\"1\")"), (Cells{0x26, 0x26, 0x3C, 0x01, 0x34, 0x34}));
    EXPECT_EQ(It(u"a\"b"), (Cells{0x01, 0x08, 0x03}));  // inside a word: the table's cell
    EXPECT_EQ(It(u"a..."), (Cells{0x01, 0x04, 0x04, 0x04}));
    EXPECT_EQ(It(u"a...."), (Cells{0x01, 0x04, 0x04, 0x04, 0x32}));
    EXPECT_EQ(It(u"a.."), (Cells{0x01, 0x32, 0x32}));
}

TEST(Italian, ExtraTables) {
    EXPECT_EQ(It(u"āĕ"), (Cells{0x08, 0x01, 0x10, 0x11}));  // macron, breve
    EXPECT_EQ(It(u"Ā"), (Cells{0x28, 0x08, 0x01}));
    EXPECT_EQ(It(u"απ"), (Cells{0x18, 0x01, 0x18, 0x0F}));  // Greek
    EXPECT_EQ(It(u"Ω"), (Cells{0x28, 0x18, 0x3A}));
    EXPECT_EQ(It(u"ʃ"), (Cells{0x38, 0x0E}));  // IPA
    EXPECT_EQ(It(u"½⅓"), (Cells{0x20, 0x21, 0x0C, 0x23, 0x20, 0x21, 0x0C, 0x29}));  // fractions
    EXPECT_EQ(It(u"Ⅻ ⅳ Ⅴ"), (Cells{0x28, 0x28, 0x2D, 0x0A, 0x0A, 0, 0x0A, 0x27, 0, 0x28, 0x27}));  // Roman
    EXPECT_EQ(It(u"×÷−"), (Cells{0x28, 0x21, 0x28, 0x0C, 0x24}));  // operators
}

TEST(Italian, UnknownCharacters) {
    EXPECT_EQ(It(u"a中b"), (Cells{0x01, 0x22, 0x03}));
    EXPECT_EQ(It(u"\U0001F600"), (Cells{0x22}));
}

TEST(Italian, WorstCaseInputStaysInsideTheBuffer) {
    for (const char16_t *unit : {u"Ⅷ", u"⅒", u"©", u"Ω"})
        latin_test::ExpectLongestTextFits(kotari::TranslateItalian, unit, kotari::DefaultOptions(8));
}

}  // namespace
