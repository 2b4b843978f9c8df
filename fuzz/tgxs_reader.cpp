// Feeds random documents to the TGXS reader, from memory and through a file
// read as a plain path (the route VELUMI_GET_TGXS_DATA takes). Neither may
// crash or throw, both must agree, a reader that reports success holds an
// object root, and it never keeps more items than its bound.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tgxs/tgxs_reader.h"

using velumi::tgxs::TgxsReader;
using velumi::tgxs::TgxsStatus;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *text = reinterpret_cast<const char *>(data);
    TgxsReader fromMemory;
    const bool ok = fromMemory.Parse(text, size);
    if (ok != (fromMemory.status() == TgxsStatus::kOk)) std::abort();
    if (ok && !fromMemory.root().isObject()) std::abort();
    if (static_cast<size_t>(fromMemory.itemCount()) > velumi::tgxs::kTgxsMaxItems ||
        static_cast<size_t>(fromMemory.itemCount()) > fromMemory.itemsInDocument())
        std::abort();
    if (!ok && (fromMemory.itemCount() != 0 || !fromMemory.title().empty())) std::abort();
    fromMemory.Dump();

    const char *dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/fuzz-tgxs-XXXXXX";
    int fd = mkstemp(&path[0]);
    if (fd < 0) return 0;
    bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    if (written) {
        TgxsReader fromFile(path.c_str());
        if (fromFile.status() != fromMemory.status() || fromFile.title() != fromMemory.title() ||
            fromFile.itemCount() != fromMemory.itemCount())
            std::abort();
        if (fromFile.localName() == path) std::abort();
    }
    ::unlink(path.c_str());
    return 0;
}
