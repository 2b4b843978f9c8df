#include "european_test_util.h"

namespace {

using european_test::Cells;
using european_test::Translate;

std::vector<uint8_t> Spanish(const std::u16string &text) { return Translate(kotari::TranslateSpanish, text); }

TEST(Spanish, Capitals) {
    EXPECT_EQ(Spanish(u"ONU"), Cells({0x28, 0x28, 0x15, 0x1D, 0x25}));
    EXPECT_EQ(Spanish(u"XIV "), Cells({0x28, 0x2D, 0x0A, 0x27, 0x00}));
    EXPECT_EQ(Spanish(u"MCM."), Cells({0x28, 0x0D, 0x09, 0x0D, 0x04}));  // M is a Roman numeral letter
    EXPECT_EQ(Spanish(u"IF"), Cells({0x28, 0x28, 0x0A, 0x0B}));  // F is not
    EXPECT_EQ(Spanish(u"Ana"), Cells({0x28, 0x01, 0x1D, 0x01}));
    EXPECT_EQ(Spanish(u"La UE."), Cells({0x28, 0x07, 0x01, 0x00, 0x28, 0x28, 0x25, 0x11, 0x04}));
    // Capitals running into small letters are marked one by one.
    EXPECT_EQ(Spanish(u"ONGs"), Cells({0x28, 0x15, 0x28, 0x1D, 0x28, 0x1B, 0x0E}));
    // A digit closes the run like a separator.
    EXPECT_EQ(Spanish(u"MP3"), Cells({0x28, 0x28, 0x0D, 0x0F, 0x3C, 0x09}));
    EXPECT_EQ(Spanish(u"ÁÉ"), Cells({0x28, 0x28, 0x37, 0x2E}));
}

TEST(Spanish, Numbers) {
    EXPECT_EQ(Spanish(u"2a"), Cells({0x3C, 0x03, 0x10, 0x01}));
    EXPECT_EQ(Spanish(u"2k"), Cells({0x3C, 0x03, 0x05}));
    EXPECT_EQ(Spanish(u"3,5"), Cells({0x3C, 0x09, 0x02, 0x11}));
    EXPECT_EQ(Spanish(u"1 2"), Cells({0x3C, 0x01, 0x00, 0x3C, 0x03}));
    // The capital sign ends the number, so a capital after a digit keeps its sign.
    EXPECT_EQ(Spanish(u"2B"), Cells({0x3C, 0x03, 0x28, 0x03}));
}

TEST(Spanish, FractionsAndOrdinals) {
    EXPECT_EQ(Spanish(u"1/2"), Cells({0x3C, 0x02, 0x03}));
    EXPECT_EQ(Spanish(u"3/40"), Cells({0x3C, 0x12, 0x19, 0x1A}));
    EXPECT_EQ(Spanish(u"10/20"), Cells({0x3C, 0x02, 0x34, 0x03, 0x1A}));
    // More digits before the slash than after: a plain slash, a new number after it.
    EXPECT_EQ(Spanish(u"12/3"), Cells({0x3C, 0x01, 0x03, 0x20, 0x02, 0x3C, 0x09}));
    EXPECT_EQ(Spanish(u"a/b"), Cells({0x01, 0x20, 0x02, 0x03}));
    EXPECT_EQ(Spanish(u"#/"), Cells({0x3C, 0x20, 0x02}));
    EXPECT_EQ(Spanish(u"1º"), Cells({0x3C, 0x02, 0x15}));
    EXPECT_EQ(Spanish(u"2ª"), Cells({0x3C, 0x06, 0x01}));
    EXPECT_EQ(Spanish(u"aº"), Cells({0x01, 0x20, 0x1B}));
    EXPECT_EQ(Spanish(u"½"), Cells({0x3E, 0x02, 0x03}));
}

TEST(Spanish, PunctuationAndOtherCharacters) {
    EXPECT_EQ(Spanish(u"¿Qué?"), Cells({0x22, 0x28, 0x1F, 0x25, 0x2E, 0x22}));
    EXPECT_EQ(Spanish(u"¡Olé!"), Cells({0x16, 0x28, 0x15, 0x07, 0x2E, 0x16}));
    EXPECT_EQ(Spanish(u"5 €"), Cells({0x3C, 0x11, 0x00, 0x38, 0x11}));
    EXPECT_EQ(Spanish(u"año"), Cells({0x01, 0x3B, 0x15}));
    EXPECT_EQ(Spanish(u"a~b"), Cells({0x01, 0x03}));  // a separator without cells
    EXPECT_EQ(Spanish(u"a中b"), Cells({0x01, 0x03}));  // any other character writes nothing
    // Line breaks and dashes separate words instead of joining them.
    EXPECT_EQ(Spanish(u"a\nb—c"), Cells({0x01, 0x00, 0x03, 0x24, 0x24, 0x09}));
    // An unknown character closes a run and ends a number.
    EXPECT_EQ(Spanish(u"ONU中1中2"), Cells({0x28, 0x28, 0x15, 0x1D, 0x25, 0x3C, 0x01, 0x3C, 0x03}));
}

}  // namespace
