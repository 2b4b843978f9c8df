// velumi: the command-line tool for the Velumi pad, built on the SDK's public C
// API only. Translates text to braille, shows text and pictures on a pad (or on
// the simulated pad started in-process), pages long text, converts PNG pictures
// to "_tgx_" graphics files and runs the demo.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../cli_args.h"
#include "VelumiSDK.h"
#include "image.h"
#include "pad_session.h"
#include "padsim.h"
#include "padsim_web.h"
#include "text.h"

using namespace velumi_tool;

namespace {

// The SDK translates at most this many UTF-16 units of one text.
constexpr size_t kSdkTextLimit = 2047;

const char kUsage[] =
    "Usage: velumi COMMAND [OPTION]... [ARGUMENT]...\n"
    "The command-line tool for the Velumi tactile pad.\n"
    "\n"
    "Commands:\n"
    "  translate TEXT|-      print the braille of a text, line by line, without a pad\n"
    "  show TEXT|-           show a text in braille on the pad's braille line\n"
    "  show-ascii TEXT|-     show text written in braille ASCII on the braille line\n"
    "  show-image FILE       show a _tgx_ graphics file or a PNG picture on the graphics area\n"
    "  reset                 clear the braille line and the graphics area\n"
    "  info                  print the SDK version and the pad's name, firmware and geometry\n"
    "  page TEXT|-           page through a long text on the braille line with the arrow keys\n"
    "  image2tgx IN.png OUT.tgx   convert a PNG picture to a _tgx_ graphics file\n"
    "  demo                  a short demo of the SDK on the simulated pad (or a real one)\n"
    "\n"
    "Without --port (or the environment variable VELUMI_PORT) the commands that use a pad start\n"
    "the simulated pad in this process and print what its pins show after each operation.\n"
    "--port takes a device path (/dev/ttyUSB0, /dev/ttyACM0, /dev/serial/by-id/...) or the SDK's\n"
    "port number N, which opens $VELUMI_PORT_N when set, else $VELUMI_PORT_DIR/comN when that is\n"
    "set, else /dev/ttyS(N-1).\n"
    "\n"
    "'-' stands for standard input (a text or a picture) or standard output (image2tgx's file).\n"
    "'velumi COMMAND --help' describes a command. Exit status: 0 success, 1 failure, 2 bad usage.\n";

const char kPadOptions[] =
    "Pad:\n"
    "  --port PATH|N     use the pad on serial port PATH (/dev/ttyUSB0, /dev/serial/by-id/...) or on\n"
    "                    the SDK's port number N (default: $VELUMI_PORT, else the simulated pad)\n"
    "  --model NAME      model of the simulated pad (default TARN); with --port, the pad is taken to be\n"
    "                    this model instead of asking it: ORIEL_WIDE, ORIEL, LINNET, TARN, WREN,\n"
    "                    QX-LINE, QX-SHORT, QY-SHORT\n"
    "  --verbose         pass the SDK's diagnostic lines through (to standard error)\n";

const char kLanguageHelp[] =
    "Languages (--lang): a name, an ISO 639-1 code or a number:\n"
    "  through the Kotari engine: arabic (ar, 1), chinese_traditional (zh-tw, 2), chinese_simplified\n"
    "    (zh, 3), english (en, 5), japanese (ja, 9), korean (ko, 10);\n"
    "  through liblouis: dutch (nl, 4), french (fr, 6), german (de, 7), italian (it, 8), russian\n"
    "    (ru, 11), spanish (es, 12), vietnamese (vi, 13), bulgarian (bg, 14), portuguese (pt, 15),\n"
    "    czech (cs, 16), polish (pl, 17), norwegian (no, 18), kazakh (kk, 19), danish (da, 20),\n"
    "    greek (el, 21), swedish (sv, 22), finnish (fi, 23), thai (th, 24), uzbek (uz, 25).\n"
    "  --grade N sets the language's option (VELUMI_SET_BRAILLE_LANGUAGE): 1 uncontracted, 2\n"
    "  contracted; without it the SDK's setting holds (English: grade 1).\n";

struct Command {
    const char *name;
    const char *help;
    std::set<std::string> valueOptions;
    std::set<std::string> flags;
    int minArgs, maxArgs;
};

const std::vector<Command> &Commands() {
    static const std::vector<Command> kCommands = {
        {"translate",
            "Usage: velumi translate [--lang NAME|CODE] [--grade N] [--width N] [--format FORMAT] [--table LIST]\n"
            "                        [--translator engine|liblouis] [--padded] TEXT|-\n"
            "Prints the braille of TEXT, or of standard input for -, as a filter: each input line gives\n"
            "its own output (one line, or several with --width), blank lines stay blank, and each line is\n"
            "printed as soon as it is translated. No pad is needed (VELUMI_TRANSLATE).\n"
            "\n"
            "  --lang NAME|CODE  language (default english)\n"
            "  --grade N         the language's option, see below\n"
            "  --width N         braille lines of N cells, words kept whole where they fit; 0 (default):\n"
            "                    no wrapping\n"
            "  --format FORMAT   unicode (default: Unicode braille, U+2800 + cell), brf (North American\n"
            "                    braille ASCII; dots 7 and 8 are dropped) or hex (cell bytes)\n"
            "  --hex             the same as --format hex\n"
            "  --padded          fill every wrapped line to the full width with blank cells\n"
            "  --table LIST      translate with this liblouis table list (e.g. en-ueb-g2.ctb) instead of the\n"
            "                    language's table\n"
            "  --translator WHO  engine: the Kotari engine's own translator for the language (also french,\n"
            "                    german, italian, spanish, russian, czech, polish, norwegian, vietnamese);\n"
            "                    liblouis: the language's liblouis table; default: the SDK's choice\n"
            "  --on-pad          the older way: show the text on a simulated pad (--width 12, 20 or 32,\n"
            "                    default 32) and print every braille line it pages through; lines of the\n"
            "                    input are joined into paragraphs, an empty line starts a new one\n"
            "  --verbose         pass the SDK's diagnostic lines through (to standard error)\n",
            {"--lang", "--grade", "--width", "--format", "--table", "--translator"},
            {"--hex", "--verbose", "--padded", "--on-pad"}, 1, 1},
        {"show",
            "Usage: velumi show [--lang NAME|CODE] [--grade N] [PAD OPTION]... TEXT|-\n"
            "Translates TEXT and shows its first braille line on the pad (VELUMI_BRAILLE_DISPLAY).\n",
            {"--lang", "--grade", "--port", "--model"}, {"--verbose"}, 1, 1},
        {"show-ascii",
            "Usage: velumi show-ascii [PAD OPTION]... TEXT|-\n"
            "Shows TEXT, written in North American braille ASCII, on the braille line\n"
            "(VELUMI_BRAILLE_ASCII_DISPLAY).\n",
            {"--port", "--model"}, {"--verbose"}, 1, 1},
        {"show-image",
            "Usage: velumi show-image [--conversion HOW] [--threshold N|auto] [--invert] [PAD OPTION]... FILE\n"
            "Shows a _tgx_ graphics file (VELUMI_DISPLAY) or a PNG picture, converted for the pad's\n"
            "graphics area as image2tgx does (VELUMI_DISPLAY_DATA). Warns when the converted picture\n"
            "raises no pins or nearly all of them.\n"
            "\n"
            "  --conversion HOW  PNG only: lines (default), average or dither, see velumi image2tgx --help\n"
            "  --threshold N     PNG only: luminance below N (0-256) is dark; default auto (Otsu)\n"
            "  --invert          PNG only: light pixels raise the pins\n",
            {"--threshold", "--conversion", "--port", "--model"}, {"--invert", "--verbose"}, 1, 1},
        {"reset",
            "Usage: velumi reset [PAD OPTION]...\n"
            "Clears the braille line and the graphics area.\n",
            {"--port", "--model"}, {"--verbose"}, 0, 0},
        {"info",
            "Usage: velumi info [PAD OPTION]...\n"
            "Prints the SDK version, the port, the pad's device name, firmware version and geometry.\n",
            {"--port", "--model"}, {"--verbose"}, 0, 0},
        {"page",
            "Usage: velumi page [--lang NAME|CODE] [--grade N] [PAD OPTION]... TEXT|-\n"
            "Shows TEXT (or standard input for -) on the braille line and pages through it: right arrow\n"
            "or n for the next line, left arrow or p for the previous one, q to quit. From a terminal the\n"
            "keys act at once; otherwise the commands are read line by line from standard input (n, p, q),\n"
            "and the end of the input quits. With the text on standard input (-) the keys are read from\n"
            "the terminal. The pad's own page keys page the text too (within the part of it shown).\n"
            "Texts of any length are paged: the SDK translates at most 2047 UTF-16 units at a time, so\n"
            "the text is shown in parts, and paging past the end of one shows the next.\n"
            "Each window is printed as it is shown.\n",
            {"--lang", "--grade", "--port", "--model"}, {"--verbose"}, 1, 1},
        {"image2tgx",
            "Usage: velumi image2tgx [--model NAME] [--conversion HOW] [--threshold N|auto] [--invert] IN.png "
            "OUT.tgx\n"
            "Converts a PNG picture into a _tgx_ graphics file for the model's graphics area: the picture\n"
            "is scaled to the pin matrix (2 pins per cell across, 4 down) keeping its aspect ratio, and\n"
            "centred; transparent pixels are background. Prints the pins raised and the threshold used,\n"
            "and warns when the result raises no pins or nearly all of them. IN.png - reads the picture from\n"
            "standard input, OUT.tgx - writes the file to standard output (the summary then goes to\n"
            "standard error).\n"
            "\n"
            "An existing OUT.tgx is replaced when it is a regular file (keeping its permissions); the\n"
            "file is written beside it under a temporary name and renamed into place, so a failed\n"
            "conversion leaves it unchanged. OUT.tgx may not be IN.png itself, a link, a folder, a\n"
            "device or a pipe.\n"
            "\n"
            "  --model NAME      ORIEL_WIDE, ORIEL, LINNET, TARN (default), WREN\n"
            "  --conversion HOW  lines: a pin is raised when a dark pixel falls in its area, so thin lines\n"
            "                    of large drawings survive (default); average: the pin's average is\n"
            "                    compared with the threshold; dither: error diffusion, for photographs\n"
            "  --threshold N     luminance below N (0-256) is dark; default auto: Otsu's threshold, chosen\n"
            "                    from the picture's own tones\n"
            "  --invert          light pixels raise the pins instead of dark ones\n",
            {"--model", "--threshold", "--conversion"}, {"--invert"}, 2, 2},
        {"demo",
            "Usage: velumi demo [--web [ADDR:]PORT] [PAD OPTION]...\n"
            "A short demo of the SDK: init, device facts, a picture converted from a PNG, a line of\n"
            "English braille, paging to the next line, de-init; each step is printed with what the pad\n"
            "shows. Runs on the simulated pad unless a port is given. Asks nothing.\n"
            "\n"
            "  --web [ADDR:]PORT  also show the simulated pad as a live web page on that port (ADDR\n"
            "                    default 127.0.0.1; port 0 picks a free one). The demo waits for the page\n"
            "                    to be opened (or Enter), pauses between steps while it is open, and at\n"
            "                    the end keeps the pad open so that its keys can be pressed on the page,\n"
            "                    until Enter or the end of standard input.\n",
            {"--port", "--model", "--web"}, {"--verbose"}, 0, 0},
    };
    return kCommands;
}

struct Args {
    const Command *command = nullptr;
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    bool Has(const std::string &option) const { return values.count(option) || flags.count(option); }
};

std::string g_command = "";

[[noreturn]] void UsageError(const std::string &message) {
    const std::string who = g_command.empty() ? "velumi" : "velumi " + g_command;
    std::fprintf(stderr, "%s: %s (see %s --help)\n", who.c_str(), message.c_str(), who.c_str());
    std::exit(2);
}

[[noreturn]] void Failure(const std::string &message) {
    const std::string who = g_command.empty() ? "velumi" : "velumi " + g_command;
    std::fprintf(stderr, "%s: %s\n", who.c_str(), message.c_str());
    std::exit(1);
}

void PrintHelp(const Command &c) {
    std::fputs(c.help, stdout);
    if (c.valueOptions.count("--port")) std::printf("\n%s", kPadOptions);
    if (c.valueOptions.count("--lang")) std::printf("\n%s", kLanguageHelp);
}

Args ParseArgs(int argc, char **argv) {
    Args a;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        std::exit(2);
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        if (name == "help" && argc > 2) {
            for (const Command &c : Commands())
                if (c.name == std::string(argv[2])) {
                    PrintHelp(c);
                    std::exit(0);
                }
            UsageError("unknown command '" + std::string(argv[2]) + "'");
        }
        std::fputs(kUsage, stdout);
        std::exit(0);
    }
    if (name == "--version") {
        std::printf("velumi %s\n", VELUMI_GET_SDK_VERSION());
        std::exit(0);
    }
    for (const Command &c : Commands())
        if (name == c.name) a.command = &c;
    if (!a.command)
        UsageError("unknown command '" + name +
                   "'; the commands are translate, show, show-ascii, "
                   "show-image, reset, info, page, image2tgx and demo");
    g_command = name;
    bool optionsEnd = false;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsEnd || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            a.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            PrintHelp(*a.command);
            std::exit(0);
        }
        std::string value;
        const bool hasValue = velumi_tools::SplitLongOption(arg, value);
        if (a.command->valueOptions.count(arg)) {
            if (!hasValue) {
                if (i + 1 >= argc) UsageError(arg + " needs a value");
                value = argv[++i];
            }
            a.values[arg] = value;
        } else if (a.command->flags.count(arg)) {
            if (hasValue) UsageError(arg + " takes no value");
            a.flags.insert(arg);
        } else {
            UsageError("unknown option '" + arg + "'");
        }
    }
    const int n = static_cast<int>(a.positional.size());
    if (n < a.command->minArgs) {
        if (name == "image2tgx") UsageError("needs an input PNG file and an output .tgx file");
        if (name == "show-image") UsageError("needs a graphics file (.tgx or .png)");
        UsageError("needs a text");
    }
    if (n > a.command->maxArgs)
        UsageError("unexpected argument '" + a.positional[a.command->maxArgs] + "'" +
                   (a.command->maxArgs == 1 && name != "show-image" ? "; quote a text with spaces" : ""));
    return a;
}

