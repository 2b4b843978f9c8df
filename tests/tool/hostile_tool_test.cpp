// The tool against hostile and careless file names: pipes, links, devices,
// folders, sparse files, odd names; image2tgx's output handling; NUL bytes in
// text.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image.h"
#include "process_state.h"
#include "tool_runner.h"

namespace fs = std::filesystem;
using test_support::FileText;

namespace {

class HostileTool : public testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/velumi-hostile-tool-XXXXXX";
        dir = mkdtemp(tmpl);
        env = {{"VELUMI_LOG_DIR", dir + "/log"}, {"VELUMI_PORT_DIR", ""}};
        velumi_tool::Image im;
        im.width = im.height = 8;
        im.rgba.assign(8 * 8 * 4, 0);
        for (size_t i = 3; i < im.rgba.size(); i += 4) im.rgba[i] = 255;
        std::string error;
        ASSERT_TRUE(velumi_tool::WritePng(dir + "/in.png", im, error)) << error;
        png = FileText(dir + "/in.png");
    }
    void TearDown() override {
        for (const auto &e : fs::directory_iterator(dir))
            if (e.is_fifo()) {  // release a tool still blocked on a pipe
                const int fd = ::open(e.path().c_str(), O_RDWR | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
        fs::remove_all(dir);
    }
    // Runs the tool; it must end within 5 s.
    ToolResult Run(const std::vector<std::string> &args, const std::string &input = "") {
        const auto start = std::chrono::steady_clock::now();
        ToolProcess p(args, env);
        p.Write(input);
        ToolResult r = p.Finish(5000);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << args[0] << " blocked";
        return r;
    }
    void ExpectFailure(const ToolResult &r, const std::string &what) {
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_NE(r.err.find(what), std::string::npos) << r.err;
    }
    // Names in the folder that the tool left behind (temporary files).
    std::vector<std::string> Leftovers() {
        std::vector<std::string> out;
        for (const auto &e : fs::directory_iterator(dir))
            if (e.path().filename().string().rfind(".velumi-", 0) == 0) out.push_back(e.path().string());
        return out;
    }

    std::string dir, png;
    std::map<std::string, std::string> env;
};

TEST_F(HostileTool, ShowImageReadsOnlyRegularFiles) {
    const std::string fifo = dir + "/pipe.tgx";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, dir + "/link to pipe.tgx");
    fs::create_directory(dir + "/folder.tgx");
    {
        const int fd = ::open((dir + "/sparse.png").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t(1) << 40), 0);
        ::close(fd);
    }
    ExpectFailure(Run({"show-image", fifo}), "is not a regular file");
    ExpectFailure(Run({"show-image", dir + "/link to pipe.tgx"}), "is not a regular file");
    ExpectFailure(Run({"show-image", dir + "/folder.tgx"}), "is a folder");
    ExpectFailure(Run({"show-image", "/dev/zero"}), "is not a regular file");
    ExpectFailure(Run({"show-image", "/dev/null"}), "is not a regular file");
    ExpectFailure(Run({"show-image", dir + "/sparse.png"}), "not a _tgx_ graphics file");
    {
        // A sparse file of 1 TiB that starts as a PNG: refused by its size, unread.
        std::fstream f(dir + "/sparse.png", std::ios::in | std::ios::out | std::ios::binary);
        f.write(png.data(), 8);
    }
    ExpectFailure(Run({"image2tgx", dir + "/sparse.png", dir + "/out.tgx"}), "is too large");
    ExpectFailure(Run({"show-image", dir + "/sparse.png"}), "is too large");
    ExpectFailure(Run({"image2tgx", fifo, dir + "/out.tgx"}), "is not a regular file");

    // Odd but regular names work, also through a link.
    for (const std::string name : {"with spaces.tgx", "new\nline.tgx", "点字 é.tgx"}) {
        ASSERT_EQ(Run({"image2tgx", dir + "/in.png", dir + "/" + name}).status, 0) << name;
        const auto r = Run({"show-image", dir + "/" + name});
        EXPECT_EQ(r.status, 0) << name << r.err;
    }
    fs::create_symlink(dir + "/with spaces.tgx", dir + "/link.tgx");
    EXPECT_EQ(Run({"show-image", dir + "/link.tgx"}).status, 0);
    EXPECT_EQ(Run({"show-image", dir + "/in.png"}).status, 0);
}

TEST_F(HostileTool, Image2TgxNeverHarmsWhatItMayNotTouch) {
    const std::string in = dir + "/in.png";
    // The input under its own name, another spelling of it, and a hard link to it.
    fs::create_hard_link(in, dir + "/hard.tgx");
    for (const std::string &out : {in, dir + "/./in.png", dir + "/hard.tgx"}) {
        ExpectFailure(Run({"image2tgx", in, out}), "is the input file");
        EXPECT_EQ(FileText(in), png) << out;
    }
    // A link to a file of someone else's: refused, the target untouched.
    std::ofstream(dir + "/victim") << "keep me";
    fs::create_symlink(dir + "/victim", dir + "/link.tgx");
    ExpectFailure(Run({"image2tgx", in, dir + "/link.tgx"}), "is a link");
    EXPECT_EQ(FileText(dir + "/victim"), "keep me");
    EXPECT_TRUE(fs::is_symlink(dir + "/link.tgx"));
    // A pipe, a folder and a device node: refused at once, left in place.
    ASSERT_EQ(mkfifo((dir + "/pipe.tgx").c_str(), 0600), 0);
    ExpectFailure(Run({"image2tgx", in, dir + "/pipe.tgx"}), "is not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir + "/pipe.tgx"));
    fs::create_directory(dir + "/folder.tgx");
    ExpectFailure(Run({"image2tgx", in, dir + "/folder.tgx"}), "is a folder");
    std::string device = "/dev/full";  // writes fail with ENOSPC
    if (::geteuid() == 0 && ::mknod((dir + "/full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        device = dir + "/full";
    ExpectFailure(Run({"image2tgx", in, device}), "is not a regular file");
    EXPECT_TRUE(fs::is_character_file(device)) << "the device node is still there";
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HostileTool, Image2TgxReplacesARegularFileAsDocumented) {
    const std::string out = dir + "/out.tgx";
    std::ofstream(out) << "old";
    ASSERT_EQ(::chmod(out.c_str(), 0640), 0);
    const auto r = Run({"image2tgx", dir + "/in.png", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FileText(out).substr(0, 5), "_tgx_");
    struct stat st;
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "the old file's permissions are kept";
    // A failed conversion leaves it as it was.
    std::ofstream(dir + "/notes.txt") << "not a picture";
    const std::string before = FileText(out);
    ExpectFailure(Run({"image2tgx", dir + "/notes.txt", out}), "not a PNG file");
    EXPECT_EQ(FileText(out), before);
    EXPECT_TRUE(Leftovers().empty());
    const auto help = Run({"image2tgx", "--help"});
    EXPECT_NE(help.out.find("An existing OUT.tgx is replaced when it is a regular file"), std::string::npos)
        << help.out;
}

TEST_F(HostileTool, TranslateRefusesTextWithANulByte) {
    const auto r = Run({"translate", "-"}, std::string("abc\0def", 7));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("contains a NUL byte (at byte 3)"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Run({"translate", "-"}, "abc def").status, 0);
}

}  // namespace
