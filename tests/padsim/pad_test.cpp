// The simulated pad over a real pty, driven by a plain termios client: answers
// byte for byte, shown lines, every fault, key notices, links and shutdown.
#include "padsim.h"
#include "pty_client.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

namespace {

using padsim::Fault;
using padsim::Options;
using padsim::SimulatedPad;
using padsim_test::Bytes;
using padsim_test::Clock;
using padsim_test::PtyClient;

// Requests as the SDK sends them, written out by hand.
const Bytes kReqFirmware{0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0xA5};
const Bytes kReqHardware{0xAA, 0x55, 0x00, 0x05, 0x00, 0x00, 0x10, 0x00, 0xB5};
const Bytes kReqDeviceName{0xAA, 0x55, 0x00, 0x05, 0x00, 0x01, 0x00, 0x00, 0xA4};
// Answers of a default pad ("TARN", firmware "1.00.000", hardware 1).
const Bytes kRspFirmware{0xAA, 0x55, 0x00, 0x0D, 0x00, 0x00, 0x01, 0x00, '1', '.', '0', '0', '.', '0', '0', '0', 0xA5};
const Bytes kRspHardware{0xAA, 0x55, 0x00, 0x06, 0x00, 0x00, 0x11, 0x00, 0x01, 0xB5};
const Bytes kRspDeviceName{0xAA, 0x55, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 'T', 'A', 'R', 'N', 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0xAC};
const Bytes kRspLineAccepted{0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA6};
const Bytes kNotiLine{0xAA, 0x55, 0x00, 0x05, 0x00, 0x02, 0x02, 0x00, 0xA5};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes &p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A display-line request: AA 55, length, line, 02 00, mode, start cell, cells, checksum.
Bytes LineRequest(uint8_t line, uint8_t mode, const Bytes &cells, uint8_t start = 0) {
    Bytes f{0xAA, 0x55, 0x00, static_cast<uint8_t>(cells.size() + 6), line, 0x02, 0x00, mode, start};
    f.insert(f.end(), cells.begin(), cells.end());
    uint8_t sum = 0xA5;
    for (size_t i = 4; i < f.size(); ++i) sum ^= f[i];
    f.push_back(sum);
    return f;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

class PadTest : public ::testing::Test {
protected:
    void Open(Options options = {}) {
        pad_.reset(new SimulatedPad(options));
        ASSERT_TRUE(pad_->Start()) << std::strerror(errno);
        client_.reset(new PtyClient(pad_->DevicePath()));
        ASSERT_TRUE(client_->ok()) << pad_->DevicePath();
    }
    void SetUp() override { Open(); }
    // Sends one request and returns the answer of the expected size.
    Bytes Ask(const Bytes &request, size_t answerSize, int timeoutMs = 1000) {
        EXPECT_TRUE(client_->Write(request));
        return client_->Read(answerSize, timeoutMs);
    }

    std::unique_ptr<SimulatedPad> pad_;
    std::unique_ptr<PtyClient> client_;
};

TEST_F(PadTest, AnswersTheThreeQueriesByteExact) {
    EXPECT_EQ(Ask(kReqFirmware, kRspFirmware.size()), kRspFirmware);
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);
    EXPECT_EQ(Ask(kReqDeviceName, kRspDeviceName.size()), kRspDeviceName);
    EXPECT_TRUE(client_->ReadUntilQuiet(50).empty());

    EXPECT_EQ(pad_->RequestCount(0x0000), 1u);
    EXPECT_EQ(pad_->RequestCount(0x0010), 1u);
    EXPECT_EQ(pad_->RequestCount(0x0100), 1u);
    EXPECT_EQ(pad_->ReceivedFrames(), (std::vector<Bytes>{kReqFirmware, kReqHardware, kReqDeviceName}));
    EXPECT_EQ(pad_->SentFrames(), (std::vector<Bytes>{kRspFirmware, kRspHardware, kRspDeviceName}));
    EXPECT_TRUE(pad_->Anomalies().empty());
}

TEST_F(PadTest, FixedFieldsAreCutOrPaddedAndOptionsAreSent) {
    Options o;
    o.deviceName = "QX-SHORT-9XYZ";  // longer than the 10-byte field
    o.firmwareVersion = "2.10.007";
    o.hardwareVersion = 7;
    Open(o);
    EXPECT_EQ(Ask(kReqDeviceName, 19), (Bytes{0xAA, 0x55, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 'Q', 'X', '-', 'S', 'H',
                                           'O', 'R', 'T', '-', '9', 0xC7}));
    EXPECT_EQ(Ask(kReqFirmware, 17),
        (Bytes{0xAA, 0x55, 0x00, 0x0D, 0x00, 0x00, 0x01, 0x00, '2', '.', '1', '0', '.', '0', '0', '7', 0xA0}));
    EXPECT_EQ(Ask(kReqHardware, 10), (Bytes{0xAA, 0x55, 0x00, 0x06, 0x00, 0x00, 0x11, 0x00, 0x07, 0xB3}));
}

TEST(PadGeometry, FollowsTheModelNamedInTheDeviceName) {
    struct Case {
        const char *name;
        int lines, cells, braille;
    } cases[] = {
        {"TARN", 20, 40, 32}, {"ORIEL_WIDE", 20, 15, 0}, {"ORIEL", 10, 30, 0}, {"xLINNET-2", 10, 30, 20},
        {"WREN", 7, 20, 0}, {"QX-LINE", 0, 0, 20}, {"QX-SHORT", 0, 0, 12}, {"QY-SHORT", 0, 0, 12},
        {"SOMETHING", 20, 40, 32},  // unknown: TARN
    };
    for (const Case &c : cases) {
        Options o;
        o.deviceName = c.name;
        SimulatedPad pad(o);
        EXPECT_EQ(pad.Lines(), c.lines) << c.name;
        EXPECT_EQ(pad.CellsPerLine(), c.cells) << c.name;
        EXPECT_EQ(pad.BrailleCells(), c.braille) << c.name;
        EXPECT_EQ(pad.BrailleLine().size(), static_cast<size_t>(c.braille)) << c.name;
    }
    Options o;
    o.deviceName = "WREN";
    o.lines = 3;
    o.brailleCells = 8;
    SimulatedPad pad(o);
    EXPECT_EQ(pad.Lines(), 3);
    EXPECT_EQ(pad.CellsPerLine(), 20);
    EXPECT_EQ(pad.BrailleCells(), 8);
    EXPECT_EQ(padsim::ModelNames().size(), 8u);
}

TEST_F(PadTest, DisplayLinesAreAcceptedNotedShownAndRendered) {
    std::atomic<int> lastShown{-1};
    pad_->SetDisplayListener([&](int line) { lastShown = line; });

    Bytes graphic(40, 0);
    graphic[0] = 0x01;
    graphic[1] = 0xFF;
    graphic[39] = 0x3F;
    EXPECT_EQ(Ask(LineRequest(3, 0x00, graphic), 19), Concat({kRspLineAccepted, kNotiLine}));
    EXPECT_EQ(lastShown, 3);
    Bytes braille(32, 0x07);
    EXPECT_EQ(Ask(LineRequest(0, 0x80, braille), 19), Concat({kRspLineAccepted, kNotiLine}));
    EXPECT_EQ(lastShown, 0);
    // Part of a line, from start cell 38.
    EXPECT_EQ(Ask(LineRequest(20, 0x00, {0x10, 0x20}, 38), 19), Concat({kRspLineAccepted, kNotiLine}));

    EXPECT_EQ(pad_->GraphicLine(3), graphic);
    EXPECT_EQ(pad_->GraphicLine(1), Bytes(40, 0));
    EXPECT_EQ(pad_->BrailleLine(), braille);
    Bytes last(40, 0);
    last[38] = 0x10;
    last[39] = 0x20;
    EXPECT_EQ(pad_->GraphicLine(20), last);
    EXPECT_TRUE(pad_->GraphicLine(0).empty());
    EXPECT_TRUE(pad_->GraphicLine(21).empty());
    EXPECT_EQ(pad_->RequestCount(0x0200), 3u);

    // 20 graphic lines and the braille line, one text line each.
    const std::string text = pad_->Render();
    std::vector<std::string> rows;
    size_t pos = 0;
    for (size_t nl; (nl = text.find('\n', pos)) != std::string::npos; pos = nl + 1)
        rows.push_back(text.substr(pos, nl - pos));
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(pos, text.size());
    const std::string blank = "\u2800";
    std::string row3 = "\u2801\u28FF";
    for (int i = 2; i < 39; ++i) row3 += blank;
    row3 += "\u283F";
    EXPECT_EQ(rows[2], row3);
    std::string row0;
    for (int i = 0; i < 40; ++i) row0 += blank;
    EXPECT_EQ(rows[0], row0);
    std::string brailleRow;
    for (int i = 0; i < 32; ++i) brailleRow += "\u2807";
    EXPECT_EQ(rows[20], brailleRow);
}

TEST_F(PadTest, LinesThePadDoesNotHaveAreRejected) {
    const Bytes badLine{0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x02, 0xA4};
    const Bytes badCells{0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x03, 0xA5};
    EXPECT_EQ(Ask(LineRequest(21, 0x00, Bytes(40, 1)), 10), badLine);  // TARN has 20 lines
    EXPECT_EQ(Ask(LineRequest(0, 0x00, Bytes(40, 1)), 10), badLine);  // line 0 is not graphic
    EXPECT_EQ(Ask(LineRequest(1, 0x80, Bytes(32, 1)), 10), badLine);  // braille mode on a graphic line
    EXPECT_EQ(Ask(LineRequest(1, 0x00, Bytes(41, 1)), 10), badCells);  // one cell too many
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(33, 1)), 10), badCells);
    EXPECT_EQ(Ask(LineRequest(2, 0x00, Bytes(2, 1), 39), 10), badCells);
    EXPECT_TRUE(client_->ReadUntilQuiet(50).empty());  // no notices
    EXPECT_EQ(pad_->GraphicLine(1), Bytes(40, 0));
    EXPECT_EQ(pad_->BrailleLine(), Bytes(32, 0));
    EXPECT_EQ(pad_->Anomalies().size(), 6u);

    Options o;
    o.deviceName = "ORIEL";  // no braille line
    Open(o);
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(20, 1)), 10), badLine);
    EXPECT_TRUE(pad_->BrailleLine().empty());
}

