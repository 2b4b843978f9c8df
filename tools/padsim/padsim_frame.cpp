// Frame building and cutting for the simulated pad.
#include "padsim_frame.h"

namespace padsim {
namespace wire {

uint8_t Checksum(const uint8_t *bytes, size_t count) {
    uint8_t sum = 0xA5;
    for (size_t i = 0; i < count; ++i) sum ^= bytes[i];
    return sum;
}

std::vector<uint8_t> Build(uint8_t destination, uint16_t command, uint8_t parameter,
    const std::vector<uint8_t> &payload) {
    const size_t length = payload.size() + 5;  // destination, command, parameter, payload, checksum
    std::vector<uint8_t> frame;
    frame.reserve(length + 4);
    frame.push_back(kSync1);
    frame.push_back(kSync2);
    frame.push_back(static_cast<uint8_t>(length >> 8));
    frame.push_back(static_cast<uint8_t>(length & 0xFF));
    frame.push_back(destination);
    frame.push_back(static_cast<uint8_t>(command >> 8));
    frame.push_back(static_cast<uint8_t>(command & 0xFF));
    frame.push_back(parameter);
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(Checksum(frame.data() + 4, frame.size() - 4));
    return frame;
}

void Reader::Feed(const uint8_t *bytes, size_t count) {
    Compact();
    buffer_.insert(buffer_.end(), bytes, bytes + count);
}

void Reader::Compact() {
    if (start_ == 0) return;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
}

void Reader::DropOne() {
    if (Pending() > 0) {
        ++start_;
        ++skipped_;
    }
}

size_t Reader::TakeSkipped() {
    size_t n = skipped_;
    skipped_ = 0;
    return n;
}

void Reader::Clear() {
    buffer_.clear();
    start_ = 0;
}

Reader::Result Reader::Next(Frame &frame) {
    for (;;) {
        // Slide to a sync word; a lone 0xAA at the very end may still be one.
        while (Pending() > 0) {
            const uint8_t *p = buffer_.data() + start_;
            if (p[0] == kSync1 && (Pending() == 1 || p[1] == kSync2)) break;
            ++start_;
            ++skipped_;
        }
        if (Pending() < 4) return Result::NeedMore;
        const uint8_t *p = buffer_.data() + start_;
        const size_t total = ((size_t{p[2]} << 8) | p[3]) + 4;
        if (total < kMinFrameSize || total > kMaxFrameSize) {
            // No frame is this short or this long: the sync word was noise.
            ++start_;
            ++skipped_;
            continue;
        }
        if (Pending() < total) return Result::NeedMore;
        if (Checksum(p + 4, total - 5) != p[total - 1]) {
            ++start_;
            return Result::BadChecksum;
        }
        frame.raw.assign(p, p + total);
        frame.destination = p[4];
        frame.command = static_cast<uint16_t>((p[5] << 8) | p[6]);
        frame.parameter = p[7];
        frame.payload.assign(p + kHeaderSize, p + total - 1);
        start_ += total;
        if (start_ == buffer_.size()) Clear();
        return Result::Frame;
    }
}

}  // namespace wire
}  // namespace padsim
