// The pad models the simulator can be: name text and geometry.
#include "padsim.h"
#include "padsim_models.h"

#include <cstring>
#include <iterator>

namespace padsim {

namespace {
struct Model {
    const char *name;
    int lines;
    int cellsPerLine;
    int brailleCells;
};

constexpr Model kModels[] = {
    {"ORIEL_WIDE", 20, 15, 0}, {"ORIEL", 10, 30, 0},   {"LINNET", 10, 30, 20},  {"TARN", 20, 40, 32},
    {"WREN", 7, 20, 0},        {"QX-LINE", 0, 0, 20},  {"QX-SHORT", 0, 0, 12}, {"QY-SHORT", 0, 0, 12},
};
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

namespace {
constexpr int kFaults = static_cast<int>(Fault::PaceAtBaud);  // every fault but None
const FaultInfo kFaultRows[] = {
    {Fault::NeverAnswer, "never-answer", "receive everything, answer nothing", "", false},
    {Fault::DropNthAnswer, "drop-answer", "lose the answer to a request (a display line loses response and notice)",
     "the request whose answer is lost, counted from 1; 0 = every one", false},
    {Fault::CorruptChecksum, "corrupt-checksum", "send the answer to a request with a wrong checksum",
     "the request whose answer is corrupted, counted from 1; 0 = every one", false},
    {Fault::RejectLine, "reject-line", "answer a display line with an error code and show nothing",
     "the display line rejected, counted from 1; 0 = every one", true},
    {Fault::OmitLineNotice, "omit-line-notice", "accept and show a display line but never send its notice",
     "the display line without notice, counted from 1; 0 = every one", false},
    {Fault::GarbageBetweenFrames, "garbage", "send noise bytes in front of every frame",
     "noise bytes in front of each frame; 0 = 6", false},
    {Fault::OneByteAtATime, "one-byte-at-a-time", "write every byte on its own", "ms between the bytes; 0 = 1",
     false},
    {Fault::DelayAnswers, "delay", "hold every answer back", "the delay in ms", false},
    {Fault::PaceAtBaud, "pace", "send at the pace of a serial line, 10 bits a byte", "the baud rate; 0 = 115200",
     false},
};
static_assert(sizeof(kFaultRows) / sizeof(kFaultRows[0]) == kFaults, "one catalogue row per fault");
}  // namespace

const std::vector<FaultInfo> &FaultCatalogue() {
    static const std::vector<FaultInfo> rows(std::begin(kFaultRows), std::end(kFaultRows));
    return rows;
}

const FaultInfo *FindFault(Fault fault) {
    for (const FaultInfo &f : FaultCatalogue())
        if (f.fault == fault) return &f;
    return nullptr;
}

const FaultInfo *FindFault(const std::string &name) {
    for (const FaultInfo &f : FaultCatalogue())
        if (name == f.name) return &f;
    return nullptr;
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
