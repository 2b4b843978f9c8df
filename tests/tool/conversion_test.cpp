// Picture conversion that keeps thin lines: line art, a photograph-like
// gradient and an icon, each generated here. The pins raised per picture are
// printed for the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image.h"
#include "test_images.h"

using namespace velumi_tool;

namespace {

constexpr int kLines = 20, kCells = 40;  // TARN: 80 x 80 pins

Image Canvas(int w, int h, uint8_t grey = 255, uint8_t alpha = 255) {
    return tool_test::UniformImage(w, h, grey, alpha);
}

void Paint(Image &im, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    if (x < 0 || y < 0 || x >= im.width || y >= im.height) return;
    uint8_t *p = &im.rgba[(static_cast<size_t>(y) * im.width + x) * 4];
    p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

void Rect(Image &im, int x0, int y0, int x1, int y1, uint8_t grey) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) Paint(im, x, y, grey, grey, grey);
}

bool Pin(const std::vector<uint8_t> &cells, int px, int py) {
    return cells[static_cast<size_t>(py / 4) * kCells + px / 2] & PinBit(px % 2, py % 4);
}

void Report(const char *picture, const char *conversion, const ConvertStats &st) {
    std::printf("[ pins     ] %-32s %-8s %5d of %d pins raised, threshold %d\n", picture, conversion, st.raised,
        st.pins, st.threshold);
}

TEST(Conversion, AScatterPlotOf2100PixelsKeepsItsAxesGridAndPoints) {
    // 2100 x 2100: 3-pixel axes, 1-pixel grey grid lines, 60 points of 5 x 5 pixels.
    Image plot = Canvas(2100, 2100);
    Rect(plot, 150, 150, 153, 1950, 0);  // y axis
    Rect(plot, 150, 1947, 1950, 1950, 0);  // x axis
    for (int g = 450; g < 1950; g += 300) {
        Rect(plot, g, 150, g + 1, 1947, 150);
        Rect(plot, 153, g, 1950, g + 1, 150);
    }
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < 60; ++i) {
        const int x = 200 + (i * 613) % 1700, y = 200 + (i * 389) % 1700;
        points.emplace_back(x, y);
        Rect(plot, x - 2, y - 2, x + 3, y + 3, 20);
    }
    ConvertStats average, lines;
    ConvertOptions old;  // the plain average at 128
    const auto before = ImageToCells(plot, kLines, kCells, old, &average);
    const auto after = ImageToCells(plot, kLines, kCells, ConvertOptions::Auto(), &lines);
    Report("scatter plot 2100x2100", "average", average);
    Report("scatter plot 2100x2100", "lines", lines);
    EXPECT_EQ(average.raised, 0) << "averaging loses every line of a large drawing";
    EXPECT_TRUE(ConversionWarning(average, old).find("raises no pins") != std::string::npos);
    EXPECT_EQ(ConversionWarning(lines, ConvertOptions::Auto()), "");
    const double s = 80.0 / 2100;
    for (auto [x, y] : points)
        EXPECT_TRUE(Pin(after, static_cast<int>(x * s), static_cast<int>(y * s))) << x << "," << y;
    // The axes are unbroken rows and columns of pins.
    for (int py = static_cast<int>(150 * s) + 1; py < static_cast<int>(1947 * s); ++py)
        EXPECT_TRUE(Pin(after, static_cast<int>(151 * s), py)) << py;
    for (int px = static_cast<int>(153 * s) + 1; px < static_cast<int>(1947 * s); ++px)
        EXPECT_TRUE(Pin(after, px, static_cast<int>(1948 * s))) << px;
    // Grey grid lines are dark against the white paper too, yet most of the area stays low.
    EXPECT_TRUE(Pin(after, static_cast<int>(750 * s), 40));
    EXPECT_LT(lines.raised, lines.pins / 3);
}

TEST(Conversion, ADiagramOf1052x744KeepsItsOneLineBoxes) {
    Image diagram = Canvas(1052, 744);
    auto box = [&](int x0, int y0, int x1, int y1) {
        Rect(diagram, x0, y0, x1, y0 + 1, 0);
        Rect(diagram, x0, y1 - 1, x1, y1, 0);
        Rect(diagram, x0, y0, x0 + 1, y1, 0);
        Rect(diagram, x1 - 1, y0, x1, y1, 0);
    };
    box(100, 100, 400, 300);
    box(650, 400, 950, 640);
    Rect(diagram, 400, 200, 800, 201, 0);  // a connector
    Rect(diagram, 800, 200, 801, 400, 0);
    ConvertStats average, lines;
    ImageToCells(diagram, kLines, kCells, {}, &average);
    const auto cells = ImageToCells(diagram, kLines, kCells, ConvertOptions::Auto(), &lines);
    Report("diagram 1052x744", "average", average);
    Report("diagram 1052x744", "lines", lines);
    EXPECT_EQ(average.raised, 0);
    // Scale 80/1052, picture centred vertically.
    const double s = 80.0 / 1052, oy = (80 - 744 * s) / 2;
    auto pin = [&](int x, int y) { return Pin(cells, static_cast<int>(x * s), static_cast<int>(y * s + oy)); };
    for (int x = 100; x < 400; x += 5) EXPECT_TRUE(pin(x, 100) && pin(x, 299)) << x;
    for (int y = 100; y < 300; y += 5) EXPECT_TRUE(pin(100, y) && pin(399, y)) << y;
    for (int x = 400; x < 800; x += 5) EXPECT_TRUE(pin(x, 200)) << x;
    EXPECT_FALSE(pin(250, 200)) << "the inside of a box stays low";
}

