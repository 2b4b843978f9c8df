// velumi translate for Arabic and Chinese (the engine, Chinese mode through
// --grade) and Vietnamese (liblouis, as the catalogue routes it).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <map>
#include <string>

#include "tool_runner.h"

namespace {

struct TempDir {
    TempDir() {
        char tmpl[] = "/tmp/velumi-acv-tool-XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("rm -rf " + path).c_str()); }
    std::string path;
};

TEST(ToolAcv, TranslateArabicChineseAndVietnamese) {
    TempDir dir;
    const std::map<std::string, std::string> env = {{"VELUMI_LOG_DIR", dir.path + "/log"}, {"VELUMI_PORT_DIR", ""}};
    auto r = RunTool({"translate", "--on-pad", "--hex", "--width", "12", "--lang", "ar", "كتاب 12"}, "", env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "05 1E 01 03 00 3C 01 03 00 00 00 00\n");

    r = RunTool({"translate", "--on-pad", "--hex", "--width", "12", "--lang", "zh", "中国"}, "", env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0C 32 01 1B 15 02 00 00 00 00 00 00\n");

    r = RunTool({"translate", "--on-pad", "--hex", "--width", "12", "--lang", "zh", "--grade", "3", "我们"}, "", env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "33 02 00 00 00 00 00 00 00 00 00 00\n") << "mode 3 through the Chinese option slot";

    r = RunTool({"translate", "--on-pad", "--hex", "--width", "12", "--lang", "vi", "Nam"}, "", env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 2), "28") << "a capital sign from liblouis's Vietnamese table";
}

}  // namespace
