// A tiny HTTP/1.1 server on 127.0.0.1 with an ephemeral port, serving fixed
// replies from a thread. It stops by itself after `lifetime` and always when
// destroyed.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tgxs_test {

class LoopbackHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        bool sendLength = true;  // false: no Content-Length, the body ends at close
        bool silent = false;  // accept and read the request, never answer
    };

    explicit LoopbackHttpServer(std::map<std::string, Reply> routes,
        std::chrono::milliseconds lifetime = std::chrono::seconds(20));
    ~LoopbackHttpServer();

    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    int port() const { return port_; }
    std::string Url(const std::string &path) const;
    // Request targets in arrival order, as sent on the wire.
    std::vector<std::string> Requests();

private:
    void Run(std::chrono::steady_clock::time_point deadline);
    void Serve(int client, std::chrono::steady_clock::time_point deadline);

    std::map<std::string, Reply> routes_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A loopback port on which nothing listens (bound once, then closed).
int UnusedLoopbackPort();

}  // namespace tgxs_test
