// A plain termios client for the simulated pad: what the SDK's serial port does,
// reduced to opening the tty raw, writing bytes and reading with a deadline.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace padsim_test {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

class PtyClient {
public:
    explicit PtyClient(const std::string &path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return;
        struct termios tio;
        if (tcgetattr(fd_, &tio) == 0) {
            cfmakeraw(&tio);
            cfsetispeed(&tio, B115200);
            cfsetospeed(&tio, B115200);
            tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~PtyClient() {
        if (fd_ >= 0) close(fd_);
    }
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    bool Write(const Bytes &bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    // Reads until `count` bytes have arrived or `timeoutMs` has passed. `reads`
    // counts the read() calls that returned data; `first`/`last` note when the
    // first and the last byte arrived.
    Bytes Read(size_t count, int timeoutMs, int *reads = nullptr, Clock::time_point *first = nullptr,
        Clock::time_point *last = nullptr) {
        Bytes got;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) break;
            struct pollfd p = {fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            if (!(p.revents & POLLIN)) break;
            uint8_t buf[512];
            const size_t want = std::min(sizeof buf, count - got.size());
            ssize_t n = read(fd_, buf, want);
            if (n <= 0) break;
            const Clock::time_point now = Clock::now();
            if (got.empty() && first) *first = now;
            if (last) *last = now;
            if (reads) ++*reads;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

    // Everything that arrives until the line has been quiet for `quietMs`.
    Bytes ReadUntilQuiet(int quietMs) {
        Bytes got;
        for (;;) {
            struct pollfd p = {fd_, POLLIN, 0};
            if (poll(&p, 1, quietMs) <= 0 || !(p.revents & POLLIN)) return got;
            uint8_t buf[512];
            ssize_t n = read(fd_, buf, sizeof buf);
            if (n <= 0) return got;
            got.insert(got.end(), buf, buf + n);
        }
    }

private:
    int fd_ = -1;
};

}  // namespace padsim_test
