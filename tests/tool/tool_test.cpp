// The velumi command-line tool, run as a program: its output, the pins it sets
// on a simulated pad, and its errors and exit codes.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <liblouis.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "KotariEngine.h"
#include "image.h"
#include "pad_tool_test.h"
#include "padsim.h"
#include "test_support.h"
#include "text.h"
#include "tool_runner.h"

namespace {

// The engine of this build called directly, as the SDK calls it.
std::vector<uint8_t> Engine(const std::u16string &text, int language, int width, int grade = 1) {
    return test_support::EngineCells(text, language, width, grade);
}

std::vector<uint8_t> Louis(const std::string &table, const std::u16string &text) {
    return test_support::LouisCellsOrFail(table, text);
}

// The cells of every line of output, one after the other; each line must hold `width` cells.
std::vector<uint8_t> AllCells(const std::string &out, size_t width) {
    std::vector<uint8_t> all;
    for (const std::string &line : Lines(out)) {
        const auto cells = Cells(line);
        EXPECT_EQ(cells.size(), width) << line;
        all.insert(all.end(), cells.begin(), cells.end());
    }
    return all;
}

// The rows printed between '|' after a heading that starts with `heading`.
std::vector<std::vector<uint8_t>> Rows(const std::string &out, const std::string &heading, size_t from = 0) {
    std::vector<std::vector<uint8_t>> rows;
    const size_t at = out.find(heading, from);
    if (at == std::string::npos) return rows;
    const auto lines = Lines(out.substr(at));
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t bar = lines[i].find('|');
        if (bar == std::string::npos || lines[i].rfind('|') == bar) break;
        rows.push_back(Cells(lines[i]));
    }
    return rows;
}

