// The Chinese translator's language data, generated at build time by
// scripts/gen_chinese_tables.py (see there for sources and how readings are chosen).
#pragma once

#include <cstdint>

namespace kotari::chinese {

// One character: code point (high, low byte) and the bytes A, B, C, D.
// A & 0x3F: first cell; B & 0x3F: second cell (0 = none); C & 0x3F, D: the two
// double-phonic cells of mode 3. Tone bits: A bit 7 clear: B bit 7 set = tone 1,
// else none, unless A bit 6 is set: B bit 7 set = tone 3, else tone 2. A bit 7
// set: tone 4 when neither A bit 6 nor B bit 7 is set, else neutral.
// B bit 6: several readings. C bit 7: the tone is written in mode 2.
struct CharRecord {
    uint8_t hi, lo, a, b, c, d;
};

// A reading of `ch` chosen by its neighbour: side 0 = the character before it,
// side 1 = the character after it. a..d as in CharRecord.
struct ReadingChoice {
    uint16_t ch, neighbour;
    uint8_t side, a, b, c, d;
};

// Two characters that form a word; a blank follows the second.
struct WordPair {
    uint16_t prev, cur;
};

extern const CharRecord kChars[];  // sorted by code point
extern const int kCharCount;
extern const ReadingChoice kChoices[];  // sorted by (ch, side, neighbour)
extern const int kChoiceCount;
extern const WordPair kWordPairs[];  // sorted by (prev, cur)
extern const int kWordPairCount;

}  // namespace kotari::chinese
