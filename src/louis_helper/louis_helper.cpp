// velumi-louis-helper: runs liblouis apart from the application, so that a
// translation that never ends or crashes inside liblouis costs the SDK this
// process only. The SDK starts it, keeps it for many calls, and kills it when
// a call misses its deadline.
//
//   velumi-louis-helper LIBRARY PARENT_PID     (the socket to the SDK is descriptor 3)
//
// Each request: u32 table-list length, the table list, u32 character count,
// the characters (u32 each), u32 output capacity. Each answer: u32 1 (done) or
// 0 (liblouis failed), u32 character count, the characters (u32 each).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "braille/louis_call.h"
#include "platform/process.h"

namespace {
using velumi::platform::kHelperChannelFd;
using velumi::platform::ReadFully;
using velumi::platform::WriteFully;

constexpr uint32_t kMostTableBytes = 1 << 16;
constexpr uint32_t kMostCharacters = 1 << 24;

bool ReadNumber(uint32_t &n) { return ReadFully(kHelperChannelFd, &n, sizeof n); }

bool ReadRequest(std::string &tables, std::u32string &input, uint32_t &capacity) {
    uint32_t length = 0;
    if (!ReadNumber(length) || length > kMostTableBytes) return false;
    tables.resize(length);
    if (!ReadFully(kHelperChannelFd, tables.data(), length)) return false;
    if (!ReadNumber(length) || length > kMostCharacters) return false;
    input.resize(length);
    if (!ReadFully(kHelperChannelFd, input.data(), length * sizeof(char32_t))) return false;
    return ReadNumber(capacity) && capacity <= kMostCharacters;
}

bool Answer(bool done, const std::u32string &output) {
    const uint32_t head[2] = {done ? 1u : 0u, static_cast<uint32_t>(output.size())};
    return WriteFully(kHelperChannelFd, head, sizeof head) &&
           WriteFully(kHelperChannelFd, output.data(), output.size() * sizeof(char32_t));
}
}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) return 2;
    velumi::platform::EndWithParent(static_cast<pid_t>(std::atol(argv[2])));
    velumi::platform::CloseInheritedDescriptors();
    velumi::LouisCall louis;
    if (louis.Open(argv[1]) != 0) return 3;
    std::string tables;
    std::u32string input, output;
    uint32_t capacity = 0;
    while (ReadRequest(tables, input, capacity)) {
        output.clear();
        const bool done = louis.Translate(tables, input, output, static_cast<int>(capacity));
        if (!Answer(done, output)) return 4;
    }
    return 0;  // the SDK closed the socket
}