class Tool : public PadToolTest {
protected:
    Tool() : PadToolTest("/tmp/velumi-tool-test-XXXXXX") {}
    ToolResult Run(const std::vector<std::string> &args, const std::string &input = "") {
        return RunTool(args, input, env);
    }
    // A simulated pad in this process as port 7, for the tool's --port.
    void StartPad(const std::string &model) {
        padsim::Options o;
        o.deviceName = model;
        pad = std::make_unique<padsim::SimulatedPad>(o);
        ASSERT_TRUE(pad->Start());
        ASSERT_TRUE(pad->LinkAs(dir, 7));
        env["VELUMI_PORT_DIR"] = dir;
    }
    void ExpectUsageError(const ToolResult &r, const std::string &what) {
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_NE(r.err.find(what), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    void ExpectFailure(const ToolResult &r, const std::string &what) {
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_NE(r.err.find(what), std::string::npos) << r.err;
    }
};

TEST_F(Tool, TranslateEnglishFollowsTheGradeOption) {
    const std::u16string text = u"The quick brown fox and the knowledge";
    auto r = Run({"translate", "--on-pad", "--lang", "en", "The quick brown fox and the knowledge"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.find("NUBRA"), std::string::npos) << "the SDK's diagnostic lines stay out";
    EXPECT_EQ(AllCells(r.out, 32), Engine(text, 5, 32, 1)) << "the SDK's default English grade is 1";
}

TEST_F(Tool, TranslateEnglishGradeTwo) {
    const auto r =
        Run({"translate", "--on-pad", "--lang", "English", "--grade", "2", "The quick brown fox and the knowledge"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(AllCells(r.out, 32), Engine(u"The quick brown fox and the knowledge", 5, 32, 2));
}

TEST_F(Tool, TranslateJapanesePrintsKanaBraille) {
    const auto r = Run({"translate", "--on-pad", "--lang", "ja", "東京へ行きます。"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.find("jpanalyzer"), std::string::npos) << "the translator's diagnostic lines stay out";
    const auto cells = AllCells(r.out, 32);
    EXPECT_EQ(cells, Engine(u"東京へ行きます。", 9, 32));
    // トーキョーエ イキマス。
    EXPECT_EQ(test_support::Hex(std::vector<uint8_t>(cells.begin(), cells.begin() + 12)),
        "1E 12 08 2A 12 0B 00 03 23 35 39 32");
}

TEST_F(Tool, TranslateHexOnANarrowLine) {
    const auto r = Run({"translate", "--on-pad", "--hex", "--width", "12", "--lang", "5", "abc"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "01 03 09 00 00 00 00 00 00 00 00 00\n");
}

TEST_F(Tool, TranslatePagesThroughLongTextsAndParagraphs) {
    std::string text;
    std::u16string text16;
    for (int i = 0; i < 30; ++i) {
        text += "word" + std::string(1, static_cast<char>('a' + i % 26)) + " ";
        text16 += u"word" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u" ";
    }
    auto r = Run({"translate", "--on-pad", text});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto expected = Engine(text16.substr(0, text16.size() - 1), 5, 32);
    ASSERT_GT(expected.size(), 3u * 32);
    EXPECT_EQ(AllCells(r.out, 32), expected) << "every line, in order";
}

TEST_F(Tool, TranslateJoinsTheLinesOfStandardInputIntoParagraphs) {
    // Standard input: lines joined, an empty line starts a new braille line.
    const auto r = Run({"translate", "--on-pad", "--width", "20", "-"}, "abc\ndef\n\nghi\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto first = Engine(u"abc def", 5, 20), second = Engine(u"ghi", 5, 20);
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(AllCells(r.out, 20), first);
}

TEST_F(Tool, TranslateFrenchGoesThroughLiblouis) {
    // --verbose lets the SDK's diagnostic lines through, on standard error only.
    const auto r = Run({"translate", "--on-pad", "--verbose", "--lang", "fr", "bonjour"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto expected = Louis("fr-bfu-g2.ctb", u"bonjour");
    expected.resize(32, 0);
    EXPECT_EQ(AllCells(r.out, 32), expected) << "contracted, the SDK's default for liblouis languages";
    EXPECT_NE(r.err.find("LIBLOUIS"), std::string::npos);
    EXPECT_NE(r.err.find("fr-bfu-g2.ctb"), std::string::npos);
}

TEST_F(Tool, TranslateFrenchGradeOneIsUncontracted) {
    const auto r = Run({"translate", "--on-pad", "--lang", "french", "--grade", "1", "bonjour"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto expected = Louis("fr-bfu-comp6.utb", u"bonjour");
    expected.resize(32, 0);
    EXPECT_EQ(AllCells(r.out, 32), expected);
}

TEST_F(Tool, UsageErrorsSayWhatIsWrongInOneLine) {
    ExpectUsageError(Run({"translate", "--lang", "klingon", "x"}), "unknown language 'klingon'");
    ExpectUsageError(Run({"translate", "--on-pad", "--width", "40", "x"}), "--width must be 12, 20 or 32");
    ExpectUsageError(Run({"translate", "--grade", "two", "x"}), "--grade needs a number");
    ExpectUsageError(Run({"translate", ""}), "no text");
    ExpectUsageError(Run({"translate", "\xC3("}), "not valid UTF-8");
    ExpectUsageError(Run({"translate"}), "needs a text");
    ExpectUsageError(Run({"translate", "a", "b"}), "unexpected argument 'b'");
    ExpectUsageError(Run({"show", "--colour", "x"}), "unknown option '--colour'");
    ExpectUsageError(Run({"show-ascii", "--model", "FOO", "x"}), "unknown model 'FOO'");
    ExpectUsageError(Run({"info", "--port", "abc"}), "--port needs a port number");
    ExpectUsageError(Run({"info", "--port", "0"}), "--port needs a port number");
    env["VELUMI_PORT"] = "com3";
    ExpectUsageError(Run({"info"}), "VELUMI_PORT='com3'");
    env.erase("VELUMI_PORT");
    ExpectUsageError(Run({"image2tgx", "in.png"}), "needs an input PNG file and an output .tgx file");
    ExpectUsageError(Run({"image2tgx", "--model", "QX-LINE", "a.png", "b.tgx"}), "no graphics area");
    ExpectUsageError(Run({"image2tgx", "--threshold", "300", "a.png", "b.tgx"}), "--threshold");
    ExpectUsageError(Run({"frobnicate"}), "unknown command 'frobnicate'");
    auto r = Run({});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Usage: velumi COMMAND"), std::string::npos);
}

TEST_F(Tool, FailuresBeforeAnyPadSayWhatIsWrongInOneLine) {
    // A port with nothing behind it: VELUMI_PORT_DIR names an empty folder.
    env["VELUMI_PORT_DIR"] = dir;
    auto r = Run({"info", "--port", "9"});
    ExpectFailure(r, "cannot open port 9 (" + dir + "/com9)");
    EXPECT_NE(r.err.find("velumi-padsim"), std::string::npos) << "and says what to do";
    env["VELUMI_PORT"] = "9";
    ExpectFailure(Run({"demo"}), "cannot open port 9");
    env.erase("VELUMI_PORT");

    ExpectFailure(Run({"show-image", dir + "/missing.tgx"}), "No such file or directory");
    std::ofstream(dir + "/notes.txt") << "hello";
    ExpectFailure(Run({"show-image", dir + "/notes.txt"}), "not a _tgx_ graphics file");
    ExpectFailure(Run({"image2tgx", dir + "/missing.png", dir + "/out.tgx"}), "No such file or directory");
    ExpectFailure(Run({"image2tgx", dir + "/notes.txt", dir + "/out.tgx"}), "not a PNG file");
}

TEST_F(Tool, APictureForAnotherModelIsRefused) {
    // A picture for another model.
    velumi_tool::Image im;
    im.width = im.height = 4;
    im.rgba.assign(64, 0);
    std::string error;
    ASSERT_TRUE(velumi_tool::WritePng(dir + "/p.png", im, error));
    ASSERT_EQ(Run({"image2tgx", "--model", "LINNET", dir + "/p.png", dir + "/linnet.tgx"}).status, 0);
    ExpectFailure(Run({"show-image", dir + "/linnet.tgx"}), "made for 10 lines of 30 cells");
    ExpectFailure(Run({"image2tgx", dir + "/p.png", dir + "/no/folder/out.tgx"}), "cannot create");
    ExpectFailure(Run({"show-image", "--model", "QX-LINE", dir + "/p.png"}), "no graphics area");
}

TEST_F(Tool, TextsTheModelOrTranslatorCannotShowAreRefused) {
    ExpectFailure(Run({"show", "--model", "WREN", "abc"}), "no braille line");
    // Thai: this liblouis has no table for it.
    const auto r = Run({"translate", "--lang", "thai", "x"});
    ExpectFailure(r, "could not be translated to thai braille");
    EXPECT_EQ(r.out, "");
}

TEST_F(Tool, EveryCommandHasHelp) {
    for (const char *command :
        {"translate", "show", "show-ascii", "show-image", "reset", "info", "page", "image2tgx", "demo"}) {
        const auto r = Run({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("Usage: velumi ") + command + " ", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    auto r = Run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("image2tgx"), std::string::npos);
    r = Run({"help", "page"});
    EXPECT_EQ(r.out.rfind("Usage: velumi page", 0), 0u);
}

class Picture : public Tool {
protected:
    void SetUp() override {
        Tool::SetUp();
        // 80 x 80 pixels, one per pin of the TARN: a top row, a block and a corner dot.
        velumi_tool::Image im;
        im.width = im.height = 80;
        im.rgba.assign(80 * 80 * 4, 255);
        auto black = [&](int x, int y) { std::memset(&im.rgba[(y * 80 + x) * 4], 0, 3); };
        for (int x = 0; x < 80; ++x) black(x, 0);
        for (int y = 8; y < 16; ++y)
            for (int x = 10; x < 14; ++x) black(x, y);
        black(79, 79);
        expected.assign(800, 0);
        for (int c = 0; c < 40; ++c) expected[c] = 0x09;  // dots 1 and 4
        for (int line = 2; line < 4; ++line)
            for (int c = 5; c < 7; ++c) expected[line * 40 + c] = 0xFF;
        expected[19 * 40 + 39] = 0x80;  // dot 8
        std::string error;
        ASSERT_TRUE(velumi_tool::WritePng(dir + "/in.png", im, error)) << error;
    }
    std::vector<uint8_t> Pins(const ToolResult &res) {
        std::vector<uint8_t> all;
        for (const auto &row : Rows(res.out, "graphics area, 20 lines of 40 cells")) {
            EXPECT_EQ(row.size(), 40u);
            all.insert(all.end(), row.begin(), row.end());
        }
        return all;
    }
    std::vector<uint8_t> expected;
};

TEST_F(Picture, ConvertedPngShowsThePredictedPins) {
    auto r = Run({"image2tgx", dir + "/in.png", dir + "/out.tgx"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("20 lines of 40 cells for TARN, 113 pins raised"), std::string::npos) << r.out;
    std::ifstream f(dir + "/out.tgx", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 830u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 7), std::string("_tgx_\x14\x28", 7));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 30, bytes.end()), expected);

    r = Run({"show-image", dir + "/out.tgx"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Pins(r), expected);
}

TEST_F(Picture, APngIsConvertedOnTheFly) {
    const auto r = Run({"show-image", dir + "/in.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Pins(r), expected);
}

TEST_F(Picture, InvertRaisesTheLightPixels) {
    const auto r = Run({"show-image", "--invert", dir + "/in.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto inverted = expected;
    for (auto &c : inverted) c = static_cast<uint8_t>(~c);
    EXPECT_EQ(Pins(r), inverted);
}

TEST_F(Tool, ShowPrintsTheSimulatedPadsPins) {
    auto r = Run({"show", "--lang", "en", "abc def"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = Rows(r.out, "braille line, 32 cells");
    ASSERT_EQ(rows.size(), 1u) << r.out;
    EXPECT_EQ(rows[0], Engine(u"abc def", 5, 32));

    r = Run({"show-ascii", "--model", "linnet", "abc"});
    ASSERT_EQ(r.status, 0) << r.err;
    rows = Rows(r.out, "braille line, 20 cells");
    ASSERT_EQ(rows.size(), 1u) << r.out;
    std::vector<uint8_t> ascii(20, 0);
    ascii[0] = 0x01, ascii[1] = 0x03, ascii[2] = 0x09;
    EXPECT_EQ(rows[0], ascii);
}

TEST_F(Tool, InfoAndResetOnTheSimulatedPad) {
    auto r = Run({"info", "--model", "LINNET"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("device name:      LINNET"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("graphics area:    10 lines of 30 cells (60 x 40 pins)"), std::string::npos);
    EXPECT_NE(r.out.find("braille line:     20 cells"), std::string::npos);
    EXPECT_NE(r.out.find("the simulated pad"), std::string::npos);

    r = Run({"reset"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Rows(r.out, "graphics area").size(), 20u);
    EXPECT_EQ(Rows(r.out, "braille line").size(), 1u);
}

TEST_F(Tool, CommandsDriveAPadOnAPort) {
    StartPad("TARN");
    env["VELUMI_PORT"] = "7";
    auto r = Run({"show-ascii", "abc"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("shown on the pad on port 7"), std::string::npos) << r.out;
    const auto line = pad->BrailleLine();
    ASSERT_EQ(line.size(), 32u);
    EXPECT_EQ(std::vector<uint8_t>(line.begin(), line.begin() + 4), (std::vector<uint8_t>{0x01, 0x03, 0x09, 0x00}));

    env.erase("VELUMI_PORT");
    r = Run({"info", "--port", "7"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("port:             7 (" + dir + "/com7)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("device name:      TARN"), std::string::npos);
}

TEST_F(Tool, DemoOnAPortWithTheModelGiven) {
    StartPad("TARN");
    // --model with a port takes the model as given instead of asking the pad.
    pad->ClearReceived();
    const auto r = Run({"demo", "--port", "7", "--model", "TARN"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pad->RequestCount(0x0100), 0u);
    velumi_tool::Image demo;
    std::string error;
    ASSERT_TRUE(velumi_tool::ReadPng(VELUMI_BUILD_DIR "/tools/velumi/demo.png", demo, error)) << error;
    const auto picture = velumi_tool::ImageToCells(demo, 20, 40, {});
    for (int l = 0; l < 20; ++l)
        EXPECT_EQ(pad->GraphicLine(l + 1),
            std::vector<uint8_t>(picture.begin() + l * 40, picture.begin() + l * 40 + 40));
}

TEST_F(Tool, PageFollowsPipedCommands) {
    const std::string text = "one two three four five six seven eight nine ten eleven twelve thirteen fourteen";
    const auto cells =
        Engine(u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen", 5, 32);
    ASSERT_EQ(cells.size(), 3u * 32);
    auto window = [&](int k) { return std::vector<uint8_t>(cells.begin() + 32 * k, cells.begin() + 32 * k + 32); };
    const auto r = Run({"page", text}, "n\nnext\nn\nbogus\np\nq\nn\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u) << r.out;
    EXPECT_EQ(lines[0].rfind("page 1: ", 0), 0u);
    EXPECT_EQ(Cells(lines[0]), window(0));
    EXPECT_EQ(lines[1].rfind("page 2: ", 0), 0u);
    EXPECT_EQ(Cells(lines[1]), window(1));
    EXPECT_EQ(Cells(lines[2]), window(2));
    EXPECT_EQ(lines[3], "(last line: no next page)");
    EXPECT_EQ(lines[4].rfind("page 2: ", 0), 0u);
    EXPECT_EQ(Cells(lines[4]), window(1));
    EXPECT_NE(r.err.find("unknown key"), std::string::npos) << "and 'n' after 'q' is never read";
}

namespace {

const char kFourteenWords[] = "one two three four five six seven eight nine ten eleven twelve thirteen fourteen";
const char16_t kFourteenWords16[] =
    u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen";

// A pseudo-terminal ready for use: its master, with the path of its slave in `slave`; -1
// when one cannot be had.
int OpenTerminal(std::string &slave) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return -1;
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        close(master);
        return -1;
    }
    slave = ptsname(master);
    return master;
}

}  // namespace

TEST_F(Tool, PageReadsArrowKeysFromATerminalAndRestoresIt) {
    std::string slave;
    const int master = OpenTerminal(slave);
    ASSERT_GE(master, 0);
    const std::string text = kFourteenWords;
    const auto cells = Engine(kFourteenWords16, 5, 32);
    ToolProcess p({"page", text}, env, slave);
    ASSERT_TRUE(p.ReadUntil("right arrow or n", 10000, true)) << p.out << p.err;
    const std::string keys =
        "\x1b[C"
        "n"
        "\x1b[D"
        "x"
        "\x1bOD"
        "q";
    ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    const auto r = p.Finish();
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u) << r.out;
    const int windows[5] = {0, 1, 2, 1, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Cells(lines[i]),
            std::vector<uint8_t>(cells.begin() + 32 * windows[i], cells.begin() + 32 * windows[i] + 32))
            << i;
    EXPECT_EQ(lines[4].rfind("page 1: ", 0), 0u);
    EXPECT_NE(r.err.find("unknown key"), std::string::npos);
    // The terminal is back in line mode with echo.
    const int tty = open(slave.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(tty, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(tty, &t), 0);
    EXPECT_TRUE(t.c_lflag & ICANON);
    EXPECT_TRUE(t.c_lflag & ECHO);
    close(tty);
    close(master);
}

TEST_F(Tool, PageEndsWithItsInput) {
    const auto r = Run({"page", "abc"}, "p\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 2u) << r.out;
    EXPECT_NE(r.out.find("(first line: no previous page)"), std::string::npos);
}

TEST_F(Tool, ThePadsOwnPageKeysPageToo) {
    StartPad("TARN");
    const std::string text = "one two three four five six seven eight nine ten eleven twelve thirteen fourteen";
    const auto cells =
        Engine(u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen", 5, 32);
    ToolProcess p({"page", "--port", "7", text}, env);
    ASSERT_TRUE(p.ReadUntil("page 1 (shown on the pad on port 7)", 10000)) << p.out << p.err;
    EXPECT_EQ(pad->BrailleLine(), std::vector<uint8_t>(cells.begin(), cells.begin() + 32));
    pad->SendPageKey(0x08);
    ASSERT_TRUE(p.ReadUntil("(moved by the pad's key)", 10000)) << p.out << p.err;
    EXPECT_EQ(pad->BrailleLine(), std::vector<uint8_t>(cells.begin() + 32, cells.begin() + 64));
    p.Write("q\n");
    EXPECT_EQ(p.Finish().status, 0);
}

TEST_F(Tool, DemoRunsOnTheSimulatedPad) {
    const auto r = Run({"demo"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char *step : {"1. VELUMI_INIT(1)", "2. A picture: demo.png", "3. English braille", "4. The next page",
             "5. VELUMI_DEINIT: the pad is closed"})
        EXPECT_NE(r.out.find(step), std::string::npos) << step;
    EXPECT_EQ(r.out.find("NUBRA"), std::string::npos);
    // The picture as converted from the PNG, then two windows of the English text.
    velumi_tool::Image demo;
    std::string error;
    ASSERT_TRUE(velumi_tool::ReadPng(VELUMI_BUILD_DIR "/tools/velumi/demo.png", demo, error)) << error;
    const auto picture = velumi_tool::ImageToCells(demo, 20, 40, {});
    const auto rows = Rows(r.out, "graphics area, 20 lines of 40 cells");
    ASSERT_EQ(rows.size(), 20u);
    int raised = 0;
    for (int l = 0; l < 20; ++l) {
        EXPECT_EQ(rows[l], std::vector<uint8_t>(picture.begin() + l * 40, picture.begin() + l * 40 + 40));
        for (uint8_t c : rows[l]) raised += __builtin_popcount(c);
    }
    EXPECT_GT(raised, 200) << "the picture is not blank";
    const auto text =
        Engine(u"Hello from Velumi! This line of English braille is longer than the braille line.", 5, 32);
    const size_t third = r.out.find("3. English braille");
    const auto first = Rows(r.out, "braille line, 32 cells", third);
    const auto second = Rows(r.out, "braille line, 32 cells", r.out.find("4. The next page"));
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0], std::vector<uint8_t>(text.begin(), text.begin() + 32));
    EXPECT_EQ(second[0], std::vector<uint8_t>(text.begin() + 32, text.begin() + 64));
}

}  // namespace

TEST_F(Tool, ABlankOrFullConversionIsWarnedAbout) {
    velumi_tool::Image white;
    white.width = white.height = 300;
    white.rgba.assign(300 * 300 * 4, 255);
    std::string error;
    ASSERT_TRUE(velumi_tool::WritePng(dir + "/white.png", white, error)) << error;
    auto r = Run({"image2tgx", dir + "/white.png", dir + "/white.tgx"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("0 pins raised"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("warning: the converted picture raises no pins"), std::string::npos) << r.err;
    r = Run({"show-image", dir + "/white.png"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("raises no pins; the graphics area stays blank"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("already shows"), std::string::npos) << r.out;
    r = Run({"image2tgx", "--threshold", "256", dir + "/white.png", dir + "/black.tgx"});
    EXPECT_NE(r.err.find("raises 6400 of its 6400 pins"), std::string::npos) << r.err;
    ExpectUsageError(Run({"image2tgx", "--conversion", "blur", dir + "/white.png", dir + "/x.tgx"}),
        "--conversion must be lines, average or dither");
}

// The pieces `page` shows a long text in: paragraphs joined by a space, at most 2047 units each.
std::vector<std::u16string> PagePieces(const std::u16string &text) {
    std::vector<std::u16string> pieces;
    std::u16string current;
    for (const auto &p : velumi_tool::Paragraphs(text, 2047)) {
        if (!current.empty() && current.size() + 1 + p.size() > 2047) {
            pieces.push_back(current);
            current.clear();
        }
        current += (current.empty() ? u"" : u" ") + p;
    }
    if (!current.empty()) pieces.push_back(current);
    return pieces;
}

TEST_F(Tool, PageGoesThroughADocumentOfAnyLength) {
    std::string text;
    std::u16string text16;
    for (int i = 0; i < 700; ++i) {
        const std::string w = "wd" + std::to_string(1000 + i) + (i % 50 == 49 ? "\n\n" : " ");
        text += w;
        text16 += std::u16string(w.begin(), w.end());
    }
    ASSERT_GT(text.size(), 2 * 2047u);
    const auto pieces = PagePieces(text16);
    ASSERT_EQ(pieces.size(), 3u);
    std::vector<std::vector<uint8_t>> windows;
    for (const auto &piece : pieces) {
        const auto cells = Engine(piece, 5, 32);
        for (size_t k = 0; k < cells.size(); k += 32) windows.emplace_back(cells.begin() + k, cells.begin() + k + 32);
    }
    // Forward to the end and one beyond, then back across the last boundary.
    std::string keys;
    for (size_t i = 0; i < windows.size(); ++i) keys += "n\n";
    keys += "p\n";
    const auto r = Run({"page", text}, keys);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), windows.size() + 2) << r.out.substr(0, 500);
    for (size_t i = 0; i < windows.size(); ++i) {
        EXPECT_EQ(Cells(lines[i]), windows[i]) << i;
        EXPECT_EQ(lines[i].rfind("page " + std::to_string(i + 1) + ": ", 0), 0u) << lines[i];
    }
    EXPECT_EQ(lines[windows.size()], "(last line: no next page)");
    EXPECT_EQ(Cells(lines.back()), windows[windows.size() - 2]);
    EXPECT_EQ(r.err.find("translates only"), std::string::npos) << "nothing is cut";
}

TEST_F(Tool, PageOfStandardInputReadsKeysFromTheTerminal) {
    std::string slave;
    const int master = OpenTerminal(slave);
    ASSERT_GE(master, 0);
    const std::string text = kFourteenWords;
    const auto cells = Engine(kFourteenWords16, 5, 32);
    ToolProcess p({"page", "-"}, env, slave, false);
    p.Write(text + "\n");
    p.CloseInput();
    ASSERT_TRUE(p.ReadUntil("right arrow or n", 10000, true)) << p.out << p.err;
    // Key by key, without Enter: the terminal is in raw mode.
    const std::string keys =
        "\x1b[C"
        "\x1b[C"
        "\x1b[D"
        "q";
    ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    const auto r = p.Finish();
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    const int windows[4] = {0, 1, 2, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Cells(lines[i]),
            std::vector<uint8_t>(cells.begin() + 32 * windows[i], cells.begin() + 32 * windows[i] + 32))
            << i;
    char echo[64];
    fcntl(master, F_SETFL, O_NONBLOCK);
    EXPECT_LE(read(master, echo, sizeof echo), 0) << "no key was echoed";
    const int tty = open(slave.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(tty, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(tty, &t), 0);
    EXPECT_TRUE(t.c_lflag & ICANON) << "the terminal is restored";
    close(tty);
    close(master);
}

TEST_F(Picture, DashMeansStandardInputAndOutput) {
    std::ifstream f(dir + "/in.png", std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const auto r = Run({"image2tgx", "-", "-"}, png);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.size(), 830u);
    EXPECT_EQ(r.out.compare(0, 5, "_tgx_"), 0);
    EXPECT_EQ(std::vector<uint8_t>(r.out.begin() + 30, r.out.end()), expected);
    EXPECT_NE(r.err.find("standard input: 80 x 80 pixels -> standard output"), std::string::npos) << r.err;
    ExpectFailure(Run({"image2tgx", "-", dir + "/x.tgx"}, "not a picture"), "standard input is not a PNG file");
}

TEST_F(Tool, ShowTakesItsTextFromStandardInputForADash) {
    auto r = Run({"show-ascii", "-"}, "abc\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = Rows(r.out, "braille line");
    ASSERT_EQ(rows.size(), 1u) << r.out;
    EXPECT_EQ(std::vector<uint8_t>(rows[0].begin(), rows[0].begin() + 4), (std::vector<uint8_t>{1, 3, 9, 0}));
    r = Run({"show", "-"}, "abc\ndef\n");
    ASSERT_EQ(r.status, 0) << r.err;
    rows = Rows(r.out, "braille line");
    ASSERT_EQ(rows.size(), 1u) << r.out;
    EXPECT_EQ(rows[0], Engine(u"abc def", 5, 32)) << "the lines joined as one paragraph";
}
