// The braille line: translation through the engine or liblouis, braille ASCII,
// paging by the pad's keys and by VELUMI_SEND_KEY.
#include <dlfcn.h>
#include <liblouis.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "braille/louis_bridge.h"
#include "device/velumi.h"
#include "pad_fixture.h"
#include "test_support.h"

namespace {

struct Braille : PadTest {
    explicit Braille(const char *name = "LINNET") : PadTest(name) {}
    int ShowText(const std::u16string &text, int language) {
        const int before = DisplayCallbacks();
        int r = VELUMI_BRAILLE_DISPLAY(text.c_str(), language);
        if (r == 0) WaitUntil([&] { return DisplayCallbacks() > before; });
        WaitIdle();
        return r;
    }
    int Key(int key) {
        log.Clear();
        const int before = DisplayCallbacks();
        int r = VELUMI_SEND_KEY(key);
        if (r == 0) WaitUntil([&] { return DisplayCallbacks() > before || log.Contains("Invalid position"); });
        WaitIdle();
        return r;
    }
};
struct Oriel : Braille {
    Oriel() : Braille("ORIEL") {}
};
struct Tarn : Braille {
    Tarn() : Braille("TARN") {}
};

std::vector<uint8_t> Engine(const std::u16string &text, int language, int width, int grade = 1) {
    return test_support::EngineCells(text, language, width, grade);
}

std::vector<uint8_t> Louis(const std::string &table, const std::u16string &text) {
    return test_support::LouisCellsOrFail(table, text);
}

TEST_F(Braille, BrailleAsciiShowsItsCellsAndPadsTheLine) {
    ASSERT_EQ(Init(2), 0);
    const int before = DisplayCallbacks();
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("abc"), 0);
    ASSERT_TRUE(WaitUntil([&] { return DisplayCallbacks() > before; }));
    std::vector<uint8_t> expected(20, 0);
    expected[0] = 0x01;
    expected[1] = 0x03;
    expected[2] = 0x09;
    EXPECT_EQ(pad->BrailleLine(), expected);
    WaitIdle();
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("=_ \x80"), 0);
    WaitIdle();
    EXPECT_EQ(pad->BrailleLine()[0], 0x3F);
    EXPECT_EQ(pad->BrailleLine()[1], 0x38);
    EXPECT_EQ(pad->BrailleLine()[3], 0x00) << "a character outside the table is blank";
}

TEST_F(Oriel, NoBrailleLineIsRefused) {
    ASSERT_EQ(Init(1), 0);
    EXPECT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("abc"), VELUMI_ERROR_NO_BRAILLE_LINE);
    EXPECT_EQ(VELUMI_BRAILLE_DISPLAY(u"abc", ENGLISH), VELUMI_ERROR_NO_BRAILLE_LINE);
    EXPECT_EQ(VELUMI_BRAILLE_DISPLAY(u"abc", FRENCH), VELUMI_ERROR_NO_BRAILLE_LINE);
}

TEST_F(Braille, LiblouisLanguagesShowExactlyLiblouissCells) {
    ASSERT_EQ(Init(2), 0);
    testing::internal::CaptureStdout();
    const int r = ShowText(u"Hello world", DUTCH);
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(r, 0);
    EXPECT_NE(out.find("LIBLOUIS\n"), std::string::npos);
    EXPECT_NE(out.find("unicode.dis,en-us-g1.ctb\n"), std::string::npos);
    auto cells = Louis("en-us-g1.ctb", u"Hello world");
    cells.resize(20, 0);
    EXPECT_EQ(pad->BrailleLine(), cells);
}

TEST_F(Tarn, EngineLanguagesGoThroughTheEngineWithTheModelsWidth) {
    ASSERT_EQ(Init(3), 0);  // TARN: 32 braille cells
    testing::internal::CaptureStdout();
    const int r = ShowText(u"abc def", ENGLISH);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("NUBRA\n"), std::string::npos);
    ASSERT_EQ(r, 0);
    auto cells = Engine(u"abc def", ENGLISH, 32);
    ASSERT_EQ(cells.size(), 32u) << "the engine wraps for the selected model's 32 cells";
    EXPECT_EQ(pad->BrailleLine(), cells);
    EXPECT_EQ(velumi::KotariOptions().lineCells, 32);
}

TEST_F(Braille, SetBrailleLanguageReachesTheEnginesOptionSlot) {
    ASSERT_EQ(Init(2), 0);
    EXPECT_EQ(VELUMI_SET_BRAILLE_LANGUAGE(ENGLISH, 2), 0);
    EXPECT_EQ(velumi::KotariOptions().englishGrade, 2);
    EXPECT_EQ(velumi::LouisGrade(), 2);
    ASSERT_EQ(ShowText(u"the", ENGLISH), 0);
    auto g2 = Engine(u"the", ENGLISH, 20, 2);
    EXPECT_EQ(pad->BrailleLine(), g2);
    EXPECT_EQ(VELUMI_SET_BRAILLE_LANGUAGE(FRENCH, 2), 0);
    EXPECT_EQ(velumi::KotariOptions().frenchGrade, 2);
    EXPECT_EQ(velumi::KotariOptions().englishGrade, 2) << "other slots keep their values";
}

