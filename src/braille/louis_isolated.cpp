// liblouis in a helper process: the request goes over a socket, the answer
// must come back before the deadline, or the helper is killed.
#include <atomic>
#include <cstdlib>
#include <mutex>

#include "Log/nubra_log.h"
#include "api/error_codes.h"
#include "braille/louis_bridge.h"
#include "platform/clock.h"
#include "platform/library.h"
#include "platform/process.h"

namespace velumi {

namespace {
constexpr char kLogName[] = "Liblouis_BrailleTranslator";
constexpr char kHelperName[] = "velumi-louis-helper";
constexpr char kHelperVariable[] = "VELUMI_LOUIS_HELPER";
constexpr int kStopGraceMs = 200;

std::mutex g_helperMutex;  // one exchange at a time; guards everything below
platform::HelperProcess g_helper;
std::string g_helperPath;
bool g_fallbackTraced = false;
std::atomic<int> g_deadlineMs{kLouisDeadlineMs};

std::string FindHelper() {
    if (!g_helperPath.empty()) return g_helperPath;
    const char *named = std::getenv(kHelperVariable);
    if (named && *named) return named;
    const std::string beside = platform::OwnDirectory() + "velumi/" + kHelperName;
    if (platform::IsExecutable(beside)) return beside;
#ifdef VELUMI_HELPER_INSTALL_PATH
    if (platform::IsExecutable(VELUMI_HELPER_INSTALL_PATH)) return VELUMI_HELPER_INSTALL_PATH;
#endif
    return {};
}

// Starts the helper unless it runs; false when it cannot be started.
bool HelperReady() {
    if (g_helper.Running()) return true;
    const std::string path = FindHelper();
    std::string error = path.empty() ? std::string(kHelperName) + " not found" : std::string();
    if (!path.empty() && g_helper.Start(path, {LouisLibraryName()}, error)) return true;
    if (!g_fallbackTraced) NubraLog("[CAUTION] %s() liblouis runs in this process: %s", kLogName, error.c_str());
    g_fallbackTraced = true;
    return false;
}

void Append(std::string &bytes, const void *data, size_t size) { bytes.append(static_cast<const char *>(data), size); }

std::string Request(const std::string &tableList, const std::u32string &in, int capacity) {
    std::string bytes;
    const uint32_t tableBytes = static_cast<uint32_t>(tableList.size());
    const uint32_t characters = static_cast<uint32_t>(in.size());
    const uint32_t room = static_cast<uint32_t>(capacity);
    Append(bytes, &tableBytes, sizeof tableBytes);
    bytes += tableList;
    Append(bytes, &characters, sizeof characters);
    Append(bytes, in.data(), in.size() * sizeof(char32_t));
    Append(bytes, &room, sizeof room);
    return bytes;
}

// The helper failed this call: kill it, say why, and report the failure.
int Lost(platform::ExchangeResult result, int deadlineMs) {
    g_helper.Kill();
    std::string why = result == platform::ExchangeResult::TimedOut
                          ? "liblouis did not finish within " + std::to_string(deadlineMs) + " ms"
                          : "liblouis's process ended (" + g_helper.EndReason() + ")";
    return Fail(Error::BrailleNotTranslate, kLogName, (why + "; the helper process is restarted").c_str());
}

// Sends the request; a helper that ended while idle is replaced once.
platform::ExchangeResult SendRequest(const std::string &bytes, uint64_t deadline) {
    platform::ExchangeResult sent = g_helper.Send(bytes.data(), bytes.size(), deadline);
    if (sent != platform::ExchangeResult::Closed) return sent;
    g_helper.Kill();
    if (!HelperReady()) return sent;
    return g_helper.Send(bytes.data(), bytes.size(), deadline);
}
}  // namespace

int IsolatedLouis::Call(const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) {
    std::unique_lock<std::mutex> guard(g_helperMutex);
    if (!HelperReady()) {
        guard.unlock();
        return InProcessLouis::Call(tableList, in, out, capacity);
    }
    const int deadlineMs = g_deadlineMs.load();
    const uint64_t deadline = platform::NowMs() + static_cast<uint64_t>(deadlineMs);
    platform::ExchangeResult result = SendRequest(Request(tableList, in, capacity), deadline);
    uint32_t head[2] = {0, 0};
    if (result == platform::ExchangeResult::Done) result = g_helper.Receive(head, sizeof head, deadline);
    if (result == platform::ExchangeResult::Done && head[1] > static_cast<uint32_t>(capacity))
        result = platform::ExchangeResult::Closed;  // a garbled answer
    if (result == platform::ExchangeResult::Done) {
        out.resize(head[1]);
        result = g_helper.Receive(out.data(), out.size() * sizeof(char32_t), deadline);
    }
    if (result != platform::ExchangeResult::Done) return Lost(result, deadlineMs);
    if (head[0] != 1) return Fail(Error::BrailleNotTranslate, kLogName, "liblouis failed");
    return 0;
}

void IsolatedLouis::Unbind() {
    {
        std::lock_guard<std::mutex> guard(g_helperMutex);
        g_helper.Stop(kStopGraceMs);
        g_fallbackTraced = false;
    }
    InProcessLouis::Unbind();
}

void SetLouisHelperPath(const std::string &path) {
    std::lock_guard<std::mutex> guard(g_helperMutex);
    g_helperPath = path;
}

void SetLouisDeadlineMs(int ms) { g_deadlineMs = ms; }

int LouisHelperPid() {
    std::lock_guard<std::mutex> guard(g_helperMutex);
    return g_helper.Running() ? static_cast<int>(g_helper.Pid()) : -1;
}

Translator &LouisTranslator() {
    static IsolatedLouis *louis = new IsolatedLouis;  // lives as long as the process
    return *louis;
}

}  // namespace velumi
