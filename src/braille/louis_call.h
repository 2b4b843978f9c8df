// liblouis bound at run time, and the one call the SDK makes to it,
// lou_translate. Used in this process and by the helper process that runs
// liblouis apart from the application.
#pragma once

#include <string>

#include "platform/library.h"

namespace velumi {

constexpr char kLouisTableDir[] = "/usr/share/liblouis/tables";
constexpr char kLouisLibraryName[] = "liblouis.so.20";

class LouisCall {
public:
    // 0, VELUMI_ERROR_ENGINE_LOAD_FAIL (no library) or VELUMI_ERROR_ENGINE_GET_FUNC_FAIL
    // (no lou_translate). The library stays mapped once loaded: liblouis keeps its
    // tables in memory it never frees, and unloading it would lose them.
    int Open(const std::string &libraryName);
    void Close();
    bool IsOpen() const { return translate_ != nullptr; }

    // Translates `in` (Unicode scalar values) with the table list into `out`
    // (at most `capacity` characters). False when liblouis fails.
    bool Translate(const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) const;

private:
    using TranslateFn = int (*)(const char *tableList, const void *inbuf, int *inlen, void *outbuf, int *outlen,
        void *typeform, char *spacing, int *outputPos, int *inputPos, int *cursorPos, int mode);
    platform::Library library_;
    TranslateFn translate_ = nullptr;
    int charSize_ = 4;  // liblouis is built with 16- or 32-bit characters
};

// Sets LOUIS_TABLEPATH to the table folder, saying so on standard output.
void SetLouisTablePath();

// Room for liblouis's output: contracted braille rarely grows beyond four cells a
// character, but indicators can; at least 6144 cells as before.
int LouisOutputCapacity(size_t inputLength);

}  // namespace velumi
