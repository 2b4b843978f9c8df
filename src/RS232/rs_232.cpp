#include "RS232/rs_232.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "Log/nubra_log.h"
#include "RS232/check_com_error.h"
#include "RS232/read_com.h"
#include "platform/clock.h"

namespace velumi {

namespace {
speed_t BaudConstant(int baud) {
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 230400: return B230400;
    default: return B115200;
    }
}

// Back-off used when the port reports a hang-up: wait on the wake-up only.
void BackOff(int wakeFd, int ms) {
    struct pollfd p = {wakeFd, POLLIN, 0};
    (void)::poll(&p, 1, ms);
}
}  // namespace

std::string ResolvePortName(const std::string &name) {
    static const std::string kPrefix = "\\\\.\\COM";
    if (name.compare(0, kPrefix.size(), kPrefix) != 0) return name;
    // Never a file named after a bad port number in the current directory.
    if (name.size() == kPrefix.size() || name.size() > kPrefix.size() + 3 ||
        name.find_first_not_of("0123456789", kPrefix.size()) != std::string::npos)
        return std::string();
    const int n = std::atoi(name.c_str() + kPrefix.size());
    if (!ValidPortNumber(n)) return std::string();
    const std::string mapped = "VELUMI_PORT_" + std::to_string(n);
    const char *path = std::getenv(mapped.c_str());
    if (path && *path) return path;
    const char *dir = std::getenv("VELUMI_PORT_DIR");
    if (dir && *dir) return std::string(dir) + "/com" + std::to_string(n);
    return "/dev/ttyS" + std::to_string(n - 1);
}

CRS232::CRS232() { lastReceive_ = platform::NowMs(); }

CRS232::~CRS232() {
    // Stop the workers cooperatively before the port goes away.
    closed_ = 1;
    if (readWorker_) {
        readWorker_->RequestStop();
        WakeReader();
        readWorker_->Join(true);
    }
    if (errorWorker_) {
        errorWorker_->RequestStop();
        errorWorker_->Join(true);
    }
    readWorker_.reset();
    errorWorker_.reset();
    if (fd_ >= 0) ClosePort(false);
}

void CRS232::OnReceiveData(const uint8_t *, int) {}
void CRS232::OnNotify() {}

bool CRS232::Configure(int fd) {
    struct termios tio;
    if (::tcgetattr(fd, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (settings_.dataBits == 7) tio.c_cflag = (tio.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS7;
    if (settings_.parity) tio.c_cflag |= PARENB;
    if (settings_.stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, BaudConstant(settings_.baudRate));
    ::cfsetospeed(&tio, BaudConstant(settings_.baudRate));
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return false;
    // DTR and RTS line control disabled; a pty refuses this, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIC, &lines);
    (void)::tcflush(fd, TCIOFLUSH);
    return true;
}

int CRS232::Open() {
    if (fd_ >= 0) return RE_PORT_ALREADY_OPENED;
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        NubraLog("[ERROR] RS232 / m_OS.hEvent : CreateEvent Error !!");
        return RE_HANDLE_INIT_ERROR;
    }
    m_hWait.ResetEvent();
    m_hWaitOK.ResetEvent();
    const std::string path = ResolvePortName(portName_);
    int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        NubraLog("[ERROR] RS232 / open %s : %s", path.c_str(), std::strerror(errno));
        ::close(wakeFd_);
        wakeFd_ = -1;
        return RE_PORT_OPEN_ERROR;
    }
    // No sharing: an advisory lock that other users of the port see (root
    // included), and exclusive mode as far as the driver allows.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        NubraLog("[ERROR] RS232 / open %s : the port is in use by another program", path.c_str());
        ::close(fd);
        ::close(wakeFd_);
        wakeFd_ = -1;
        return RE_PORT_OPEN_ERROR;
    }
    (void)::ioctl(fd, TIOCEXCL);
    if (!Configure(fd)) {
        (void)::ioctl(fd, TIOCNXCL);
        ::close(fd);
        ::close(wakeFd_);
        wakeFd_ = -1;
        return RE_PORT_OPEN_ERROR;
    }
    fd_ = fd;
    closed_ = 0;  // before the workers start, so no early byte is dropped
    readWorker_ = std::make_unique<CReadCOM>(this);
    if (!readWorker_->Start()) {
        readWorker_.reset();
        closed_ = 1;
        ClosePort(false);
        return RE_THREADS_RUN_ERROR;
    }
    errorWorker_ = std::make_unique<CCheckCOMError>(this);
    if (!errorWorker_->Start()) {
        // Stop the read worker at once rather than leave it running.
        errorWorker_.reset();
        closed_ = 1;
        readWorker_->RequestStop();
        WakeReader();
        readWorker_->Join(true);
        readWorker_.reset();
        ClosePort(false);
        return RE_THREADS_RUN_ERROR;
    }
    return RE_OK;
}

void CRS232::WakeReader() {
    if (wakeFd_ >= 0) {
        uint64_t one = 1;
        (void)!::write(wakeFd_, &one, sizeof one);
    }
}

int CRS232::Close() {
    closed_ = 1;
    if (fd_ < 0) return 1;
    int running = 0;
    if (readWorker_) {
        if (readWorker_->Running()) {
            ++running;
            readWorker_->RequestStop();
            WakeReader();
        } else {
            readWorker_->Join(true);
            readWorker_.reset();
        }
    }
    if (errorWorker_) {
        if (errorWorker_->Running()) {
            ++running;
            errorWorker_->RequestStop();
        } else {
            errorWorker_->Join(true);
            errorWorker_.reset();
        }
    }
    if (running) return 0;
    ClosePort(true);
    return 1;
}