TEST_F(PadTest, NoiseSplitWritesAndBadChecksumsAreSurvived) {
    Bytes corrupt = kReqFirmware;
    corrupt.back() ^= 0x01;
    // Noise, a corrupted request, then a good one written one byte at a time.
    ASSERT_TRUE(client_->Write(Concat({{0x00, 0x13, 0xAA, 0x00}, corrupt})));
    for (uint8_t b : kReqDeviceName) {
        ASSERT_TRUE(client_->Write({b}));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(client_->Read(kRspDeviceName.size(), 1000), kRspDeviceName);
    EXPECT_TRUE(client_->ReadUntilQuiet(50).empty());
    EXPECT_EQ(pad_->BadChecksumCount(), 1u);
    EXPECT_EQ(pad_->RequestCount(0x0000), 0u);
    EXPECT_EQ(pad_->ReceivedFrames(), std::vector<Bytes>{kReqDeviceName});
    EXPECT_FALSE(pad_->Anomalies().empty());

    // A request cut short is given up on once the line stays quiet; the next is answered.
    ASSERT_TRUE(client_->Write({0xAA, 0x55, 0x00, 0x20, 0x00}));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);

    // Unknown commands are noted and not answered.
    ASSERT_TRUE(client_->Write({0xAA, 0x55, 0x00, 0x05, 0x00, 0x05, 0x01, 0x00, 0xA1}));
    ASSERT_TRUE(pad_->WaitForRequests(0x0501, 1, 1000));
    EXPECT_TRUE(client_->ReadUntilQuiet(50).empty());
}