TEST(Conversion, APhotographLikeGradientFollowsItsToneWhenDithered) {
    // 640 x 480: dark on the left to light on the right, with a little noise.
    Image photo = Canvas(640, 480);
    unsigned seed = 12345;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) % 21) - 10;
            const int v = std::clamp(x * 255 / 639 + noise, 0, 255);
            Paint(photo, x, y, static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v));
        }
    EXPECT_NEAR(OtsuThreshold(photo), 128, 12);
    ConvertOptions dither = ConvertOptions::Auto();
    dither.conversion = Conversion::Dither;
    ConvertStats lines, dithered;
    ImageToCells(photo, kLines, kCells, ConvertOptions::Auto(), &lines);
    const auto cells = ImageToCells(photo, kLines, kCells, dither, &dithered);
    Report("gradient 640x480", "lines", lines);
    Report("gradient 640x480", "dither", dithered);
    // 80 x 60 pins (rows 10..69). Lines: the dark half and a little more.
    EXPECT_GT(lines.raised, lines.pins * 45 / 100);
    EXPECT_LT(lines.raised, lines.pins * 65 / 100);
    // Dithered: the share of raised pins per band of 16 columns falls with the tone.
    double previous = 1.1;
    for (int band = 0; band < 5; ++band) {
        int n = 0;
        for (int py = 10; py < 70; ++py)
            for (int px = band * 16; px < band * 16 + 16; ++px) n += Pin(cells, px, py);
        const double share = n / (60.0 * 16);
        const double tone = 1.0 - (band * 16 + 8) / 80.0;  // expected darkness
        EXPECT_NEAR(share, tone, 0.12) << "band " << band;
        EXPECT_LT(share, previous);
        previous = share;
    }
}

TEST(Conversion, ASmallIconIsEnlargedWithItsTransparencyKept) {
    // 32 x 32: a dark blue disc of radius 12 with a white highlight, on a transparent background.
    Image icon = Canvas(32, 32, 0, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double d = std::hypot(x + 0.5 - 16, y + 0.5 - 16);
            if (d < 12) Paint(icon, x, y, 20, 40, 140);
            if (std::hypot(x + 0.5 - 12, y + 0.5 - 12) < 3) Paint(icon, x, y, 250, 250, 250);
        }
    ConvertStats st;
    const auto cells = ImageToCells(icon, kLines, kCells, ConvertOptions::Auto(), &st);
    Report("icon 32x32", "lines", st);
    EXPECT_TRUE(Pin(cells, 40, 40)) << "the disc";
    EXPECT_FALSE(Pin(cells, 2, 2)) << "transparent corners are background";
    EXPECT_FALSE(Pin(cells, 30, 30)) << "the highlight stays low";
    // 2.5 pins per pixel: the disc covers about pi * 30^2 pins, less the highlight.
    const double disc = 3.14159 * 30 * 30, highlight = 3.14159 * 7.5 * 7.5;
    EXPECT_NEAR(st.raised, disc - highlight, 150);
    EXPECT_LT(st.pins, 6400) << "only the opaque pixels take part";
    // Inverted, only the highlight is raised.
    ConvertOptions inverted = ConvertOptions::Auto();
    inverted.invert = true;
    ConvertStats inv;
    ImageToCells(icon, kLines, kCells, inverted, &inv);
    Report("icon 32x32", "inverted", inv);
    EXPECT_NEAR(inv.raised, highlight, 60);
}

TEST(Conversion, OtsuSplitsTwoTonesInTheMiddleAndWarningsNameTheProblem) {
    Image two = Canvas(10, 10, 200);
    Rect(two, 0, 0, 5, 10, 50);
    EXPECT_EQ(OtsuThreshold(two), 126) << "50 and below 126 dark: the middle of 50 and 200";
    EXPECT_EQ(OtsuThreshold(Canvas(4, 4, 90)), 128) << "one tone";
    EXPECT_EQ(OtsuThreshold(Canvas(4, 4, 0, 0)), 128) << "no opaque pixel";

    ConvertStats st;
    const ConvertOptions automatic = ConvertOptions::Auto();
    ImageToCells(Canvas(100, 100, 255), kLines, kCells, automatic, &st);
    EXPECT_EQ(st.raised, 0);
    EXPECT_NE(ConversionWarning(st, automatic).find("raises no pins (automatic threshold 128)"), std::string::npos);
    ImageToCells(Canvas(100, 100, 0), kLines, kCells, automatic, &st);
    EXPECT_EQ(st.raised, 6400);
    EXPECT_NE(ConversionWarning(st, automatic).find("raises 6400 of its 6400 pins"), std::string::npos);
    ImageToCells(Canvas(100, 100, 0, 0), kLines, kCells, automatic, &st);
    EXPECT_EQ(st.pins, 0);
    EXPECT_EQ(ConversionWarning(st, automatic), "") << "a fully transparent picture has nothing to warn about";
}

}  // namespace
