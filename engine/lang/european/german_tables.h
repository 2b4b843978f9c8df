// German tables: punctuation and symbols, and the grade 2 letter groups with
// the word patterns that keep a group from being contracted.
#pragma once

#include <cstdint>

namespace kotari {
namespace german {

struct SymbolRecord {
    char16_t ch;
    uint8_t cells[4];
    uint8_t count;
};

constexpr int kSymbolCount = 46;
extern const SymbolRecord kSymbols[kSymbolCount];  // sorted by character

// How a pattern must stand in the word (compared in small letters).
enum class PatternPlace : uint8_t {
    kAnywhere,          // the text occurs anywhere in the word
    kAfterLetter,       // one letter, then the text
    kAfterLetterAtEnd,  // one letter, then the text, which ends the word
    kAfterLetterThenOne,  // one letter, the text, then one more letter
};

struct Pattern {
    const char16_t *text;
    PatternPlace place;
};

struct LetterGroup {
    const char16_t *letters;   // small letters; a capital first letter matches too
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
