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
    case KOTARI_LANGUAGE_ARABIC: return TranslateArabic;
    case KOTARI_LANGUAGE_CHINESE_SIMPLIFIED: return TranslateChinese;
    case KOTARI_LANGUAGE_FRENCH: return TranslateFrench;
    case KOTARI_LANGUAGE_GERMAN: return TranslateGerman;
    case KOTARI_LANGUAGE_ITALIAN: return TranslateItalian;
    case KOTARI_LANGUAGE_JAPANESE: return TranslateJapanese;
    case KOTARI_LANGUAGE_KOREAN: return TranslateKorean;
    case KOTARI_LANGUAGE_RUSSIAN: return TranslateRussian;
    case KOTARI_LANGUAGE_SPANISH: return TranslateSpanish;
    case KOTARI_LANGUAGE_VIETNAMESE:
        return g_settings.vietnameseVariant == 1 ? TranslateVietnamese1 : TranslateVietnamese2;
    case KOTARI_LANGUAGE_CZECH: return TranslateCzech;
    case KOTARI_LANGUAGE_POLISH: return TranslatePolish;
    case KOTARI_LANGUAGE_NORWEGIAN: return TranslateNorwegian;
    default: return TranslateEnglish;  // NONE, Chinese traditional, Dutch, English, Bulgarian, Portuguese, unknown
    }
}

// Chinese, Korean and Norwegian lay out their own lines; their output is only padded.
bool LaysOutOwnLines(int language) {
    return language == KOTARI_LANGUAGE_CHINESE_SIMPLIFIED || language == KOTARI_LANGUAGE_KOREAN ||
           language == KOTARI_LANGUAGE_NORWEGIAN;
}

}  // namespace kotari

extern "C" KOTARI_EXPORT int32_t BrailleTranslator(uint16_t *text, uint8_t *out, const TranslatorOptions *options) {
    using namespace kotari;
    uint8_t cells[kCellBufferSize];
    std::memset(cells, 0, sizeof cells);
    static const char16_t kEmpty[1] = {0};
    TranslatorOptions defaults{};
    defaults.language = KOTARI_LANGUAGE_ENGLISH;
    const TranslatorOptions &o = options ? *options : defaults;
    ApplyOptions(o);
    char16_t *input = text ? reinterpret_cast<char16_t *>(text) : const_cast<char16_t *>(kEmpty);
    int n = TranslatorFor(o.language)(input, cells);
    if (n < 0) n = 0;
    if (n > kCellBufferSize) n = kCellBufferSize;
    return packCells(out, cells, n, !LaysOutOwnLines(o.language));
}
