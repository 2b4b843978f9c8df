// CRS232: one serial port on POSIX termios, with the receive worker and the
// receive-timeout worker that keep reception going while it is open.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/event.h"

namespace velumi {

class CReadCOM;
class CCheckCOMError;

enum OpenResult {
    RE_OK = 0,
    RE_PORT_ALREADY_OPENED = 1,
    RE_HANDLE_INIT_ERROR = 2,
    RE_PORT_OPEN_ERROR = 3,
    RE_THREADS_RUN_ERROR = 4
};

struct SerialSettings {
    int baudRate = 57600;
    int dataBits = 8;
    bool parity = false;
    int stopBits = 1;
};

constexpr int kPortChunk = 4096;
constexpr int kWriteTimeoutMs = 5000;

// Port numbers the SDK opens: COM1 to COM255, as on the pad's home system.
constexpr int kMinPortNumber = 1;
constexpr int kMaxPortNumber = 255;
inline bool ValidPortNumber(int port) { return port >= kMinPortNumber && port <= kMaxPortNumber; }

// "\\.\COMn" -> $VELUMI_PORT_n when set (a device path such as /dev/ttyUSB0),
// else $VELUMI_PORT_DIR/comN when set, else /dev/ttyS(n-1); any other name is
// taken as a path. A "\\.\COM" name without a valid port number
// ("\\.\COM0", "\\.\COM-1", "\\.\COM256") gives "": nothing is opened.
std::string ResolvePortName(const std::string &name);

class CRS232 {
public:
    CRS232();
    virtual ~CRS232();
    CRS232(const CRS232 &) = delete;
    CRS232 &operator=(const CRS232 &) = delete;

    virtual void OnReceiveData(const uint8_t *bytes, int count);
    virtual void OnNotify();
    virtual int Open();
    virtual int Close();

    // Writes the whole frame within the write time-out; 1 on success, 0 on
    // failure (a frame cut short is a failure). 0 < expected <= 4096 arms the
    // synchronous receive wait for that many bytes.
    int COMPortWrite(const uint8_t *bytes, int count, int expected);
    // Blocks until bytes arrive or Close wakes it; returns the bytes received.
    int WaitForPortEvent();
    int ReceiveData();
    int ReadBlock(uint8_t *buffer, int max);
    // Waits for the armed synchronous wait; 1 when exactly the expected bytes came.
    int Read(uint8_t *destination, int milliseconds);
    void CheckReceiveTimeout();

    bool IsOpen() const { return fd_.load() >= 0; }
    bool IsClosed() const { return closed_.load() != 0; }
    void SetPortName(const std::string &name) { portName_ = name.substr(0, 19); }
    const std::string &PortName() const { return portName_; }
    SerialSettings &Settings() { return settings_; }
    void SetReceiveWaitTimeout(int ms) { receiveWaitTimeout_ = ms; }

protected:
    void ClosePort(bool notify);

private:
    bool Configure(int fd);
    void WakeReader();

    std::atomic<int> fd_{-1};
    int wakeFd_ = -1;  // eventfd that Close signals to release a blocked reader
    // The synchronous receive wait.
    platform::Event m_hWait{platform::Event::Reset::Manual};
    platform::Event m_hWaitOK{platform::Event::Reset::Manual};
    std::mutex waitLock_;  // guards the wait buffer and counts
    int expectedLength_ = 0;
    int waitCount_ = 0;
    uint8_t waitBuffer_[kPortChunk] = {};
    std::atomic<uint64_t> lastReceive_{0};

    std::unique_ptr<CReadCOM> readWorker_;
    std::unique_ptr<CCheckCOMError> errorWorker_;
    std::atomic<int> closed_{1};
    std::atomic<int> receiveWaitTimeout_{3000};
    std::string portName_;
    SerialSettings settings_;
};

}  // namespace velumi
