// Characters per second of the Czech, German (grades 1 and 2), Spanish and
// Russian translators on the comparison texts in tests/data, with liblouis on
// the same text beside each.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "KotariEngine.h"
#ifdef VELUMI_HAVE_LOUIS
#include <liblouis/liblouis.h>
#endif

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

using bench_support::Characters;
using bench_support::Decode;

// The file's lines joined by spaces, cut into texts of at most 2000 characters
// at line ends, as the SDK would send them.
std::vector<std::u32string> Texts(const char *file) {
    std::ifstream in(std::string(VELUMI_TEST_DATA_DIR) + "/" + file);
    std::vector<std::u32string> texts(1);
    std::string line;
    while (std::getline(in, line)) {
        std::u32string l = Decode(line);
        if (texts.back().size() + l.size() + 1 > 2000) texts.emplace_back();
        if (!texts.back().empty()) texts.back() += U' ';
        texts.back() += l;
    }
    return texts;
}

void BM_Engine(benchmark::State &state) {
    const Language &lang = kLanguages[state.range(0)];
    const auto texts = Texts(lang.file);
    std::vector<std::vector<uint16_t>> inputs;
    for (const auto &t : texts) {
        std::vector<uint16_t> u;
        for (char32_t c : t) u.push_back(static_cast<uint16_t>(c));  // the data is in the basic plane
        u.push_back(0);
        inputs.push_back(u);
    }
    TranslatorOptions o{};
    o.language = lang.code;
    o.lineCells = 40;
    o.germanGrade = lang.germanGrade;
    bench_support::TranslateEach(state, inputs, o, static_cast<double>(Characters(texts)));
    state.SetLabel(lang.file);
}

#ifdef VELUMI_HAVE_LOUIS
void BM_Louis(benchmark::State &state) {
    const Language &lang = kLanguages[state.range(0)];
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    const auto texts = Texts(lang.file);
    std::vector<std::vector<widechar>> inputs;
    for (const auto &t : texts) inputs.emplace_back(t.begin(), t.end());
    std::vector<widechar> out(4 * 2048 + 64);
    for (auto _ : state) {
        for (const auto &in : inputs) {
            int inlen = static_cast<int>(in.size());
            int outlen = static_cast<int>(out.size());
            if (!lou_translateString(lang.louisTable, in.data(), &inlen, out.data(), &outlen, nullptr, nullptr, 0)) {
                state.SkipWithError("liblouis failed");
                return;
            }
            benchmark::DoNotOptimize(outlen);
        }
    }
    state.counters["chars"] = benchmark::Counter(static_cast<double>(Characters(texts)) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
    state.SetLabel(lang.louisTable);
}
#endif

// 0 Czech, 1 German grade 1, 2 German grade 2, 3 Spanish, 4 Russian.
BENCHMARK(BM_Engine)->DenseRange(0, 4);
#ifdef VELUMI_HAVE_LOUIS
BENCHMARK(BM_Louis)->DenseRange(0, 4);
#endif

}  // namespace

BENCHMARK_MAIN();
