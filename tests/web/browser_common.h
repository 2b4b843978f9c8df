// Pieces shared by the headless browser drivers (browser.h, firefox.h).
#pragma once

#include <json/json.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace web_test {

// Bytes as lower-case hex without separators, as the pad's web view writes cells.
inline std::string LowerHex(const std::vector<uint8_t> &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Standard base64 to bytes; characters outside the alphabet (padding, line ends) are skipped.
inline std::string Base64Decode(const std::string &in) {
    std::string out;
    unsigned value = 0;
    int bits = -8;
    for (unsigned char c : in) {
        int d;
        if (c >= 'A' && c <= 'Z') d = c - 'A';
        else if (c >= 'a' && c <= 'z') d = c - 'a' + 26;
        else if (c >= '0' && c <= '9') d = c - '0' + 52;
        else if (c == '+') d = 62;
        else if (c == '/') d = 63;
        else continue;
        value = ((value << 6) | static_cast<unsigned>(d)) & 0xFFFFF;  // the last 20 bits suffice
        bits += 6;
        if (bits >= 0) {
            out.push_back(static_cast<char>((value >> bits) & 0xFF));
            bits -= 8;
        }
    }
    return out;
}

// Polls `eval` (a script expression's value) until it is true or `timeoutMs` has passed.
template <typename Eval>
bool PollUntilTrue(Eval eval, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const Json::Value v = eval();
        if (v.isBool() && v.asBool()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Writes a base64 PNG to `path`; false when it is empty or cannot be written.
inline bool WritePng(const std::string &path, const std::string &base64) {
    const std::string png = Base64Decode(base64);
    if (png.empty()) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

// The first of `candidates` that can be run; "" when none can.
inline std::string FirstExecutable(std::initializer_list<const char *> candidates) {
    for (const char *p : candidates)
        if (access(p, X_OK) == 0) return p;
    return "";
}

inline std::string ChromiumPath() {
    return FirstExecutable({"/usr/bin/chromium", "/usr/bin/chromium-browser", "/usr/bin/google-chrome"});
}
inline std::string FirefoxPath() { return FirstExecutable({"/usr/bin/firefox-esr", "/usr/bin/firefox"}); }

// Starts `args[0]` with `actions`; sets `pid` to -1 when it cannot be started.
inline bool SpawnBrowser(pid_t &pid, std::vector<std::string> args, posix_spawn_file_actions_t &actions) {
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const bool ok = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!ok) pid = -1;
    return ok;
}

// Waits up to `tries` * 10 ms for the process to end after being asked to, then kills it;
// removes the temporary profile folder.
inline void StopBrowser(pid_t &pid, int tries, std::string &profile) {
    if (pid > 0) {
        int status = 0;
        for (int i = 0; i < tries && waitpid(pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (waitpid(pid, &status, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        pid = -1;
    }
    if (!profile.empty()) {
        const std::string cmd = "rm -rf '" + profile + "'";
        [[maybe_unused]] int r = std::system(cmd.c_str());
        profile.clear();
    }
}

// What every browser driver owns: the browser's process and its temporary
// profile folder. Not copyable; the driver's destructor closes the browser.
class BrowserProcess {
public:
    BrowserProcess() = default;
    BrowserProcess(const BrowserProcess &) = delete;
    BrowserProcess &operator=(const BrowserProcess &) = delete;

protected:
    ~BrowserProcess() = default;

    // Makes a fresh profile folder from `pattern` (ending in XXXXXX); false when it cannot.
    bool MakeProfile(const char *pattern) {
        std::string folder = pattern;
        if (!mkdtemp(folder.data())) return false;
        profile_ = folder;
        return true;
    }

    pid_t pid_ = -1;
    std::string profile_;
};

}  // namespace web_test