long ParseNumber(const std::string &option, const std::string &text, long low, long high, const char *what) {
    errno = 0;
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high)
        UsageError(option + " needs " + what + " from " + std::to_string(low) + " to " + std::to_string(high) +
                   ", not '" + text + "'");
    return value;
}

// Canonical model name ("QX-LINE"), or empty.
std::string ParseModel(const std::string &text) {
    auto squash = [](const std::string &s) {
        std::string out;
        for (char c : s)
            if (c != '-' && c != '_') out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        return out;
    };
    for (const std::string &m : padsim::ModelNames())
        if (squash(m) == squash(text)) return m;
    return "";
}

std::string ModelFromArgs(const Args &a) {
    auto it = a.values.find("--model");
    if (it == a.values.end()) return "TARN";
    const std::string m = ParseModel(it->second);
    if (m.empty())
        UsageError("unknown model '" + it->second +
                   "'; use ORIEL_WIDE, ORIEL, LINNET, TARN, WREN, QX-LINE, QX-SHORT or QY-SHORT");
    return m;
}

// A port given as a number (the SDK's port N) or a device path ("/dev/ttyUSB0",
// "/dev/serial/by-id/...", or "ttyUSB0" for /dev/ttyUSB0). False when neither.
bool ParsePort(const std::string &text, PadChoice &c) {
    if (text.find('/') != std::string::npos) {
        c.path = text;
        return true;
    }
    if (text.compare(0, 3, "tty") == 0 && text.size() > 3) {
        c.path = "/dev/" + text;
        return true;
    }
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int v = std::atoi(text.c_str());
    if (v < 1 || v > 255) return false;
    c.port = v;
    return true;
}

