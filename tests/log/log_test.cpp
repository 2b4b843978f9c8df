// The log function and the daily trace file.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

#include "Log/nubra_log.h"
#include "Log/nubra_trace.h"
#include "log_capture.h"
#include "process_state.h"

using namespace velumi;

using test_support::FileText;
using test_support::Today;

namespace {

std::string TempDir() {
    char tmpl[] = "/tmp/velumi-log-XXXXXX";
    return std::string(mkdtemp(tmpl)) + "/";
}

TEST(NubraLog, CutsLongLinesAt1023AndWritesNewlineSeparately) {
    LogCapture capture;
    std::vector<std::string> writes;
    auto previous = platform::SetDebugSink([&](const char *t) { writes.push_back(t); });
    NubraLog("%s", std::string(2000, 'x').c_str());
    platform::SetDebugSink(previous);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], std::string(1023, 'x'));
    EXPECT_EQ(writes[1], "\n");
}

TEST(NubraLog, NeverCutsInsideACharacterAndObeysTheTraceSwitch) {
    LogCapture capture;
    std::string line = std::string(1022, 'a') + "\xC3\xA9";  // é straddles the 1023rd byte
    NubraLog("%s", line.c_str());
    ASSERT_EQ(capture.Lines().size(), 1u);
    EXPECT_EQ(capture.Lines()[0], std::string(1022, 'a'));
    g_traceOn = false;
    NubraLog("hidden");
    g_traceOn = true;
    EXPECT_FALSE(capture.Contains("hidden"));
}

TEST(CNubraTrace, RecordLayoutBomOnlyOnNewFileAndCutAt255) {
    CNubraTrace trace;
    const std::string dir = TempDir() + "a/b/";
    ASSERT_TRUE(trace.SetFolder(dir)) << "nested folders are created";
    trace.WriteLine("not written while disabled");
    trace.Enable(true);
    trace.WriteLine("first");
    trace.WriteLine(std::string(280, 'y').c_str());
    const std::string path = trace.FilePath();
    EXPECT_EQ(path, dir + Today() + ".txt");
    const std::string bytes = FileText(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    // Decode UTF-16LE (ASCII only here) and check each record.
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        ASSERT_EQ(bytes[i + 1], '\0');
        text += bytes[i];
    }
    // Each record: "HH:MM:SS.mmm", TAB, text, CR LF.
    std::vector<std::string> texts;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "every record ends in CR LF";
        const std::string record = text.substr(pos, end - pos);
        ASSERT_GT(record.size(), 13u);
        for (size_t i : {0, 1, 3, 4, 6, 7, 9, 10, 11}) EXPECT_TRUE(isdigit(record[i])) << record;
        EXPECT_EQ(record[2], ':');
        EXPECT_EQ(record[5], ':');
        EXPECT_EQ(record[8], '.');
        EXPECT_EQ(record[12], '\t');
        texts.push_back(record.substr(13));
        pos = end + 2;
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "first");
    EXPECT_EQ(texts[1], std::string(255, 'y'));
    EXPECT_EQ(bytes.find("\xFF\xFE", 2), std::string::npos) << "the second record has no byte-order mark";
}

TEST(CNubraTrace, AppendsToAnExistingFileWithoutBomAndWritesWideText) {
    CNubraTrace trace;
    const std::string dir = TempDir();
    trace.SetFolder(dir);
    trace.Enable(true);
    const std::string path = dir + Today() + ".txt";
    { std::ofstream(path, std::ios::binary) << std::string("\xFF\xFE", 2); }
    trace.WriteLine("\xED\x95\x9C");  // 한 U+D55C
    const std::string bytes = FileText(path);
    EXPECT_EQ(bytes.rfind("\xFF\xFE", 0), 0u);
    EXPECT_EQ(bytes.find("\xFF\xFE", 2), std::string::npos);
    EXPECT_NE(bytes.find(std::string("\x5C\xD5\r\0\n\0", 6)), std::string::npos);
}

TEST(LogFolder, IsBesideTheExecutable) {
    const std::string folder = LogFolder();
    EXPECT_NE(folder.find("/tests/_VelumiLog/"), std::string::npos) << folder;
}

TEST(TraceStart, HonoursTheOverrideAndLogLinesReachTheDailyFile) {
    const std::string dir = TempDir();
    setenv("VELUMI_LOG_DIR", dir.c_str(), 1);
    TraceStart();
    unsetenv("VELUMI_LOG_DIR");
    NubraLog("[OK] %s() successed", "CVelumi::Init");
    CNubraTrace::Instance().Enable(false);
    const std::string bytes = FileText(dir + Today() + ".txt");
    std::string wide;
    for (char c : std::string("[OK] CVelumi::Init() successed")) wide += std::string{c, '\0'};
    EXPECT_NE(bytes.find(wide), std::string::npos);
}

}  // namespace
