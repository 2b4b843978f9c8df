// The velumi-padsim program: argument errors, help, and serving through a port
// link until SIGTERM, after which the link is gone.
#include "pty_client.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using padsim_test::Bytes;
using padsim_test::PtyClient;

const std::string kProgram = std::string(VELUMI_BUILD_DIR) + "/tools/padsim/velumi-padsim";

struct Child {
    pid_t pid = -1;
    int out = -1;  // read ends of stdout and stderr
    int err = -1;
};

Child Spawn(const std::vector<std::string> &args) {
    Child c;
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) return c;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(kProgram.c_str()));
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&c.pid, kProgram.c_str(), &actions, nullptr, argv.data(), environ) != 0) c.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    c.out = outPipe[0];
    c.err = errPipe[0];
    return c;
}

std::string Drain(int fd) {
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    close(fd);
    return text;
}

int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct Result {
    int status;
    std::string out, err;
};

Result RunProgram(const std::vector<std::string> &args) {
    Child c = Spawn(args);
    Result r;
    r.out = Drain(c.out);
    r.err = Drain(c.err);
    r.status = Wait(c.pid);
    return r;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        struct stat st;
        if (stat(kProgram.c_str(), &st) != 0) GTEST_SKIP() << kProgram << " not built";
    }
};

TEST_F(ProgramTest, BadArgumentsGiveOneErrorLineAndStatus2) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--com"},
        {"--com", "x"},
        {"--hardware", "256"},
        {"--model", "NOPE"},
        {"--name", "ELEVEN-CHAR"},
        {"--port-dir", "/tmp"},
        {"--reject-line", "1:0"},
        {"--show=1"},
        {"--pace=abc"},
        {"--notice-code", "0x0203"},
        {"--delay", "-5"},
    };
    for (const auto &args : bad) {
        const Result r = RunProgram(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_TRUE(r.out.empty()) << args[0];
        ASSERT_FALSE(r.err.empty()) << args[0];
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(r.err.rfind("velumi-padsim: ", 0), 0u) << r.err;
    }
}

TEST_F(ProgramTest, HelpExplainsEveryOption) {
    const Result r = RunProgram({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char *option : {"--model", "--name", "--firmware", "--hardware", "--lines", "--cells",
             "--braille-cells", "--notice-code", "--notice-delay", "--com", "--port-dir", "--show", "--quiet",
             "--never-answer", "--drop-answer", "--corrupt-checksum", "--reject-line", "--omit-line-notice",
             "--garbage", "--one-byte-at-a-time", "--delay", "--pace"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST_F(ProgramTest, ServesThroughThePortLinkUntilTerminated) {
    char tmpl[] = "/tmp/padsim-program-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string link = dir + "/com7";
    Child c = Spawn({"--model", "wren", "--name", "WREN-7", "--port-dir", dir, "--com", "7", "--show"});
    ASSERT_GT(c.pid, 0);

    struct stat st;
    for (int i = 0; i < 200 && lstat(link.c_str(), &st) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    {
        PtyClient client(link);
        ASSERT_TRUE(client.ok());
        ASSERT_TRUE(client.Write({0xAA, 0x55, 0x00, 0x05, 0x00, 0x01, 0x00, 0x00, 0xA4}));
        EXPECT_EQ(client.Read(19, 2000), (Bytes{0xAA, 0x55, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 'W', 'R', 'E', 'N',
                                             '-', '7', 0x00, 0x00, 0x00, 0x00, 0xB1}));
        // Graphic line 7 of a WREN: 20 cells.
        Bytes line{0xAA, 0x55, 0x00, 26, 0x07, 0x02, 0x00, 0x00, 0x00};
        line.insert(line.end(), 20, 0x01);
        uint8_t sum = 0xA5;
        for (size_t i = 4; i < line.size(); ++i) sum ^= line[i];
        line.push_back(sum);
        ASSERT_TRUE(client.Write(line));
        EXPECT_EQ(client.Read(19, 2000).size(), 19u);
    }
    ASSERT_EQ(kill(c.pid, SIGTERM), 0);
    EXPECT_EQ(Wait(c.pid), 0);
    const std::string out = Drain(c.out);
    EXPECT_NE(out.find("\"WREN-7\", 7 graphic lines of 20 cells"), std::string::npos) << out;
    EXPECT_NE(out.find("graphic line 7 shown:"), std::string::npos) << out;
    std::string row7;
    for (int i = 0; i < 20; ++i) row7 += "\u2801";
    EXPECT_NE(out.find(row7 + "\n"), std::string::npos) << out;
    EXPECT_EQ(Drain(c.err), "");
    EXPECT_NE(lstat(link.c_str(), &st), 0);  // the link is removed on exit
    rmdir(dir.c_str());
}

}  // namespace