PadChoice ChoiceFromArgs(const Args &a) {
    PadChoice c;
    c.model = ModelFromArgs(a);
    c.modelGiven = a.values.count("--model") > 0;
    c.verbose = a.flags.count("--verbose") > 0;
    auto it = a.values.find("--port");
    if (it != a.values.end()) {
        if (!ParsePort(it->second, c))
            UsageError("--port needs a port number from 1 to 255 or a device path such as /dev/ttyUSB0, not '" +
                       it->second + "'");
    } else if (const char *env = std::getenv("VELUMI_PORT"); env && *env) {
        if (!ParsePort(env, c))
            UsageError(std::string("VELUMI_PORT='") + env +
                       "' is neither a port number (1-255) nor a device path; set it to one or unset it");
    }
    return c;
}

int LanguageFromArgs(const Args &a) {
    auto it = a.values.find("--lang");
    if (it == a.values.end()) return ENGLISH;
    const int code = ParseLanguage(it->second);
    if (code < 0)
        UsageError("unknown language '" + it->second +
                   "'; use a name such as english or french, an ISO code such as en or fr, or a number 1-25");
    return code;
}

bool GradeFromArgs(const Args &a, int &grade) {
    auto it = a.values.find("--grade");
    if (it == a.values.end()) return false;
    grade = static_cast<int>(ParseNumber("--grade", it->second, 0, 255, "a number"));
    const std::string problem = GradeProblem(LanguageFromArgs(a), grade);
    if (!problem.empty()) UsageError(problem);
    return true;
}

std::string ReadTextArgument(const std::string &arg) {
    if (arg != "-") return arg;
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    return text;
}

std::u16string ToUtf16(const std::string &text, const char *what) {
    // The SDK takes NUL-terminated text: everything after a NUL would be lost
    // without a word. Such input is not text (UTF-16 or binary, most likely).
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        UsageError(
            std::string(what) + " contains a NUL byte (at byte " + std::to_string(nul) + "); give plain UTF-8 text");
    std::u16string out;
    if (!Utf8ToUtf16(text, out)) UsageError(std::string(what) + " is not valid UTF-8; give the text in UTF-8");
    return out;
}

