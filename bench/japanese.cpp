// The Japanese translator: time per call for a 40-character sentence, the part
// of it that is the MeCab tagger's creation and destruction (one per call), and
// sentences per second over the inputs of the outside reference cases
// (../shared/japanese/cases.jsonl beside the repository, read at run time when
// present; VELUMI_JA_CASES names another file).
#include <benchmark/benchmark.h>
#include <mecab.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "KotariEngine.h"
#include "bench_support.h"
#include "core/engine.h"
#include "lang/japanese/jp_internal.h"

namespace {

using bench_support::Utf16;

TranslatorOptions Options() { return kotari::DefaultOptions(9, 32); }

// 40 characters: kanji, kana, a number and punctuation.
const char kSentence[] = "今日は東京駅から新幹線に乗って、大阪の友達に会いに行きます。3時に着く予定です。";

void BM_Sentence40(benchmark::State &state) {
    kotari::jp::g_diagnostics = false;
    const auto text = Utf16(kSentence);
    const TranslatorOptions o = Options();
    std::vector<uint8_t> out(3 * KOTARI_CELL_BUFFER_SIZE);
    for (auto _ : state) {
        auto copy = text;
        benchmark::DoNotOptimize(BrailleTranslator(copy.data(), out.data(), &o));
    }
    state.SetLabel(std::to_string(text.size() - 1) + " characters");
}
BENCHMARK(BM_Sentence40)->Unit(benchmark::kMicrosecond);

// What every call pays for the tagger alone.
void BM_TaggerCreateDestroy(benchmark::State &state) {
    for (auto _ : state) {
        mecab_t *m = mecab_new2("");
        benchmark::DoNotOptimize(m);
        if (m) mecab_destroy(m);
    }
}
BENCHMARK(BM_TaggerCreateDestroy)->Unit(benchmark::kMicrosecond);

// The "input" strings of a JSON-lines file.
std::vector<std::string> CorpusInputs() {
    const char *env = std::getenv("VELUMI_JA_CASES");
    std::string path = env ? env : std::string(VELUMI_TEST_DATA_DIR) + "/../../../shared/japanese/cases.jsonl";
    std::ifstream in(path);
    std::vector<std::string> inputs;
    std::string line;
    while (std::getline(in, line)) {
        size_t k = line.find("\"input\": \"");
        if (k == std::string::npos) continue;
        std::string s;
        for (size_t i = k + 10; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] != '\\' || i + 1 >= line.size()) {
                s += line[i];
                continue;
            }
            char e = line[++i];
            if (e == 'n') s += '\n';
            else if (e == 't') s += '\t';
            else if (e == 'u' && i + 4 < line.size()) {
                unsigned cp = static_cast<unsigned>(std::stoul(line.substr(i + 1, 4), nullptr, 16));
                i += 4;
                if (cp < 0x80) s += static_cast<char>(cp);
                else if (cp < 0x800) {
                    s += static_cast<char>(0xC0 | (cp >> 6));
                    s += static_cast<char>(0x80 | (cp & 0x3F));
                } else {
                    s += static_cast<char>(0xE0 | (cp >> 12));
                    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                    s += static_cast<char>(0x80 | (cp & 0x3F));
                }
            } else {
                s += e;
            }
        }
        inputs.push_back(s);
    }
    return inputs;
}

void BM_CorpusSentences(benchmark::State &state) {
    kotari::jp::g_diagnostics = false;
    const auto inputs = CorpusInputs();
    if (inputs.empty()) {
        state.SkipWithError("no reference cases found (../shared/japanese/cases.jsonl)");
        return;
    }
    std::vector<std::vector<uint16_t>> texts;
    for (const auto &s : inputs) texts.push_back(Utf16(s));
    const TranslatorOptions o = Options();
    std::vector<uint8_t> out(3 * KOTARI_CELL_BUFFER_SIZE);
    for (auto _ : state) {
        for (const auto &t : texts) {
            auto copy = t;
            benchmark::DoNotOptimize(BrailleTranslator(copy.data(), out.data(), &o));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
    state.SetLabel(std::to_string(texts.size()) + " sentences; items/s = sentences per second");
}
BENCHMARK(BM_CorpusSentences)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
