// Norwegian translator: literary braille with capital and number signs. It lays
// out its own lines: a number never straddles a line end when it fits on one.
#include "core/engine.h"
#include "lang/european/latin_family.h"
#include "lang/european/norwegian_tables.h"

namespace kotari {
namespace {

using namespace latin;

constexpr int kNorwegianMaxCells = 6141;
constexpr uint8_t kCapitalSign = 0x20;
constexpr uint8_t kNumberSign = 0x3C;
constexpr uint8_t kLetterSign = 0x30;  // a-j right after a digit
constexpr uint8_t kUnknown = 0x22;

bool IsWhite(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0xA0 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

const CharEntry *Lookup(char16_t c) { return Find(kNorwegianChars, kNorwegianCharsCount, c); }

bool IsLetter(char16_t c) {
    const CharEntry *e = Lookup(c);
    return e && (e->type & (kTypeSmall | kTypeCapital));
}
bool IsCapital(char16_t c) {
    const CharEntry *e = Lookup(c);
    return e && (e->type & kTypeCapital);
}

bool StartsCapitalWord(const char16_t *t, int i) { return latin::StartsCapitalWord(t, i, IsLetter, IsCapital); }

class Layout {
public:
    Layout(uint8_t *cells, int width) : w(cells, kNorwegianMaxCells), width_(width) {}

    void startNumber() {
        if (numberStart_ < 0) numberStart_ = w.n;
    }

    // At the white space after a number: move it to the next line when it would
    // cross the end of the current one.
    void endNumber() {
        if (numberStart_ < 0) return;
        const int start = numberStart_;
        numberStart_ = -1;
        const int column = start % width_;
        const int length = w.n - start;
        if (column == 0 || column + length <= width_) return;
        const int pad = width_ - column;
        int end = w.n + pad;
        if (end > w.limit) {
            end = w.limit;
            w.full = true;
        }
        for (int k = end - 1; k >= start + pad; --k) w.cells[k] = w.cells[k - pad];
        for (int k = start; k < start + pad && k < end; ++k) w.cells[k] = 0;
        w.n = end;
    }

    CellWriter w;

private:
    int width_;
    int numberStart_ = -1;
};

}  // namespace

int TranslateNorwegian(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    const int raw = g_settings.rawLineCellsNorwegian;
    Layout out(cells, raw < 1 ? kCellBufferSize : raw);
    CellWriter &w = out.w;
    bool capitalWord = false;
    char16_t prev = 0;
    for (int i = 0; text[i] && !w.full; prev = text[i], ++i) {
        const char16_t c = text[i];
        if (IsWhite(c)) {
            out.endNumber();
            w.put(0);
            capitalWord = false;
            continue;
        }
        const CharEntry *e = Lookup(c);
        if (!e) {
            if (IsSurrogate(c) && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
            w.put(kUnknown);
            capitalWord = false;
            continue;
        }
        if (e->type & kTypeDigit) {
            if (!IsDigit(prev) && prev != u',' && prev != u'.') {
                out.startNumber();
                w.put(kNumberSign);
            } else if (!IsDigit(prev)) {
                out.startNumber();
            }
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
        } else {
            if ((e->type & kTypeLetterAJ) && IsDigit(prev)) w.put(kLetterSign);
            capitalWord = false;
        }
        w.put(e->cells, e->count);
    }
    out.endNumber();
    return w.n;
}

}  // namespace kotari