// Unicode braille for cell bytes, UTF-8 encoded.
std::string Braille(const std::vector<uint8_t> &cells) {
    std::string out;
    for (uint8_t c : cells) {
        const unsigned cp = 0x2800u + c;
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return out;
}

std::string Hex(const std::vector<uint8_t> &cells) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < cells.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s%02X", i ? " " : "", cells[i]);
        out += buf;
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string &text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// Prints what the pad's pins show: the graphics area and/or the braille line.
void PrintPins(const Pad &pad, bool graphics, bool braille, const char *indent = "  ") {
    if (!pad.Simulated()) {
        std::printf("%s(shown on the pad on %s; its pins cannot be read back)\n", indent, pad.Where().c_str());
        return;
    }
    const std::vector<std::string> rows = SplitLines(pad.Pins());
    if (graphics && pad.lines > 0) {
        std::printf("%sgraphics area, %d lines of %d cells:\n", indent, pad.lines, pad.cellsPerLine);
        for (int i = 0; i < pad.lines && i < static_cast<int>(rows.size()); ++i)
            std::printf("%s|%s|\n", indent, rows[i].c_str());
    }
    if (braille && pad.brailleCells > 0 && !rows.empty()) {
        std::printf("%sbraille line, %d cells:\n", indent, pad.brailleCells);
        std::printf("%s|%s|\n", indent, rows.back().c_str());
    }
    std::fflush(stdout);
}

Pad &OpenPad(const PadChoice &choice) {
    static Pad pad;
    std::string error;
    if (!pad.Open(choice, error)) {
        if (pad.Stuck()) {
            // The SDK is still inside init on another thread: leave without de-init.
            std::fflush(stdout);
            std::fprintf(stderr, "velumi %s: %s\n", g_command.c_str(), error.c_str());
            std::_Exit(1);
        }
        Failure(error);
    }
    return pad;
}

[[noreturn]] void Finish(Pad &pad, int status) {
    pad.Close();
    std::fflush(stdout);
    std::exit(status);
}

[[noreturn]] void PadFailure(Pad &pad, const std::string &message) {
    pad.Close();
    Failure(message);
}

std::string BrailleError(int r, int language) {
    if (r == VELUMI_ERROR_NO_BRAILLE_LINE) return "this pad model has no braille line; choose one with --model TARN";
    if (r == VELUMI_ERROR_TRANSLATOR_NOT_LOADED)
        return "liblouis is not loaded, so " + LanguageNameOf(language) + " cannot be translated; install liblouis20";
    if (r == VELUMI_ERROR_BRAILLE_NOT_TRANSLATE)
        return "the text could not be translated to " + LanguageNameOf(language) +
               " braille: liblouis failed on it, ran past its 5 s deadline, or lacks its table (the trace "
               "file says which); try another language or --translator engine";
    return "the pad did not show the text: " + ErrorText(r);
}

void WarnIfCut(const std::u16string &text) {
    if (text.size() > kSdkTextLimit)
        std::fprintf(stderr, "velumi %s: the text has %zu UTF-16 units; the SDK translates only the first %zu\n",
            g_command.c_str(), text.size(), kSdkTextLimit);
}

// ---- translate ----------------------------------------------------------

int TranslateOnPad(const Args &a) {
    const int language = LanguageFromArgs(a);
    int grade = 0;
    const bool gradeGiven = GradeFromArgs(a, grade);
    int width = 32;
    if (a.values.count("--width")) {
        width = static_cast<int>(ParseNumber("--width", a.values.at("--width"), 1, 255, "a width"));
        if (width != 12 && width != 20 && width != 32)
            UsageError(
                "--width must be 12, 20 or 32 (the braille lines of the pad models), not " + a.values.at("--width"));
    }
    const bool hex = a.flags.count("--hex") > 0;
    const std::string source = a.positional[0] == "-" ? "standard input" : "the text";
    const std::vector<std::u16string> paragraphs =
        Paragraphs(ToUtf16(ReadTextArgument(a.positional[0]), source.c_str()), 2000);
    if (paragraphs.empty()) UsageError("there is no text to translate in " + source);

    PadChoice choice;
    choice.model = width == 12 ? "QX-SHORT" : width == 20 ? "QX-LINE" : "TARN";
    choice.verbose = a.flags.count("--verbose") > 0;
    Pad &pad = OpenPad(choice);
    if (gradeGiven) {
        QuietStdout quiet(choice.verbose);
        VELUMI_SET_BRAILLE_LANGUAGE(language, grade);
    }
    std::vector<std::vector<uint8_t>> out;
    for (const std::u16string &text : paragraphs) {
        const int r = pad.Run([&] { return VELUMI_BRAILLE_DISPLAY(text.c_str(), language); });
        if (r != 0) PadFailure(pad, BrailleError(r, language));
        out.push_back(pad.BrailleLine());
        for (;;) {
            const int moved = pad.Page(0x2);
            if (moved == 0) break;
            if (moved != 1) PadFailure(pad, "paging failed: " + ErrorText(moved));
            out.push_back(pad.BrailleLine());
        }
    }
    pad.Close();
    for (const auto &line : out) std::printf("%s\n", hex ? Hex(line).c_str() : Braille(line).c_str());
    return 0;
}

// North American braille ASCII for a six-dot cell (dots 1-6 in bits 0-5).
char BrfChar(uint8_t cell) {
    static const char kBrf[65] = " A1B'K2L@CIF/MSP\"E3H9O6R^DJG>NTQ,*5<-U8V.%[$+X!&;:4\\0Z7(_?W]#Y)=";
    return kBrf[cell & 0x3F];
}

std::string FormatCells(const uint8_t *cells, size_t n, const std::string &format) {
    if (format == "hex") return Hex(std::vector<uint8_t>(cells, cells + n));
    if (format == "brf") {
        std::string out;
        for (size_t i = 0; i < n; ++i) out.push_back(BrfChar(cells[i]));
        return out;
    }
    return Braille(std::vector<uint8_t>(cells, cells + n));
}

int Translate(const Args &a) {
    if (a.flags.count("--on-pad")) {
        for (const char *o : {"--format", "--table", "--translator"})
            if (a.values.count(o)) UsageError(std::string(o) + " does not go with --on-pad");
        if (a.flags.count("--padded")) UsageError("--padded does not go with --on-pad (its lines are always full)");
        return TranslateOnPad(a);
    }
    const int language = LanguageFromArgs(a);
    int grade = 0;
    GradeFromArgs(a, grade);
    int width = 0;
    if (a.values.count("--width"))
        width = static_cast<int>(ParseNumber("--width", a.values.at("--width"), 0, 100000, "a number of cells"));
    std::string format = a.flags.count("--hex") ? "hex" : "unicode";
    if (a.values.count("--format")) {
        format = a.values.at("--format");
        if (format != "unicode" && format != "brf" && format != "hex")
            UsageError("--format must be unicode, brf or hex, not '" + format + "'");
    }
    VelumiTranslateOptions options{};
    options.language = language;
    options.option = grade;
    options.width = width;
    options.translator = VELUMI_TRANSLATOR_DEFAULT;
    if (a.values.count("--translator")) {
        const std::string &who = a.values.at("--translator");
        if (who == "engine") {
            if (!EngineHasLanguage(language))
                UsageError(
                    "the engine has no translator for " + LanguageNameOf(language) + "; use --translator liblouis");
            options.translator = VELUMI_TRANSLATOR_ENGINE;
        } else if (who == "liblouis") {
            if (!LouisHasLanguage(language) && !a.values.count("--table"))
                UsageError("the SDK has no liblouis table for " + LanguageNameOf(language) +
                           "; name one with --table or use --translator engine");
            options.translator = VELUMI_TRANSLATOR_LIBLOUIS;
        } else {
            UsageError("--translator must be engine or liblouis, not '" + who + "'");
        }
    }
    std::string tables;
    if (a.values.count("--table")) {
        tables = a.values.at("--table");
        if (tables.empty()) UsageError("--table needs a liblouis table list");
        if (options.translator == VELUMI_TRANSLATOR_ENGINE) UsageError("--table does not go with --translator engine");
        options.tables = tables.c_str();
    }
    const bool padded = a.flags.count("--padded") > 0;
    const bool verbose = a.flags.count("--verbose") > 0;
    if (!verbose) ::setenv("VELUMI_QUIET", "1", 1);
    const bool fromStdin = a.positional[0] == "-";
    if (!fromStdin && a.positional[0].empty()) UsageError("there is no text to translate in the text");

    std::vector<uint8_t> cells(4096);
    std::string out;
    long lineNumber = 0, firstLine = 0;
    size_t lineOffset = 0;  // byte offset of the line in standard input
    auto translateLine = [&](std::string line) {
        ++lineNumber;
        const size_t offset = lineOffset;
        lineOffset += line.size() + 1;
        // A NUL would end the text early in the translators: such input is not text.
        const size_t nul = line.find('\0');
        if (nul != std::string::npos)
            UsageError((fromStdin ? std::string("standard input") : std::string("the text")) +
                       " contains a NUL byte (at byte " + std::to_string(offset + nul) + "); give plain UTF-8 text");
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::u16string check;
        if (!Utf8ToUtf16(line, check))
            UsageError(
                (fromStdin ? "line " + std::to_string(lineNumber) + " of standard input" : std::string("the text")) +
                " is not valid UTF-8; give the text in UTF-8");
        out.clear();
        if (line.find_first_not_of(" \t\f\v") != std::string::npos) {
            if (firstLine == 0) firstLine = lineNumber;
            int count = 0;
            int r;
            {
                // The first translation loads the tables; liblouis reports a missing
                // table on standard error itself, so that one runs quietly.
                std::unique_ptr<QuietStdout> quiet;
                if (lineNumber == firstLine || verbose) quiet = std::make_unique<QuietStdout>(verbose);
                r = VELUMI_TRANSLATE(line.data(), static_cast<int>(line.size()), &options, cells.data(),
                    static_cast<int>(cells.size()), &count);
                if (r == 0 && count > static_cast<int>(cells.size())) {
                    cells.resize(static_cast<size_t>(count));
                    r = VELUMI_TRANSLATE(line.data(), static_cast<int>(line.size()), &options, cells.data(), count,
                        &count);
                }
            }
            if (r != 0) {
                std::fflush(stdout);
                if (!tables.empty() && r == VELUMI_ERROR_BRAILLE_NOT_TRANSLATE)
                    Failure("liblouis could not translate with the table list '" + tables +
                            "'; check the table names (in /usr/share/liblouis/tables)");
                Failure(BrailleError(r, language));
            }
            const size_t n = static_cast<size_t>(count);
            if (width <= 0) {
                out = FormatCells(cells.data(), n, format);
                out.push_back('\n');
            } else {
                for (size_t k = 0; k < n; k += static_cast<size_t>(width)) {
                    size_t len = std::min(n - k, static_cast<size_t>(width));
                    if (!padded)
                        while (len > 0 && cells[k + len - 1] == 0) --len;
                    out += FormatCells(cells.data() + k, len, format);
                    out.push_back('\n');
                }
            }
        } else {
            out = "\n";  // a blank line stays blank
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
    };
    if (fromStdin) {
        // Lines are read in large blocks; the output is flushed whenever no more
        // input is waiting, so a pipe sees each line as soon as it is translated.
        std::string pending;
        std::vector<char> block(1 << 16);
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, block.data(), block.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) Failure(std::string("cannot read standard input: ") + std::strerror(errno));
            if (n == 0) break;
            pending.append(block.data(), static_cast<size_t>(n));
            size_t start = 0;
            for (size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1)
                translateLine(pending.substr(start, nl - start));
            pending.erase(0, start);
            pollfd p = {STDIN_FILENO, POLLIN, 0};
            if (::poll(&p, 1, 0) == 0) std::fflush(stdout);
        }
        if (!pending.empty()) translateLine(pending);
    } else {
        const std::vector<std::string> lines = SplitLines(a.positional[0]);
        for (const std::string &line : lines) translateLine(line);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        Failure(std::string("cannot write the output: ") + std::strerror(errno));
    return 0;
}

// ---- show, show-ascii, show-image, reset, info ----------------------------

int Show(const Args &a) {
    const int language = LanguageFromArgs(a);
    int grade = 0;
    const bool gradeGiven = GradeFromArgs(a, grade);
    // "-": the text from standard input, its lines joined as one paragraph.
    std::u16string text;
    if (a.positional[0] == "-") {
        for (const std::u16string &p : Paragraphs(ToUtf16(ReadTextArgument("-"), "standard input"), SIZE_MAX / 2))
            text += (text.empty() ? u"" : u" ") + p;
        if (text.empty()) UsageError("there is no text on standard input");
    } else {
        text = ToUtf16(a.positional[0], "the text");
    }
    WarnIfCut(text);
    const PadChoice choice = ChoiceFromArgs(a);
    Pad &pad = OpenPad(choice);
    if (gradeGiven) {
        QuietStdout quiet(choice.verbose);
        VELUMI_SET_BRAILLE_LANGUAGE(language, grade);
    }
    const int r = pad.Run([&] { return VELUMI_BRAILLE_DISPLAY(text.c_str(), language); });
    if (r != 0) PadFailure(pad, BrailleError(r, language));
    std::printf("VELUMI_BRAILLE_DISPLAY (%s):\n", LanguageNameOf(language).c_str());
    PrintPins(pad, false, true);
    Finish(pad, 0);
}

int ShowAscii(const Args &a) {
    std::string text = ReadTextArgument(a.positional[0]);
    if (a.positional[0] == "-")
        for (char &c : text)
            if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    while (a.positional[0] == "-" && !text.empty() && text.back() == ' ') text.pop_back();
    const PadChoice choice = ChoiceFromArgs(a);
    Pad &pad = OpenPad(choice);
    const int r = pad.Run([&] { return VELUMI_BRAILLE_ASCII_DISPLAY(text.c_str()); });
    if (r != 0) PadFailure(pad, BrailleError(r, ENGLISH));
    std::printf("VELUMI_BRAILLE_ASCII_DISPLAY:\n");
    PrintPins(pad, false, true);
    Finish(pad, 0);
}

ConvertOptions ConvertFromArgs(const Args &a) {
    ConvertOptions o = ConvertOptions::Auto();
    if (a.values.count("--threshold") && a.values.at("--threshold") != "auto")
        o.threshold =
            static_cast<int>(ParseNumber("--threshold", a.values.at("--threshold"), 0, 256, "'auto' or a luminance"));
    o.invert = a.flags.count("--invert") > 0;
    if (a.values.count("--conversion")) {
        const std::string &c = a.values.at("--conversion");
        if (c == "lines") o.conversion = Conversion::Lines;
        else if (c == "average") o.conversion = Conversion::Average;
        else if (c == "dither") o.conversion = Conversion::Dither;
        else UsageError("--conversion must be lines, average or dither, not '" + c + "'");
    }
    return o;
}

// Converts a picture for the graphics area and warns on standard error when the
// result raises no pins or nearly all of them.
std::vector<uint8_t> Convert(const Image &image, int lines, int cells, const ConvertOptions &options,
    ConvertStats &stats) {
    std::vector<uint8_t> data = ImageToCells(image, lines, cells, options, &stats);
    const std::string warning = ConversionWarning(stats, options);
    if (!warning.empty()) std::fprintf(stderr, "velumi %s: warning: %s\n", g_command.c_str(), warning.c_str());
    return data;
}

bool IsPng(const std::string &bytes) {
    static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kPng, 8) == 0;
}

