// Agreement with liblouis on the word and sentence lists in tests/data: a floor
// under the share of lines that give liblouis's cells, so that a table or rule
// change that loses agreement is noticed.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "european/latin_test_util.h"
#include "test_support.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis.h>

namespace {

using latin_test::Cells;

using test_support::U16;

Cells Louis(const std::string &table, const std::u16string &text) {
    Cells cells;
    if (!test_support::LouisCells(table, text, cells)) return {};
    test_support::TrimTrailingBlanks(cells);
    return cells;
}

double Agreement(const char *file, int language, int frenchGrade, const std::string &table) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    std::ifstream in(std::string(VELUMI_TEST_DATA_DIR) + "/" + file);
    EXPECT_TRUE(in.good()) << file;
    TranslatorOptions o = kotari::DefaultOptions(language);
    o.frenchGrade = frenchGrade;
    const kotari::Translator fn = kotari::TranslatorFor(language);
    int same = 0, total = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        const std::u16string text = U16(line);
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
