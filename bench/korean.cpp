// Characters per second of the Korean translator and of liblouis ko-g2.ctb on
// the Korean sentence corpus (tests/data/korean_sentences.txt): sentence by
// sentence, and joined into texts of up to 2000 characters as the SDK sends.
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

using bench_support::Characters;
using bench_support::Decode;

// joined = false: one text per sentence; true: sentences joined by spaces into
// texts of at most 2000 characters.
std::vector<std::u32string> Texts(bool joined) {
    std::ifstream in(std::string(VELUMI_TEST_DATA_DIR) + "/korean_sentences.txt");
    std::vector<std::u32string> texts;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::u32string l = Decode(line);
        if (!joined || texts.empty() || texts.back().size() + l.size() + 1 > 2000) {
            texts.push_back(l);
        } else {
            texts.back() += U' ';
            texts.back() += l;
        }
    }
    return texts;
}

std::vector<uint16_t> Utf16(const std::u32string &t) {
    std::vector<uint16_t> u;
    for (char32_t c : t) {
        if (c >= 0x10000) {
            u.push_back(static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            u.push_back(static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            u.push_back(static_cast<uint16_t>(c));
        }
    }
    u.push_back(0);
    return u;
}

void BM_KoreanEngine(benchmark::State &state) {
    const bool joined = state.range(0) != 0;
    const auto texts = Texts(joined);
    std::vector<std::vector<uint16_t>> inputs;
    for (const auto &t : texts) inputs.push_back(Utf16(t));
    TranslatorOptions o{};
    o.language = 10;
    o.englishGrade = 1;
    o.markComputerText = 1;
    o.lineCells = 32;
    bench_support::TranslateEach(state, inputs, o, static_cast<double>(Characters(texts)));
    state.SetLabel(joined ? "KotariEngine, 2000-character texts" : "KotariEngine, sentences");
}

#ifdef VELUMI_HAVE_LOUIS
void BM_KoreanLouis(benchmark::State &state) {
    const bool joined = state.range(0) != 0;
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    const auto texts = Texts(joined);
    // widechar is 32 bits on this machine's liblouis (lou_charSize() == 4), so
    // code points are passed as they are.
    static_assert(sizeof(widechar) == 4 || sizeof(widechar) == 2, "unexpected widechar");
    std::vector<std::vector<widechar>> inputs;
    for (const auto &t : texts) {
        if (sizeof(widechar) == 4) {
            inputs.emplace_back(t.begin(), t.end());
        } else {
            std::vector<uint16_t> u = Utf16(t);
            inputs.emplace_back(u.begin(), u.end() - 1);
        }
    }
    std::vector<widechar> out(8 * 2048 + 64);
    for (auto _ : state) {
        for (const auto &in : inputs) {
            int inlen = static_cast<int>(in.size());
            int outlen = static_cast<int>(out.size());
            if (!lou_translateString("unicode.dis,ko-g2.ctb", in.data(), &inlen, out.data(), &outlen, nullptr, nullptr,
                    0)) {
                state.SkipWithError("liblouis failed");
                return;
            }
            benchmark::DoNotOptimize(outlen);
        }
    }
    state.counters["chars"] =
        benchmark::Counter(static_cast<double>(Characters(texts)) * state.iterations(), benchmark::Counter::kIsRate);
    state.SetLabel(joined ? "liblouis ko-g2.ctb, 2000-character texts" : "liblouis ko-g2.ctb, sentences");
}
#endif

// 0: sentence by sentence, 1: joined texts.
BENCHMARK(BM_KoreanEngine)->Arg(0)->Arg(1);
#ifdef VELUMI_HAVE_LOUIS
BENCHMARK(BM_KoreanLouis)->Arg(0)->Arg(1);
#endif

}  // namespace

BENCHMARK_MAIN();