int ShowImage(const Args &a) {
    const std::string path = a.positional[0];
    const ConvertOptions convert = ConvertFromArgs(a);
    // Check the file before starting a pad.
    Image image;
    int fileLines = 0, fileCells = 0;
    std::string error;
    // Only a regular file is read (a pipe or device would hold the tool).
    std::string head;
    uint64_t size = 0;
    if (!ReadRegularFile(path, 8, head, size, error)) Failure(error + "; check the file name");
    const bool png = IsPng(head);
    if (png ? !ReadPng(path, image, error) : !ReadTgxHeader(path, fileLines, fileCells, error))
        Failure(error + "; give a .tgx file made by velumi image2tgx, or a PNG picture");

    const PadChoice choice = ChoiceFromArgs(a);
    Pad &pad = OpenPad(choice);
    const std::string model = pad.deviceName.empty() ? "this" : "the " + pad.deviceName;
    if (pad.lines <= 0) PadFailure(pad, model + " pad has no graphics area; choose one with --model TARN");
    int r;
    bool blank = false;
    if (png) {
        ConvertStats stats;
        const std::vector<uint8_t> cells = Convert(image, pad.lines, pad.cellsPerLine, convert, stats);
        blank = stats.raised == 0;
        r = pad.Run([&] { return VELUMI_DISPLAY_DATA(cells.data(), static_cast<int>(cells.size()), 0); });
    } else {
        if (fileLines != pad.lines || fileCells != pad.cellsPerLine)
            PadFailure(pad, "'" + path + "' is made for " + std::to_string(fileLines) + " lines of " +
                                std::to_string(fileCells) + " cells, but " + model + " pad has " +
                                std::to_string(pad.lines) + " lines of " + std::to_string(pad.cellsPerLine) +
                                " cells" + "; convert the picture with velumi image2tgx --model " + pad.deviceName);
        r = pad.Run([&] { return VELUMI_DISPLAY(path.c_str()); });
    }
    if (r == VELUMI_ERROR_DISPLAY_NO_CHANGE) {
        std::printf("%s: %s\n", png ? "VELUMI_DISPLAY_DATA" : "VELUMI_DISPLAY",
            blank ? "the converted picture raises no pins; the graphics area stays blank"
                  : "the pad already shows this picture");
    } else if (r != 0) {
        PadFailure(pad, "the pad did not show '" + path + "': " + ErrorText(r));
    } else {
        std::printf("%s:\n", png ? "VELUMI_DISPLAY_DATA" : "VELUMI_DISPLAY");
    }
    PrintPins(pad, true, false);
    Finish(pad, 0);
}

