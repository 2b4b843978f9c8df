// velumi-padsim: serves a simulated Velumi pad on a pseudo-terminal until
// interrupted, optionally linked as DIR/comN for the SDK's port number N.
#include "../cli_args.h"
#include "padsim.h"
#include "padsim_web.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

const char kProgram[] = "velumi-padsim";

const char kHelp[] =
    "Usage: velumi-padsim [OPTION]...\n"
    "Serves a simulated Velumi pad on a pseudo-terminal until interrupted (Ctrl-C or SIGTERM).\n"
    "The pad answers the SDK's firmware-version, hardware-version, device-name and display-line\n"
    "requests and keeps the cells it is shown. On exit the port link is removed.\n"
    "\n"
    "Pad:\n"
    "  --model NAME           pad model and geometry: ORIEL_WIDE, ORIEL, LINNET, TARN (default),\n"
    "                         WREN, QX-LINE, QX-SHORT, QY-SHORT\n"
    "  --name TEXT            device name the pad reports, at most 10 characters (default: the model\n"
    "                         name); without --model the geometry follows the model named in it\n"
    "  --firmware TEXT        firmware version the pad reports, at most 8 characters (default 1.00.000)\n"
    "  --hardware N           hardware version the pad reports, 0-255 (default 1)\n"
    "  --lines N              graphic lines, instead of the model's\n"
    "  --cells N              graphic cells per line, instead of the model's\n"
    "  --braille-cells N      cells of the braille line (0 = none), instead of the model's\n"
    "  --notice-code CODE     command of the line-shown notice: 0x0202 (default) or 0x0206\n"
    "  --notice-delay MS      time between accepting a line and reporting it shown (default 0)\n"
    "\n"
    "Port:\n"
    "  --com N                create DIR/comN, a link to the pad's pty, for the SDK's port N\n"
    "  --port-dir DIR         folder of that link (default: the current folder)\n"
    "\n"
    "Output:\n"
    "  --show                 print the pad's pins as braille text after every display change\n"
    "  --quiet                print nothing but errors\n"
    "  --keys                 press keys read from standard input, one a line: 'function BITS'\n"
    "                         (0x80 0x40 0x20 0x10), 'perkins 4|2', 'page CODE' (1 2 4 8)\n"
    "  --web [ADDR:]PORT      serve the pad as a live web page on that port (ADDR default 127.0.0.1;\n"
    "                         0.0.0.0 opens it to the network; port 0 picks a free one): pins, braille\n"
    "                         line, keys to press, link state, last frames and fault switches\n"
    "\n"
    "Faults (several may be combined; N counts from 1, 0 means every one):\n"
    "  --never-answer         receive everything, answer nothing\n"
    "  --drop-answer N        lose the answer to the Nth request (a display line loses response and notice)\n"
    "  --corrupt-checksum N   send the answer to the Nth request with a wrong checksum\n"
    "  --reject-line N[:CODE] answer the Nth display line with error CODE (default 1) and show nothing\n"
    "  --omit-line-notice N   accept and show the Nth display line but never send its notice\n"
    "  --garbage[=N]          send N noise bytes (default 6) in front of every frame\n"
    "  --one-byte-at-a-time[=MS]  write every byte on its own, MS ms apart (default 1)\n"
    "  --delay MS             hold every answer back MS milliseconds\n"
    "  --pace[=BAUD]          send at the pace of a serial line, 10 bits a byte (default 115200)\n"
    "  --duplicate-answers N  send every frame of the Nth answer twice (0: of every answer)\n"
    "\n"
    "  --help                 show this help and exit\n"
    "\n"
    "Example: velumi-padsim --model LINNET --port-dir /tmp/velumi --com 7 --show\n"
    "         velumi-padsim --port-dir /tmp/velumi --com 7 --web 8080   (then open http://127.0.0.1:8080/)\n"
    "Exit status: 0 after an interrupt, 1 when the pty, the link or the web port cannot be made,\n"
    "2 for bad arguments.\n";

[[noreturn]] void Fail(const std::string &message) {
    std::fprintf(stderr, "%s: %s (see --help)\n", kProgram, message.c_str());
    std::exit(2);
}

long ParseNumber(const std::string &option, const std::string &text, long low, long high) {
    errno = 0;
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high)
        Fail(option + " needs a number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
             text + "'");
    return value;
}

