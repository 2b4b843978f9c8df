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
    "  translate TEXT|-      print the braille of a text as Unicode braille (or --hex cell bytes)\n"
    "  show TEXT             show a text in braille on the pad's braille line\n"
    "  show-ascii TEXT       show text written in braille ASCII on the braille line\n"
    "  show-image FILE       show a _tgx_ graphics file or a PNG picture on the graphics area\n"
    "  reset                 clear the braille line and the graphics area\n"
    "  info                  print the SDK version and the pad's name, firmware and geometry\n"
    "  page TEXT|-           page through a long text on the braille line with the arrow keys\n"
    "  image2tgx IN.png OUT.tgx   convert a PNG picture to a _tgx_ graphics file\n"
    "  demo                  a short demo of the SDK on the simulated pad (or a real one)\n"
    "\n"
    "Without --port (or the environment variable VELUMI_PORT) the commands that use a pad start\n"
    "the simulated pad in this process and print what its pins show after each operation.\n"
    "Port N opens $VELUMI_PORT_DIR/comN when that variable is set, else /dev/ttyS(N-1).\n"
    "\n"
    "'velumi COMMAND --help' describes a command. Exit status: 0 success, 1 failure, 2 bad usage.\n";

const char kPadOptions[] =
    "Pad:\n"
    "  --port N          use the pad on serial port N (default: $VELUMI_PORT, else the simulated pad)\n"
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
         "Usage: velumi translate [--lang NAME|CODE] [--grade N] [--width CELLS] [--hex] TEXT|-\n"
         "Prints the braille of TEXT (or of standard input for -) as the SDK translates it, one output\n"
         "line per braille line, as Unicode braille (U+2800 + cell byte) or with --hex as cell bytes.\n"
         "The text is shown on a simulated pad started in-process and paged through line by line.\n"
         "Lines of the input are joined into paragraphs; an empty line starts a new paragraph, and each\n"
         "paragraph starts a new braille line.\n"
         "\n"
         "  --lang NAME|CODE  language (default english)\n"
         "  --grade N         the language's option, see below\n"
         "  --width CELLS     braille line width: 12, 20 or 32 (default 32), the braille lines of the\n"
         "                    pad models; the SDK wraps words for the model's line\n"
         "  --hex             print cell bytes in hexadecimal instead of Unicode braille\n"
         "  --verbose         pass the SDK's diagnostic lines through (to standard error)\n",
         {"--lang", "--grade", "--width"},
         {"--hex", "--verbose"},
         1,
         1},
        {"show",
         "Usage: velumi show [--lang NAME|CODE] [--grade N] [PAD OPTION]... TEXT\n"
         "Translates TEXT and shows its first braille line on the pad (VELUMI_BRAILLE_DISPLAY).\n",
         {"--lang", "--grade", "--port", "--model"},
         {"--verbose"},
         1,
         1},
        {"show-ascii",
         "Usage: velumi show-ascii [PAD OPTION]... TEXT\n"
         "Shows TEXT, written in North American braille ASCII, on the braille line\n"
         "(VELUMI_BRAILLE_ASCII_DISPLAY).\n",
         {"--port", "--model"},
         {"--verbose"},
         1,
         1},
        {"show-image",
         "Usage: velumi show-image [--threshold N] [--invert] [PAD OPTION]... FILE\n"
         "Shows a _tgx_ graphics file (VELUMI_DISPLAY) or a PNG picture, converted for the pad's\n"
         "graphics area as image2tgx does (VELUMI_DISPLAY_DATA).\n"
         "\n"
         "  --threshold N     PNG only: luminance below N (0-256, default 128) raises a pin\n"
         "  --invert          PNG only: light pixels raise the pins\n",
         {"--threshold", "--port", "--model"},
         {"--invert", "--verbose"},
         1,
         1},
        {"reset",
         "Usage: velumi reset [PAD OPTION]...\n"
         "Clears the braille line and the graphics area.\n",
         {"--port", "--model"},
         {"--verbose"},
         0,
         0},
        {"info",
         "Usage: velumi info [PAD OPTION]...\n"
         "Prints the SDK version, the port, the pad's device name, firmware version and geometry.\n",
         {"--port", "--model"},
         {"--verbose"},
         0,
         0},
        {"page",
         "Usage: velumi page [--lang NAME|CODE] [--grade N] [PAD OPTION]... TEXT|-\n"
         "Shows TEXT (or standard input for -) on the braille line and pages through it: right arrow\n"
         "or n for the next line, left arrow or p for the previous one, q to quit. From a terminal the\n"
         "keys act at once; otherwise the commands are read line by line from standard input (n, p, q),\n"
         "and the end of the input quits. The pad's own page keys page the text too.\n"
         "Each window is printed as it is shown.\n",
         {"--lang", "--grade", "--port", "--model"},
         {"--verbose"},
         1,
         1},
        {"image2tgx",
         "Usage: velumi image2tgx [--model NAME] [--threshold N] [--invert] IN.png OUT.tgx\n"
         "Converts a PNG picture into a _tgx_ graphics file for the model's graphics area: the picture\n"
         "is scaled to the pin matrix (2 pins per cell across, 4 down) keeping its aspect ratio, and\n"
         "centred. A pin is raised where the picture is darker than the threshold; transparent pixels\n"
         "are background.\n"
         "\n"
         "An existing OUT.tgx is replaced when it is a regular file (keeping its permissions); the\n"
         "file is written beside it under a temporary name and renamed into place, so a failed\n"
         "conversion leaves it unchanged. OUT.tgx may not be IN.png itself, a link, a folder, a\n"
         "device or a pipe.\n"
         "\n"
         "  --model NAME      ORIEL_WIDE, ORIEL, LINNET, TARN (default), WREN\n"
         "  --threshold N     luminance below N (0-256, default 128) raises a pin\n"
         "  --invert          light pixels raise the pins instead of dark ones\n",
         {"--model", "--threshold"},
         {"--invert"},
         2,
         2},
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
         {"--port", "--model", "--web"},
         {"--verbose"},
         0,
         0},
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
    if (!a.command) UsageError("unknown command '" + name + "'; the commands are translate, show, show-ascii, "
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
        bool hasValue = false;
        const size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
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

PadChoice ChoiceFromArgs(const Args &a) {
    PadChoice c;
    c.model = ModelFromArgs(a);
    c.modelGiven = a.values.count("--model") > 0;
    c.verbose = a.flags.count("--verbose") > 0;
    auto it = a.values.find("--port");
    if (it != a.values.end()) {
        c.port = static_cast<int>(ParseNumber("--port", it->second, 1, 255, "a port number"));
    } else if (const char *env = std::getenv("VELUMI_PORT"); env && *env) {
        char *end = nullptr;
        errno = 0;
        const long v = std::strtol(env, &end, 10);
        if (*end != '\0' || errno != 0 || v < 1 || v > 255)
            UsageError(std::string("VELUMI_PORT='") + env + "' is not a port number; set it to 1-255 or unset it");
        c.port = static_cast<int>(v);
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
        UsageError(std::string(what) + " contains a NUL byte (at byte " + std::to_string(nul) +
                   "); give plain UTF-8 text");
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
        std::printf("%s(shown on the pad on port %d; its pins cannot be read back)\n", indent, pad.Port());
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
    if (!pad.Open(choice, error)) Failure(error);
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
               " braille (is its liblouis table installed?); try another language";
    return "the pad did not show the text: " + ErrorText(r);
}

void WarnIfCut(const std::u16string &text) {
    if (text.size() > kSdkTextLimit)
        std::fprintf(stderr, "velumi %s: the text has %zu UTF-16 units; the SDK translates only the first %zu\n",
                     g_command.c_str(), text.size(), kSdkTextLimit);
}

// ---- translate ----------------------------------------------------------

int Translate(const Args &a) {
    const int language = LanguageFromArgs(a);
    int grade = 0;
    const bool gradeGiven = GradeFromArgs(a, grade);
    int width = 32;
    if (a.values.count("--width")) {
        width = static_cast<int>(ParseNumber("--width", a.values.at("--width"), 1, 255, "a width"));
        if (width != 12 && width != 20 && width != 32)
            UsageError("--width must be 12, 20 or 32 (the braille lines of the pad models), not " +
                       a.values.at("--width"));
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

// ---- show, show-ascii, show-image, reset, info ----------------------------

int Show(const Args &a) {
    const int language = LanguageFromArgs(a);
    int grade = 0;
    const bool gradeGiven = GradeFromArgs(a, grade);
    const std::u16string text = ToUtf16(a.positional[0], "the text");
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
    const std::string text = a.positional[0];
    const PadChoice choice = ChoiceFromArgs(a);
    Pad &pad = OpenPad(choice);
    const int r = pad.Run([&] { return VELUMI_BRAILLE_ASCII_DISPLAY(text.c_str()); });
    if (r != 0) PadFailure(pad, BrailleError(r, ENGLISH));
    std::printf("VELUMI_BRAILLE_ASCII_DISPLAY:\n");
    PrintPins(pad, false, true);
    Finish(pad, 0);
}

ConvertOptions ConvertFromArgs(const Args &a) {
    ConvertOptions o;
    if (a.values.count("--threshold"))
        o.threshold = static_cast<int>(ParseNumber("--threshold", a.values.at("--threshold"), 0, 256, "a luminance"));
    o.invert = a.flags.count("--invert") > 0;
    return o;
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
    if (png) {
        const std::vector<uint8_t> cells = ImageToCells(image, pad.lines, pad.cellsPerLine, convert);
        r = pad.Run([&] { return VELUMI_DISPLAY_DATA(cells.data(), static_cast<int>(cells.size()), 0); });
    } else {
        if (fileLines != pad.lines || fileCells != pad.cellsPerLine)
            PadFailure(pad, "'" + path + "' is made for " + std::to_string(fileLines) + " lines of " +
                                std::to_string(fileCells) + " cells, but " + model + " pad has " +
                                std::to_string(pad.lines) + " lines of " + std::to_string(pad.cellsPerLine) + " cells" +
                                "; convert the picture with velumi image2tgx --model " + pad.deviceName);
        r = pad.Run([&] { return VELUMI_DISPLAY(path.c_str()); });
    }
    if (r == VELUMI_ERROR_DISPLAY_NO_CHANGE) {
        std::printf("%s: the pad already shows this picture\n", png ? "VELUMI_DISPLAY_DATA" : "VELUMI_DISPLAY");
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
    std::printf("%sport:             %d (%s)%s\n", indent, pad.Port(), PortPath(pad.Port()).c_str(),
                pad.Simulated() ? ", the simulated pad" : "");
    std::printf("%sdevice name:      %s\n", indent, pad.deviceName.c_str());
    std::printf("%sfirmware version: %s\n", indent, pad.firmwareVersion.c_str());
    if (pad.lines > 0)
        std::printf("%sgraphics area:    %d lines of %d cells (%d x %d pins)\n", indent, pad.lines, pad.cellsPerLine,
                    pad.cellsPerLine * 2, pad.lines * 4);
    else
        std::printf("%sgraphics area:    none\n", indent);
    if (pad.brailleCells > 0)
        std::printf("%sbraille line:     %d cells\n", indent, pad.brailleCells);
    else
        std::printf("%sbraille line:     none\n", indent);
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
    static void Raw() {
        if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
        termios raw = saved;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return;
        active = true;
        std::atexit(Restore);
        RestoreTerminalOnSignal(STDIN_FILENO, &saved);
    }
    static void Restore() {
        if (active) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        active = false;
    }
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
        case 'n': case 'N': case ' ': return Key::Next;
        case 'p': case 'P': return Key::Previous;
        case 'q': case 'Q': case 0x03: case 0x04: return Key::Quit;
        case '\r': case '\n': return Key::None;
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
    if (page > 0)
        std::printf("page %d%s", page, how);
    else
        std::printf("page%s", how);
    if (pad.Simulated())
        std::printf(": |%s|\n", Braille(pad.BrailleLine()).c_str());
    else
        std::printf(" (shown on the pad on port %d)\n", pad.Port());
    std::fflush(stdout);
}

int Page(const Args &a) {
    const int language = LanguageFromArgs(a);
    int grade = 0;
    const bool gradeGiven = GradeFromArgs(a, grade);
    const bool fromStdin = a.positional[0] == "-";
    std::string raw = ReadTextArgument(a.positional[0]);
    // The text from standard input ends the commands: read them from the terminal.
    const std::vector<std::u16string> paragraphs = Paragraphs(ToUtf16(raw, "the text"), SIZE_MAX / 2);
    std::u16string text;
    for (const auto &p : paragraphs) text += (text.empty() ? u"" : u" ") + p;
    if (text.empty()) UsageError("there is no text to page through");
    WarnIfCut(text);
    int input = STDIN_FILENO;
    if (fromStdin) {
        input = ::open("/dev/tty", O_RDONLY | O_CLOEXEC);
        if (input < 0) UsageError("with the text on standard input, the keys are read from the terminal, but there is none");
    }

    const PadChoice choice = ChoiceFromArgs(a);
    Pad &pad = OpenPad(choice);
    if (gradeGiven) {
        QuietStdout quiet(choice.verbose);
        VELUMI_SET_BRAILLE_LANGUAGE(language, grade);
    }
    const int r = pad.Run([&] { return VELUMI_BRAILLE_DISPLAY(text.c_str(), language); });
    if (r != 0) PadFailure(pad, BrailleError(r, language));
    // Display callbacks beyond this count come from the pad's own page keys.
    uint64_t seen = pad.DisplayCount();
    int page = 1;
    PrintWindow(pad, page, "");

    const bool tty = ::isatty(input) != 0;
    if (tty) {
        TerminalMode::Raw();
        std::fprintf(stderr, "velumi page: right arrow or n: next line, left arrow or p: previous line, q: quit\n");
    }
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
            const int moved = pad.Page(next ? 0x2 : 0x1);
            seen = pad.DisplayCount();
            if (moved == 1) {
                if (page > 0) page += next ? 1 : -1;
                PrintWindow(pad, page, "");
            } else if (moved == 0) {
                std::printf("%s\n", next ? "(last line: no next page)" : "(first line: no previous page)");
                std::fflush(stdout);
            } else {
                PadFailure(pad, "paging failed: " + ErrorText(moved));
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
    if (!CheckOutput(a.positional[0], a.positional[1], error)) Failure(error);
    if (!ReadPng(a.positional[0], image, error)) Failure(error + "; give a PNG picture");
    const std::vector<uint8_t> data = ImageToCells(image, lines, cells, convert);
    if (!WriteFile(a.positional[1], MakeTgx(lines, cells, data), error)) Failure(error);
    int raised = 0;
    for (uint8_t c : data) raised += __builtin_popcount(c);
    std::printf("%s: %d x %d pixels -> %s, %d lines of %d cells for %s, %d pins raised\n", a.positional[0].c_str(),
                image.width, image.height, a.positional[1].c_str(), lines, cells, model.c_str(), raised);
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
        std::printf("The pad stays open: press its keys on the page (the page keys page the braille line).\n"
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
                    std::printf("   the pad's page key moved the braille line: |%s|\n", Braille(pad.BrailleLine()).c_str());
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
                    key >= 0 && key <= 3 ? (" (F" + std::to_string(key + 1) + ")").c_str()
                                         : key == 100 || key == 200 ? " (Perkins key)" : "");
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

    if (choice.port == 0)
        std::printf("Velumi demo on the simulated %s pad, started in this process on a pseudo-terminal\n\n",
                    choice.model.c_str());
    else
        std::printf("Velumi demo on the pad on port %d (%s)\n\n", choice.port, PortPath(choice.port).c_str());
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
        std::printf("%d. A picture: demo.png (%d x %d pixels) converted to a _tgx_ file of %d lines of %d cells\n"
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
        std::printf("%d. English braille, uncontracted: VELUMI_SET_BRAILLE_LANGUAGE(ENGLISH, 1), then\n"
                    "   VELUMI_BRAILLE_DISPLAY:\n"
                    "   \"Hello from Velumi! This line of English braille is longer than the braille line.\"\n",
                    step++);
        PrintPins(pad, false, true, "   ");
        std::printf("\n");
        web.Pause();
        const int moved = pad.Page(0x2);
        if (moved < 0 || moved > 1) PadFailure(pad, "paging failed: " + ErrorText(moved));
        std::printf("%d. The next page with VELUMI_SEND_KEY(0x2), as the pad's next-page key does:\n", step++);
        if (moved == 1)
            PrintPins(pad, false, true, "   ");
        else
            std::printf("   (the text fits one line: no next page)\n");
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
