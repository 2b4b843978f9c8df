// Reading NUL-terminated UTF-16 text one character at a time.
//
// A character is one code unit, or two for a high surrogate followed by a low
// one. A lone surrogate (a high one without its low half, or a low one on its
// own) is a character of one unit, so every unit is read exactly once.
#pragma once

#include <climits>

#include "core/cells.h"

namespace kotari {

// Units of the character at text[i]: 2 for a surrogate pair, else 1.
inline int CharUnitsAt(const char16_t *text, int i) {
    return IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

// Code point of the character at text[i] (a lone surrogate is its own unit value).
inline char32_t CodePointAt(const char16_t *text, int i) {
    if (CharUnitsAt(text, i) == 2)
        return 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    return text[i];
}

// A position in a NUL-terminated text, moved a whole character at a time. The
// text ends at its NUL or at `limit` units, whichever comes first; units outside
// [0, end) read as 0.
class TextCursor {
public:
    explicit TextCursor(const char16_t *text, int limit = INT_MAX) : text_(text), limit_(limit) {}

    bool done() const { return pos_ >= limit_ || text_[pos_] == 0; }
    int pos() const { return pos_; }
    const char16_t *text() const { return text_; }

    // The code unit `offset` units from the current position; 0 before the
    // start and from `limit` on. Looking ahead is safe up to the NUL: reading
    // one unit past any unit that is not the NUL stays inside the text.
    char16_t unit(int offset = 0) const { return unitAt(pos_ + offset); }
    char16_t unitAt(int i) const { return (i < 0 || i >= limit_) ? char16_t(0) : text_[i]; }

    // The current character: its units (1 or 2) and its code point.
    int units() const { return done() ? 0 : (pos_ + 1 < limit_ ? CharUnitsAt(text_, pos_) : 1); }
    char32_t codePoint() const { return units() == 2 ? CodePointAt(text_, pos_) : unit(); }
    bool isPair() const { return units() == 2; }
    bool isLoneSurrogate() const { return !done() && units() == 1 && IsSurrogate(text_[pos_]); }

    // Moves past the current character (nothing at the end).
    void next() { pos_ += units(); }
    // Moves to unit position i (a translator that consumed several characters).
    void seek(int i) { pos_ = i; }

private:
    const char16_t *text_;
    int limit_;
    int pos_ = 0;
};

}  // namespace kotari