TEST_F(Braille, JapaneseShowsKanaBrailleFromTheEngine) {
    ASSERT_EQ(Init(2), 0);
    const std::u16string text = u"東京へ行きます。";
    ASSERT_EQ(ShowText(text, JAPANESE), 0);
    const auto cells = Engine(text, JAPANESE, 20);
    ASSERT_EQ(cells.size(), 20u);
    EXPECT_EQ(test_support::Hex(pad->BrailleLine()), test_support::Hex(cells));
    EXPECT_EQ(pad->BrailleLine()[0], 0x1E) << "ト";
    EXPECT_EQ(pad->BrailleLine()[1], 0x12) << "ー";
}

TEST_F(Braille, PagingByKeysWithinTheTranslatedCells) {
    ASSERT_EQ(Init(2), 0);
    // 30 characters of braille ASCII: two lines of 20.
    ASSERT_EQ(VELUMI_BRAILLE_ASCII_DISPLAY("abcdefghijklmnopqrstuvwxyzabcd"), 0);
    WaitIdle();
    EXPECT_EQ(VELUMI_SEND_KEY(0x6), VELUMI_ERROR_COM_INVALID_DATA);
    EXPECT_EQ(VELUMI_SEND_KEY(0), VELUMI_ERROR_COM_INVALID_DATA);
    ASSERT_EQ(Key(0x2), 0);
    EXPECT_EQ(pad->BrailleLine()[0], 0x25) << "the second line starts with u";
    ASSERT_EQ(Key(0x2), 0);
    EXPECT_TRUE(log.Contains("[ERROR] NEXT_KEY - Invalid position"));
    EXPECT_EQ(pad->BrailleLine()[0], 0x25);
    ASSERT_EQ(Key(0x5), 0);
    EXPECT_EQ(pad->BrailleLine()[0], 0x01);

    // The pad's own page key.
    const int before = DisplayCallbacks();
    pad->SendPageKey(0x08);
    ASSERT_TRUE(WaitUntil([&] { return DisplayCallbacks() > before; }));
    WaitIdle();
    EXPECT_EQ(pad->BrailleLine()[0], 0x25);

    // Paging still works after a picture replaced the current job.
    std::vector<unsigned char> picture(300, 0x11);
    ASSERT_EQ(VELUMI_DISPLAY_DATA(picture.data(), 300, 0), 0);
    WaitIdle();
    ASSERT_EQ(Key(0x1), 0);
    EXPECT_EQ(pad->BrailleLine()[0], 0x01);
}

TEST_F(Braille, SendKeyBeforeAnyBrailleDisplayIsRefused) {
    VELUMI_REGISTER_DISPLAY_CALLBACK(nullptr);
    EXPECT_EQ(VELUMI_SEND_KEY(0x2), VELUMI_ERROR_BRAILLE_NOT_TRANSLATE);
}

TEST_F(Braille, WithoutLiblouisInitSucceedsAndOnlyLiblouisLanguagesFail) {
    velumi::SetLouisLibraryName("liblouis-missing.so.20");
    ASSERT_EQ(Init(2), 0);
    EXPECT_EQ(VELUMI_BRAILLE_DISPLAY(u"bonjour", FRENCH), VELUMI_ERROR_TRANSLATOR_NOT_LOADED);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_LIBLOUIS_DLL_COULD_NOT_LOAD in Liblouis_BrailleTranslator()"));
    EXPECT_EQ(ShowText(u"abc", ENGLISH), 0);
    velumi::SetLouisLibraryName("liblouis.so.20");
}

TEST_F(Braille, FailedLiblouisTranslationReturns64) {
    ASSERT_EQ(Init(2), 0);
    // Thai: the table is missing from this liblouis.
    EXPECT_EQ(VELUMI_BRAILLE_DISPLAY(u"\u0E01", 24), VELUMI_ERROR_BRAILLE_NOT_TRANSLATE);
    EXPECT_TRUE(log.Contains("[ERROR] CVelumi::BrailleDisplay() failed - 0x40"));
    // An unpaired surrogate is passed on as U+FFFD, never as broken UTF-8.
    const char16_t broken[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(ShowText(broken, DUTCH), 0);
}

// The copy of the SDK is loaded in a child process: the test process keeps one
// SDK, and the leak checker at its exit never walks the copy's thread storage.
TEST(EngineSearch, TheSdkFindsTheEngineBesideItself) {
    namespace fs = std::filesystem;
    char tmpl[] = "/tmp/velumi-copy-XXXXXX";
    const fs::path dir = mkdtemp(tmpl);
    fs::copy_file(VELUMI_BUILD_DIR "/lib/libVelumiSDK.so", dir / "libVelumiSDK.so");
    // Child exit codes: 0 both results as expected, 1 no SDK, 2 alone, 3 with the engine.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        void *sdk = dlopen((dir / "libVelumiSDK.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!sdk) _exit(1);
        auto init = reinterpret_cast<int (*)(int, int)>(dlsym(sdk, "VELUMI_INIT_WITH_DEVICE_TYPE"));
        setenv("VELUMI_PORT_DIR", dir.c_str(), 1);
        if (init(5, 3) != VELUMI_ERROR_ENGINE_LOAD_FAIL) _exit(2);  // alone, the SDK finds no engine
        fs::copy_file(VELUMI_BUILD_DIR "/lib/libKotariEngine.so", dir / "libKotariEngine.so");
        if (init(5, 3) != VELUMI_ERROR_COM_OPEN_FAIL) _exit(3);  // with the engine beside it, init goes on to the port
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    fs::remove_all(dir);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 1) << "the copied SDK loads";
    EXPECT_NE(WEXITSTATUS(status), 2) << "alone, the SDK finds no engine";
    EXPECT_NE(WEXITSTATUS(status), 3) << "with the engine beside it, init goes on to the port";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
