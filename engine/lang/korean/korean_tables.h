// Constant tables of the Korean translator. Cells use the engine encoding
// (dot n in bit n-1).
#pragma once

#include <cstdint>

#include "core/cells.h"

namespace kotari {
namespace korean {

// A syllable is one of 19 initials, one of 21 vowels and one of 28 finals (the
// first of them: no final), numbered in that order from U+AC00.
constexpr int kInitialCount = 19, kVowelCount = 21, kFinalCount = 28;

// Jamo numbers: initials 0-18, vowels 19-39, finals 40-67 (40 = no final).
constexpr int kInitialBase = 0;
constexpr int kVowelBase = kInitialBase + kInitialCount;
constexpr int kFinalBase = kVowelBase + kVowelCount;
constexpr int kJamoCount = kFinalBase + kFinalCount;

struct JamoCells {
    uint8_t count;
    uint8_t cells[2];
};
extern const JamoCells kJamoCells[kJamoCount];

// Compatibility jamo U+3131-U+3163.
constexpr char16_t kCompatFirst = 0x3131;
constexpr char16_t kCompatLast = 0x3163;
constexpr int kCompatCount = kCompatLast - kCompatFirst + 1;
extern const JamoCells kCompatJamoCells[kCompatCount];

// Words written as two cells at the start of a word.
struct WordAbbreviation {
    char16_t word[5];
    uint8_t length;
    uint8_t cells[2];
};
constexpr int kWordAbbreviationCount = 7;
extern const WordAbbreviation kWordAbbreviations[kWordAbbreviationCount];

// A range of syllables written with fixed cells; `withFinal`: the syllable's
// final consonant cells follow.
struct SyllableRange {
    char16_t first;
    char16_t last;
    uint8_t count;
    uint8_t cells[4];
    bool withFinal;
};
// The first set: syllables with cells of their own; the second: a consonant plus
// ㅏ, any final. Searched in order; the rows are kept in data/korean_*_ranges.tsv.
inline constexpr SyllableRange kFirstRangeSet[] = {
#include "korean_first_ranges.inc"
};
inline constexpr SyllableRange kSecondRangeSet[] = {
#include "korean_second_ranges.inc"
};
constexpr int kFirstRangeCount = CountOf(kFirstRangeSet);
constexpr int kSecondRangeCount = CountOf(kSecondRangeSet);

// A vowel with a range of finals (final numbers 0-27, 0 = none) written as one cell.
struct VowelFinalAbbreviation {
    uint8_t vowel;  // 0-20
    uint8_t firstFinal;  // 1-27
    uint8_t lastFinal;
    uint8_t cell;
};
constexpr int kVowelFinalCount = 14;
extern const VowelFinalAbbreviation kVowelFinalAbbreviations[kVowelFinalCount];

// Hanja and their readings ("meaning sound"), sorted by character. The rows are
// generated at build time from libhangul's dictionary (scripts/gen_hanja_table.py).
constexpr int kMaxHanjaReading = 11;
struct HanjaReading {
    char16_t ch;
    uint8_t length;
    char16_t reading[kMaxHanjaReading];
};
extern const HanjaReading *const kHanjaReadings;
extern const int kHanjaReadingCount;

// Roman numerals U+2160-U+216B and U+2170-U+217B spelled in Latin letters.
struct RomanNumeral {
    char16_t ch;
    uint8_t length;
    char spelling[5];
};
inline constexpr RomanNumeral kRomanNumerals[] = {
#include "korean_roman_numerals.inc"
};
constexpr int kRomanNumeralCount = CountOf(kRomanNumerals);

// Punctuation and symbols: the class number is the row's index. The rows and
// the names of the classes with special rules are kept in data/korean_punctuation.tsv.
using PunctuationEntry = CharCells<8>;
constexpr int kPunctuationCount = 79;
extern const PunctuationEntry kPunctuation[kPunctuationCount];

// Variant characters (full-width forms, other brackets and dashes) and their class.
struct PunctuationVariant {
    char16_t ch;
    uint8_t cls;
};
constexpr int kPunctuationVariantCount = 45;
extern const PunctuationVariant kPunctuationVariants[kPunctuationVariantCount];

// Classes with special rules.
enum PunctuationClass : int {
#include "korean_punctuation_names.inc"
};

// Digits use kDigitCells and kNumberSign (core/cells.h).

// Circled numbers U+2460-U+2473, lowered digits written after the number sign.
constexpr char16_t kCircledFirst = 0x2460;
constexpr char16_t kCircledLast = 0x2473;
using CircledNumber = JamoCells;  // the same: up to two cells
extern const CircledNumber kCircledNumbers[kCircledLast - kCircledFirst + 1];

}  // namespace korean
}  // namespace kotari
