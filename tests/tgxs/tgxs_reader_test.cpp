// TGXS reader: fetching (path, file URL, HTTP on loopback), the private local
// copy, parsing with missing and wrongly typed values, failures, dump lines.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "loopback_http_server.h"
#include "platform/debug_output.h"
#include "platform/utf.h"
#include "process_state.h"
#include "tgxs/tgxs_reader.h"

namespace fs = std::filesystem;
using tgxs_test::LoopbackHttpServer;
using velumi::tgxs::GetTgxsData;
using velumi::tgxs::TgxsFetchLimits;
using velumi::tgxs::TgxsReader;
using velumi::tgxs::TgxsStatus;

namespace {

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string Data(const char *name) { return std::string(VELUMI_TEST_DATA_DIR) + "/tgxs/" + name; }

// Every file below a folder with its content.
std::map<std::string, std::string> Snapshot(const fs::path &dir) {
    std::map<std::string, std::string> files;
    for (const auto &e : fs::recursive_directory_iterator(dir))
        files[e.path().string()] = e.is_regular_file() ? ReadFile(e.path()) : std::string("<dir>");
    return files;
}

// Each test runs in an empty current directory with its own TMPDIR, so that
// every file the reader makes or touches can be seen.
class TgxsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test_support::NewTempFolder("velumi-tgxs-test");
        ASSERT_FALSE(root_.empty());
        tmp_ = root_ / "tmp";
        cwd_ = root_ / "cwd";
        work_ = root_ / "work";
        fs::create_directories(tmp_);
        fs::create_directories(cwd_);
        fs::create_directories(work_);
        const char *oldTmp = std::getenv("TMPDIR");
        hadTmp_ = oldTmp != nullptr;
        if (oldTmp) oldTmp_ = oldTmp;
        setenv("TMPDIR", tmp_.c_str(), 1);
        oldCwd_ = fs::current_path();
        fs::current_path(cwd_);
        oldSink_ = velumi::platform::SetDebugSink([this](const char *text) {
            std::string piece(text);
            if (piece == "\n") {
                lines_.push_back(pending_);
                pending_.clear();
            } else {
                pending_ += piece;
            }
        });
    }

    void TearDown() override {
        velumi::platform::SetDebugSink(oldSink_);
        fs::current_path(oldCwd_);
        if (hadTmp_) setenv("TMPDIR", oldTmp_.c_str(), 1);
        else unsetenv("TMPDIR");
        fs::remove_all(root_);
    }

    bool TmpIsEmpty() const { return fs::is_empty(tmp_); }

    bool Logged(const std::string &part) const {
        for (const auto &l : lines_)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }

    int CountLogged(const std::string &part) const {
        int n = 0;
        for (const auto &l : lines_)
            if (l.find(part) != std::string::npos) ++n;
        return n;
    }

    std::string AllLines() const {
        std::string all;
        for (const auto &l : lines_) all += l + "\n";
        return all;
    }

    fs::path root_, tmp_, cwd_, work_, oldCwd_;
    std::string oldTmp_;
    bool hadTmp_ = false;
    velumi::platform::DebugSink oldSink_;
    std::vector<std::string> lines_;
    std::string pending_;
};

void ExpectShapes(const TgxsReader &r) {
    ASSERT_EQ(r.status(), TgxsStatus::kOk);
    EXPECT_EQ(r.title(), "Shapes");
    EXPECT_EQ(r.lang(), "en");
    EXPECT_EQ(r.langOption(), "grade2");
    EXPECT_EQ(r.device(), "QX-SHORT");
    ASSERT_EQ(r.itemCount(), 2);
    EXPECT_EQ(r.page(0), 1);
    EXPECT_EQ(r.itemTitle(0), "Circle");
    EXPECT_EQ(r.graphic(0).name, "circle.tgx");
    EXPECT_EQ(r.graphic(0).data, "00FF00FF");
    EXPECT_EQ(r.text(0).name, "circle.txt");
    EXPECT_EQ(r.text(0).data, "A round shape.");
    EXPECT_EQ(r.text(0).plain, "A circle");
    EXPECT_EQ(r.page(1), 2);
    EXPECT_EQ(r.itemTitle(1), "Größe – 四角");
    EXPECT_EQ(r.graphic(1).name, "square.tgx");
    EXPECT_EQ(r.text(1).data, "Four equal sides.");
    EXPECT_EQ(r.text(1).plain, "");  // the second page's text has no "plain"
}

