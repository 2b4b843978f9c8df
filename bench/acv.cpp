// Characters per second of the Arabic, Chinese (modes 1, 2 and 3) and Vietnamese
// (both rule sets) translators on the comparison texts in tests/data, with
// liblouis on the same text beside each.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "KotariEngine.h"

#include "bench_support.h"

namespace {

struct Language {
    const char *file;
    int code;
    int option;  // Chinese mode or Vietnamese rule set
    const char *louisTable;
};

const Language kLanguages[] = {
    {"arabic_words.txt", KOTARI_LANGUAGE_ARABIC, 0, "unicode.dis,ar-ar-g1.utb"},
    {"chinese_sentences.txt", KOTARI_LANGUAGE_CHINESE_SIMPLIFIED, 1, "unicode.dis,zhcn-g1.ctb"},
    {"chinese_sentences.txt", KOTARI_LANGUAGE_CHINESE_SIMPLIFIED, 2, "unicode.dis,zhcn-g1.ctb"},
    {"chinese_sentences.txt", KOTARI_LANGUAGE_CHINESE_SIMPLIFIED, 3, "unicode.dis,zhcn-g2.ctb"},
    {"vietnamese_words.txt", KOTARI_LANGUAGE_VIETNAMESE, 1, "unicode.dis,vi-vn-g0.utb"},
    {"vietnamese_words.txt", KOTARI_LANGUAGE_VIETNAMESE, 2, "unicode.dis,vi-vn-g0.utb"},
};

void BM_Engine(benchmark::State &state) {
    const Language &lang = kLanguages[state.range(0)];
    TranslatorOptions o{};
    o.language = lang.code;
    o.lineCells = 40;
    o.englishGrade = 1;
    o.chineseMode = lang.code == KOTARI_LANGUAGE_CHINESE_SIMPLIFIED ? lang.option : 1;
    o.vietnameseVariant = lang.code == KOTARI_LANGUAGE_VIETNAMESE ? lang.option : 2;
    bench_support::TranslateFile(state, lang.file, o);
}

// 0 Arabic, 1-3 Chinese modes 1-3, 4-5 Vietnamese rule sets 1-2 (liblouis: the
// table each is compared with; modes 1 and 2 both against zhcn-g1).
BENCHMARK(BM_Engine)->DenseRange(0, 5);
[[maybe_unused]] const int kLouisRuns = bench_support::RegisterLouisRuns(kLanguages);

}  // namespace

BENCHMARK_MAIN();