std::string Upper(std::string text) {
    for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct Settings {
    padsim::Options options;
    std::string model;
    bool nameGiven = false;
    int com = -1;
    std::string portDir = ".";
    bool portDirGiven = false;
    bool show = false;
    bool keys = false;
    bool quiet = false;
    bool web = false;
    std::string webAddress;
    int webPort = 0;
    std::vector<std::pair<padsim::Fault, std::pair<long, long>>> faults;  // fault, (n, code)
};

Settings ParseArguments(int argc, char **argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        const bool hasValue = velumi_tools::SplitLongOption(arg, value);
        // Options with a required value take it from "=VALUE" or from the next argument.
        auto required = [&]() -> std::string {
            if (hasValue) return value;
            if (i + 1 >= argc) Fail(arg + " needs a value");
            return argv[++i];
        };
        auto optional = [&](long fallback, long low, long high) -> long {
            return hasValue ? ParseNumber(arg, value, low, high) : fallback;
        };
        auto noValue = [&]() {
            if (hasValue) Fail(arg + " takes no value");
        };

        if (arg == "--help" || arg == "-h") {
            noValue();
            std::fputs(kHelp, stdout);
            std::exit(0);
        } else if (arg == "--model") {
            s.model = Upper(required());
            int l, c, b;
            if (!padsim::ModelGeometry(s.model, l, c, b)) Fail("unknown model '" + s.model + "'");
        } else if (arg == "--name") {
            s.options.deviceName = required();
            if (s.options.deviceName.empty() || s.options.deviceName.size() > 10)
                Fail("--name needs 1 to 10 characters");
            s.nameGiven = true;
        } else if (arg == "--firmware") {
            s.options.firmwareVersion = required();
            if (s.options.firmwareVersion.size() > 8) Fail("--firmware takes at most 8 characters");
        } else if (arg == "--hardware") {
            s.options.hardwareVersion = static_cast<uint8_t>(ParseNumber(arg, required(), 0, 255));
        } else if (arg == "--lines") {
            s.options.lines = static_cast<int>(ParseNumber(arg, required(), 0, 255));
        } else if (arg == "--cells") {
            s.options.cellsPerLine = static_cast<int>(ParseNumber(arg, required(), 0, 249));
        } else if (arg == "--braille-cells") {
            s.options.brailleCells = static_cast<int>(ParseNumber(arg, required(), 0, 249));
        } else if (arg == "--notice-code") {
            const long code = ParseNumber(arg, required(), 0, 0xFFFF);
            if (code != 0x0202 && code != 0x0206) Fail("--notice-code is 0x0202 or 0x0206");
            s.options.lineNoticeCommand = static_cast<uint16_t>(code);
        } else if (arg == "--notice-delay") {
            s.options.noticeDelayMs = static_cast<int>(ParseNumber(arg, required(), 0, 60000));
        } else if (arg == "--com") {
            s.com = static_cast<int>(ParseNumber(arg, required(), 0, INT_MAX));
        } else if (arg == "--port-dir") {
            s.portDir = required();
            if (s.portDir.empty()) Fail("--port-dir needs a folder");
            s.portDirGiven = true;
        } else if (arg == "--show") {
            noValue();
            s.show = true;
        } else if (arg == "--keys") {
            noValue();
            s.keys = true;
        } else if (arg == "--quiet") {
            noValue();
            s.quiet = true;
        } else if (arg == "--web") {
            std::string error;
            if (!padsim::ParseWebAddress(required(), s.webAddress, s.webPort, error)) Fail("--web: " + error);
            s.web = true;
        } else if (arg == "--never-answer") {
            noValue();
            s.faults.push_back({padsim::Fault::NeverAnswer, {0L, 0L}});
        } else if (arg == "--drop-answer") {
            s.faults.push_back({padsim::Fault::DropNthAnswer, {ParseNumber(arg, required(), 0, INT_MAX), 0L}});
        } else if (arg == "--corrupt-checksum") {
            s.faults.push_back({padsim::Fault::CorruptChecksum, {ParseNumber(arg, required(), 0, INT_MAX), 0L}});
        } else if (arg == "--reject-line") {
            const std::string text = required();
            const size_t colon = text.find(':');
            const long n = ParseNumber(arg, text.substr(0, colon), 0, INT_MAX);
            const long code = colon == std::string::npos ? 1 : ParseNumber(arg, text.substr(colon + 1), 1, 255);
            s.faults.push_back({padsim::Fault::RejectLine, {n, code}});
        } else if (arg == "--omit-line-notice") {
            s.faults.push_back({padsim::Fault::OmitLineNotice, {ParseNumber(arg, required(), 0, INT_MAX), 0L}});
        } else if (arg == "--garbage") {
            s.faults.push_back({padsim::Fault::GarbageBetweenFrames, {optional(0, 1, 4096), 0L}});
        } else if (arg == "--one-byte-at-a-time") {
            s.faults.push_back({padsim::Fault::OneByteAtATime, {optional(0, 1, 10000), 0L}});
        } else if (arg == "--delay") {
            s.faults.push_back({padsim::Fault::DelayAnswers, {ParseNumber(arg, required(), 0, 600000), 0L}});
        } else if (arg == "--pace") {
            s.faults.push_back({padsim::Fault::PaceAtBaud, {optional(0, 50, 4000000), 0L}});
        } else if (arg == "--duplicate-answers") {
            s.faults.push_back({padsim::Fault::DuplicateAnswers, {ParseNumber(arg, required(), 0, INT_MAX), 0L}});
        } else {
            Fail("unknown argument '" + std::string(argv[i]) + "'");
        }
    }
    if (s.portDirGiven && s.com < 0) Fail("--port-dir needs --com");

    // The model gives name and geometry; an explicit name keeps the model's geometry.
    if (!s.model.empty()) {
        int l, c, b;
        padsim::ModelGeometry(s.model, l, c, b);
        if (s.options.lines < 0) s.options.lines = l;
        if (s.options.cellsPerLine < 0) s.options.cellsPerLine = c;
        if (s.options.brailleCells < 0) s.options.brailleCells = b;
        if (!s.nameGiven) s.options.deviceName = s.model;
    }
    return s;
}

