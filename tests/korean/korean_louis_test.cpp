// Agreement with liblouis ko-g2.ctb on the Korean sentence corpus. Sentences of
// plain Hangul with . , ? must agree exactly; elsewhere the two differ by design
// (Roman indicators, the 예 separator, Korean punctuation cells that liblouis's
// table lacks, Hanja readings), so the overall share is only reported.
#include <fstream>
#include <string>
#include <vector>

#include "korean_test_util.h"
#include "test_support.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis/liblouis.h>

using namespace korean_test;

namespace {

std::vector<uint8_t> Louis(const std::u16string &u) {
    std::vector<uint8_t> cells;
    if (!test_support::LouisCells("ko-g2.ctb", u, cells)) return {};
    test_support::TrimTrailingBlanks(cells);
    return cells;
}

std::vector<uint8_t> Ours(const std::u16string &u) {
    std::vector<uint8_t> c = Translate16(u);
    while (!c.empty() && c.back() == 0) c.pop_back();
    return c;
}

// Hangul syllables, spaces, full stops, commas and question marks only, and
// none of the rules liblouis's table does not have (예 separator, 팠 in full,
// runs of full stops).
bool PlainHangul(const std::u16string &u) {
    if (u.find(u"..") != std::u16string::npos) return false;
    for (char16_t c : u) {
        if (c == u'예' || c == u'팠') return false;
        if (!((c >= 0xAC00 && c <= 0xD7A3) || c == u' ' || c == u'.' || c == u',' || c == u'?')) return false;
    }
    return true;
}

}  // namespace

TEST(KoreanLouis, CorpusAgreement) {
    std::ifstream in(VELUMI_TEST_DATA_DIR "/korean_sentences.txt");
    ASSERT_TRUE(in.good());
    std::string line;
    int total = 0, same = 0, plain = 0;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const std::u16string u = U16(line);
        ++total;
        const bool agree = Ours(u) == Louis(u);
        same += agree;
        if (PlainHangul(u)) {
            ++plain;
            EXPECT_TRUE(agree) << line << "\n  ours:     " << Hex(Ours(u)) << "\n  liblouis: " << Hex(Louis(u));
        }
    }
    EXPECT_GE(total, 200);
    EXPECT_GE(plain, 150);
    std::printf("korean_sentences.txt: %d of %d sentences as liblouis ko-g2.ctb (%d plain Hangul)\n", same, total,
        plain);
}

#endif  // VELUMI_HAVE_LOUIS
