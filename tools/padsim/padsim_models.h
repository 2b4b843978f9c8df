// Model lookup inside the simulator.
#pragma once

#include <string>

namespace padsim {
// The model whose name text the device name contains, the longest match winning; TARN when none.
std::string ModelForDeviceName(const std::string &deviceName);
}  // namespace padsim
