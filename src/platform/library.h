// Run-time loading of shared libraries (dlopen/dlsym).
#pragma once

#include <string>

namespace velumi::platform {

class Library {
public:
    Library() = default;
    ~Library();
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;

    // Loads a library by path or by name (system search). False on failure;
    // Error() then says why. keepLoaded: Close forgets the handle but the code
    // and what the library allocated stay for the life of the process.
    bool Open(const std::string &nameOrPath, bool keepLoaded = false);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    void *Symbol(const char *name) const;
    const std::string &Error() const { return error_; }

private:
    void *handle_ = nullptr;
    std::string error_;
};

// The folder of the shared object (or executable) that contains this code,
// with a trailing "/"; empty when unknown.
std::string OwnDirectory();

}  // namespace velumi::platform
