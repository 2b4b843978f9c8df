// Characters per second of the French (grades 1 and 2), Italian, Polish and
// Norwegian translators, with liblouis translating the same text beside them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "KotariEngine.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis.h>
#endif

namespace {

struct Language {
    const char *name;
    int code;
    int frenchGrade;
    const char *file;
    const char *table;
};

const Language kLanguages[] = {
    {"French1", 6, 1, "french_sentences.txt", "fr-bfu-comp6.utb"},
    {"French2", 6, 2, "french_sentences.txt", "fr-bfu-g2.ctb"},
    {"Italian", 8, 1, "italian_text.txt", "it.tbl"},
    {"Polish", 17, 1, "polish_text.txt", "pl.tbl"},
    {"Norwegian", 18, 1, "norwegian_text.txt", "no-no-g0.utb"},
};

// The list's lines joined by spaces, cut to 2047 UTF-16 units (the SDK's limit).
std::u16string SampleText(const char *file) {
    std::ifstream in(std::string(VELUMI_TEST_DATA_DIR) + "/" + file);
    std::string all, line;
    while (std::getline(in, line)) all += line + " ";
    std::u16string out;
    for (size_t i = 0; i < all.size() && out.size() < 2047;) {
        unsigned char c = all[i];
        char32_t cp;
        int len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c >> 5) == 6) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c >> 4) == 14) {
            cp = c & 0x0F;
            len = 3;
        } else {
            cp = c & 0x07;
            len = 4;
        }
        for (int k = 1; k < len && i + k < all.size(); ++k) cp = (cp << 6) | (all[i + k] & 0x3F);
        i += len;
        if (cp < 0x10000) out += static_cast<char16_t>(cp);
    }
    return out;
}

void Engine(benchmark::State &state, const Language &lang) {
    const std::u16string text = SampleText(lang.file);
    TranslatorOptions o{};
    o.language = lang.code;
    o.englishGrade = 1;
    o.markComputerText = 1;
    o.lineCells = 40;
    o.chineseMode = 1;
    o.frenchGrade = lang.frenchGrade;
    o.germanGrade = 2;
    o.vietnameseVariant = 2;
    std::vector<uint16_t> copy(text.size() + 1);
    std::vector<uint8_t> out(3 * KOTARI_CELL_BUFFER_SIZE + 64);
    for (auto _ : state) {
        std::copy(text.begin(), text.end(), copy.begin());
        copy[text.size()] = 0;
        benchmark::DoNotOptimize(BrailleTranslator(copy.data(), out.data(), &o));
    }
    state.counters["chars/s"] =
        benchmark::Counter(static_cast<double>(text.size()) * state.iterations(), benchmark::Counter::kIsRate);
}

#ifdef VELUMI_HAVE_LOUIS
void Louis(benchmark::State &state, const Language &lang) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    const std::u16string text = SampleText(lang.file);
    const std::string tables = std::string("unicode.dis,") + lang.table;
    std::vector<widechar> in(text.begin(), text.end());
    std::vector<widechar> out(4 * in.size() + 64);
    for (auto _ : state) {
        int inlen = static_cast<int>(in.size()), outlen = static_cast<int>(out.size());
        benchmark::DoNotOptimize(
            lou_translateString(tables.c_str(), in.data(), &inlen, out.data(), &outlen, nullptr, nullptr, 0));
    }
    state.counters["chars/s"] =
        benchmark::Counter(static_cast<double>(text.size()) * state.iterations(), benchmark::Counter::kIsRate);
}
#endif

int Register() {
    for (const Language &lang : kLanguages) {
        benchmark::RegisterBenchmark((std::string("Engine/") + lang.name).c_str(), Engine, lang);
#ifdef VELUMI_HAVE_LOUIS
        benchmark::RegisterBenchmark((std::string("Louis/") + lang.name).c_str(), Louis, lang);
#endif
    }
    return 0;
}
const int kRegistered = Register();

}  // namespace

BENCHMARK_MAIN();
