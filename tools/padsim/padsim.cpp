// The simulated pad: pty set-up, the serving thread, request handling, fault
// injection and the outgoing byte schedule.
#include "padsim.h"

#include "padsim_frame.h"
#include "padsim_models.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <iterator>
#include <map>
#include <mutex>
#include <thread>

namespace padsim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint16_t kReqFirmware = 0x0000;
constexpr uint16_t kRspFirmware = 0x0001;
constexpr uint16_t kReqHardware = 0x0010;
constexpr uint16_t kRspHardware = 0x0011;
constexpr uint16_t kReqDeviceName = 0x0100;
constexpr uint16_t kRspDeviceName = 0x0101;
constexpr uint16_t kReqDisplayLine = 0x0200;
constexpr uint16_t kRspDisplayLine = 0x0201;
constexpr uint16_t kNotiEventKey = 0x0302;
constexpr uint16_t kNotiKeyPerkins = 0x0312;
constexpr uint16_t kNotiKeyFunction = 0x0332;

constexpr uint8_t kModeGraphic = 0x00;
constexpr uint8_t kModeBraille = 0x80;
// Result bytes the pad gives a display line it cannot show.
constexpr uint8_t kErrorBadLine = 0x02;  // no such line, or a mode that does not fit it
constexpr uint8_t kErrorBadCells = 0x03;  // cells beyond the end of the line, or no start cell

constexpr size_t kDeviceNameSize = 10;
constexpr size_t kFirmwareSize = 8;
constexpr int kDefaultBaud = 115200;
constexpr int kDefaultNoiseBytes = 6;
constexpr int kDefaultByteGapMs = 1;
// A frame that stays incomplete this long after its last byte is given up on.
constexpr auto kIncompleteFrameTimeout = std::chrono::milliseconds(200);
// After a hang-up of the pty (nobody holds the slave) wait this long before polling it again.
constexpr auto kHangUpBackoff = std::chrono::milliseconds(50);
constexpr size_t kFrameLogLimit = 65536;
constexpr size_t kAnomalyLimit = 1000;
// Line noise for GarbageBetweenFrames; it never holds the sync word AA 55.
constexpr uint8_t kNoise[] = {0x00, 0xFF, 0x13, 0xAA, 0x7E, 0x55, 0x80, 0xA5};

constexpr int kFaultCount = static_cast<int>(Fault::DuplicateAnswers) + 1;

// The catalogue: one row per fault but None, in the order of the enumeration.
// clang-format off
const FaultInfo kFaultRows[] = {
    {Fault::NeverAnswer, "never-answer", "receive everything, answer nothing", "", false},
    {Fault::DropNthAnswer, "drop-answer", "lose the answer to a request (a display line loses response and notice)",
     "the request whose answer is lost, counted from 1; 0 = every one", false},
    {Fault::CorruptChecksum, "corrupt-checksum", "send the answer to a request with a wrong checksum",
     "the request whose answer is corrupted, counted from 1; 0 = every one", false},
    {Fault::RejectLine, "reject-line", "answer a display line with an error code and show nothing",
     "the display line rejected, counted from 1; 0 = every one", true},
    {Fault::OmitLineNotice, "omit-line-notice", "accept and show a display line but never send its notice",
     "the display line without notice, counted from 1; 0 = every one", false},
    {Fault::GarbageBetweenFrames, "garbage", "send noise bytes in front of every frame",
     "noise bytes in front of each frame; 0 = 6", false},
    {Fault::OneByteAtATime, "one-byte-at-a-time", "write every byte on its own", "ms between the bytes; 0 = 1",
     false},
    {Fault::DelayAnswers, "delay", "hold every answer back", "the delay in ms", false},
    {Fault::PaceAtBaud, "pace", "send at the pace of a serial line, 10 bits a byte", "the baud rate; 0 = 115200",
     false},
    {Fault::DuplicateAnswers, "duplicate-answers", "send every frame of an answer twice in a row",
     "the request whose answer is doubled, counted from 1; 0 = every one", false},
};
// clang-format on
static_assert(sizeof(kFaultRows) / sizeof(kFaultRows[0]) == kFaultCount - 1, "one catalogue row per fault");

