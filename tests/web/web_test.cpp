// The simulated pad's web view: what the page shows is what the SDK sent, keys
// pressed on the page reach the SDK, foreign requests are refused, and slow or
// vanishing stream clients do not harm the server. The browser tests run
// headless Chromium and are skipped without it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "VelumiSDK.h"
#include "api/pad_fixture.h"
#include "browser.h"
#include "firefox.h"
#include "http_client.h"
#include "image.h"
#include "padsim.h"
#include "padsim/pty_client.h"
#include "padsim_frame.h"
#include "padsim_web.h"
#include "test_support.h"

extern char **environ;

namespace {

using web_test::Browser;
using web_test::Request;
using web_test::Status;

std::string Hex(const std::vector<uint8_t> &bytes) { return web_test::LowerHex(bytes); }

std::string BrailleText(const std::vector<uint8_t> &cells) {
    std::string out;
    for (uint8_t c : cells) {
        const unsigned cp = 0x2800u + c;
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Cells of the last display-line request for `line` that the pad received from the SDK.
std::vector<uint8_t> LastSentLine(const padsim::SimulatedPad &pad, int line) {
    std::vector<uint8_t> cells;
    for (const auto &f : pad.ReceivedFrames())
        if (f.size() >= 10 && f[5] == 0x02 && f[6] == 0x00 && f[4] == line) cells.assign(f.begin() + 9, f.end() - 1);
    return cells;
}

std::mutex g_keysMutex;
std::vector<int> g_keys;
void OnKey(int key) {
    std::lock_guard<std::mutex> lock(g_keysMutex);
    g_keys.push_back(key);
}
std::vector<int> Keys() {
    std::lock_guard<std::mutex> lock(g_keysMutex);
    return g_keys;
}

const char16_t kText[] =
    u"Hello from the web view of the simulated pad: this text is longer than one braille line of the pad.";

// The SDK on a simulated TARN pad, with the pad's web view on a free local port.
class WebPadTest : public PadTest {
protected:
    void SetUp() override {
        PadTest::SetUp();
        {
            std::lock_guard<std::mutex> lock(g_keysMutex);
            g_keys.clear();
        }
        web = std::make_unique<padsim::WebView>(*pad);
        std::string error;
        ASSERT_TRUE(web->Start(options, error)) << error;
        port = web->Port();
        origin = "Origin: http://127.0.0.1:" + std::to_string(port) + "\r\n";
    }
    void TearDown() override {
        web->Stop();
        PadTest::TearDown();
    }
    // Runs a display operation and waits until the pad reported it shown.
    void Show(const std::function<int()> &operation) {
        const int before = DisplayCallbacks();
        ASSERT_EQ(operation(), 0);
        ASSERT_TRUE(WaitUntil([&] { return DisplayCallbacks() > before; }));
        WaitIdle();
    }
    // The demo picture, converted for the TARN's 20 lines of 40 cells.
    std::vector<uint8_t> Picture() {
        velumi_tool::Image image;
        std::string error;
        EXPECT_TRUE(velumi_tool::ReadPng(VELUMI_TEST_DATA_DIR "/../../tools/velumi/demo.png", image, error)) << error;
        return velumi_tool::ImageToCells(image, 20, 40, velumi_tool::ConvertOptions{});
    }
    std::string Url() const { return web->Url(); }
    std::string Post(const std::string &target) { return Request(port, "POST", target, origin); }

    padsim::WebOptions options;
    std::unique_ptr<padsim::WebView> web;
    int port = 0;
    std::string origin;
};

#define START_BROWSER(b)                                                               \
    if (web_test::ChromiumPath().empty()) GTEST_SKIP() << "chromium is not installed"; \
    ASSERT_TRUE((b).Start()) << "chromium did not start";                              \
    ASSERT_TRUE((b).Open(Url())) << "chromium did not open " << Url()

TEST_F(WebPadTest, PageShowsThePinsAndCellsTheSdkSentAndAScreenshotIsMade) {
    ASSERT_EQ(Init(), 0);
    const std::vector<uint8_t> picture = Picture();
    Show([&] { return VELUMI_DISPLAY_DATA(picture.data(), static_cast<int>(picture.size()), 0); });
    Show([] { return VELUMI_BRAILLE_DISPLAY(kText, ENGLISH); });
    const std::vector<uint8_t> braille = LastSentLine(*pad, 0);
    ASSERT_EQ(braille.size(), 32u);
    ASSERT_EQ(braille, pad->BrailleLine());

    Browser browser;
    START_BROWSER(browser);
    // Everything on the page arrives over the event stream: wait for the braille line.
    ASSERT_TRUE(browser.WaitFor("document.getElementById('bline').dataset.cells === '" + Hex(braille) + "'"));
    const std::string dom = browser.Eval("document.documentElement.outerHTML").asString();

    // Pins of the graphics area, line by line, as the data of each rendered line.
    int lines = 0;
    const std::string lineMark = "data-line=\"", cellsMark = "\" data-cells=\"";
    for (size_t at = dom.find(lineMark); at != std::string::npos; at = dom.find(lineMark, at + 1)) {
        const size_t number = at + lineMark.size();
        const size_t cells = dom.find(cellsMark, number);
        ASSERT_NE(cells, std::string::npos);
        const int line = std::atoi(dom.c_str() + number);
        ASSERT_GE(line, 1);
        ASSERT_LE(line, 20);
        const size_t start = cells + cellsMark.size();
        const std::string shown = dom.substr(start, dom.find('"', start) - start);
        const std::vector<uint8_t> expected(picture.begin() + (line - 1) * 40, picture.begin() + line * 40);
        EXPECT_EQ(shown, Hex(expected)) << "graphic line " << line;
        ++lines;
    }
    EXPECT_EQ(lines, 20);
    // Every raised pin is drawn raised, and no other.
    int raised = 0;
    for (uint8_t c : picture) raised += __builtin_popcount(c);
    for (uint8_t c : braille) raised += __builtin_popcount(c);
    ASSERT_GT(raised, 100);
    size_t drawn = 0;
    for (size_t at = dom.find("class=\"pin up\""); at != std::string::npos; at = dom.find("class=\"pin up\"", at + 1))
        ++drawn;
    EXPECT_EQ(drawn, static_cast<size_t>(raised));
    // The same pins as braille text, for screen readers.
    std::string rows;
    for (int line = 1; line <= 20; ++line) {
        const std::vector<uint8_t> cells(picture.begin() + (line - 1) * 40, picture.begin() + line * 40);
        rows += (line > 1 ? "\n" : "") + BrailleText(cells);
    }
    EXPECT_EQ(browser.Eval("document.getElementById('graphics-text').textContent").asString(), rows);
    EXPECT_EQ(browser.Eval("document.getElementById('braille-text').textContent").asString(), BrailleText(braille));
    EXPECT_EQ(browser.Eval("document.getElementById('model').textContent").asString(), "TARN");
    EXPECT_EQ(browser.Eval("document.getElementById('link').textContent").asString(), "up");
    // The frames exchanged include the braille line's request.
    EXPECT_TRUE(browser
                    .Eval("[...document.querySelectorAll('#frames td')].some(td => td.textContent === "
                          "'REQ_DISPLAY_LINE')")
                    .asBool());
    // Keys are real, labelled buttons.
    EXPECT_EQ(browser.Eval("document.querySelectorAll('.keys button').length").asInt(), 2 + 4 + 8);
    EXPECT_EQ(
        browser.Eval("document.querySelector('[data-kind=page][data-code=\"2\"]').textContent.trim()").asString(),
        "Next page →");

    const std::string shots = std::string(VELUMI_BUILD_DIR) + "/web";
    mkdir(shots.c_str(), 0755);
    const std::string shot = shots + "/padsim-web.png";
    ASSERT_TRUE(browser.Screenshot(shot));
    struct stat st;
    ASSERT_EQ(stat(shot.c_str(), &st), 0);
    EXPECT_GT(st.st_size, 10000);
    std::printf("screenshot of the page: %s\n", shot.c_str());
}

TEST_F(WebPadTest, KeysPressedThroughThePageEndpointReachTheSdk) {
    ASSERT_EQ(Init(), 0);
    VELUMI_REGISTER_KEY_CALLBACK(OnKey);
    Show([] { return VELUMI_BRAILLE_DISPLAY(kText, ENGLISH); });
    const std::vector<uint8_t> all = test_support::EngineCells(kText, ENGLISH, 32);
    ASSERT_GE(all.size(), 96u);
    const std::vector<uint8_t> first(all.begin(), all.begin() + 32), second(all.begin() + 32, all.begin() + 64);
    ASSERT_EQ(pad->BrailleLine(), first);

    // A page viewer, to see the next page arrive as an event.
    const int stream = web_test::Connect(port);
    ASSERT_GE(stream, 0);
    web_test::SendAll(stream, "GET /events HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n");
    ASSERT_NE(web_test::ReadFor(stream, 3000, "event: state").find("event: state"), std::string::npos);

    // The next-page key: the SDK moves its window and shows the second line.
    const int before = DisplayCallbacks();
    EXPECT_EQ(Status(Post("/api/key?kind=page&code=2")), 204);
    EXPECT_TRUE(WaitUntil([&] { return DisplayCallbacks() > before; }));
    EXPECT_EQ(pad->BrailleLine(), second);
    const std::string next = "\"line\":0,\"cells\":\"" + Hex(second) + "\"";
    EXPECT_NE(web_test::ReadFor(stream, 3000, next).find(next), std::string::npos);
    close(stream);
    // The previous-page key brings the first line back.
    WaitIdle();
    EXPECT_EQ(Status(Post("/api/key?kind=page&code=1")), 204);
    EXPECT_TRUE(WaitUntil([&] { return pad->BrailleLine() == first; }));

    // Function keys F1..F4 give the key callback 0..3; Perkins keys 4 and 2 give 100 and 200.
    EXPECT_EQ(Status(Post("/api/key?kind=function&n=3")), 204);
    EXPECT_EQ(Status(Post("/api/key?kind=perkins&key=4")), 204);
    EXPECT_EQ(Status(Post("/api/key?kind=perkins&key=2")), 204);
    EXPECT_TRUE(WaitUntil([] { return Keys().size() >= 3; }));
    EXPECT_EQ(Keys(), (std::vector<int>{2, 100, 200}));

    // Bad keys are refused and send nothing.
    const size_t sent = pad->SentFrames().size();
    EXPECT_EQ(Status(Post("/api/key?kind=function&n=5")), 400);
    EXPECT_EQ(Status(Post("/api/key?kind=page&code=0")), 400);
    EXPECT_EQ(Status(Post("/api/key?kind=jump")), 400);
    EXPECT_EQ(Status(Request(port, "GET", "/api/key?kind=page&code=2")), 404);
    EXPECT_EQ(pad->SentFrames().size(), sent);
}

TEST_F(WebPadTest, ButtonsAndKeyboardOnThePagePressThePadsKeys) {
    ASSERT_EQ(Init(), 0);
    VELUMI_REGISTER_KEY_CALLBACK(OnKey);
    Show([] { return VELUMI_BRAILLE_DISPLAY(kText, ENGLISH); });
    const std::vector<uint8_t> all = test_support::EngineCells(kText, ENGLISH, 32);
    const std::vector<uint8_t> first(all.begin(), all.begin() + 32), second(all.begin() + 32, all.begin() + 64);

    Browser browser;
    START_BROWSER(browser);
    ASSERT_TRUE(browser.WaitFor("document.getElementById('bline').dataset.cells === '" + Hex(first) + "'"));
    // A click on the button, as with the mouse.
    browser.Eval("document.querySelector('[data-kind=page][data-code=\"2\"]').click(), true");
    EXPECT_TRUE(
        browser.WaitFor("document.getElementById('braille-text').textContent === '" + BrailleText(second) + "'"));
    EXPECT_EQ(pad->BrailleLine(), second);
    WaitIdle();
    // The keyboard: left arrow is the previous-page key, 1 is F1.
    browser.PressKey("ArrowLeft", "ArrowLeft", 37);
    EXPECT_TRUE(
        browser.WaitFor("document.getElementById('braille-text').textContent === '" + BrailleText(first) + "'"));
    browser.PressKey("1", "Digit1", 49);
    EXPECT_TRUE(WaitUntil([] { return !Keys().empty(); }));
    EXPECT_EQ(Keys(), (std::vector<int>{0}));

    // A fault switched on from the page reaches the simulator, and back off.
    browser.Eval("(() => { const b = document.getElementById('fault-delay'); b.click(); return true; })()");
    EXPECT_TRUE(WaitUntil([&] { return pad->ActiveFaults().size() == 1; }));
    ASSERT_EQ(pad->ActiveFaults().size(), 1u);
    EXPECT_EQ(pad->ActiveFaults()[0].fault, padsim::Fault::DelayAnswers);
    EXPECT_TRUE(browser.WaitFor("document.getElementById('fault-delay').checked"));
    browser.Eval("document.getElementById('clear-faults').click(), true");
    EXPECT_TRUE(WaitUntil([&] { return pad->ActiveFaults().empty(); }));
    EXPECT_TRUE(browser.WaitFor("!document.getElementById('fault-delay').checked"));
}

TEST_F(WebPadTest, FirefoxShowsTheSamePageAndItsButtonsWork) {
    if (web_test::FirefoxPath().empty()) GTEST_SKIP() << "firefox is not installed";
    ASSERT_EQ(Init(), 0);
    const std::vector<uint8_t> picture = Picture();
    Show([&] { return VELUMI_DISPLAY_DATA(picture.data(), static_cast<int>(picture.size()), 0); });
    Show([] { return VELUMI_BRAILLE_DISPLAY(kText, ENGLISH); });
    const std::vector<uint8_t> all = test_support::EngineCells(kText, ENGLISH, 32);
    const std::vector<uint8_t> first(all.begin(), all.begin() + 32), second(all.begin() + 32, all.begin() + 64);

    web_test::Firefox firefox;
    ASSERT_TRUE(firefox.Start()) << "firefox did not start";
    ASSERT_TRUE(firefox.Open(Url()));
    ASSERT_TRUE(firefox.WaitFor("document.getElementById('bline').dataset.cells === '" + Hex(first) + "'"));
    for (int line = 1; line <= 20; ++line) {
        const std::vector<uint8_t> expected(picture.begin() + (line - 1) * 40, picture.begin() + line * 40);
        EXPECT_EQ(
            firefox.Eval("document.querySelector('.gline[data-line=\"" + std::to_string(line) + "\"]').dataset.cells")
                .asString(),
            Hex(expected))
            << "graphic line " << line;
    }
    int raised = 0;
    for (uint8_t c : picture) raised += __builtin_popcount(c);
    for (uint8_t c : first) raised += __builtin_popcount(c);
    EXPECT_EQ(firefox.Eval("document.querySelectorAll('.pin.up').length").asInt(), raised);
    EXPECT_EQ(firefox.Eval("document.getElementById('braille-text').textContent").asString(), BrailleText(first));
    firefox.Eval("document.querySelector('[data-kind=page][data-code=\"2\"]').click(), true");
    EXPECT_TRUE(
        firefox.WaitFor("document.getElementById('braille-text').textContent === '" + BrailleText(second) + "'"));
    EXPECT_EQ(pad->BrailleLine(), second);
    const std::string shots = std::string(VELUMI_BUILD_DIR) + "/web";
    mkdir(shots.c_str(), 0755);
    EXPECT_TRUE(firefox.Screenshot(shots + "/padsim-web-firefox.png"));
}

TEST_F(WebPadTest, RefusesRequestsFromOtherOriginsAndHosts) {
    const std::string self = "127.0.0.1:" + std::to_string(port);
    EXPECT_EQ(web->Url(), "http://" + self + "/");
    EXPECT_EQ(Status(Request(port, "GET", "/")), 200);
    EXPECT_EQ(Status(Request(port, "GET", "/", "", "localhost:" + std::to_string(port))), 200);
    EXPECT_EQ(Status(Request(port, "GET", "/api/state", origin)), 200);
    // A page from elsewhere, directly or through a DNS name pointed at this machine.
    EXPECT_EQ(Status(Request(port, "GET", "/api/state", "Origin: http://evil.example\r\n")), 403);
    EXPECT_EQ(Status(Request(port, "GET", "/events", "Origin: null\r\n")), 403);
    EXPECT_EQ(Status(Request(port, "GET", "/", "", "evil.example:" + std::to_string(port))), 403);
    EXPECT_EQ(Status(Request(port, "GET", "/", "", "127.0.0.1:1")), 403);
    EXPECT_EQ(Status(Request(port, "GET", "/", "", "")), 200);  // the helper's default Host
    EXPECT_EQ(Status(Request(port, "GET", "/api/state", "Sec-Fetch-Site: cross-site\r\n")), 403);
    EXPECT_EQ(Status(Request(port, "GET", "/events", "Sec-Fetch-Site: same-site\r\n")), 403);
    // A link to the page from elsewhere opens it (it cannot be framed, and it only shows the pad).
    EXPECT_EQ(Status(Request(port, "GET", "/", "Sec-Fetch-Site: cross-site\r\nSec-Fetch-Mode: navigate\r\n")), 200);
    EXPECT_EQ(Status(Request(port, "GET", "/", "Sec-Fetch-Site: cross-site\r\nSec-Fetch-Mode: no-cors\r\n")), 403);
    // Nothing a foreign page posts has an effect.
    const size_t sent = pad->SentFrames().size();
    EXPECT_EQ(Status(Request(port, "POST", "/api/key?kind=function&n=1", "Origin: http://evil.example\r\n")), 403);
    EXPECT_EQ(Status(Request(port, "POST", "/api/fault?name=never-answer&on=1", "Origin: http://localhost:1\r\n")),
        403);
    EXPECT_EQ(pad->SentFrames().size(), sent);
    EXPECT_TRUE(pad->ActiveFaults().empty());
    // The page loads nothing from elsewhere and may not be framed.
    const std::string page = Request(port, "GET", "/");
    EXPECT_NE(page.find("Content-Security-Policy: default-src 'none';"), std::string::npos);
    EXPECT_NE(page.find("frame-ancestors 'none'"), std::string::npos);
    EXPECT_EQ(page.find("src=\"http"), std::string::npos);
    EXPECT_EQ(page.find("href=\"http"), std::string::npos);
    EXPECT_EQ(page.find("@import"), std::string::npos);
    // Faults are switched by catalogue name; unknown names and bad numbers are refused.
    EXPECT_EQ(Status(Post("/api/fault?name=reject-line&on=1&n=2&code=7")), 204);
    ASSERT_EQ(pad->ActiveFaults().size(), 1u);
    EXPECT_EQ(pad->ActiveFaults()[0].fault, padsim::Fault::RejectLine);
    EXPECT_EQ(pad->ActiveFaults()[0].n, 2);
    EXPECT_EQ(pad->ActiveFaults()[0].code, 7);
    EXPECT_EQ(Status(Post("/api/fault?name=melt&on=1")), 400);
    EXPECT_EQ(Status(Post("/api/fault?name=delay&on=1&n=-5")), 400);
    EXPECT_EQ(Status(Post("/api/fault?name=reject-line&on=0")), 204);
    EXPECT_TRUE(pad->ActiveFaults().empty());
}

TEST(WebAddress, ParsesPortsAndAddresses) {
    std::string address, error;
    int port = -1;
    ASSERT_TRUE(padsim::ParseWebAddress("8080", address, port, error));
    EXPECT_EQ(address, "127.0.0.1");
    EXPECT_EQ(port, 8080);
    ASSERT_TRUE(padsim::ParseWebAddress("0.0.0.0:0", address, port, error));
    EXPECT_EQ(address, "0.0.0.0");
    EXPECT_EQ(port, 0);
    ASSERT_TRUE(padsim::ParseWebAddress("[::1]:9000", address, port, error));
    EXPECT_EQ(address, "::1");
    for (const char *bad : {"", "http", "65536", ":80", "::1:80", "127.0.0.1:", "-1", "12ab", "0x50"})
        EXPECT_FALSE(padsim::ParseWebAddress(bad, address, port, error)) << bad;
}

// Display lines written straight to the pad over its pty, many and fast.
class WebStreamTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pad.Start());
        client = std::make_unique<padsim_test::PtyClient>(pad.DevicePath());
        ASSERT_TRUE(client->ok());
        options.writeTimeoutMs = 300;
        options.queueLimit = 32;
        std::string error;
        ASSERT_TRUE(web.Start(options, error)) << error;
    }
    int OpenStream(int receiveBuffer = 0) {
        const int fd = web_test::Connect(web.Port(), receiveBuffer);
        web_test::SendAll(fd, "GET /events HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(web.Port()) + "\r\n\r\n");
        return fd;
    }
    // Shows `count` graphic lines, all different, and waits until the pad has them.
    void ShowLines(int count, int salt) {
        for (int i = 0; i < count; ++i) {
            std::vector<uint8_t> payload(41);
            payload[0] = 0;
            for (size_t c = 1; c < payload.size(); ++c) payload[c] = static_cast<uint8_t>(i * 7 + c + salt);
            ASSERT_TRUE(WriteAll(padsim::wire::Build(static_cast<uint8_t>(1 + i % 20), 0x0200, 0, payload)));
        }
        shown += static_cast<size_t>(count);
        ASSERT_TRUE(pad.WaitForRequests(0x0200, shown, 30000));
        client->ReadUntilQuiet(20);
    }

    // Writes to the pty, reading the pad's answers meanwhile so that neither side fills up.
    bool WriteAll(const std::vector<uint8_t> &bytes) {
        for (size_t off = 0; off < bytes.size();) {
            const ssize_t n = write(client->fd(), bytes.data() + off, bytes.size() - off);
            if (n > 0) {
                off += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
            client->ReadUntilQuiet(0);
            pollfd p{client->fd(), POLLOUT, 0};
            poll(&p, 1, 100);
        }
        return true;
    }

    padsim::SimulatedPad pad;
    padsim::WebView web{pad};
    padsim::WebOptions options;
    size_t shown = 0;  // display lines sent so far
    std::unique_ptr<padsim_test::PtyClient> client;
};

TEST_F(WebStreamTest, SurvivesAClientThatNeverReadsAndClientsThatDisconnect) {
    // A client that asks for the stream and never reads, with a tiny receive window.
    const int stalled = OpenStream(1024);
    // One that goes away at once, and one that goes away in the middle of the stream.
    const int gone = OpenStream();
    const int midway = OpenStream();
    const int reader = OpenStream();
    ASSERT_TRUE(web.WaitForStreams(4, 3000));
    close(gone);
    // A page that reads all the time, as a browser does.
    std::atomic<bool> done{false};
    std::string got;
    std::thread readerThread([&] {
        while (!done) got += web_test::ReadFor(reader, 50);
    });

    ShowLines(400, 0);
    close(midway);
    // The stalled client falls behind: its queue is dropped for a snapshot, and once
    // its socket buffers are full a write times out and it is dropped.
    for (int round = 1; round <= 40 && web.StreamCount() > 1; ++round) ShowLines(400, round);
    EXPECT_EQ(web.StreamCount(), 1u);
    EXPECT_GT(web.Resyncs(), 0u);
    // The reader kept up and saw the last line shown (as an event, or in a fresh snapshot).
    const std::string last = Hex(pad.GraphicLine(1 + static_cast<int>((shown - 1) % 20)));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    done = true;
    readerThread.join();
    EXPECT_EQ(got.compare(0, 9, "HTTP/1.1 "), 0);
    EXPECT_NE(got.find("event: state"), std::string::npos);
    EXPECT_NE(got.find(last), std::string::npos);
    // The server still serves.
    EXPECT_EQ(Status(Request(web.Port(), "GET", "/")), 200);
    const int again = OpenStream();
    EXPECT_NE(web_test::ReadFor(again, 2000, "event: state").find("event: state"), std::string::npos);
    close(again);
    close(reader);
    close(stalled);
    EXPECT_TRUE(WaitUntil([&] { return web.StreamCount() == 0; }, 5000));
}

TEST_F(WebStreamTest, LimitsTheNumberOfStreamsAndStopsWithClientsConnected) {
    std::vector<int> fds;
    for (int i = 0; i < options.maxStreams; ++i) fds.push_back(OpenStream());
    ASSERT_TRUE(web.WaitForStreams(static_cast<uint64_t>(options.maxStreams), 3000));
    const int extra = OpenStream();
    EXPECT_EQ(Status(web_test::ReadFor(extra, 3000, "\r\n\r\n")), 503);
    close(extra);
    // Page loads and keys still get through while every stream slot is taken.
    EXPECT_EQ(Status(Request(web.Port(), "GET", "/api/state")), 200);
    const auto start = std::chrono::steady_clock::now();
    web.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    for (int fd : fds) {
        web_test::ReadFor(fd, 1000);  // drains to the close
        close(fd);
    }
}

TEST_F(WebStreamTest, ReportsTheLinkStateAndRefusesKeysWhileUnplugged) {
    const int stream = OpenStream();
    std::string got = web_test::ReadFor(stream, 3000, "event: state");
    EXPECT_NE(got.find("\"link\":{\"state\":\"up\",\"device\":\"" + pad.DevicePath() + "\""), std::string::npos)
        << got;
    pad.HangUp();
    got = web_test::ReadFor(stream, 3000, "\"unplugged\"");
    EXPECT_NE(got.find("event: link\ndata: {\"state\":\"unplugged\""), std::string::npos) << got;
    EXPECT_EQ(Status(Request(web.Port(), "POST", "/api/key?kind=page&code=2")), 409);
    pad.Stop();
    got = web_test::ReadFor(stream, 3000, "\"stopped\"");
    EXPECT_NE(got.find("event: link\ndata: {\"state\":\"stopped\""), std::string::npos) << got;
    close(stream);
}

// ---- the programs ------------------------------------------------------------

struct Run {
    int status = -1;
    std::string out;
};

pid_t Spawn(const std::vector<std::string> &args, int &outFd, bool devNullInput) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (devNullInput) posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    outFd = pipeFds[0];
    return pid;
}

int WaitExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int PortIn(const std::string &text) {
    const std::string mark = "http://127.0.0.1:";
    const size_t at = text.find(mark);
    return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + mark.size());
}

