// The engine core that every translator builds on: the cell writer at its
// limit, the text cursor over surrogates, the shared cells and the line layout
// with its keep-together markers.
#include <gtest/gtest.h>

#include <vector>

#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/line_layout.h"
#include "core/text_cursor.h"

namespace {

using Cells = std::vector<uint8_t>;

TEST(CellWriter, KeepsWholeCharactersAndStopsAtTheLimit) {
    uint8_t buf[8] = {};
    kotari::CellWriter w(buf, 5);
    w.put(0x20, 0x01);  // a capital: sign and letter
    EXPECT_TRUE(w.commit());
    w.put(0x3C);
    w.put(0x01);
    EXPECT_TRUE(w.commit());
    EXPECT_EQ(w.count(), 4);
    // Two cells where one is left: the character is taken back whole.
    w.put(0x20, 0x03);
    EXPECT_TRUE(w.full());
    EXPECT_FALSE(w.commit());
    EXPECT_EQ(w.count(), 4);
    EXPECT_EQ(w.size(), 4);
    EXPECT_EQ(Cells(buf, buf + 8), (Cells{0x20, 0x01, 0x3C, 0x01, 0, 0, 0, 0}));  // nothing past the limit
    // Once full it stays full: a later character that would fit is refused too.
    w.put(0x01);
    EXPECT_FALSE(w.commit());
    EXPECT_EQ(w.count(), 4);
}

TEST(CellWriter, FillsExactlyToTheLimit) {
    uint8_t buf[3] = {};
    kotari::CellWriter w(buf, 3);
    w.put(buf, 0);  // an empty character is kept as nothing
    EXPECT_TRUE(w.commit());
    const uint8_t three[] = {1, 2, 3};
    w.put(three, 3);
    EXPECT_TRUE(w.commit());
    EXPECT_FALSE(w.full());
    EXPECT_EQ(w.count(), 3);
}

TEST(CellWriter, EditsOfCommittedCells) {
    uint8_t buf[6] = {};
    kotari::CellWriter w(buf, 5);
    w.put(0x01, 0x03);
    w.commit();
    EXPECT_TRUE(w.insert(0, 0x28));  // committed at once
    EXPECT_EQ(w.count(), 3);
    EXPECT_TRUE(w.grow(2));
    EXPECT_EQ(w.count(), 5);
    EXPECT_FALSE(w.insert(0, 0x28));  // no room: nothing moves
    EXPECT_TRUE(w.full());
    EXPECT_EQ(Cells(buf, buf + 6), (Cells{0x28, 0x01, 0x03, 0, 0, 0}));
    w.truncate(1);
    EXPECT_EQ(w.count(), 1);
    EXPECT_EQ(Cells(buf, buf + 6), (Cells{0x28, 0, 0, 0, 0, 0}));
}

TEST(TextCursor, SurrogatePairsAndLoneSurrogates) {
    // a, U+1F600 as a pair, a lone low surrogate, a lone high surrogate before 'b', then the end.
    const char16_t text[] = {u'a', 0xD83D, 0xDE00, 0xDC00, 0xD800, u'b', 0};
    kotari::TextCursor t(text);
    std::vector<char32_t> seen;
    std::vector<int> units;
    for (; !t.done(); t.next()) {
        seen.push_back(t.codePoint());
        units.push_back(t.units());
    }
    EXPECT_EQ(seen, (std::vector<char32_t>{u'a', 0x1F600, 0xDC00, 0xD800, u'b'}));
    EXPECT_EQ(units, (std::vector<int>{1, 2, 1, 1, 1}));
    EXPECT_EQ(t.pos(), 6);
    EXPECT_EQ(t.units(), 0);
    EXPECT_EQ(kotari::CharUnitsAt(text, 1), 2);
    EXPECT_EQ(kotari::CharUnitsAt(text, 4), 1);  // a high surrogate before 'b' stands alone
}

TEST(TextCursor, LimitEndsTheTextAndSplitsNoPair) {
    const char16_t text[] = {u'x', 0xD83D, 0xDE00, u'y', 0};
    kotari::TextCursor t(text, 2);  // the limit falls inside the pair
    EXPECT_EQ(t.unit(-1), 0);
    t.next();
    EXPECT_FALSE(t.done());
    EXPECT_TRUE(t.isLoneSurrogate());  // its low half lies beyond the limit
    EXPECT_EQ(t.unit(1), 0);
    t.next();
    EXPECT_TRUE(t.done());
}

TEST(SharedCells, AlphabetAndDigits) {
    EXPECT_EQ(kotari::LetterCell(u'a'), 0x01);
    EXPECT_EQ(kotari::LetterCell(u'W'), 0x3A);
    EXPECT_EQ(kotari::DigitCell(u'1'), kotari::LetterCell(u'a'));
    EXPECT_EQ(kotari::DigitCell(u'0'), kotari::LetterCell(u'j'));
    struct Row {
        char16_t ch;
        int v;
    };
    static constexpr Row rows[] = {{u'a', 1}, {u'c', 3}, {0x2026, 9}};
    static_assert(kotari::IsSortedByChar(rows, 3), "sorted");
    EXPECT_EQ(kotari::FindSorted(rows, 3, 0x2026)->v, 9);
    EXPECT_EQ(kotari::FindSorted(rows, 3, u'b'), nullptr);
}

Cells LayOut(const Cells &in, kotari::LineRules rules) {
    Cells out(in.size() * 3 + 64, 0xEE);
    out.resize(kotari::LayOutLines(out.data(), in.data(), static_cast<int>(in.size()), rules));
    return out;
}

kotari::LineRules Rules(int width, bool marked, bool wrap = true) {
    kotari::LineRules r;
    r.width = width;
    r.markedUnits = marked;
    r.wrapWords = wrap;
    r.blankLineBeforeLongWord = false;
    return r;
}

TEST(LineLayout, MarkedUnitsStayTogetherInALongWord) {
    constexpr uint8_t A = kotari::kUnitMarkerA, B = kotari::kUnitMarkerB;
    // Units of 2, 3 and 2 cells at width 4: the second moves whole to line 2, the
    // third to line 3; the markers are stripped.
    const Cells word = {A | 1, A | 2, B | 3, B | 4, B | 5, A | 6, A | 7};
    EXPECT_EQ(LayOut(word, Rules(4, true)), (Cells{1, 2, 0, 0, 3, 4, 5, 0, 6, 7}));
    // Without markers the same cells run on over the line ends.
    EXPECT_EQ(LayOut({1, 2, 3, 4, 5, 6, 7}, Rules(4, false)), (Cells{1, 2, 3, 4, 5, 6, 7}));
    // A unit longer than the line, starting a line, runs on.
    EXPECT_EQ(LayOut({A | 1, A | 2, A | 3}, Rules(2, true)), (Cells{1, 2, 3}));
}

TEST(LineLayout, WithoutWordWrapOnlyUnitsMove) {
    constexpr uint8_t A = kotari::kUnitMarkerA;
    // Cells run over line ends and blanks stay; the marked number moves down whole.
    const Cells in = {1, 2, 0, 3, A | 4, A | 5, A | 6, 0, 7};
    EXPECT_EQ(LayOut(in, Rules(5, true, false)), (Cells{1, 2, 0, 3, 0, 4, 5, 6, 0, 7}));
}

TEST(LineLayout, CapacityEndsOnAWholeWordOrUnit) {
    constexpr uint8_t A = kotari::kUnitMarkerA, B = kotari::kUnitMarkerB;
    kotari::LineRules r = Rules(3, true);
    r.capacity = 5;
    // A short word that would pass the capacity is left out whole.
    EXPECT_EQ(LayOut({1, 1, 0, 2, 2, 0, 3, 3}, r), (Cells{1, 1, 0, 2, 2}));
    // A long word stops before the unit that does not fit.
    EXPECT_EQ(LayOut({A | 1, A | 1, B | 2, B | 2, A | 3, A | 3}, r), (Cells{1, 1, 0, 2, 2}));
}

}  // namespace
