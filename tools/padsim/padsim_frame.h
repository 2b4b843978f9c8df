// The simulated pad's own frame codec: building the frames it sends and cutting
// the frames it receives out of the byte stream. Written apart from the SDK's
// codec on purpose, so that the two check each other.
//
// Frame: AA 55, length (big-endian, bytes after the length field, checksum
// included), destination, command (big-endian), parameter, payload, checksum
// (0xA5 XOR every byte from the destination up to the byte before it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace padsim {
namespace wire {

constexpr uint8_t kSync1 = 0xAA;
constexpr uint8_t kSync2 = 0x55;
constexpr size_t kHeaderSize = 8;  // sync, length, destination, command, parameter
constexpr size_t kMinFrameSize = 9;  // header and checksum, no payload
constexpr size_t kMaxFrameSize = 2048;  // larger length fields are taken for noise

uint8_t Checksum(const uint8_t *bytes, size_t count);

std::vector<uint8_t> Build(uint8_t destination, uint16_t command, uint8_t parameter,
    const std::vector<uint8_t> &payload);

struct Frame {
    uint8_t destination = 0;
    uint16_t command = 0;
    uint8_t parameter = 0;
    std::vector<uint8_t> payload;
    std::vector<uint8_t> raw;  // the whole frame as received
};

// Collects received bytes and hands out whole frames. Bytes that cannot start a
// frame are skipped; a frame with a bad checksum is dropped by skipping its
// first byte, so that a real frame hidden behind a corrupted length is found.
class Reader {
public:
    enum class Result { NeedMore, Frame, BadChecksum };

    void Feed(const uint8_t *bytes, size_t count);
    // Cuts the next frame from the front. BadChecksum reports one dropped frame;
    // call again until NeedMore.
    Result Next(Frame &frame);
    // Buffered bytes that do not form a whole frame yet.
    size_t Pending() const { return buffer_.size() - start_; }
    // Gives up on the incomplete frame at the front (its sender went silent).
    void DropOne();
    // Bytes skipped since the last call, as noise in front of a sync word.
    size_t TakeSkipped();
    void Clear();

private:
    void Compact();
    std::vector<uint8_t> buffer_;
    size_t start_ = 0;
    size_t skipped_ = 0;
};

}  // namespace wire
}  // namespace padsim
