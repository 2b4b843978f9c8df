// Engine-internal interface: settings shared by all translators, the translator
// signature, line packing and the per-language entry points.
//
// The rest of the core, for translators:
//   core/cells.h        the a-z and digit cells, character classes, surrogates, sorted-table lookup
//   core/text_cursor.h  whole characters of NUL-terminated UTF-16 (surrogate pairs, lone surrogates)
//   core/cell_writer.h  the bounded writer that commits whole characters
//   core/line_layout.h  word wrap into lines, with markers for units that stay together
#pragma once

#include <cstddef>
#include <cstdint>

#include "KotariEngine.h"

namespace kotari {

constexpr int kCellBufferSize = KOTARI_CELL_BUFFER_SIZE;

// Engine-wide settings, rewritten from TranslatorOptions at the start of every call.
struct EngineSettings {
    int englishGrade = 2;  // 1 or 2
    bool lowercaseInput = false;
    bool markComputerText = true;
    int lineWidth = kCellBufferSize;  // lineCells, <= 0 replaced by 6144
    int rawLineCellsKorean = 0;  // lineCells as given, for the Korean layout
    int rawLineCellsNorwegian = 0;  // lineCells as given, for the Norwegian layout
    int chineseMode = 1;  // 1, 2 or 3
    int frenchGrade = 1;  // 1 or 2
    int germanGrade = 2;  // 1 or 2
    int vietnameseVariant = 2;  // 1 or 2
};

extern EngineSettings g_settings;

// What an application passes for `language` with the usual settings (uncontracted
// English and French, contracted German, Chinese mode 1, the second Vietnamese rule
// set, computer text marked), for tools, benchmarks and tests.
inline TranslatorOptions DefaultOptions(int language, int lineCells = 0) {
    TranslatorOptions o{};
    o.language = language;
    o.englishGrade = 1;
    o.markComputerText = 1;
    o.lineCells = lineCells;
    o.chineseMode = 1;
    o.frenchGrade = 1;
    o.germanGrade = 2;
    o.vietnameseVariant = 2;
    return o;
}

// Copies the options into g_settings as the option table prescribes.
void ApplyOptions(const TranslatorOptions &options);

// Every translator takes the NUL-terminated text (which it may rewrite) and the
// zeroed 6144-cell work buffer, and returns the number of cells it wrote.
using Translator = int (*)(char16_t *text, uint8_t *cells);

// Word-wraps (wrap = true) or copies `n` cells into `out` and pads to a whole
// number of lines of g_settings.lineWidth. Returns the cells written.
int packCells(uint8_t *out, const uint8_t *cells, int n, bool wrap);

// Translator for a language code (a KotariLanguage; unknown codes give English).
Translator TranslatorFor(int language);

// True for the languages whose translators lay out their own lines (Chinese,
// Korean, Norwegian): packing then only pads their cells to whole lines.
bool LaysOutOwnLines(int language);

// Per-language entry points (engine/lang/<language>).
int TranslateEnglish(char16_t *text, uint8_t *cells);
int TranslateKorean(char16_t *text, uint8_t *cells);
int TranslateFrench(char16_t *text, uint8_t *cells);
int TranslateGerman(char16_t *text, uint8_t *cells);
int TranslateItalian(char16_t *text, uint8_t *cells);
int TranslateSpanish(char16_t *text, uint8_t *cells);
int TranslateRussian(char16_t *text, uint8_t *cells);
int TranslateCzech(char16_t *text, uint8_t *cells);
int TranslatePolish(char16_t *text, uint8_t *cells);
int TranslateNorwegian(char16_t *text, uint8_t *cells);
int TranslateArabic(char16_t *text, uint8_t *cells);
int TranslateChinese(char16_t *text, uint8_t *cells);
int TranslateVietnamese1(char16_t *text, uint8_t *cells);
int TranslateVietnamese2(char16_t *text, uint8_t *cells);
int TranslateJapanese(char16_t *text, uint8_t *cells);

}  // namespace kotari
