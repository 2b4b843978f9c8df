// liblouis in its helper process: inputs on which liblouis never returns, a
// helper that crashes, and the calls after them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "api/error_codes.h"
#include "braille/kotari_bridge.h"
#include "braille/louis_bridge.h"
#include "braille/translator.h"
#include "braille/word_layout.h"
#include "device/catalog.h"
#include "log_capture.h"
#include "test_support.h"

using namespace velumi;

namespace {

constexpr int kTestDeadlineMs = 500;

// Ends the helper process `pid` abruptly, as a crash inside liblouis would
// (SIGKILL: a sanitizer's handler cannot turn it into an exit status). Only
// that process: never a group or all processes (kill with 0 or -1).
bool Crash(int pid) { return pid > 1 && ::kill(static_cast<pid_t>(pid), SIGKILL) == 0; }

class Isolation : public testing::Test {
protected:
    void SetUp() override {
        setenv("VELUMI_QUIET", "1", 1);
        SetLouisHelperPath(VELUMI_BUILD_DIR "/lib/velumi/velumi-louis-helper");
    }
    void TearDown() override {
        SetLouisDeadlineMs(kLouisDeadlineMs);
        unsetenv("VELUMI_QUIET");
    }
    static TranslationRequest German(int grade) {
        TranslationRequest r;
        r.language = GERMAN;
        r.settings.louisGrade = grade;
        r.width = 20;
        return r;
    }
    int Run(const std::u16string &text, const TranslationRequest &request, long *ms = nullptr) {
        const auto start = std::chrono::steady_clock::now();
        Translation t;
        const int r = TranslateText(text, request, t);
        const auto took = std::chrono::steady_clock::now() - start;
        if (ms) *ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count());
        last = t.cells;
        return r;
    }
    std::vector<uint8_t> last;
    LogCapture log;
};

TEST_F(Isolation, GermanInputsOnWhichLiblouisNeverReturnsFailWithinTheDeadline) {
    // de-g0.utb (grade 1 here), de-g2.ctb (contracted), and de-g1.ctb named directly.
    TranslationRequest g1 = German(1);
    g1.louisTables = "de-g1.ctb";
    g1.translator = TranslatorChoice::Louis;
    for (const TranslationRequest &request : {German(1), German(2), g1}) {
        for (const std::u16string &text :
            {std::u16string(u"a -b@"), std::u16string(u"n --msgid-bugs-address=EMAIL@")}) {
            log.Clear();
            long ms = 0;
            SetLouisDeadlineMs(kTestDeadlineMs);
            EXPECT_EQ(Run(text, request, &ms), NUBRA_ERROR_BRAILLE_NOT_TRANSLATE);
            EXPECT_LT(ms, 10 * kTestDeadlineMs) << "a runaway liblouis call is cut off";
            EXPECT_TRUE(
                log.Contains("[ERROR] NUBRA_ERROR_BRAILLE_NOT_TRANSLATE in Liblouis_BrailleTranslator() - "
                             "liblouis did not finish within 500 ms"));
            // The next call works, on a fresh helper (which compiles its tables again).
            SetLouisDeadlineMs(kLouisDeadlineMs);
            ASSERT_EQ(Run(u"Haus", request), 0);
            std::vector<uint8_t> expected;
            ASSERT_TRUE(test_support::LouisCells(request.louisTables.empty()
                                                     ? std::string(LouisTable(GERMAN, request.settings.louisGrade))
                                                     : request.louisTables,
                u"Haus", expected));
            expected.resize(20, 0);
            EXPECT_EQ(last, expected);
        }
    }
}

TEST_F(Isolation, TheHelperStaysBetweenCallsAndACrashIsSurvived) {
    ASSERT_EQ(Run(u"Haus", German(2)), 0);
    const int pid = LouisHelperPid();
    ASSERT_GT(pid, 0) << "liblouis runs in the helper process";
    ASSERT_EQ(Run(u"Maus", German(2)), 0);
    EXPECT_EQ(LouisHelperPid(), pid) << "one helper serves many calls";

    // A helper that dies while idle is replaced without a failed call.
    ASSERT_TRUE(Crash(pid));
    for (int i = 0; i < 1000 && LouisHelperPid() == pid; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Run(u"Haus", German(2)), 0);
    const int second = LouisHelperPid();
    ASSERT_GT(second, 0);
    EXPECT_NE(second, pid);

    // A helper that crashes during a call: the call fails at once, the next works.
    SetLouisDeadlineMs(20000);
    std::thread crasher([second] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Crash(second);
    });
    long ms = 0;
    EXPECT_EQ(Run(u"a -b@", German(2), &ms), NUBRA_ERROR_BRAILLE_NOT_TRANSLATE);
    crasher.join();
    EXPECT_LT(ms, 10000);
    EXPECT_TRUE(log.Contains("liblouis's process ended (signal 9)")) << "traced with the cause";
    EXPECT_EQ(Run(u"Haus", German(2)), 0);
}

TEST_F(Isolation, TranslationsAreThoseOfLiblouisInThisProcess) {
    ASSERT_EQ(InProcessLouisTranslator().Bind(), 0);
    for (int language : {FRENCH, GERMAN, ITALIAN, RUSSIAN, CZECH}) {
        TranslationRequest request;
        request.language = language;
        request.width = 32;
        const std::u16string text = u"Braille für alle: 12 élèves, 3 кошки.";
        Translation isolated, direct;
        ASSERT_EQ(TranslateText(text, request, isolated), 0) << language;
        ASSERT_EQ(InProcessLouisTranslator().Translate(text, request, direct), 0) << language;
        EXPECT_EQ(isolated.cells, LayOutWords(direct.cells, 32)) << language;
    }
}

TEST_F(Isolation, TheHelperHoldsNoneOfTheApplicationsFiles) {
    LouisTranslator().Unbind();  // the next call starts a fresh helper
    const int opened = ::open("/dev/null", O_RDONLY);
    const int fd = ::fcntl(opened, F_DUPFD, 20);  // not close-on-exec: children inherit it
    ::close(opened);
    ASSERT_GT(fd, 3);
    ASSERT_EQ(Run(u"Haus", German(2)), 0);
    const int pid = LouisHelperPid();
    ASSERT_GT(pid, 1);
    EXPECT_NE(::access(("/proc/" + std::to_string(pid) + "/fd/3").c_str(), F_OK), -1) << "its channel";
    EXPECT_EQ(::access(("/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd)).c_str(), F_OK), -1);
    ::close(fd);
}

TEST_F(Isolation, WithoutTheHelperProgramLiblouisRunsInThisProcess) {
    LouisTranslator().Unbind();
    SetLouisHelperPath("/nonexistent/velumi-louis-helper");
    EXPECT_EQ(Run(u"Haus", German(2)), 0);
    EXPECT_TRUE(log.Contains("[CAUTION] Liblouis_BrailleTranslator() liblouis runs in this process"));
    EXPECT_EQ(LouisHelperPid(), -1);
    LouisTranslator().Unbind();
}

}  // namespace