struct FaultState {
    bool active = false;
    int n = 0;
    int code = 1;
    long seen = 0;  // answers or display lines counted since the fault was set
};

struct OutByte {
    uint8_t byte;
    Clock::time_point due;
    bool alone;  // written by a write() of its own
};

// How the outgoing bytes are shaped, copied from the faults under the lock.
struct Shaping {
    int noiseBytes = 0;
    int byteGapMs = -1;  // -1: not one byte at a time
    int baud = 0;  // 0: not paced
};

std::vector<uint8_t> FixedField(const std::string &text, size_t size) {
    std::vector<uint8_t> field(size, 0);
    for (size_t i = 0; i < size && i < text.size(); ++i) field[i] = static_cast<uint8_t>(text[i]);
    return field;
}

void AppendBrailleText(std::string &text, const std::vector<uint8_t> &cells) {
    for (uint8_t c : cells) {  // U+2800 + c in UTF-8
        text += static_cast<char>(0xE2);
        text += static_cast<char>(0xA0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    text += '\n';
}

}  // namespace

struct SimulatedPad::Impl {
    explicit Impl(Options o) : options(std::move(o)) {
        std::string model = ModelForDeviceName(options.deviceName);
        int l = 0, c = 0, b = 0;
        ModelGeometry(model, l, c, b);
        lines = options.lines >= 0 ? options.lines : l;
        cells = options.cellsPerLine >= 0 ? options.cellsPerLine : c;
        brailleCells = options.brailleCells >= 0 ? options.brailleCells : b;
        graphic.assign(static_cast<size_t>(lines), std::vector<uint8_t>(static_cast<size_t>(cells), 0));
        braille.assign(static_cast<size_t>(brailleCells), 0);
    }

    bool Start();
    void Stop();
    void Serve();
    void Wake();  // requires mu
    void HandleFrame(const wire::Frame &frame);
    uint8_t ShowLine(const wire::Frame &frame, bool reject, int &shownLine);  // requires mu
    bool Applies(Fault fault);  // requires mu
    void AddAnomaly(std::string text);  // requires mu
    Shaping CurrentShaping();  // requires mu
    void Schedule(const std::vector<uint8_t> &bytes, int delayMs, const Shaping &shaping, bool noise);
    bool Flush();  // false when the pty cannot take more bytes now
    void DrainInbox();
    void ReadInput();
    void ProcessInput();
    void CloseFds();
    static void RemoveLinks(const std::vector<std::string> &links, const std::string &path);
    void Inject(std::vector<uint8_t> bytes, bool isFrame);
    // Hands events to the observers; must be called without mu held.
    void Notify(const std::vector<PadEvent> &events);
    void Notify(PadEvent::Kind kind) { Notify(std::vector<PadEvent>{PadEvent{kind, -1, {}, false}}); }

    const Options options;
    int lines = 0, cells = 0, brailleCells = 0;  // fixed at construction

    mutable std::mutex mu;
    mutable std::condition_variable cv;
    // Guarded by mu.
    FaultState faults[kFaultCount];
    std::deque<std::vector<uint8_t>> received;
    std::map<uint16_t, size_t> counts;
    size_t badChecksums = 0;
    std::vector<std::string> anomalies;
    std::vector<std::vector<uint8_t>> sent;
    std::vector<std::vector<uint8_t>> graphic;
    std::vector<uint8_t> braille;
    std::function<void(int)> listener;
    std::map<int, std::shared_ptr<const std::function<void(const PadEvent &)>>> observers;
    int nextObserver = 1;
    std::vector<std::pair<std::vector<uint8_t>, bool>> inbox;  // bytes from other threads; true = a frame
    bool running = false;
    bool hangUpRequested = false;
    bool hungUp = false;
    std::string slavePath;
    std::vector<std::string> links;
    int wake = -1;  // written under mu while running; closed after the thread ends

    // Owned by the serving thread while it runs, by Start/Stop otherwise.
    std::thread thread;
    std::atomic<bool> stop{false};
    int master = -1;
    int slaveKeep = -1;  // keeps the slave open so the master never reads as hung up
    wire::Reader reader;
    std::deque<OutByte> out;
    Clock::time_point lineFree{};
    Clock::time_point lastInput{};
    Clock::time_point backoffUntil{};
};

bool SimulatedPad::Impl::Start() {
    {
        std::lock_guard<std::mutex> lock(mu);
        if (running) return true;
    }
    int m = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m < 0) return false;
    char name[128];
    int keep = -1;
    int wakeFd = -1;
    bool ok = grantpt(m) == 0 && unlockpt(m) == 0 && ptsname_r(m, name, sizeof name) == 0;
    if (ok) ok = fcntl(m, F_SETFL, fcntl(m, F_GETFL) | O_NONBLOCK) == 0;
    if (ok) {
        keep = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        ok = keep >= 0;
    }
    if (ok) {
        // Raw 8N1 at 115200, no echo: bytes pass both ways unchanged.
        struct termios tio;
        ok = tcgetattr(keep, &tio) == 0;
        if (ok) {
            cfmakeraw(&tio);
            tio.c_cflag |= CLOCAL | CREAD;
            cfsetispeed(&tio, B115200);
            cfsetospeed(&tio, B115200);
            ok = tcsetattr(keep, TCSANOW, &tio) == 0;
        }
    }
    if (ok) {
        wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        ok = wakeFd >= 0;
    }
    if (!ok) {
        int saved = errno;
        if (wakeFd >= 0) close(wakeFd);
        if (keep >= 0) close(keep);
        close(m);
        errno = saved;
        return false;
    }
    master = m;
    slaveKeep = keep;
    reader.Clear();
    out.clear();
    lineFree = Clock::now();
    lastInput = lineFree;
    backoffUntil = Clock::time_point{};
    stop = false;
    {
        std::lock_guard<std::mutex> lock(mu);
        wake = wakeFd;
        slavePath = name;
        running = true;
        hangUpRequested = false;
        hungUp = false;
        inbox.clear();
    }
    thread = std::thread(&Impl::Serve, this);
    Notify(PadEvent::Kind::LinkChanged);
    return true;
}

