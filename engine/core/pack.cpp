// Packing: the translator's cells word-wrapped (or copied) into whole lines.
#include "core/engine.h"
#include "core/line_layout.h"

namespace kotari {

int packCells(uint8_t *out, const uint8_t *cells, int n, bool wrap) {
    const int width = g_settings.lineWidth > 0 ? g_settings.lineWidth : kCellBufferSize;
    int length = 0;
    if (wrap) {
        LineRules rules;
        rules.width = width;
        length = LayOutLines(out, cells, n, rules);
    } else {
        for (int i = 0; i < n; ++i) out[length++] = cells[i];
    }
    return PadToLines(out, length, width);
}

}  // namespace kotari
