#include "pad_session.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include "VelumiSDK.h"
#include "padsim.h"

namespace velumi_tool {

namespace {

using Clock = std::chrono::steady_clock;

// The display callback runs on the SDK's transfer thread under its lock: it only
// counts, wakes the waiting thread and marks the event pipe.
std::mutex g_shownMutex;
std::condition_variable g_shownCv;
uint64_t g_shown = 0;
int g_eventPipe[2] = {-1, -1};

void OnDisplayed() {
    {
        std::lock_guard<std::mutex> lock(g_shownMutex);
        ++g_shown;
    }
    g_shownCv.notify_all();
    if (g_eventPipe[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] ssize_t n = ::write(g_eventPipe[1], &c, 1);  // a full pipe is already readable
    }
}

std::mutex g_textMutex;
std::string g_text;
void OnText(const char *text) {
    std::lock_guard<std::mutex> lock(g_textMutex);
    g_text = text ? text : "";
}

// Paths to remove when the tool is interrupted (signal handlers may only unlink).
char g_cleanupLink[512];
char g_cleanupDir[512];

int g_terminalFd = -1;
const termios *g_terminal = nullptr;

void OnStopSignal(int sig) {
    if (g_terminal) ::tcsetattr(g_terminalFd, TCSANOW, g_terminal);
    if (g_cleanupLink[0]) ::unlink(g_cleanupLink);
    if (g_cleanupDir[0]) ::rmdir(g_cleanupDir);
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

void InstallStopHandlers() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        struct sigaction sa {};
        sa.sa_handler = OnStopSignal;
        sigemptyset(&sa.sa_mask);
        for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &sa, nullptr);
    }
}

void SetCleanup(const std::string &link, const std::string &dir) {
    std::snprintf(g_cleanupLink, sizeof g_cleanupLink, "%s", link.c_str());
    std::snprintf(g_cleanupDir, sizeof g_cleanupDir, "%s", dir.c_str());
    InstallStopHandlers();
}

// Model index for VELUMI_INIT_WITH_DEVICE_TYPE, in the order of VelumiModel.
int ModelType(const std::string &canonical) {
    const std::vector<std::string> names = padsim::ModelNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == canonical) return static_cast<int>(i);
    return -1;
}

}  // namespace

QuietStdout::QuietStdout(bool verbose) {
    // Set once, before the SDK first looks: it reads the switch at every line.
    static const int set = ::setenv("VELUMI_QUIET", verbose ? "stderr" : "1", 1);
    (void)set;
}

QuietStdout::~QuietStdout() = default;

void RestoreTerminalOnSignal(int fd, const termios *saved) {
    g_terminalFd = fd;
    g_terminal = saved;
    InstallStopHandlers();
}

std::string ErrorText(int code) {
    if (code == kNotShown) return "the pad did not report the display as shown";
    const char *text = VELUMI_ERROR_TEXT(code);
    return text ? text : "SDK error " + std::to_string(code);
}

Pad::Pad() {
    if (g_eventPipe[0] < 0 && ::pipe2(g_eventPipe, O_CLOEXEC | O_NONBLOCK) != 0) g_eventPipe[0] = g_eventPipe[1] = -1;
}

Pad::~Pad() { Close(); }

