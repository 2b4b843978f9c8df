#include "braille/louis_call.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "api/error_codes.h"
#include "platform/diagnostics.h"

namespace velumi {

int LouisCall::Open(const std::string &libraryName) {
    translate_ = nullptr;
    if (!library_.Open(libraryName, true)) return NUBRA_ERROR_KOTARI_DLL_LOAD_FAIL;
    translate_ = reinterpret_cast<TranslateFn>(library_.Symbol("lou_translate"));
    if (!translate_) {
        library_.Close();
        return NUBRA_ERROR_KOTARI_DLL_GET_FUNC_FAIL;
    }
    // liblouis writes its own warnings (a table not found) to standard error.
    using SetLogLevelFn = void (*)(int);
    auto setLogLevel = reinterpret_cast<SetLogLevelFn>(library_.Symbol("lou_setLogLevel"));
    constexpr int kLouisLogOff = 60000;  // LOU_LOG_OFF
    if (setLogLevel && platform::DiagnosticsQuiet()) setLogLevel(kLouisLogOff);
    using CharSizeFn = int (*)();
    auto charSize = reinterpret_cast<CharSizeFn>(library_.Symbol("lou_charSize"));
    charSize_ = charSize ? charSize() : 2;
    return 0;
}

void LouisCall::Close() {
    translate_ = nullptr;
    library_.Close();
}

namespace {
template <typename Char>
bool CallWith(
    int (*translate)(const char *, const void *, int *, void *, int *, void *, char *, int *, int *, int *, int),
    const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) {
    std::vector<Char> input;
    input.reserve(in.size());
    for (char32_t c : in) {
        if (sizeof(Char) == 2 && c > 0xFFFF) {
            input.push_back(static_cast<Char>(0xD800 + ((c - 0x10000) >> 10)));
            input.push_back(static_cast<Char>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            input.push_back(static_cast<Char>(c));
        }
    }
    std::vector<Char> output(static_cast<size_t>(capacity));
    int inLength = static_cast<int>(input.size());
    int outLength = capacity;
    const int ok = translate(tableList.c_str(), input.data(), &inLength, output.data(), &outLength, nullptr, nullptr,
        nullptr, nullptr, nullptr, 0);
    // A failed translation (a missing table, say) leaves nothing usable.
    if (!ok || outLength < 0 || outLength > capacity) return false;
    out.assign(output.begin(), output.begin() + outLength);
    return true;
}
}  // namespace

bool LouisCall::Translate(const std::string &tableList, const std::u32string &in, std::u32string &out,
    int capacity) const {
    if (!translate_) return false;
    return charSize_ == 4 ? CallWith<uint32_t>(translate_, tableList, in, out, capacity)
                          : CallWith<uint16_t>(translate_, tableList, in, out, capacity);
}

void SetLouisTablePath() {
    DiagnosticLine("%s", kLouisTableDir);
    if (::setenv("LOUIS_TABLEPATH", kLouisTableDir, 1) != 0)
        DiagnosticError("Failed to set environment variable: %s", std::strerror(errno));
}

int LouisOutputCapacity(size_t inputLength) {
    constexpr size_t kLeast = 6144;
    const size_t wanted = 8 * inputLength + 64;
    return static_cast<int>(wanted > kLeast ? wanted : kLeast);
}

}  // namespace velumi
