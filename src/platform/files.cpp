#include "platform/files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velumi::platform {

int OpenRegularFile(const std::string &path, std::string &why, bool *notRegular) {
    if (notRegular) *notRegular = false;
    // O_NONBLOCK: a pipe without a writer or a serial line would hold open()
    // or the first read; they are refused after fstat.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::strerror(errno);
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? "a directory" : "not a regular file";
        if (notRegular) *notRegular = true;
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

void CloseFile(int fd) {
    if (fd >= 0) ::close(fd);
}

bool WriteAll(int fd, const void *data, size_t size) {
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool MakeFolder(const std::string &path) {
    if (path.empty()) return true;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadAtMost(int fd, size_t limit, std::string &out) {
    out.clear();
    char buffer[65536];
    while (out.size() < limit) {
        const size_t want = std::min(sizeof buffer, limit - out.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

bool IsSystemFolder(const std::string &folder) {
    static const char *const kSystem[] = {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/etc",
        "/opt", "/boot", "/dev", "/proc", "/sys", "/run", "/snap", "/nix"};
    // Judge the real folder: /bin may be a link to /usr/bin, and a link
    // elsewhere may lead into a system folder.
    char real[PATH_MAX];
    const std::string path = ::realpath(folder.c_str(), real) ? std::string(real) : folder;
    if (path.empty() || path[0] != '/') return false;
    if (path == "/") return true;
    for (const char *s : kSystem) {
        const size_t n = std::strlen(s);
        if (path.compare(0, n, s) == 0 && (path.size() == n || path[n] == '/')) return true;
    }
    return false;
}

std::string ExecutableFolder() {
    char exe[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", exe, PATH_MAX);
    if (n <= 0) return ".";
    std::string dir(exe, static_cast<size_t>(n));
    const size_t slash = dir.rfind('/');
    if (slash == std::string::npos) return ".";
    dir.resize(slash);
    return dir.empty() ? "/" : dir;
}

bool EnsurePrivateFolder(const std::string &folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty()) return false;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    // Checked on an open descriptor of the folder itself, never through a link.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
    if (ok && (st.st_mode & 077) != 0) ok = ::fchmod(fd, st.st_mode & 0700) == 0;
    ::close(fd);
    return ok;
}

std::string UserTempFolder(const std::string &name) {
    const char *tmp = std::getenv("TMPDIR");
    std::string base = tmp && *tmp == '/' ? tmp : "/tmp";
    if (base.back() != '/') base += '/';
    return base + name + "-" + std::to_string(::geteuid()) + "/";
}

int OpenForAppend(const std::string &path, bool &created) {
    const int common = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(path.c_str(), common | O_CREAT | O_EXCL, 0600);
    created = fd >= 0;
    if (!created) fd = ::open(path.c_str(), common | O_APPEND);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        ::close(fd);
        created = false;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace velumi::platform
