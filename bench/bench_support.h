// Helpers shared by the benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "KotariEngine.h"
#ifdef VELUMI_HAVE_LOUIS
#include <liblouis/liblouis.h>
#endif

namespace bench_support {

// UTF-8 to code points (the corpora are well-formed UTF-8).
inline std::u32string Decode(const std::string &s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len && i + k < s.size(); ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
        out += cp;
        i += len;
    }
    return out;
}

// UTF-8 to NUL-terminated UTF-16 (surrogate pairs above the basic plane), cut to
// at most maxUnits units before the NUL as the SDK cuts what it sends.
inline std::vector<uint16_t> Utf16(const std::string &utf8, size_t maxUnits = 2047) {
    std::vector<uint16_t> u;
    for (char32_t c : Decode(utf8)) {
        if (c >= 0x10000) {
            u.push_back(static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            u.push_back(static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            u.push_back(static_cast<uint16_t>(c));
        }
    }
    if (u.size() > maxUnits) u.resize(maxUnits);
    u.push_back(0);
    return u;
}

// Characters in all the texts.
inline size_t Characters(const std::vector<std::u32string> &texts) {
    size_t n = 0;
    for (const auto &t : texts) n += t.size();
    return n;
}

// Translates each of `inputs` (NUL-terminated UTF-16) through the engine's
// export once per iteration, from a fresh copy since the engine may rewrite its
// text, and reports `characters` per iteration as a rate.
inline void TranslateEach(benchmark::State &state, const std::vector<std::vector<uint16_t>> &inputs,
    const TranslatorOptions &options, double characters) {
    std::vector<uint8_t> out(2 * KOTARI_CELL_BUFFER_SIZE + (options.lineCells > 0 ? options.lineCells : 0) + 64);
    std::vector<uint16_t> work;
    for (auto _ : state) {
        for (const auto &in : inputs) {
            work = in;
            benchmark::DoNotOptimize(BrailleTranslator(work.data(), out.data(), &options));
        }
    }
    state.counters["chars"] = benchmark::Counter(characters * state.iterations(), benchmark::Counter::kIsRate);
}

#ifdef VELUMI_TEST_DATA_DIR
// The lines of tests/data/`file` joined by spaces, cut into texts of at most
// 2000 characters at line ends, as the SDK would send them.
inline std::vector<std::u32string> JoinedTexts(const char *file) {
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
#endif

// The texts as NUL-terminated UTF-16 (the data is in the basic plane).
inline std::vector<std::vector<uint16_t>> BasicPlaneInputs(const std::vector<std::u32string> &texts) {
    std::vector<std::vector<uint16_t>> inputs;
    for (const auto &t : texts) {
        std::vector<uint16_t> u;
        for (char32_t c : t) u.push_back(static_cast<uint16_t>(c));
        u.push_back(0);
        inputs.push_back(u);
    }
    return inputs;
}

#ifdef VELUMI_TEST_DATA_DIR
// TranslateEach over the joined texts of tests/data/`file`, labelled with the file.
inline void TranslateFile(benchmark::State &state, const char *file, const TranslatorOptions &options) {
    const auto texts = JoinedTexts(file);
    TranslateEach(state, BasicPlaneInputs(texts), options, static_cast<double>(Characters(texts)));
    state.SetLabel(file);
}
#endif

#ifdef VELUMI_HAVE_LOUIS
// Translates each text through liblouis `table` once per iteration and reports
// characters per second, labelled with the table.
inline void LouisEach(benchmark::State &state, const char *table, const std::vector<std::u32string> &texts) {
    setenv("LOUIS_TABLEPATH", LOUIS_TABLE_DIR, 0);
    std::vector<std::vector<widechar>> inputs;
    for (const auto &t : texts) inputs.emplace_back(t.begin(), t.end());
    std::vector<widechar> out(4 * 2048 + 64);
    for (auto _ : state) {
        for (const auto &in : inputs) {
            int inlen = static_cast<int>(in.size());
            int outlen = static_cast<int>(out.size());
            if (!lou_translateString(table, in.data(), &inlen, out.data(), &outlen, nullptr, nullptr, 0)) {
                state.SkipWithError("liblouis failed");
                return;
            }
            benchmark::DoNotOptimize(outlen);
        }
    }
    state.counters["chars"] =
        benchmark::Counter(static_cast<double>(Characters(texts)) * state.iterations(), benchmark::Counter::kIsRate);
    state.SetLabel(table);
}
#endif

// Registers BM_Louis/0 .. BM_Louis/N-1: liblouis on each language's file with its table
// (nothing without liblouis). Call at namespace scope: `const int k = RegisterLouisRuns(kLanguages);`.
template <typename Language, size_t N>
int RegisterLouisRuns([[maybe_unused]] const Language (&languages)[N]) {
#ifdef VELUMI_HAVE_LOUIS
    for (size_t i = 0; i < N; ++i) {
        const Language *lang = &languages[i];
        benchmark::RegisterBenchmark(("BM_Louis/" + std::to_string(i)).c_str(),
            [lang](benchmark::State &state) { LouisEach(state, lang->louisTable, JoinedTexts(lang->file)); });
    }
#endif
    return 0;
}

}  // namespace bench_support
