// Line packing: word-wraps the translated cells into whole lines.
#include "core/engine.h"

namespace kotari {

int packCells(uint8_t *out, const uint8_t *cells, int n, bool wrap) {
    const int W = g_settings.lineWidth > 0 ? g_settings.lineWidth : kCellBufferSize;
    int L = 0;
    if (!wrap) {
        for (int i = 0; i < n; ++i) out[L++] = cells[i];
    } else {
        int p = 0, c = 0;
        while (p < n) {
            if (cells[p] == 0) {
                // A blank that would start a line is dropped, except at the very start.
                if (p == 0 || c != 0) {
                    out[L++] = 0;
                    ++c;
                }
                ++p;
            } else {
                int k = 0;
                while (p + k < n && cells[p + k] != 0) ++k;
                if (c + k <= W) {
                    c += k;
                } else {
                    if (p != 0) {
                        for (int s = 0; s < W - c; ++s) out[L++] = 0;
                    }
                    c = k % W;
                }
                for (int i = 0; i < k; ++i) out[L++] = cells[p + i];
                p += k;
            }
            if (c == W) c = 0;
        }
    }
    const int r = L % W;
    if (r == 0 && L > 0) return L;
    for (int i = 0; i < W - r; ++i) out[L++] = 0;
    return L;
}

}  // namespace kotari
