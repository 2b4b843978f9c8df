// The pad models the simulator can be: name text and geometry.
#include "padsim_models.h"
#include "padsim.h"

#include <cstring>

namespace padsim {

namespace {
struct Model {
    const char *name;
    int lines;
    int cellsPerLine;
    int brailleCells;
};

// clang-format off
constexpr Model kModels[] = {
    {"ORIEL_WIDE", 20, 15, 0}, {"ORIEL", 10, 30, 0},   {"LINNET", 10, 30, 20},  {"TARN", 20, 40, 32},
    {"WREN", 7, 20, 0},        {"QX-LINE", 0, 0, 20},  {"QX-SHORT", 0, 0, 12}, {"QY-SHORT", 0, 0, 12},
};
// clang-format on
static_assert(sizeof(kModels) / sizeof(kModels[0]) == 8, "eight pad models");
constexpr int kDefaultModel = 3;  // TARN
}  // namespace

bool ModelGeometry(const std::string &name, int &lines, int &cellsPerLine, int &brailleCells) {
    for (const Model &m : kModels) {
        if (name == m.name) {
            lines = m.lines;
            cellsPerLine = m.cellsPerLine;
            brailleCells = m.brailleCells;
            return true;
        }
    }
    return false;
}

std::vector<std::string> ModelNames() {
    std::vector<std::string> names;
    for (const Model &m : kModels) names.emplace_back(m.name);
    return names;
}

std::string ModelForDeviceName(const std::string &deviceName) {
    int best = kDefaultModel;
    size_t bestLength = 0;
    for (int i = 0; i < static_cast<int>(sizeof(kModels) / sizeof(kModels[0])); ++i) {
        const size_t length = std::strlen(kModels[i].name);
        if (length > bestLength && deviceName.find(kModels[i].name) != std::string::npos) {
            best = i;
            bestLength = length;
        }
    }
    return kModels[best].name;
}

}  // namespace padsim