void SimulatedPad::Impl::Stop() {
    std::vector<std::string> ownLinks;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mu);
        if (!running) return;
        stop = true;
        Wake();
        running = false;
        ownLinks.swap(links);
        path = slavePath;
        slavePath.clear();
        cv.notify_all();
    }
    if (thread.joinable()) thread.join();
    CloseFds();
    {
        std::lock_guard<std::mutex> lock(mu);
        if (wake >= 0) close(wake);
        wake = -1;
        inbox.clear();
    }
    RemoveLinks(ownLinks, path);
    Notify(PadEvent::Kind::LinkChanged);
}

void SimulatedPad::Impl::RemoveLinks(const std::vector<std::string> &links, const std::string &path) {
    for (const std::string &link : links) {
        // Remove only a link that still points to this pad: another may have taken the name.
        char target[256];
        ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, static_cast<size_t>(n)) == path) unlink(link.c_str());
    }
}

void SimulatedPad::Impl::Notify(const std::vector<PadEvent> &events) {
    std::vector<std::shared_ptr<const std::function<void(const PadEvent &)>>> targets;
    {
        std::lock_guard<std::mutex> lock(mu);
        for (const auto &o : observers) targets.push_back(o.second);
    }
    for (const auto &target : targets)
        for (const PadEvent &event : events) (*target)(event);
}

void SimulatedPad::Impl::CloseFds() {
    if (master >= 0) close(master);
    if (slaveKeep >= 0) close(slaveKeep);
    master = slaveKeep = -1;
    out.clear();
    reader.Clear();
}

void SimulatedPad::Impl::Wake() {
    if (wake < 0) return;
    uint64_t one = 1;
    ssize_t r = write(wake, &one, sizeof one);
    (void)r;  // a full counter already means "wake up"
}

bool SimulatedPad::Impl::Applies(Fault fault) {
    FaultState &f = faults[static_cast<int>(fault)];
    if (!f.active) return false;
    ++f.seen;
    return f.n <= 0 || f.seen == f.n;
}

