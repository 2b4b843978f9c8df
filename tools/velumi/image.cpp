#include "image.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace velumi_tool {

namespace {
// Larger pictures are refused rather than risking memory exhaustion.
constexpr uint64_t kMaxPixels = 64u * 1024u * 1024u;
// The largest PNG file read.
constexpr size_t kMaxPngBytes = 256u << 20;
}  // namespace

bool ReadRegularFile(const std::string &path, size_t limit, std::string &bytes, uint64_t &size, std::string &error) {
    // O_NONBLOCK: a pipe without a writer or a device must not hold the tool.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error =
            "'" + path + "' is " + (S_ISDIR(st.st_mode) ? "a folder" : "not a regular file") + ", not a picture file";
        ::close(fd);
        return false;
    }
    size = static_cast<uint64_t>(st.st_size);
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = "cannot read '" + path + "': " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// Standard input, up to `limit` bytes (one more tells that it is longer).
bool ReadStandardInput(size_t limit, std::string &bytes, std::string &error) {
    bytes.clear();
    char buffer[65536];
    while (bytes.size() <= limit) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::string("cannot read standard input: ") + std::strerror(errno);
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

bool ReadPng(const std::string &path, Image &image, std::string &error) {
    // The signature and size first: a huge (or sparse) file is refused unread.
    // "-": the picture on standard input.
    const bool fromStdin = path == "-";
    const std::string name = fromStdin ? "standard input" : "'" + path + "'";
    std::string bytes;
    uint64_t size = 0;
    if (fromStdin) {
        if (!ReadStandardInput(kMaxPngBytes, bytes, error)) return false;
        size = bytes.size();
    } else if (!ReadRegularFile(path, 8, bytes, size, error)) {
        return false;
    }
    const bool isPng = bytes.size() >= 8 && png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
    if (!isPng) {
        error = name + " is not a PNG file";
        return false;
    }
    if (size > kMaxPngBytes) {
        error = (fromStdin ? std::string("the PNG on standard input") : "PNG '" + path + "'") + " is too large (" +
                std::to_string(size) + " bytes)";
        return false;
    }
    if (!fromStdin && !ReadRegularFile(path, kMaxPngBytes, bytes, size, error)) return false;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        error = "cannot read PNG '" + path + "': " + png.message;
        return false;
    }
    if (static_cast<uint64_t>(png.width) * png.height > kMaxPixels) {
        png_image_free(&png);
        error = "PNG '" + path + "' is too large (" + std::to_string(png.width) + " x " + std::to_string(png.height) +
                " pixels)";
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        error = "cannot read PNG '" + path + "': " + png.message;
        png_image_free(&png);
        return false;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgba = std::move(pixels);
    return true;
}

bool WritePng(const std::string &path, const Image &image, std::string &error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        error = "no picture to write";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr)) {
        error = "cannot write PNG '" + path + "': " + png.message;
        return false;
    }
    return true;
}

uint8_t PinBit(int x, int y) {
    static const uint8_t kLeft[4] = {0x01, 0x02, 0x04, 0x40};  // dots 1 2 3 7
    static const uint8_t kRight[4] = {0x08, 0x10, 0x20, 0x80};  // dots 4 5 6 8
    return x == 0 ? kLeft[y] : kRight[y];
}

namespace {
double Luminance(const uint8_t *p) { return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]; }
}  // namespace

int OtsuThreshold(const Image &image) {
    const size_t n = static_cast<size_t>(std::max(image.width, 0)) * std::max(image.height, 0);
    if (n == 0 || image.rgba.size() < n * 4) return 128;
    double histogram[256] = {};
    double total = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t *p = &image.rgba[i * 4];
        if (p[3] == 0) continue;
        const double w = p[3] / 255.0;
        histogram[static_cast<int>(Luminance(p) + 0.5)] += w;
        total += w;
    }
    if (total <= 0) return 128;
    double sumAll = 0;
    for (int v = 0; v < 256; ++v) sumAll += v * histogram[v];
    // Maximise the between-class variance of {< t} and {>= t}.
    double weightDark = 0, sumDark = 0, best = -1;
    int bestT = 128;
    for (int t = 1; t < 256; ++t) {
        weightDark += histogram[t - 1];
        sumDark += (t - 1) * histogram[t - 1];
        const double weightLight = total - weightDark;
        if (weightDark <= 0 || weightLight <= 0) continue;
        const double meanDark = sumDark / weightDark, meanLight = (sumAll - sumDark) / weightLight;
        const double between = weightDark * weightLight * (meanDark - meanLight) * (meanDark - meanLight);
        if (between > best) {
            best = between;
            bestT = t;
        }
    }
    if (best <= 0) return 128;
    // Between two tones every t in the gap splits them equally well; the first
    // one found sits just above the dark tone: take the middle of the gap instead.
    int high = bestT;
    while (high < 255 && histogram[high] == 0) ++high;
    return (bestT + high + 1) / 2;
}