int Reset(const Args &a) {
    Pad &pad = OpenPad(ChoiceFromArgs(a));
    if (pad.brailleCells > 0) {
        const int r = pad.Run([] { return VELUMI_RESET_BRAILLE_DISPLAY(); });
        if (r != 0) PadFailure(pad, "the braille line was not cleared: " + ErrorText(r));
    }
    if (pad.lines > 0) {
        const int r = pad.Run([] { return VELUMI_RESET_DISPLAY(); });
        if (r != 0 && r != VELUMI_ERROR_DISPLAY_NO_CHANGE)
            PadFailure(pad, "the graphics area was not cleared: " + ErrorText(r));
    }
    std::printf("VELUMI_RESET_BRAILLE_DISPLAY, VELUMI_RESET_DISPLAY:\n");
    PrintPins(pad, true, true);
    Finish(pad, 0);
}

void PrintFacts(const Pad &pad, const char *indent) {
    std::printf("%sSDK version:      %s\n", indent, VELUMI_GET_SDK_VERSION());
    std::printf("%sport:             %d (%s)%s\n", indent, pad.Port(), pad.PortName().c_str(),
        pad.Simulated() ? ", the simulated pad" : "");
    std::printf("%sdevice name:      %s\n", indent, pad.deviceName.c_str());
    std::printf("%sfirmware version: %s\n", indent, pad.firmwareVersion.c_str());
    if (pad.lines > 0)
        std::printf("%sgraphics area:    %d lines of %d cells (%d x %d pins)\n", indent, pad.lines, pad.cellsPerLine,
            pad.cellsPerLine * 2, pad.lines * 4);
    else std::printf("%sgraphics area:    none\n", indent);
    if (pad.brailleCells > 0) std::printf("%sbraille line:     %d cells\n", indent, pad.brailleCells);
    else std::printf("%sbraille line:     none\n", indent);
}

int Info(const Args &a) {
    Pad &pad = OpenPad(ChoiceFromArgs(a));
    PrintFacts(pad, "");
    Finish(pad, 0);
}

// ---- page ------------------------------------------------------------------

// The terminal's settings while `page` reads keys in raw mode; restored at any
// exit, including the error paths that call std::exit, and on stop signals.
struct TerminalMode {
    static void Raw(int fd) {
        if (tcgetattr(fd, &saved) != 0) return;
        termios raw = saved;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        if (tcsetattr(fd, TCSANOW, &raw) != 0) return;
        terminal = fd;
        active = true;
        std::atexit(Restore);
        RestoreTerminalOnSignal(fd, &saved);
    }
    static void Restore() {
        if (active) tcsetattr(terminal, TCSANOW, &saved);
        active = false;
    }
    static inline int terminal = -1;
    static inline termios saved{};
    static inline bool active = false;
};

enum class Key { None, Next, Previous, Quit, Unknown };

// Turns terminal bytes into keys: arrows (ESC [ C/D, ESC O C/D), n/p/q, Ctrl-C, Ctrl-D.
class KeyDecoder {
public:
    Key Feed(unsigned char c) {
        if (state_ == 1) {
            state_ = (c == '[' || c == 'O') ? 2 : 0;
            return state_ ? Key::None : Key::Unknown;
        }
        if (state_ == 2) {
            if (c >= '0' && c <= '9') return Key::None;  // parameters of a longer sequence
            state_ = 0;
            if (c == 'C') return Key::Next;
            if (c == 'D') return Key::Previous;
            return Key::None;
        }
        switch (c) {
        case 0x1B: state_ = 1; return Key::None;
        case 'n':
        case 'N':
        case ' ': return Key::Next;
        case 'p':
        case 'P': return Key::Previous;
        case 'q':
        case 'Q':
        case 0x03:
        case 0x04: return Key::Quit;
        case '\r':
        case '\n': return Key::None;
        default: return Key::Unknown;
        }
    }

private:
    int state_ = 0;
};