void SimulatedPad::Impl::AddAnomaly(std::string text) {
    if (anomalies.size() < kAnomalyLimit) anomalies.push_back(std::move(text));
}

Shaping SimulatedPad::Impl::CurrentShaping() {
    Shaping s;
    const FaultState &garbage = faults[static_cast<int>(Fault::GarbageBetweenFrames)];
    const FaultState &oneByte = faults[static_cast<int>(Fault::OneByteAtATime)];
    const FaultState &pace = faults[static_cast<int>(Fault::PaceAtBaud)];
    if (garbage.active) s.noiseBytes = garbage.n > 0 ? garbage.n : kDefaultNoiseBytes;
    if (oneByte.active) s.byteGapMs = oneByte.n > 0 ? oneByte.n : kDefaultByteGapMs;
    if (pace.active) s.baud = pace.n > 0 ? pace.n : kDefaultBaud;
    return s;
}

uint8_t SimulatedPad::Impl::ShowLine(const wire::Frame &frame, bool reject, int &shownLine) {
    const int line = frame.destination;
    const uint8_t mode = frame.parameter;
    std::vector<uint8_t> *target = nullptr;
    if (mode == kModeBraille && line == 0 && brailleCells > 0) {
        target = &braille;
    } else if (mode == kModeGraphic && line >= 1 && line <= lines) {
        target = &graphic[static_cast<size_t>(line - 1)];
    } else {
        char text[96];
        std::snprintf(text, sizeof text, "display line %d with mode 0x%02X: no such line", line, mode);
        AddAnomaly(text);
        return kErrorBadLine;
    }
    if (frame.payload.empty()) {
        AddAnomaly("display line " + std::to_string(line) + " without a start cell");
        return kErrorBadCells;
    }
    const size_t start = frame.payload[0];
    const size_t count = frame.payload.size() - 1;
    if (start + count > target->size()) {
        AddAnomaly("display line " + std::to_string(line) + ": cells " + std::to_string(start) + ".." +
                   std::to_string(start + count) + " beyond its " + std::to_string(target->size()) + " cells");
        return kErrorBadCells;
    }
    if (reject) return static_cast<uint8_t>(faults[static_cast<int>(Fault::RejectLine)].code);
    std::copy(frame.payload.begin() + 1, frame.payload.end(), target->begin() + static_cast<std::ptrdiff_t>(start));
    shownLine = line;
    return 0;
}

