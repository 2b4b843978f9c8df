#include "european_test_util.h"

namespace {

using european_test::Cells;
using european_test::Translate;

std::vector<uint8_t> German(const std::u16string &text, int grade = 2) {
    kotari::g_settings.germanGrade = grade;
    auto cells = Translate(kotari::TranslateGerman, text);
    kotari::g_settings.germanGrade = 2;
    return cells;
}

TEST(German, Grade2Words) {
    EXPECT_EQ(German(u"Haus"), Cells({0x13, 0x21, 0x0E}));
    EXPECT_EQ(German(u"USA"), Cells({0x18, 0x25, 0x0E, 0x01}));
    EXPECT_EQ(German(u"eBay"), Cells({0x11, 0x28, 0x03, 0x01, 0x3D}));
    EXPECT_EQ(German(u"Museum"), Cells({0x0D, 0x25, 0x0E, 0x11, 0x25, 0x0D}));
    EXPECT_EQ(German(u"Küsschen"), Cells({0x05, 0x33, 0x0E, 0x0E, 0x39, 0x11, 0x1D}));
    EXPECT_EQ(German(u"12,5"), Cells({0x3C, 0x01, 0x03, 0x02, 0x11}));
    EXPECT_EQ(German(u"3a"), Cells({0x3C, 0x09, 0x20, 0x01}));
}

TEST(German, Grade1WritesLetterByLetter) {
    EXPECT_EQ(German(u"Haus", 1), Cells({0x13, 0x01, 0x25, 0x0E}));
    EXPECT_EQ(German(u"Schule", 1), Cells({0x0E, 0x09, 0x13, 0x25, 0x07, 0x11}));
}

TEST(German, CapitalSigns) {
    EXPECT_EQ(German(u"A"), Cells({0x18, 0x01}));  // a lone capital
    EXPECT_EQ(German(u"USAs"), Cells({0x18, 0x25, 0x0E, 0x28, 0x01, 0x0E}));
    EXPECT_EQ(German(u"McDonald"), Cells({0x28, 0x0D, 0x09, 0x28, 0x19, 0x15, 0x1D, 0x01, 0x07, 0x19}));
    EXPECT_EQ(German(u"Ab1"), Cells({0x28, 0x01, 0x03, 0x3C, 0x01}));  // a digit in the tail
    EXPECT_EQ(German(u"Öl"), Cells({0x2A, 0x07}));
}

TEST(German, Grade2GroupsInCapitalisedWords) {
    // A group may start with a capital; the word still carries no sign.
    EXPECT_EQ(German(u"Schule"), Cells({0x31, 0x25, 0x07, 0x11}));
    EXPECT_EQ(German(u"Stadt"), Cells({0x3E, 0x01, 0x19, 0x1E}));
    EXPECT_EQ(German(u"Euro"), Cells({0x23, 0x17, 0x15}));
    EXPECT_EQ(German(u"Äußerst"), Cells({0x0C, 0x2E, 0x11, 0x17, 0x3E}));
    // In a word of capitals the group keeps the run's single sign.
    EXPECT_EQ(German(u"HAUS"), Cells({0x18, 0x13, 0x21, 0x0E}));
    // A capital inside a group that would carry its own sign keeps its letters apart.
    EXPECT_EQ(German(u"aU"), Cells({0x01, 0x18, 0x25}));
}

TEST(German, Grade2Exceptions) {
    EXPECT_EQ(German(u"Jubiläum"), Cells({0x1A, 0x25, 0x03, 0x0A, 0x07, 0x1C, 0x25, 0x0D}));
    EXPECT_EQ(German(u"Häuser"), Cells({0x13, 0x0C, 0x0E, 0x11, 0x17}));
    EXPECT_EQ(German(u"Koffein"), Cells({0x05, 0x15, 0x0B, 0x0B, 0x11, 0x0A, 0x1D}));
    EXPECT_EQ(German(u"Familie"), Cells({0x0B, 0x01, 0x0D, 0x0A, 0x07, 0x0A, 0x11}));
    EXPECT_EQ(German(u"Studien"), Cells({0x3E, 0x25, 0x19, 0x0A, 0x11, 0x1D}));
    // "dient" contracts ie even though "ien"-like patterns would keep it apart.
    EXPECT_EQ(German(u"dient"), Cells({0x19, 0x2C, 0x1D, 0x1E}));
    EXPECT_EQ(German(u"Kiste"), Cells({0x05, 0x0A, 0x0E, 0x1E, 0x11}));  // "ste" at the end
    EXPECT_EQ(German(u"Liste"), Cells({0x07, 0x0A, 0x0E, 0x1E, 0x11}));
    EXPECT_EQ(German(u"Stelle"), Cells({0x3E, 0x11, 0x07, 0x07, 0x11}));  // st at the start contracts
}

TEST(German, Numbers) {
    EXPECT_EQ(German(u"1.000"), Cells({0x3C, 0x01, 0x04, 0x1A, 0x1A, 0x1A}));
    EXPECT_EQ(German(u"§5"), Cells({0x2C, 0x3C, 0x11}));
    EXPECT_EQ(German(u"a,5"), Cells({0x01, 0x02, 0x3C, 0x11}));
    EXPECT_EQ(German(u"3k"), Cells({0x3C, 0x09, 0x05}));  // k needs no separator
}

TEST(German, PunctuationAndQuotes) {
    EXPECT_EQ(German(u"\"a\" \"b\""), Cells({0x26, 0x01, 0x34, 0x00, 0x26, 0x03, 0x34}));
    EXPECT_EQ(German(u"„a“"), Cells({0x26, 0x01, 0x34}));
    EXPECT_EQ(German(u"“a”"), Cells({0x26, 0x01, 0x34}));
    EXPECT_EQ(German(u"‘a’"), Cells({0x20, 0x26, 0x01, 0x20, 0x34}));
    EXPECT_EQ(German(u"‚a‘"), Cells({0x20, 0x26, 0x01, 0x20, 0x34}));
    EXPECT_EQ(German(u"a\tb"), Cells({0x01, 0x00, 0x00, 0x03}));
    EXPECT_EQ(German(u"a\nb"), Cells({0x01, 0x00, 0x03}));
    EXPECT_EQ(German(u"50 %"), Cells({0x3C, 0x11, 0x1A, 0x00, 0x3C, 0x1A, 0x34}));
    EXPECT_EQ(German(u"‰"), Cells({0x3C, 0x1A, 0x34, 0x34}));
    EXPECT_EQ(German(u"é中"), Cells({0x22, 0x22}));
    EXPECT_EQ(German(u"\U0001F600"), Cells({0x22}));
}

}  // namespace
