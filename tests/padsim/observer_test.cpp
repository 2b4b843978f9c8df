// What the simulated pad tells its observers (the web view is one), and its
// fault catalogue.
#include "padsim.h"
#include "padsim_frame.h"
#include "pty_client.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

using padsim::Fault;
using padsim::PadEvent;
using padsim_test::Bytes;
using padsim_test::PtyClient;

struct Recorder {
    std::mutex mu;
    std::vector<PadEvent> events;
    void operator()(const PadEvent &e) {
        std::lock_guard<std::mutex> lock(mu);
        events.push_back(e);
    }
    std::vector<PadEvent> Take() {
        std::lock_guard<std::mutex> lock(mu);
        std::vector<PadEvent> out;
        out.swap(events);
        return out;
    }
};

TEST(PadObserver, HearsFramesLinesFaultsAndTheLink) {
    padsim::SimulatedPad pad;
    auto recorder = std::make_shared<Recorder>();
    const int id = pad.AddObserver([recorder](const PadEvent &e) { (*recorder)(e); });
    ASSERT_TRUE(pad.Start());
    std::vector<PadEvent> events = recorder->Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, PadEvent::Kind::LinkChanged);

    PtyClient client(pad.DevicePath());
    ASSERT_TRUE(client.ok());
    // Braille line, five cells from the start: received, shown with the whole line, answered twice.
    const Bytes request = padsim::wire::Build(0, 0x0200, 0x80, {0, 1, 2, 3, 4, 5});
    ASSERT_TRUE(client.Write(request));
    const Bytes answers = client.Read(19, 2000);
    ASSERT_EQ(answers.size(), 19u);
    events = recorder->Take();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, PadEvent::Kind::FrameReceived);
    EXPECT_EQ(events[0].bytes, request);
    EXPECT_EQ(events[1].kind, PadEvent::Kind::LineShown);
    EXPECT_EQ(events[1].line, 0);
    Bytes line(32, 0);
    for (int i = 0; i < 5; ++i) line[i] = static_cast<uint8_t>(i + 1);
    EXPECT_EQ(events[1].bytes, line);
    EXPECT_EQ(events[2].kind, PadEvent::Kind::FrameSent);
    EXPECT_EQ(events[3].kind, PadEvent::Kind::FrameSent);
    EXPECT_EQ(Bytes(answers.begin(), answers.begin() + 10), events[2].bytes);
    EXPECT_EQ(Bytes(answers.begin() + 10, answers.end()), events[3].bytes);

    // A rejected line is received and answered but not shown.
    pad.SetFault(Fault::RejectLine, 0, 9);
    ASSERT_TRUE(client.Write(request));
    ASSERT_EQ(client.Read(10, 2000).size(), 10u);
    events = recorder->Take();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, PadEvent::Kind::FaultsChanged);
    EXPECT_EQ(events[1].kind, PadEvent::Kind::FrameReceived);
    EXPECT_EQ(events[2].kind, PadEvent::Kind::FrameSent);
    ASSERT_EQ(pad.ActiveFaults().size(), 1u);
    EXPECT_EQ(pad.ActiveFaults()[0].fault, Fault::RejectLine);
    EXPECT_EQ(pad.ActiveFaults()[0].code, 9);
    pad.ClearFaults();
    EXPECT_TRUE(pad.ActiveFaults().empty());

    // Key notices and raw bytes are told as sent; raw bytes are marked.
    recorder->Take();
    pad.SendFunctionKeys(0x80);
    pad.SendRaw({0x01, 0x02});
    events = recorder->Take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, PadEvent::Kind::FrameSent);
    EXPECT_FALSE(events[0].raw);
    EXPECT_EQ(events[1].bytes, (Bytes{0x01, 0x02}));
    EXPECT_TRUE(events[1].raw);

    pad.HangUp();
    EXPECT_TRUE(pad.IsHungUp());
    events = recorder->Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, PadEvent::Kind::LinkChanged);

    // A removed observer hears nothing more.
    pad.RemoveObserver(id);
    pad.Stop();
    EXPECT_TRUE(recorder->Take().empty());
}

TEST(PadFaultCatalogue, NamesEveryFaultOnce) {
    const auto &catalogue = padsim::FaultCatalogue();
    std::set<std::string> names;
    std::set<Fault> faults;
    for (const padsim::FaultInfo &f : catalogue) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_TRUE(faults.insert(f.fault).second) << f.name;
        EXPECT_NE(f.fault, Fault::None);
        EXPECT_EQ(padsim::FindFault(f.name), &f);
        EXPECT_EQ(padsim::FindFault(f.fault), &f);
        EXPECT_GT(std::string(f.summary).size(), 10u) << f.name;
    }
    EXPECT_TRUE(padsim::FindFault(Fault::RejectLine)->takesCode);
    EXPECT_EQ(padsim::FindFault("no-such-fault"), nullptr);
    EXPECT_EQ(padsim::FindFault(Fault::None), nullptr);
}

}  // namespace