void SimulatedPad::Impl::HandleFrame(const wire::Frame &frame) {
    std::vector<std::pair<std::vector<uint8_t>, int>> replies;  // frame, delay in ms
    std::function<void(int)> notify;
    int shownLine = -1;
    Shaping shaping;
    std::vector<PadEvent> events;
    events.push_back(PadEvent{PadEvent::Kind::FrameReceived, -1, frame.raw, false});
    {
        std::lock_guard<std::mutex> lock(mu);
        if (received.size() >= kFrameLogLimit) received.pop_front();
        received.push_back(frame.raw);
        ++counts[frame.command];
        cv.notify_all();

        uint16_t answer = 0;
        std::vector<uint8_t> payload;
        bool notice = false;
        switch (frame.command) {
        case kReqFirmware:
            answer = kRspFirmware;
            payload = FixedField(options.firmwareVersion, kFirmwareSize);
            break;
        case kReqHardware:
            answer = kRspHardware;
            payload = {options.hardwareVersion};
            break;
        case kReqDeviceName:
            answer = kRspDeviceName;
            payload = FixedField(options.deviceName, kDeviceNameSize);
            break;
        case kReqDisplayLine: {
            // Both line faults count every display line, whatever becomes of it.
            const bool reject = Applies(Fault::RejectLine);
            const bool omitNotice = Applies(Fault::OmitLineNotice);
            const uint8_t result = ShowLine(frame, reject, shownLine);
            answer = kRspDisplayLine;
            payload = {result};
            // The pad answers a display line twice: first acceptance, then the line shown.
            notice = result == 0 && !omitNotice;
            break;
        }
        default: {
            char text[64];
            std::snprintf(text, sizeof text, "unknown command 0x%04X ignored", frame.command);
            AddAnomaly(text);
            break;
        }
        }
        if (shownLine >= 0) {
            notify = listener;
            events.push_back(PadEvent{PadEvent::Kind::LineShown, shownLine,
                shownLine == 0 ? braille : graphic[static_cast<size_t>(shownLine - 1)], false});
        }
        // Each answer fault counts every answered request on its own.
        const bool answered = answer != 0 && !faults[static_cast<int>(Fault::NeverAnswer)].active;
        const bool drop = answered && Applies(Fault::DropNthAnswer);
        const bool corrupt = answered && Applies(Fault::CorruptChecksum);
        const bool twice = answered && Applies(Fault::DuplicateAnswers);
        if (answered && !drop) {
            const FaultState &delay = faults[static_cast<int>(Fault::DelayAnswers)];
            const int delayMs = delay.active ? std::max(delay.n, 0) : 0;
            replies.emplace_back(wire::Build(0, answer, 0, payload), delayMs);
            if (notice)
                replies.emplace_back(wire::Build(0, options.lineNoticeCommand, 0, {}),
                    delayMs + std::max(options.noticeDelayMs, 0));
            if (twice) {
                std::vector<std::pair<std::vector<uint8_t>, int>> doubled;
                for (const auto &reply : replies) {
                    doubled.push_back(reply);
                    doubled.push_back(reply);
                }
                replies.swap(doubled);
            }
            for (auto &reply : replies) {
                if (corrupt) reply.first.back() ^= 0xFF;
                sent.push_back(reply.first);
                events.push_back(PadEvent{PadEvent::Kind::FrameSent, -1, reply.first, false});
            }
        }
        shaping = CurrentShaping();
    }
    for (const auto &reply : replies) Schedule(reply.first, reply.second, shaping, true);
    if (notify) notify(shownLine);
    Notify(events);
}

// Queues bytes for the pty with their due times. Bytes leave in queue order, so
// a later frame never overtakes an earlier, delayed one.
void SimulatedPad::Impl::Schedule(const std::vector<uint8_t> &frame, int delayMs, const Shaping &shaping, bool noise) {
    std::vector<uint8_t> bytes;
    if (noise)
        for (int i = 0; i < shaping.noiseBytes; ++i) bytes.push_back(kNoise[i % sizeof kNoise]);
    bytes.insert(bytes.end(), frame.begin(), frame.end());

    Clock::time_point due = std::max(Clock::now() + std::chrono::milliseconds(delayMs), lineFree);
    Clock::duration step{0};
    if (shaping.baud > 0)  // one start bit, eight data bits, one stop bit
        step = std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10000000000LL / shaping.baud));
    const bool alone = shaping.byteGapMs >= 0;
    if (alone) step = std::max(step, Clock::duration(std::chrono::milliseconds(shaping.byteGapMs)));
    for (uint8_t b : bytes) {
        out.push_back(OutByte{b, due, alone});
        due += step;
    }
    lineFree = due;
}

