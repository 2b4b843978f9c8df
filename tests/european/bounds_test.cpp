// Texts of 2047 units (the most the SDK sends) of each language's widest
// characters: no translator writes past its 6144-cell work buffer, and each stops
// on a whole character.
#include <cstring>

#include "KotariEngine.h"
#include "european_test_util.h"

namespace {

using european_test::Translate;
using european_test::WholeFit;

std::u16string Repeat(const std::u16string &unit, size_t units = 2047) {
    std::u16string s;
    while (s.size() + unit.size() <= units) s += unit;
    return s;
}

TEST(EuropeanBounds, WidestCharactersStopAtTheBuffer) {
    // £ writes 5 cells in Czech, ‰ 4 in German: both overflow and stop on whole characters.
    EXPECT_EQ(Translate(kotari::TranslateCzech, Repeat(u"£")).size(), size_t(WholeFit(5)));
    kotari::g_settings.germanGrade = 2;
    EXPECT_EQ(Translate(kotari::TranslateGerman, Repeat(u"‰")).size(), size_t(WholeFit(4)));
    EXPECT_EQ(Translate(kotari::TranslateGerman, Repeat(u"″")).size(), size_t(2047 * 3));
    EXPECT_EQ(Translate(kotari::TranslateSpanish, Repeat(u"¼")).size(), size_t(2047 * 3));
    EXPECT_EQ(Translate(kotari::TranslateRussian, Repeat(u"\uF0B2")).size(), size_t(2047 * 3));
}

TEST(EuropeanBounds, MixedWorstCases) {
    const std::u16string texts[] = {
        Repeat(u"1a"),
        Repeat(u"AB&"),
        Repeat(u"{£…"),
        Repeat(u"\t"),
        Repeat(u"A¼"),
        Repeat(u"ABC1/2"),
        Repeat(u"AAAAAAAAAAAAAAAb"),
        Repeat(u"1º"),
        Repeat(u"aБ"),
        Repeat(u"Б≤"),
        Repeat(u"x№"),
        Repeat(u"\U0001F600"),
        Repeat(u"“a"),
        Repeat(u"‘"),
    };
    const kotari::Translator translators[] = {kotari::TranslateCzech, kotari::TranslateGerman,
        kotari::TranslateSpanish, kotari::TranslateRussian};
    for (int grade : {1, 2}) {
        kotari::g_settings.germanGrade = grade;
        for (auto fn : translators)
            for (const auto &t : texts) Translate(fn, t);  // checks the guard area
    }
    kotari::g_settings.germanGrade = 2;
}

TEST(EuropeanBounds, LongerTextsStopOnWholeCharactersOrRuns) {
    // Longer than the SDK sends: Spanish and Russian fill the buffer too.
    EXPECT_EQ(Translate(kotari::TranslateSpanish, Repeat(u"¼", 5000)).size(), size_t(WholeFit(3)));
    EXPECT_EQ(Translate(kotari::TranslateRussian, Repeat(u"\uF0B2", 5000)).size(), size_t(WholeFit(3)));
    // Closing a capital run inserts a cell; at a full buffer the translation stops there.
    for (const char16_t *unit : {u"AB ", u"ABc", u"ONGs ", u"1/2 "}) {
        auto cells = Translate(kotari::TranslateSpanish, Repeat(unit, 9000));
        EXPECT_GT(cells.size(), size_t(kotari::kCellBufferSize - 8)) << cells.size();
    }
}

TEST(EuropeanBounds, ThroughTheExport) {
    const int languages[] = {7, 11, 12, 16};
    std::u16string text = Repeat(u"£‰¼\uF0B2");
    for (int lang : languages) {
        std::vector<uint16_t> input(text.begin(), text.end());
        input.push_back(0);
        TranslatorOptions o{};
        o.language = lang;
        o.lineCells = 40;
        o.germanGrade = 2;
        std::vector<uint8_t> out(2 * KOTARI_CELL_BUFFER_SIZE + 40, 0);
        int n = BrailleTranslator(input.data(), out.data(), &o);
        EXPECT_GT(n, 0) << lang;
        EXPECT_EQ(n % 40, 0) << lang;
        EXPECT_LE(n, int(out.size())) << lang;
    }
}

TEST(EuropeanBounds, ItalianEndsOnAWholeCharacter) {
    // A capital É is 28 3F: after "ab" and 2047 of "É ", the limit falls between
    // the capital sign and the letter. The sign is not left alone at the end.
    kotari::g_settings = kotari::EngineSettings{};
    auto cells = Translate(kotari::TranslateItalian, u"ab" + Repeat(u"\u00C9 ", 8000));
    ASSERT_EQ(cells.size(), size_t(kotari::kCellBufferSize - 1));
    EXPECT_EQ(cells.back(), 0x00);
    EXPECT_EQ(cells[cells.size() - 2], 0x3F);
    // ⅒ is five cells: 1228 fit whole.
    cells = Translate(kotari::TranslateItalian, Repeat(u"\u2152", 2047));
    ASSERT_EQ(cells.size(), size_t(WholeFit(5)));
    EXPECT_EQ(std::vector<uint8_t>(cells.end() - 5, cells.end()),
        european_test::Cells({0x20, 0x21, 0x0C, 0x21, 0x3C}));
}

}  // namespace
