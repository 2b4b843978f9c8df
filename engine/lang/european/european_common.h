// Helpers shared by the Czech, German, Spanish and Russian translators: a
// bounded cell writer and character-class tests.
#pragma once

#include <cstdint>

#include "core/engine.h"

namespace kotari {
namespace european {

// Appends cells to the work buffer and never writes past kCellBufferSize. A
// character's cells are appended as one unit: when they do not all fit, nothing
// is written and the writer is marked full, so translation stops on a whole
// character.
class CellWriter {
public:
    explicit CellWriter(uint8_t *cells) : cells_(cells) {}

    int count() const { return n_; }
    bool full() const { return full_; }
    bool fits(int k) const { return n_ + k <= kCellBufferSize; }

    bool put(uint8_t c) {
        if (!fits(1)) return markFull();
        cells_[n_++] = c;
        return true;
    }
    bool put(uint8_t a, uint8_t b) {
        if (!fits(2)) return markFull();
        cells_[n_++] = a;
        cells_[n_++] = b;
        return true;
    }
    // Appends k cells, or none of them.
    bool append(const uint8_t *c, int k) {
        if (!fits(k)) return markFull();
        for (int i = 0; i < k; ++i) cells_[n_++] = c[i];
        return true;
    }
    // Inserts one cell at position pos (<= count()), moving the later cells up.
    bool insert(int pos, uint8_t c) {
        if (!fits(1)) return markFull();
        for (int i = n_; i > pos; --i) cells_[i] = cells_[i - 1];
        cells_[pos] = c;
        ++n_;
        return true;
    }
    // Extends the written cells by k blanks, for a caller that moves cells up.
    bool grow(int k) {
        if (!fits(k)) return markFull();
        for (int i = 0; i < k; ++i) cells_[n_++] = 0;
        return true;
    }
    uint8_t at(int pos) const { return cells_[pos]; }
    void set(int pos, uint8_t c) { cells_[pos] = c; }

private:
    bool markFull() {
        full_ = true;
        return false;
    }

    uint8_t *cells_;
    int n_ = 0;
    bool full_ = false;
};

// A few cells built for one character before they are appended.
struct CellRun {
    uint8_t c[12];
    int n = 0;
    void add(uint8_t v) {
        if (n < static_cast<int>(sizeof c)) c[n++] = v;
    }
    void add(uint8_t a, uint8_t b) {
        add(a);
        add(b);
    }
    void addAll(const uint8_t *v, int k) {
        for (int i = 0; i < k; ++i) add(v[i]);
    }
};

// Cells of the letters a-z in the common braille alphabet (w = dots 2-4-5-6).
constexpr uint8_t kLatinLetters[26] = {0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
                                       0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35};

// Digits 1-9 and 0 on the cells of a-j.
inline uint8_t DigitCell(char16_t ch) { return ch == u'0' ? 0x1A : kLatinLetters[ch - u'1']; }

inline bool IsAsciiDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }
inline bool IsAsciiUpper(char16_t ch) { return ch >= u'A' && ch <= u'Z'; }
inline bool IsAsciiLower(char16_t ch) { return ch >= u'a' && ch <= u'z'; }
inline char16_t AsciiLower(char16_t ch) { return IsAsciiUpper(ch) ? static_cast<char16_t>(ch + 32) : ch; }

// Line breaks and the other control blanks that separate words like a space.
inline bool IsLineBlank(char16_t ch) { return ch == u'\t' || ch == u'\n' || ch == u'\v' || ch == u'\f' || ch == u'\r'; }

inline bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

}  // namespace european
}  // namespace kotari
