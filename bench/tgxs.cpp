// TGXS documents at the size limit (16 MiB), built to cost the most: millions
// of tiny items, millions of values under an unknown key, deep nesting, and
// the largest strings. Each case reads the document by path the way
// VELUMI_GET_TGXS_DATA does, with the trace file on, and reports the time, the
// process's peak resident memory during the read (peak_rss_mb) and the bytes
// the read added to the trace file (trace_kb). Target: under 2 s and 200 MB
// for every case, and the trace under 140 KB.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Log/nubra_trace.h"
#include "tgxs/tgxs_reader.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kLimit = velumi::tgxs::TgxsFetchLimits().maxBytes;

// Fills a document up to the size limit: head, then `unit` repeated (joined
// by commas), then tail.
std::string Fill(const std::string &head, const std::string &unit, const std::string &tail) {
    std::string doc = head;
    const size_t room = kLimit - head.size() - tail.size();
    doc.reserve(kLimit);
    while (doc.size() + unit.size() + 1 <= head.size() + room) {
        if (doc.size() > head.size()) doc += ',';
        doc += unit;
    }
    return doc + tail;
}

std::string Document(int kind) {
    switch (kind) {
    case 0: return Fill("{\"items\":[", "{}", "]}");  // 5.6 million empty items
    case 1: return Fill("{\"items\":[{\"page\":1,\"junk\":[", "0", "]}]}");  // 8 million values under an unknown key
    case 2: {  // nesting at the limit, over and over under an unknown key
        const int depth = velumi::tgxs::kTgxsMaxDepth - 4;
        return Fill("{\"junk\":[", std::string(depth, '[') + std::string(depth, ']'), "]}");
    }
    case 3: {  // the largest realistic document: 10 000 items with long strings
        const std::string data(1500, 'x');
        return Fill("{\"title\":\"t\",\"items\":[",
            "{\"page\":1,\"title\":\"p\",\"graphic\":{\"name\":\"g\",\"data\":\"" + data +
                "\"},\"text\":{\"name\":\"n\",\"plain\":\"p\",\"data\":\"" + data + "\"}}",
            "]}");
    }
    default: return Fill("{\"items\":[", "{\"page\":\"x\"}", "]}");  // every item wrongly typed
    }
}

const char *const kNames[] = {"empty_items", "values_under_unknown_key", "deep_nesting", "long_strings",
    "wrongly_typed_items"};

long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_TgxsAtSizeLimit(benchmark::State &state) {
    const int kind = static_cast<int>(state.range(0));
    state.SetLabel(kNames[kind]);
    char dirTemplate[] = "/tmp/velumi-bench-tgxs-XXXXXX";
    const fs::path dir = ::mkdtemp(dirTemplate);
    const fs::path doc = dir / "doc.json";
    {
        const std::string text = Document(kind);
        std::ofstream(doc, std::ios::binary) << text;
    }
    ::setenv("VELUMI_LOG_DIR", (dir / "log").c_str(), 1);
    velumi::TraceStart();
    ::unsetenv("VELUMI_LOG_DIR");
    const std::string tracePath = (dir / "log").string();
    double seconds = 0, peakMb = 0, traceKb = 0;
    for (auto _ : state) {
        std::uintmax_t before = 0;
        for (const auto &e : fs::directory_iterator(tracePath)) before += fs::file_size(e.path());
        ResetPeakRss();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(velumi::tgxs::GetTgxsData(doc.c_str()));
        seconds = std::max(seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        peakMb = std::max(peakMb, PeakRssKb() / 1024.0);
        std::uintmax_t after = 0;
        for (const auto &e : fs::directory_iterator(tracePath)) after += fs::file_size(e.path());
        traceKb = std::max(traceKb, (after - before) / 1024.0);
    }
    velumi::CNubraTrace::Instance().Enable(false);
    state.counters["doc_mb"] = static_cast<double>(fs::file_size(doc)) / (1 << 20);
    state.counters["worst_s"] = seconds;
    state.counters["peak_rss_mb"] = peakMb;
    state.counters["trace_kb"] = traceKb;
    state.counters["within_target"] = seconds < 2.0 && peakMb < 200.0 && traceKb < 140.0;
    fs::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_TgxsAtSizeLimit)->DenseRange(0, 4)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
