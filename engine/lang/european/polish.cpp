// Polish translator: one table of 233 characters searched by bisection, capital
// and number indicators driven by the type bytes, blanks for word separators.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "core/text_cursor.h"
#include "lang/european/char_table.h"
#include "lang/european/polish_tables.h"

namespace kotari {
namespace {

// Characters that separate words; each writes a blank.
constexpr char16_t kPolishSeparators[] = {
    0x0009,
    0x000A,
    0x000B,
    0x000C,
    0x000D,
    0x0020,
    0x0085,
    0x00A0,
    0x1680,
    0x180E,
    0x2000,
    0x2001,
    0x2002,
    0x2003,
    0x2004,
    0x2005,
    0x2006,
    0x2007,
    0x2008,
    0x2009,
    0x200A,
    0x2028,
    0x2029,
    0x202F,
    0x205F,
    0x3000,
};
constexpr int kPolishSeparatorCount = sizeof kPolishSeparators / sizeof kPolishSeparators[0];
static_assert(kPolishSeparatorCount == 26, "26 word separators");
static_assert(IsSortedChars(kPolishSeparators, kPolishSeparatorCount), "sorted by code point");

constexpr uint8_t kCapitalSign = 0x28;
constexpr uint8_t kUnknown = 0x22;
constexpr uint8_t kOpeningQuote = 0x26;

struct Resolved {
    uint8_t type = 0;
    uint8_t count = 0;
    const uint8_t *cells = nullptr;
};

bool Resolve(char16_t c, Resolved &r) {
    static const LowCharIndex<PolishChar> low(
        [](char16_t ch) { return FindSorted(kPolishChars, kPolishCharCount, ch); });
    const PolishChar *e = low.covers(c) ? low[c] : FindSorted(kPolishChars, kPolishCharCount, c);
    if (!e) return false;
    if (e->type & kTypeRecord) {
        const PolishRecord &rec = kPolishRecords[e->cell];
        r.type = rec.type;
        r.count = rec.count;
        r.cells = rec.cells;
    } else {
        r.type = e->type;
        r.count = 1;
        r.cells = &e->cell;
    }
    return true;
}

bool IsLetter(char16_t c) {
    Resolved r;
    return Resolve(c, r) && (r.type & (kTypeSmall | kTypeCapital));
}

bool IsCapital(char16_t c) { return ContainsSorted(kPolishCapitals, kPolishCapitalCount, c); }

bool StartsCapitalWord(const char16_t *t, int i) { return kotari::StartsCapitalWord(t, i, IsLetter, IsCapital); }

}  // namespace

int TranslatePolish(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    CellWriter w(cells);
    bool number = false;
    bool capitalWord = false;  // inside a word marked 28 28
    // Each pass first commits the character before it; a full buffer ends the loop.
    for (int i = 0; text[i] && w.commit(); ++i) {
        const char16_t c = text[i];
        if (IsSurrogate(c)) {
            // A pair (or a stray half) is one unknown character.
            i += CharUnitsAt(text, i) - 1;
            w.put(kUnknown);
            number = capitalWord = false;
            continue;
        }
        if (ContainsSorted(kPolishSeparators, kPolishSeparatorCount, c)) {
            w.put(kBlankCell);
            number = capitalWord = false;
            continue;
        }
        if (c == u'"' && StraightQuoteRole(text, i, [](char16_t ch) {
                Resolved q;
                return Resolve(ch, q) && (q.type & (kTypeSmall | kTypeCapital | kTypeDigit));
            }) == QuoteRole::kOpens) {
            w.put(kOpeningQuote);  // the table's cell is the closing quote
            number = capitalWord = false;
            continue;
        }
        Resolved r;
        if (!Resolve(c, r)) {
            w.put(kUnknown);
            number = capitalWord = false;
            continue;
        }
        if (r.type & kTypeDigit) {
            if (!number) w.put(kNumberSign);
            number = true;
            capitalWord = false;
        } else if (IsCapital(c)) {
            PutCapitalSigns(w, kCapitalSign, &capitalWord, [&] { return StartsCapitalWord(text, i); });
            number = false;
        } else if (r.type & kTypeSmall) {
            number = capitalWord = false;
        } else {
            if (!(r.type & kTypeKeepsNumber)) number = false;
            capitalWord = false;
        }
        w.put(r.cells, r.count);
    }
    w.commit();
    return w.count();
}

}  // namespace kotari