bool SimulatedPad::Impl::Flush() {
    uint8_t buf[4096];
    while (!out.empty() && master >= 0) {
        const Clock::time_point now = Clock::now();
        if (out.front().due > now) return true;
        size_t n = 0;
        if (out.front().alone) {
            buf[n++] = out.front().byte;
        } else {
            for (auto it = out.begin(); it != out.end() && n < sizeof buf && !it->alone && it->due <= now; ++it)
                buf[n++] = it->byte;
        }
        ssize_t w = write(master, buf, n);
        if (w > 0) {
            out.erase(out.begin(), out.begin() + w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno == EAGAIN) return false;
        out.clear();  // the pty is gone: what was queued cannot be delivered
    }
    return true;
}

void SimulatedPad::Impl::DrainInbox() {
    std::vector<std::pair<std::vector<uint8_t>, bool>> items;
    Shaping shaping;
    bool hangUp = false;
    {
        std::lock_guard<std::mutex> lock(mu);
        items.swap(inbox);
        shaping = CurrentShaping();
        hangUp = hangUpRequested && !hungUp;
    }
    if (hangUp) {
        CloseFds();
        std::lock_guard<std::mutex> lock(mu);
        hungUp = true;
        cv.notify_all();
        return;
    }
    if (master < 0) return;
    for (const auto &item : items) Schedule(item.first, 0, shaping, item.second);
}

void SimulatedPad::Impl::ReadInput() {
    uint8_t buf[4096];
    for (;;) {
        ssize_t n = read(master, buf, sizeof buf);
        if (n > 0) {
            reader.Feed(buf, static_cast<size_t>(n));
            lastInput = Clock::now();
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        // EIO: no slave is open. Back off instead of spinning on the hang-up.
        backoffUntil = Clock::now() + kHangUpBackoff;
        return;
    }
}

void SimulatedPad::Impl::ProcessInput() {
    for (;;) {
        wire::Frame frame;
        wire::Reader::Result r = reader.Next(frame);
        if (size_t skipped = reader.TakeSkipped()) {
            std::lock_guard<std::mutex> lock(mu);
            AddAnomaly(std::to_string(skipped) + " byte(s) outside any frame skipped");
        }
        if (r == wire::Reader::Result::NeedMore) break;
        if (r == wire::Reader::Result::BadChecksum) {
            std::lock_guard<std::mutex> lock(mu);
            ++badChecksums;
            AddAnomaly("frame with a bad checksum dropped");
            continue;
        }
        HandleFrame(frame);
    }
}

void SimulatedPad::Impl::Serve() {
    while (!stop) {
        DrainInbox();
        const bool writable = Flush();

        Clock::time_point now = Clock::now();
        Clock::time_point deadline = Clock::time_point::max();
        if (writable && !out.empty()) deadline = out.front().due;
        if (reader.Pending() > 0) deadline = std::min(deadline, lastInput + kIncompleteFrameTimeout);

        struct pollfd fds[2];
        nfds_t nfds = 0;
        int wakeFd;
        {
            std::lock_guard<std::mutex> lock(mu);
            wakeFd = wake;
        }
        fds[nfds++] = {wakeFd, POLLIN, 0};
        const bool useMaster = master >= 0 && now >= backoffUntil;
        if (useMaster) {
            fds[nfds++] = {master, static_cast<short>(POLLIN | (writable ? 0 : POLLOUT)), 0};
        } else if (master >= 0) {
            deadline = std::min(deadline, backoffUntil);
        }
        struct timespec ts;
        struct timespec *timeout = nullptr;
        if (deadline != Clock::time_point::max()) {
            auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now).count();
            if (wait < 0) wait = 0;
            ts.tv_sec = static_cast<time_t>(wait / 1000000000);
            ts.tv_nsec = static_cast<long>(wait % 1000000000);
            timeout = &ts;
        }
        int r = ppoll(fds, nfds, timeout, nullptr);
        if (r < 0 && errno != EINTR) break;
        if (r > 0 && (fds[0].revents & POLLIN)) {
            uint64_t value;
            ssize_t n = read(wakeFd, &value, sizeof value);
            (void)n;
        }
        if (r > 0 && useMaster) {
            const short ev = fds[1].revents;
            if (ev & POLLIN) {
                ReadInput();
            } else if (ev & (POLLHUP | POLLERR | POLLNVAL)) {
                backoffUntil = Clock::now() + kHangUpBackoff;
            }
        }
        if (master >= 0) {
            ProcessInput();
            if (reader.Pending() > 0 && Clock::now() - lastInput >= kIncompleteFrameTimeout) {
                // The sender went silent in the middle of a frame: resynchronise behind its first byte.
                reader.DropOne();
                ProcessInput();
            }
        }
    }
}

const std::vector<FaultInfo> &FaultCatalogue() {
    static const std::vector<FaultInfo> rows(std::begin(kFaultRows), std::end(kFaultRows));
    return rows;
}

const FaultInfo *FindFault(Fault fault) {
    for (const FaultInfo &f : FaultCatalogue())
        if (f.fault == fault) return &f;
    return nullptr;
}

const FaultInfo *FindFault(const std::string &name) {
    for (const FaultInfo &f : FaultCatalogue())
        if (name == f.name) return &f;
    return nullptr;
}

SimulatedPad::SimulatedPad(Options options) : impl_(new Impl(std::move(options))) {}

SimulatedPad::~SimulatedPad() { Stop(); }

bool SimulatedPad::Start() { return impl_->Start(); }

void SimulatedPad::Stop() { impl_->Stop(); }

bool SimulatedPad::IsRunning() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->running;
}

