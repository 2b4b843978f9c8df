#include "braille/louis_bridge.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Log/nubra_log.h"
#include "braille/kotari_bridge.h"
#include "device/catalog.h"
#include "platform/library.h"
#include "platform/shared_lock.h"
#include "platform/utf.h"

namespace velumi {

namespace {
using LouTranslate = int (*)(const char *tableList, const void *inbuf, int *inlen, void *outbuf, int *outlen,
                             void *typeform, char *spacing, int *outputPos, int *inputPos, int *cursorPos, int mode);
using LouCharSize = int (*)();

platform::Library g_louis;
LouTranslate g_translate = nullptr;
int g_charSize = 4;
std::string g_libraryName = "liblouis.so.20";
// Settings record: language, 1, 0, dot mode, line width, 1, grade.
int g_settings[7] = {5, 1, 0, 1, 20, 1, 2};

constexpr int kLouisOutput = 6144;
constexpr int kNoBrailleLine = 10;
constexpr int kNotTranslated = 64;
}  // namespace

void SetLouisLibraryName(const std::string &name) { g_libraryName = name; }

int LoadLiblouisLibrary(int lineWidth, int language) {
    // liblouis keeps its tables in memory it never frees; unloading it at every
    // de-init would lose them, so the library stays mapped once loaded.
    if (!g_louis.Open(g_libraryName, true)) return 4;
    g_translate = reinterpret_cast<LouTranslate>(g_louis.Symbol("lou_translate"));
    if (!g_translate) {
        g_louis.Close();
        return 5;
    }
    // liblouis is built with 16- or 32-bit characters; ask which.
    auto charSize = reinterpret_cast<LouCharSize>(g_louis.Symbol("lou_charSize"));
    g_charSize = charSize ? charSize() : 2;
    std::printf("%s\n", kLouisTableDir);
    if (::setenv("LOUIS_TABLEPATH", kLouisTableDir, 1) != 0)
        std::fprintf(stderr, "Failed to set environment variable: %s\n", std::strerror(errno));
    std::fflush(stdout);
    g_settings[0] = language;
    g_settings[1] = 1;
    g_settings[2] = 0;
    g_settings[3] = 1;
    g_settings[4] = lineWidth;
    g_settings[5] = 1;
    g_settings[6] = 2;
    NubraLog("[OK] LoadLiblouisLibrary() successed");
    return 0;
}

int FreeLouisLibrary() {
    g_translate = nullptr;
    if (g_louis.IsOpen()) {
        NubraLog("[OK] %s() successed", "FreeLouisLibrary");
        g_louis.Close();
    }
    return 0;
}

bool LouisBound() { return g_louis.IsOpen() && g_translate; }
void LouisSetLanguage(int language) { g_settings[0] = language; }
void LouisSetGrade(int grade) { g_settings[6] = grade; }
int LouisLanguage() { return g_settings[0]; }
int LouisGrade() { return g_settings[6]; }

int Liblouis_BrailleTranslator(DisplayJob &job, const char16_t *text, int width) {
    const char *tablePath = std::getenv("LOUIS_TABLEPATH");
    std::printf("LOUIS_TABLEPATH is set to: %s\n", tablePath ? tablePath : "");
    std::fflush(stdout);
    if (!LouisBound()) {
        NubraLog("[ERROR] NUBRA_ERROR_LIBLOUIS_DLL_COULD_NOT_LOAD in %s()", "Liblouis_BrailleTranslator");
        return 6;
    }
    if (width < 1) {
        NubraLog("[ERROR] NUBRA_ERROR_NO_BRAILLE_LINE in %s()", "Liblouis_BrailleTranslator");
        return kNoBrailleLine;
    }
    platform::SharedLockGuard lock;
    size_t units = 0;
    while (text && text[units] && units < kJobTextUnits - 1) ++units;
    std::memset(job.text, 0, sizeof job.text);
    if (units) std::memcpy(job.text, text, units * sizeof(char16_t));

    const std::string table(LouisTable(g_settings[0], g_settings[6]));
    const std::string tableList = "unicode.dis," + table;
    // Unpaired surrogates become U+FFFD: the text handed on is always valid.
    const std::string utf8 = platform::Utf16ToUtf8(job.text, units);
    std::printf("%s\n%s\n", tableList.c_str(), utf8.c_str());
    std::fflush(stdout);

    const std::u16string clean = platform::Utf8ToUtf16(utf8);
    std::vector<uint32_t> in32;
    std::vector<uint16_t> in16;
    int inLength;
    if (g_charSize == 4) {
        for (size_t i = 0; i < clean.size(); ++i) {
            char32_t c = clean[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < clean.size()) c = 0x10000 + ((c - 0xD800) << 10) + (clean[++i] - 0xDC00);
            in32.push_back(c);
        }
        inLength = static_cast<int>(in32.size());
    } else {
        in16.assign(clean.begin(), clean.end());
        inLength = static_cast<int>(in16.size());
    }
    std::vector<uint32_t> out32(g_charSize == 4 ? kLouisOutput : 0);
    std::vector<uint16_t> out16(g_charSize == 4 ? 0 : kLouisOutput);
    int outLength = kLouisOutput;
    // An empty text clears the line, as through the engine; liblouis itself
    // refuses an empty input.
    int ok = 1;
    if (inLength == 0)
        outLength = 0;
    else
        ok = g_translate(tableList.c_str(), g_charSize == 4 ? static_cast<const void *>(in32.data()) : in16.data(),
                               &inLength, g_charSize == 4 ? static_cast<void *>(out32.data()) : out16.data(), &outLength,
                               nullptr, nullptr, nullptr, nullptr, nullptr, 0);
    // A failed translation (a missing table, say) leaves nothing usable.
    if (!ok || outLength < 0 || outLength > kLouisOutput) return kNotTranslated;

    std::vector<uint8_t> cells(static_cast<size_t>(outLength));
    for (int i = 0; i < outLength; ++i) {
        const uint32_t c = g_charSize == 4 ? out32[i] : out16[i];
        cells[i] = (c >= 0x2800 && c <= 0x28FF) ? static_cast<uint8_t>(c - 0x2800) : 0;
    }

    // Lay the words (each with the blank that ends it) out into lines of W cells.
    std::memset(job.cells, 0, sizeof job.cells);
    const int W = width;
    int j = 0, c = 0, p = 0;
    auto put = [&](uint8_t cell) {
        if (j < kJobCellsSize) job.cells[j] = cell;
        ++j;
    };
    while (p < outLength) {
        int n = 0;
        while (p + n < outLength && cells[p + n] != 0) ++n;
        if (p + n < outLength) ++n;  // the blank belongs to the word it ends
        if (c + n <= W) {
            c += n;
        } else if (n <= W) {
            for (int k = c; k < W; ++k) put(0);
            c = n;
        } else {
            if (c != 0)
                for (int k = c; k < W; ++k) put(0);
            c = n % W;
        }
        for (int k = 0; k < n; ++k) put(cells[p + k]);
        p += n;
        if (c == W) c = 0;
    }
    if (j > kJobCellsSize) j = kJobCellsSize;
    // The laid-out cells rounded up to whole lines, within the cell area.
    int count = ((j + W - 1) / W) * W;
    if (count == 0) count = W;
    if (count > kJobCellsSize) count = (kJobCellsSize / W) * W;
    job.cellCount = count;
    DumpTranslation(job.text, job.cells, job.cellCount, W);
    return 0;
}

}  // namespace velumi
