// Random byte streams, split into random chunks, through the receive feed's
// loop around ParseFrame. The parser must stay inside the 2048-byte buffer
// (ASan) and every call must make progress: it returns -1 or a smaller count.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Log/nubra_log.h"
#include "protocol/frame.h"

namespace {
struct NullHandler : velumi::FrameHandler {
    void OnFirmwareVersion(const char (&)[9]) override {}
    void OnHardwareVersion(uint8_t) override {}
    void OnDeviceName(const char (&)[11]) override {}
    void OnDisplayLineAccepted() override {}
    void OnDisplayLineShown() override {}
    void OnEventKey(uint8_t) override {}
    void OnKey(int) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool quiet = [] {
        velumi::g_traceOn = false;
        return true;
    }();
    (void)quiet;
    if (size < 1) return 0;
    NullHandler handler;
    // Exactly 2048 bytes on the heap so that ASan sees any overrun.
    uint8_t *buffer = static_cast<uint8_t *>(std::malloc(velumi::kFrameBufferSize));
    int count = 0;
    const uint8_t split = data[0];
    size_t pos = 1;
    while (pos < size) {
        size_t chunk = 1 + (split ? (data[pos] % split) : size);
        if (chunk > size - pos) chunk = size - pos;
        if (count < velumi::kFrameBufferSize) {
            size_t room = static_cast<size_t>(velumi::kFrameBufferSize - count);
            size_t take = chunk < room ? chunk : room;
            std::memcpy(buffer + count, data + pos, take);
            count += static_cast<int>(take);
        }
        pos += chunk;
        int r;
        do {
            r = velumi::ParseFrame(buffer, count, handler);
            if (r != -1) {
                if (r < 0 || r >= count) std::abort();  // no progress or nonsense
                count = r;
            }
        } while (r > 0);
    }
    std::free(buffer);
    return 0;
}
