// velumi translate against lou_translate, end to end as a user runs them: the
// GPL-3 text (/usr/share/common-licenses/GPL-3), English contracted braille,
// each program started fresh and fed the file on standard input, output
// discarded. Reports both times and their ratio (target: velumi at least 5x
// faster).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char **environ;

namespace {

const char kText[] = "/usr/share/common-licenses/GPL-3";

// Runs argv with standard input from kText and standard output to /dev/null; seconds, or -1.
double RunOnce(const std::vector<std::string> &args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, kText, O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median run time of each program (the ratio of medians resists a busy machine better than the best runs).
double g_velumi = 0, g_louis = 0;

void Measure(benchmark::State &state, const std::vector<std::string> &args, double &median) {
    if (access(kText, R_OK) != 0) {
        state.SkipWithError("no /usr/share/common-licenses/GPL-3");
        return;
    }
    std::vector<double> runs;
    for (auto _ : state) {
        const double s = RunOnce(args);
        if (s < 0) {
            state.SkipWithError(("cannot run " + args[0]).c_str());
            return;
        }
        state.SetIterationTime(s);
        runs.push_back(s);
    }
    std::sort(runs.begin(), runs.end());
    median = runs[runs.size() / 2];
    state.counters["best_ms"] = runs.front() * 1000;
    state.counters["median_ms"] = median * 1000;
}

void BM_VelumiTranslateGpl3(benchmark::State &state) {
    Measure(state, {VELUMI_TOOL_PATH, "translate", "--lang", "english", "--grade", "2", "-"}, g_velumi);
}
BENCHMARK(BM_VelumiTranslateGpl3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

void BM_LouTranslateGpl3(benchmark::State &state) {
    Measure(state, {"lou_translate", "--forward", "en-us-g2.ctb"}, g_louis);
}
BENCHMARK(BM_LouTranslateGpl3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// Both programs in turn, so that a busy machine slows both alike; the ratio printed at the end.
void BM_VelumiVersusLouTranslate(benchmark::State &state) {
    const std::vector<std::string> ours = {VELUMI_TOOL_PATH, "translate", "--lang", "english", "--grade", "2", "-"};
    const std::vector<std::string> theirs = {"lou_translate", "--forward", "en-us-g2.ctb"};
    std::vector<double> a, b;
    for (auto _ : state) {
        const double x = RunOnce(ours), y = RunOnce(theirs);
        if (x < 0 || y < 0) {
            state.SkipWithError("cannot run velumi or lou_translate");
            return;
        }
        state.SetIterationTime(x + y);
        a.push_back(x);
        b.push_back(y);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    g_velumi = a[a.size() / 2];
    g_louis = b[b.size() / 2];
    state.counters["ratio"] = g_louis / g_velumi;
}
BENCHMARK(BM_VelumiVersusLouTranslate)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_velumi > 0 && g_louis > 0)
        std::printf(
            "GPL-3, English grade 2, medians of 21 alternating runs: velumi translate %.1f ms, lou_translate %.1f ms: "
            "%.1fx %s\n",
            g_velumi * 1000, g_louis * 1000, g_louis / g_velumi,
            g_louis / g_velumi >= 5 ? "(target 5x met)" : "(below the 5x target)");
    return 0;
}
