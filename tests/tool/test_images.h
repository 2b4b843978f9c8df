// Images built in memory for the tool's picture tests.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image.h"

namespace tool_test {

// A w x h image of one grey level and opacity.
inline velumi_tool::Image UniformImage(int w, int h, uint8_t grey = 255, uint8_t alpha = 255) {
    velumi_tool::Image im;
    im.width = w;
    im.height = h;
    im.rgba.resize(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < im.rgba.size(); i += 4) {
        im.rgba[i] = im.rgba[i + 1] = im.rgba[i + 2] = grey;
        im.rgba[i + 3] = alpha;
    }
    return im;
}

}  // namespace tool_test
