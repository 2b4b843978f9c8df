// Engine bridge: binds KotariEngine at run time, keeps the option record it is
// passed, and translates a braille job's text into the job's cells.
#pragma once

#include <string>

#include "KotariEngine.h"
#include "device/display_job.h"

namespace velumi {

// Loads the engine (beside the SDK first, then the system search) and fills the
// option record; 0, 4 (not found) or 5 (no BrailleTranslator).
int LoadKotariLibrary(int lineWidth, int language);
int FreeKotariLibrary();
bool KotariBound();

void KotariSetLanguage(int language);
// Writes value into the option field of the record's current language (none outside 0..18).
void KotariSetOption(int value);
// Follows the braille line of the selected model.
void KotariSetLineCells(int cells);
const TranslatorOptions &KotariOptions();

// Translates text into job.cells; 0, or 6 when the engine is not bound.
// The engine's packed result may be longer than the job's cell area: what the
// job stores is cut to whole lines within it.
int Kotari_BrailleTranslator(DisplayJob &job, const char16_t *text, int dumpRowWidth);

// Tests and tools: the exact library file to load instead of the search.
void SetKotariLibraryPath(const std::string &path);

// Logs "Input : ...", "Output" and rows of `rowWidth` cells (shared with the liblouis bridge).
void DumpTranslation(const char16_t *text, const uint8_t *cells, int count, int rowWidth);

}  // namespace velumi