TEST_F(TgxsTest, ReadsADocumentByPathThroughAPrivateCopyThatIsRemoved) {
    const std::string source = Data("doc.json");
    const std::string before = ReadFile(source);
    std::string local;
    {
        TgxsReader r(source.c_str());
        ExpectShapes(r);
        EXPECT_EQ(r.source(), source);
        EXPECT_EQ(r.source16(), velumi::platform::Utf8ToUtf16(source));
        EXPECT_EQ(r.fileName(), "doc.json");
        EXPECT_EQ(r.fileName16(), u"doc.json");
        local = r.localName();
        EXPECT_EQ(fs::path(local).parent_path(), tmp_);
        EXPECT_EQ(ReadFile(local), before);
        EXPECT_EQ(r.localName16(), velumi::platform::Utf8ToUtf16(local));
        struct stat st;
        ASSERT_EQ(stat(local.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_TRUE(r.root().isObject());
    }
    EXPECT_FALSE(fs::exists(local));
    EXPECT_TRUE(TmpIsEmpty());
    EXPECT_EQ(ReadFile(source), before);
    EXPECT_TRUE(fs::is_empty(cwd_));

    // A TMPDIR that does not exist: the copy goes to /tmp instead.
    setenv("TMPDIR", (root_ / "absent").c_str(), 1);
    {
        TgxsReader r(source.c_str());
        ExpectShapes(r);
        local = r.localName();
        EXPECT_EQ(fs::path(local).parent_path(), "/tmp");
    }
    EXPECT_FALSE(fs::exists(local));
}

TEST_F(TgxsTest, FileNameIsTheLastSlashSeparatedPart) {
    struct Case {
        const char *source;
        const char *fileName;
    } cases[] = {
        {"http://127.0.0.1:1/a/b/doc.json", "doc.json"},
        {"doc.json", "doc.json"},
        {"C:\\docs\\doc.json", "C:\\docs\\doc.json"},
        {"/nowhere/문서.json", "문서.json"},
    };
    for (const Case &c : cases) {
        TgxsReader r(c.source, TgxsFetchLimits{200, 500, 1, 1024});
        EXPECT_EQ(r.fileName(), c.fileName) << c.source;
        EXPECT_EQ(r.fileName16(), velumi::platform::Utf8ToUtf16(c.fileName)) << c.source;
        EXPECT_NE(r.status(), TgxsStatus::kOk);
    }
    EXPECT_EQ(TgxsReader("/nowhere/문서.json").fileName16(), u"문서.json");
    EXPECT_TRUE(TmpIsEmpty());
}

TEST_F(TgxsTest, NonAsciiPathsAndFileUrlsWork) {
    const fs::path dir = work_ / "문서 폴더";
    fs::create_directories(dir);
    const fs::path doc = dir / "ドキュメント 1.json";
    fs::copy_file(Data("doc.json"), doc);
    const std::string path = doc.string();

    for (const std::string &source :
        {path, "file://" + path, "FILE://localhost" + path, "file://" + fs::path(Data("doc.json")).string()}) {
        TgxsReader r(source.c_str());
        SCOPED_TRACE(source);
        ExpectShapes(r);
        EXPECT_EQ(r.source16(), velumi::platform::Utf8ToUtf16(source));
    }
    EXPECT_EQ(TgxsReader(path.c_str()).fileName16(), u"ドキュメント 1.json");
    EXPECT_TRUE(TmpIsEmpty());
    EXPECT_TRUE(fs::exists(doc));
    EXPECT_TRUE(fs::is_empty(cwd_));
}

TEST_F(TgxsTest, ReadsOverHttpAndReportsHttpErrors) {
    LoopbackHttpServer server({
        {"/docs/doc.json", {200, ReadFile(Data("doc.json"))}},
        {"/%EB%AC%B8%EC%84%9C%20A.json", {200, ReadFile(Data("no_items.json"))}},
        {"/stream.json", {200, ReadFile(Data("doc.json")), false}},
    });
    ExpectShapes(TgxsReader(server.Url("/docs/doc.json").c_str()));
    ExpectShapes(TgxsReader(server.Url("/stream.json").c_str()));

    TgxsReader korean(server.Url("/문서 A.json").c_str());
    EXPECT_EQ(korean.status(), TgxsStatus::kOk);
    EXPECT_EQ(korean.title(), "Cover only");
    EXPECT_EQ(korean.fileName(), "문서 A.json");

    TgxsReader missing(server.Url("/missing.json").c_str());
    EXPECT_EQ(missing.status(), TgxsStatus::kFetchFailed);
    EXPECT_EQ(missing.itemCount(), 0);
    EXPECT_TRUE(Logged("[ERROR] TgxsReader::TgxsReader() fetch failed - " + server.Url("/missing.json")));
    EXPECT_TRUE(Logged("404")) << AllLines();

    const auto requests = server.Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), "/%EB%AC%B8%EC%84%9C%20A.json"), requests.end());
    EXPECT_TRUE(fs::is_empty(cwd_));
}

