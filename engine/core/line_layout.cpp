// The line layout shared by the packing step and the translators that lay out
// their own lines.
#include "core/line_layout.h"

#include <cstring>

namespace kotari {
namespace {

class Layout {
public:
    Layout(uint8_t *out, const LineRules &rules)
        : out_(out),
          width_(rules.width > 0 ? rules.width : 1),
          capacity_(rules.capacity),
          marked_(rules.markedUnits) {}

    int length() const { return length_; }

    // A blank between words; false when the output is full.
    bool blank(bool atTextStart) {
        if (column_ == 0 && !atTextStart) return true;  // it would start a line
        if (length_ == capacity_) return false;
        out_[length_++] = 0;
        advance(1);
        return true;
    }

    // A word that fits on one line: on this line, or whole on the next.
    bool shortWord(const uint8_t *word, int k) {
        const int skip = column_ + k > width_ ? width_ - column_ : 0;
        if (length_ + skip + k > capacity_) return false;
        if (skip > 0) skipToNextLine();
        std::memcpy(out_ + length_, word, static_cast<size_t>(k));
        length_ += k;
        advance(k);
        return true;
    }

    // A word longer than a line. It starts on a fresh line; after a full line
    // that is a blank line when the rules ask for one.
    bool longWord(const uint8_t *word, int k, bool blankLineFirst) {
        if (column_ != 0 || blankLineFirst) {
            if (length_ + width_ - column_ >= capacity_) return false;
            skipToNextLine();
        }
        return runOn(word, k);
    }

    // Cells that run on over line ends; a marked unit split by a line end moves
    // to the next line when it did not start its line. False when the output
    // filled up; it then ends on a whole unit.
    bool runOn(const uint8_t *word, int k) {
        for (int j = 0; j < k; ++j) {
            const uint8_t marker = marked_ ? (word[j] & kUnitMarkerMask) : 0;
            if (column_ == width_) {
                column_ = 0;
                if (marker != 0 && length_ > 0 && (out_[length_ - 1] & kUnitMarkerMask) == marker)
                    moveUnitDown(marker);
            }
            if (length_ == capacity_) {
                while (marker != 0 && length_ > 0 && (out_[length_ - 1] & kUnitMarkerMask) == marker)
                    out_[--length_] = 0;
                return false;
            }
            out_[length_++] = word[j];
            ++column_;
        }
        if (column_ == width_) column_ = 0;
        return true;
    }

private:
    void advance(int k) {
        column_ += k;
        if (column_ == width_) column_ = 0;
    }

    void skipToNextLine() {
        while (column_ < width_ && length_ < capacity_) {
            out_[length_++] = 0;
            ++column_;
        }
        column_ = 0;
    }

    // The unit whose first cells end the line just filled moves to the new line.
    void moveUnitDown(uint8_t marker) {
        int m = 0;
        while (m < width_ && (out_[length_ - 1 - m] & kUnitMarkerMask) == marker) ++m;
        if (m >= width_ || length_ + m > capacity_) return;  // it started the line, or there is no room
        const int from = length_ - m;
        for (int t = 0; t < m; ++t) out_[length_++] = out_[from + t];
        for (int t = 0; t < m; ++t) out_[from + t] = 0;
        column_ = m;
    }

    uint8_t *out_;
    int width_;
    int capacity_;
    bool marked_;
    int length_ = 0;
    int column_ = 0;
};

// Without word wrap: the cells run on over line ends, and a marked unit that
// would cross one, not starting its line, moves whole to the next line.
int RunOnLines(uint8_t *out, const uint8_t *cells, int n, const LineRules &rules) {
    const int width = rules.width > 0 ? rules.width : 1;
    int length = 0;
    for (int p = 0; p < n;) {
        const uint8_t marker = rules.markedUnits ? (cells[p] & kUnitMarkerMask) : 0;
        int q = p + 1;
        while (q < n && (rules.markedUnits ? (cells[q] & kUnitMarkerMask) : 0) == marker) ++q;
        const int k = q - p;
        if (marker == 0) {
            const int room = rules.capacity - length;
            const int copied = k < room ? k : room;
            std::memcpy(out + length, cells + p, static_cast<size_t>(copied));
            length += copied;
            if (copied < k) break;
        } else {
            const int column = length % width;
            const int pad = (column != 0 && column + k > width) ? width - column : 0;
            if (length + pad + k > rules.capacity) break;
            std::memset(out + length, 0, static_cast<size_t>(pad));
            length += pad;
            for (int j = p; j < q; ++j) out[length++] = static_cast<uint8_t>(cells[j] & ~kUnitMarkerMask);
        }
        p = q;
    }
    return length;
}

}  // namespace

int LayOutLines(uint8_t *out, const uint8_t *cells, int n, const LineRules &rules) {
    if (!rules.wrapWords) return RunOnLines(out, cells, n, rules);
    Layout l(out, rules);
    const int width = rules.width > 0 ? rules.width : 1;
    for (int p = 0; p < n;) {
        if (cells[p] == 0) {
            if (!l.blank(p == 0)) break;
            ++p;
            continue;
        }
        int k = 0;
        while (p + k < n && cells[p + k] != 0) ++k;
        bool placed;
        if (k <= width) placed = l.shortWord(cells + p, k);
        else placed = l.longWord(cells + p, k, rules.blankLineBeforeLongWord && p != 0);
        if (!placed) break;
        p += k;
    }
    const int length = l.length();
    if (rules.markedUnits)
        for (int i = 0; i < length; ++i) out[i] &= static_cast<uint8_t>(~kUnitMarkerMask);
    return length;
}

int PadToLines(uint8_t *out, int length, int width) {
    const int r = length % width;
    if (r == 0 && length > 0) return length;
    for (int i = 0; i < width - r; ++i) out[length++] = 0;
    return length;
}

}  // namespace kotari