Key LineCommand(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    line = start == std::string::npos ? "" : line.substr(start);
    for (char &c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (line.empty()) return Key::None;
    if (line == "n" || line == "next" || line == "right") return Key::Next;
    if (line == "p" || line == "prev" || line == "previous" || line == "left") return Key::Previous;
    if (line == "q" || line == "quit") return Key::Quit;
    return Key::Unknown;
}

void PrintWindow(const Pad &pad, int page, const char *how) {
    if (page > 0) std::printf("page %d%s", page, how);
    else std::printf("page%s", how);
    if (pad.Simulated()) std::printf(": |%s|\n", Braille(pad.BrailleLine()).c_str());
    else std::printf(" (shown on the pad on %s)\n", pad.Where().c_str());
    std::fflush(stdout);
}

// Packs paragraphs, joined by a space, into pieces the SDK translates whole
// (at most kSdkTextLimit UTF-16 units each, cut at spaces).
std::vector<std::u16string> Pieces(const std::vector<std::u16string> &paragraphs) {
    std::vector<std::u16string> pieces;
    std::u16string current;
    for (const std::u16string &p : paragraphs) {
        if (!current.empty() && current.size() + 1 + p.size() > kSdkTextLimit) {
            pieces.push_back(current);
            current.clear();
        }
        current += (current.empty() ? u"" : u" ") + p;
    }
    if (!current.empty()) pieces.push_back(current);
    return pieces;
}

int Page(const Args &a) {
    const int language = LanguageFromArgs(a);
    int grade = 0;
    const bool gradeGiven = GradeFromArgs(a, grade);
    const bool fromStdin = a.positional[0] == "-";
    std::string raw = ReadTextArgument(a.positional[0]);
    // Any length: the document is shown in pieces the SDK takes whole, and paging
    // past the end of one piece shows the next.
    const std::vector<std::u16string> pieces =
        Pieces(Paragraphs(ToUtf16(raw, fromStdin ? "standard input" : "the text"), kSdkTextLimit));
    if (pieces.empty()) UsageError("there is no text to page through");
    int input = STDIN_FILENO;
    if (fromStdin) {
        // The text came on standard input: the keys come from the terminal.
        input = ::open("/dev/tty", O_RDONLY | O_CLOEXEC);
        if (input < 0)
            UsageError("with the text on standard input, the keys are read from the terminal, but there is none");
    }

    const PadChoice choice = ChoiceFromArgs(a);
    Pad &pad = OpenPad(choice);
    if (gradeGiven) {
        QuietStdout quiet(choice.verbose);
        VELUMI_SET_BRAILLE_LANGUAGE(language, grade);
    }
    size_t piece = 0;
    std::vector<int> windows(pieces.size(), 0);  // windows of each piece, once known
    int window = 0;  // window within the piece; -1 when the pad's key moved it
    auto showPiece = [&](size_t k) {
        const int r = pad.Run([&] { return VELUMI_BRAILLE_DISPLAY(pieces[k].c_str(), language); });
        if (r != 0) PadFailure(pad, BrailleError(r, language));
        piece = k;
        window = 0;
    };
    showPiece(0);
    // Display callbacks beyond this count come from the pad's own page keys.
    uint64_t seen = pad.DisplayCount();
    int page = 1;
    PrintWindow(pad, page, "");

    const bool tty = ::isatty(input) != 0;
    if (tty) {
        TerminalMode::Raw(input);
        std::fprintf(stderr, "velumi page: right arrow or n: next line, left arrow or p: previous line, q: quit\n");
    }
    // One step; false when there is nothing more in that direction.
    auto step = [&](bool next) -> bool {
        const bool atEnd = next ? (window >= 0 && windows[piece] > 0 && window == windows[piece] - 1) : window == 0;
        if (!atEnd) {
            const int moved = pad.Page(next ? 0x2 : 0x1);
            if (moved < 0 || moved > 1) PadFailure(pad, "paging failed: " + ErrorText(moved));
            if (moved == 1) {
                if (window >= 0) window += next ? 1 : -1;
                return true;
            }
            // Refused: the window is at the first or last line of this piece.
            if (next && window >= 0) windows[piece] = window + 1;
            if (!next) window = 0;
        }
        if (next) {
            if (piece + 1 >= pieces.size()) return false;
            if (window < 0) page = 0;  // where the pad's keys left the window is not known
            showPiece(piece + 1);
            return true;
        }
        if (piece == 0) return false;
        showPiece(piece - 1);
        // To the last window of the previous piece (its window count is known: it was paged through).
        const int last = std::max(windows[piece], 1) - 1;
        for (int i = 0; i < last; ++i)
            if (pad.Page(0x2) != 1) PadFailure(pad, "paging failed");
        window = last;
        return true;
    };
    KeyDecoder decoder;
    std::string pending;
    bool quit = false;
    while (!quit) {
        pollfd fds[2] = {{input, POLLIN, 0}, {pad.DisplayEventFd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents & POLLIN) {
            pad.DrainDisplayEvents();
            if (pad.DisplayCount() > seen) {
                // Shown without a key of ours: the pad's own page key moved the window.
                seen = pad.DisplayCount();
                page = 0;
                window = -1;
                PrintWindow(pad, page, " (moved by the pad's key)");
            }
        }
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buf[256];
        const ssize_t n = ::read(input, buf, sizeof buf);
        if (n <= 0) break;  // end of input: quit
        std::vector<Key> keys;
        if (tty) {
            for (ssize_t i = 0; i < n; ++i) keys.push_back(decoder.Feed(static_cast<unsigned char>(buf[i])));
        } else {
            pending.append(buf, static_cast<size_t>(n));
            for (size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
                keys.push_back(LineCommand(pending.substr(0, nl)));
                pending.erase(0, nl + 1);
            }
        }
        for (Key k : keys) {
            if (k == Key::Quit) {
                quit = true;
                break;
            }
            if (k == Key::Unknown) {
                std::fprintf(stderr, "velumi page: unknown key; use the arrow keys, n, p or q\n");
                continue;
            }
            if (k == Key::None) continue;
            const bool next = k == Key::Next;
            const bool moved = step(next);
            seen = pad.DisplayCount();
            if (moved) {
                if (page > 0) page += next ? 1 : -1;
                PrintWindow(pad, page, "");
            } else {
                std::printf("%s\n", next ? "(last line: no next page)" : "(first line: no previous page)");
                std::fflush(stdout);
            }
        }
    }
    TerminalMode::Restore();
    if (input != STDIN_FILENO) ::close(input);
    Finish(pad, 0);
}

// ---- image2tgx -------------------------------------------------------------

int Image2Tgx(const Args &a) {
    const std::string model = ModelFromArgs(a);
    const ConvertOptions convert = ConvertFromArgs(a);
    int lines = 0, cells = 0, braille = 0;
    padsim::ModelGeometry(model, lines, cells, braille);
    if (lines <= 0 || cells <= 0)
        UsageError("the " + model + " has no graphics area; use ORIEL_WIDE, ORIEL, LINNET, TARN or WREN");
    Image image;
    std::string error;
    if (a.positional[1] != "-" && !CheckOutput(a.positional[0], a.positional[1], error)) Failure(error);
    if (!ReadPng(a.positional[0], image, error)) Failure(error + "; give a PNG picture");
    ConvertStats stats;
    const std::vector<uint8_t> data = Convert(image, lines, cells, convert, stats);
    const bool toStdout = a.positional[1] == "-";
    if (toStdout) {
        // The file on standard output, the summary on standard error.
        const std::vector<uint8_t> tgx = MakeTgx(lines, cells, data);
        if (std::fwrite(tgx.data(), 1, tgx.size(), stdout) != tgx.size() || std::fflush(stdout) != 0)
            Failure(std::string("cannot write to standard output: ") + std::strerror(errno));
    } else if (!WriteFile(a.positional[1], MakeTgx(lines, cells, data), error)) {
        Failure(error);
    }
    std::fprintf(toStdout ? stderr : stdout,
        "%s: %d x %d pixels -> %s, %d lines of %d cells for %s, %d pins raised (threshold %d)\n",
        a.positional[0] == "-" ? "standard input" : a.positional[0].c_str(), image.width, image.height,
        toStdout ? "standard output" : a.positional[1].c_str(), lines, cells, model.c_str(), stats.raised,
        stats.threshold);
    return 0;
}

// ---- demo ------------------------------------------------------------------

std::string FindDemoPicture() {
    std::vector<std::string> candidates;
    char exe[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", exe, PATH_MAX);
    if (n > 0) {
        exe[n] = '\0';
        std::string dir = exe;
        dir = dir.substr(0, dir.rfind('/'));
        candidates.push_back(dir + "/demo.png");
        candidates.push_back(dir + "/../share/velumi/demo.png");
    }
#ifdef VELUMI_TOOL_SOURCE_DIR
    candidates.push_back(VELUMI_TOOL_SOURCE_DIR "/demo.png");
#endif
    for (const std::string &c : candidates)
        if (::access(c.c_str(), R_OK) == 0) return c;
    return "";
}

// The demo's web view: the simulated pad as a live page (--web).
class DemoWeb {
public:
    explicit DemoWeb(const Args &a) {
        auto it = a.values.find("--web");
        if (it == a.values.end()) return;
        std::string error;
        if (!padsim::ParseWebAddress(it->second, options_.address, options_.port, error))
            UsageError("--web: " + error);
        wanted_ = true;
    }
    bool Wanted() const { return wanted_; }

    // Starts the view on the pad's simulator and waits for a viewer (or Enter, or
    // the end of standard input).
    void Start(Pad &pad) {
        if (!wanted_) return;
        view_ = std::make_unique<padsim::WebView>(*pad.Simulator());
        std::string error;
        if (!view_->Start(options_, error)) PadFailure(pad, "--web: " + error);
        std::printf("The pad's web view: %s\n", view_->Url().c_str());
        std::printf("Open it in a browser; the demo starts when the page is open (or on Enter).\n\n");
        std::fflush(stdout);
        while (view_->StreamsOpened() == 0 && !InputLine(100)) {
        }
    }
    // Gives a viewer time to see a step.
    void Pause() const {
        if (view_ && view_->StreamCount() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }
    // Keeps the pad open for its keys until Enter or the end of input, printing
    // the key callbacks and the braille line the pad's page keys move to.
    void Linger(Pad &pad) {
        if (!view_) return;
        VELUMI_REGISTER_KEY_CALLBACK(OnKey);
        std::printf(
            "The pad stays open: press its keys on the page (the page keys page the braille line).\n"
            "Enter ends the demo.\n\n");
        std::fflush(stdout);
        pad.DrainDisplayEvents();
        for (;;) {
            pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {pad.DisplayEventFd(), POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[1].revents & POLLIN) {
                pad.DrainDisplayEvents();
                if (pad.brailleCells > 0)
                    std::printf("   the pad's page key moved the braille line: |%s|\n",
                        Braille(pad.BrailleLine()).c_str());
                std::fflush(stdout);
            }
            if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) && InputLine(0)) break;
        }
        VELUMI_REGISTER_KEY_CALLBACK(nullptr);
    }
    void Stop() {
        if (view_) view_->Stop();
        view_.reset();
    }

private:
    // True when a line (or the end of input) was read within `ms`.
    static bool InputLine(int ms) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) return false;
        char buf[256];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        return n <= 0 || std::memchr(buf, '\n', static_cast<size_t>(n)) != nullptr;
    }
    static void OnKey(int key) {
        // Runs on the SDK's receive thread.
        std::printf("   key callback: %d%s\n", key,
            key >= 0 && key <= 3       ? (" (F" + std::to_string(key + 1) + ")").c_str()
            : key == 100 || key == 200 ? " (Perkins key)"
                                       : "");
        std::fflush(stdout);
    }

    padsim::WebOptions options_;
    bool wanted_ = false;
    std::unique_ptr<padsim::WebView> view_;
};