TEST(WebPrograms, PadsimServesThePageUntilStopped) {
    char tmpl[] = "/tmp/velumi-web-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    int out = -1;
    const pid_t pid = Spawn({VELUMI_BUILD_DIR "/tools/padsim/velumi-padsim", "--model", "LINNET", "--port-dir", dir,
                                "--com", "4", "--web", "0"},
        out, true);
    ASSERT_GT(pid, 0);
    const std::string banner = web_test::ReadFor(out, 5000, "/\n");
    const int port = PortIn(banner);
    ASSERT_GT(port, 0) << banner;
    const std::string state = Request(port, "GET", "/api/state");
    EXPECT_EQ(Status(state), 200);
    EXPECT_NE(
        state.find("\"model\":\"LINNET\",\"firmware\":\"1.00.000\",\"lines\":10,\"cells\":30,\"brailleCells\":20"),
        std::string::npos);
    EXPECT_NE(state.find(dir + "/com4"), std::string::npos);
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
    close(out);
    rmdir(dir.c_str());

    // A bad address is a usage error.
    const pid_t bad = Spawn({VELUMI_BUILD_DIR "/tools/padsim/velumi-padsim", "--web", "localhost:http"}, out, true);
    EXPECT_EQ(WaitExit(bad), 2);
    close(out);
}

TEST(WebPrograms, DemoRunsWithTheWebView) {
    int out = -1;
    const pid_t pid = Spawn({VELUMI_BUILD_DIR "/tools/velumi/velumi", "demo", "--web", "127.0.0.1:0"}, out, true);
    ASSERT_GT(pid, 0);
    const std::string text = web_test::ReadFor(out, 60000, "VELUMI_DEINIT");
    EXPECT_EQ(WaitExit(pid), 0) << text;
    close(out);
    EXPECT_GT(PortIn(text), 0) << text;
    EXPECT_NE(text.find("The pad stays open"), std::string::npos) << text;
    EXPECT_NE(text.find("VELUMI_DEINIT: the pad is closed"), std::string::npos) << text;

    // --web shows the simulated pad only.
    const pid_t bad = Spawn({VELUMI_BUILD_DIR "/tools/velumi/velumi", "demo", "--web", "0", "--port", "3"}, out, true);
    EXPECT_EQ(WaitExit(bad), 2);
    close(out);
}

}  // namespace