std::vector<uint8_t> ImageToCells(const Image &image, int lines, int cellsPerLine, const ConvertOptions &options,
    ConvertStats *stats) {
    std::vector<uint8_t> cells(static_cast<size_t>(std::max(lines, 0)) * std::max(cellsPerLine, 0), 0);
    ConvertStats local;
    ConvertStats &st = stats ? *stats : local;
    st = ConvertStats{};
    const int W = cellsPerLine * 2, H = lines * 4;
    if (W <= 0 || H <= 0 || image.width <= 0 || image.height <= 0) return cells;
    if (image.rgba.size() < static_cast<size_t>(image.width) * image.height * 4) return cells;
    const int threshold = options.threshold == kAutoThreshold ? OtsuThreshold(image) : options.threshold;
    st.threshold = threshold;

    // Scale factor from pixels to pins; the scaled picture is centred.
    const double s = std::min(static_cast<double>(W) / image.width, static_cast<double>(H) / image.height);
    const double ox = (W - image.width * s) / 2, oy = (H - image.height * s) / 2;
    const double pinArea = 1.0 / (s * s);  // one pin's area in pixels
    // Lines: the dark area that raises a pin, in pixels.
    const double darkNeeded = std::min(0.5, pinArea / 2);

    // Per pin: -1 background, else the average luminance (Average, Dither) or,
    // for Lines, 0 for a pin to raise and 255 for one to leave (inversion applied).
    std::vector<double> value(static_cast<size_t>(W) * H, -1.0);
    for (int py = 0; py < H; ++py) {
        const double y0 = std::max(0.0, (py - oy) / s), y1 = std::min<double>(image.height, (py + 1 - oy) / s);
        if (y1 <= y0) continue;
        for (int px = 0; px < W; ++px) {
            const double x0 = std::max(0.0, (px - ox) / s), x1 = std::min<double>(image.width, (px + 1 - ox) / s);
            if (x1 <= x0) continue;
            double opaque = 0, luminance = 0, dark = 0, light = 0;
            const int iy1 = std::min(image.height, static_cast<int>(std::ceil(y1)));
            const int ix1 = std::min(image.width, static_cast<int>(std::ceil(x1)));
            for (int iy = static_cast<int>(y0); iy < iy1; ++iy) {
                const double wy = std::min<double>(y1, iy + 1) - std::max<double>(y0, iy);
                if (wy <= 0) continue;
                const uint8_t *row = &image.rgba[static_cast<size_t>(iy) * image.width * 4];
                for (int ix = static_cast<int>(x0); ix < ix1; ++ix) {
                    const double wx = std::min<double>(x1, ix + 1) - std::max<double>(x0, ix);
                    if (wx <= 0) continue;
                    const uint8_t *p = row + static_cast<size_t>(ix) * 4;
                    const double w = wx * wy * p[3] / 255.0;
                    const double l = Luminance(p);
                    opaque += w;
                    luminance += w * l;
                    (l < threshold ? dark : light) += w;
                }
            }
            if (opaque * 2 < pinArea || opaque <= 0) continue;  // mostly transparent or outside: background
            ++st.pins;
            double &v = value[static_cast<size_t>(py) * W + px];
            if (options.conversion == Conversion::Lines)
                v = (options.invert ? light : dark) >= darkNeeded ? 0 : 255;  // 0: raise
            else v = luminance / opaque;
        }
    }

    auto raise = [&](int px, int py) {
        cells[static_cast<size_t>(py / 4) * cellsPerLine + px / 2] |= PinBit(px % 2, py % 4);
        ++st.raised;
    };
    if (options.conversion == Conversion::Dither) {
        // Floyd-Steinberg in serpentine order; the error stays within the picture.
        for (int py = 0; py < H; ++py) {
            const bool ltr = py % 2 == 0;
            for (int k = 0; k < W; ++k) {
                const int px = ltr ? k : W - 1 - k;
                double &v = value[static_cast<size_t>(py) * W + px];
                if (v < 0) continue;
                const bool darkPin = v < threshold;
                const double error = v - (darkPin ? 0.0 : 255.0);
                if (darkPin != options.invert) raise(px, py);
                const int dir = ltr ? 1 : -1;
                auto spread = [&](int x, int y, double f) {
                    if (x < 0 || x >= W || y >= H) return;
                    double &t = value[static_cast<size_t>(y) * W + x];
                    if (t >= 0) t += error * f;
                };
                spread(px + dir, py, 7.0 / 16);
                spread(px - dir, py + 1, 3.0 / 16);
                spread(px, py + 1, 5.0 / 16);
                spread(px + dir, py + 1, 1.0 / 16);
            }
        }
    } else {
        for (int py = 0; py < H; ++py)
            for (int px = 0; px < W; ++px) {
                const double v = value[static_cast<size_t>(py) * W + px];
                if (v < 0) continue;
                const bool darkPin = v < threshold;
                if (options.conversion == Conversion::Lines ? darkPin : darkPin != options.invert) raise(px, py);
            }
    }
    return cells;
}

