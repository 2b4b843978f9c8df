// French translator: uncontracted rules and the contracted tables.
#include <gtest/gtest.h>

#include "european/latin_test_util.h"

namespace {

using latin_test::Cells;

Cells Fr(const std::u16string &text, int grade = 1) {
    TranslatorOptions o = kotari::DefaultOptions(6);
    o.frenchGrade = grade;
    return latin_test::RunTranslator(kotari::TranslateFrench, text, o);
}
Cells Fr2(const std::u16string &text) { return Fr(text, 2); }

TEST(French, NumbersTakeThePrefixOnceAndRaisedDigits) {
    EXPECT_EQ(Fr(u"12"), (Cells{0x20, 0x21, 0x23}));
    EXPECT_EQ(Fr(u"3456789 0"), (Cells{0x20, 0x29, 0x39, 0x31, 0x2B, 0x3B, 0x33, 0x2A, 0, 0x20, 0x3C}));
    // + = × ÷ belong to the number; a comma does not end it, a space does.
    EXPECT_EQ(Fr(u"2+2=4"), (Cells{0x20, 0x23, 0x16, 0x23, 0x36, 0x39}));
    EXPECT_EQ(Fr(u"6×2÷3"), (Cells{0x20, 0x2B, 0x14, 0x23, 0x12, 0x29}));
    EXPECT_EQ(Fr(u"1,5"), (Cells{0x20, 0x21, 0x02, 0x31}));
    // A letter does not end number mode either; a character of no class does.
    EXPECT_EQ(Fr(u"1a2"), (Cells{0x20, 0x21, 0x01, 0x23}));
    EXPECT_EQ(Fr(u"1\u20122"), (Cells{0x20, 0x21, 0x20, 0x23}));
}

TEST(French, GradeOneWritesLetterByLetter) {
    EXPECT_EQ(Fr(u"absolument"), (Cells{0x01, 0x03, 0x0E, 0x15, 0x07, 0x25, 0x0D, 0x11, 0x1D, 0x1E}));
    EXPECT_EQ(Fr(u"bien"), (Cells{0x03, 0x0A, 0x11, 0x1D}));
    EXPECT_EQ(Fr(u"àâçèéêëîïôöùûüœw"),
        (Cells{0x37, 0x21, 0x2F, 0x2E, 0x3F, 0x23, 0x2B, 0x29, 0x3B, 0x39, 0x2A, 0x3E, 0x31, 0x33, 0x2A, 0x3A}));
}

TEST(French, CapitalModes) {
    // A capital followed by small letters: one sign per capital (mode 2).
    EXPECT_EQ(Fr(u"Le"), (Cells{0x28, 0x07, 0x11}));
    EXPECT_EQ(Fr(u"McDo"), (Cells{0x28, 0x0D, 0x09, 0x28, 0x19, 0x15}));
    // Capitals to the end of the word: one sign for the run (mode 1).
    EXPECT_EQ(Fr(u"ONU a"), (Cells{0x28, 0x15, 0x1D, 0x25, 0, 0x01}));
    EXPECT_EQ(Fr(u"ÉTÉ"), (Cells{0x28, 0x3F, 0x1E, 0x3F}));
    // A separator ends the run: the next capital is marked again.
    EXPECT_EQ(Fr(u"A-B"), (Cells{0x28, 0x01, 0x24, 0x28, 0x03}));
    // Œ is marked in capital mode 0 only.
    EXPECT_EQ(Fr(u"Œ"), (Cells{0x28, 0x2A}));
    EXPECT_EQ(Fr(u"ŒIL"), (Cells{0x28, 0x2A, 0x28, 0x0A, 0x07}));
}

TEST(French, SpacesBeforeClosingPunctuationAndAfterOpeningAreDropped) {
    EXPECT_EQ(Fr(u"oui !"), (Cells{0x15, 0x25, 0x0A, 0x16}));
    EXPECT_EQ(Fr(u"a ; b"), (Cells{0x01, 0x06, 0, 0x03}));
    EXPECT_EQ(Fr(u"« a »"), (Cells{0x36, 0x01, 0x36}));
    EXPECT_EQ(Fr(u"( a )"), (Cells{0x26, 0x01, 0x34}));
    EXPECT_EQ(Fr(u"a - b"), (Cells{0x01, 0, 0x24, 0, 0x03}));
    // The rule holds in a text of two characters too.
    EXPECT_EQ(Fr(u" !"), (Cells{0x16}));
    // Line breaks and tabs separate words like spaces.
    EXPECT_EQ(Fr(u"a\nb\tc"), (Cells{0x01, 0, 0x03, 0, 0x09}));
}

TEST(French, SeparatorCells) {
    struct Case {
        char16_t c;
        Cells cells;
    } cases[] = {
        {u'#', {0x10, 0x3C}}, {u'$', {0x18, 0x0E}}, {u'%', {0x10, 0x2C}}, {u'&', {0x10, 0x3F}}, {u'\'', {0x04}},
        {u'*', {0x10, 0x14}}, {u'/', {0x0C}}, {u'<', {0x10, 0x23}}, {u'>', {0x10, 0x1C}}, {u'@', {0x1C}},
        {u'[', {0x18, 0x26}}, {u'\\', {0x10, 0x0C}}, {u']', {0x34, 0x03}}, {u'_', {0x10, 0x24}},
        {u'{', {0x20, 0x20, 0x26}}, {u'}', {0x34, 0x04, 0x04}}, {u'~', {0x10, 0x22}}, {0x2026, {0x32, 0x32, 0x32}},
        {0x2030, {0x10, 0x2C, 0x2C}}, {0xA3, {0x18, 0x07}}, {0xB0, {0x10, 0x15}}, {0xB2, {0x08, 0x23}},
        {0xB3, {0x08, 0x29}}, {0x3C0, {0x18, 0x0F}}, {0x2013, {0x24, 0x24}}, {0x20AC, {0x18, 0x11}}, {0x2019, {0x04}},
        {u'^', {0x08}}, {0x89, {}},  // a control character, not the per mille sign
    };
    for (const Case &c : cases) EXPECT_EQ(Fr(std::u16string(1, c.c)), c.cells) << std::hex << int(c.c);
    // Characters of no class write nothing.
    EXPECT_EQ(Fr(u"a\u4E2Db"), (Cells{0x01, 0x03}));
}

TEST(French, CaretAndPerMille) {
    EXPECT_EQ(Fr(u"4^2"), (Cells{0x20, 0x39, 0x08, 0x23}));  // not "42"
    EXPECT_EQ(Fr(u"5\u2030"), (Cells{0x20, 0x31, 0x10, 0x2C, 0x2C}));
}

TEST(French, GradeTwoWordStartTable) {
    struct Case {
        const char16_t *word;
        Cells cells;
    } cases[] = {
        {u"absolu", {0x01, 0x03}},
        {u"absolument", {0x01, 0x03, 0x0D}},
        {u"action", {0x01, 0x3C}},
        {u"afin", {0x01, 0x0B}},
        {u"ai", {0x0C}},
        {u"beaucoup", {0x03, 0x09}},
        {u"besoin", {0x03, 0x14}},
        {u"bien", {0x03}},
        {u"ce", {0x09}},
        {u"ceci", {0x09, 0x09}},
        {u"cela", {0x09, 0x01}},
        {u"celui", {0x24}},
        {u"c'est-à-dire", {0x09, 0x04, 0x11, 0x24, 0x37, 0x24, 0x19}},
        {u"à cause", {0x37, 0x38, 0x09}},
        {u"à peu près", {0x37, 0x38, 0x0F, 0x38, 0x16}},
        {u"égal", {0x3F, 0x1B}},
        {u"élément", {0x3F, 0x07}},
        {u"être", {0x23, 0x34}},
    };
    for (const Case &c : cases) EXPECT_EQ(Fr2(c.word), c.cells) << std::string(c.word, c.word + 1);
    // A plural s follows the entry; capitals are looked up by their small letter.
    EXPECT_EQ(Fr2(u"biens"), (Cells{0x03, 0x0E}));
    EXPECT_EQ(Fr2(u"Bien."), (Cells{0x28, 0x03, 0x32}));
    // The entry must end the word.
    EXPECT_NE(Fr2(u"bienx"), (Cells{0x03, 0x2D}));
    // œ is written directly, never looked up.
    EXPECT_EQ(Fr2(u"œuvre")[0], 0x2A);
}

TEST(French, GradeTwoInWordGroups) {
    EXPECT_EQ(Fr2(u"table"), (Cells{0x1E, 0x18}));  // able at the word end
    EXPECT_EQ(Fr2(u"chant"), (Cells{0x37, 0x39}));  // ch, ant
    EXPECT_EQ(Fr2(u"blanc"), (Cells{0x18, 0x02, 0x09}));  // bl, an before a consonant
    // Doubled cells: x then the group ex (also 2D) is undone and written letter by letter.
    EXPECT_EQ(Fr2(u"xexp"), (Cells{0x2D, 0x11, 0x2D, 0x0F}));
}

TEST(French, GradeTwoGroupsStartingWithAnAccentedLetter) {
    // -érien, -édien, -ïdien: ien is 32 after the accented letter's group, as at a consonant.
    EXPECT_EQ(Fr2(u"n\u00e9ocimm\u00e9rien"), (Cells{0x1D, 0x3F, 0x15, 0x09, 0x0A, 0x0D, 0x0D, 0x3F, 0x17, 0x32}));
    EXPECT_EQ(Fr2(u"com\u00e9dien"), (Cells{0x09, 0x15, 0x0D, 0x3F, 0x19, 0x32}));
    EXPECT_EQ(Fr2(u"h\u00e9ro\u00efdien"), (Cells{0x13, 0x3F, 0x17, 0x15, 0x3B, 0x19, 0x32}));
    // A word-end group needs letters before it: alone, érien is é r i en.
    EXPECT_EQ(Fr2(u"\u00e9rien"), (Cells{0x3F, 0x17, 0x0A, 0x22}));
    EXPECT_EQ(Fr2(u"able"), (Cells{0x01, 0x18, 0x11}));  // while table ends in the group able
}

TEST(French, GradeTwoLeavesCapitalisedWordsInsideASentenceUncontracted) {
    // First word of the text: contracted; after a space: written out.
    EXPECT_EQ(Fr2(u"Bien Bien"), (Cells{0x28, 0x03, 0, 0x28, 0x03, 0x0A, 0x11, 0x1D}));
    // After a full stop the next word starts a sentence again.
    EXPECT_EQ(Fr2(u"a. Bien"), (Cells{0x01, 0x32, 0, 0x28, 0x03}));
    // Small words are contracted anywhere.
    EXPECT_EQ(Fr2(u"il bien"), (Cells{0x0A, 0, 0x03}));
}

TEST(French, GradeTwoUsesSeparatorsAsWordBoundaries) {
    EXPECT_EQ(Fr2(u"(bien)"), (Cells{0x26, 0x03, 0x34}));
    EXPECT_EQ(Fr2(u"l'action"), (Cells{0x07, 0x04, 0x01, 0x3C}));
}

TEST(French, WorstCaseInputStaysInsideTheBuffer) {
    for (int grade : {1, 2}) {
        TranslatorOptions o = kotari::DefaultOptions(6);
        o.frenchGrade = grade;
        for (const char16_t *unit : {u"Ã{", u"{", u"…", u"ã", u"à peu près "})
            latin_test::ExpectLongestTextFits(kotari::TranslateFrench, unit, o);
    }
}

TEST(French, ThroughTheExportIsWrapped) {
    EXPECT_EQ(latin_test::ThroughExport(6, 4, u"bien a"), (Cells{0x03, 0x0A, 0x11, 0x1D, 0x01, 0, 0, 0}));
}

}  // namespace
