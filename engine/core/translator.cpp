// The engine's export: options, language dispatch and packing.
#include <cstring>

#include "core/engine.h"

namespace kotari {

EngineSettings g_settings;

void ApplyOptions(const TranslatorOptions &o) {
    g_settings.englishGrade = o.englishGrade == 1 ? 1 : 2;
    g_settings.lowercaseInput = o.lowercaseInput != 0;
    g_settings.markComputerText = o.markComputerText != 0;
    g_settings.lineWidth = o.lineCells > 0 ? o.lineCells : kCellBufferSize;
    g_settings.rawLineCellsKorean = o.lineCells;
    g_settings.rawLineCellsNorwegian = o.lineCells;
    g_settings.chineseMode = (o.chineseMode == 2 || o.chineseMode == 3) ? o.chineseMode : 1;
    g_settings.frenchGrade = o.frenchGrade == 2 ? 2 : 1;
    g_settings.germanGrade = o.germanGrade == 1 ? 1 : 2;
    g_settings.vietnameseVariant = o.vietnameseVariant == 1 ? 1 : 2;
}

Translator TranslatorFor(int language) {
    switch (language) {
    case 1: return TranslateArabic;
    case 3: return TranslateChinese;
    case 6: return TranslateFrench;
    case 7: return TranslateGerman;
    case 8: return TranslateItalian;
    case 9: return TranslateJapanese;
    case 10: return TranslateKorean;
    case 11: return TranslateRussian;
    case 12: return TranslateSpanish;
    case 13: return g_settings.vietnameseVariant == 1 ? TranslateVietnamese1 : TranslateVietnamese2;
    case 16: return TranslateCzech;
    case 17: return TranslatePolish;
    case 18: return TranslateNorwegian;
    default: return TranslateEnglish;  // 0, 2, 4, 5, 14, 15 and unknown codes
    }
}

// Chinese, Korean and Norwegian lay out their own lines; their output is only padded.
static bool Wraps(int language) { return language != 3 && language != 10 && language != 18; }

}  // namespace kotari

extern "C" KOTARI_EXPORT int32_t BrailleTranslator(uint16_t *text, uint8_t *out, const TranslatorOptions *options) {
    using namespace kotari;
    uint8_t cells[kCellBufferSize];
    std::memset(cells, 0, sizeof cells);
    static const char16_t kEmpty[1] = {0};
    TranslatorOptions defaults{};
    defaults.language = 5;
    const TranslatorOptions &o = options ? *options : defaults;
    ApplyOptions(o);
    char16_t *input = text ? reinterpret_cast<char16_t *>(text) : const_cast<char16_t *>(kEmpty);
    int n = TranslatorFor(o.language)(input, cells);
    if (n < 0) n = 0;
    if (n > kCellBufferSize) n = kCellBufferSize;
    return packCells(out, cells, n, Wraps(o.language));
}
