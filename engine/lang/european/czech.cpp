// Czech translator: every character through the flagged Czech table, with the
// number sign, the capital sign and capital-run sign, and the separator 10
// between a number or a capital run and the small letter that follows.
#include "core/engine.h"
#include "lang/european/czech_tables.h"
#include "lang/european/european_common.h"

namespace kotari {

namespace {

using namespace czech;
using european::CellRun;
using european::CellWriter;

// Record of the character at text[i]; `units` receives how many code units it
// spans (a surrogate pair is one unknown character).
const CharRecord &RecordAt(const char16_t *text, int i, int *units) {
    char16_t ch = text[i];
    *units = 1;
    if (european::IsHighSurrogate(ch) && european::IsLowSurrogate(text[i + 1])) {
        *units = 2;
        return kUnknownRecord;
    }
    for (const CharRecord &r : kCharTable)
        if (r.ch == ch) return r;
    return kUnknownRecord;
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
        CellRun run;
        if (f & kDigit) {
            if (!numberMode) run.add(0x3C);
            run.addAll(rec.cells, rec.count);
        } else if (f & kCapital) {
            if (next.flags & kCapital) {
                if (!capitalRun) run.add(0x30);
            } else if (!capitalRun) {
                run.add(0x20);
            }
            run.addAll(rec.cells, rec.count);
        } else {
            if ((f & kSmall) && (capitalRun || (numberMode && (f & kLetterAtoJ)))) run.add(0x10);
            if (f & kPrefixed) {
                if (uint8_t p = PrefixCell(f)) run.add(p);
            }
            run.addAll(rec.cells, rec.count);
        }
        if (!out.append(run.c, run.n)) break;

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