bool Pad::Open(const PadChoice &choice, std::string &error) {
    verbose_ = choice.verbose;
    VELUMI_REGISTER_DISPLAY_CALLBACK(OnDisplayed);
    int type = -1;
    if (choice.modelGiven) type = ModelType(choice.model);

    if (choice.port == 0 && choice.path.empty()) {
        padsim::Options options;
        options.deviceName = choice.model;
        sim_ = std::make_unique<padsim::SimulatedPad>(options);
        if (!sim_->Start()) {
            error = std::string("cannot start the simulated pad: no pseudo-terminal (") + std::strerror(errno) + ")";
            sim_.reset();
            return false;
        }
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velumi-pad-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            pattern = "/tmp/velumi-pad-XXXXXX";
            if (!::mkdtemp(pattern.data())) {
                error =
                    std::string("cannot create a folder for the simulated pad's port link: ") + std::strerror(errno);
                sim_.reset();
                return false;
            }
        }
        simDir_ = pattern;
        port_ = 1;
        SetCleanup(simDir_ + "/com1", simDir_);
        if (!sim_->LinkAs(simDir_, port_)) {
            error = "cannot link the simulated pad as " + simDir_ + "/com1: " + std::strerror(errno);
            Close();
            return false;
        }
        ::setenv("VELUMI_PORT_DIR", simDir_.c_str(), 1);
        type = -1;  // the simulated pad names its model
    } else if (!choice.path.empty()) {
        port_ = kPathPort;
        ::setenv(("VELUMI_PORT_" + std::to_string(port_)).c_str(), choice.path.c_str(), 1);
    } else {
        port_ = choice.port;
    }
    portName_ = PortPath(port_);
    where_ = choice.path.empty() ? "port " + std::to_string(port_) : "port " + portName_;
    const std::string who = choice.path.empty() ? where_ + " (" + portName_ + ")" : where_;
    if (!sim_) {
        const std::string problem = PortProblem(portName_);
        if (!problem.empty()) {
            error = "cannot open " + who + ": " + problem;
            if (choice.path.empty() && std::getenv("VELUMI_PORT_DIR"))
                error += "; or start velumi-padsim --com " + std::to_string(port_) +
                         " --port-dir DIR and set VELUMI_PORT_DIR=DIR";
            Close();
            return false;
        }
    }

    uint64_t before;
    {
        std::lock_guard<std::mutex> lock(g_shownMutex);
        before = g_shown;
    }
    // Init asks the pad for its name and clears it, waiting up to 4 s for each
    // answer when no pad answers: run it aside and give up after a few seconds
    // (a pad answers within milliseconds).
    struct InitCall {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        int result = 0;
    };
    auto call = std::make_shared<InitCall>();
    const int waitMs = sim_ ? 20000 : kAnswerTimeoutMs;
    int r;
    {
        QuietStdout quiet(verbose_);
        std::thread([call, type, port = port_] {
            const int result = type >= 0 ? VELUMI_INIT_WITH_DEVICE_TYPE(port, type) : VELUMI_INIT(port);
            std::lock_guard<std::mutex> lock(call->m);
            call->done = true;
            call->result = result;
            call->cv.notify_all();
        }).detach();
        std::unique_lock<std::mutex> lock(call->m);
        if (!call->cv.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return call->done; })) {
            stuck_ = true;
            r = -1;
        } else {
            r = call->result;
        }
    }
    if (stuck_) {
        error = "no pad answers on " + who + " within " + std::to_string(waitMs / 1000) +
                " s; check that the pad is connected to this port and switched on";
        return false;
    }
    if (r != 0) {
        if (r == VELUMI_ERROR_COM_OPEN_FAIL || r == VELUMI_ERROR_COM_HANDLE_INIT_ERROR) {
            const std::string problem = PortProblem(portName_);
            error = "cannot open " + who + ": " + (problem.empty() ? ErrorText(r) : problem) +
                    "; connect the pad, or start velumi-padsim --com " + std::to_string(port_) +
                    " --port-dir DIR and set VELUMI_PORT_DIR=DIR";
        } else if (r == VELUMI_ERROR_COM_NOT_RESPONSE || r == VELUMI_ERROR_COM_RESPONSE_TIMEOUT)
            error = "no pad answers on " + who + "; check that the pad is connected to this port and switched on";
        else if (r == VELUMI_ERROR_ENGINE_LOAD_FAIL || r == VELUMI_ERROR_ENGINE_GET_FUNC_FAIL)
            error = ErrorText(r) + "; install it beside libVelumiSDK.so or on the library path";
        else error = "cannot initialise the pad on " + who + ": " + ErrorText(r);
        Close();
        return false;
    }
    open_ = true;
    VELUMI_GET_DISPLAY_INFO(&cellsPerLine, &lines, &brailleCells);
    // Init clears the braille line and the graphics area; each reports when shown.
    const uint64_t expected = (brailleCells > 0 ? 1 : 0) + (lines > 0 ? 1 : 0);
    WaitShown(before, expected, ShowTimeoutMs());
    {
        std::lock_guard<std::mutex> lock(g_shownMutex);
        if (expected > 0 && g_shown == before) {
            error = "no pad answers on " + who + "; check that the pad is connected to this port and switched on";
            Close();
            return false;
        }
    }
    {
        QuietStdout quiet(verbose_);
        VELUMI_GET_DEVICE_NAME(OnText);
        std::lock_guard<std::mutex> lock(g_textMutex);
        deviceName = g_text;
        g_text.clear();
    }
    {
        QuietStdout quiet(verbose_);
        VELUMI_GET_FW_VERSION(OnText);
        std::lock_guard<std::mutex> lock(g_textMutex);
        firmwareVersion = g_text;
        g_text.clear();
    }
    return true;
}