TEST_F(TgxsTest, SilentOrAbsentServerDoesNotHangTheCaller) {
    LoopbackHttpServer server({{"/doc.json", {200, "", true, true}}});
    TgxsFetchLimits limits;
    limits.connectTimeoutMs = 300;
    limits.totalTimeoutMs = 400;
    const auto start = std::chrono::steady_clock::now();
    const TgxsStatus status = TgxsReader(server.Url("/doc.json").c_str(), limits).status();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(status, TgxsStatus::kFetchFailed);
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_TRUE(Logged("timed out")) << AllLines();

    const std::string refused = "http://127.0.0.1:" + std::to_string(tgxs_test::UnusedLoopbackPort()) + "/doc.json";
    EXPECT_EQ(TgxsReader(refused.c_str(), limits).status(), TgxsStatus::kFetchFailed);
    EXPECT_TRUE(Logged("[ERROR] TgxsReader::TgxsReader() fetch failed - " + refused));
    EXPECT_TRUE(TmpIsEmpty());
}

TEST_F(TgxsTest, GetTgxsDataNeverTouchesTheSourceOrTheCurrentDirectory) {
    // A source without "/": the document itself sits in the current directory.
    const std::string doc = ReadFile(Data("doc.json"));
    WriteFile(cwd_ / "doc.json", doc);
    auto before = Snapshot(cwd_);
    EXPECT_EQ(GetTgxsData("doc.json"), 0);
    EXPECT_EQ(Snapshot(cwd_), before);
    EXPECT_TRUE(TmpIsEmpty());
    EXPECT_TRUE(Logged("[OK] CVelumi::GetTgxsData() successed"));

    // An unrelated file with the source's file name in the current directory.
    WriteFile(cwd_ / "doc.json", "unrelated");
    WriteFile(cwd_ / "no_items.json", "also unrelated");
    before = Snapshot(cwd_);
    LoopbackHttpServer server({{"/no_items.json", {200, ReadFile(Data("no_items.json"))}}});
    for (const std::string &source : {Data("doc.json"), "file://" + Data("doc.json"), server.Url("/no_items.json")}) {
        lines_.clear();
        EXPECT_EQ(GetTgxsData(source.c_str()), 0);
        EXPECT_TRUE(Logged("[OK] CVelumi::GetTgxsData() successed")) << source << "\n" << AllLines();
    }
    EXPECT_EQ(Snapshot(cwd_), before);
    EXPECT_TRUE(TmpIsEmpty());
}

TEST_F(TgxsTest, GetTgxsDataDumpsTheDocument) {
    EXPECT_EQ(GetTgxsData(Data("doc.json").c_str()), 0);
    const std::vector<std::string> expected = {
        "[OK] CVelumi::GetTgxsData()",
        "TGXS source : " + Data("doc.json"),
        "TGXS title(Shapes) lang(en) lang_option(grade2) device(QX-SHORT) items(2)",
        "TGXS item[0] page(1) title(Circle)",
        "TGXS item[0] graphic name(circle.tgx) data(00FF00FF)",
        "TGXS item[0] text name(circle.txt) plain(A circle) data(A round shape.)",
        "TGXS item[1] page(2) title(Größe – 四角)",
        "TGXS item[1] graphic name(square.tgx) data(FFFF)",
        "TGXS item[1] text name(square.txt) plain() data(Four equal sides.)",
        "[OK] CVelumi::GetTgxsData() successed",
    };
    EXPECT_EQ(lines_, expected);
}

