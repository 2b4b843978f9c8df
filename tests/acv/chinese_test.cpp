// Chinese: the three modes, the generated character table with its tone bits,
// the reading choice by neighbours, word-pair blanks, digits, Latin letters and
// punctuation.
#include <iconv.h>

#include <algorithm>

#include "acv_test_util.h"
#include "lang/chinese/chinese_data.h"

namespace {

using acv_test::Chinese;
using namespace kotari::chinese;

const CharRecord *Record(char16_t c) {
    const CharRecord *end = kChars + kCharCount;
    const CharRecord *r = std::find_if(kChars, end, [&](const CharRecord &x) { return (x.hi << 8 | x.lo) == c; });
    return r == end ? nullptr : r;
}
std::string RecordHex(char16_t c) {
    const CharRecord *r = Record(c);
    return r ? acv_test::Hex({r->a, r->b, r->c, r->d}) : "missing";
}

TEST(ChineseTable, RecordsKeepTheirLayoutAndToneBits) {
    EXPECT_EQ(RecordHex(u'中'), "0C F2 29 15") << "zh, ong, tone 1, several readings";
    EXPECT_EQ(RecordHex(u'国'), "5B 15 21 2A") << "tone 2";
    EXPECT_EQ(RecordHex(u'我'), "55 80 22 2E") << "tone 3, no final";
    EXPECT_EQ(RecordHex(u'大'), "99 54 0C 1A") << "tone 4";
    EXPECT_EQ(RecordHex(u'的'), "99 E2 0C 00") << "neutral tone";
}

TEST(ChineseTable, SortedAndCoversGb2312) {
    for (int i = 1; i < kCharCount; ++i)
        ASSERT_LT(kChars[i - 1].hi << 8 | kChars[i - 1].lo, kChars[i].hi << 8 | kChars[i].lo);
    iconv_t cd = iconv_open("GB2312", "UTF-16LE");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int inGb = 0, missing = 0;
    for (char16_t c = 0x4E00; c <= 0x9FA5; ++c) {
        char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)}, out[8];
        char *ip = in, *op = out;
        size_t il = 2, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) continue;
        ++inGb;
        if (!Record(c)) ++missing;
    }
    iconv_close(cd);
    EXPECT_EQ(inGb, 6763);
    EXPECT_EQ(missing, 0);
    for (int i = 0; i < kCharCount; ++i) {
        const CharRecord &r = kChars[i];
        const bool neutral = (r.a & 0x80) && ((r.a & 0x40) || (r.b & 0x80));
        EXPECT_TRUE((r.a & 0x3F) && (r.c & 0x3F) && (r.d || neutral)) << "U+" << std::hex << (r.hi << 8 | r.lo);
    }
    for (int i = 1; i < kChoiceCount; ++i) {
        const auto &a = kChoices[i - 1], &b = kChoices[i];
        ASSERT_TRUE(
            a.ch < b.ch || (a.ch == b.ch && (a.side < b.side || (a.side == b.side && a.neighbour < b.neighbour))));
    }
    for (int i = 1; i < kWordPairCount; ++i)
        ASSERT_TRUE(kWordPairs[i - 1].prev < kWordPairs[i].prev ||
                    (kWordPairs[i - 1].prev == kWordPairs[i].prev && kWordPairs[i - 1].cur < kWordPairs[i].cur));
}

TEST(Chinese, ModeOneWritesInitialFinalAndTone) {
    test_support::ExpectOutputs([](const std::string &t) { return Chinese(t); },
        {{"中", "0C 32 01"}, {"我", "15 04"}, {"的", "19"}, {"国", "1B 15 02"}, {"大", "19 14 06"}, {"它", "08 1E 14"},
            {"她", "1E 14 01"}, {"吗", "0D 14", "the neutral tone writes no tone cell"},
            {"波", "03 22 01", "o after b, p, m, f shares the cell of e"},
            {"多", "19 15 01", "uo has a cell of its own"}});
}