TEST_F(PadTest, NeverAnswerKeepsSilentButCountsRequests) {
    pad_->SetFault(Fault::NeverAnswer);
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(client_->Write(kReqFirmware));
    ASSERT_TRUE(pad_->WaitForRequests(0x0000, 4, 1000));
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    // Lines are still taken, just not acknowledged.
    ASSERT_TRUE(client_->Write(LineRequest(1, 0x00, Bytes(40, 9))));
    ASSERT_TRUE(pad_->WaitForRequests(0x0200, 1, 1000));
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    EXPECT_EQ(pad_->GraphicLine(1), Bytes(40, 9));

    pad_->ClearFaults();
    EXPECT_EQ(Ask(kReqFirmware, kRspFirmware.size()), kRspFirmware);
}

TEST_F(PadTest, DropNthAnswerLosesExactlyThatAnswer) {
    pad_->SetFault(Fault::DropNthAnswer, 2);
    EXPECT_EQ(Ask(kReqFirmware, kRspFirmware.size()), kRspFirmware);
    ASSERT_TRUE(client_->Write(kReqHardware));
    ASSERT_TRUE(pad_->WaitForRequests(0x0010, 1, 1000));
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);  // the resend is answered

    // For a display line the whole answer is lost: response and notice.
    pad_->SetFault(Fault::DropNthAnswer, 1);
    ASSERT_TRUE(client_->Write(LineRequest(2, 0x00, Bytes(40, 5))));
    ASSERT_TRUE(pad_->WaitForRequests(0x0200, 1, 1000));
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    EXPECT_EQ(pad_->GraphicLine(2), Bytes(40, 5));
    EXPECT_EQ(Ask(LineRequest(2, 0x00, Bytes(40, 5)), 19), Concat({kRspLineAccepted, kNotiLine}));

    pad_->SetFault(Fault::DropNthAnswer, 0);  // every one
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(client_->Write(kReqDeviceName));
    ASSERT_TRUE(pad_->WaitForRequests(0x0100, 3, 1000));
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
}

