// Cost of running liblouis in its helper process: one call through the SDK's
// liblouis translator in the helper, the same in this process, and
// lou_translate called directly, for a short line and a 2047-unit text.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "braille/louis_bridge.h"
#include "braille/translator.h"
#include "platform/utf.h"

#ifdef VELUMI_HAVE_LOUIS
#include <liblouis.h>
#endif

namespace {

constexpr char kHelper[] = VELUMI_BUILD_DIR_LIB "/velumi/velumi-louis-helper";

std::u16string Text(bool longText) {
    if (!longText) return u"Die Straße führt zum Haus am See.";
    std::ifstream in(std::string(VELUMI_TEST_DATA_DIR) + "/german_words.txt");
    std::string all, word;
    while (std::getline(in, word) && all.size() < 4000) all += word + " ";
    std::u16string text = velumi::platform::Utf8ToUtf16(all);
    return std::u16string(velumi::WholeCharacters(text, velumi::kMaxTextUnits));
}

velumi::TranslationRequest German() {
    velumi::TranslationRequest request;
    request.language = 7;  // GERMAN
    request.settings.louisGrade = 2;
    request.width = 32;
    return request;
}

void Prepare() {
    setenv("VELUMI_QUIET", "1", 1);
    velumi::SetLouisHelperPath(kHelper);
}

// Times the SDK's liblouis translator that `get` returns on the benchmark's text;
// `warmUp`: one untimed translation first (it starts the helper and loads the table).
void TimeSdkTranslator(benchmark::State &state, velumi::Translator &(*get)(), bool warmUp) {
    Prepare();
    const std::u16string text = Text(state.range(0) != 0);
    velumi::Translator &louis = get();
    louis.Bind();
    velumi::Translation out;
    if (warmUp) louis.Translate(text, German(), out);
    for (auto _ : state) {
        if (louis.Translate(text, German(), out) != 0) state.SkipWithError("translation failed");
        benchmark::DoNotOptimize(out.cells.data());
    }
    state.counters["units"] = static_cast<double>(text.size());
}

void SdkInHelperProcess(benchmark::State &state) { TimeSdkTranslator(state, velumi::LouisTranslator, true); }

void SdkInThisProcess(benchmark::State &state) { TimeSdkTranslator(state, velumi::InProcessLouisTranslator, false); }

#ifdef VELUMI_HAVE_LOUIS
void LouTranslateDirect(benchmark::State &state) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    const std::u16string text = Text(state.range(0) != 0);
    std::basic_string<widechar> in(text.begin(), text.end()), out(8 * text.size() + 6144, 0);
    for (auto _ : state) {
        int inLength = static_cast<int>(in.size()), outLength = static_cast<int>(out.size());
        lou_translateString("unicode.dis,de-g2.ctb", in.data(), &inLength, out.data(), &outLength, nullptr, nullptr,
            0);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(LouTranslateDirect)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(SdkInThisProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(SdkInHelperProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
