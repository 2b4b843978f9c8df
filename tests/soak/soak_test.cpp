// Soak: random valid sequences of the public API against the simulated pad,
// with the pad's faults switched on and off at random. After every call: the
// result is one of the call's documented codes, the call kept its time bound,
// and whatever the SDK takes as shown is what the pad's pins hold. Threads,
// descriptors and memory are compared at the end.
//
//   VELUMI_SOAK_SECONDS  how long (default 60)
//   VELUMI_SOAK_SEED     the random seed (default: from the clock; printed)
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "VelumiSDK.h"
#include "braille/kotari_bridge.h"
#include "device/velumi.h"
#include "padsim.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// From the sanitizer runtime; g++ ships no header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int kPort = 9;
constexpr int kScale = 10;  // protocol time-outs run ten times faster
constexpr int kCells = 40, kLines = 20, kBraille = 32, kArea = kCells * kLines;
const int NO_CHANGE = VELUMI_ERROR_DISPLAY_NO_CHANGE;
// Memory is compared as the heap's live bytes under a sanitizer, whose
// quarantine of freed blocks (up to 256 MB) makes the resident size grow on its
// own, and as the resident size otherwise.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SOAK_LIVE_HEAP 1
constexpr const char *kMemoryName = "live heap";
#else
constexpr const char *kMemoryName = "RSS";
#endif
constexpr long kMemoryGrowthKb = 16 * 1024;
const int RANGE = VELUMI_ERROR_DISPLAY_INVALID_RANGE;

