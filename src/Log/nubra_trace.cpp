#include "Log/nubra_trace.h"

#include <sys/time.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/diagnostics.h"
#include "platform/files.h"
#include "platform/utf.h"

namespace velumi {

CNubraTrace &CNubraTrace::Instance() {
    // Lives as long as the process: workers may log while the process exits.
    static CNubraTrace *trace = new CNubraTrace;
    return *trace;
}

CNubraTrace::CNubraTrace() = default;
CNubraTrace::~CNubraTrace() = default;

void CNubraTrace::Enable(bool on) {
    std::lock_guard<std::mutex> g(lock_);
    enableBits_ = on ? (enableBits_ | 1) : (enableBits_ & ~1);
}

bool CNubraTrace::Enabled() {
    std::lock_guard<std::mutex> g(lock_);
    return enableBits_ & 1;
}

bool CNubraTrace::SetFolder(const std::string &path) {
    std::string copy = path.substr(0, 259);
    if (copy.empty()) {
        std::lock_guard<std::mutex> g(lock_);
        folder_.clear();
        return false;
    }
    // Create every prefix ending in "/": "a/", "a/b/", ...
    bool ok = true;
    size_t pos = 0;
    while ((pos = copy.find('/', pos)) != std::string::npos) {
        if (pos > 0) ok = platform::MakeFolder(copy.substr(0, pos));
        ++pos;
    }
    if (!copy.empty() && copy.back() != '/') ok = platform::MakeFolder(copy);
    std::lock_guard<std::mutex> g(lock_);
    folder_ = copy;
    return ok;
}

bool CNubraTrace::SetPrivateFolder(const std::string &path) {
    if (path.size() > 259 || !platform::EnsurePrivateFolder(path)) return false;
    std::lock_guard<std::mutex> g(lock_);
    folder_ = path;
    return true;
}

std::string CNubraTrace::Folder() {
    std::lock_guard<std::mutex> g(lock_);
    return folder_;
}

void CNubraTrace::WriteLine(const char *text) {
    if (!Enabled()) return;
    struct timeval tv;
    ::gettimeofday(&tv, nullptr);
    struct tm local;
    ::localtime_r(&tv.tv_sec, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
        static_cast<int>(tv.tv_usec / 1000));
    // Cut at 255 UTF-16 units, never inside a surrogate pair.
    std::u16string wide = platform::Utf8ToUtf16(text ? text : "");
    if (wide.size() > kMaxTextCharacters) {
        size_t cut = kMaxTextCharacters;
        if (wide[cut - 1] >= 0xD800 && wide[cut - 1] <= 0xDBFF) --cut;
        wide.resize(cut);
    }
    Append(std::string(stamp) + '\t' + platform::Utf16ToUtf8(wide));
}

void CNubraTrace::Append(const std::string &record) {
    std::lock_guard<std::mutex> g(fileLock_);
    if (newDay_) {
        time_t now = ::time(nullptr);
        struct tm local;
        ::localtime_r(&now, &local);
        char date[48];
        std::snprintf(date, sizeof date, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
        date_ = date;
        const std::string folder = Folder();
        filePath_ = folder.empty() ? std::string() : folder + date_ + ".txt";
        newDay_ = false;
    }
    // No folder (none could be made safely): the record is dropped. Links,
    // pipes and devices planted under the file's name are never written to.
    bool created = false;
    const int fd = filePath_.empty() ? -1 : platform::OpenForAppend(filePath_, created);
    if (fd >= 0) {
        std::u16string wide = platform::Utf8ToUtf16(record);
        std::string bytes;
        if (created) bytes += "\xFF\xFE";
        for (char16_t c : wide) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        bytes += std::string("\r\0\n\0", 4);
        platform::WriteAll(fd, bytes.data(), bytes.size());
        platform::CloseFile(fd);
    }
    // Each record lands in the file of the day on which it is written.
    newDay_ = true;
}

std::string CNubraTrace::FilePath() {
    std::lock_guard<std::mutex> g(fileLock_);
    return filePath_;
}

std::string LogFolder() {
    const std::string dir = platform::ExecutableFolder();
    return dir + (dir == "/" ? "" : "/") + "_VelumiLog/";
}

namespace {
// The user's own state folder ("" without XDG_STATE_HOME or HOME).
std::string UserStateFolder() {
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return std::string(state) + "/velumi/log/";
    const char *home = std::getenv("HOME");
    if (home && *home == '/') return std::string(home) + "/.local/state/velumi/log/";
    return std::string();
}

}  // namespace

void TraceStart() { TraceStartBeside(platform::ExecutableFolder()); }

void TraceStartBeside(const std::string &exeDir) {
    CNubraTrace &trace = CNubraTrace::Instance();
    if (platform::TraceFileOff()) {  // VELUMI_NO_TRACE_FILE: no file and no folder
        trace.Enable(false);
        return;
    }
    const char *forced = std::getenv("VELUMI_LOG_DIR");
    if (forced && *forced) {
        std::string dir = forced;
        if (dir.back() != '/') dir += '/';
        trace.SetFolder(dir);
    } else {
        // Beside the executable, unless that is a system folder (an SDK loaded
        // by /usr/bin/python3 must not write into /usr/bin); then the user's
        // state folder; then a private folder in /tmp; else no trace file.
        const std::string beside = exeDir + (exeDir == "/" ? "" : "/") + "_VelumiLog/";
        const std::string state = UserStateFolder();
        const std::string temp = platform::UserTempFolder("velumi-log");
        const bool done = (!platform::IsSystemFolder(exeDir) && trace.SetPrivateFolder(beside)) ||
                          (!state.empty() && trace.SetFolder(state)) || trace.SetPrivateFolder(temp);
        if (!done) trace.SetFolder(std::string());
    }
    trace.Enable(true);
}

}  // namespace velumi
