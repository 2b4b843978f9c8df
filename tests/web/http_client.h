// A plain-socket HTTP client for the web view's tests: whole requests written
// as given (so headers such as Host and Origin can be forged), responses read
// until the server closes, and event-stream connections read at the test's pace.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace web_test {

inline int Connect(int port, int receiveBuffer = 0) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

inline bool SendAll(int fd, const std::string &text) {
    for (size_t off = 0; off < text.size();) {
        const ssize_t n = send(fd, text.data() + off, text.size() - off, MSG_NOSIGNAL);
        if (n <= 0) return false;
        off += static_cast<size_t>(n);
    }
    return true;
}

// Reads what arrives within `ms`, or until `until` appears in it, or the peer closes
// (sockets and pipes alike).
inline std::string ReadFor(int fd, int ms, const std::string &until = "") {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (!until.empty() && out.find(until) != std::string::npos) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buf[16384];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

// One request on its own connection ("Connection: close" is added); the whole response.
inline std::string Request(int port, const std::string &method, const std::string &target,
    const std::string &headers = "", const std::string &host = "") {
    const int fd = Connect(port);
    if (fd < 0) return "";
    const std::string h = host.empty() ? "127.0.0.1:" + std::to_string(port) : host;
    SendAll(fd, method + " " + target + " HTTP/1.1\r\nHost: " + h + "\r\n" + headers +
                    "Content-Length: 0\r\nConnection: close\r\n\r\n");
    const std::string response = ReadFor(fd, 5000);
    close(fd);
    return response;
}

inline int Status(const std::string &response) {
    if (response.compare(0, 9, "HTTP/1.1 ") != 0) return -1;
    return std::atoi(response.c_str() + 9);
}

}  // namespace web_test
