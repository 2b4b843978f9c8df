// PNG pictures and "_tgx_" graphics files for the pad's graphics area.
//
// A graphics cell is a block of 2 x 4 pins, one bit per pin: dots 1 2 3 7 down
// the left column (bits 0 1 2 6), dots 4 5 6 8 down the right (bits 3 4 5 7).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velumi_tool {

// 8-bit RGBA pixels, row after row.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// Reads a PNG file of any colour type and depth (gamma-corrected to 8-bit sRGB);
// "-" reads it from standard input. False with a one-line reason in `error`.
bool ReadPng(const std::string &path, Image &image, std::string &error);
// Writes an 8-bit RGBA PNG file.
bool WritePng(const std::string &path, const Image &image, std::string &error);

// How the pixels under one pin decide whether it is raised.
// clang-format off
enum class Conversion {
    Average,  // the pin's average luminance against the threshold (smooths thin lines away)
    Lines,    // any dark pixel under the pin raises it: keeps thin lines of large pictures
    Dither,   // Floyd-Steinberg error diffusion of the pins' average luminance: grey tones
};
// clang-format on

// Threshold value meaning "choose it from the picture" (Otsu's method).
constexpr int kAutoThreshold = -1;

// The struct's defaults are the plain averaging conversion at a fixed threshold;
// the tool's default is Auto(): thin lines kept, Otsu's threshold.
struct ConvertOptions {
    int threshold = 128;  // a pixel whose luminance is below this is dark; kAutoThreshold: Otsu
    bool invert = false;  // light pixels raise the pins instead of dark ones
    Conversion conversion = Conversion::Average;
    static ConvertOptions Auto() {
        ConvertOptions o;
        o.threshold = kAutoThreshold;
        o.conversion = Conversion::Lines;
        return o;
    }
};

// What a conversion did.
struct ConvertStats {
    int threshold = 0;  // the threshold used (Otsu's when automatic)
    int raised = 0;  // pins raised
    int pins = 0;  // pins the picture covers (its scaled area within the graphics area)
};

// Otsu's threshold of the opaque pixels' luminance: the value that best splits
// them into a dark and a light class (pixels below it are dark). 128 for a
// picture of one tone or without opaque pixels.
int OtsuThreshold(const Image &image);

// Scales `image` onto a pin matrix of cellsPerLine x 2 by lines x 4 pins, keeping
// its aspect ratio and centring it, and packs the pins into lines x cellsPerLine
// cells. A pin takes part when at least half of its area is opaque; margins and
// transparent pixels stay background. Then, by options.conversion:
//  - Average: the area-weighted luminance of the opaque part below the threshold
//    raises the pin (at or above it with `invert`);
//  - Lines: dark pixels (light ones with `invert`) covering at least half a pixel
//    of the pin, or half the pin when a pixel is larger than a pin, raise it;
//  - Dither: the averages are diffused to raised and lowered pins around the threshold.
std::vector<uint8_t> ImageToCells(const Image &image, int lines, int cellsPerLine, const ConvertOptions &options,
    ConvertStats *stats = nullptr);

// A one-line warning for a result that raises no pins or nearly all of the
// picture's pins (with what to try), or "" when the result looks usable.
std::string ConversionWarning(const ConvertStats &stats, const ConvertOptions &options);

// Bit of the pin at column `x` (0 or 1) and row `y` (0..3) of a cell.
uint8_t PinBit(int x, int y);

constexpr int kTgxHeaderSize = 30;
// The "_tgx_" file for lines x cellsPerLine cells: signature, line count, cells
// per line, 23 zero bytes, then the cells line after line.
std::vector<uint8_t> MakeTgx(int lines, int cellsPerLine, const std::vector<uint8_t> &cells);
// Writes `bytes` to a new file beside `path` and renames it into place, so a
// failed write leaves an existing file as it was. An existing regular file is
// replaced (keeping its mode); a link, folder, device or pipe at `path` is
// refused. False with a reason in `error`.
bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error);
// Whether `output` may be written for `input`: it is new, or a regular file
// (not a link) that is not the input itself (also through another name).
bool CheckOutput(const std::string &input, const std::string &output, std::string &error);
// Reads at most `limit` bytes of `path` when it is a regular file, and its
// size; never blocks on a pipe or device. False with a reason in `error`.
bool ReadRegularFile(const std::string &path, size_t limit, std::string &bytes, uint64_t &size, std::string &error);
// Reads the header of a "_tgx_" file: false with a reason when the file cannot be
// read, lacks the signature, or is shorter than its header promises.
bool ReadTgxHeader(const std::string &path, int &lines, int &cellsPerLine, std::string &error);

}  // namespace velumi_tool
