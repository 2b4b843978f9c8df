// The one way translators write cells: a bounded writer over the work buffer
// that commits whole characters.
//
// A translator writes the cells of one character (or of one unit it treats as
// a whole, such as a contracted group or a syllable) with put(), then calls
// commit(). When every cell fitted below the limit the character is kept and
// commit() returns true. When one did not fit, the writer is full: the
// character's cells are taken back (the buffer is blank again from the last
// commit on), commit() returns false and the translator stops. So a full
// buffer always ends on a whole character, never on a stray indicator.
//
//     CellWriter out(cells);
//     for (TextCursor t(text); !t.done(); t.next()) {
//         out.put(sign);
//         out.put(cell);
//         if (!out.commit()) break;
//     }
//     return out.count();
//
// Cells already committed may be edited in place (set, insert, grow, truncate):
// French takes back contractions, Spanish inserts a second capital sign before
// a run of capitals, Norwegian marks its numbers for the line layout.
#pragma once

#include <cstdint>

#include "core/engine.h"

namespace kotari {

class CellWriter {
public:
    // `cells` holds at least `limit` cells, blank from the start on.
    explicit CellWriter(uint8_t *cells, int limit = kCellBufferSize) : cells_(cells), limit_(limit) {}

    // Cells of the character being written. Cells beyond the limit are not
    // written and make the writer full.
    void put(uint8_t c) {
        const int n = n_;
        if (n < limit_) {
            n_ = n + 1;
            cells_[n] = c;
        } else {
            full_ = true;
        }
    }
    void put(uint8_t a, uint8_t b) {
        const uint8_t two[2] = {a, b};
        put(two, 2);
    }
    // All k cells, or none of them and the writer is full.
    void put(const uint8_t *c, int k) {
        const int n = n_;
        if (n + k > limit_) {
            full_ = true;
            return;
        }
        n_ = n + k;
        uint8_t *to = cells_ + n;
        for (int i = 0; i < k; ++i) to[i] = c[i];
    }

    // Ends the character: true when it is kept. When the writer is full its
    // cells go back to blank and the result is false.
    bool commit() {
        if (__builtin_expect(full_, false)) {
            rollback();
            return false;
        }
        committed_ = n_;
        return true;
    }
    // Takes back the cells written since the last commit.
    void rollback() {
        while (n_ > committed_) cells_[--n_] = 0;
    }

    // Inserts cell c at pos (at most size()) between characters, moving the
    // later cells up; it is committed at once. False, with nothing changed and
    // the writer full, when there is no room.
    bool insert(int pos, uint8_t c) {
        if (n_ + 1 > limit_) return markFull();
        for (int i = n_; i > pos; --i) cells_[i] = cells_[i - 1];
        cells_[pos] = c;
        committed_ = ++n_;
        return true;
    }
    // Adds k blank cells between characters, for a caller that moves cells up;
    // committed at once. False, with nothing changed and the writer full, when
    // there is no room.
    bool grow(int k) {
        if (n_ + k > limit_) return markFull();
        for (int i = 0; i < k; ++i) cells_[n_++] = 0;
        committed_ = n_;
        return true;
    }
    // Removes the cells from `to` on (back to blank), committed ones included.
    void truncate(int to) {
        while (n_ > to) cells_[--n_] = 0;
        if (committed_ > n_) committed_ = n_;
    }

    bool full() const { return full_; }
    // Cells kept by the last commit: the translator's result.
    int count() const { return committed_; }
    // Cells written, the character under way included.
    int size() const { return n_; }
    int limit() const { return limit_; }
    bool fits(int k) const { return n_ + k <= limit_; }
    uint8_t at(int pos) const { return cells_[pos]; }
    void set(int pos, uint8_t c) { cells_[pos] = c; }
    uint8_t *data() { return cells_; }

private:
    bool markFull() {
        full_ = true;
        return false;
    }

    uint8_t *cells_;
    int limit_;
    int n_ = 0;
    int committed_ = 0;
    bool full_ = false;
};

}  // namespace kotari
