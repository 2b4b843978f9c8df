// Frame building and parsing, byte for byte.
#include <gtest/gtest.h>

#include <vector>

#include "log_capture.h"
#include "protocol/frame.h"

using namespace velumi;
using Bytes = std::vector<uint8_t>;

namespace {

struct Recorder : FrameHandler {
    std::vector<std::string> events;
    void OnFirmwareVersion(const char (&v)[9]) override { events.push_back(std::string("fw:") + v); }
    void OnHardwareVersion(uint8_t v) override { events.push_back("hw:" + std::to_string(v)); }
    void OnDeviceName(const char (&n)[11]) override { events.push_back(std::string("name:") + n); }
    void OnDisplayLineAccepted() override { events.push_back("accepted"); }
    void OnDisplayLineShown() override { events.push_back("shown"); }
    void OnEventKey(uint8_t k) override { events.push_back("event:" + std::to_string(k)); }
    void OnKey(int v) override { events.push_back("key:" + std::to_string(v)); }
};

// Feeds bytes as the protocol's receive feed does; returns the bytes left.
Bytes Feed(Recorder &r, Bytes bytes) {
    uint8_t buf[kFrameBufferSize];
    std::copy(bytes.begin(), bytes.end(), buf);
    int count = static_cast<int>(bytes.size());
    int res;
    do {
        res = ParseFrame(buf, count, r);
        if (res != -1) count = res;
    } while (res > 0);
    return Bytes(buf, buf + count);
}

Bytes WithChecksum(Bytes frame) {
    frame.push_back(FrameChecksum(frame.data() + 4, static_cast<int>(frame.size()) - 4));
    return frame;
}

TEST(FrameBuilders, QueriesAreConstant) {
    uint8_t buf[16];
    ASSERT_EQ(BuildFirmwareVersionQuery(buf), 9);
    EXPECT_EQ(Bytes(buf, buf + 9), (Bytes{0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0xA5}));
    ASSERT_EQ(BuildHardwareVersionQuery(buf), 9);
    EXPECT_EQ(Bytes(buf, buf + 9), (Bytes{0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x10, 0x00, 0xB5}));
    ASSERT_EQ(BuildDeviceNameQuery(buf), 9);
    EXPECT_EQ(Bytes(buf, buf + 9), (Bytes{0xAA, 0x55, 0x00, 0x05, 0x00, 0x01, 0x00, 0x00, 0xA4}));
}

TEST(FrameBuilders, DisplayLines) {
    uint8_t buf[kFrameBufferSize];
    uint8_t blanks[20] = {};
    ASSERT_EQ(BuildDisplayLine(buf, sizeof buf, blanks, 20, 0, kModeBraille), 30);
    Bytes expected{0xAA, 0x55, 0x00, 0x1A, 0x00, 0x02, 0x00, 0x80, 0x00};
    expected.insert(expected.end(), 20, 0x00);
    expected.push_back(0x27);
    EXPECT_EQ(Bytes(buf, buf + 30), expected);

    uint8_t cells[30];
    for (int i = 0; i < 30; ++i) cells[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(BuildDisplayLine(buf, sizeof buf, cells, 30, 3, kModeGraphic), 40);
    EXPECT_EQ(buf[3], 36);
    EXPECT_EQ(buf[4], 3);
    EXPECT_EQ(buf[7], 0x00);
    EXPECT_EQ(buf[8], 0x00);
    EXPECT_EQ(Bytes(buf + 9, buf + 39), Bytes(cells, cells + 30));
    EXPECT_EQ(buf[39], FrameChecksum(buf + 4, 35));

    EXPECT_EQ(BuildDisplayLine(buf, sizeof buf, cells, 250, 1, 0), 0) << "the length byte cannot hold 256";
    EXPECT_EQ(BuildDisplayLine(buf, 20, cells, 20, 1, 0), 0) << "never writes past the buffer";
}

TEST(ParseFrame, DispatchesResponsesAndEmptiesTheBuffer) {
    LogCapture log;
    Recorder r;
    EXPECT_TRUE(Feed(r, {0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6}).empty());
    EXPECT_EQ(r.events, (std::vector<std::string>{"accepted"}));
    EXPECT_TRUE(log.Contains("[RECV] RSP_DISPLAY_LINE ## AA 55 00 06 00 02 01 00 00 A6 "));

    Recorder k;
    Feed(k, {0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x02, 0xA6});
    EXPECT_EQ(k.events, (std::vector<std::string>{"event:2"}));
    EXPECT_TRUE(log.Contains("NOTI_EVENT_KEY  key(0x2)"));
}

TEST(ParseFrame, VersionAndNameAnswersAreTracedAfterTheirDump) {
    LogCapture log;
    Recorder r;
    Bytes fw = WithChecksum({0xAA, 0x55, 0x00, 0x0D, 0x00, 0x00, 0x01, 0x00, '1', '.', '0', '2', '.', '0', '0', '7'});
    Bytes name = WithChecksum({0xAA, 0x55, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 'T', 'A', 'R', 'N', 0, 0, 0, 0, 0, 0});
    Bytes hw = WithChecksum({0xAA, 0x55, 0x00, 0x06, 0x00, 0x00, 0x11, 0x00, 0x2A});
    Bytes all = fw;
    all.insert(all.end(), name.begin(), name.end());
    all.insert(all.end(), hw.begin(), hw.end());
    EXPECT_TRUE(Feed(r, all).empty());
    EXPECT_EQ(r.events, (std::vector<std::string>{"fw:1.02.007", "name:TARN", "hw:42"}));
    int dump = log.IndexOf("[RECV] RSP_FW_VER_INFO ## AA 55 00 0D");
    ASSERT_GE(dump, 0);
    EXPECT_EQ(log.IndexOf("RSP_FW_VER_INFO - 1.02.007"), dump + 1);
    EXPECT_GT(log.IndexOf("RSP_DEVICE_NAME_INFO - TARN"), dump);
    EXPECT_TRUE(log.Contains("RSP_HW_VER_INFO - 2a"));
}

TEST(ParseFrame, ChecksumMismatchIsTracedNotDispatchedAndDoesNotStall) {
    LogCapture log;
    Recorder r;
    Bytes bad{0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x02, 0xA7};
    Bytes good{0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6};
    Bytes both = bad;
    both.insert(both.end(), good.begin(), good.end());
    EXPECT_TRUE(Feed(r, both).empty());
    EXPECT_TRUE(log.Contains("[ERROR] checksum (0xa7 != 0xa6)"));
    EXPECT_EQ(r.events, (std::vector<std::string>{"accepted"})) << "the bad frame is skipped, the next one taken";
}

TEST(ParseFrame, ImpossibleLengthsResynchronise) {
    Recorder r;
    // A sync word promising 0xFFFF bytes, then a good frame.
    Bytes bytes{0xAA, 0x55, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    Bytes good{0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6};
    bytes.insert(bytes.end(), good.begin(), good.end());
    EXPECT_TRUE(Feed(r, bytes).empty());
    EXPECT_EQ(r.events, (std::vector<std::string>{"accepted"}));
    // A length below the smallest frame.
    Recorder s;
    Bytes tiny{0xAA, 0x55, 0x00, 0x00, 0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6};
    EXPECT_TRUE(Feed(s, tiny).empty());
    EXPECT_EQ(s.events, (std::vector<std::string>{"accepted"}));
}

TEST(ParseFrame, GarbageShortBuffersPartialFramesAndUnknownCommands) {
    Recorder r;
    uint8_t buf[kFrameBufferSize] = {0x01, 0x02, 0x03, 0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6};
    EXPECT_EQ(ParseFrame(buf, 13, r), 12) << "one garbage byte is shed per call";
    EXPECT_EQ(ParseFrame(buf, 12, r), 11);
    EXPECT_EQ(ParseFrame(buf, 11, r), 10);
    EXPECT_EQ(ParseFrame(buf, 10, r), 0);
    EXPECT_EQ(r.events, (std::vector<std::string>{"accepted"}));

    Recorder p;
    uint8_t start[] = {0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01};
    EXPECT_EQ(ParseFrame(start, 7, p), -1) << "fewer than 8 bytes never dispatch";
    uint8_t partial[] = {0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00};
    EXPECT_EQ(ParseFrame(partial, 9, p), -1) << "an incomplete frame waits";
    EXPECT_TRUE(p.events.empty());

    Recorder u;
    Bytes unknown = WithChecksum({0xAA, 0x55, 0x00, 0x06, 0x00, 0x07, 0x77, 0x00, 0x01});
    EXPECT_TRUE(Feed(u, unknown).empty());
    EXPECT_TRUE(u.events.empty());
}

TEST(ParseFrame, TwoFramesInOneBufferTakeTwoCalls) {
    Recorder r;
    uint8_t buf[kFrameBufferSize] = {0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6, 0xAA, 0x55, 0x00,
        0x05, 0x00, 0x02, 0x02, 0x00, 0xA5};
    EXPECT_EQ(ParseFrame(buf, 19, r), 9);
    EXPECT_EQ(ParseFrame(buf, 9, r), 0);
    EXPECT_EQ(r.events, (std::vector<std::string>{"accepted", "shown"}));
}

TEST(ParseFrame, KeyNotices) {
    LogCapture log;
    Recorder r;
    Feed(r, WithChecksum({0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x32, 0x00, 0xC0, 0x01, 0x02, 0x03}));
    EXPECT_EQ(r.events, (std::vector<std::string>{"key:0", "key:1"}));
    EXPECT_EQ(log.Count("NOTI_KEY_FUNCTION  key("), 4);
    EXPECT_TRUE(log.Contains("NOTI_KEY_FUNCTION  key(0xc0)"));
    EXPECT_TRUE(log.Contains("NOTI_KEY_FUNCTION  key(0x3)"));

    Recorder p;
    for (uint8_t key : {4, 2, 0, 1})
        Feed(p, WithChecksum({0xAA, 0x55, 0x00, 0x07, 0x00, 0x03, 0x12, 0x00, 0x00, key}));
    EXPECT_EQ(p.events, (std::vector<std::string>{"key:100", "key:200"}));

    Recorder alt;
    Feed(alt, WithChecksum({0xAA, 0x55, 0x00, 0x05, 0x00, 0x02, 0x06, 0x00}));
    EXPECT_EQ(alt.events, (std::vector<std::string>{"shown"}));
}

TEST(ParseFrame, RejectedLineIsTracedOnly) {
    LogCapture log;
    Recorder r;
    Feed(r, WithChecksum({0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x05}));
    EXPECT_TRUE(r.events.empty());
    EXPECT_TRUE(log.Contains("[ERROR] RSP_DISPLAY_LINE  response(0x5)"));
}

TEST(RequestTraceName, ChosenFromTheAwaitedCode) {
    EXPECT_STREQ(RequestTraceName(0x0001), "REQ_FW_VER_INFO");
    EXPECT_STREQ(RequestTraceName(0x0011), "REQ_HW_VER_INFO");
    EXPECT_STREQ(RequestTraceName(0x0101), "REQ_DEVICE_NAME");
    EXPECT_STREQ(RequestTraceName(0x0201), "REQ_DISPLAY_LINE");
    EXPECT_STREQ(RequestTraceName(0x0502), "RSP_PARAM_DATA");
    EXPECT_STREQ(RequestTraceName(0x0300), "");
}

}  // namespace
