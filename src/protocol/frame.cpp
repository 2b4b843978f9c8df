#include "protocol/frame.h"

#include <cstdio>
#include <cstring>

#include "Log/nubra_log.h"

namespace velumi {

namespace {
uint16_t ReadBigEndian(const uint8_t *p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

int BuildQuery(uint8_t *buffer, uint16_t command) {
    const uint8_t frame[8] = {0xAA, 0x55, 0x00, 0x05, 0x00, static_cast<uint8_t>(command >> 8),
        static_cast<uint8_t>(command & 0xFF), 0x00};
    std::memcpy(buffer, frame, sizeof frame);
    buffer[8] = FrameChecksum(buffer + 4, 4);
    return kMinFrameSize;
}

// Drops the first byte: the parser slides towards the next sync word.
int DropOne(uint8_t *buffer, int count) {
    std::memmove(buffer, buffer + 1, static_cast<size_t>(count - 1));
    return count - 1;
}

// Copies up to `size` payload bytes (zero-filled when the frame is shorter).
template <size_t N>
void CopyText(char (&dest)[N], const uint8_t *frame, int total) {
    std::memset(dest, 0, N);
    for (int i = 0; i < static_cast<int>(N) - 1 && kFrameHeaderSize + i < total - 1; ++i)
        dest[i] = static_cast<char>(frame[kFrameHeaderSize + i]);
}

// Payload byte i, or 0 when the frame is too short to hold it.
uint8_t PayloadByte(const uint8_t *frame, int total, int i) {
    return kFrameHeaderSize + i < total - 1 ? frame[kFrameHeaderSize + i] : 0;
}

// The trace name of a frame the pad sends, or null for one that is consumed without effect.
const char *ResponseTraceName(uint16_t command) {
    switch (command) {
    case CMD_RSP_FW_VER_INFO: return "RSP_FW_VER_INFO";
    case CMD_RSP_HW_VER_INFO: return "RSP_HW_VER_INFO";
    case CMD_RSP_DEVICE_NAME_INFO: return "RSP_DEVICE_NAME_INFO";
    case CMD_RSP_DISPLAY_LINE: return "RSP_DISPLAY_LINE";
    case CMD_NOTI_DISPLAY_LINE:
    case CMD_NOTI_DISPLAY_LINE_ALT: return "NOTI_DISPLAY_LINE";
    case CMD_NOTI_EVENT_KEY: return "NOTI_EVENT_KEY";
    case CMD_NOTI_KEY_PERKINS: return "NOTI_KEY_PERKINS";
    case CMD_NOTI_KEY_FUNCTION: return "NOTI_KEY_FUNCTION";
    default: return nullptr;
    }
}
}  // namespace

uint8_t FrameChecksum(const uint8_t *bytes, int count) {
    uint8_t sum = 0xA5;
    for (int i = 0; i < count; ++i) sum ^= bytes[i];
    return sum;
}

int BuildFirmwareVersionQuery(uint8_t *buffer) { return BuildQuery(buffer, CMD_REQ_FW_VER_INFO); }
int BuildHardwareVersionQuery(uint8_t *buffer) { return BuildQuery(buffer, CMD_REQ_HW_VER_INFO); }
int BuildDeviceNameQuery(uint8_t *buffer) { return BuildQuery(buffer, CMD_REQ_DEVICE_NAME); }

int BuildDisplayLine(uint8_t *buffer, int bufferSize, const uint8_t *cells, int n, int line, uint8_t mode) {
    if (n < 0 || n > 249 || n + 10 > bufferSize || line < 0 || line > 255) return 0;
    buffer[0] = 0xAA;
    buffer[1] = 0x55;
    buffer[2] = 0x00;
    buffer[3] = static_cast<uint8_t>(n + 6);
    buffer[4] = static_cast<uint8_t>(line);
    buffer[5] = 0x02;
    buffer[6] = 0x00;
    buffer[7] = mode;
    buffer[8] = 0x00;  // start cell: the whole line is sent
    if (n > 0) std::memcpy(buffer + 9, cells, static_cast<size_t>(n));
    buffer[9 + n] = FrameChecksum(buffer + 4, n + 5);
    return n + 10;
}

const char *RequestTraceName(int awaitedCode) {
    switch (awaitedCode - 1) {
    case CMD_REQ_FW_VER_INFO: return "REQ_FW_VER_INFO";
    case CMD_REQ_HW_VER_INFO: return "REQ_HW_VER_INFO";
    case CMD_REQ_DEVICE_NAME: return "REQ_DEVICE_NAME";
    case CMD_REQ_DISPLAY_LINE: return "REQ_DISPLAY_LINE";
    case CMD_RSP_PARAM_DATA: return "RSP_PARAM_DATA";
    default: return "";
    }
}

void TraceFrame(const char *direction, const char *name, const uint8_t *bytes, int count) {
    if (!g_traceOn.load(std::memory_order_relaxed)) return;
    // Only what fits in one log line is shown.
    char hex[kLogLineSize];
    int pos = 0;
    for (int i = 0; i < count && pos + 4 <= static_cast<int>(sizeof hex); ++i)
        pos += std::snprintf(hex + pos, sizeof hex - static_cast<size_t>(pos), "%02X ", bytes[i]);
    hex[pos] = '\0';
    NubraLog("[%s] %s ## %s", direction, name, hex);
}

int ParseFrame(uint8_t *buffer, int count, FrameHandler &handler) {
    if (count < kFrameHeaderSize) return -1;
    if (ReadBigEndian(buffer) != 0xAA55) return DropOne(buffer, count);

    const int length = ReadBigEndian(buffer + 2);
    const int total = length + 4;
    if (length < kMinFrameSize - 4 || total > kFrameBufferSize) {
        // Malformed or can never complete in the buffer: resynchronise.
        NubraLog("[ERROR] frame length (0x%x) invalid", length);
        return DropOne(buffer, count);
    }
    if (total > count) return -1;

    const uint8_t computed = FrameChecksum(buffer + 4, length - 1);
    const uint8_t received = buffer[total - 1];
    if (computed != received) {
        NubraLog("[ERROR] checksum (0x%x != 0x%x)", received, computed);
        return DropOne(buffer, count);
    }

    const uint16_t command = ReadBigEndian(buffer + 5);
    if (const char *name = ResponseTraceName(command)) TraceFrame("RECV", name, buffer, total);
    // Payload byte `i`, logged with `format`.
    auto loggedByte = [&](int i, const char *format) {
        const uint8_t value = PayloadByte(buffer, total, i);
        NubraLog(format, value);
        return value;
    };
    // The payload as text in `text` (a char array), logged with `format`.
    auto loggedText = [&](auto &text, const char *format) -> const auto & {
        CopyText(text, buffer, total);
        NubraLog(format, text);
        return text;
    };
    switch (command) {
    case CMD_RSP_FW_VER_INFO: {
        char version[9];
        handler.OnFirmwareVersion(loggedText(version, "RSP_FW_VER_INFO - %s"));
        break;
    }
    case CMD_RSP_HW_VER_INFO: handler.OnHardwareVersion(loggedByte(0, "RSP_HW_VER_INFO - %x")); break;
    case CMD_RSP_DEVICE_NAME_INFO: {
        char name[11];
        handler.OnDeviceName(loggedText(name, "RSP_DEVICE_NAME_INFO - %s"));
        break;
    }
    case CMD_RSP_DISPLAY_LINE: {
        const uint8_t result = PayloadByte(buffer, total, 0);
        if (result == 0) handler.OnDisplayLineAccepted();
        else {
            NubraLog("[ERROR] RSP_DISPLAY_LINE  response(0x%x)", result);
            handler.OnDisplayLineRefused();
        }
        break;
    }
    case CMD_NOTI_DISPLAY_LINE:
    case CMD_NOTI_DISPLAY_LINE_ALT: handler.OnDisplayLineShown(); break;
    case CMD_NOTI_EVENT_KEY: handler.OnEventKey(loggedByte(3, "NOTI_EVENT_KEY  key(0x%x)")); break;
    case CMD_NOTI_KEY_PERKINS: {
        const uint8_t key = loggedByte(1, "NOTI_KEY_PERKINS  key(0x%x)");
        if (key == 4) handler.OnKey(100);
        else if (key == 2) handler.OnKey(200);
        break;
    }
    case CMD_NOTI_KEY_FUNCTION: {
        for (int i = 0; i < 4; ++i) loggedByte(i, "NOTI_KEY_FUNCTION  key(0x%x)");
        const uint8_t bits = PayloadByte(buffer, total, 0);
        static const uint8_t kMasks[4] = {0x80, 0x40, 0x20, 0x10};
        for (int i = 0; i < 4; ++i)
            if (bits & kMasks[i]) handler.OnKey(i);
        break;
    }
    default: break;  // consumed without effect
    }

    const int rest = count - total;
    if (rest > 0) std::memmove(buffer, buffer + total, static_cast<size_t>(rest));
    return rest;
}

}  // namespace velumi
