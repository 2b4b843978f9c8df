// UTF-8 / UTF-16 conversion. Invalid input (unpaired surrogates, bad UTF-8
// sequences) becomes U+FFFD, so the output is always well formed.
#pragma once

#include <string>

namespace velumi::platform {

std::u16string Utf8ToUtf16(const std::string &utf8);
std::string Utf16ToUtf8(const char16_t *text, size_t length);
inline std::string Utf16ToUtf8(const std::u16string &text) { return Utf16ToUtf8(text.data(), text.size()); }

}  // namespace velumi::platform
