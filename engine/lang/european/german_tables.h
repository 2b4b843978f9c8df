// German tables: punctuation and symbols, and the grade 2 letter groups with
// the word patterns that keep a group from being contracted.
#pragma once

#include <cstdint>

#include "core/cells.h"

namespace kotari {
namespace german {

using SymbolRecord = CharCells<4>;

constexpr int kSymbolCount = 46;
extern const SymbolRecord kSymbols[kSymbolCount];  // sorted by character

// How a pattern must stand in the word (compared in small letters).
enum class PatternPlace : uint8_t {
    kAnywhere,  // the text occurs anywhere in the word
    kAfterLetter,  // one letter, then the text
    kAfterLetterAtEnd,  // one letter, then the text, which ends the word
    kAfterLetterThenOne,  // one letter, the text, then one more letter
};

struct Pattern {
    const char16_t *text;
    PatternPlace place;
};

struct LetterGroup {
    const char16_t *letters;  // small letters; a capital first letter matches too
    uint8_t cell;
    const Pattern *exceptions;  // the word is written letter by letter at this group
    uint8_t exceptionCount;
    const Pattern *overrides;  // ...unless it also holds one of these
    uint8_t overrideCount;
};

constexpr int kGroupCount = 8;
extern const LetterGroup kGroups[kGroupCount];  // longer groups first for a shared first letter

}  // namespace german
}  // namespace kotari
