// A full TARN picture (20 lines of 40 cells) from VELUMI_DISPLAY_DATA to the
// display callback, with the simulated pad pacing its bytes at 115200 baud.
//
// A pty paces only what the pad sends, not what the SDK writes. So the paced
// run reports its time against the pad's own paced bytes, and a run with an
// instantly answering pad measures the SDK's whole overhead for the picture;
// the ratio a real serial line would show is then
// (wire time of every frame both ways + overhead) / wire time of every frame.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Log/nubra_log.h"
#include "VelumiSDK.h"
#include "braille/kotari_bridge.h"
#include "padsim.h"
#include "protocol/ccom.h"

namespace {

bool Busy() { return velumi::CCOM::Instance().IsDisplayBusy(); }

std::atomic<int> g_done{0};

void FullPicture(benchmark::State &state, bool paced) {
    char tmpl[] = "/tmp/velumi-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    setenv("VELUMI_PORT_DIR", dir.c_str(), 1);
    setenv("VELUMI_LOG_DIR", (dir + "/log").c_str(), 1);
    velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR_LIB "/libKotariEngine.so");
    padsim::SimulatedPad pad;
    pad.Start();
    pad.LinkAs(dir, 9);
    if (VELUMI_INIT_WITH_DEVICE_TYPE(9, VELUMI_TARN) != 0) {
        state.SkipWithError("init failed");
        return;
    }
    velumi::g_traceOn = false;  // measure the transfer, not the trace
    VELUMI_REGISTER_DISPLAY_CALLBACK([] { ++g_done; });
    std::this_thread::sleep_for(std::chrono::seconds(1));  // let init's clearing finish
    if (paced) pad.SetFault(padsim::Fault::PaceAtBaud, 115200);
    std::vector<unsigned char> picture(800);
    double totalUs = 0;
    int round = 0;
    for (auto _ : state) {
        for (auto &c : picture) c = static_cast<unsigned char>(++round);
        const int before = g_done.load();
        auto t0 = std::chrono::steady_clock::now();
        if (VELUMI_DISPLAY_DATA(picture.data(), 800, 1) != 0) state.SkipWithError("display failed");
        while (g_done.load() == before) std::this_thread::sleep_for(std::chrono::microseconds(50));
        totalUs += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
        while (Busy()) std::this_thread::yield();
    }
    // Per line: request 50 bytes, response 10, notice 9; the pad sends 19 of them.
    const double byteUs = 10.0 * 1e6 / 115200.0;
    const double wireAll = 20 * (50 + 10 + 9) * byteUs;
    const double wirePad = 20 * (10 + 9) * byteUs;
    const double measured = totalUs / static_cast<double>(state.iterations());
    state.counters["measured_ms"] = measured / 1000.0;
    if (paced) {
        state.counters["pad_wire_ms"] = wirePad / 1000.0;
        state.counters["ratio_to_pad_wire"] = measured / wirePad;
    } else {
        state.counters["wire_all_ms"] = wireAll / 1000.0;
        state.counters["ratio_serial"] = (wireAll + measured) / wireAll;
    }
    VELUMI_REGISTER_DISPLAY_CALLBACK(nullptr);
    pad.ClearFaults();
    VELUMI_DEINIT();
}

}  // namespace

void BM_FullPictureAt115200(benchmark::State &state) { FullPicture(state, true); }
void BM_FullPictureInstantPad(benchmark::State &state) { FullPicture(state, false); }
BENCHMARK(BM_FullPictureAt115200)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FullPictureInstantPad)->Iterations(50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
