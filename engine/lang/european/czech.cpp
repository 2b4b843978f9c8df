// Czech translator: every character through the flagged Czech table, with the
// number sign, the capital sign and capital-run sign, and the separator 10
// between a number or a capital run and the small letter that follows.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "core/text_cursor.h"
#include "lang/european/czech_tables.h"

namespace kotari {

namespace {

using namespace czech;

// The table row of a character, searched in table order; nullptr when absent.
const CharRecord *SearchTable(char16_t ch) {
    for (const CharRecord &r : kCharTable)
        if (r.ch == ch) return &r;
    return nullptr;
}

// Record of the character at text[i]; `units` receives how many code units it
// spans (a surrogate pair is one unknown character).
const CharRecord &RecordAt(const char16_t *text, int i, int *units) {
    const char16_t ch = text[i];
    *units = CharUnitsAt(text, i);
    if (*units == 2) return kUnknownRecord;
    static const LowCharIndex<CharRecord> low(SearchTable);
    const CharRecord *r = low.covers(ch) ? low[ch] : SearchTable(ch);
    return r ? *r : kUnknownRecord;
}

uint8_t PrefixCell(uint16_t flags) {
    if (flags & kPrefix3C) return 0x3C;
    if (flags & kPrefix20) return 0x20;
    if (flags & kPrefix18) return 0x18;
    if (flags & kPrefix28) return 0x28;
    return 0;
}

}  // namespace

int TranslateCzech(char16_t *text, uint8_t *cells) {
    CellWriter out(cells);
    bool numberMode = false;
    bool capitalRun = false;
    if (!text[0]) return 0;
    int units = 0;
    const CharRecord *current = &RecordAt(text, 0, &units);
    for (int i = 0; text[i];) {
        // Each record is looked up once: the next character's becomes the current one.
        int nextUnits = 0;
        const CharRecord *following = text[i + units] ? &RecordAt(text, i + units, &nextUnits) : &kUnknownRecord;
        const CharRecord &rec = *current;
        const CharRecord &next = *following;
        const uint16_t f = rec.flags;
        if (f & kDigit) {
            if (!numberMode) out.put(0x3C);
        } else if (f & kCapital) {
            if (next.flags & kCapital) {
                if (!capitalRun) out.put(0x30);
            } else if (!capitalRun) {
                out.put(0x20);
            }
        } else {
            if ((f & kSmall) && (capitalRun || (numberMode && (f & kLetterAtoJ)))) out.put(0x10);
            if (f & kPrefixed) {
                if (uint8_t p = PrefixCell(f)) out.put(p);
            }
        }
        out.put(rec.cells, rec.count);
        if (!out.commit()) break;

        // State after the character.
        if (f & kDigit) {
            numberMode = true;
        } else if (f & kCapital) {
            if (next.flags & kCapital) capitalRun = true;
            // A digit after a capital needs its number sign again, or it would read as a letter.
            numberMode = false;
        } else {
            numberMode = numberMode && (f & kKeepsNumber) != 0;
            // The separator 10 closes a capital run: the letters after it are small.
            if (f & kSmall) capitalRun = false;
        }
        if (f & (kBlank | kPunctuation | kDigit | kEndsCapitals)) capitalRun = false;
        current = following;
        i += units;
        units = nextUnits;
    }
    return out.count();
}

}  // namespace kotari
