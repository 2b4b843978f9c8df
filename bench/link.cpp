// Round trips over a real pty with an instantly answering simulated pad:
// a firmware-version request from post to the caller's release, and the time
// per display line of a 20-line picture.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "../tests/link/fake_device.h"
#include "Log/nubra_log.h"
#include "padsim.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

using namespace velumi;

namespace {

struct Rig {
    padsim::SimulatedPad pad;
    FakeDevice device;
    CCOM com;
    Rig() {
        g_traceOn = false;  // measure the link, not the trace
        pad.Start();
        com.SetDevice(&device);
        com.COMInitPath(pad.DevicePath());
    }
    ~Rig() { com.COMDeinit(); }
};

Rig &TheRig() {
    static Rig rig;
    return rig;
}

void BM_FirmwareVersionRoundTrip(benchmark::State &state) {
    Rig &rig = TheRig();
    std::vector<double> us;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        if (rig.com.RequestFirmwareVersion() != 0) state.SkipWithError("request failed");
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(us.begin(), us.end());
    if (!us.empty()) {
        state.counters["median_us"] = us[us.size() / 2];
        state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
    }
}
BENCHMARK(BM_FirmwareVersionRoundTrip)->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PictureOf20Lines(benchmark::State &state) {
    Rig &rig = TheRig();
    double totalUs = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        {
            platform::SharedLockGuard lock;
            DisplayJob &job = rig.device.AddJob();
            job.m_nNumOfLine = 20;
            job.m_nNumOfCell = 40;
        }
        const int done = rig.device.displayDone.load();
        if (rig.com.RequestDisplay() != 0) state.SkipWithError("display failed");
        while (rig.device.displayDone.load() == done) std::this_thread::yield();
        totalUs += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["us_per_line"] = totalUs / (20.0 * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_PictureOf20Lines)->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
