// The Czech character table and its flags.
#pragma once

#include <cstdint>

namespace kotari {
namespace czech {

enum CharFlag : uint16_t {
    kBlank = 0x0001,
    kDigit = 0x0002,
    kCapital = 0x0004,
    kSmall = 0x0008,
    kPrefixed = 0x0010,  // a symbol that may take a prefix cell
    kPunctuation = 0x0020,
    kEndsCapitals = 0x0040,  // a symbol that ends a capital run
    kPrefix3C = 0x0080,
    kPrefix20 = 0x0100,
    kPrefix18 = 0x0200,
    kPrefix28 = 0x0400,
    kKeepsNumber = 0x0800,  // decimal comma and point
    kLetterAtoJ = 0x1000,  // needs the separator after a number
};

constexpr int kMaxCells = 10;

struct CharRecord {
    char16_t ch;
    uint8_t cells[kMaxCells];
    uint8_t count;
    uint16_t flags;
};

constexpr int kCharTableSize = 160;
extern const CharRecord kCharTable[kCharTableSize];

// A character that is not in the table: the single cell 22, no flags.
constexpr CharRecord kUnknownRecord = {0, {0x22}, 1, 0};

}  // namespace czech
}  // namespace kotari
