// Wire frames: AA 55, big-endian length (bytes after the length field,
// checksum included), destination, big-endian command, parameter, payload,
// and a checksum of 0xA5 XOR every byte from offset 4 to the one before it.
#pragma once

#include <cstdint>

namespace velumi {

constexpr int kFrameBufferSize = 2048;
constexpr int kMinFrameSize = 9;
constexpr int kFrameHeaderSize = 8;

// Command codes.
enum : uint16_t {
    CMD_REQ_FW_VER_INFO = 0x0000,
    CMD_RSP_FW_VER_INFO = 0x0001,
    CMD_REQ_HW_VER_INFO = 0x0010,
    CMD_RSP_HW_VER_INFO = 0x0011,
    CMD_REQ_DEVICE_NAME = 0x0100,
    CMD_RSP_DEVICE_NAME_INFO = 0x0101,
    CMD_REQ_DISPLAY_LINE = 0x0200,
    CMD_RSP_DISPLAY_LINE = 0x0201,
    CMD_NOTI_DISPLAY_LINE = 0x0202,
    CMD_NOTI_DISPLAY_LINE_ALT = 0x0206,
    CMD_NOTI_EVENT_KEY = 0x0302,
    CMD_NOTI_KEY_PERKINS = 0x0312,
    CMD_NOTI_KEY_FUNCTION = 0x0332,
    CMD_RSP_PARAM_DATA = 0x0501,
};

constexpr uint8_t kModeGraphic = 0x00;
constexpr uint8_t kModeBraille = 0x80;

uint8_t FrameChecksum(const uint8_t *bytes, int count);

// The three queries: write the 9-byte frame and return 9.
int BuildFirmwareVersionQuery(uint8_t *buffer);
int BuildHardwareVersionQuery(uint8_t *buffer);
int BuildDeviceNameQuery(uint8_t *buffer);
// Display line: line 0 (braille, mode 0x80) or graphic line 1..L (mode 0x00),
// start cell 0, then the n cells. Returns n + 10, or 0 when n is outside 0..249
// (the length byte holds n + 6) or the frame would not fit the buffer.
int BuildDisplayLine(uint8_t *buffer, int bufferSize, const uint8_t *cells, int n, int line, uint8_t mode);

// Trace name of a request, chosen from the code of the answer it awaits
// (awaited code - 1); "" for codes outside the table.
const char *RequestTraceName(int awaitedCode);

// "[SEND|RECV] name ## XX XX ... " trace line.
void TraceFrame(const char *direction, const char *name, const uint8_t *bytes, int count);

// Receives the effects of the frames that ParseFrame dispatches.
class FrameHandler {
public:
    virtual ~FrameHandler() = default;
    virtual void OnFirmwareVersion(const char (&version)[9]) = 0;  // zero-terminated
    virtual void OnHardwareVersion(uint8_t version) = 0;
    virtual void OnDeviceName(const char (&name)[11]) = 0;  // zero-terminated
    virtual void OnDisplayLineAccepted() = 0;  // result byte 0
    virtual void OnDisplayLineShown() = 0;  // notice 0x0202 or 0x0206
    virtual void OnDisplayLineRefused() {}  // any other result byte
    virtual void OnEventKey(uint8_t keyCode) = 0;  // paging keys
    virtual void OnKey(int value) = 0;  // Perkins 100/200, function keys 0..3
};

// Examines the start of the receive buffer (count bytes): dispatches at most one
// frame, moves what follows it to the front and returns the new count; returns
// -1 when no complete frame is there yet. The caller repeats while the result
// is greater than 0. A frame with a bad checksum, a length field below 5, or
// one promising more than the buffer can ever hold loses its first byte, so the
// parser resynchronises on the next sync word instead of stalling.
int ParseFrame(uint8_t *buffer, int count, FrameHandler &handler);

}  // namespace velumi
