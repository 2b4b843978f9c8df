#include "platform/library.h"

#include <dlfcn.h>

namespace velumi::platform {

Library::~Library() { Close(); }

bool Library::Open(const std::string &nameOrPath, bool keepLoaded) {
    Close();
    dlerror();
    handle_ = ::dlopen(nameOrPath.c_str(), RTLD_NOW | RTLD_LOCAL | (keepLoaded ? RTLD_NODELETE : 0));
    if (!handle_) {
        const char *e = dlerror();
        error_ = e ? e : "unknown error";
        return false;
    }
    error_.clear();
    return true;
}

void Library::Close() {
    if (handle_) ::dlclose(handle_);
    handle_ = nullptr;
}

void *Library::Symbol(const char *name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }

std::string OwnDirectory() {
    Dl_info info;
    if (::dladdr(reinterpret_cast<void *>(&OwnDirectory), &info) == 0 || !info.dli_fname) return {};
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace velumi::platform
