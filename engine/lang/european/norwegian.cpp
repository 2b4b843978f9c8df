// Norwegian translator: literary braille with capital and number signs. It lays
// out its own lines: a number never straddles a line end when it fits on one.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "core/line_layout.h"
#include "core/text_cursor.h"
#include "lang/european/char_table.h"
#include "lang/european/norwegian_tables.h"

namespace kotari {
namespace {

constexpr int kNorwegianMaxCells = 6141;
constexpr uint8_t kCapitalSign = 0x20;
constexpr uint8_t kLetterSign = 0x30;  // a-j right after a digit
constexpr uint8_t kUnknown = 0x22;

const CharEntry *SearchTable(char16_t c) { return FindSorted(kNorwegianChars, kNorwegianCharsCount, c); }

// A space that Norwegian braille leaves out between a number and its unit:
// before % and ‰, after § before a number, after ° before C or F.
bool JoinsUnit(char16_t before, char16_t after) {
    return after == u'%' || after == 0x2030 || (before == 0xA7 && IsAsciiDigit(after)) ||
           (before == 0xB0 && (after == u'C' || after == u'F'));
}

// Marks each number (from its first cell to the white space after it) as a unit
// that the line layout keeps together.
class NumberMarks {
public:
    explicit NumberMarks(CellWriter &w) : w_(w) {}

    void start() {
        if (start_ < 0) start_ = w_.count();
    }
    void end() {
        if (start_ < 0) return;
        const uint8_t marker = markers_.next();
        for (int k = start_; k < w_.count(); ++k) w_.set(k, static_cast<uint8_t>(w_.at(k) | marker));
        start_ = -1;
    }

private:
    CellWriter &w_;
    UnitMarker markers_;
    int start_ = -1;
};

}  // namespace

int TranslateNorwegian(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    static const CharTable table(SearchTable);
    uint8_t stream[kNorwegianMaxCells];
    CellWriter w(stream, kNorwegianMaxCells);
    NumberMarks numbers(w);
    bool capitalWord = false;
    char16_t prev = 0;
    // Each pass first commits the character before it; a full buffer ends the loop.
    for (int i = 0; text[i] && w.commit(); prev = text[i], ++i) {
        const char16_t c = text[i];
        if (IsWordSpace(c)) {
            if (c == u' ' && JoinsUnit(prev, text[i + 1])) continue;
            numbers.end();
            w.put(kBlankCell);
            capitalWord = false;
            continue;
        }
        const CharEntry *e = table.find(c);
        if (!e) {
            i += CharUnitsAt(text, i) - 1;  // a pair is one unknown character
            w.put(kUnknown);
            capitalWord = false;
            continue;
        }
        if (e->type & kTypeDigit) {
            if (!IsAsciiDigit(prev)) numbers.start();
            if (!IsAsciiDigit(prev) && prev != u',' && prev != u'.') w.put(kNumberSign);
            capitalWord = false;
        } else if (e->type & kTypeCapital) {
            PutCapitalSigns(w, kCapitalSign, &capitalWord, [&] { return table.startsCapitalWord(text, i); });
        } else {
            if ((e->type & kTypeLetterAJ) && IsAsciiDigit(prev)) w.put(kLetterSign);
            capitalWord = false;
        }
        w.put(e->cells, e->count);
    }
    w.commit();
    numbers.end();

    // No word wrap: words run over line ends, but a number moves whole to the next line.
    const int raw = g_settings.rawLineCellsNorwegian;
    LineRules rules;
    rules.width = raw < 1 ? kCellBufferSize : raw;
    rules.capacity = kNorwegianMaxCells;
    rules.wrapWords = false;
    rules.markedUnits = true;
    return LayOutLines(cells, stream, w.count(), rules);
}

}  // namespace kotari
