// One pad driven through the SDK's public C API: a pad on a serial port, or the
// simulated pad started in this process on a pseudo-terminal. Waits for the
// display callback after every display operation, so that each operation is
// complete when its call returns, and keeps the SDK's diagnostic lines off the
// tool's standard output.
#pragma once

#include <termios.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ports.h"

namespace padsim {
class SimulatedPad;
}

namespace velumi_tool {

// How long init may take on a serial port before the tool says no pad answers.
constexpr int kAnswerTimeoutMs = 4000;

// Result of Pad::Run when the display callback did not come in time.
constexpr int kNotShown = -1;

struct PadChoice {
    int port = 0;  // 0: start the simulated pad (unless a path is given)
    std::string path;  // a device path such as /dev/ttyUSB0, opened as port kPathPort
    std::string model = "TARN";  // the simulated pad's model; with a port, forces the model when modelGiven
    bool modelGiven = false;
    bool verbose = false;  // let the SDK's diagnostic lines through (to standard error)
};

// Keeps the SDK's diagnostic lines (translator choice, table names, liblouis's
// warnings) off the tool's output through the SDK's VELUMI_QUIET switch: none
// at all, or on standard error when verbose.
class QuietStdout {
public:
    explicit QuietStdout(bool verbose);
    ~QuietStdout();
    QuietStdout(const QuietStdout &) = delete;
    QuietStdout &operator=(const QuietStdout &) = delete;
};

// Restores the terminal settings `saved` (kept by the caller) on fd when the tool
// is stopped by SIGINT, SIGTERM or SIGHUP; null forgets them.
void RestoreTerminalOnSignal(int fd, const termios *saved);

// The SDK's port number under which the tool opens a device path given by name
// (through VELUMI_PORT_<n>).
constexpr int kPathPort = 1;

// One line for an SDK error code.
std::string ErrorText(int code);

class Pad {
public:
    Pad();
    ~Pad();  // de-inits and stops the simulated pad
    Pad(const Pad &) = delete;
    Pad &operator=(const Pad &) = delete;

    // Starts the simulated pad when no port is chosen and initialises the SDK on
    // it. False with a one-line reason in `error`.
    bool Open(const PadChoice &choice, std::string &error);
    // De-initialises (waiting for a running transfer) and stops the simulated pad.
    // Returns the result of VELUMI_DEINIT (0 when nothing was open).
    int Close();

    // Runs a display operation: retries while a transfer is still running, then,
    // when it returned 0, waits for the display callback. Returns the operation's
    // result, or kNotShown when the pad never reported it shown.
    int Run(const std::function<int()> &operation);
    // Pages the braille line (VELUMI_SEND_KEY: 0x1 previous, 0x2 next): 1 when
    // the window moved, 0 when the move was refused (first or last window), else
    // the SDK's error code (or kNotShown).
    int Page(int key);

    // True when init never returned (no pad answers): the SDK is still busy in
    // another thread, so the tool must leave with _exit, without de-init.
    bool Stuck() const { return stuck_; }
    bool Simulated() const { return sim_ != nullptr; }
    // The simulated pad, or null for a pad on a port.
    padsim::SimulatedPad *Simulator() const { return sim_.get(); }
    int Port() const { return port_; }
    // The device path of the port (for messages).
    std::string PortName() const { return portName_; }
    // "port 7" for a port number, "port /dev/ttyUSB0" for a path.
    std::string Where() const { return where_; }
    // The simulated pad's pins, graphics lines and then the braille line, as
    // Unicode braille; empty for a pad on a port (its pins cannot be read back).
    std::string Pins() const;
    std::vector<uint8_t> BrailleLine() const;

    // Device facts known after Open.
    int cellsPerLine = 0, lines = 0, brailleCells = 0;
    std::string deviceName, firmwareVersion;

    // A descriptor that becomes readable whenever the display callback runs
    // (for waiting on key input and the pad's own page keys at once); Drain()
    // empties it.
    int DisplayEventFd() const;
    void DrainDisplayEvents() const;
    uint64_t DisplayCount() const;

    // Milliseconds to wait for a display callback.
    int ShowTimeoutMs() const { return sim_ ? 5000 : 15000; }

private:
    bool WaitShown(uint64_t before, uint64_t count, int timeoutMs) const;

    std::unique_ptr<padsim::SimulatedPad> sim_;
    std::string simDir_;
    int port_ = 0;
    std::string portName_, where_;
    bool open_ = false;
    bool stuck_ = false;
    bool verbose_ = false;
};

}  // namespace velumi_tool
