#include "braille/kotari_bridge.h"

#include <cstring>
#include <string>

#include "Log/nubra_log.h"
#include "api/error_codes.h"
#include "device/catalog.h"
#include "platform/library.h"
#include "platform/shared_lock.h"
#include "platform/utf.h"

namespace velumi {

namespace {
platform::Library g_engine;
BrailleTranslatorFn g_entry = nullptr;
TranslatorOptions g_options{5, 1, 0, 1, 20, 1, 1, 2, 2};
std::string g_forcedPath;

constexpr char kEngineFile[] = "libKotariEngine.so";
// Room for any packed result: wrapping at most doubles 6144 cells, padding adds under one line.
constexpr int kEngineOutputSize = 2 * KOTARI_CELL_BUFFER_SIZE + KOTARI_CELL_BUFFER_SIZE;
uint8_t g_output[kEngineOutputSize];  // used under the shared lock
}  // namespace

void SetKotariLibraryPath(const std::string &path) { g_forcedPath = path; }

int LoadKotariLibrary(int lineWidth, int language) {
    if (g_engine.IsOpen() && g_entry) return 0;
    if (!g_engine.IsOpen()) {
        bool loaded = false;
        if (!g_forcedPath.empty()) {
            loaded = g_engine.Open(g_forcedPath);
        } else {
            const std::string own = platform::OwnDirectory();
            loaded = (!own.empty() && g_engine.Open(own + kEngineFile)) || g_engine.Open(kEngineFile);
        }
        if (!loaded) {
            return Fail(Error::EngineLoadFail, "LoadKotariLibrary");
        }
    }
    g_entry = reinterpret_cast<BrailleTranslatorFn>(g_engine.Symbol("BrailleTranslator"));
    if (!g_entry) {
        return Fail(Error::EngineGetFuncFail, "LoadKotariLibrary");
    }
    g_options = TranslatorOptions{language, 1, 0, 1, lineWidth, 1, 1, 2, 2};
    NubraLog("[OK] LoadKotariLibrary() successed");
    return 0;
}

int FreeKotariLibrary() {
    g_entry = nullptr;
    if (g_engine.IsOpen()) {
        NubraLog("[OK] %s() successed", "FreeKotariLibrary");
        g_engine.Close();
    }
    return 0;
}

bool KotariBound() { return g_engine.IsOpen() && g_entry; }

void KotariSetLanguage(int language) { g_options.language = language; }

void KotariSetOption(int value) {
    const int language = g_options.language;
    if (!LanguageByCode(language)) return;
    switch (OptionSlotFor(language)) {
    case OptionSlot::EnglishGrade: g_options.englishGrade = value; break;
    case OptionSlot::ChineseMode: g_options.chineseMode = value; break;
    case OptionSlot::FrenchGrade: g_options.frenchGrade = value; break;
    case OptionSlot::GermanGrade: g_options.germanGrade = value; break;
    case OptionSlot::VietnameseVariant: g_options.vietnameseVariant = value; break;
    case OptionSlot::LanguageField: g_options.language = value; break;
    }
}

void KotariSetLineCells(int cells) { g_options.lineCells = cells; }

const TranslatorOptions &KotariOptions() { return g_options; }

void DumpTranslation(const char16_t *text, const uint8_t *cells, int count, int rowWidth) {
    if (!g_traceOn.load(std::memory_order_relaxed)) return;
    size_t units = 0;
    while (text && text[units] && units < kJobTextUnits - 1) ++units;
    NubraLog("Input : %s ", platform::Utf16ToUtf8(text ? text : u"", units).c_str());
    NubraLog("Output");
    if (rowWidth <= 0) return;
    std::string row;
    for (int i = 0; i < count; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", cells[i]);
        row += hex;
        if ((i + 1) % rowWidth == 0) {
            NubraLog("%s", row.c_str());
            row.clear();
        }
    }
}

int Kotari_BrailleTranslator(DisplayJob &job, const char16_t *text, int dumpRowWidth) {
    if (!KotariBound()) {
        return Fail(Error::EngineNotLoaded, "Kotari_BrailleTranslator");
    }
    platform::SharedLockGuard lock;
    size_t units = 0;
    while (text && text[units] && units < kJobTextUnits - 1) ++units;
    std::memset(job.text, 0, sizeof job.text);
    if (units) std::memcpy(job.text, text, units * sizeof(char16_t));
    // The engine may rewrite its input: it gets a copy, and the job keeps the caller's text.
    static char16_t input[kJobTextUnits];
    std::memcpy(input, job.text, sizeof input);
    const int produced = g_entry(reinterpret_cast<uint16_t *>(input), g_output, &g_options);
    const int width = g_options.lineCells > 0 ? g_options.lineCells : KOTARI_CELL_BUFFER_SIZE;
    int keep = produced < 0 ? 0 : produced;
    if (keep > kEngineOutputSize) keep = kEngineOutputSize;
    if (keep > kJobCellsSize) keep = (kJobCellsSize / width) * width;  // whole lines that fit
    std::memset(job.cells, 0, sizeof job.cells);
    std::memcpy(job.cells, g_output, static_cast<size_t>(keep));
    job.cellCount = keep;
    DumpTranslation(job.text, job.cells, job.cellCount, dumpRowWidth);
    return 0;
}

}  // namespace velumi