std::mutex g_print;  // --show output comes from the pad's thread

}  // namespace

int main(int argc, char **argv) {
    const Settings s = ParseArguments(argc, argv);

    // Block the stop signals before any thread starts, then wait for them here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a closed output pipe must not skip the clean-up

    padsim::SimulatedPad pad(s.options);
    for (const auto &f : s.faults)
        pad.SetFault(f.first, static_cast<int>(f.second.first), static_cast<int>(f.second.second));
    if (s.show) {
        pad.SetDisplayListener([&pad](int line) {
            std::string pins = pad.Render();
            if (pad.BrailleCells() > 0 && pad.Lines() > 0) {
                // Set the braille line off from the graphics area above it.
                const size_t last = pins.rfind('\n', pins.size() - 2);
                pins.insert(last + 1, "--\n");
            }
            std::lock_guard<std::mutex> lock(g_print);
            if (line == 0) std::printf("braille line shown:\n%s\n", pins.c_str());
            else std::printf("graphic line %d shown:\n%s\n", line, pins.c_str());
            std::fflush(stdout);
        });
    }
    if (!pad.Start()) {
        std::fprintf(stderr, "%s: cannot open a pseudo-terminal: %s\n", kProgram, std::strerror(errno));
        return 1;
    }
    std::string link;
    if (s.com >= 0) {
        link = s.portDir + "/com" + std::to_string(s.com);
        if (!pad.LinkAs(s.portDir, s.com)) {
            std::fprintf(stderr, "%s: cannot create %s: %s\n", kProgram, link.c_str(), std::strerror(errno));
            return 1;
        }
    }
    padsim::WebView web(pad);
    if (s.web) {
        padsim::WebOptions options;
        options.address = s.webAddress;
        options.port = s.webPort;
        std::string error;
        if (!web.Start(options, error)) {
            std::fprintf(stderr, "%s: --web: %s\n", kProgram, error.c_str());
            return 1;
        }
    }
    if (!s.quiet) {
        std::lock_guard<std::mutex> lock(g_print);
        std::string graphics = "no graphics area";
        if (pad.Lines() > 0)
            graphics =
                std::to_string(pad.Lines()) + " graphic lines of " + std::to_string(pad.CellsPerLine()) + " cells";
        std::string braille = "no braille line";
        if (pad.BrailleCells() > 0) braille = "braille line of " + std::to_string(pad.BrailleCells()) + " cells";
        std::printf("%s: pad \"%s\", %s, %s, on %s", kProgram, s.options.deviceName.c_str(), graphics.c_str(),
            braille.c_str(), pad.DevicePath().c_str());
        if (!link.empty()) std::printf(" as %s", link.c_str());
        std::printf("\n");
        if (s.web) std::printf("%s: web view on %s\n", kProgram, web.Url().c_str());
        std::fflush(stdout);
    }

    if (s.keys) {
        // Key presses from standard input, for scripts and tests; ends with the input.
        std::thread([&pad] {
            char line[128];
            while (std::fgets(line, sizeof line, stdin)) {
                char what[32] = {};
                int value = 0;
                if (std::sscanf(line, "%31s %i", what, &value) != 2) continue;
                const std::string kind = what;
                if (kind == "function") pad.SendFunctionKeys(static_cast<uint8_t>(value));
                else if (kind == "perkins") pad.SendPerkinsKey(static_cast<uint8_t>(value));
                else if (kind == "page") pad.SendPageKey(static_cast<uint8_t>(value));
            }
        }).detach();
    }
    int signal = 0;
    sigwait(&stopSignals, &signal);
    web.Stop();
    pad.Stop();
    if (!s.quiet) {
        std::lock_guard<std::mutex> lock(g_print);
        std::printf("%s: stopped (%s)\n", kProgram, strsignal(signal));
    }
    return 0;
}
