// Agreement with liblouis on the word and sentence lists in tests/data: a floor
// under the share of lines that give liblouis's cells, so that a table or rule
// change that loses agreement is noticed.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "european/latin_test_util.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis.h>

namespace {

using latin_test::Cells;

std::u16string Utf16(const std::string &s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        char32_t cp;
        int len;
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c >> 5) == 6) { cp = c & 0x1F; len = 2; }
        else if ((c >> 4) == 14) { cp = c & 0x0F; len = 3; }
        else { cp = c & 0x07; len = 4; }
        for (int k = 1; k < len && i + k < s.size(); ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

Cells Louis(const std::string &table, const std::u16string &text) {
    std::vector<widechar> in(text.begin(), text.end());
    std::vector<widechar> out(4 * in.size() + 64);
    int inlen = static_cast<int>(in.size()), outlen = static_cast<int>(out.size());
    const std::string tables = "unicode.dis," + table;
    if (!lou_translateString(tables.c_str(), in.data(), &inlen, out.data(), &outlen, nullptr, nullptr, 0)) return {};
    Cells cells;
    for (int i = 0; i < outlen; ++i)
        cells.push_back(out[i] >= 0x2800 && out[i] <= 0x28FF ? static_cast<uint8_t>(out[i] - 0x2800) : 0);
    while (!cells.empty() && cells.back() == 0) cells.pop_back();
    return cells;
}

double Agreement(const char *file, int language, int frenchGrade, const std::string &table) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    std::ifstream in(std::string(VELUMI_TEST_DATA_DIR) + "/" + file);
    EXPECT_TRUE(in.good()) << file;
    TranslatorOptions o = latin_test::Options(language);
    o.frenchGrade = frenchGrade;
    const kotari::Translator fn = kotari::TranslatorFor(language);
    int same = 0, total = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        const std::u16string text = Utf16(line);
        Cells ours = latin_test::RunTranslator(fn, text, o);
        while (!ours.empty() && ours.back() == 0) ours.pop_back();
        ++total;
        if (ours == Louis(table, text)) ++same;
    }
    return total ? 100.0 * same / total : 0.0;
}

TEST(LatinLouisAgreement, French) {
    EXPECT_GE(Agreement("french_words.txt", 6, 2, "fr-bfu-g2.ctb"), 90.0);
    EXPECT_GE(Agreement("french_words.txt", 6, 1, "fr-bfu-comp6.utb"), 95.0);
    EXPECT_GE(Agreement("french_sentences.txt", 6, 2, "fr-bfu-g2.ctb"), 80.0);
    EXPECT_GE(Agreement("french_sentences.txt", 6, 1, "fr-bfu-comp6.utb"), 85.0);
}

TEST(LatinLouisAgreement, ItalianPolishNorwegian) {
    EXPECT_GE(Agreement("italian_text.txt", 8, 1, "it.tbl"), 90.0);
    EXPECT_GE(Agreement("polish_text.txt", 17, 1, "pl.tbl"), 95.0);
    EXPECT_GE(Agreement("norwegian_text.txt", 18, 1, "no-no-g0.utb"), 95.0);
}

}  // namespace
#endif
