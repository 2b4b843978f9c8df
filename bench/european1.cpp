// Characters per second of the Czech, German (grades 1 and 2), Spanish and
// Russian translators on the comparison texts in tests/data, with liblouis on
// the same text beside each.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "KotariEngine.h"

#include "bench_support.h"

namespace {

struct Language {
    const char *file;
    int code;
    int germanGrade;
    const char *louisTable;
};

const Language kLanguages[] = {
    {"czech_words.txt", 16, 2, "unicode.dis,cs-g1.ctb"},
    {"german_words.txt", 7, 1, "unicode.dis,de-g0.utb"},
    {"german_words.txt", 7, 2, "unicode.dis,de-g1.ctb"},
    {"spanish_words.txt", 12, 2, "unicode.dis,es-g1.ctb"},
    {"russian_words.txt", 11, 2, "unicode.dis,ru-litbrl.ctb"},
};

void BM_Engine(benchmark::State &state) {
    const Language &lang = kLanguages[state.range(0)];
    TranslatorOptions o{};
    o.language = lang.code;
    o.lineCells = 40;
    o.germanGrade = lang.germanGrade;
    bench_support::TranslateFile(state, lang.file, o);
}

// 0 Czech, 1 German grade 1, 2 German grade 2, 3 Spanish, 4 Russian.
BENCHMARK(BM_Engine)->DenseRange(0, 4);
[[maybe_unused]] const int kLouisRuns = bench_support::RegisterLouisRuns(kLanguages);

}  // namespace

BENCHMARK_MAIN();
