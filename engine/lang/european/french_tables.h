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
    uint8_t position;  // 0-18, see FrenchPositionAllows
};

struct FrenchRow {
    uint16_t first;
    uint16_t count;
};

// Word-start rows: a-v (0-21), then à (22), é (23), ê (24), œ (25).
constexpr int kFrenchWordStartRowCount = 26;
// In-word rows: a-v.
constexpr int kFrenchInWordRowCount = 22;

extern const FrenchWordEntry kFrenchWordStart[];
extern const int kFrenchWordStartCount;
extern const FrenchRow kFrenchWordStartRows[kFrenchWordStartRowCount];
extern const FrenchGroupEntry kFrenchInWord[];
extern const int kFrenchInWordCount;
extern const FrenchRow kFrenchInWordRows[kFrenchInWordRowCount];

}  // namespace kotari