TEST_F(TgxsTest, MissingKeysReadAsEmpty) {
    TgxsReader cover(Data("no_items.json").c_str());
    EXPECT_EQ(cover.status(), TgxsStatus::kOk);
    EXPECT_EQ(cover.title(), "Cover only");
    EXPECT_EQ(cover.lang(), "ko");
    EXPECT_EQ(cover.langOption(), "");
    EXPECT_EQ(cover.itemCount(), 0);

    TgxsReader r;
    const std::string bare = R"({"items": [{}, {"text": {"name": "n"}}]})";
    ASSERT_TRUE(r.Parse(bare.data(), bare.size()));
    ASSERT_EQ(r.itemCount(), 2);
    EXPECT_EQ(r.page(0), 0);
    EXPECT_EQ(r.itemTitle(0), "");
    EXPECT_EQ(r.graphic(0).data, "");
    EXPECT_EQ(r.text(1).name, "n");
    EXPECT_EQ(r.text(1).plain, "");
    EXPECT_EQ(CountLogged("[ERROR]"), 0);

    // A later parse replaces everything, also when it fails.
    EXPECT_FALSE(r.Parse("{\"title\"", 8));
    EXPECT_EQ(r.status(), TgxsStatus::kInvalidJson);
    EXPECT_EQ(r.itemCount(), 0);
    EXPECT_TRUE(r.root().isNull());
}

TEST_F(TgxsTest, WrongTypesAreTracedAndReadAsMissing) {
    TgxsReader r(Data("wrong_types.json").c_str());
    ASSERT_EQ(r.status(), TgxsStatus::kOk);
    EXPECT_EQ(r.title(), "");
    EXPECT_EQ(r.lang(), "");
    EXPECT_EQ(r.langOption(), "");
    EXPECT_EQ(r.device(), "TARN");
    ASSERT_EQ(r.itemCount(), 6);
    EXPECT_EQ(r.page(0), 0);
    EXPECT_EQ(r.page(1), 0);
    EXPECT_EQ(r.itemTitle(1), "");
    EXPECT_EQ(r.graphic(1).name, "");
    EXPECT_EQ(r.text(1).name, "");
    EXPECT_EQ(r.page(2), 0);
    EXPECT_EQ(r.graphic(2).name, "ok.tgx");
    EXPECT_EQ(r.graphic(2).data, "");
    EXPECT_EQ(r.page(3), 0);
    EXPECT_EQ(r.page(4), 7);
    EXPECT_EQ(r.itemTitle(4), "fine");
    EXPECT_EQ(r.page(5), 0);
    for (const char *where : {"\"title\" is not a string", "\"lang\" is not a string", "\"items[0]\" is not an object",
             "\"items[1].page\" is not a 32-bit integer", "\"items[1].title\" is not a string",
             "\"items[1].graphic\" is not an object", "\"items[1].text.name\" is not a string",
             "\"items[1].text.plain\" is not a string", "\"items[2].page\" is not a 32-bit integer",
             "\"items[2].graphic.data\" is not a string", "\"items[3].page\" is not a 32-bit integer"})
        EXPECT_TRUE(Logged(std::string("[ERROR] TgxsReader::Parse() ") + where)) << where;
    EXPECT_EQ(CountLogged("[ERROR]"), 11) << AllLines();  // null values are merely missing

    TgxsReader odd(Data("items_not_array.json").c_str());
    EXPECT_EQ(odd.status(), TgxsStatus::kOk);
    EXPECT_EQ(odd.title(), "Odd");
    EXPECT_EQ(odd.itemCount(), 0);
    EXPECT_TRUE(Logged("\"items\" is not an array"));

    for (const std::string text : {"[1, 2]", "\"doc\"", "42", "null"}) {
        TgxsReader notObject;
        EXPECT_FALSE(notObject.Parse(text.data(), text.size())) << text;
        EXPECT_EQ(notObject.status(), TgxsStatus::kNotAnObject) << text;
    }
    EXPECT_EQ(GetTgxsData(Data("wrong_types.json").c_str()), 0);
}

