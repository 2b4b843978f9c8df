// Headless Chromium driven through the DevTools protocol on a pipe
// (--remote-debugging-pipe: commands on its fd 3, answers on its fd 4, each
// message a JSON text ending in a NUL byte). Loads a page, evaluates script in
// it, and takes screenshots, so a test can wait for content that arrives over
// the page's event stream, which --dump-dom alone cannot wait for.
#pragma once

#include <json/json.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace web_test {

inline std::string ChromiumPath() {
    for (const char *p : {"/usr/bin/chromium", "/usr/bin/chromium-browser", "/usr/bin/google-chrome"})
        if (access(p, X_OK) == 0) return p;
    return "";
}

class Browser {
public:
    Browser() = default;
    ~Browser() { Close(); }
    Browser(const Browser &) = delete;
    Browser &operator=(const Browser &) = delete;

    // Starts Chromium headless with a fresh profile. False when it cannot be started.
    bool Start() {
        const std::string exe = ChromiumPath();
        if (exe.empty()) return false;
        char tmpl[] = "/tmp/velumi-chromium-XXXXXX";
        if (!mkdtemp(tmpl)) return false;
        profile_ = tmpl;
        int toChrome[2], fromChrome[2];
        if (pipe2(toChrome, O_CLOEXEC) != 0 || pipe2(fromChrome, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChrome[0], 3);
        posix_spawn_file_actions_adddup2(&actions, fromChrome[1], 4);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {exe,
                                         "--headless",
                                         "--no-sandbox",
                                         "--disable-gpu",
                                         "--disable-quic",
                                         "--no-first-run",
                                         "--disable-background-networking",
                                         "--disable-component-update",
                                         "--disable-sync",
                                         "--window-size=1400,1100",
                                         "--user-data-dir=" + profile_,
                                         "--remote-debugging-pipe",
                                         "about:blank"};
        std::vector<char *> argv;
        for (std::string &a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const bool ok = posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(toChrome[0]);
        close(fromChrome[1]);
        in_ = toChrome[1];
        out_ = fromChrome[0];
        if (!ok) pid_ = -1;
        return ok;
    }

    // Opens `url` in a new tab and attaches to it.
    bool Open(const std::string &url) {
        Json::Value params;
        params["url"] = url;
        Json::Value r = Call("Target.createTarget", params);
        if (!r.isMember("targetId")) return false;
        Json::Value attach;
        attach["targetId"] = r["targetId"];
        attach["flatten"] = true;
        r = Call("Target.attachToTarget", attach);
        session_ = r.get("sessionId", "").asString();
        return !session_.empty();
    }

    // Evaluates a script expression in the page; its value (by value), null on an error.
    Json::Value Eval(const std::string &expression) {
        Json::Value params;
        params["expression"] = expression;
        params["returnByValue"] = true;
        params["awaitPromise"] = true;
        Json::Value r = Call("Runtime.evaluate", params, session_);
        if (r.isMember("exceptionDetails")) return Json::Value();
        return r["result"].get("value", Json::Value());
    }

    // Polls a script expression until it is true.
    bool WaitFor(const std::string &expression, int timeoutMs = 10000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const Json::Value v = Eval(expression);
            if (v.isBool() && v.asBool()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    // Sends a key press (keydown and keyup) to the page, as typed on the keyboard.
    void PressKey(const std::string &key, const std::string &code, int keyCode) {
        for (const char *type : {"keyDown", "keyUp"}) {
            Json::Value params;
            params["type"] = type;
            params["key"] = key;
            params["code"] = code;
            params["windowsVirtualKeyCode"] = keyCode;
            Call("Input.dispatchKeyEvent", params, session_);
        }
    }

    // Writes a PNG of the whole page to `path`.
    bool Screenshot(const std::string &path) {
        Json::Value params;
        params["format"] = "png";
        params["captureBeyondViewport"] = true;
        const Json::Value r = Call("Page.captureScreenshot", params, session_);
        const std::string png = Base64Decode(r.get("data", "").asString());
        if (png.empty()) return false;
        std::ofstream out(path, std::ios::binary);
        out.write(png.data(), static_cast<std::streamsize>(png.size()));
        return static_cast<bool>(out);
    }

    void Close() {
        if (pid_ > 0) {
            Call("Browser.close", Json::Value(Json::objectValue), "", 3000);
            int status = 0;
            for (int i = 0; i < 300 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (waitpid(pid_, &status, WNOHANG) == 0) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
            }
            pid_ = -1;
        }
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
        in_ = out_ = -1;
        if (!profile_.empty()) {
            const std::string cmd = "rm -rf '" + profile_ + "'";
            [[maybe_unused]] int r = std::system(cmd.c_str());
            profile_.clear();
        }
    }

private:
    // Sends one command and returns its result (an empty object on error or time-out).
    Json::Value Call(const std::string &method, const Json::Value &params, const std::string &session = "",
                     int timeoutMs = 15000) {
        if (in_ < 0) return Json::Value(Json::objectValue);
        Json::Value message;
        message["id"] = ++id_;
        message["method"] = method;
        message["params"] = params;
        if (!session.empty()) message["sessionId"] = session;
        Json::StreamWriterBuilder w;
        w["indentation"] = "";
        std::string text = Json::writeString(w, message);
        text.push_back('\0');
        for (size_t off = 0; off < text.size();) {
            const ssize_t n = write(in_, text.data() + off, text.size() - off);
            if (n <= 0) return Json::Value(Json::objectValue);
            off += static_cast<size_t>(n);
        }
        const int want = id_;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            size_t nul;
            while ((nul = buffer_.find('\0')) != std::string::npos) {
                const std::string one = buffer_.substr(0, nul);
                buffer_.erase(0, nul + 1);
                Json::Value reply;
                Json::CharReaderBuilder rb;
                std::string errors;
                std::istringstream in(one);
                if (!Json::parseFromStream(rb, in, &reply, &errors)) continue;
                if (reply.get("id", 0).asInt() == want) return reply.get("result", Json::Value(Json::objectValue));
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0) return Json::Value(Json::objectValue);
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            char buf[65536];
            const ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) return Json::Value(Json::objectValue);
            buffer_.append(buf, static_cast<size_t>(n));
        }
    }

    static std::string Base64Decode(const std::string &in) {
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

    pid_t pid_ = -1;
    int in_ = -1, out_ = -1;
    int id_ = 0;
    std::string buffer_, session_, profile_;
};

}  // namespace web_test
