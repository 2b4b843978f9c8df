// Runs the built velumi tool as a child process with its own environment and
// captures its output and exit status.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

inline const char *ToolPath() { return VELUMI_BUILD_DIR "/tools/velumi/velumi"; }

struct ToolResult {
    int status = -1;  // exit code, or 128 + signal
    std::string out, err;
    int ErrLines() const {
        int n = 0;
        for (char c : err) n += c == '\n';
        return n;
    }
};

// A running tool with pipes to its standard input, output and error.
class ToolProcess {
public:
    // With `terminal`, standard input is that terminal (made the controlling one) instead of a pipe;
    // with `terminalAsStdin` false the terminal is only the controlling one (/dev/tty).
    ToolProcess(const std::vector<std::string> &args, const std::map<std::string, std::string> &env,
        const std::string &terminal = "", bool terminalAsStdin = true) {
        int inPipe[2], outPipe[2], errPipe[2];
        if (pipe2(inPipe, O_CLOEXEC) || pipe2(outPipe, O_CLOEXEC) || pipe2(errPipe, O_CLOEXEC)) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(inPipe[0], 0);
            if (!terminal.empty()) {
                setsid();
                const int tty = open(terminal.c_str(), O_RDWR);
                if (tty < 0) _exit(126);
                if (terminalAsStdin) dup2(tty, 0);
            }
            dup2(outPipe[1], 1);
            dup2(errPipe[1], 2);
            unsetenv("VELUMI_PORT");
            for (const auto &[k, v] : env) {
                if (v.empty()) unsetenv(k.c_str());
                else setenv(k.c_str(), v.c_str(), 1);
            }
            std::vector<char *> argv;
            std::string tool = ToolPath();
            argv.push_back(tool.data());
            std::vector<std::string> copy = args;
            for (auto &a : copy) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(tool.c_str(), argv.data());
            _exit(127);
        }
        close(inPipe[0]);
        close(outPipe[1]);
        close(errPipe[1]);
        in_ = inPipe[1];
        out_ = outPipe[0];
        err_ = errPipe[0];
        signal(SIGPIPE, SIG_IGN);
    }
    ~ToolProcess() {
        CloseInput();
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            Wait(5000);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }
    void Write(const std::string &text) {
        if (in_ >= 0) [[maybe_unused]]
            ssize_t n = write(in_, text.data(), text.size());
    }
    void CloseInput() {
        if (in_ >= 0) close(in_);
        in_ = -1;
    }
    // Reads output until `marker` appears in it (true) or the time runs out.
    bool ReadUntil(const std::string &marker, int timeoutMs, bool fromErr = false) {
        const std::string &text = fromErr ? err : out;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (text.find(marker) == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
            if (left <= 0 || !Pump(static_cast<int>(left))) return text.find(marker) != std::string::npos;
        }
        return true;
    }
    // Closes standard input and waits for the exit; the status is -1 after a time-out.
    ToolResult Finish(int timeoutMs = 20000) {
        CloseInput();
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (out_ >= 0 || err_ >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
            if (left <= 0 || !Pump(static_cast<int>(left))) break;
        }
        Wait(static_cast<int>(std::max<long>(1,
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count())));
        ToolResult r;
        r.status = status_;
        r.out = out;
        r.err = err;
        return r;
    }
    std::string out, err;

private:
    // One poll round: false when both pipes are closed or nothing came in time.
    bool Pump(int timeoutMs) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (out_ < 0 && err_ < 0) return false;
        if (poll(fds, 2, timeoutMs) <= 0) return false;
        char buf[4096];
        for (int i = 0; i < 2; ++i) {
            int &fd = i == 0 ? out_ : err_;
            if (fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0) {
                close(fd);
                fd = -1;
            } else {
                (i == 0 ? out : err).append(buf, static_cast<size_t>(n));
            }
        }
        return true;
    }
    void Wait(int timeoutMs) {
        if (pid_ <= 0 || status_ >= 0) return;
        for (int i = 0; i < timeoutMs; ++i) {
            int st = 0;
            if (waitpid(pid_, &st, WNOHANG) == pid_) {
                status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
                return;
            }
            usleep(1000);
        }
    }
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    int status_ = -1;
};

inline ToolResult RunTool(const std::vector<std::string> &args, const std::string &input = "",
    const std::map<std::string, std::string> &env = {}) {
    ToolProcess p(args, env);
    p.Write(input);
    return p.Finish();
}

// Cell bytes of a line of Unicode braille (U+2800..U+28FF, UTF-8); other characters are skipped.
inline std::vector<uint8_t> Cells(const std::string &line) {
    std::vector<uint8_t> cells;
    for (size_t i = 0; i + 2 < line.size() + 0; ++i) {
        const unsigned char a = line[i], b = line[i + 1], c = line[i + 2];
        if (a == 0xE2 && (b & 0xFC) == 0xA0) {
            cells.push_back(static_cast<uint8_t>(((b & 0x03) << 6) | (c & 0x3F)));
            i += 2;
        }
    }
    return cells;
}

inline std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        out.push_back(text.substr(start, nl - start));
    if (start < text.size()) out.push_back(text.substr(start));
    return out;
}