void CRS232::ClosePort(bool notify) {
    const int fd = fd_.exchange(-1);
    if (fd >= 0) {
        int lines = TIOCM_DTR | TIOCM_RTS;
        (void)::ioctl(fd, TIOCMBIC, &lines);
        (void)::tcflush(fd, TCIOFLUSH);
        // Exclusive mode outlives this descriptor while anything else holds the
        // port (a pty's other side does): without this, no user but root could
        // open the port again until then.
        (void)::ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
    if (wakeFd_ >= 0) ::close(wakeFd_);
    wakeFd_ = -1;
    m_hWait.ResetEvent();
    m_hWaitOK.ResetEvent();
    if (notify) OnNotify();
}

int CRS232::COMPortWrite(const uint8_t *bytes, int count, int expected) {
    const int fd = fd_;
    if (closed_ != 0 || fd < 0 || count <= 0 || count > kPortChunk || !bytes) return 0;
    if (expected > 0 && expected <= kPortChunk) {
        std::lock_guard<std::mutex> g(waitLock_);
        waitCount_ = 0;
        expectedLength_ = expected;
        m_hWait.Set();
        m_hWaitOK.ResetEvent();
    }
    const uint64_t deadline = platform::NowMs() + kWriteTimeoutMs;
    int written = 0;
    while (written < count) {
        ssize_t n = ::write(fd, bytes + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            NubraLog("[ERROR] COMPortWrite - not ERROR_IO_PENDING");
            return 0;
        }
        const uint64_t now = platform::NowMs();
        struct pollfd p = {fd, POLLOUT, 0};
        if (now >= deadline || ::poll(&p, 1, static_cast<int>(deadline - now)) <= 0 ||
            (p.revents & (POLLERR | POLLHUP))) {
            NubraLog("[ERROR] COMPortWrite - ERROR_IO_INCOMPLETE");
            NubraLog("[ERROR] COMPortWrite - overlapped error!!");
            return 0;
        }
    }
    return 1;
}

int CRS232::WaitForPortEvent() {
    const int fd = fd_;
    if (fd < 0 || wakeFd_ < 0) return 0;
    struct pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    int r = ::poll(p, 2, -1);
    if (r <= 0) return 0;
    if (p[1].revents & POLLIN) return 0;  // Close woke us
    if (p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
        // The pad is gone (unplugged, or a pty whose other side closed): take
        // what is still queued, then back off instead of spinning.
        int got = (p[0].revents & POLLIN) ? ReceiveData() : 0;
        if (got == 0) BackOff(wakeFd_, 100);
        return got;
    }
    if (!(p[0].revents & POLLIN)) return 0;
    int got = ReceiveData();
    if (got == 0) BackOff(wakeFd_, 5);
    return got;
}

int CRS232::ReceiveData() {
    uint8_t chunk[kPortChunk];
    int total = 0;
    for (;;) {
        int n = ReadBlock(chunk, kPortChunk);
        if (n <= 0) break;
        total += n;
        lastReceive_ = platform::NowMs();
        if (!m_hWait.IsSet()) {
            OnReceiveData(chunk, n);
            continue;
        }
        int surplusStart = -1, surplus = 0;
        {
            std::lock_guard<std::mutex> g(waitLock_);
            if (waitCount_ + n <= kPortChunk) {
                std::memcpy(waitBuffer_ + waitCount_, chunk, static_cast<size_t>(n));
                waitCount_ += n;
            } else {
                std::memcpy(waitBuffer_, chunk, static_cast<size_t>(n));
                waitCount_ = n;
            }
            if (waitCount_ >= expectedLength_) {
                if (waitCount_ > expectedLength_) {
                    surplusStart = expectedLength_;
                    surplus = waitCount_ - expectedLength_;
                    waitCount_ = expectedLength_;
                }
                m_hWait.ResetEvent();
                m_hWaitOK.Set();
            }
        }
        if (surplus > 0) OnReceiveData(waitBuffer_ + surplusStart, surplus);
    }
    return total;
}

int CRS232::ReadBlock(uint8_t *buffer, int max) {
    const int fd = fd_;
    if (fd < 0) return 0;
    int queued = 0;
    if (::ioctl(fd, FIONREAD, &queued) != 0) queued = max;  // read what comes
    int n = queued < max ? queued : max;
    if (n <= 0) return 0;
    ssize_t got = ::read(fd, buffer, static_cast<size_t>(n));
    if (got < 0) {
        if (errno != EAGAIN && errno != EINTR && errno != EIO) NubraLog("[ERROR] ReadBlock - not ERROR_IO_PENDING");
        return 0;
    }
    return static_cast<int>(got);
}

int CRS232::Read(uint8_t *destination, int milliseconds) {
    if (!m_hWaitOK.Wait(milliseconds)) return 0;
    m_hWaitOK.ResetEvent();
    std::lock_guard<std::mutex> g(waitLock_);
    if (waitCount_ != expectedLength_) return 0;
    std::memcpy(destination, waitBuffer_, static_cast<size_t>(waitCount_));
    return 1;
}

void CRS232::CheckReceiveTimeout() {
    const uint64_t now = platform::NowMs();
    if (now - lastReceive_ >= static_cast<uint64_t>(receiveWaitTimeout_.load())) {
        lastReceive_ = now;
        {
            std::lock_guard<std::mutex> g(waitLock_);
            waitCount_ = 0;
        }
        m_hWait.ResetEvent();
        m_hWaitOK.ResetEvent();
        OnNotify();
    }
}

}  // namespace velumi
