// The one line layout: lays translated cells out into lines of a given width.
//
// A word is a run of non-blank cells; the blank cell (0) separates words.
// With word wrapping, a word that does not fit in the rest of a line starts the
// next one (the rest of the line blank), a blank that would start a line is
// dropped (except at the very start of the text), and a word longer than a
// line runs on over the line ends.
//
// Keep-together hook: a translator may mark cells that form one unit which a
// line end must not split (a Korean syllable, a Norwegian number) by setting
// bits 6-7 of each of its cells to the same nonzero marker (kUnitMarkerA or
// kUnitMarkerB; neighbouring units take different markers, see UnitMarker).
// Engine cells are six-dot cells, so these bits are otherwise free. A unit that
// would cross a line end and did not start its line moves whole to the next
// line; the layout strips the markers from its output.
#pragma once

#include <climits>
#include <cstdint>

namespace kotari {

constexpr uint8_t kUnitMarkerA = 0x40;
constexpr uint8_t kUnitMarkerB = 0x80;
constexpr uint8_t kUnitMarkerMask = 0xC0;

// Hands out the markers of consecutive units in turn, so that two neighbouring
// units never share one.
class UnitMarker {
public:
    uint8_t next() {
        const uint8_t m = first_ ? kUnitMarkerA : kUnitMarkerB;
        first_ = !first_;
        return m;
    }
    void reset() { first_ = true; }

private:
    bool first_ = true;
};

struct LineRules {
    int width = 1;  // cells per line, > 0
    int capacity = INT_MAX;  // most cells written; the layout stops before a word or unit that does not fit
    bool wrapWords = true;  // false: words run on over line ends, only marked units move
    bool blankLineBeforeLongWord = true;  // a word longer than a line that follows a full line gets a blank line first
    bool markedUnits = false;  // cells carry unit markers (bits 6-7), stripped from the output
};

// Lays the n cells out at `out` (which does not overlap `cells`) and returns the
// number of cells written, not padded to a whole line.
int LayOutLines(uint8_t *out, const uint8_t *cells, int n, const LineRules &rules);

// Fills blank cells after the `length` cells at `out` up to a whole number of
// lines of `width`; an empty result becomes one blank line. Returns the new length.
int PadToLines(uint8_t *out, int length, int width);

}  // namespace kotari
