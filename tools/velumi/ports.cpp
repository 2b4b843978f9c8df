#include "ports.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velumi_tool {

std::string PortPath(int n) {
    const std::string mapped = "VELUMI_PORT_" + std::to_string(n);
    if (const char *path = std::getenv(mapped.c_str()); path && *path) return path;
    const char *dir = std::getenv("VELUMI_PORT_DIR");
    if (dir && *dir) return std::string(dir) + "/com" + std::to_string(n);
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string PortErrorText(int err) {
    switch (err) {
    case ENOENT:
        return "no such device; plug the pad in and look for it in /dev/serial/by-id/ or as /dev/ttyUSB* or "
               "/dev/ttyACM*";
    case ENXIO:
    case ENODEV: return "no such device (the device is gone: unplugged or switched off); plug the pad in again";
    case EACCES:
    case EPERM:
        return "permission denied; add yourself to the dialout group (sudo usermod -aG dialout $USER, then log in "
               "again) or install the udev rule from the README";
    case EBUSY:
    case EWOULDBLOCK: return "port busy: another program has the port open; close it (fuser -v shows which)";
    case ENOTTY: return "not a serial port";
    case EISDIR: return "a folder, not a serial port";
    default: return std::strerror(err);
    }
}

std::string PortProblem(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return PortErrorText(errno);
    std::string problem;
    if (!::isatty(fd)) problem = PortErrorText(ENOTTY);
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) problem = PortErrorText(EBUSY);
    ::close(fd);
    return problem;
}

}  // namespace velumi_tool