TEST_F(PadTest, CorruptChecksumSpoilsOneAnswer) {
    pad_->SetFault(Fault::CorruptChecksum, 1);
    Bytes spoilt = kRspDeviceName;
    spoilt.back() ^= 0xFF;
    EXPECT_EQ(Ask(kReqDeviceName, spoilt.size()), spoilt);
    EXPECT_EQ(Ask(kReqDeviceName, kRspDeviceName.size()), kRspDeviceName);

    pad_->SetFault(Fault::CorruptChecksum, 0);
    Bytes rsp = kRspLineAccepted, noti = kNotiLine;
    rsp.back() ^= 0xFF;
    noti.back() ^= 0xFF;
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(32, 1)), 19), Concat({rsp, noti}));

    // Faults count answers each on its own: the first is lost, the second spoilt.
    pad_->ClearFaults();
    pad_->SetFault(Fault::DropNthAnswer, 1);
    pad_->SetFault(Fault::CorruptChecksum, 2);
    Bytes spoiltHw = kRspHardware;
    spoiltHw.back() ^= 0xFF;
    ASSERT_TRUE(client_->Write(kReqHardware));
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), spoiltHw);
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);
}

TEST_F(PadTest, RejectLineAnswersTheErrorAndShowsNothing) {
    pad_->SetFault(Fault::RejectLine, 2, 0x05);
    const Bytes rejected{0xAA, 0x55, 0x00, 0x06, 0x00, 0x02, 0x01, 0x00, 0x05, 0xA3};
    EXPECT_EQ(Ask(LineRequest(1, 0x00, Bytes(40, 1)), 19), Concat({kRspLineAccepted, kNotiLine}));
    EXPECT_EQ(Ask(LineRequest(2, 0x00, Bytes(40, 2)), 10), rejected);
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    EXPECT_EQ(pad_->GraphicLine(2), Bytes(40, 0));
    EXPECT_EQ(Ask(LineRequest(2, 0x00, Bytes(40, 2)), 19), Concat({kRspLineAccepted, kNotiLine}));
    EXPECT_EQ(pad_->GraphicLine(2), Bytes(40, 2));
    // Queries are not display lines: unaffected.
    pad_->SetFault(Fault::RejectLine, 0, 0x09);
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);
}

TEST_F(PadTest, OmitLineNoticeAcceptsAndShowsWithoutNotice) {
    pad_->SetFault(Fault::OmitLineNotice, 1);
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(32, 0x3F)), 10), kRspLineAccepted);
    EXPECT_TRUE(client_->ReadUntilQuiet(100).empty());
    EXPECT_EQ(pad_->BrailleLine(), Bytes(32, 0x3F));
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(32, 0x3F)), 19), Concat({kRspLineAccepted, kNotiLine}));
}

