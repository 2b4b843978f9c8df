// At the 6144-cell limit the English translator ends on a whole sign: a
// fraction is never cut after its number sign, an accent group never left open.
#include <gtest/gtest.h>

#include <string>

#include "core/engine.h"
#include "english_helpers.h"
#include "test_support.h"

namespace {

using test_support::Hex;
using test_support::RunGuarded;

std::u16string Repeat(const std::u16string &unit, size_t units) {
    std::u16string s;
    while (s.size() + unit.size() <= units) s += unit;
    return s;
}

TEST(EnglishLimit, FractionsEndWhole) {
    kotari::g_settings = kotari::EngineSettings{};
    kotari::g_settings.englishGrade = 1;
    EXPECT_EQ(Hex(RunGuarded(kotari::TranslateEnglish, u"\u2152").cells), "3C 01 0C 01 1A");
    // 2047 of them need 10235 cells: 1228 fit whole, and no number sign is left alone.
    const auto run = RunGuarded(kotari::TranslateEnglish, Repeat(u"\u2152", 2047));
    EXPECT_TRUE(run.guardIntact);
    ASSERT_EQ(run.count, 1228 * 5);
    EXPECT_EQ(Hex({run.cells.end() - 5, run.cells.end()}), "3C 01 0C 01 1A");
}

TEST(EnglishLimit, AccentGroupsAreNeverLeftOpen) {
    kotari::g_settings = kotari::EngineSettings{};
    kotari::g_settings.englishGrade = 1;
    // Each word is 20 20 18 0C 23 11 11 11 1C and a blank; wherever the limit
    // falls, the last word is whole, its group closed by 1C.
    for (const std::u16string prefix : {u"", u"a", u"ab", u"abc", u"abcd", u"abcde", u"abcdef", u"abcdefg"}) {
        const auto run = RunGuarded(kotari::TranslateEnglish, prefix + Repeat(u"\u00C9\u00C9\u00C9 ", 4000));
        EXPECT_TRUE(run.guardIntact);
        std::vector<uint8_t> cells = run.cells;
        test_support::TrimTrailingBlanks(cells);
        ASSERT_FALSE(cells.empty());
        EXPECT_EQ(cells.back(), 0x1C) << "prefix of " << prefix.size();
        EXPECT_GT(run.count, kotari::kCellBufferSize - 10);
    }
}

}  // namespace
