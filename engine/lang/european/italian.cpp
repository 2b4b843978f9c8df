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
constexpr uint8_t kHyphen = 0x24;
constexpr uint8_t kUnknown = 0x22;
constexpr uint8_t kOpeningQuote = 0x26;
constexpr uint8_t kClosingQuote = 0x34;
constexpr uint8_t kEllipsisDot = 0x04;

const CharEntry *SearchTables(char16_t c) {
    if (const CharEntry *e = FindSorted(kItalianChars, kItalianCharsCount, c)) return e;
    return FindSorted(kItalianExtra, kItalianExtraCount, c);
}

}  // namespace

int TranslateItalian(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    static const CharTable table(SearchTables);
    CellWriter w(cells);
    bool number = false;
    bool capitalWord = false;
    // Each pass first commits the character before it; a full buffer ends the loop.
    for (int i = 0; text[i] && w.commit(); ++i) {
        const char16_t c = text[i];
        if (IsWordSpace(c)) {
            w.put(kBlankCell);
            number = capitalWord = false;
            continue;
        }
        if (c == u'"') {
            // Opening and closing quotes around a word; elsewhere the table's cell.
            const QuoteRole role = StraightQuoteRole(text, i, [&](char16_t ch) {
                const CharEntry *q = table.find(ch);
                return q && (q->type & (kTypeSmall | kTypeCapital | kTypeDigit));
            });
            if (role != QuoteRole::kNeither) {
                w.put(role == QuoteRole::kOpens ? kOpeningQuote : kClosingQuote);
                number = capitalWord = false;
                continue;
            }
        }
        if (c == u'.' && text[i + 1] == u'.' && text[i + 2] == u'.') {  // an ellipsis
            w.put(kEllipsisDot);
            w.put(kEllipsisDot);
            w.put(kEllipsisDot);
            i += 2;
            number = capitalWord = false;
            continue;
        }
        if (c == u'-') {  // the table knows only the soft hyphen
            w.put(kHyphen);
            number = capitalWord = false;
            continue;
        }
        const CharEntry *e = table.find(c);
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
            PutCapitalSigns(w, kCapitalSign, &capitalWord, [&] { return table.startsCapitalWord(text, i); });
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
