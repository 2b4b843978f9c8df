#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>

#include <cstdlib>
#include <cstring>

#include "platform/clock.h"
#include "platform/files.h"

extern char **environ;

namespace velumi::platform {

namespace {
int RemainingMs(uint64_t deadlineMs) {
    const uint64_t now = NowMs();
    return now >= deadlineMs ? 0 : static_cast<int>(deadlineMs - now);
}

// Waits until fd is ready for `events` or the deadline passes.
ExchangeResult WaitReady(int fd, short events, uint64_t deadlineMs) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, RemainingMs(deadlineMs));
        if (n > 0) return (p.revents & (events | POLLHUP)) ? ExchangeResult::Done : ExchangeResult::Closed;
        if (n == 0) return ExchangeResult::TimedOut;
        if (errno != EINTR) return ExchangeResult::Closed;
    }
}
}  // namespace

bool HelperProcess::Start(const std::string &path, const std::vector<std::string> &args, std::string &error) {
    Kill();
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        error = std::string("socketpair: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pair[1], kHelperChannelFd);  // dup2 clears close-on-exec
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(path.c_str()));
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    std::string parent = std::to_string(::getpid());
    argv.push_back(parent.data());
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(pair[0]);
        error = path + ": " + std::strerror(spawned);
        return false;
    }
    socket_ = pair[0];
    endReason_.clear();
    return true;
}

bool HelperProcess::Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
    if (ended == 0) return true;
    if (ended == pid_) {
        Reaped(status);
    } else {  // reaped elsewhere: it has ended all the same
        endReason_.clear();
        pid_ = -1;
    }
    return false;
}

ExchangeResult HelperProcess::Send(const void *data, size_t size, uint64_t deadlineMs) {
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        if (socket_ < 0) return ExchangeResult::Closed;
        const ExchangeResult ready = WaitReady(socket_, POLLOUT, deadlineMs);
        if (ready != ExchangeResult::Done) return ready;
        const ssize_t n = ::send(socket_, p, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return ExchangeResult::Closed;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return ExchangeResult::Done;
}

ExchangeResult HelperProcess::Receive(void *data, size_t size, uint64_t deadlineMs) {
    char *p = static_cast<char *>(data);
    while (size > 0) {
        if (socket_ < 0) return ExchangeResult::Closed;
        const ExchangeResult ready = WaitReady(socket_, POLLIN, deadlineMs);
        if (ready != ExchangeResult::Done) return ready;
        const ssize_t n = ::recv(socket_, p, size, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return ExchangeResult::Closed;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return ExchangeResult::Done;
}

void HelperProcess::Stop(int graceMs) {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
    const uint64_t deadline = NowMs() + static_cast<uint64_t>(graceMs);
    while (Running() && NowMs() < deadline) SleepMs(5);
    Kill();
}

void HelperProcess::Kill() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
    if (pid_ <= 0) return;  // never kill(0) or kill(-1): those reach whole groups
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    Reaped(status);
}

void HelperProcess::Reaped(int status) {
    if (WIFEXITED(status)) endReason_ = "exit status " + std::to_string(WEXITSTATUS(status));
    else if (WIFSIGNALED(status)) endReason_ = "signal " + std::to_string(WTERMSIG(status));
    pid_ = -1;
}

bool IsExecutable(const std::string &path) { return !path.empty() && ::access(path.c_str(), X_OK) == 0; }

void EndWithParent(pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(1);  // the parent ended before the request took effect
}

void CloseInheritedDescriptors() {
    DIR *dir = ::opendir("/proc/self/fd");
    if (!dir) return;
    std::vector<int> open;
    while (const dirent *entry = ::readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd > kHelperChannelFd && fd != ::dirfd(dir)) open.push_back(fd);
    }
    ::closedir(dir);
    for (int fd : open) ::close(fd);
}

bool ReadFully(int fd, void *data, size_t size) {
    char *p = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool WriteFully(int fd, const void *data, size_t size) { return WriteAll(fd, data, size); }

}  // namespace velumi::platform
