// Engine bridge: the Kotari engine, bound at run time, as one Translator
// (translator.h); the names init, de-init and the tests use.
#pragma once

#include <string>

#include "KotariEngine.h"
#include "braille/translator.h"

namespace velumi {

// Binds the engine (beside the SDK first, then the system search) and, when it
// was not bound, fills the option record; 0, 4 (not found) or 5 (no BrailleTranslator).
int LoadKotariLibrary(int lineWidth, int language);
int FreeKotariLibrary();
bool KotariBound();
// Follows the braille line of the selected model (under the shared lock: the
// receive thread calls it when the pad names its model).
void KotariSetLineCells(int cells);
// The option record (a copy).
TranslatorOptions KotariOptions();

// Tests and tools: the exact library file to load instead of the search.
void SetKotariLibraryPath(const std::string &path);

}  // namespace velumi
