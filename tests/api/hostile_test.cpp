// Hostile input at the API: graphics files that are pipes, links, devices,
// folders, sparse or oddly named; port numbers out of range; braille ASCII of
// any length; empty texts through either translator.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "RS232/rs_232.h"
#include "device/velumi.h"
#include "pad_fixture.h"
#include "platform/shared_lock.h"

namespace fs = std::filesystem;

namespace {

struct Hostile : PadTest {
    Hostile() : PadTest("TARN") {}
    int Wait(int r) {
        WaitIdle();
        return r;
    }
    std::string Tgx(const std::string &name, unsigned char fill) {
        const std::string path = dir + "/" + name;
        std::string bytes = "_tgx_";
        bytes += static_cast<char>(20);
        bytes += static_cast<char>(40);
        bytes.resize(30, '\0');
        bytes += std::string(800, static_cast<char>(fill));
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

// Shows `path` with a watchdog that releases a caller blocked on the pipe
// `fifo` after 5 s (and fails the test).
int DisplayGuarded(const std::string &path, const std::string &fifo) {
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (done) return;
        ADD_FAILURE() << "VELUMI_DISPLAY blocked on " << path;
        while (!done) {
            const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const int r = VELUMI_DISPLAY(path.c_str());
    done = true;
    watchdog.join();
    return r;
}

TEST_F(Hostile, GraphicsFilesOfEveryKind) {
    ASSERT_EQ(Init(3), 0);
    const std::string fifo = dir + "/pipe.tgx";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, dir + "/link to pipe.tgx");
    fs::create_symlink(dir + "/absent.tgx", dir + "/dangling.tgx");
    fs::create_directory(dir + "/folder.tgx");
    {
        // 1 TiB, sparse, with a good header: only the picture's bytes are read.
        const std::string good = Tgx("sparse.tgx", 0x11);
        ASSERT_EQ(::truncate(good.c_str(), off_t(1) << 40), 0);
    }
    for (const std::string &bad : {fifo, dir + "/link to pipe.tgx", dir + "/dangling.tgx", dir + "/folder.tgx",
             std::string("/dev/zero"), std::string("/dev/null"), dir + "/"}) {
        SCOPED_TRACE(bad);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(DisplayGuarded(bad, fifo), VELUMI_ERROR_INVALID_DISPLAY_FILE);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    unsigned char fill = 0x20;
    for (const std::string &name : {std::string("sparse.tgx"), std::string("with spaces.tgx"),
             std::string("new\nline.tgx"), std::string("点字 é.tgx")}) {
        SCOPED_TRACE(name);
        const std::string path = name == "sparse.tgx" ? dir + "/" + name : Tgx(name, ++fill);
        ASSERT_EQ(Wait(VELUMI_DISPLAY(path.c_str())), 0);
        EXPECT_EQ(pad->GraphicLine(20), std::vector<uint8_t>(40, name == "sparse.tgx" ? 0x11 : fill));
    }
    // A link to a file we may not read (or, as root, that is no picture).
    fs::create_symlink("/etc/shadow", dir + "/shadow.tgx");
    EXPECT_EQ(VELUMI_DISPLAY((dir + "/shadow.tgx").c_str()), VELUMI_ERROR_INVALID_DISPLAY_FILE);
    fs::create_symlink(Tgx("target.tgx", 0x3C), dir + "/link.tgx");
    ASSERT_EQ(Wait(VELUMI_DISPLAY((dir + "/link.tgx").c_str())), 0);
    EXPECT_EQ(pad->GraphicLine(1), std::vector<uint8_t>(40, 0x3C));
}

TEST(Ports, NumbersOutOfRangeAreRefusedBeforeAnythingIsOpened) {
    velumi::platform::SetTimeScale(10);
    char tmpl[] = "/tmp/velumi-ports-cwd-XXXXXX";
    const fs::path cwd = mkdtemp(tmpl);
    const fs::path old = fs::current_path();
    fs::current_path(cwd);
    setenv("VELUMI_LOG_DIR", (cwd / "log").c_str(), 1);
    unsetenv("VELUMI_PORT_DIR");
    velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
    {
        LogCapture log;
        for (int port : {0, -1, 256, 1000, INT_MIN, INT_MAX}) {
            EXPECT_EQ(VELUMI_INIT(port), VELUMI_ERROR_COM_OPEN_FAIL) << port;
            EXPECT_EQ(VELUMI_INIT_WITH_DEVICE_TYPE(port, VELUMI_TARN), VELUMI_ERROR_COM_OPEN_FAIL) << port;
        }
        EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_COM_OPEN_FAIL in CVelumi::Init() - port -1 is not 1-255"));
        EXPECT_FALSE(log.Contains("COMInit")) << "the port was never opened";
        EXPECT_FALSE(log.Contains("LoadKotariLibrary")) << "nor the translators";
    }
    EXPECT_EQ(VELUMI_DEINIT(), VELUMI_ERROR_NOT_INIT);
    EXPECT_TRUE(fs::is_empty(cwd)) << "no file named after a port";
    for (const char *name : {"\\\\.\\COM0", "\\\\.\\COM-1", "\\\\.\\COM256", "\\\\.\\COM", "\\\\.\\COM1x"})
        EXPECT_EQ(velumi::ResolvePortName(name), "") << name;
    EXPECT_EQ(velumi::ResolvePortName("\\\\.\\COM255"), "/dev/ttyS254");
    fs::current_path(old);
    unsetenv("VELUMI_LOG_DIR");
    fs::remove_all(cwd);
    velumi::platform::SetTimeScale(1);
}

// What $VELUMI_PORT_DIR/comN may be instead of a terminal: each is refused
// with 16 at once, nothing written to it; a folder with odd characters works.
TEST(Ports, PortPathsThatAreNotTerminalsAreRefused) {
    velumi::platform::SetTimeScale(10);
    char tmpl[] = "/tmp/velumi-port-kinds-XXXXXX";
    const fs::path root = mkdtemp(tmpl);
    setenv("VELUMI_LOG_DIR", (root / "log").c_str(), 1);
    setenv("VELUMI_PORT_DIR", root.c_str(), 1);
    velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
    ASSERT_EQ(mkfifo((root / "com1").c_str(), 0600), 0);
    std::ofstream(root / "file") << "keep";
    fs::create_symlink(root / "file", root / "com2");
    fs::create_directory(root / "com3");
    fs::create_symlink("/dev/null", root / "com4");
    fs::create_symlink(root / "absent", root / "com5");
    for (int port = 1; port <= 6; ++port) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(VELUMI_INIT_WITH_DEVICE_TYPE(port, VELUMI_TARN), VELUMI_ERROR_COM_OPEN_FAIL) << port;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << port;
    }
    std::ifstream f(root / "file");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), "keep");
    EXPECT_TRUE(fs::is_fifo(root / "com1"));