int Demo(const Args &a) {
    const PadChoice choice = ChoiceFromArgs(a);
    DemoWeb web(a);
    if (web.Wanted() && choice.port != 0)
        UsageError("--web shows the simulated pad; it cannot be used with --port or $VELUMI_PORT");
    const std::string picture = FindDemoPicture();
    if (picture.empty()) Failure("the demo picture demo.png is missing beside velumi; rebuild or reinstall the tool");
    Image image;
    std::string error;
    if (!ReadPng(picture, image, error)) Failure(error);

    if (choice.port == 0 && choice.path.empty())
        std::printf("Velumi demo on the simulated %s pad, started in this process on a pseudo-terminal\n\n",
            choice.model.c_str());
    else
        std::printf("Velumi demo on the pad on %s\n\n",
            choice.path.empty() ? ("port " + std::to_string(choice.port) + " (" + PortPath(choice.port) + ")").c_str()
                                : choice.path.c_str());
    std::fflush(stdout);
    Pad &pad = OpenPad(choice);
    web.Start(pad);

    std::printf("1. VELUMI_INIT(%d): the pad is open; init cleared its pins\n", pad.Port());
    PrintFacts(pad, "   ");
    PrintPins(pad, false, true, "   ");
    std::printf("\n");
    web.Pause();
    int step = 2;

    if (pad.lines > 0) {
        const std::vector<uint8_t> cells = ImageToCells(image, pad.lines, pad.cellsPerLine, ConvertOptions{});
        char tmpl[] = "/tmp/velumi-demo-XXXXXX.tgx";
        const int fd = ::mkstemps(tmpl, 4);
        if (fd < 0) PadFailure(pad, std::string("cannot create a temporary file: ") + std::strerror(errno));
        ::close(fd);
        const std::string tgx = tmpl;
        if (!WriteFile(tgx, MakeTgx(pad.lines, pad.cellsPerLine, cells), error)) {
            ::unlink(tgx.c_str());
            PadFailure(pad, error);
        }
        const int r = pad.Run([&] { return VELUMI_DISPLAY(tgx.c_str()); });
        ::unlink(tgx.c_str());
        if (r != 0) PadFailure(pad, "the picture was not shown: " + ErrorText(r));
        std::printf(
            "%d. A picture: demo.png (%d x %d pixels) converted to a _tgx_ file of %d lines of %d cells\n"
            "   and shown with VELUMI_DISPLAY\n",
            step++, image.width, image.height, pad.lines, pad.cellsPerLine);
        PrintPins(pad, true, false, "   ");
        std::printf("\n");
        web.Pause();
    }

    if (pad.brailleCells > 0) {
        const char16_t text[] = u"Hello from Velumi! This line of English braille is longer than the braille line.";
        {
            QuietStdout quiet(choice.verbose);
            VELUMI_SET_BRAILLE_LANGUAGE(ENGLISH, 1);
        }
        const int r = pad.Run([&] { return VELUMI_BRAILLE_DISPLAY(text, ENGLISH); });
        if (r != 0) PadFailure(pad, BrailleError(r, ENGLISH));
        std::printf(
            "%d. English braille, uncontracted: VELUMI_SET_BRAILLE_LANGUAGE(ENGLISH, 1), then\n"
            "   VELUMI_BRAILLE_DISPLAY:\n"
            "   \"Hello from Velumi! This line of English braille is longer than the braille line.\"\n",
            step++);
        PrintPins(pad, false, true, "   ");
        std::printf("\n");
        web.Pause();
        const int moved = pad.Page(0x2);
        if (moved < 0 || moved > 1) PadFailure(pad, "paging failed: " + ErrorText(moved));
        std::printf("%d. The next page with VELUMI_SEND_KEY(0x2), as the pad's next-page key does:\n", step++);
        if (moved == 1) PrintPins(pad, false, true, "   ");
        else std::printf("   (the text fits one line: no next page)\n");
        std::printf("\n");
    }

    web.Linger(pad);
    web.Stop();
    const int r = pad.Close();
    std::printf("%d. VELUMI_DEINIT: %s\n", step, r == 0 ? "the pad is closed" : ErrorText(r).c_str());
    return r == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    const Args a = ParseArgs(argc, argv);
    const std::string name = a.command->name;
    if (name == "translate") return Translate(a);
    if (name == "show") return Show(a);
    if (name == "show-ascii") return ShowAscii(a);
    if (name == "show-image") return ShowImage(a);
    if (name == "reset") return Reset(a);
    if (name == "info") return Info(a);
    if (name == "page") return Page(a);
    if (name == "image2tgx") return Image2Tgx(a);
    if (name == "demo") return Demo(a);
    return 2;
}
