// Headless Firefox driven through Marionette, its own automation protocol: a
// TCP connection on which each message is "LENGTH:JSON", commands
// [0, id, name, params] and answers [1, id, error, result]. The same few
// operations as Browser (browser.h): open a page, evaluate script, screenshot.
#pragma once

#include <json/json.h>

#include "browser_common.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace web_test {

class Firefox : public BrowserProcess {
public:
    ~Firefox() { Close(); }

    // Starts Firefox headless with a fresh profile and opens a session.
    bool Start() {
        const std::string exe = FirefoxPath();
        if (exe.empty() || !MakeProfile("/tmp/velumi-firefox-XXXXXX")) return false;
        const int port = FreePort();
        {
            std::ofstream prefs(profile_ + "/user.js");
            prefs << "user_pref(\"marionette.port\", " << port << ");\n"
                  << "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                  << "user_pref(\"browser.startup.homepage_override.mstone\", \"ignore\");\n"
                  << "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
                  << "user_pref(\"toolkit.telemetry.reportingpolicy.firstRun\", false);\n"
                  << "user_pref(\"app.update.disabledForTesting\", true);\n"
                  << "user_pref(\"network.captive-portal-service.enabled\", false);\n"
                  << "user_pref(\"network.connectivity-service.enabled\", false);\n"
                  << "user_pref(\"extensions.update.enabled\", false);\n"
                  << "user_pref(\"browser.safebrowsing.update.enabled\", false);\n";
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {exe, "--headless", "--marionette", "--no-remote", "--profile", profile_,
            "about:blank"};
        if (!SpawnBrowser(pid_, std::move(args), actions)) return false;
        // Marionette listens once Firefox is up.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (fd_ < 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(static_cast<uint16_t>(port));
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) fd_ = fd;
            else close(fd);
        }
        if (fd_ < 0) return false;
        Json::Value hello;
        if (!ReadMessage(hello, 10000)) return false;
        Json::Value caps(Json::objectValue);
        caps["capabilities"]["alwaysMatch"]["acceptInsecureCerts"] = false;
        Json::Value session;
        return Call("WebDriver:NewSession", caps, session);
    }

    bool Open(const std::string &url) {
        Json::Value params, result;
        params["url"] = url;
        return Call("WebDriver:Navigate", params, result);
    }

    // The value of a script expression in the page; null on an error.
    Json::Value Eval(const std::string &expression) {
        Json::Value params, result;
        params["script"] = "return (" + expression + ");";
        params["args"] = Json::Value(Json::arrayValue);
        if (!Call("WebDriver:ExecuteScript", params, result)) return Json::Value();
        return result.get("value", Json::Value());
    }

    bool WaitFor(const std::string &expression, int timeoutMs = 10000) {
        return PollUntilTrue([&] { return Eval(expression); }, timeoutMs);
    }

    bool Screenshot(const std::string &path) {
        Json::Value params, result;
        params["full"] = true;
        if (!Call("WebDriver:TakeScreenshot", params, result)) return false;
        return WritePng(path, result.get("value", "").asString());
    }

    void Close() {
        if (fd_ >= 0) {
            Json::Value params, result;
            params["flags"].append("eForceQuit");
            Call("Marionette:Quit", params, result, 5000);
            close(fd_);
            fd_ = -1;
        }
        StopBrowser(pid_, 500, profile_);
    }

private:
    static int FreePort() {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        int port = 2828;
        if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
            port = ntohs(a.sin_port);
        close(fd);
        return port;
    }

    bool Call(const std::string &name, const Json::Value &params, Json::Value &result, int timeoutMs = 30000) {
        Json::Value command(Json::arrayValue);
        command.append(0);
        command.append(++id_);
        command.append(name);
        command.append(params);
        Json::StreamWriterBuilder w;
        w["indentation"] = "";
        const std::string body = Json::writeString(w, command);
        const std::string text = std::to_string(body.size()) + ":" + body;
        for (size_t off = 0; off < text.size();) {
            const ssize_t n = send(fd_, text.data() + off, text.size() - off, MSG_NOSIGNAL);
            if (n <= 0) return false;
            off += static_cast<size_t>(n);
        }
        for (;;) {
            Json::Value reply;
            if (!ReadMessage(reply, timeoutMs)) return false;
            if (reply.isArray() && reply.size() == 4 && reply[1].asInt() == id_) {
                result = reply[3];
                return reply[2].isNull();
            }
        }
    }

    bool ReadMessage(Json::Value &message, int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const size_t colon = buffer_.find(':');
            if (colon != std::string::npos) {
                const size_t length = std::strtoul(buffer_.c_str(), nullptr, 10);
                if (buffer_.size() >= colon + 1 + length) {
                    const std::string body = buffer_.substr(colon + 1, length);
                    buffer_.erase(0, colon + 1 + length);
                    Json::CharReaderBuilder rb;
                    std::string errors;
                    std::istringstream in(body);
                    return Json::parseFromStream(rb, in, &message, &errors);
                }
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0) return false;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            char buf[65536];
            const ssize_t n = recv(fd_, buf, sizeof buf, 0);
            if (n <= 0) return false;
            buffer_.append(buf, static_cast<size_t>(n));
        }
    }

    int fd_ = -1;
    int id_ = 0;
    std::string buffer_;
};

}  // namespace web_test