TEST_F(PadTest, LineNoticeCodeAndSettleTimeAreOptions) {
    Options o;
    o.lineNoticeCommand = 0x0206;
    o.noticeDelayMs = 80;
    Open(o);
    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(client_->Write(LineRequest(1, 0x00, Bytes(40, 1))));
    Clock::time_point last;
    const Bytes got = client_->Read(19, 1000, nullptr, nullptr, &last);
    EXPECT_EQ(got, Concat({kRspLineAccepted, {0xAA, 0x55, 0x00, 0x05, 0x00, 0x02, 0x06, 0x00, 0xA1}}));
    EXPECT_GE(Ms(last - sent), 80.0);
    // The settle time runs from the (delayed) response.
    pad_->SetFault(Fault::DelayAnswers, 60);
    const Clock::time_point sent2 = Clock::now();
    ASSERT_TRUE(client_->Write(LineRequest(1, 0x00, Bytes(40, 2))));
    EXPECT_EQ(client_->Read(19, 1000, nullptr, nullptr, &last).size(), 19u);
    EXPECT_GE(Ms(last - sent2), 140.0);
}

TEST_F(PadTest, GarbageBetweenFramesPrecedesEveryFrame) {
    pad_->SetFault(Fault::GarbageBetweenFrames, 3);
    EXPECT_EQ(Ask(kReqHardware, 13), Concat({{0x00, 0xFF, 0x13}, kRspHardware}));
    pad_->SetFault(Fault::GarbageBetweenFrames);  // default amount of noise
    const Bytes got = Ask(LineRequest(1, 0x00, Bytes(40, 1)), 31);
    const Bytes noise{0x00, 0xFF, 0x13, 0xAA, 0x7E, 0x55};
    EXPECT_EQ(got, Concat({noise, kRspLineAccepted, noise, kNotiLine}));
    pad_->SendPageKey(0x01);
    EXPECT_EQ(client_->Read(19, 1000),
        Concat({noise, {0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0xA5}}));
}

TEST_F(PadTest, OneByteAtATimeWritesEachByteAlone) {
    pad_->SetFault(Fault::OneByteAtATime, 5);
    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(client_->Write(kReqDeviceName));
    int reads = 0;
    Clock::time_point last;
    EXPECT_EQ(client_->Read(kRspDeviceName.size(), 2000, &reads, nullptr, &last), kRspDeviceName);
    // 19 bytes 5 ms apart: at least 90 ms until the last, and many separate reads.
    EXPECT_GE(Ms(last - sent), 90.0);
    EXPECT_GE(reads, 10);
}

TEST_F(PadTest, DelayAnswersHoldsTheAnswerBack) {
    pad_->SetFault(Fault::DelayAnswers, 150);
    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(client_->Write(kReqFirmware));
    Clock::time_point first;
    EXPECT_EQ(client_->Read(kRspFirmware.size(), 2000, nullptr, &first), kRspFirmware);
    EXPECT_GE(Ms(first - sent), 145.0);
    // Key notices are not held back.
    pad_->SendPerkinsKey(4);
    const Clock::time_point pressed = Clock::now();
    EXPECT_EQ(client_->Read(13, 1000, nullptr, &first).size(), 13u);
    EXPECT_LT(Ms(first - pressed), 100.0);
}

TEST_F(PadTest, PaceAtBaudSpacesTheBytes) {
    // The last of 19 bytes cannot leave before 18 byte times have passed.
    pad_->SetFault(Fault::PaceAtBaud, 2400);  // 4.17 ms per byte
    Clock::time_point sent = Clock::now();
    ASSERT_TRUE(client_->Write(kReqDeviceName));
    Clock::time_point last;
    EXPECT_EQ(client_->Read(kRspDeviceName.size(), 2000, nullptr, nullptr, &last), kRspDeviceName);
    EXPECT_GE(Ms(last - sent), 18 * 4.1667);

    pad_->SetFault(Fault::PaceAtBaud);  // 115200: 86.8 us per byte
    sent = Clock::now();
    ASSERT_TRUE(client_->Write(kReqDeviceName));
    EXPECT_EQ(client_->Read(kRspDeviceName.size(), 2000, nullptr, nullptr, &last), kRspDeviceName);
    EXPECT_GE(Ms(last - sent), 18 * 0.0868);
}

