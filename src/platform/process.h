// A helper process: a program started with one socket to talk over, with
// deadlines on every exchange, stopped or killed at will. The parent never
// receives SIGPIPE from it, and a helper dies with its parent.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velumi::platform {

// The descriptor a helper finds its end of the socket on.
constexpr int kHelperChannelFd = 3;

enum class ExchangeResult { Done, TimedOut, Closed };

class HelperProcess {
public:
    HelperProcess() = default;
    ~HelperProcess() { Kill(); }
    HelperProcess(const HelperProcess &) = delete;
    HelperProcess &operator=(const HelperProcess &) = delete;

    // Starts the program at `path` with `args` (argv[1]...) and this process's
    // id as its last argument, its end of the socket on descriptor 3, standard
    // input from /dev/null, standard output and error shared with this process.
    // False with the reason in `error`.
    bool Start(const std::string &path, const std::vector<std::string> &args, std::string &error);
    // True while the helper runs (reaps it when it has ended).
    bool Running();
    pid_t Pid() const { return pid_; }

    // Sends or receives exactly `size` bytes before `deadlineMs` (NowMs clock).
    ExchangeResult Send(const void *data, size_t size, uint64_t deadlineMs);
    ExchangeResult Receive(void *data, size_t size, uint64_t deadlineMs);

    // Closes the socket, gives the helper `graceMs` to end, then kills it; reaps it.
    void Stop(int graceMs);
    // Kills the helper at once and reaps it.
    void Kill();
    // How the last helper ended: "exit status N", "signal N", or "" when unknown.
    const std::string &EndReason() const { return endReason_; }

private:
    void Reaped(int status);

    pid_t pid_ = -1;
    int socket_ = -1;
    std::string endReason_;
};

// True when `path` names a file this process may execute.
bool IsExecutable(const std::string &path);

// In a helper: ends the helper when its parent (process `parent`) ends, so that
// no helper stuck in a runaway call outlives the application.
void EndWithParent(pid_t parent);
// In a helper: closes every descriptor above the channel that the application
// left open to its children, so that the helper holds none of its files or ports.
void CloseInheritedDescriptors();
// In a helper: reads or writes exactly `size` bytes on fd; false at the end of input or on an error.
bool ReadFully(int fd, void *data, size_t size);
bool WriteFully(int fd, const void *data, size_t size);

}  // namespace velumi::platform
