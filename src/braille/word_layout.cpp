#include "braille/word_layout.h"

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
    while (!cells.empty() && cells.back() == 0) cells.pop_back();
}

}  // namespace velumi