int Count(const char *dir) {
    int n = 0;
    if (DIR *d = opendir(dir)) {
        while (readdir(d)) ++n;
        closedir(d);
    }
    return n - 2;
}
long MemoryKb() {
#ifdef SOAK_LIVE_HEAP
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}
long Env(const char *name, long fallback) {
    const char *v = getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

// Codes each export may return (the header's lists). A device name that the pad
// sends on its own while the SDK asks for one is taken as the answer, so the
// model (and with it the valid range) may change until the next init.
const std::set<int> kWaitCodes{0, 19, 32, 34, 35, 128, 129};
std::set<int> With(std::set<int> base, std::initializer_list<int> more) {
    base.insert(more);
    return base;
}

const std::vector<std::pair<int, std::u16string>> &Texts() {
    static const std::vector<std::pair<int, std::u16string>> texts{
        {ENGLISH, u"The quick brown fox jumps over the lazy dog, 1234 times; twice as often as before."},
        {FRENCH, u"Le cœur a ses raisons que la raison ne connaît point."},
        {GERMAN, u"Größe und Übermut: zwölf Boxkämpfer jagen Viktor quer über den Sylter Deich."},
        {SPANISH, u"El niño comió una piña en el año dos mil."},
        {RUSSIAN, u"Съешь же ещё этих мягких французских булок."},
        {KOREAN, u"안녕하세요 세계"},
        {ENGLISH, u""},
    };
    return texts;
}

std::atomic<int> g_callbacks{0};
std::atomic<int> g_callbackViolations{0};
std::atomic<int> g_keyMode{0}, g_displayMode{0};
std::mutex g_noteMutex;
std::vector<std::string> g_notes;

void Note(const std::string &text) {
    std::lock_guard<std::mutex> g(g_noteMutex);
    if (g_notes.size() < 50) g_notes.push_back(text);
    ++g_callbackViolations;
}

// Calls back into the SDK from a callback; every answer must be the documented one.
void CallBackIn(int mode, const char *where) {
    static const std::vector<unsigned char> picture(kArea, 0x2A);
    const uint64_t start = velumi::platform::NowMs();
    int r = 0;
    bool ok = true;
    switch (mode) {
    case 1:
        r = VELUMI_GET_DISPLAY_INFO(nullptr, nullptr, nullptr);
        ok = r == 0 || r == 2;
        break;
    case 2:
        r = VELUMI_DISPLAY_DATA(picture.data(), kArea, 0);
        ok = r == 35;
        break;
    case 3:
        r = VELUMI_DEINIT();
        ok = r == 129;
        break;
    case 4:
        r = VELUMI_GET_FW_VERSION(nullptr);
        ok = r == 0 || r == 35;
        break;
    case 5:
        r = VELUMI_SEND_KEY(0x2);
        ok = r == 0 || r == 64 || r == 129;
        break;
    default: return;
    }
    if (!ok) Note(std::string(where) + " callback mode " + std::to_string(mode) + " got " + std::to_string(r));
    if (velumi::platform::NowMs() - start > 200) Note(std::string(where) + " callback call too slow");
}

void OnKey(int) { CallBackIn(g_keyMode.load(), "key"); }
void OnDisplay() {
    ++g_callbacks;
    CallBackIn(g_displayMode.load(), "display");
}

class Soak {
public:
    explicit Soak(unsigned seed) : rng_(seed) {
        char tmpl[] = "/tmp/velumi-soak-XXXXXX";
        dir_ = mkdtemp(tmpl);
        setenv("VELUMI_PORT_DIR", dir_.c_str(), 1);
        setenv("VELUMI_LOG_DIR", (dir_ + "/log").c_str(), 1);
        padsim::Options o;
        o.deviceName = "TARN";
        pad_ = std::make_unique<padsim::SimulatedPad>(o);
        // Graphics files for the model, and one for another model.
        for (int i = 0; i < 3; ++i) {
            std::vector<uint8_t> cells(kArea);
            for (auto &c : cells) c = static_cast<uint8_t>(rng_());
            files_.push_back({dir_ + "/p" + std::to_string(i) + ".tgx", cells});
            WriteTgx(files_.back().first, i == 2 ? kLines - 1 : kLines, cells);
        }
    }
    ~Soak() {
        for (auto &f : files_) unlink(f.first.c_str());
    }

    static void WriteTgx(const std::string &path, int lines, const std::vector<uint8_t> &cells) {
        std::string bytes = "_tgx_";
        bytes += static_cast<char>(lines);
        bytes += static_cast<char>(kCells);
        bytes.resize(30, '\0');
        bytes.append(cells.begin(), cells.end());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    bool Start() { return pad_->Start() && pad_->LinkAs(dir_, kPort); }

    void Run(int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        Call(
            "init", [] { return VELUMI_INIT(kPort); }, {0}, InitBound());
        while (std::chrono::steady_clock::now() < end) Step();
        pad_->ClearFaults();
        if (unplugged_) Replug();
        WaitIdle();
        Call(
            "deinit", [] { return VELUMI_DEINIT(); }, {0, 2}, 3000);
    }
    void Stop() { pad_->Stop(); }

    long ops = 0, mismatches = 0, violations = 0;
    std::map<std::string, long> faults;

private:
    static int WaitBound() { return 10000 / kScale + 2000; }
    static int InitBound() { return 3 * (10000 / kScale) + 4000; }
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    template <typename F>
    int Call(const char *name, F call, const std::set<int> &codes, int boundMs) {
        ++ops;
        const uint64_t start = velumi::platform::NowMs();
        const int r = call();
        const uint64_t took = velumi::platform::NowMs() - start;
        // Init returns once its clearing started; let the clearing end first.
        if (std::string(name) == "init") Settle();
        if (!codes.count(r)) Violation(std::string(name) + " returned " + std::to_string(r));
        if (took > static_cast<uint64_t>(boundMs))
            Violation(std::string(name) + " took " + std::to_string(took) + " ms");
        return r;
    }
    void Violation(const std::string &what) {
        ++violations;
        ADD_FAILURE() << what;
    }
    void Mismatch(const std::string &what) {
        ++mismatches;
        ADD_FAILURE() << "reported as shown but the pad holds something else: " << what;
    }

    static void WaitIdle(int ms = 3000) {
        for (int i = 0; i < ms && velumi::CCOM::Instance().IsDisplayBusy(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Lets a notice or key the pad just sent reach the SDK and its transfer end.
    static void Settle() {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        WaitIdle();
    }

    std::vector<uint8_t> PadPicture() {
        std::vector<uint8_t> all;
        for (int l = 1; l <= kLines; ++l) {
            auto line = pad_->GraphicLine(l);
            all.insert(all.end(), line.begin(), line.end());
        }
        return all;
    }

    // Every line the SDK counts as shown is on the pins.
    // Checked at rest: while a line is on its way the pad is ahead of the SDK.
    void CheckKnownLines(const char *after) {
        std::vector<uint8_t> shown;
        std::vector<bool> known;
        WaitIdle(10000);
        {
            velumi::platform::SharedLockGuard lock;
            if (velumi::CCOM::Instance().IsDisplayBusy()) return;
            shown = velumi::Library().lastShown;
            known = velumi::Library().lineKnown;
        }
        if (shown.size() != static_cast<size_t>(kArea)) return;
        const auto pins = PadPicture();
        for (int l = 0; l < kLines && l < static_cast<int>(known.size()); ++l)
            if (known[l] &&
                !std::equal(pins.begin() + l * kCells, pins.begin() + (l + 1) * kCells, shown.begin() + l * kCells))
                Mismatch(std::string("line ") + std::to_string(l + 1) + " after " + after);
    }

    // After a display call: 0 with a callback, or "no change", means the pad holds `expected`.
    void CheckPicture(const char *name, int r, int callbacksBefore, const std::vector<uint8_t> &expected,
        int fromLine = 0, int toLine = kLines) {
        if (r == 0) Settle();
        const bool shown = (r == 0 && g_callbacks.load() > callbacksBefore) || r == NO_CHANGE;
        if (shown && !unplugged_) {
            const auto pins = PadPicture();
            if (!std::equal(pins.begin() + fromLine * kCells, pins.begin() + toLine * kCells,
                    expected.begin() + fromLine * kCells))
                Mismatch(name);
        }
        CheckKnownLines(name);
    }
    void CheckBraille(const std::string &name, int r, int callbacksBefore) {
        if (r == 0) Settle();
        if (r != 0 || g_callbacks.load() <= callbacksBefore || unplugged_) return;
        std::vector<uint8_t> expected(kBraille, 0);
        std::string where;
        {
            velumi::platform::SharedLockGuard lock;
            const auto &saved = velumi::Library().savedBraille;
            if (!saved) return;
            where = " (window " + std::to_string(saved->windowStart) + " of " + std::to_string(saved->cellCount) +
                    " cells, kind " + std::to_string(static_cast<int>(saved->kind)) + ")";
            for (int i = 0; i < kBraille; ++i) {
                const long at = saved->windowStart + i;
                if (at < saved->BrailleCellCapacity()) expected[i] = saved->BrailleCells()[at];
            }
        }
        const auto pins = pad_->BrailleLine();
        if (pins != expected) {
            std::string text = name + where + ": pad";
            for (uint8_t c : pins) text += " " + std::to_string(c);
            text += " / expected";
            for (uint8_t c : expected) text += " " + std::to_string(c);
            Mismatch(text);
        }
    }

    std::vector<uint8_t> RandomPicture() {
        std::vector<uint8_t> p(kArea, 0);
        const int kind = Pick(4);
        for (int i = 0; i < kArea; ++i)
            p[i] = kind == 0   ? 0
                   : kind == 1 ? static_cast<uint8_t>(rng_())
                               : static_cast<uint8_t>(i / kCells * (kind + 1));
        if (Pick(3) == 0 && !lastPicture_.empty()) {  // a few lines changed only
            p = lastPicture_;
            for (int k = Pick(4); k >= 0; --k) p[Pick(kArea)] ^= 0x3F;
        }
        return p;
    }

    void ToggleFault() {
        using padsim::Fault;
        static const std::vector<std::pair<Fault, const char *>> kFaults{
            {Fault::DropNthAnswer, "dropped answer"},
            {Fault::CorruptChecksum, "corrupt checksum"},
            {Fault::RejectLine, "rejected line"},
            {Fault::OmitLineNotice, "lost notice"},
            {Fault::GarbageBetweenFrames, "garbage"},
            {Fault::OneByteAtATime, "byte by byte"},
            {Fault::DelayAnswers, "delay"},
            {Fault::DuplicateAnswers, "duplicated answers"},
            {Fault::NeverAnswer, "silence"},
        };
        if (Pick(3) == 0) {
            pad_->ClearFaults();
            return;
        }
        const auto &f = kFaults[Pick(static_cast<int>(kFaults.size()))];
        int n = Pick(6);
        if (f.first == Fault::DelayAnswers) n = 1 + Pick(30);
        if (f.first == Fault::OneByteAtATime) n = 1;
        if (f.first == Fault::GarbageBetweenFrames) n = 1 + Pick(12);
        pad_->SetFault(f.first, n, 1 + Pick(9));
        ++faults[f.second];
        if (f.first == Fault::NeverAnswer) silentOps_ = 1 + Pick(3);
    }

    void Replug() {
        ASSERT_TRUE(pad_->Replug());
        unplugged_ = false;
        WaitIdle();
        Call(
            "deinit", [] { return VELUMI_DEINIT(); }, {0, 2, 129}, 3000);
        WaitIdle();
        VELUMI_DEINIT();
        Call(
            "init", [] { return VELUMI_INIT(kPort); }, {0, 3}, InitBound());
    }

    void Step() {
        if (silentOps_ > 0 && --silentOps_ == 0) pad_->ClearFault(padsim::Fault::NeverAnswer);
        const int what = Pick(100);
        const int before = g_callbacks.load();
        if (what < 8) {
            ToggleFault();
        } else if (what < 24) {
            auto p = RandomPicture();
            const int length = Pick(8) == 0 ? Pick(kArea) : kArea;
            std::fill(p.begin() + length, p.end(), 0);
            const int all = Pick(6) == 0;
            const int r = Call(
                "display data", [&] { return VELUMI_DISPLAY_DATA(p.data(), length, all); },
                With(kWaitCodes, {NO_CHANGE, RANGE}), WaitBound());
            CheckPicture("VELUMI_DISPLAY_DATA", r, before, p);
            if (r == 0 || r == NO_CHANGE) lastPicture_ = p;
        } else if (what < 32) {
            const int offset = Pick(kArea), length = 1 + Pick(std::min(kArea - offset, 90));
            std::vector<uint8_t> part(length);
            for (auto &c : part) c = static_cast<uint8_t>(rng_());
            std::vector<uint8_t> expected(kArea, 0);
            {
                velumi::platform::SharedLockGuard lock;
                const auto &shown = velumi::Library().lastShown;
                if (shown.size() == static_cast<size_t>(kArea)) expected = shown;
            }
            std::copy(part.begin(), part.end(), expected.begin() + offset);
            const int r = Call(
                "display part", [&] { return VELUMI_DISPLAY_DATA_PART(part.data(), length, offset); },
                With(kWaitCodes, {RANGE}), WaitBound());
            CheckPicture("VELUMI_DISPLAY_DATA_PART", r, before, expected, offset / kCells,
                (offset + length - 1) / kCells + 1);
        } else if (what < 36) {
            const auto &f = files_[Pick(static_cast<int>(files_.size()))];
            const int r = Call(
                "display file", [&] { return VELUMI_DISPLAY(f.first.c_str()); }, With(kWaitCodes, {8, NO_CHANGE}),
                WaitBound());
            CheckPicture("VELUMI_DISPLAY", r, before, f.second);
        } else if (what < 40) {
            const int r = Call(
                "reset display", [] { return VELUMI_RESET_DISPLAY(); }, With(kWaitCodes, {NO_CHANGE}), WaitBound());
            CheckPicture("VELUMI_RESET_DISPLAY", r, before, std::vector<uint8_t>(kArea, 0));
        } else if (what < 50) {
            const auto &t = Texts()[Pick(static_cast<int>(Texts().size()))];
            const int r = Call(
                "braille display", [&] { return VELUMI_BRAILLE_DISPLAY(t.second.c_str(), t.first); },
                With(kWaitCodes, {6, 10, 64}), WaitBound());
            CheckBraille("VELUMI_BRAILLE_DISPLAY", r, before);
        } else if (what < 56) {
            std::string text(static_cast<size_t>(Pick(120)), ' ');
            for (auto &c : text) c = static_cast<char>(0x20 + Pick(0x60));
            const int r = Call(
                "braille ascii", [&] { return VELUMI_BRAILLE_ASCII_DISPLAY(text.c_str()); },
                With(kWaitCodes, {10, 64}), WaitBound());
            CheckBraille("VELUMI_BRAILLE_ASCII_DISPLAY", r, before);
        } else if (what < 58) {
            const int r = Call(
                "reset braille", [] { return VELUMI_RESET_BRAILLE_DISPLAY(); }, With(kWaitCodes, {10}), WaitBound());
            if (r == 0) Settle();
            CheckKnownLines("VELUMI_RESET_BRAILLE_DISPLAY");
        } else if (what < 66) {
            static const int kKeys[] = {1, 2, 4, 8, 0, 3};
            const int key = kKeys[Pick(6)];
            const int r = Call(
                "send key", [&] { return VELUMI_SEND_KEY(key); }, {0, 33, 64, 129}, 500);
            CheckBraille("VELUMI_SEND_KEY", r, before);
        } else if (what < 72) {
            pad_->SendPageKey(static_cast<uint8_t>(Pick(2) ? 0x02 : 0x01));
            ++faults["page key from the pad"];
            Settle();
            CheckBraille("page key", 0, before);
        } else if (what < 76) {
            g_keyMode = Pick(6);
            pad_->SendFunctionKeys(static_cast<uint8_t>(0x10 << Pick(4)));
            Settle();
        } else if (what < 79) {
            pad_->SendLineNotice();
            ++faults["unsolicited notice"];
        } else if (what < 80) {
            pad_->SendDeviceName(Pick(2) ? "" : "TARN");
            ++faults["unsolicited device name"];
            Settle();
            int cells = 0, lines = 0, braille = 0;
            if (VELUMI_GET_DISPLAY_INFO(&cells, &lines, &braille) == 0 &&
                (cells != kCells || lines != kLines || braille != kBraille))
                Violation("the model changed");
        } else if (what < 84) {
            Call(
                "firmware", [] { return VELUMI_GET_FW_VERSION(nullptr); }, {0, 32, 34, 35}, WaitBound());
            Call(
                "device name", [] { return VELUMI_GET_DEVICE_NAME(nullptr); }, {0, 32, 34, 35}, WaitBound());
        } else if (what < 86) {
            Call(
                "display info", [] { return VELUMI_GET_DISPLAY_INFO(nullptr, nullptr, nullptr); }, {0, 2}, 500);
            static const int kLanguages[] = {ENGLISH, FRENCH, GERMAN, SPANISH};
            Call(
                "set language", [&] { return VELUMI_SET_BRAILLE_LANGUAGE(kLanguages[Pick(4)], 1 + Pick(2)); }, {0},
                500);
        } else if (what < 88) {
            g_displayMode = Pick(5) == 0 ? 0 : Pick(5);
            if (g_displayMode == 5) g_displayMode = 0;  // paging from it would move the line being checked
        } else if (what < 92) {
            WaitIdle();
            Call(
                "deinit", [] { return VELUMI_DEINIT(); }, {0, 2, 129}, 3000);
            if (Pick(2))
                Call(
                    "init", [] { return VELUMI_INIT(kPort); }, {0, 3, 16}, InitBound());
        } else if (what < 95) {
            Call(
                "init", [] { return VELUMI_INIT(kPort); }, {0, 3, 16}, InitBound());
        } else if (what < 96) {
            if (!unplugged_) {
                pad_->HangUp();
                unplugged_ = true;
                ++faults["unplugged"];
            } else {
                Replug();
                ++faults["replugged"];
            }
        } else if (unplugged_) {
            Replug();
            ++faults["replugged"];
        }
    }

    std::mt19937 rng_;
    std::string dir_;
    std::unique_ptr<padsim::SimulatedPad> pad_;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files_;
    std::vector<uint8_t> lastPicture_;
    bool unplugged_ = false;
    int silentOps_ = 0;
};

TEST(Soak, RandomApiSequencesKeepEveryPromise) {
    const int seconds = static_cast<int>(Env("VELUMI_SOAK_SECONDS", 60));
    const unsigned seed = static_cast<unsigned>(Env("VELUMI_SOAK_SEED", static_cast<long>(time(nullptr))));
    std::printf("soak: %d s, seed %u (VELUMI_SOAK_SEED=%u repeats it)\n", seconds, seed, seed);
    velumi::platform::SetTimeScale(kScale);
    velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
    VELUMI_REGISTER_DISPLAY_CALLBACK(OnDisplay);
    VELUMI_REGISTER_KEY_CALLBACK(OnKey);
    Soak soak(seed);
    ASSERT_TRUE(soak.Start());
    // One init, a text in every language and a de-init first, so that what is
    // loaded once (the engine, liblouis' tables) is there at both counts.
    ASSERT_EQ(VELUMI_INIT(kPort), 0);
    for (const auto &t : Texts()) {
        while (velumi::CCOM::Instance().IsDisplayBusy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        VELUMI_BRAILLE_DISPLAY(t.second.c_str(), t.first);
    }
    while (velumi::CCOM::Instance().IsDisplayBusy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(VELUMI_DEINIT(), 0);
    const int threads0 = Count("/proc/self/task"), fds0 = Count("/proc/self/fd");
    const long mem0 = MemoryKb();

    soak.Run(seconds);

    const int threads1 = Count("/proc/self/task"), fds1 = Count("/proc/self/fd");
    const long mem1 = MemoryKb();
    VELUMI_REGISTER_DISPLAY_CALLBACK(nullptr);
    VELUMI_REGISTER_KEY_CALLBACK(nullptr);
    soak.Stop();
    velumi::platform::SetTimeScale(1);

    long injected = 0;
    std::string list;
    for (const auto &f : soak.faults) {
        injected += f.second;
        list += " " + f.first + "=" + std::to_string(f.second);
    }
    std::printf(
        "soak: %ld operations, %ld faults injected (%s ), %ld reported-vs-held mismatches, "
        "%ld code/time violations, %d callback violations\n",
        soak.ops, injected, list.c_str(), soak.mismatches, soak.violations, g_callbackViolations.load());
    std::printf("soak: threads %d -> %d, descriptors %d -> %d, %s %ld kB -> %ld kB\n", threads0, threads1, fds0, fds1,
        kMemoryName, mem0, mem1);
    for (const auto &n : g_notes) ADD_FAILURE() << n;
    EXPECT_EQ(soak.mismatches, 0);
    EXPECT_EQ(soak.violations, 0);
    EXPECT_EQ(g_callbackViolations.load(), 0);
    EXPECT_EQ(threads1, threads0);
    EXPECT_EQ(fds1, fds0);
    EXPECT_LT(mem1 - mem0, kMemoryGrowthKb) << kMemoryName << " grows";
    EXPECT_GT(soak.ops, 100);
}

}  // namespace
