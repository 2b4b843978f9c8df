// Characters per second of the Arabic, Chinese (modes 1, 2 and 3) and Vietnamese
// (both rule sets) translators on the comparison texts in tests/data, with
// liblouis on the same text beside each.
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
    o.englishGrade = 1;
    o.chineseMode = lang.code == KOTARI_LANGUAGE_CHINESE_SIMPLIFIED ? lang.option : 1;
    o.vietnameseVariant = lang.code == KOTARI_LANGUAGE_VIETNAMESE ? lang.option : 2;
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

// 0 Arabic, 1-3 Chinese modes 1-3, 4-5 Vietnamese rule sets 1-2 (liblouis: the
// table each is compared with; modes 1 and 2 both against zhcn-g1).
BENCHMARK(BM_Engine)->DenseRange(0, 5);
#ifdef VELUMI_HAVE_LOUIS
BENCHMARK(BM_Louis)->DenseRange(0, 5);
#endif

}  // namespace

BENCHMARK_MAIN();
