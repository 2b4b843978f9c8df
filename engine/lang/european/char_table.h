// The character table shared by the Italian, Polish and Norwegian translators:
// rows of character, type and cells sorted by character, their lookup, and the
// white space and capital rules these translators share.
#pragma once

#include <cstdint>

#include "core/cell_writer.h"
#include "core/cells.h"

namespace kotari {

// Type byte of a character-table row.
enum : uint8_t {
    kTypeSmall = 0x01,
    kTypeCapital = 0x02,  // cells are those of the small letter
    kTypeDigit = 0x04,
    kTypeKeepsNumber = 0x08,  // decimal comma and point
    kTypeSymbol = 0x10,
    kTypeLetterAJ = 0x20,  // a-j, read as a digit right after a number
    kTypeRecord = 0x80,  // Polish: the cell byte indexes the record table
};

// One character of a table sorted by code point.
struct CharEntry {
    char16_t ch;
    uint8_t type;
    uint8_t count;
    uint8_t cells[6];
};

// The rows of the ASCII letters and digits in the common alphabet: A-Z as
// capitals, a-z as small letters, a-j (and A-J) also read as digits after a
// number, 0-9 as digits on the cells of j and a-i. The language tables leave
// these out and hold only what differs.
class AsciiRows {
public:
    constexpr AsciiRows() : rows_() {
        for (int d = 0; d < 10; ++d)
            rows_[52 + d] = CharEntry{static_cast<char16_t>(u'0' + d), kTypeDigit, 1, {kDigitCells[d], 0, 0, 0, 0, 0}};
        for (int i = 0; i < 26; ++i) {
            const uint8_t aj = i < 10 ? kTypeLetterAJ : 0;
            rows_[i] = CharEntry{static_cast<char16_t>(u'A' + i), static_cast<uint8_t>(kTypeCapital | aj), 1,
                {kLetterCells[i], 0, 0, 0, 0, 0}};
            rows_[26 + i] = CharEntry{static_cast<char16_t>(u'a' + i), static_cast<uint8_t>(kTypeSmall | aj), 1,
                {kLetterCells[i], 0, 0, 0, 0, 0}};
        }
    }
    // The row of an ASCII letter or digit; nullptr for any other character.
    constexpr const CharEntry *find(char16_t c) const {
        if (IsAsciiUpper(c)) return &rows_[c - u'A'];
        if (IsAsciiLower(c)) return &rows_[26 + (c - u'a')];
        if (IsAsciiDigit(c)) return &rows_[52 + (c - u'0')];
        return nullptr;
    }

private:
    CharEntry rows_[62];
};

inline constexpr AsciiRows kAsciiRows{};

// True when the letters from `i` on form a word of two or more capitals (the
// word starts at i: no letter stands before it).
template <typename IsLetterFn, typename IsCapitalFn>
bool StartsCapitalWord(const char16_t *t, int i, IsLetterFn isLetter, IsCapitalFn isCapital) {
    if (i > 0 && isLetter(t[i - 1])) return false;
    int j = i;
    while (t[j] && isLetter(t[j])) {
        if (!isCapital(t[j])) return false;
        ++j;
    }
    return j - i > 1;
}

// The capital signs before a capital: none inside a word already marked as
// capitals; the sign twice when a word of two or more capitals starts here
// (the word is then marked); otherwise the sign once.
template <typename StartsCapitalWordFn>
void PutCapitalSigns(CellWriter &w, uint8_t sign, bool *capitalWord, StartsCapitalWordFn startsCapitalWord) {
    if (*capitalWord) return;
    w.put(sign);
    if (startsCapitalWord()) {
        w.put(sign);
        *capitalWord = true;
    }
}

// A straight double quote at text[i] that opens a word (no letter or digit
// before it, one after it) or closes one (the other way round).
enum class QuoteRole { kNeither, kOpens, kCloses };

template <typename IsWordCharFn>
QuoteRole StraightQuoteRole(const char16_t *t, int i, IsWordCharFn isWordChar) {
    const bool before = i > 0 && isWordChar(t[i - 1]);
    const bool after = t[i + 1] != 0 && isWordChar(t[i + 1]);
    if (!before && after) return QuoteRole::kOpens;
    if (before && !after) return QuoteRole::kCloses;
    return QuoteRole::kNeither;
}

// Spaces, tabs, line ends and the Unicode spaces: each writes a blank.
constexpr bool IsWordSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0xA0 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

// A language's character lookup: the shared ASCII letter rows, then the
// language's own search; the answers below U+0180 are cached.
class CharTable {
public:
    using Search = const CharEntry *(*)(char16_t);

    explicit CharTable(Search search) : search_(search), low_(Lookup{search}) {}

    const CharEntry *find(char16_t c) const { return low_.covers(c) ? low_[c] : Lookup{search_}(c); }
    bool isLetter(char16_t c) const {
        const CharEntry *e = find(c);
        return e && (e->type & (kTypeSmall | kTypeCapital));
    }
    bool isCapital(char16_t c) const {
        const CharEntry *e = find(c);
        return e && (e->type & kTypeCapital);
    }
    bool startsCapitalWord(const char16_t *t, int i) const {
        return StartsCapitalWord(
            t, i, [this](char16_t c) { return isLetter(c); }, [this](char16_t c) { return isCapital(c); });
    }

private:
    struct Lookup {
        Search search;
        const CharEntry *operator()(char16_t c) const {
            if (const CharEntry *e = kAsciiRows.find(c)) return e;
            return search(c);
        }
    };

    Search search_;
    LowCharIndex<CharEntry> low_;
};

}  // namespace kotari
