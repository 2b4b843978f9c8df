// Helpers shared by the benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "KotariEngine.h"

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

}  // namespace bench_support