    // A port folder whose name has blanks, a newline and non-ASCII letters.
    const fs::path odd = root / "ports é\n点";
    fs::create_directory(odd);
    padsim::Options o;
    o.deviceName = "TARN";
    padsim::SimulatedPad pad(o);
    ASSERT_TRUE(pad.Start());
    ASSERT_TRUE(pad.LinkAs(odd.string(), 9));
    setenv("VELUMI_PORT_DIR", odd.c_str(), 1);
    EXPECT_EQ(VELUMI_INIT_WITH_DEVICE_TYPE(9, VELUMI_TARN), 0);
    WaitUntil([] { return !velumi::CCOM::Instance().IsDisplayBusy(); });
    EXPECT_EQ(VELUMI_DEINIT(), 0);
    pad.Stop();
    unsetenv("VELUMI_PORT_DIR");
    unsetenv("VELUMI_LOG_DIR");
    fs::remove_all(root);
    velumi::platform::SetTimeScale(1);
}

TEST_F(Hostile, BrailleAsciiIsCappedAndReleasedAtDeInit) {
    ASSERT_EQ(Init(3), 0);
    const std::string huge(10000000, 'a');
    ASSERT_EQ(Wait(VELUMI_BRAILLE_ASCII_DISPLAY(huge.c_str())), 0);
    EXPECT_EQ(pad->BrailleLine(), std::vector<uint8_t>(32, 0x01));
    {
        velumi::platform::SharedLockGuard lock;
        const auto &saved = velumi::Library().savedBraille;
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->cellCount, (velumi::kJobCellsSize / 32) * 32) << "whole lines, as translated text";
        EXPECT_LE(saved->asciiCells.capacity(), static_cast<size_t>(velumi::kJobCellsSize + 1));
    }
    EXPECT_TRUE(log.Contains("text cut to 6144 characters"));
    ASSERT_EQ(VELUMI_DEINIT(), 0);
    velumi::platform::SharedLockGuard lock;
    EXPECT_FALSE(velumi::Library().savedBraille) << "the copy is given back at de-init";
}

TEST_F(Hostile, AnEmptyTextClearsTheLineThroughEitherTranslator) {
    ASSERT_EQ(Init(3), 0);
    for (int language : {DUTCH, ENGLISH, FRENCH, KOREAN}) {
        SCOPED_TRACE(language);
        const std::u16string text = u"Hello";
        ASSERT_EQ(Wait(VELUMI_BRAILLE_DISPLAY(text.c_str(), language)), 0);
        ASSERT_NE(pad->BrailleLine(), std::vector<uint8_t>(32, 0));
        const char16_t empty[] = u"";
        EXPECT_EQ(Wait(VELUMI_BRAILLE_DISPLAY(empty, language)), 0);
        EXPECT_EQ(pad->BrailleLine(), std::vector<uint8_t>(32, 0));
    }
}

}  // namespace