TEST_F(TgxsTest, UnreadableSourcesGiveAnEmptyReaderAndSayWhy) {
    WriteFile(work_ / "empty.json", "");
    WriteFile(work_ / "deep.json", std::string(100000, '['));
    ASSERT_EQ(mkfifo((work_ / "pipe.json").c_str(), 0600), 0);
    struct Case {
        std::string source;
        TgxsStatus status;
        std::string why;
    } cases[] = {
        {Data("truncated.json"), TgxsStatus::kInvalidJson, "TgxsReader::Parse() invalid JSON - "},
        {(work_ / "empty.json").string(), TgxsStatus::kInvalidJson, "invalid JSON"},
        {(work_ / "deep.json").string(), TgxsStatus::kInvalidJson, "invalid JSON"},
        {"file://" + Data("truncated.json"), TgxsStatus::kInvalidJson, "invalid JSON"},
        {(work_ / "absent.json").string(), TgxsStatus::kFetchFailed, "No such file or directory"},
        {"file://" + (work_ / "absent.json").string(), TgxsStatus::kFetchFailed, "fetch failed"},
        {work_.string(), TgxsStatus::kNotRegularFile, "a directory"},
        {"file://" + work_.string(), TgxsStatus::kNotRegularFile, "a directory"},
        {"file://localhost" + (work_ / "pipe%2Ejson").string(), TgxsStatus::kNotRegularFile, "not a regular file"},
        {(work_ / "pipe.json").string(), TgxsStatus::kNotRegularFile, "not a regular file"},
        {"/dev/zero", TgxsStatus::kNotRegularFile, "not a regular file"},
        {"gopher://127.0.0.1/doc.json", TgxsStatus::kUnsupportedScheme, "unsupported URL scheme"},
        {"", TgxsStatus::kNoSource, "no source given"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source);
        lines_.clear();
        {
            TgxsReader r(c.source.c_str());
            EXPECT_EQ(r.status(), c.status) << velumi::tgxs::TgxsStatusText(r.status());
            EXPECT_EQ(r.title(), "");
            EXPECT_EQ(r.itemCount(), 0);
            EXPECT_TRUE(r.root().isNull());
            EXPECT_TRUE(Logged("[ERROR] ")) << AllLines();
            EXPECT_TRUE(Logged(c.why)) << AllLines();
        }
        EXPECT_EQ(GetTgxsData(c.source.c_str()), 0);
        EXPECT_TRUE(Logged(std::string("[ERROR] CVelumi::GetTgxsData() no document read - ") +
                           velumi::tgxs::TgxsStatusText(c.status)))
            << AllLines();
        EXPECT_TRUE(TmpIsEmpty());
    }
    EXPECT_EQ(GetTgxsData(nullptr), 0);
    EXPECT_TRUE(fs::is_empty(cwd_));
}

TEST_F(TgxsTest, DocumentsOverTheSizeLimitAreRefused) {
    // 50 MB: one long title.
    const fs::path big = work_ / "big.json";
    {
        std::ofstream out(big, std::ios::binary);
        out << "{\"title\": \"";
        const std::string block(1 << 20, 'a');
        for (int i = 0; i < 50; ++i) out << block;
        out << "\"}";
    }
    ASSERT_GT(fs::file_size(big), 50u << 20);
    for (const std::string &source : {big.string(), "file://" + big.string()}) {
        SCOPED_TRACE(source);
        lines_.clear();
        TgxsReader r(source.c_str());
        EXPECT_EQ(r.status(), TgxsStatus::kTooLarge);
        EXPECT_EQ(r.title(), "");
        EXPECT_TRUE(Logged("document too large")) << AllLines();
    }
    EXPECT_EQ(GetTgxsData(big.c_str()), 0);
    EXPECT_TRUE(TmpIsEmpty());

    // The limit is inclusive, for files, file URLs and downloads with and
    // without a known length.
    const std::string doc = ReadFile(Data("doc.json"));
    LoopbackHttpServer server({{"/sized.json", {200, doc}}, {"/stream.json", {200, doc, false}}});
    for (const std::string &source :
        {Data("doc.json"), "file://" + Data("doc.json"), server.Url("/sized.json"), server.Url("/stream.json")}) {
        SCOPED_TRACE(source);
        TgxsFetchLimits limits;
        limits.maxBytes = doc.size();
        EXPECT_EQ(TgxsReader(source.c_str(), limits).status(), TgxsStatus::kOk);
        limits.maxBytes = doc.size() - 1;
        EXPECT_EQ(TgxsReader(source.c_str(), limits).status(), TgxsStatus::kTooLarge);
    }
    EXPECT_TRUE(TmpIsEmpty());
}

TEST_F(TgxsTest, ConcurrentCallersEachGetTheirOwnCopy) {
    LoopbackHttpServer server({{"/doc.json", {200, ReadFile(Data("doc.json"))}}});
    const std::string sources[] = {Data("doc.json"), "file://" + Data("doc.json"), server.Url("/doc.json")};
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 5; ++i) {
                TgxsReader r(sources[(t + i) % 3].c_str());
                if (r.status() == TgxsStatus::kOk && r.itemCount() == 2 && r.text(0).plain == "A circle") ++good;
                GetTgxsData(sources[t % 3].c_str());
            }
        });
    for (auto &th : threads) th.join();
    EXPECT_EQ(good.load(), 30);
    EXPECT_EQ(CountLogged("[OK] CVelumi::GetTgxsData() successed"), 30);
    EXPECT_TRUE(TmpIsEmpty());
}

}  // namespace
