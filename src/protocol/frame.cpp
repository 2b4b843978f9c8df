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
    switch (command) {
    case CMD_RSP_FW_VER_INFO: {
        TraceFrame("RECV", "RSP_FW_VER_INFO", buffer, total);
        char version[9];
        CopyText(version, buffer, total);
        NubraLog("RSP_FW_VER_INFO - %s", version);
        handler.OnFirmwareVersion(version);
        break;
    }
    case CMD_RSP_HW_VER_INFO: {
        TraceFrame("RECV", "RSP_HW_VER_INFO", buffer, total);
        const uint8_t version = PayloadByte(buffer, total, 0);
        NubraLog("RSP_HW_VER_INFO - %x", version);
        handler.OnHardwareVersion(version);
        break;
    }
    case CMD_RSP_DEVICE_NAME_INFO: {
        TraceFrame("RECV", "RSP_DEVICE_NAME_INFO", buffer, total);
        char name[11];
        CopyText(name, buffer, total);
        NubraLog("RSP_DEVICE_NAME_INFO - %s", name);
        handler.OnDeviceName(name);
        break;
    }
    case CMD_RSP_DISPLAY_LINE: {
        TraceFrame("RECV", "RSP_DISPLAY_LINE", buffer, total);
        const uint8_t result = PayloadByte(buffer, total, 0);
        if (result == 0) handler.OnDisplayLineAccepted();
        else {
            NubraLog("[ERROR] RSP_DISPLAY_LINE  response(0x%x)", result);
            handler.OnDisplayLineRefused();
        }
        break;
    }
    case CMD_NOTI_DISPLAY_LINE:
    case CMD_NOTI_DISPLAY_LINE_ALT:
        TraceFrame("RECV", "NOTI_DISPLAY_LINE", buffer, total);
        handler.OnDisplayLineShown();
        break;
    case CMD_NOTI_EVENT_KEY: {
        TraceFrame("RECV", "NOTI_EVENT_KEY", buffer, total);
        const uint8_t key = PayloadByte(buffer, total, 3);
        NubraLog("NOTI_EVENT_KEY  key(0x%x)", key);
        handler.OnEventKey(key);
        break;
    }
    case CMD_NOTI_KEY_PERKINS: {
        TraceFrame("RECV", "NOTI_KEY_PERKINS", buffer, total);
        const uint8_t key = PayloadByte(buffer, total, 1);
        NubraLog("NOTI_KEY_PERKINS  key(0x%x)", key);
        if (key == 4) handler.OnKey(100);
        else if (key == 2) handler.OnKey(200);
        break;
    }
    case CMD_NOTI_KEY_FUNCTION: {
        TraceFrame("RECV", "NOTI_KEY_FUNCTION", buffer, total);
        for (int i = 0; i < 4; ++i) NubraLog("NOTI_KEY_FUNCTION  key(0x%x)", PayloadByte(buffer, total, i));
        const uint8_t bits = PayloadByte(buffer, total, 0);
        static const uint8_t kMasks[4] = {0x80, 0x40, 0x20, 0x10};
        for (int i = 0; i < 4; ++i)
            if (bits & kMasks[i]) handler.OnKey(i);
        break;
    }
    default:
        break;  // consumed without effect
    }

    const int rest = count - total;
    if (rest > 0) std::memmove(buffer, buffer + total, static_cast<size_t>(rest));
    return rest;
}

}  // namespace velumi
