// Constant tables of the English translator (Unified English Braille).
// Cells use the engine encoding: dot n in bit n-1.
#pragma once

#include <cstdint>

#include "core/cells.h"
#include "lang/english/english_wordlists.h"

namespace kotari {
namespace english {

// The letters a-z and the digits are the common cells of core/cells.h.

// One accented character with its base letters ("ae" for the ligatures).
struct AccentEntry {
    char16_t ch;
    char base[2];
    uint8_t baseCount;
};

// An accent class: its modifier cells and its entries, capitals first.
struct AccentClass {
    uint8_t number;
    uint8_t count;  // entries
    uint8_t modifier[2];
    uint8_t modifierCount;
    uint8_t capitals;  // the first `capitals` entries are capital letters
    const AccentEntry *entries;
};

constexpr int kAccentClassCount = 14;
constexpr int kNoAccentClass = 14;  // class lookup result for characters in no class
constexpr int kLigatureClass = 12;
constexpr int kOldLetterClass = 13;
extern const AccentClass kAccentClassTable[kAccentClassCount];

struct GreekEntry {
    char16_t ch;
    uint8_t cells[2];
};
constexpr int kGreekCount = 49;
extern const GreekEntry kGreekTable[kGreekCount];

using FractionEntry = CharCells<6>;
constexpr int kFractionCount = 19;
extern const FractionEntry kFractionTable[kFractionCount];

using SymbolEntry = CharCells<5>;
constexpr int kSymbolCount = 94;
extern const SymbolEntry kSymbolTable[kSymbolCount];

// Indexes of SymbolTable entries with special handling (named beside the rows in
// data/english_symbols.tsv).
enum SymbolIndex : int {
#include "english_symbols_names.inc"
};

constexpr int kOpeningCount = 13;
constexpr int kClosingCount = 20;
extern const char16_t kOpeningSet[kOpeningCount];
extern const char16_t kClosingSet[kClosingCount];
// OpeningSet entries [kOpeningDashFirst, kOpeningDashLast] are the dashes and
// opening quotes; ClosingSet entries [kClosingPunctFirst, kClosingPunctLast]
// the punctuation, dashes and closing quotes.
constexpr int kOpeningDashFirst = 2, kOpeningDashLast = 8;
constexpr int kClosingPunctFirst = 6, kClosingPunctLast = 19;

struct ShortText {
    char text[5];
    uint8_t length;
};
constexpr int kApostropheEndingCount = 6;
extern const ShortText kApostropheEndings[kApostropheEndingCount];
constexpr int kLetterSequenceCount = 49;
extern const ShortText kLetterSequenceList[kLetterSequenceCount];

struct WordsignEntry {
    char word[14];
    uint8_t length;
    uint8_t count;
    uint8_t cells[6];
};
constexpr int kWordsignCount = 110;
// Rows with rules of their own, named beside the rows in data/english_wordsigns.tsv:
// but ... kWordsignLastWithEndings still take any apostrophe ending, kWordsignEnough
// takes only 's, and kWordsignLowerFirst ... kWordsignLowerLast (be, were, his,
// was) are lower wordsigns that no dash or closing mark may touch.
enum WordsignIndex : int {
#include "english_wordsigns_names.inc"
};
extern const WordsignEntry kWordsignTable[kWordsignCount];

struct GroupsignEntry {
    char letters[10];
    uint8_t length;
    uint8_t count;
    uint8_t cells[3];
};
constexpr int kGroupsignCount = 82;
extern const GroupsignEntry kGroupsignTable[kGroupsignCount];

// Groupsign indexes, in GroupsignTable order.
enum Groupsign : uint8_t {
#include "english_groupsigns.inc"
};
constexpr int kFinalGroupsignFirst = kG_ound;  // ound ... ity
constexpr int kFinalGroupsignLast = kG_ity;

// A sub-rule of a conflict rule: when the competing groupsign starts inside the
// groupsign under test, the groupsign is refused unless one of the exception
// groupsigns starts `offset` letters before the competitor's end. An exception
// list is ended by 0 (index 0, braille, is never an exception); offset 255 means
// no exceptions. A competitor of 0 ends the sub-rules.
struct ConflictSubRule {
    uint8_t competitor;
    uint8_t exceptions[10];
    uint8_t spare;
    uint8_t offset;
};
struct ConflictRule {
    uint8_t groupsign;
    ConflictSubRule subRules[12];
    uint8_t overlap;  // the competitor starts this many letters before the groupsign's end
};
static_assert(sizeof(ConflictSubRule) == 13, "conflict sub-rule layout");
static_assert(sizeof(ConflictRule) == 158, "conflict rule layout");
constexpr int kConflictRuleCount = 49;
constexpr uint8_t kNoExceptions = 255;
extern const ConflictRule kGroupsignConflictTable[kConflictRuleCount];

// A word and its segmented form: contracted groups stand between '/' marks.
struct WordRecord {
    char word[21];
    char segmented[26];
    uint8_t wordLength;
    uint8_t segmentedLength;
};
static_assert(sizeof(WordRecord) == 49, "word record layout");

// Both lists are sorted by word (byte order) and searched by bisection.
extern const WordRecord kShortformWordList[kShortformWordCount];
extern const WordRecord kExceptionWordList[kExceptionWordCount];

struct FirstWordRecord {
    char word[10];
    char segmented[14];
    int32_t wordLength;
};
static_assert(sizeof(FirstWordRecord) == 28, "first-word record layout");
constexpr int kFirstWordCount = 29;
extern const FirstWordRecord kFirstWordList[kFirstWordCount];

struct PrefixEntry {
    char16_t text[12];
    uint8_t length;
};
constexpr int kComputerPrefixCount = 3;
extern const PrefixEntry kComputerTextPrefixes[kComputerPrefixCount];

}  // namespace english
}  // namespace kotari
