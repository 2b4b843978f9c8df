// What the pad shows is what the SDK reports, while page keys, queries, failed
// lines and stray notices cut across a transfer.
#include <atomic>
#include <random>
#include <thread>

#include "pad_fixture.h"

namespace {

struct Transfer : PadTest {
    Transfer() : PadTest("TARN") {}

    // The pad's graphics area, line after line.
    std::vector<uint8_t> PadPicture() {
        std::vector<uint8_t> all;
        for (int l = 1; l <= pad->Lines(); ++l) {
            auto line = pad->GraphicLine(l);
            all.insert(all.end(), line.begin(), line.end());
        }
        return all;
    }
    // Shows a picture and waits for its transfer to end; the call's result.
    int Show(const std::vector<uint8_t> &picture, int sendAll = 0) {
        int r = VELUMI_DISPLAY_DATA(picture.data(), static_cast<int>(picture.size()), sendAll);
        WaitIdle();
        return r;
    }
    static std::vector<uint8_t> Filled(uint8_t value) { return std::vector<uint8_t>(800, value); }
};

// Page keys every few milliseconds, from the pad or from the application,
// while new pictures and new braille text are shown: every call that returns 0
// ends with its picture or text on the pad.
TEST_F(Transfer, PageKeysNeverReplaceANewJob) {
    ASSERT_EQ(Init(3), 0);
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY(std::string(32 * 4, 'k').c_str()), 0);
    WaitIdle();
    std::atomic<bool> stop{false};
    std::thread keys([&] {
        for (int i = 0; !stop; ++i) {
            if (i % 3 == 2) VELUMI_SEND_KEY(i % 2 ? 0x2 : 0x1);
            else pad->SendPageKey(i % 2 ? 0x02 : 0x01);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::mt19937 rng(7);
    int pictures = 0, texts = 0;
    for (int i = 0; i < 40; ++i) {
        if (i % 2 == 0) {
            std::vector<uint8_t> picture(800);
            for (auto &c : picture) c = static_cast<uint8_t>(rng());
            int r;
            while ((r = VELUMI_DISPLAY_DATA(picture.data(), 800, 0)) == VELUMI_ERROR_DISPLAY_IN_PROGRESS)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_EQ(r, 0) << i;
            EXPECT_TRUE(WaitUntil([&] { return PadPicture() == picture; }, 2000)) << "picture " << i << " lost";
            ++pictures;
        } else {
            // Two pages of one letter: any window of the text shows only that letter.
            static const char kLetters[] = "ABCDEKLM";
            static const uint8_t kCells[] = {0x01, 0x03, 0x09, 0x19, 0x11, 0x05, 0x07, 0x0D};
            const int which = (i / 2) % 8;
            const std::string text(64, kLetters[which]);
            int r;
            while ((r = VELUMI_BRAILLE_ASCII_DISPLAY(text.c_str())) == VELUMI_ERROR_DISPLAY_IN_PROGRESS)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_EQ(r, 0) << i;
            const std::vector<uint8_t> expected(32, kCells[which]);
            EXPECT_TRUE(WaitUntil([&] { return pad->BrailleLine() == expected; }, 2000)) << "text " << i << " lost";
            ++texts;
        }
    }
    stop = true;
    keys.join();
    EXPECT_EQ(pictures, 20);
    EXPECT_EQ(texts, 20);
}

// A firmware query during a transfer waits for it; the transfer stays busy
// and complete.
TEST_F(Transfer, FirmwareQueryDuringATransferKeepsItBusyAndWhole) {
    ASSERT_EQ(Init(3), 0);
    if (!velumi::CCOM::Instance().FirmwareVersion().empty()) GTEST_SKIP() << "needs a process that never asked";
    pad->SetFault(padsim::Fault::DelayAnswers, 8);
    const auto a = Filled(0x11), b = Filled(0x22);
    ASSERT_EQ(VELUMI_DISPLAY_DATA(a.data(), 800, 0), 0);
    static std::atomic<int> called{0};
    std::atomic<int> result{-1};
    std::thread query([&] { result = VELUMI_GET_FW_VERSION([](const char *) { ++called; }); });
    int refused = 0, accepted = 0;
    // Until the pad has seen every line of a, nothing else may start.
    while (pad->RequestCount(0x0200) < 20) {
        const int r = VELUMI_DISPLAY_DATA(b.data(), 800, 0);
        (r == VELUMI_ERROR_DISPLAY_IN_PROGRESS ? refused : accepted)++;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    query.join();
    WaitIdle();
    EXPECT_GT(refused, 0);
    EXPECT_EQ(accepted, 0) << "a second transfer started while the first ran";
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(called.load(), 1);
    EXPECT_EQ(pad->RequestCount(0x0200), 20u);
    EXPECT_EQ(PadPicture(), a);
    EXPECT_EQ(Show(a), VELUMI_ERROR_DISPLAY_NO_CHANGE);
    EXPECT_EQ(Show(b), 0);
    EXPECT_EQ(PadPicture(), b);
    EXPECT_EQ(Show(b), VELUMI_ERROR_DISPLAY_NO_CHANGE);
}

// After a failed transfer the lines whose arrival was not confirmed are sent again.
TEST_F(Transfer, LinesOfAFailedTransferAreSentAgain) {
    ASSERT_EQ(Init(3), 0);
    const auto blank = Filled(0), c = Filled(0x2D);
    // The first line is shown, but its notice never comes: the transfer fails.
    pad->SetFault(padsim::Fault::OmitLineNotice, 1);
    EXPECT_EQ(Show(c), 0);
    pad->ClearFaults();
    EXPECT_EQ(pad->GraphicLine(1), std::vector<uint8_t>(40, 0x2D));
    EXPECT_EQ(VELUMI_RESET_DISPLAY(), 0) << "line 1 is in doubt and must be cleared";
    WaitIdle();
    EXPECT_EQ(PadPicture(), blank);

    // The pad rejects a later line four times.
    auto d = Filled(0);
    std::fill(d.begin() + 40 * 5, d.begin() + 40 * 6, 0x3C);
    std::fill(d.begin() + 40 * 9, d.begin() + 40 * 10, 0x3C);
    pad->SetFault(padsim::Fault::RejectLine, 0, 0x05);
    const int before = DisplayCallbacks();
    EXPECT_EQ(Show(d), VELUMI_ERROR_COM_NOT_RESPONSE);
    pad->ClearFaults();
    EXPECT_EQ(DisplayCallbacks(), before) << "no callback for a failed transfer";
    EXPECT_EQ(Show(d), 0) << "nothing of d was confirmed";
    EXPECT_EQ(PadPicture(), d);
    EXPECT_EQ(Show(d), VELUMI_ERROR_DISPLAY_NO_CHANGE);

    // A lost notice on the third line of a picture.
    const auto e = Filled(0x07);
    pad->SetFault(padsim::Fault::OmitLineNotice, 3);
    EXPECT_EQ(Show(e), 0);
    pad->ClearFaults();
    EXPECT_EQ(Show(e), 0) << "lines 3 to 20 were never confirmed";
    EXPECT_EQ(PadPicture(), e);
}

// Repeated and stray notices never stand for the outstanding line.
TEST_F(Transfer, OnlyTheNoticeOfTheOutstandingLineAdvances) {
    ASSERT_EQ(Init(3), 0);
    pad->SetFault(padsim::Fault::DuplicateAnswers, 0);
    std::vector<uint8_t> picture(800);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i / 40 + 1);
    const int before = DisplayCallbacks();
    EXPECT_EQ(Show(picture, 1), 0);
    EXPECT_TRUE(WaitUntil([&] { return DisplayCallbacks() == before + 1; }));
    EXPECT_EQ(pad->RequestCount(0x0200), 20u);
    EXPECT_EQ(PadPicture(), picture) << "a pad that answers twice gets every line";
    pad->ClearFaults();

    // Notices nobody asked for, while a slow transfer runs.
    pad->SetFault(padsim::Fault::DelayAnswers, 5);
    for (auto &c : picture) c ^= 0x30;
    ASSERT_EQ(VELUMI_DISPLAY_DATA(picture.data(), 800, 1), 0);
    while (velumi::CCOM::Instance().IsDisplayBusy()) {
        pad->SendLineNotice();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    WaitIdle();
    EXPECT_EQ(PadPicture(), picture);
    EXPECT_TRUE(log.Contains("[CAUTION] E_NUBRA_STATUS_NOTI ignored"));
    VELUMI_DISPLAY_DATA(picture.data(), 800, 0);  // back to sending changed lines only
    WaitIdle();
}

// Notices that arrive while init opens the port find the link's display thread
// already made: it used to be made after the read worker had started, and the
// worker read the pointer while init wrote it (a race ThreadSanitizer reports).
TEST_F(Transfer, NoticesDuringInitFindTheLinkReady) {
    std::atomic<bool> done{false};
    std::thread noise([&] {
        while (!done) {
            pad->SendLineNotice();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Init(3), 0);
        EXPECT_EQ(VELUMI_DEINIT(), 0);
    }
    done = true;
    noise.join();
}

// Answers slower than the response time-out: every line is resent, and the
// late answer to a resend must not be taken for the next line's.
TEST_F(Transfer, ALateAnswerToAResendIsNotTakenForTheNextLine) {
    ASSERT_EQ(Init(3), 0);
    auto picture = Filled(0);
    std::fill(picture.begin(), picture.begin() + 80, 0x1B);  // lines 1 and 2 change
    pad->SetFault(padsim::Fault::DelayAnswers, 150);
    // Requests: line 1, line 1 again, then line 2, whose first send is refused.
    pad->SetFault(padsim::Fault::RejectLine, 3, 0x04);
    const int before = DisplayCallbacks();
    EXPECT_EQ(Show(picture), 0);
    ASSERT_TRUE(WaitUntil([&] { return !velumi::CCOM::Instance().IsDisplayBusy(); }, 5000));
    pad->ClearFaults();
    if (DisplayCallbacks() > before) {
        EXPECT_EQ(PadPicture(), picture) << "reported shown, but line 2 is not";
    }
    EXPECT_EQ(Show(picture), DisplayCallbacks() > before ? VELUMI_ERROR_DISPLAY_NO_CHANGE : 0);
    EXPECT_EQ(PadPicture(), picture);
}

}  // namespace