TEST_F(PadTest, KeyNoticesAreByteExact) {
    pad_->SendPageKey(0x02);
    EXPECT_EQ(client_->Read(13, 1000),
        (Bytes{0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x02, 0xA6}));
    pad_->SendPerkinsKey(4);
    EXPECT_EQ(client_->Read(13, 1000),
        (Bytes{0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x12, 0x00, 0x00, 0x04, 0x00, 0x00, 0xB0}));
    pad_->SendFunctionKeys(0xC0);
    EXPECT_EQ(client_->Read(13, 1000),
        (Bytes{0xAA, 0x55, 0x00, 0x09, 0x00, 0x03, 0x32, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x54}));
    pad_->SendRaw({0x01, 0x02, 0xAA});
    EXPECT_EQ(client_->Read(3, 1000), (Bytes{0x01, 0x02, 0xAA}));
    EXPECT_EQ(pad_->SentFrames().size(), 3u);
}

TEST_F(PadTest, ServesANewClientAfterTheFirstClosesWithoutSpinning) {
    client_.reset();
    timespec cpu0, cpu1;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
    const double cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 60.0);
    client_.reset(new PtyClient(pad_->DevicePath()));
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);
}

TEST_F(PadTest, StopIsPromptEvenWithUnreadOutput) {
    // Fill the pty until the pad cannot write any more, then stop.
    for (int i = 0; i < 20000; ++i) pad_->SendPageKey(0x01);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const Clock::time_point t0 = Clock::now();
    pad_->Stop();
    EXPECT_LT(Ms(Clock::now() - t0), 200.0);
    EXPECT_FALSE(pad_->IsRunning());
    EXPECT_TRUE(pad_->DevicePath().empty());
    pad_->Stop();  // twice is fine

    // Start again on a fresh pty; what is shown is kept.
    ASSERT_TRUE(pad_->Start());
    client_.reset(new PtyClient(pad_->DevicePath()));
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);
    const Clock::time_point t1 = Clock::now();
    pad_.reset();
    EXPECT_LT(Ms(Clock::now() - t1), 200.0);
}

TEST_F(PadTest, WaitForRequestsTimesOut) {
    const Clock::time_point t0 = Clock::now();
    EXPECT_FALSE(pad_->WaitForRequests(0x0000, 1, 50));
    EXPECT_LT(Ms(Clock::now() - t0), 500.0);
    ASSERT_TRUE(client_->Write(Concat({kReqFirmware, kReqFirmware})));
    EXPECT_TRUE(pad_->WaitForRequests(0x0000, 2, 1000));
    pad_->ClearReceived();
    EXPECT_EQ(pad_->RequestCount(0x0000), 0u);
    EXPECT_TRUE(pad_->ReceivedFrames().empty());
}

TEST_F(PadTest, LinkAsMakesReplacesAndRemovesThePortLink) {
    char tmpl[] = "/tmp/padsim-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string link = dir + "/com7";

    ASSERT_EQ(symlink("/nonexistent/stale", link.c_str()), 0);
    ASSERT_TRUE(pad_->LinkAs(dir, 7));
    char target[256];
    ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(target, static_cast<size_t>(n)), pad_->DevicePath());
    {
        PtyClient viaLink(link);
        ASSERT_TRUE(viaLink.ok());
        ASSERT_TRUE(viaLink.Write(kReqHardware));
        EXPECT_EQ(viaLink.Read(kRspHardware.size(), 1000), kRspHardware);
    }
    // A regular file is never replaced.
    const std::string file = dir + "/com8";
    FILE *f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_FALSE(pad_->LinkAs(dir, 8));

    pad_->Stop();
    struct stat st;
    EXPECT_NE(lstat(link.c_str(), &st), 0);
    EXPECT_EQ(lstat(file.c_str(), &st), 0);
    EXPECT_FALSE(pad_->LinkAs(dir, 9));  // not running
    unlink(file.c_str());
    rmdir(dir.c_str());
}

