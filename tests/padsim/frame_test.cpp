// The simulator's own frame codec: golden bytes out, frames cut from noisy input.
#include "padsim_frame.h"

#include <gtest/gtest.h>

namespace {

using padsim::wire::Build;
using padsim::wire::Frame;
using padsim::wire::Reader;
using Bytes = std::vector<uint8_t>;

TEST(PadsimFrame, BuildsGoldenFrames) {
    EXPECT_EQ(Build(0, 0x0000, 0, {}), (Bytes{0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0xA5}));
    EXPECT_EQ(Build(0, 0x0010, 0, {}), (Bytes{0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x10, 0x00, 0xB5}));
    EXPECT_EQ(Build(0, 0x0100, 0, {}), (Bytes{0xAA, 0x55, 0x00, 0x05, 0x00, 0x01, 0x00, 0x00, 0xA4}));
    // Braille line of twenty blank cells: start cell 0, then the cells.
    Bytes blank(21, 0);
    Bytes expected{0xAA, 0x55, 0x00, 0x1A, 0x00, 0x02, 0x00, 0x80};
    expected.insert(expected.end(), 21, 0x00);
    expected.push_back(0x27);
    EXPECT_EQ(Build(0, 0x0200, 0x80, blank), expected);
    EXPECT_EQ(Build(0, 0x0302, 0, {0, 0, 0, 2}),
        (Bytes{0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x02, 0xA6}));
}

TEST(PadsimFrame, CutsFramesFromNoisySplitInput) {
    Reader reader;
    Frame f;
    const Bytes a = Build(3, 0x0200, 0x00, Bytes(31, 0x11));
    const Bytes b = Build(0, 0x0010, 0, {});
    Bytes stream{0x00, 0xAA, 0x13, 0x55};  // noise, including a lone sync byte
    stream.insert(stream.end(), a.begin(), a.end());
    stream.insert(stream.end(), b.begin(), b.end());

    // Fed one byte at a time, nothing comes out before the frame is whole.
    size_t i = 0;
    for (; i + 1 < 4 + a.size(); ++i) {
        reader.Feed(&stream[i], 1);
        ASSERT_EQ(reader.Next(f), Reader::Result::NeedMore) << "byte " << i;
    }
    reader.Feed(&stream[i], stream.size() - i);
    ASSERT_EQ(reader.Next(f), Reader::Result::Frame);
    EXPECT_EQ(f.raw, a);
    EXPECT_EQ(f.destination, 3);
    EXPECT_EQ(f.command, 0x0200);
    EXPECT_EQ(f.payload, Bytes(31, 0x11));
    EXPECT_EQ(reader.TakeSkipped(), 4u);
    ASSERT_EQ(reader.Next(f), Reader::Result::Frame);
    EXPECT_EQ(f.raw, b);
    EXPECT_EQ(reader.Next(f), Reader::Result::NeedMore);
    EXPECT_EQ(reader.Pending(), 0u);
}

TEST(PadsimFrame, BadChecksumIsDroppedAndTheNextFrameFound) {
    Reader reader;
    Frame f;
    Bytes bad = Build(0, 0x0302, 0, {0, 0, 0, 2});
    bad.back() = 0xA7;
    const Bytes good = Build(0, 0x0000, 0, {});
    reader.Feed(bad.data(), bad.size());
    reader.Feed(good.data(), good.size());
    EXPECT_EQ(reader.Next(f), Reader::Result::BadChecksum);
    ASSERT_EQ(reader.Next(f), Reader::Result::Frame);
    EXPECT_EQ(f.raw, good);
}

TEST(PadsimFrame, ImpossibleLengthIsNoiseAndStaleFrameCanBeDropped) {
    Reader reader;
    Frame f;
    // A sync word with length 2 cannot start a frame.
    Bytes stream{0xAA, 0x55, 0x00, 0x02};
    const Bytes good = Build(0, 0x0100, 0, {});
    stream.insert(stream.end(), good.begin(), good.end());
    reader.Feed(stream.data(), stream.size());
    ASSERT_EQ(reader.Next(f), Reader::Result::Frame);
    EXPECT_EQ(f.raw, good);

    // A truncated frame blocks until it is given up on.
    const Bytes truncated{0xAA, 0x55, 0x00, 0x30, 0x00, 0x02};
    reader.Feed(truncated.data(), truncated.size());
    reader.Feed(good.data(), good.size());
    EXPECT_EQ(reader.Next(f), Reader::Result::NeedMore);
    reader.DropOne();
    ASSERT_EQ(reader.Next(f), Reader::Result::Frame);
    EXPECT_EQ(f.raw, good);
}

}  // namespace

namespace {

// Random noise with frames in between, fed in random pieces: whatever comes out
// is a whole frame with a good checksum, and when the noise holds no 0xAA every
// frame comes out, in order.
TEST(PadsimFrame, RandomNoiseNeverYieldsABadFrameNorLosesOne) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 200; ++round) {
        const bool cleanNoise = round % 2 == 0;
        Bytes stream;
        std::vector<Bytes> frames;
        for (int k = 0; k < 8; ++k) {
            for (unsigned n = next() % 12; n > 0; --n) {
                uint8_t b = static_cast<uint8_t>(next());
                if (cleanNoise && b == 0xAA) b = 0xAB;
                stream.push_back(b);
            }
            Bytes payload(next() % 40);
            for (uint8_t &b : payload) b = static_cast<uint8_t>(next());
            frames.push_back(Build(static_cast<uint8_t>(next()), static_cast<uint16_t>(next()),
                static_cast<uint8_t>(next()), payload));
            stream.insert(stream.end(), frames.back().begin(), frames.back().end());
        }
        Reader reader;
        std::vector<Bytes> got;
        for (size_t pos = 0; pos < stream.size();) {
            const size_t piece = std::min<size_t>(1 + next() % 30, stream.size() - pos);
            reader.Feed(&stream[pos], piece);
            pos += piece;
            Frame f;
            for (Reader::Result r; (r = reader.Next(f)) != Reader::Result::NeedMore;) {
                if (r != Reader::Result::Frame) continue;
                ASSERT_GE(f.raw.size(), 9u);
                ASSERT_EQ(f.raw.size(), ((size_t{f.raw[2]} << 8) | f.raw[3]) + 4);
                ASSERT_EQ(padsim::wire::Checksum(f.raw.data() + 4, f.raw.size() - 5), f.raw.back());
                got.push_back(f.raw);
            }
        }
        if (cleanNoise) {
            EXPECT_EQ(got, frames) << "round " << round;
        }
    }
}

}  // namespace
