// Simulated Velumi pad: the pad's side of the serial wire protocol, served over a
// real pseudo-terminal so that the SDK talks to it exactly as to a pad on a serial
// port. Tests drive it in-process; the program velumi-padsim serves it for demos.
//
// What it does:
//  - answers the firmware-version (0x0000 -> 0x0001, 8 bytes), hardware-version
//    (0x0010 -> 0x0011, 1 byte) and device-name (0x0100 -> 0x0101, 10 bytes)
//    requests;
//  - answers a display line (0x0200) with the response 0x0201 (result byte 0) and
//    then the line notice (0x0202), and keeps the cells per line: line 0 with
//    mode 0x80 is the braille line, lines 1..L (mode 0x00) the graphics area.
//    A line it does not have is answered with result 0x02, cells beyond the end
//    of the line (or no start cell) with 0x03; neither gets a notice;
//  - ignores frames with a bad checksum (counted, see BadChecksumCount) and
//    records everything it finds wrong with a request (see Anomalies);
//  - sends key notices on demand, and misbehaves on demand (Fault).
//
// Thread safety: every member function may be called from any thread at any
// time, except that Start/Stop/destruction must not race each other. Replies are
// written by one serving thread that waits in poll() on the pty and a wake-up
// eventfd, so Stop() returns at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padsim {

// Misbehaviour on demand. The meaning of `n` per fault is given with SetFault.
// clang-format off
enum class Fault {
    None,
    NeverAnswer,           // the pad stays silent: no response, no notice
    DropNthAnswer,         // the answer to one request is lost (for a display line: response and notice)
    CorruptChecksum,       // the answer to one request arrives with a wrong checksum (every frame of it)
    RejectLine,            // a display line is answered with result `code` and no notice; the line is not shown
    OmitLineNotice,        // a display line is accepted (result 0) and shown but the notice never comes
    GarbageBetweenFrames,  // noise bytes in front of every frame the pad sends
    OneByteAtATime,        // every frame the pad sends is written one byte per write()
    DelayAnswers,          // answers (response and notice) are held back
    PaceAtBaud,            // bytes leave at the pace of a serial line, 10 bits per byte
    DuplicateAnswers,      // every frame of an answer (response, notice) is sent twice in a row
};
// clang-format on

struct Options {
    std::string deviceName = "TARN";  // sent as 10 bytes, cut or padded with NUL bytes
    std::string firmwareVersion = "1.00.000";  // sent as 8 bytes, cut or padded with NUL bytes
    uint8_t hardwareVersion = 1;
    // Geometry; -1 = from the model whose name text deviceName contains (the
    // longest such name wins, so "ORIEL_WIDE" is ORIEL_WIDE, not ORIEL), else TARN.
    int lines = -1, cellsPerLine = -1, brailleCells = -1;
    uint16_t lineNoticeCommand = 0x0202;  // the pad may also report a shown line with 0x0206
    int noticeDelayMs = 0;  // time between the response and the line notice (pins settling)
};

// One row per fault, for help texts and the web view's switches: the
// command-line name ("drop-answer"), one line saying what it does, what its
// number n means (empty when it takes none) and whether it takes a result code.
struct FaultInfo {
    Fault fault;
    const char *name;
    const char *summary;
    const char *number;
    bool takesCode;
};
// Every fault but Fault::None, in the order of the enumeration.
const std::vector<FaultInfo> &FaultCatalogue();
// The catalogue row of a fault, or of a name; null when there is none.
const FaultInfo *FindFault(Fault fault);
const FaultInfo *FindFault(const std::string &name);

// A fault switched on, with its settings.
struct ActiveFault {
    Fault fault;
    int n;
    int code;
};

// What observers of the pad are told (see SimulatedPad::AddObserver).
struct PadEvent {
    enum class Kind {
        LineShown,  // a display line was accepted and shown: `line` (0 = braille line), `bytes` its cells
        FrameReceived,  // a valid frame came from the host: `bytes`
        FrameSent,  // a frame (or raw bytes, `raw`) was queued for the host: `bytes`
        LinkChanged,  // started, stopped, hung up
        FaultsChanged,  // a fault was switched on or off
    };
    Kind kind;
    int line = -1;
    std::vector<uint8_t> bytes;
    bool raw = false;
};

// Geometry of a named model; false when `name` is not one of ModelNames().
bool ModelGeometry(const std::string &name, int &lines, int &cellsPerLine, int &brailleCells);
// The eight model names ("ORIEL_WIDE", "ORIEL", "LINNET", "TARN", "WREN", "QX-LINE", "QX-SHORT", "QY-SHORT").
std::vector<std::string> ModelNames();

class SimulatedPad {
public:
    explicit SimulatedPad(Options options = {});
    ~SimulatedPad();  // stops, closes the pty and removes the links it made
    SimulatedPad(const SimulatedPad &) = delete;
    SimulatedPad &operator=(const SimulatedPad &) = delete;

    // Opens a pty (posix_openpt, raw mode, 115200 baud) and starts the serving
    // thread. False (with errno set) when the pty cannot be opened. Start after
    // Stop opens a fresh pty with a new path; the shown cells are kept.
    bool Start();
    // Stops the serving thread, closes the pty and removes the links made by
    // LinkAs. Bytes not yet written are discarded. Safe to call twice.
    void Stop();
    bool IsRunning() const;
    std::string DevicePath() const;  // the slave tty path the SDK opens; empty before Start
    // Creates DIR/comN as a symlink to the slave (replacing a stale link, never a
    // regular file). Requires Start. The link is removed again by Stop.
    bool LinkAs(const std::string &dir, int com);