TEST_F(PadTest, HangUpCutsTheLink) {
    pad_->HangUp();
    struct pollfd p = {client_->fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 1000), 1);
    EXPECT_TRUE(p.revents & POLLHUP);
    uint8_t b;
    EXPECT_LE(read(client_->fd(), &b, 1), 0);
    pad_->SendPageKey(1);  // no effect, no crash
    pad_->HangUp();
    pad_->Stop();
}

TEST_F(PadTest, FaultsCanBeChangedWhileServing) {
    std::atomic<bool> done{false};
    std::thread flipper([&] {
        while (!done) {
            pad_->SetFault(Fault::GarbageBetweenFrames, 2);
            pad_->SetFault(Fault::DelayAnswers, 1);
            pad_->ClearFaults();
            (void)pad_->Render();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    // Stops the flipper however the test body ends (an ASSERT returns early).
    struct Join {
        std::atomic<bool> &done;
        std::thread &thread;
        ~Join() {
            done = true;
            thread.join();
        }
    } join{done, flipper};
    auto endsWithAnswer = [](const Bytes &b) {
        return b.size() >= kRspHardware.size() &&
               Bytes(b.end() - static_cast<std::ptrdiff_t>(kRspHardware.size()), b.end()) == kRspHardware;
    };
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(client_->Write(kReqHardware));
        // The answer is whole, with or without noise in front; a delayed or slow
        // answer (a loaded machine) is waited for up to 2 s.
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!endsWithAnswer(got) && std::chrono::steady_clock::now() < deadline) {
            const Bytes more = client_->ReadUntilQuiet(20);
            got.insert(got.end(), more.begin(), more.end());
        }
        EXPECT_TRUE(endsWithAnswer(got)) << got.size() << " bytes";
    }
}

}  // namespace

namespace {

TEST_F(PadTest, DuplicateAnswersSendsEveryFrameOfTheAnswerTwice) {
    pad_->SetFault(Fault::DuplicateAnswers, 2);
    EXPECT_EQ(Ask(kReqHardware, kRspHardware.size()), kRspHardware);
    EXPECT_TRUE(client_->ReadUntilQuiet(50).empty()) << "only the second answer is doubled";
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(32, 0x01)), 38),
        Concat({kRspLineAccepted, kRspLineAccepted, kNotiLine, kNotiLine}));
    EXPECT_EQ(pad_->BrailleLine(), Bytes(32, 0x01)) << "the line is shown once";
}

TEST_F(PadTest, UnaskedNoticesAndDeviceNamesAreByteExact) {
    pad_->SendLineNotice();
    EXPECT_EQ(client_->Read(kNotiLine.size(), 1000), kNotiLine);
    pad_->SendDeviceName("TARN");
    EXPECT_EQ(client_->Read(kRspDeviceName.size(), 1000), kRspDeviceName);
    pad_->SendDeviceName("");
    EXPECT_EQ(client_->Read(19, 1000),
        (Bytes{0xAA, 0x55, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xA5}));
}

TEST_F(PadTest, ReplugAfterHangUpServesANewPtyBehindTheSameLink) {
    char tmpl[] = "/tmp/padsim-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, link = dir + "/com3";
    ASSERT_TRUE(pad_->LinkAs(dir, 3));
    EXPECT_EQ(Ask(LineRequest(0, 0x80, Bytes(32, 0x07)), 19), Concat({kRspLineAccepted, kNotiLine}));
    const std::string before = pad_->DevicePath();
    pad_->HangUp();
    struct stat gone;
    EXPECT_NE(lstat(link.c_str(), &gone), 0) << "unplugged, the pad's name is gone, not left to a reused pty";
    ASSERT_TRUE(pad_->Replug());
    EXPECT_NE(pad_->DevicePath(), before);
    EXPECT_EQ(pad_->BrailleLine(), Bytes(32, 0x07)) << "the pins keep what they showed";
    PtyClient viaLink(link);
    ASSERT_TRUE(viaLink.ok());
    ASSERT_TRUE(viaLink.Write(kReqHardware));
    EXPECT_EQ(viaLink.Read(kRspHardware.size(), 1000), kRspHardware);
    pad_->Stop();
    struct stat st;
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "Stop removes the link again";
    rmdir(dir.c_str());
}

}  // namespace
