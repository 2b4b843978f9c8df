// velumi translate as a filter: lines kept, any width, formats, translator choice.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <liblouis.h>

#include "KotariEngine.h"
#include "test_support.h"
#include "tool_runner.h"

namespace {

std::vector<uint8_t> Engine(const std::u16string &text, int language, int width, int grade = 1) {
    return test_support::EngineCells(text, language, width, grade);
}

std::vector<uint8_t> Trimmed(std::vector<uint8_t> cells) {
    test_support::TrimTrailingBlanks(cells);
    return cells;
}

std::vector<uint8_t> Louis(const std::string &table, const std::u16string &text) {
    return Trimmed(test_support::LouisCellsOrFail(table, text));
}

const std::map<std::string, std::string> kEnv = {{"VELUMI_LOG_DIR", "/tmp/velumi-translate-test-log"},
    {"VELUMI_PORT_DIR", ""}};

ToolResult RunFilter(const std::vector<std::string> &args, const std::string &input = "") {
    return RunTool(args, input, kEnv);
}

// The tool refuses `args` (exit status 2) and says `message` on standard error.
void ExpectRefused(const std::vector<std::string> &args, const std::string &message) {
    const ToolResult r = RunFilter(args);
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
}

TEST(Translate, EachInputLineGivesItsOwnOutputAndBlankLinesStay) {
    const auto r = RunFilter({"translate", "-"}, "abc def\n\n  \nthe knowledge\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(Cells(lines[0]), Trimmed(Engine(u"abc def", 5, 32)));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(Cells(lines[3]), Trimmed(Engine(u"the knowledge", 5, 32)));
    EXPECT_EQ(r.out.find("NUBRA"), std::string::npos) << "no diagnostic lines in the output";
}

TEST(Translate, AnyWidthWrapsWithoutPaddingUnlessAsked) {
    const std::u16string text16 = u"The quick brown fox jumps over the lazy dog again and again";
    const std::string text(text16.begin(), text16.end());
    for (int width : {7, 13, 40}) {
        const auto expected = Engine(text16, 5, width, 2);
        auto r = RunFilter({"translate", "--grade", "2", "--width", std::to_string(width), text});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_EQ(lines.size() * width, expected.size()) << width << "\n" << r.out;
        for (size_t i = 0; i < lines.size(); ++i) {
            std::vector<uint8_t> line(expected.begin() + i * width, expected.begin() + (i + 1) * width);
            EXPECT_EQ(Cells(lines[i]), Trimmed(line)) << width << " line " << i;
        }
        r = RunFilter({"translate", "--grade", "2", "--padded", "--width", std::to_string(width), text});
        std::vector<uint8_t> all;
        for (const auto &line : Lines(r.out)) {
            const auto c = Cells(line);
            EXPECT_EQ(c.size(), static_cast<size_t>(width));
            all.insert(all.end(), c.begin(), c.end());
        }
        EXPECT_EQ(all, expected) << width;
    }
    // Width 0: no wrapping at all.
    const auto r = RunFilter({"translate", "--width", "0", text});
    ASSERT_EQ(Lines(r.out).size(), 1u);
    EXPECT_GT(Cells(r.out).size(), 40u);
}

TEST(Translate, FormatsUnicodeBrfAndHex) {
    EXPECT_EQ(RunFilter({"translate", "--format", "hex", "abc"}).out, "01 03 09\n");
    EXPECT_EQ(RunFilter({"translate", "--hex", "abc"}).out, "01 03 09\n");
    EXPECT_EQ(RunFilter({"translate", "abc"}).out, "\xE2\xA0\x81\xE2\xA0\x83\xE2\xA0\x89\n");
    // North American braille ASCII: contracted "knowledge is power" is K IS P[].
    EXPECT_EQ(RunFilter({"translate", "--grade", "2", "--format", "brf", "knowledge is power"}).out, "K IS P[]\n");
}

TEST(Translate, TheTranslatorAndTablesCanBeChosen) {
    auto r = RunFilter({"translate", "--lang", "fr", "bonjour le monde"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Cells(r.out), Louis("fr-bfu-g2.ctb", u"bonjour le monde")) << "the SDK's choice: liblouis, contracted";
    r = RunFilter({"translate", "--lang", "fr", "--grade", "1", "bonjour le monde"});
    EXPECT_EQ(Cells(r.out), Louis("fr-bfu-comp6.utb", u"bonjour le monde"));
    r = RunFilter({"translate", "--lang", "fr", "--translator", "engine", "bonjour le monde"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Cells(r.out), Trimmed(Engine(u"bonjour le monde", 6, 32)));
    r = RunFilter({"translate", "--translator", "liblouis", "--grade", "2", "the knowledge"});
    EXPECT_EQ(Cells(r.out), Louis("en-us-g1.ctb", u"the knowledge"))
        << "English's contracted table as the SDK names it";
    r = RunFilter({"translate", "--table", "en-ueb-g2.ctb", "the knowledge"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Cells(r.out), Louis("en-ueb-g2.ctb", u"the knowledge"));

    r = RunFilter({"translate", "--table", "no-such-table.ctb", "x"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'no-such-table.ctb'"), std::string::npos) << r.err;
    EXPECT_EQ(r.ErrLines(), 1) << r.err;
    ExpectRefused({"translate", "--lang", "nl", "--translator", "engine", "x"},
        "the engine has no translator for dutch");
    ExpectRefused({"translate", "--lang", "ko", "--translator", "liblouis", "x"}, "no liblouis table for korean");
}

TEST(Translate, GradesALanguageLacksAndBadLinesAreRefused) {
    ExpectRefused({"translate", "--grade", "3", "x"},
        "english has the grades 1 (uncontracted) and 2 (contracted), not 3");
    ExpectRefused({"show", "--lang", "arabic", "--grade", "2", "x"}, "arabic has no grade option");
    ExpectRefused({"page", "--lang", "it", "--grade", "2", "x"}, "italian has one braille grade only");
    EXPECT_EQ(RunFilter({"translate", "--lang", "zh", "--grade", "3", "x"}).status, 0) << "Chinese has modes 1 to 3";
    const auto r = RunFilter({"translate", "-"}, "ok\n\xC3(\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("line 2 of standard input is not valid UTF-8"), std::string::npos) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 1u) << "the lines before it were written";
}

TEST(Translate, OutputComesAsTheInputDoes) {
    ToolProcess p({"translate", "--format", "hex", "-"}, kEnv);
    p.Write("abc\n");
    EXPECT_TRUE(p.ReadUntil("01 03 09\n", 10000)) << "the first line before the input ends";
    p.Write("b\n");
    const auto r = p.Finish();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "01 03 09\n03\n");
}

}  // namespace
