// The word layout of the SDK's own line breaking (liblouis's cells; the engine
// lays out its own lines): words kept whole where they fit a line.
#pragma once

#include <cstdint>
#include <vector>

namespace velumi {

// Lays cells out into lines of `width` cells. A word is a run of cells with the
// blank that ends it. A word that does not fit the rest of the line starts the
// next one (the rest of the line is blank); a word longer than a line starts
// on a fresh line and runs over as many lines as it needs, and the next word
// follows it directly. The result is whole lines, at least one. width >= 1.
std::vector<uint8_t> LayOutWords(const std::vector<uint8_t> &cells, int width);

// Drops the blank cells at the end.
void TrimTrailingBlanks(std::vector<uint8_t> &cells);

}  // namespace velumi
