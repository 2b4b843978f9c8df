// DisplayJob: one display request (graphics lines, translated braille, or
// braille ASCII), created by the device object and read by the protocol.
#pragma once

#include <cstdint>
#include <vector>

namespace velumi {

constexpr int kJobDataSize = 2048;
constexpr int kJobTextUnits = 2048;  // 2047 units and a NUL
constexpr int kJobCellsSize = 6150;

enum : uint8_t { kRequestDisplay = 7, kRequestPrevPage = 8, kRequestNextPage = 9 };

// What a job shows: whole graphics lines, a range of graphic cells (only the
// lines it touches are sent), translated braille, or braille ASCII.
enum class JobKind : uint8_t { Graphics, PartialGraphics, Braille, BrailleAscii };

struct DisplayJob {
    JobKind kind = JobKind::Graphics;
    uint8_t data[kJobDataSize] = {};
    uint8_t m_nNumOfLine = 0;
    uint8_t m_nNumOfCell = 0;
    uint8_t currentLine = 0;
    uint8_t requestCode = kRequestDisplay;
    uint8_t retriesLeft = 0;
    uint8_t retryDelay = 0;
    char16_t text[kJobTextUnits] = {};
    uint8_t cells[kJobCellsSize] = {};
    std::vector<uint8_t> asciiCells;  // braille-ASCII jobs; copied with the job
    int32_t cellCount = 0;
    int32_t windowStart = 0;
    uint8_t remainingLines = 0;

    bool IsGraphics() const { return kind == JobKind::Graphics || kind == JobKind::PartialGraphics; }
    bool IsBrailleLine() const { return kind == JobKind::Braille || kind == JobKind::BrailleAscii; }
    // The cells of a braille or braille-ASCII job.
    const uint8_t *BrailleCells() const { return kind == JobKind::BrailleAscii ? asciiCells.data() : cells; }
    int BrailleCellCapacity() const {
        return kind == JobKind::BrailleAscii ? static_cast<int>(asciiCells.size()) : kJobCellsSize;
    }
};

}  // namespace velumi
