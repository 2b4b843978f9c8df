// Spanish translator: letters with capital signs (28 28 for a word of capitals,
// a single 28 for a Roman numeral), numbers on the a-j cells with the number
// sign, fractions with lowered numerators, ordinals, punctuation and symbols.
#include "core/cell_writer.h"
#include "core/engine.h"
#include "lang/european/spanish_tables.h"

namespace kotari {

namespace {

using namespace spanish;

bool IsSmall(char16_t c) { return IsAsciiLower(c) || (c >= 0xE0 && c <= 0xFF && c != 0xF7); }
bool IsCapital(char16_t c) { return IsAsciiUpper(c) || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }

uint8_t SpanishLetterCell(char16_t c) {
    if (IsAsciiLetter(c)) return LetterCell(c);
    if (c >= 0xC0 && c <= 0xDE) c = static_cast<char16_t>(c + 0x20);
    return kLatin1Letters[c - 0xE0];
}

const SeparatorRecord *FindSeparator(char16_t c) { return FindSorted(kSeparators, kSeparatorCount, c); }

// U+007B-U+00BF are separators even where they write nothing.
bool IsSeparator(char16_t c) { return FindSeparator(c) != nullptr || (c >= 0x7B && c <= 0xBF); }

bool IsRomanCell(uint8_t cell) {
    for (uint8_t r : kRomanCells)
        if (r == cell) return true;
    return false;
}

class SpanishWriter {
public:
    explicit SpanishWriter(uint8_t *cells) : out_(cells) {}

    int count() const { return out_.count(); }
    bool full() const { return out_.full(); }

    // Closes an open capital run: a run of two or more capitals that is not a
    // Roman numeral gets its second capital sign right after the first.
    bool closeRun() {
        if (runStart_ < 0) return true;
        const int start = runStart_;
        runStart_ = -1;
        if (out_.count() - start < 2) return true;
        for (int p = out_.count() - 1; p >= start; --p)
            if (!IsRomanCell(out_.at(p))) return out_.insert(start, 0x28);
        return true;
    }

    // Closes an open run that is followed by a small letter: a single capital
    // keeps its sign; in a longer run every capital gets its own 28, since a
    // doubled sign would also capitalise the small letters that follow.
    bool markEachCapital() {
        if (runStart_ < 0) return true;
        const int start = runStart_;
        runStart_ = -1;
        const int k = out_.count() - start;  // capitals in the run, one cell each
        if (k < 2) return true;
        int src = out_.count() - 1;
        if (!out_.grow(k - 1)) return false;
        int dst = out_.count() - 1;
        // From the back: each capital after the first moves up and gets a 28 before it.
        while (src > start) {
            out_.set(dst--, out_.at(src--));
            out_.set(dst--, 0x28);
        }
        return true;
    }

    bool translate(const char16_t *text) {
        for (int i = 0; text[i]; ++i) {
            if (!step(text, i)) return false;
        }
        return closeRun();
    }

private:
    bool step(const char16_t *text, int i) {
        const char16_t c = text[i];
        const char16_t prev = i > 0 ? text[i - 1] : 0;
        if (IsSmall(c)) {
            // Capitals that run into small letters ("ONGs") are marked one by one.
            if (!markEachCapital()) return false;
            if (numberMode_ && c >= u'a' && c <= u'j' && IsAsciiDigit(prev)) out_.put(0x10);
            out_.put(SpanishLetterCell(c));
            if (!out_.commit()) return false;
            numberMode_ = false;
            return true;
        }
        if (IsCapital(c)) {
            // The capital sign also ends a number, so it is written after a digit too.
            bool opens = runStart_ < 0;
            if (opens) out_.put(0x28);
            out_.put(SpanishLetterCell(c));
            if (!out_.commit()) return false;
            if (opens) runStart_ = out_.count() - 1;
            numberMode_ = false;
            return true;
        }
        if (IsAsciiDigit(c)) {
            if (!closeRun()) return false;
            if (!numberMode_) out_.put(0x3C);
            out_.put(DigitCell(c));
            if (!out_.commit()) return false;
            numberMode_ = true;
            return true;
        }
        if (IsSeparator(c)) {
            if (!closeRun()) return false;
            const bool keepsNumber = c == u',' || c == u'.' || c == u'/';
            if (!keepsNumber) numberMode_ = false;
            if (c == u'/' || c == 0xAA || c == 0xBA) {
                if (!fractionOrOrdinal(text, i)) return false;
            } else if (const SeparatorRecord *s = FindSeparator(c)) {
                out_.put(s->cells, s->count);
                if (!out_.commit()) return false;
            }
            return true;
        }
        // Any other character writes nothing; it ends capitals and numbers.
        numberMode_ = false;
        return closeRun();
    }

    // At a / (or ª, º) after a number whose digits can all be lowered: a / with at
    // least as many digits after it as before makes a fraction (the numerator is
    // lowered and the / writes nothing); ª and º make an ordinal (the number is
    // lowered and they write a or o). Otherwise the sign writes its own cells.
    bool fractionOrOrdinal(const char16_t *text, int i) {
        const char16_t c = text[i];
        int before = 0;
        while (i - before - 1 >= 0 && IsAsciiDigit(text[i - before - 1])) ++before;
        int after = 0;
        while (IsAsciiDigit(text[i + 1 + after])) ++after;
        const int n = out_.count();
        const bool numberSignFirst = before > 0 && n - before - 1 >= 0 && out_.at(n - before - 1) == 0x3C;
        const bool lowers = numberSignFirst && (c != u'/' || after >= before);
        if (lowers) {
            for (int k = 1; k <= before; ++k) out_.set(n - k, kLoweredDigits[text[i - k] - u'0']);
            if (c == 0xAA) out_.put(0x01);
            if (c == 0xBA) out_.put(0x15);
            return out_.commit();  // after a /, the denominator continues the number
        }
        if (c == 0xAA) {
            out_.put(0x20, 0x36);
        } else if (c == 0xBA) {
            out_.put(0x20, 0x1B);
        } else {
            // Not a fraction: the digits after the slash start a number of their own.
            numberMode_ = false;
            out_.put(0x20, 0x02);
        }
        return out_.commit();
    }

    CellWriter out_;
    bool numberMode_ = false;
    int runStart_ = -1;  // position of the first capital's cell, after its sign; -1: none open
};

}  // namespace

int TranslateSpanish(char16_t *text, uint8_t *cells) {
    SpanishWriter writer(cells);
    writer.translate(text);
    return writer.count();
}

}  // namespace kotari
