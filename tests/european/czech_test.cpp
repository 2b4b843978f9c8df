#include "european_test_util.h"
#include "lang/european/czech_tables.h"

namespace {

using european_test::Cells;
using european_test::Translate;

std::vector<uint8_t> Czech(const std::u16string &text) { return Translate(kotari::TranslateCzech, text); }

TEST(Czech, TableHasOneRecordPerCharacter) {
    using namespace kotari::czech;
    for (int i = 0; i < kCharTableSize; ++i) {
        EXPECT_GT(kCharTable[i].count, 0) << i;
        EXPECT_LE(kCharTable[i].count, kMaxCells) << i;
        for (int j = i + 1; j < kCharTableSize; ++j) EXPECT_NE(kCharTable[i].ch, kCharTable[j].ch) << i << " " << j;
    }
}

TEST(Czech, CapitalSigns) {
    EXPECT_EQ(Czech(u"A"), Cells({0x20, 0x01}));
    EXPECT_EQ(Czech(u"Praha"), Cells({0x20, 0x0F, 0x17, 0x01, 0x13, 0x01}));
    // A run of capitals: 30 once, no signs after it.
    EXPECT_EQ(Czech(u"ČR"), Cells({0x30, 0x29, 0x17}));
    EXPECT_EQ(Czech(u"ČR a SR"), Cells({0x30, 0x29, 0x17, 0x00, 0x01, 0x00, 0x30, 0x0E, 0x17}));
    // Small letters after a run: the separator 10 once, then plain letters.
    EXPECT_EQ(Czech(u"ABcd"), Cells({0x30, 0x01, 0x03, 0x10, 0x09, 0x19}));
    // A symbol with flag 0x40 ends the run; the next capital needs its sign again.
    EXPECT_EQ(Czech(u"AB&C"), Cells({0x30, 0x01, 0x03, 0x3C, 0x2F, 0x20, 0x09}));
}

TEST(Czech, Numbers) {
    EXPECT_EQ(Czech(u"12"), Cells({0x3C, 0x01, 0x03}));
    EXPECT_EQ(Czech(u"1a"), Cells({0x3C, 0x01, 0x10, 0x01}));
    EXPECT_EQ(Czech(u"3,5"), Cells({0x3C, 0x09, 0x02, 0x11}));
    EXPECT_EQ(Czech(u"3.5"), Cells({0x3C, 0x09, 0x04, 0x11}));
    // Letters after a–j need no separator; a blank ends the number.
    EXPECT_EQ(Czech(u"5k"), Cells({0x3C, 0x11, 0x05}));
    EXPECT_EQ(Czech(u"1 2"), Cells({0x3C, 0x01, 0x00, 0x3C, 0x03}));
    // A capital ends the number: the digit after it carries the number sign again.
    EXPECT_EQ(Czech(u"1A2"), Cells({0x3C, 0x01, 0x20, 0x01, 0x3C, 0x03}));
    EXPECT_EQ(Czech(u"m²"), Cells({0x0D, 0x3C, 0x03}));
    // A full stop keeps a number going but does not start one: no separator in "x.cz".
    EXPECT_EQ(Czech(u"x.cz"), Cells({0x2D, 0x04, 0x09, 0x35}));
}

TEST(Czech, SymbolsAndPrefixes) {
    EXPECT_EQ(Czech(u"%"), Cells({0x3C, 0x0F}));  // prefix 3C
    EXPECT_EQ(Czech(u"_"), Cells({0x20, 0x24}));  // prefix 20
    EXPECT_EQ(Czech(u"`"), Cells({0x18, 0x08}));  // prefix 18
    EXPECT_EQ(Czech(u"{"), Cells({0x28, 0x26}));  // prefix 28
    EXPECT_EQ(Czech(u"+"), Cells({0x32}));  // no prefix flag: cell alone
    EXPECT_EQ(Czech(u"…"), Cells({0x04, 0x04, 0x04}));
    EXPECT_EQ(Czech(u"£"), Cells({0x07, 0x0A, 0x03, 0x17, 0x01}));
    EXPECT_EQ(Czech(u"a\tb\nc"), Cells({0x01, 0x00, 0x03, 0x00, 0x09}));
}

TEST(Czech, UnknownCharacters) {
    EXPECT_EQ(Czech(u"中"), Cells({0x22}));
    EXPECT_EQ(Czech(u"a中b"), Cells({0x01, 0x22, 0x03}));
    // A character outside the basic plane is one unknown character; a lone surrogate too.
    EXPECT_EQ(Czech(u"\U0001F600"), Cells({0x22}));
    EXPECT_EQ(Czech(std::u16string(1, char16_t(0xD800))), Cells({0x22}));
    EXPECT_TRUE(Czech(u"").empty());
}

TEST(Czech, SlovakLetters) {
    EXPECT_EQ(Czech(u"ľ ĺ ô ŕ ä"), Cells({0x38, 0x00, 0x28, 0x00, 0x3E, 0x00, 0x37, 0x00, 0x08}));
    EXPECT_EQ(Czech(u"Ľ"), Cells({0x20, 0x38}));
}

}  // namespace
