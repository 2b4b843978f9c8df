#include "loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tgxs_test {

namespace {

int BindLoopback(int &port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0) {
        ::close(fd);
        throw std::runtime_error("bind");
    }
    port = ntohs(addr.sin_port);
    return fd;
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 50));
}

bool SendAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::map<std::string, Reply> routes, std::chrono::milliseconds lifetime)
    : routes_(std::move(routes)) {
    listener_ = BindLoopback(port_);
    if (::listen(listener_, 8) != 0) {
        ::close(listener_);
        throw std::runtime_error("listen");
    }
    const auto deadline = std::chrono::steady_clock::now() + lifetime;
    thread_ = std::thread([this, deadline] { Run(deadline); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::string LoopbackHttpServer::Url(const std::string &path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackHttpServer::Requests() {
    std::lock_guard<std::mutex> g(mutex_);
    return requests_;
}

void LoopbackHttpServer::Run(std::chrono::steady_clock::time_point deadline) {
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(deadline)) <= 0) continue;
        int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Serve(client, deadline);
        ::close(client);
    }
}

void LoopbackHttpServer::Serve(int client, std::chrono::steady_clock::time_point deadline) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && !stop_ && std::chrono::steady_clock::now() < deadline) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(deadline)) <= 0) continue;
        ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<size_t>(n));
    }
    // "GET <target> HTTP/1.1"
    size_t a = request.find(' ');
    size_t b = a == std::string::npos ? a : request.find(' ', a + 1);
    if (b == std::string::npos) return;
    const std::string target = request.substr(a + 1, b - a - 1);
    {
        std::lock_guard<std::mutex> g(mutex_);
        requests_.push_back(target);
    }
    auto it = routes_.find(target);
    Reply reply = it != routes_.end() ? it->second : Reply{404, "not found"};
    if (reply.silent) {
        // Hold the connection open without a byte until told to stop.
        while (!stop_ && std::chrono::steady_clock::now() < deadline) {
            pollfd p{client, POLLIN, 0};
            if (::poll(&p, 1, MillisecondsLeft(deadline)) > 0 && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
        }
        return;
    }
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + (reply.status == 200 ? " OK" : " Error") + "\r\n";
    if (reply.sendLength) head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (SendAll(client, head.data(), head.size())) SendAll(client, reply.body.data(), reply.body.size());
}

int UnusedLoopbackPort() {
    int port = 0;
    int fd = BindLoopback(port);
    ::close(fd);
    return port;
}

}  // namespace tgxs_test
