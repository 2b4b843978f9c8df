// Worst-case texts: nothing is written past cell 6144, whatever the text and
// the line width, and a full buffer ends on a whole syllable.
#include <string>

#include "korean_test_util.h"
#include "lang/korean/korean_tables.h"

using korean_test::Settings;
using korean_test::Translate16;

namespace {

std::u16string Repeat(const std::u16string &unit, size_t units = 2047) {
    std::u16string s;
    while (s.size() + unit.size() <= units) s += unit;
    return s;
}

Settings Width(int cells) {
    Settings st;
    st.lineCells = cells;
    return st;
}

// The Hanja with the longest reading.
char16_t WidestHanja() {
    using namespace kotari::korean;
    int best = 0;
    for (int i = 1; i < kHanjaReadingCount; ++i)
        if (kHanjaReadings[i].length > kHanjaReadings[best].length) best = i;
    return kHanjaReadings[best].ch;
}

}  // namespace

TEST(KoreanBounds, FullBufferEndsOnAWholeSyllable) {
    // 뷁 writes five cells: 1228 of them fit.
    auto cells = Translate16(Repeat(u"뷁"));
    ASSERT_EQ(cells.size(), size_t(6140));
    EXPECT_EQ(korean_test::Hex({cells.end() - 5, cells.end()}), "18 0F 17 02 01");
    // Laid out on 7-cell lines, each 뷁 stands on a line of its own.
    cells = Translate16(Repeat(u"뷁"), Width(7));
    ASSERT_EQ(cells.size(), size_t(6144));  // 877 lines of 뷁 and two blanks, then one more 뷁
    EXPECT_EQ(korean_test::Hex({cells.end() - 5, cells.end()}), "18 0F 17 02 01");
}

TEST(KoreanBounds, WorstCaseTextsAtEveryWidth) {
    const std::u16string hanja(1, WidestHanja());
    const std::u16string texts[] = {
        Repeat(hanja),
        Repeat(u"뷁"),
        Repeat(u"Ⅷ"),
        Repeat(u"ㅙ"),
        Repeat(u"①"),
        Repeat(u"₩"),
        Repeat(u"㎠"),
        Repeat(u"1년"),
        Repeat(u"가 "),
        Repeat(u"A가"),
        Repeat(u"뷁뷁뷁뷁 "),
        Repeat(u"○△"),
        Repeat(u"a@b.com "),
        Repeat(u"\"ABC\" 가"),
        Repeat(u"\U0001F600"),
        Repeat(u"\xD800"),
        Repeat(u"그리고"),
        Repeat(u"www.a.com "),
    };
    for (int width : {0, 1, 2, 3, 5, 7, 32, 40, 6144, 7000, -1}) {
        for (bool computer : {true, false}) {
            Settings st = Width(width);
            st.computer = computer;
            for (const auto &t : texts) Translate16(t, st);  // checks the guard area and the cells
        }
    }
}

TEST(KoreanBounds, OnlyTheFirst2048UnitsAreTranslated) {
    std::u16string text(2048, u'가');
    text += std::u16string(3000, u'나');
    auto cells = Translate16(text);
    ASSERT_EQ(cells.size(), size_t(2048));
    for (uint8_t c : cells) ASSERT_EQ(c, 0x2B);
    // Longer worst cases in a direct call.
    Translate16(Repeat(std::u16string(1, WidestHanja()), 9000), Width(3));
    Translate16(Repeat(u"Ⅷ뷁", 9000), Width(1));
}
