// Where the trace goes and how its file is opened, against what another local
// user may plant: links, pipes, hard links, shared or foreign folders, and
// system program folders.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <thread>

#include "Log/nubra_log.h"
#include "Log/nubra_trace.h"
#include "platform/files.h"
#include "process_state.h"

namespace fs = std::filesystem;
using namespace velumi;

using test_support::FileText;
using test_support::Today;

namespace {

mode_t ModeOf(const fs::path &path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Environment variables set for one test and restored after it.
class EnvGuard {
public:
    void Set(const char *name, const char *value) {
        if (!saved_.count(name)) {
            const char *old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~EnvGuard() {
        for (const auto &[name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

class TraceFolder : public testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/velumi-trace-folder-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override {
        CNubraTrace::Instance().Enable(false);
        for (const auto &e : fs::recursive_directory_iterator(dir_))
            if (e.is_fifo()) {
                const int fd = ::open(e.path().c_str(), O_RDWR | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(TraceFolder, TheDailyFileIsNeverALinkPipeOrSecondName) {
    const fs::path folder = dir_ / "log";
    ASSERT_TRUE(platform::EnsurePrivateFolder(folder));
    const fs::path daily = folder / (Today() + ".txt");
    std::ofstream(dir_ / "victim") << "victim";
    CNubraTrace trace;
    trace.SetFolder(folder.string() + "/");
    trace.Enable(true);

    fs::create_symlink(dir_ / "victim", daily);
    trace.WriteLine("through a link");
    EXPECT_EQ(FileText(dir_ / "victim"), "victim");
    fs::remove(daily);

    fs::create_hard_link(dir_ / "victim", daily);
    trace.WriteLine("through a hard link");
    EXPECT_EQ(FileText(dir_ / "victim"), "victim");
    fs::remove(daily);

    // A pipe that nobody reads: the record is dropped at once, not waited on.
    ASSERT_EQ(mkfifo(daily.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    trace.WriteLine("into a pipe");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    // ... and one that somebody reads gets nothing either.
    const int reader = ::open(daily.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    trace.WriteLine("into a read pipe");
    char byte;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);
    fs::remove(daily);

    fs::create_directory(daily);
    trace.WriteLine("into a folder");
    fs::remove(daily);

    trace.WriteLine("into the file");
    EXPECT_TRUE(fs::is_regular_file(daily));
    EXPECT_EQ(ModeOf(daily), 0600u);
}

// VELUMI_LOG_DIR as the user gives it: odd names work, and a pipe, a file
// or a device in its place holds up nothing.
TEST_F(TraceFolder, TheNamedFolderMayBeOddButNeverHangs) {
    EnvGuard env;
    const fs::path odd = dir_ / "log é\n点 x";
    env.Set("VELUMI_LOG_DIR", odd.c_str());
    TraceStart();
    NubraLog("[OK] odd folder");
    EXPECT_TRUE(fs::is_regular_file(odd / (Today() + ".txt")));

    ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    std::ofstream(dir_ / "file") << "file";
    for (const fs::path &bad : {dir_ / "pipe", dir_ / "file", fs::path("/dev/null")}) {
        env.Set("VELUMI_LOG_DIR", bad.c_str());
        const auto start = std::chrono::steady_clock::now();
        TraceStart();
        NubraLog("[OK] nowhere");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << bad;
    }
    EXPECT_EQ(FileText(dir_ / "file"), "file");
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe"));
}

TEST_F(TraceFolder, PrivateFoldersAreCheckedAndMadePrivate) {
    const fs::path made = dir_ / "new";
    ASSERT_TRUE(platform::EnsurePrivateFolder(made));
    EXPECT_EQ(ModeOf(made), 0700u);

    fs::create_directory(dir_ / "open");
    ::chmod((dir_ / "open").c_str(), 0777);
    ASSERT_TRUE(platform::EnsurePrivateFolder(dir_ / "open")) << "a folder of ours is made private";
    EXPECT_EQ(ModeOf(dir_ / "open"), 0700u);

    fs::create_symlink(made, dir_ / "link");
    EXPECT_FALSE(platform::EnsurePrivateFolder(dir_ / "link")) << "never through a link";
    std::ofstream(dir_ / "file") << "x";
    EXPECT_FALSE(platform::EnsurePrivateFolder(dir_ / "file"));
    EXPECT_FALSE(platform::EnsurePrivateFolder(dir_ / "no" / "parent"));
    if (::geteuid() == 0) {
        fs::create_directory(dir_ / "theirs");
        ASSERT_EQ(::chown((dir_ / "theirs").c_str(), 65534, 65534), 0);
        EXPECT_FALSE(platform::EnsurePrivateFolder(dir_ / "theirs")) << "another user's folder";
    }

    CNubraTrace trace;
    EXPECT_FALSE(trace.SetPrivateFolder((dir_ / "link").string() + "/"));
    EXPECT_EQ(trace.Folder(), "");
    EXPECT_TRUE(trace.SetPrivateFolder((dir_ / "open").string() + "/"));
}

TEST_F(TraceFolder, SystemProgramFoldersAreNeverUsed) {
    for (const char *system :
        {"/usr/bin", "/bin", "/sbin", "/usr/local/bin", "/lib", "/lib64", "/opt/app", "/etc", "/", "/usr/bin/../lib"})
        EXPECT_TRUE(platform::IsSystemFolder(system)) << system;
    for (const char *mine : {"/home/me/app", "/tmp", "/srv/app", "/usrx", "/work/build/tests"})
        EXPECT_FALSE(platform::IsSystemFolder(mine)) << mine;
    fs::create_directory_symlink("/usr/bin", dir_ / "bin");
    EXPECT_TRUE(platform::IsSystemFolder((dir_ / "bin").string())) << "judged by the real folder";

    EnvGuard env;
    env.Set("VELUMI_LOG_DIR", nullptr);
    env.Set("XDG_STATE_HOME", nullptr);
    env.Set("HOME", dir_.c_str());
    TraceStartBeside("/usr/bin");
    EXPECT_EQ(CNubraTrace::Instance().Folder(), dir_.string() + "/.local/state/velumi/log/");
    EXPECT_FALSE(fs::exists("/usr/bin/_VelumiLog"));
    EXPECT_EQ(ModeOf(dir_ / ".local/state/velumi/log"), 0700u);
}

TEST_F(TraceFolder, TheTemporaryFallbackIsPrivateToTheUser) {
    EnvGuard env;
    env.Set("VELUMI_LOG_DIR", nullptr);
    env.Set("XDG_STATE_HOME", nullptr);
    env.Set("HOME", nullptr);
    env.Set("TMPDIR", dir_.c_str());
    const fs::path expected = dir_ / ("velumi-log-" + std::to_string(::geteuid()));
    TraceStartBeside("/usr/lib");
    EXPECT_EQ(CNubraTrace::Instance().Folder(), expected.string() + "/");
    EXPECT_EQ(ModeOf(expected), 0700u);
    NubraLog("[OK] fallback");
    EXPECT_TRUE(fs::is_regular_file(expected / (Today() + ".txt")));

    // Planted by someone else beforehand: a link to their folder, or a folder
    // that is not ours. The trace file is then not written at all.
    fs::remove_all(expected);
    fs::create_directory(dir_ / "attacker");
    fs::create_directory_symlink(dir_ / "attacker", expected);
    TraceStartBeside("/usr/lib");
    EXPECT_EQ(CNubraTrace::Instance().Folder(), "");
    NubraLog("[OK] nowhere");
    EXPECT_TRUE(fs::is_empty(dir_ / "attacker"));
    if (::geteuid() == 0) {
        fs::remove(expected);
        fs::create_directory(expected);
        ASSERT_EQ(::chown(expected.c_str(), 65534, 65534), 0);
        TraceStartBeside("/usr/lib");
        EXPECT_EQ(CNubraTrace::Instance().Folder(), "");
    }

    // Beside an executable in a folder of the user's: _VelumiLog/, private.
    fs::create_directory(dir_ / "app");
    TraceStartBeside((dir_ / "app").string());
    EXPECT_EQ(CNubraTrace::Instance().Folder(), (dir_ / "app/_VelumiLog/").string());
    EXPECT_EQ(ModeOf(dir_ / "app/_VelumiLog"), 0700u);
}

}  // namespace