TEST(Chinese, ModeTwoWritesOnlyTheMarkedTones) {
    EXPECT_EQ(Chinese("中", 2), "0C 32") << "the commonest tone of zhong is left out";
    const CharRecord *r = Record(u'重');
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->c & 0x80) << "zhòng is not the commonest tone of its syllable";
    EXPECT_EQ(Chinese("重", 2), "0C 32 06");
}

TEST(Chinese, ModeThreeAbbreviationsAndRepeat) {
    EXPECT_EQ(Chinese("我们", 3), "33 02");
    EXPECT_EQ(Chinese("人人", 3).substr(6), "3C") << "a repeated character is 3C";
    test_support::ExpectOutputs([](const std::string &t) { return Chinese(t, 3); },
        {{"中国", "29 15 21 2A"}, {"她们", "08 1E 02"}, {"它的", "10 1E 0C"}, {"她", "08 1E"}, {"可以", "05 12"},
            {"是", "0B"}});
}

TEST(Chinese, NeighboursChooseTheReadingOfPolyphonicCharacters) {
    EXPECT_EQ(Chinese("行"), "13 21 02") << "xíng alone";
    EXPECT_EQ(Chinese("银行").substr(6), "13 26 02") << "háng after 银";
    EXPECT_EQ(Chinese("长"), "1F 26 02") << "cháng alone";
    EXPECT_EQ(Chinese("长大").substr(0, 8), "0C 26 04") << "zhǎng before 大";
}

TEST(Chinese, WordPairsAreFollowedByABlank) {
    EXPECT_EQ(Chinese("我们好"), "15 04 0D 34 00 13 16 04") << "我们 is a word";
    EXPECT_EQ(Chinese("我们"), "15 04 0D 34") << "no blank at the very end";
}

TEST(Chinese, DigitsLatinAndPunctuation) {
    test_support::ExpectOutputs([](const std::string &t) { return Chinese(t); },
        {{"123", "3C 01 03 09"}, {"3.5", "3C 09 04 11"}, {"abc", "30 01 03 09"}, {"中。", "0C 32 01 10 06"},
            {"：“", "24 18", "colon and opening quote are one sign"}, {"——", "20 24"}, {"……", "10 10 10"},
            {"，", "10"}, {"㐀", "", "a character outside the table writes nothing"}});
}

TEST(Chinese, AFullBufferEndsOnAWholeSyllable) {
    for (int mode : {1, 3}) {
        kotari::g_settings.chineseMode = mode;
        const auto cells = acv_test::Direct(kotari::TranslateChinese, acv_test::Repeat("中国人民，", 2000));
        ASSERT_GT(cells.size(), 6000u);
    }
    kotari::g_settings.chineseMode = 1;
    const auto cells = acv_test::Direct(kotari::TranslateChinese, acv_test::Repeat("中", 3000));
    EXPECT_EQ(cells.size(), 6144u / 3 * 3) << "whole syllables of three cells";
}

}  // namespace

namespace {

TEST(ChineseLines, ASyllableNeverPartsAtALineEnd) {
    std::u16string text = acv_test::U16("中国人民");
    TranslatorOptions o{KOTARI_LANGUAGE_CHINESE_SIMPLIFIED, 1, 0, 1, 10, 1, 1, 2, 2};
    std::vector<uint8_t> out(3 * KOTARI_CELL_BUFFER_SIZE);
    out.resize(BrailleTranslator(reinterpret_cast<uint16_t *>(text.data()), out.data(), &o));
    ASSERT_EQ(out.size(), 20u);
    const std::string all = acv_test::Hex(out);
    // 中国, the word blank, 人 fill the first line; 民 would cross its end and starts the second.
    EXPECT_EQ(all.substr(0, 29), acv_test::Hex({0x0C, 0x32, 0x01, 0x1B, 0x15, 0x02, 0x00, 0x1A, 0x34, 0x02}));
    EXPECT_EQ(out[10], 0x0D);
    EXPECT_EQ(out[13], 0x00);
}

}  // namespace
