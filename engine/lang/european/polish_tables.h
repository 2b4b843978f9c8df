// Polish character tables: 233 characters sorted by code point, each with a
// type byte and one cell or the index of a record of up to four cells; the
// capitals among them in a table of their own.
#pragma once

#include <cstdint>

#include "lang/european/char_table.h"

namespace kotari {

struct PolishChar {
    char16_t ch;
    uint8_t type;  // kType*; with kTypeRecord, `cell` indexes kPolishRecords
    uint8_t cell;
};

struct PolishRecord {
    uint8_t type;
    uint8_t count;
    uint8_t cells[4];
};

constexpr int kPolishCharCount = 233;
constexpr int kPolishCapitalCount = 58;

extern const PolishRecord kPolishRecords[];
extern const PolishChar kPolishChars[kPolishCharCount];
extern const char16_t kPolishCapitals[kPolishCapitalCount];

}  // namespace kotari
