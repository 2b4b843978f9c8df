// The two abbreviation tables of contracted French braille.
#pragma once

#include <cstdint>

namespace kotari {

// A whole word or fixed phrase, abbreviated at the start of a word.
struct FrenchWordEntry {
    const char16_t *text;  // small letters
    uint8_t length;
    const char *cells;
    uint8_t cellCount;
};

// A letter group abbreviated inside a word where its position code allows.
struct FrenchGroupEntry {
    const char16_t *text;
    uint8_t length;
    const char *cells;
    uint8_t cellCount;
    uint8_t position;  // a FrenchPlace: where in a word the group may be abbreviated
};

// Where an in-word group may be abbreviated, tested on the character after it
// ("next"). At word start: no letter of the word has been written yet.
enum FrenchPlace : uint8_t {
    kAnywhere = 0,
    kAtWordEnd = 1,  // not at the word start, and next ends the word (or a plural s that ends it)
    kBeforeDoubledOrConsonant = 2,  // inside the word, next repeats the group's last letter or is a consonant
    kBeforeVowel = 3,
    kBeforeConsonant = 4,
    kNotAtWordStart = 5,
    kAtWordStart = 6,
    kBeforeConsonantToo = 7,  // the same test as kBeforeConsonant
    kAtWordStartBeforeConsonant = 8,
    kBeforeConsonantAlso = 9,  // the same test as kBeforeConsonant
    kAtWordStartOrBeforeConsonant = 10,
    kInsideWord = 11,  // neither at word start nor at its end
    kAtWordStartBeforeBMP = 12,  // at word start, next is b, m or p
    kBetweenVowels = 13,  // not at word start, a vowel before and after the group
    kAtWordEndOrBeforeConsonant = 14,
    kNotAtWordStartToo = 15,  // the same test as kNotAtWordStart
    kAtWordStartOrEnd = 16,
    kInsideBeforeConsonantOrAtEnd = 17,
    kAtWordStartOrEndOrBeforeConsonant = 18,
};

struct FrenchRow {
    uint16_t first;
    uint16_t count;
};

// Word-start rows: a-v (0-21), then à (22), é (23), ê (24), œ (25).
constexpr int kFrenchWordStartRowCount = 26;
// In-word rows: a-v (0-21), then é (22), ï (23), ó (24), ö (25).
constexpr int kFrenchInWordRowCount = 26;

extern const FrenchWordEntry kFrenchWordStart[];
extern const int kFrenchWordStartCount;
extern const FrenchRow kFrenchWordStartRows[kFrenchWordStartRowCount];
extern const FrenchGroupEntry kFrenchInWord[];
extern const int kFrenchInWordCount;
extern const FrenchRow kFrenchInWordRows[kFrenchInWordRowCount];

}  // namespace kotari
