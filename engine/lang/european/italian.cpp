// Italian translator: letters, punctuation and symbols from the main table, then
// the extra tables (accents, Greek, IPA, fractions, Roman numerals, operators);
// capital sign 46 (doubled before a word of capitals) and number sign 3456.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "core/text_cursor.h"
#include "lang/european/char_table.h"
#include "lang/european/italian_tables.h"

namespace kotari {
namespace {

constexpr uint8_t kCapitalSign = 0x28;
constexpr uint8_t kNumberSign = 0x3C;
constexpr uint8_t kHyphen = 0x24;
constexpr uint8_t kUnknown = 0x22;

bool IsWhite(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0xA0 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

const CharEntry *SearchTables(char16_t c) {
    if (const CharEntry *e = FindSorted(kItalianChars, kItalianCharsCount, c)) return e;
    for (const ItalianTable &t : kItalianExtraTables)
        if (const CharEntry *e = FindSorted(t.entries, t.count, c)) return e;
    return nullptr;
}

const CharEntry *Lookup(char16_t c) {
    static const LowCharIndex<CharEntry> low(SearchTables);
    return low.covers(c) ? low[c] : SearchTables(c);
}

bool IsLetter(char16_t c) {
    const CharEntry *e = Lookup(c);
    return e && (e->type & (kTypeSmall | kTypeCapital));
}
bool IsCapital(char16_t c) {
    const CharEntry *e = Lookup(c);
    return e && (e->type & kTypeCapital);
}

bool StartsCapitalWord(const char16_t *t, int i) { return kotari::StartsCapitalWord(t, i, IsLetter, IsCapital); }

}  // namespace

int TranslateItalian(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    CellWriter w(cells);
    bool number = false;
    bool capitalWord = false;
    // Each pass first commits the character before it; a full buffer ends the loop.
    for (int i = 0; text[i] && w.commit(); ++i) {
        const char16_t c = text[i];
        if (IsWhite(c)) {
            w.put(kBlankCell);
            number = capitalWord = false;
            continue;
        }
        if (c == u'-') {  // the table knows only the soft hyphen
            w.put(kHyphen);
            number = capitalWord = false;
            continue;
        }
        const CharEntry *e = Lookup(c);
        if (!e) {
            i += CharUnitsAt(text, i) - 1;  // a pair is one unknown character
            w.put(kUnknown);
            number = capitalWord = false;
            continue;
        }
        if (e->type & kTypeDigit) {
            if (!number) w.put(kNumberSign);
            number = true;
            capitalWord = false;
        } else if (e->type & kTypeCapital) {
            if (!capitalWord) {
                if (StartsCapitalWord(text, i)) {
                    w.put(kCapitalSign);
                    w.put(kCapitalSign);
                    capitalWord = true;
                } else {
                    w.put(kCapitalSign);
                }
            }
            number = false;
        } else {
            number = false;
            if (!(e->type & kTypeSmall)) capitalWord = false;
        }
        w.put(e->cells, e->count);
    }
    w.commit();
    return w.count();
}

}  // namespace kotari