int Pad::Close() {
    int r = 0;
    if (stuck_) return r;  // init still runs on its thread; nothing may be closed under it
    if (open_) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(ShowTimeoutMs());
        for (;;) {
            {
                QuietStdout quiet(verbose_);
                r = VELUMI_DEINIT();
            }
            if (r != VELUMI_ERROR_DISPLAY_IN_PROGRESS || Clock::now() > deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        open_ = false;
    }
    if (sim_) {
        sim_->Stop();
        sim_.reset();
    }
    if (!simDir_.empty()) {
        ::rmdir(simDir_.c_str());
        simDir_.clear();
        g_cleanupLink[0] = g_cleanupDir[0] = '\0';
    }
    return r;
}

bool Pad::WaitShown(uint64_t before, uint64_t count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(g_shownMutex);
    return g_shownCv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return g_shown >= before + count; });
}

uint64_t Pad::DisplayCount() const {
    std::lock_guard<std::mutex> lock(g_shownMutex);
    return g_shown;
}

int Pad::Run(const std::function<int()> &operation) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ShowTimeoutMs());
    for (;;) {
        const uint64_t before = DisplayCount();
        int r;
        {
            QuietStdout quiet(verbose_);
            r = operation();
        }
        if (r == VELUMI_ERROR_DISPLAY_IN_PROGRESS && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (r != 0) return r;
        return WaitShown(before, 1, ShowTimeoutMs()) ? 0 : kNotShown;
    }
}

int Pad::Page(int key) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ShowTimeoutMs());
    for (;;) {
        const uint64_t before = DisplayCount();
        const size_t sent = sim_ ? sim_->RequestCount(0x0200) : 0;
        int r;
        {
            QuietStdout quiet(verbose_);
            r = VELUMI_SEND_KEY(key);
        }
        if (r == VELUMI_ERROR_DISPLAY_IN_PROGRESS && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (r != 0) return r;
        // The move is made on the SDK's transfer thread; a refused move (first or
        // last window) sends nothing and reports nothing, so it shows as silence.
        if (sim_) {
            const auto quiet = Clock::now() + std::chrono::milliseconds(400);
            while (sim_->RequestCount(0x0200) == sent && DisplayCount() == before) {
                if (Clock::now() > quiet) return 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return WaitShown(before, 1, ShowTimeoutMs()) ? 1 : kNotShown;
        }
        return WaitShown(before, 1, 3000) ? 1 : 0;
    }
}

std::string Pad::Pins() const { return sim_ ? sim_->Render() : std::string(); }

std::vector<uint8_t> Pad::BrailleLine() const { return sim_ ? sim_->BrailleLine() : std::vector<uint8_t>(); }

int Pad::DisplayEventFd() const { return g_eventPipe[0]; }

void Pad::DrainDisplayEvents() const {
    char buf[64];
    if (g_eventPipe[0] >= 0)
        while (::read(g_eventPipe[0], buf, sizeof buf) > 0) {
        }
}

}  // namespace velumi_tool
