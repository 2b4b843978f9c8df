// Italian translator: letters, punctuation and symbols from the main table, then
// the extra tables (accents, Greek, IPA, fractions, Roman numerals, operators);
// capital sign 46 (doubled before a word of capitals) and number sign 3456.
#include "core/engine.h"
#include "lang/european/italian_tables.h"
#include "lang/european/latin_family.h"

namespace kotari {
namespace {

using namespace latin;

constexpr uint8_t kCapitalSign = 0x28;
constexpr uint8_t kNumberSign = 0x3C;
constexpr uint8_t kHyphen = 0x24;
constexpr uint8_t kUnknown = 0x22;

bool IsWhite(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0xA0 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

const CharEntry *Lookup(char16_t c) {
    if (const CharEntry *e = Find(kItalianChars, kItalianCharsCount, c)) return e;
    for (const ItalianTable &t : kItalianExtraTables)
        if (const CharEntry *e = Find(t.entries, t.count, c)) return e;
    return nullptr;
}

bool IsLetter(char16_t c) {
    const CharEntry *e = Lookup(c);
    return e && (e->type & (kTypeSmall | kTypeCapital));
}
bool IsCapital(char16_t c) {
    const CharEntry *e = Lookup(c);
    return e && (e->type & kTypeCapital);
}

bool StartsCapitalWord(const char16_t *t, int i) { return latin::StartsCapitalWord(t, i, IsLetter, IsCapital); }

}  // namespace

int TranslateItalian(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    CellWriter w(cells);
    bool number = false;
    bool capitalWord = false;
    for (int i = 0; text[i] && !w.full; ++i) {
        const char16_t c = text[i];
        if (IsWhite(c)) {
            w.put(0);
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
            if (IsSurrogate(c) && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
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
    return w.n;
}

}  // namespace kotari
