// English grade 2 translation speed: our engine against liblouis (en-ueb-g2.ctb),
// on the same corpus in one run. The corpus is the licence texts of the system
// (/usr/share/common-licenses), one paragraph per translation; the counter
// "chars" is UTF-16 characters translated per second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "KotariEngine.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis/liblouis.h>
#endif

namespace {

// Paragraphs of the licence texts, ASCII, at most 2047 characters each.
const std::vector<std::u16string> &Corpus() {
    static const std::vector<std::u16string> corpus = [] {
        std::vector<std::u16string> out;
        const char *files[] = {"GPL-3", "LGPL-2.1", "Apache-2.0", "MPL-2.0", "Artistic", "BSD", "GFDL-1.3"};
        for (const char *f : files) {
            std::ifstream in(std::string("/usr/share/common-licenses/") + f);
            std::string line, para;
            auto flush = [&] {
                if (!para.empty()) out.emplace_back(para.begin(), para.begin() + std::min<size_t>(para.size(), 2047));
                para.clear();
            };
            while (std::getline(in, line)) {
                size_t b = line.find_first_not_of(" \t");
                if (b == std::string::npos) {
                    flush();
                    continue;
                }
                if (!para.empty()) para += ' ';
                for (size_t i = b; i < line.size(); ++i)
                    para += static_cast<unsigned char>(line[i]) < 0x80 ? line[i] : ' ';
            }
            flush();
        }
        return out;
    }();
    return corpus;
}

int64_t CorpusChars() {
    int64_t n = 0;
    for (const auto &p : Corpus()) n += static_cast<int64_t>(p.size());
    return n;
}

void BM_EngineEnglishGrade2(benchmark::State &state) {
    const auto &corpus = Corpus();
    if (corpus.empty()) {
        state.SkipWithError("no corpus");
        return;
    }
    TranslatorOptions o{};
    o.language = 5;
    o.englishGrade = 2;
    o.markComputerText = 1;
    o.lineCells = 40;
    std::vector<uint8_t> out(2 * KOTARI_CELL_BUFFER_SIZE + 64);
    std::vector<uint16_t> text(2048);
    for (auto _ : state) {
        for (const auto &p : corpus) {
            std::memcpy(text.data(), p.data(), p.size() * 2);
            text[p.size()] = 0;
            benchmark::DoNotOptimize(BrailleTranslator(text.data(), out.data(), &o));
        }
    }
    state.counters["chars"] =
        benchmark::Counter(static_cast<double>(CorpusChars()) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EngineEnglishGrade2)->Unit(benchmark::kMillisecond);

#ifdef VELUMI_HAVE_LOUIS
void BM_LiblouisEnglishGrade2(benchmark::State &state) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    const auto &corpus = Corpus();
    const char *table = "unicode.dis,en-ueb-g2.ctb";
    if (corpus.empty() || !lou_getTable(table)) {
        state.SkipWithError("no corpus or table");
        return;
    }
    // widechar is 32 bits in this liblouis build (lou_charSize() == 4).
    std::vector<std::vector<widechar>> input;
    for (const auto &p : corpus) input.emplace_back(p.begin(), p.end());
    std::vector<widechar> out(4 * 2048 + 64);
    for (auto _ : state) {
        for (const auto &in : input) {
            int inLen = static_cast<int>(in.size()), outLen = static_cast<int>(out.size());
            benchmark::DoNotOptimize(
                lou_translateString(table, in.data(), &inLen, out.data(), &outLen, nullptr, nullptr, 0));
        }
    }
    state.counters["chars"] =
        benchmark::Counter(static_cast<double>(CorpusChars()) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["charSize"] = lou_charSize();
}
BENCHMARK(BM_LiblouisEnglishGrade2)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