std::string ConversionWarning(const ConvertStats &stats, const ConvertOptions &options) {
    if (stats.pins == 0) return "";
    const std::string tried = options.threshold == kAutoThreshold
                                  ? " (automatic threshold " + std::to_string(stats.threshold) + ")"
                                  : " (threshold " + std::to_string(stats.threshold) + ")";
    if (stats.raised == 0)
        return "the converted picture raises no pins" + tried +
               "; try --invert, another --threshold or "
               "--conversion dither";
    if (stats.raised * 100 >= stats.pins * 95)
        return "the converted picture raises " + std::to_string(stats.raised) + " of its " +
               std::to_string(stats.pins) + " pins" + tried + "; try --invert or another --threshold";
    return "";
}

std::vector<uint8_t> MakeTgx(int lines, int cellsPerLine, const std::vector<uint8_t> &cells) {
    const size_t count = static_cast<size_t>(std::max(lines, 0)) * std::max(cellsPerLine, 0);
    std::vector<uint8_t> out(kTgxHeaderSize + count, 0);
    std::memcpy(out.data(), "_tgx_", 5);
    out[5] = static_cast<uint8_t>(lines);
    out[6] = static_cast<uint8_t>(cellsPerLine);
    std::copy_n(cells.begin(), std::min(count, cells.size()), out.begin() + kTgxHeaderSize);
    return out;
}

bool CheckOutput(const std::string &input, const std::string &output, std::string &error) {
    struct stat out;
    if (::lstat(output.c_str(), &out) != 0) return true;  // a new file
    if (!S_ISREG(out.st_mode)) {
        error = "'" + output + "' is " +
                (S_ISLNK(out.st_mode)      ? "a link"
                    : S_ISDIR(out.st_mode) ? "a folder"
                                           : "not a regular file") +
                "; give the name of a new or regular file to write";
        return false;
    }
    struct stat in;
    if (::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
        error = "'" + output + "' is the input file; give another output name";
        return false;
    }
    return true;
}

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error) {
    // Never write into what the name holds now: the bytes go to a new file
    // beside it, which is then renamed over it. A failure leaves the old file
    // (or nothing) in place; links, folders, devices and pipes are refused.
    struct stat old;
    const bool exists = ::lstat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = "cannot write '" + path + "': it is " + (S_ISLNK(old.st_mode) ? "a link" : "not a regular file");
        return false;
    }
    const size_t slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".velumi-XXXXXX";
    const int fd = ::mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create '" + path + "': " + std::strerror(errno);
        return false;
    }
    // The mode a new file would get (0666 less the umask), or the old file's.
    mode_t mode = old.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    const int saved = errno;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(ok ? errno : saved);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool ReadTgxHeader(const std::string &path, int &lines, int &cellsPerLine, std::string &error) {
    std::string header;
    uint64_t size = 0;
    if (!ReadRegularFile(path, kTgxHeaderSize, header, size, error)) return false;
    if (header.size() < 7 || std::memcmp(header.data(), "_tgx_", 5) != 0) {
        error = "'" + path + "' is not a _tgx_ graphics file";
        return false;
    }
    lines = static_cast<uint8_t>(header[5]);
    cellsPerLine = static_cast<uint8_t>(header[6]);
    if (size < kTgxHeaderSize + static_cast<uint64_t>(lines) * cellsPerLine) {
        error = "'" + path + "' is shorter than its header says (" + std::to_string(lines) + " lines of " +
                std::to_string(cellsPerLine) + " cells)";
        return false;
    }
    return true;
}

}  // namespace velumi_tool
