// What a test can count of its own process and clock, to check that nothing is left behind,
// and what it reads back of the files it made.
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace test_support {

// Entries in a /proc folder, less "." and "..".
inline int EntriesOf(const char *folder) {
    int n = 0;
    DIR *d = opendir(folder);
    if (!d) return -1;
    while (readdir(d)) ++n;
    closedir(d);
    return n - 2;
}

// Open file descriptors (the one that reads the folder included).
inline int OpenDescriptors() { return EntriesOf("/proc/self/fd") + 2; }

// Threads of this process.
inline int Threads() { return EntriesOf("/proc/self/task"); }

// Today's local date as YYYYMMDD, as the log file names carry it.
inline std::string Today() {
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    char buf[16];
    strftime(buf, sizeof buf, "%Y%m%d", &t);
    return buf;
}

// A new empty folder in the system's temporary folder, named `prefix` and six
// random characters; "" when it cannot be made.
inline std::string NewTempFolder(const std::string &prefix) {
    std::string path = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    return mkdtemp(&path[0]) ? path : "";
}

// The whole content of a file; "" when it cannot be read.
inline std::string FileText(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace test_support