std::string SimulatedPad::DevicePath() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->slavePath;
}

bool SimulatedPad::LinkAs(const std::string &dir, int com) {
    std::lock_guard<std::mutex> lock(impl_->mu);
    if (!impl_->running || impl_->hungUp) {
        errno = ENODEV;
        return false;
    }
    const std::string link = dir + "/com" + std::to_string(com);
    struct stat st;
    if (lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            errno = EEXIST;
            return false;
        }
        if (unlink(link.c_str()) != 0) return false;
    }
    if (symlink(impl_->slavePath.c_str(), link.c_str()) != 0) return false;
    impl_->links.push_back(link);
    return true;
}

void SimulatedPad::SetFault(Fault fault, int n, int code) {
    if (fault == Fault::None) return;
    {
        std::lock_guard<std::mutex> lock(impl_->mu);
        impl_->faults[static_cast<int>(fault)] = FaultState{true, n, code, 0};
    }
    impl_->Notify(PadEvent::Kind::FaultsChanged);
}

void SimulatedPad::ClearFault(Fault fault) {
    {
        std::lock_guard<std::mutex> lock(impl_->mu);
        impl_->faults[static_cast<int>(fault)] = FaultState{};
    }
    impl_->Notify(PadEvent::Kind::FaultsChanged);
}

void SimulatedPad::ClearFaults() {
    {
        std::lock_guard<std::mutex> lock(impl_->mu);
        for (FaultState &f : impl_->faults) f = FaultState{};
    }
    impl_->Notify(PadEvent::Kind::FaultsChanged);
}

std::vector<ActiveFault> SimulatedPad::ActiveFaults() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    std::vector<ActiveFault> active;
    for (int i = 0; i < kFaultCount; ++i)
        if (impl_->faults[i].active)
            active.push_back(ActiveFault{static_cast<Fault>(i), impl_->faults[i].n, impl_->faults[i].code});
    return active;
}

int SimulatedPad::AddObserver(std::function<void(const PadEvent &event)> observer) {
    std::lock_guard<std::mutex> lock(impl_->mu);
    const int id = impl_->nextObserver++;
    impl_->observers[id] = std::make_shared<const std::function<void(const PadEvent &)>>(std::move(observer));
    return id;
}

void SimulatedPad::RemoveObserver(int id) {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->observers.erase(id);
}

std::string SimulatedPad::DeviceName() const { return impl_->options.deviceName; }

std::string SimulatedPad::FirmwareVersion() const { return impl_->options.firmwareVersion; }

bool SimulatedPad::IsHungUp() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->running && impl_->hungUp;
}

std::vector<std::string> SimulatedPad::Links() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->links;
}

std::vector<std::vector<uint8_t>> SimulatedPad::ReceivedFrames() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return {impl_->received.begin(), impl_->received.end()};
}

size_t SimulatedPad::RequestCount(uint16_t command) const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    auto it = impl_->counts.find(command);
    return it == impl_->counts.end() ? 0 : it->second;
}

bool SimulatedPad::WaitForRequests(uint16_t command, size_t count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(impl_->mu);
    return impl_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        auto it = impl_->counts.find(command);
        return it != impl_->counts.end() && it->second >= count;
    });
}

void SimulatedPad::ClearReceived() {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->received.clear();
    impl_->counts.clear();
    impl_->badChecksums = 0;
    impl_->anomalies.clear();
    impl_->sent.clear();
}

size_t SimulatedPad::BadChecksumCount() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->badChecksums;
}

std::vector<std::string> SimulatedPad::Anomalies() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->anomalies;
}

