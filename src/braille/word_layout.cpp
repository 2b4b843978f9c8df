#include "braille/word_layout.h"

#include <cstring>

#include <cstddef>

namespace velumi {

namespace {
// Length of the word at `start`: its cells and the blank that ends it, if any.
size_t WordLength(const std::vector<uint8_t> &cells, size_t start) {
    size_t end = start;
    while (end < cells.size() && cells[end] != 0) ++end;
    return end < cells.size() ? end - start + 1 : end - start;
}

void FillLine(std::vector<uint8_t> &out, size_t column, size_t width) { out.resize(out.size() + (width - column), 0); }
}  // namespace

std::vector<uint8_t> LayOutWords(const std::vector<uint8_t> &cells, int width) {
    const size_t lineWidth = static_cast<size_t>(width);
    std::vector<uint8_t> out;
    out.reserve(cells.size() + lineWidth);
    size_t column = 0;
    for (size_t start = 0; start < cells.size();) {
        const size_t n = WordLength(cells, start);
        if (column + n > lineWidth && column != 0) FillLine(out, column, lineWidth);
        if (column + n > lineWidth) column = 0;
        out.insert(out.end(), cells.begin() + static_cast<long>(start), cells.begin() + static_cast<long>(start + n));
        column = (column + n) % lineWidth;
        start += n;
    }
    if (out.empty() || column != 0) FillLine(out, column, lineWidth);
    return out;
}

void TrimTrailingBlanks(std::vector<uint8_t> &cells) {
    // An unwrapped translation ends in thousands of blank cells: skip them eight at a time.
    size_t n = cells.size();
    while (n >= 8) {
        uint64_t word;
        std::memcpy(&word, cells.data() + n - 8, sizeof word);
        if (word != 0) break;
        n -= 8;
    }
    while (n > 0 && cells[n - 1] == 0) --n;
    cells.resize(n);
}

}  // namespace velumi
