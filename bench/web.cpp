// How long a display line takes from the simulated pad to its web view: from
// the moment the pad has shown the line (its observer is told) until a page
// has it. Measured for 1,000 lines with a plain C++ event-stream client, and in
// headless Chromium, whose page keeps the median of its own last 1,000 lines
// (server time stamp of each line event to the end of its rendering).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "../tests/web/browser.h"
#include "../tests/web/http_client.h"
#include "padsim.h"
#include "padsim_frame.h"
#include "padsim_web.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Hex(const std::vector<uint8_t> &bytes) { return web_test::LowerHex(bytes); }

// A pad with its web view, and the host's end of the pty.
struct Rig {
    padsim::SimulatedPad pad;
    padsim::WebView web{pad};
    int tty = -1;
    std::mutex mu;
    std::condition_variable cv;
    Clock::time_point shownAt{};
    uint64_t shown = 0;
    int observer = -1;

    bool Start() {
        if (!pad.Start()) return false;
        tty = open(pad.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (tty < 0) return false;
        termios tio;
        tcgetattr(tty, &tio);
        cfmakeraw(&tio);
        tcsetattr(tty, TCSANOW, &tio);
        observer = pad.AddObserver([this](const padsim::PadEvent &e) {
            if (e.kind != padsim::PadEvent::Kind::LineShown) return;
            std::lock_guard<std::mutex> lock(mu);
            shownAt = Clock::now();
            ++shown;
            cv.notify_all();
        });
        std::string error;
        return web.Start(padsim::WebOptions{}, error);
    }
    ~Rig() {
        web.Stop();
        pad.RemoveObserver(observer);
        if (tty >= 0) close(tty);
    }
    // Sends display line `line` with cells made from `n`; returns the cells.
    std::vector<uint8_t> Show(int line, int n) {
        std::vector<uint8_t> payload(41);
        for (size_t c = 1; c < payload.size(); ++c) payload[c] = static_cast<uint8_t>(n * 31 + c * 7);
        payload[1] = static_cast<uint8_t>(n);
        payload[2] = static_cast<uint8_t>(n >> 8);
        const std::vector<uint8_t> frame = padsim::wire::Build(static_cast<uint8_t>(line), 0x0200, 0, payload);
        [[maybe_unused]] ssize_t w = write(tty, frame.data(), frame.size());
        return std::vector<uint8_t>(payload.begin() + 1, payload.end());
    }
    void DrainTty() {
        char buf[4096];
        pollfd p{tty, POLLIN, 0};
        while (poll(&p, 1, 0) > 0 && read(tty, buf, sizeof buf) > 0) {
        }
    }
    Clock::time_point WaitShown(uint64_t count) {
        std::unique_lock<std::mutex> lock(mu);
        cv.wait_for(lock, std::chrono::seconds(5), [&] { return shown >= count; });
        return shownAt;
    }
};

void Report(benchmark::State &state, std::vector<double> &us) {
    std::sort(us.begin(), us.end());
    if (us.empty()) return;
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["p90_us"] = us[us.size() * 9 / 10];
    state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
}

void BM_LineFromPadToEventStreamClient(benchmark::State &state) {
    Rig rig;
    if (!rig.Start()) {
        state.SkipWithError("no pty or no port");
        return;
    }
    const int fd = web_test::Connect(rig.web.Port());
    web_test::SendAll(fd, "GET /events HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(rig.web.Port()) + "\r\n\r\n");
    std::string stream = web_test::ReadFor(fd, 3000, "event: state");
    std::vector<double> us;
    int n = 0;
    for (auto _ : state) {
        ++n;
        const std::string want = "\"cells\":\"" + Hex(rig.Show(1 + n % 20, n)) + "\"";
        const Clock::time_point shownAt = rig.WaitShown(static_cast<uint64_t>(n));
        stream.clear();
        while (stream.find(want) == std::string::npos) {
            const std::string more = web_test::ReadFor(fd, 2000, want);
            if (more.empty()) break;
            stream += more;
        }
        const Clock::time_point got = Clock::now();
        if (stream.find(want) == std::string::npos) {
            state.SkipWithError("the line never reached the client");
            break;
        }
        const double t = std::chrono::duration<double, std::micro>(got - shownAt).count();
        us.push_back(t);
        state.SetIterationTime(t / 1e6);
        rig.DrainTty();
    }
    close(fd);
    Report(state, us);
}
BENCHMARK(BM_LineFromPadToEventStreamClient)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_LineFromPadToChromiumPage(benchmark::State &state) {
    web_test::Browser browser;
    Rig rig;
    if (web_test::ChromiumPath().empty() || !rig.Start() || !browser.Start() || !browser.Open(rig.web.Url()) ||
        !browser.WaitFor("document.body && document.body.dataset.events > 0")) {
        state.SkipWithError("chromium is missing or the page did not load");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        // One line at a time, each after the page has the one before.
        ++n;
        rig.Show(1 + n % 20, n);
        rig.WaitShown(static_cast<uint64_t>(n));
        browser.WaitFor("document.getElementById('latency').dataset.count == " + std::to_string(std::min(n, 1000)),
            5000);
        rig.DrainTty();
    }
    const Json::Value median = browser.Eval("Number(document.getElementById('latency').dataset.median)");
    const Json::Value count = browser.Eval("Number(document.getElementById('latency').dataset.count)");
    if (median.isNumeric()) state.counters["page_median_us"] = median.asDouble() * 1000.0;
    if (count.isNumeric()) state.counters["lines"] = count.asDouble();
}
BENCHMARK(BM_LineFromPadToChromiumPage)->Iterations(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