std::vector<std::vector<uint8_t>> SimulatedPad::SentFrames() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->sent;
}

int SimulatedPad::Lines() const { return impl_->lines; }
int SimulatedPad::CellsPerLine() const { return impl_->cells; }
int SimulatedPad::BrailleCells() const { return impl_->brailleCells; }

std::vector<uint8_t> SimulatedPad::GraphicLine(int line) const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    if (line < 1 || line > impl_->lines) return {};
    return impl_->graphic[static_cast<size_t>(line - 1)];
}

std::vector<uint8_t> SimulatedPad::BrailleLine() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->braille;
}

std::string SimulatedPad::Render() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    std::string text;
    for (const auto &line : impl_->graphic) AppendBrailleText(text, line);
    if (impl_->brailleCells > 0) AppendBrailleText(text, impl_->braille);
    return text;
}

void SimulatedPad::SetDisplayListener(std::function<void(int line)> listener) {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->listener = std::move(listener);
}

namespace {
// Key notices carry four payload bytes; the SDK reads up to the fourth.
std::vector<uint8_t> KeyPayload(size_t index, uint8_t value) {
    std::vector<uint8_t> payload(4, 0);
    payload[index] = value;
    return payload;
}
}  // namespace

void SimulatedPad::Impl::Inject(std::vector<uint8_t> bytes, bool isFrame) {
    PadEvent event{PadEvent::Kind::FrameSent, -1, bytes, !isFrame};
    {
        std::lock_guard<std::mutex> lock(mu);
        if (!running || hungUp) return;
        if (isFrame) sent.push_back(bytes);
        inbox.emplace_back(std::move(bytes), isFrame);
        Wake();
    }
    Notify({event});
}

void SimulatedPad::SendPageKey(uint8_t code) {
    impl_->Inject(wire::Build(0, kNotiEventKey, 0, KeyPayload(3, code)), true);
}

void SimulatedPad::SendPerkinsKey(uint8_t key) {
    impl_->Inject(wire::Build(0, kNotiKeyPerkins, 0, KeyPayload(1, key)), true);
}

void SimulatedPad::SendFunctionKeys(uint8_t bits) {
    impl_->Inject(wire::Build(0, kNotiKeyFunction, 0, KeyPayload(0, bits)), true);
}

void SimulatedPad::SendRaw(const std::vector<uint8_t> &bytes) { impl_->Inject(bytes, false); }

void SimulatedPad::SendLineNotice() { impl_->Inject(wire::Build(0, impl_->options.lineNoticeCommand, 0, {}), true); }

void SimulatedPad::SendDeviceName(const std::string &name) {
    impl_->Inject(wire::Build(0, kRspDeviceName, 0, FixedField(name, kDeviceNameSize)), true);
}

bool SimulatedPad::Replug() {
    std::vector<std::string> links;
    {
        std::lock_guard<std::mutex> lock(impl_->mu);
        links = impl_->links;
    }
    Stop();
    if (!Start()) return false;
    std::lock_guard<std::mutex> lock(impl_->mu);
    for (const std::string &link : links) {
        struct stat st;
        if (lstat(link.c_str(), &st) == 0 && (!S_ISLNK(st.st_mode) || unlink(link.c_str()) != 0)) continue;
        if (symlink(impl_->slavePath.c_str(), link.c_str()) == 0) impl_->links.push_back(link);
    }
    return true;
}

void SimulatedPad::HangUp() {
    std::unique_lock<std::mutex> lock(impl_->mu);
    if (!impl_->running || impl_->hungUp) return;
    impl_->hangUpRequested = true;
    impl_->Wake();
    impl_->cv.wait(lock, [&] { return impl_->hungUp || !impl_->running; });
    // The links go as a device's name goes when it is unplugged; Replug makes
    // them again. Left in place, they would name the pty number that the system
    // hands to the next program once the SDK lets go of this one.
    const std::vector<std::string> links = impl_->links;
    const std::string path = impl_->slavePath;
    lock.unlock();
    Impl::RemoveLinks(links, path);
    impl_->Notify(PadEvent::Kind::LinkChanged);
}

}  // namespace padsim
