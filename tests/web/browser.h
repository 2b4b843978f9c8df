// Headless Chromium driven through the DevTools protocol on a pipe
// (--remote-debugging-pipe: commands on its fd 3, answers on its fd 4, each
// message a JSON text ending in a NUL byte). Loads a page, evaluates script in
// it, and takes screenshots, so a test can wait for content that arrives over
// the page's event stream, which --dump-dom alone cannot wait for.
#pragma once

#include <json/json.h>

#include "browser_common.h"

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

namespace web_test {

class Browser : public BrowserProcess {
public:
    ~Browser() { Close(); }

    // Starts Chromium headless with a fresh profile. False when it cannot be started.
    bool Start() {
        const std::string exe = ChromiumPath();
        if (exe.empty() || !MakeProfile("/tmp/velumi-chromium-XXXXXX")) return false;
        int toChrome[2], fromChrome[2];
        if (pipe2(toChrome, O_CLOEXEC) != 0 || pipe2(fromChrome, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChrome[0], 3);
        posix_spawn_file_actions_adddup2(&actions, fromChrome[1], 4);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {exe, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--window-size=1400,1100", "--user-data-dir=" + profile_, "--remote-debugging-pipe", "about:blank"};
        const bool ok = SpawnBrowser(pid_, std::move(args), actions);
        close(toChrome[0]);
        close(fromChrome[1]);
        in_ = toChrome[1];
        out_ = fromChrome[0];
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
        return PollUntilTrue([&] { return Eval(expression); }, timeoutMs);
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
        return WritePng(path, r.get("data", "").asString());
    }

    void Close() {
        if (pid_ > 0) Call("Browser.close", Json::Value(Json::objectValue), "", 3000);
        StopBrowser(pid_, 300, profile_);
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
        in_ = out_ = -1;
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
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0) return Json::Value(Json::objectValue);
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            char buf[65536];
            const ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) return Json::Value(Json::objectValue);
            buffer_.append(buf, static_cast<size_t>(n));
        }
    }

    int in_ = -1, out_ = -1;
    int id_ = 0;
    std::string buffer_, session_;
};

}  // namespace web_test