    // Faults may be set at any time from any thread; several may be active at once;
    // setting a fault again restarts its count.
    //  - DropNthAnswer, CorruptChecksum: n is the 1-based index of the answer,
    //    counted over the requests answered after the fault was set (unknown
    //    commands and requests under NeverAnswer do not count); 0 = every one.
    //  - RejectLine, OmitLineNotice: n is the 1-based index of the display-line
    //    request, counted from when the fault was set; 0 = every one. RejectLine
    //    answers with `code` as the result byte.
    //  - DelayAnswers: n is the delay in ms.
    //  - GarbageBetweenFrames: n noise bytes in front of each frame (0 = 6).
    //  - OneByteAtATime: n ms between the bytes (0 = 1 ms).
    //  - PaceAtBaud: n is the baud rate (0 = 115200, about 86.8 us per byte).
    //  - DuplicateAnswers: n as for DropNthAnswer.
    //  - NeverAnswer ignores n. Requests are still received, counted and acted upon
    //    (a display line is still shown), as with a dropped answer.
    // SetFault(Fault::None) does nothing.
    void SetFault(Fault fault, int n = 0, int code = 1);
    void ClearFault(Fault fault);
    void ClearFaults();

    // What the pad has received and shows.
    // Every complete, valid frame received, raw bytes, in order (the last 65536 of them).
    std::vector<std::vector<uint8_t>> ReceivedFrames() const;
    size_t RequestCount(uint16_t command) const;  // valid frames received with that command code
    bool WaitForRequests(uint16_t command, size_t count,
        int timeoutMs) const;  // true once RequestCount(command) >= count
    void ClearReceived();  // forgets received and sent frames, counts, bad checksums and anomalies
    size_t BadChecksumCount() const;  // frames dropped for a bad checksum
    // Everything the pad found wrong, one line each: bad checksums, noise bytes
    // skipped, unknown commands, display lines out of range.
    std::vector<std::string> Anomalies() const;
    // Every frame the pad has queued for sending (answers and notices, after
    // CorruptChecksum, without noise bytes), in order.
    std::vector<std::vector<uint8_t>> SentFrames() const;

    int Lines() const;
    int CellsPerLine() const;
    int BrailleCells() const;
    std::vector<uint8_t> GraphicLine(
        int line) const;  // 1-based; cells last shown on that line (empty when out of range)
    std::vector<uint8_t> BrailleLine() const;  // cells last shown on the braille line (empty without one)
    // Graphics lines 1..L, then the braille line, each as Unicode braille text
    // (U+2800 + cell byte, UTF-8), one line of text per pad line, each ending in '\n'.
    std::string Render() const;
    // Called on the serving thread after each accepted display line, with the
    // line number (0 = braille line). Replaces any earlier listener; empty = none.
    // The listener may read the pad (Render, GraphicLine, ...) but must not call
    // Stop or HangUp, which wait for the serving thread.
    void SetDisplayListener(std::function<void(int line)> listener);

    // Observers: called for every PadEvent, on the thread that caused it (the
    // serving thread for frames and shown lines), never under the pad's lock, so
    // they may read the pad; like the display listener they must not call Stop
    // or HangUp. An observer may still be running while RemoveObserver returns,
    // so whatever it captures must outlive that (hold it by shared_ptr).
    int AddObserver(std::function<void(const PadEvent &event)> observer);  // returns an id for RemoveObserver
    void RemoveObserver(int id);

    std::string DeviceName() const;  // as reported, before cutting to 10 bytes
    std::string FirmwareVersion() const;
    bool IsHungUp() const;  // HangUp was called and Start has not opened a fresh pty since
    std::vector<std::string> Links() const;  // the DIR/comN links made by LinkAs
    std::vector<ActiveFault> ActiveFaults() const;

    // The pad's notices, sent at once, though never ahead of an answer still held
    // back by DelayAnswers (bytes leave in order). Of the faults only
    // GarbageBetweenFrames (not for SendRaw), OneByteAtATime and PaceAtBaud apply.
    // No effect when not running or hung up.
    void SendPageKey(uint8_t code);  // NOTI_EVENT_KEY 0x0302, key code at frame offset 11
    void SendPerkinsKey(uint8_t key);  // NOTI_KEY_PERKINS 0x0312, key at frame offset 9
    void SendFunctionKeys(uint8_t bits);  // NOTI_KEY_FUNCTION 0x0332, bits at frame offset 8
    void SendRaw(const std::vector<uint8_t> &bytes);  // bytes as they are
    // A "line shown" notice (the pad's notice command) that answers no request.
    void SendLineNotice();
    // A device-name answer (0x0101) nobody asked for; `name` cut or padded to 10 bytes.
    void SendDeviceName(const std::string &name);
    // Closes the pty master under a running link, as when the pad is unplugged:
    // the SDK's reads and writes then fail, and the links made by LinkAs are
    // gone. Returns when closed. Stop still cleans up.
    void HangUp();
    // Plugs the pad in again after HangUp (or Stop): a fresh pty, and every link
    // made by LinkAs points to it again. The shown cells are kept. False when
    // the pty cannot be opened.
    bool Replug();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace padsim
