#include "Log/nubra_trace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/diagnostics.h"
#include "platform/utf.h"

namespace velumi {

namespace {
bool MakeDirectory(const std::string &path) {
    if (path.empty()) return true;
    if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    return false;
}

bool WriteAll(int fd, const void *data, size_t size) {
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

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
    // Create every prefix ending in "/": "a/", "a/b/", ...
    bool ok = true;
    size_t pos = 0;
    while ((pos = copy.find('/', pos)) != std::string::npos) {
        if (pos > 0) ok = MakeDirectory(copy.substr(0, pos));
        ++pos;
    }
    if (!copy.empty() && copy.back() != '/') ok = MakeDirectory(copy);
    std::lock_guard<std::mutex> g(lock_);
    folder_ = copy;
    return ok;
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
        filePath_ = Folder() + date_ + ".txt";
        newDay_ = false;
    }
    int fd = ::open(filePath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    bool created = fd >= 0;
    if (!created) fd = ::open(filePath_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd >= 0) {
        std::u16string wide = platform::Utf8ToUtf16(record);
        std::string bytes;
        if (created) bytes += "\xFF\xFE";
        for (char16_t c : wide) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        bytes += std::string("\r\0\n\0", 4);
        if (!created) ::lseek(fd, 0, SEEK_END);
        WriteAll(fd, bytes.data(), bytes.size());
        ::close(fd);
    }
    // Each record lands in the file of the day on which it is written.
    newDay_ = true;
}

std::string CNubraTrace::FilePath() {
    std::lock_guard<std::mutex> g(fileLock_);
    return filePath_;
}

std::string LogFolder() {
    char exe[PATH_MAX + 1];
    ssize_t n = ::readlink("/proc/self/exe", exe, PATH_MAX);
    std::string dir = ".";
    if (n > 0) {
        exe[n] = '\0';
        dir.assign(exe, static_cast<size_t>(n));
        size_t slash = dir.rfind('/');
        dir = slash == std::string::npos ? "." : dir.substr(0, slash);
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir + "/_VelumiLog/";
}

namespace {
std::string UserStateFolder() {
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state && *state) return std::string(state) + "/velumi/log/";
    const char *home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/state/velumi/log/";
    return "/tmp/velumi-log/";
}
}  // namespace

void TraceStart() {
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
    } else if (!trace.SetFolder(LogFolder())) {
        trace.SetFolder(UserStateFolder());
    }
    trace.Enable(true);
}

}  // namespace velumi
