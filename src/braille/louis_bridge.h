// liblouis bridge: binds liblouis at run time and translates a braille job's
// text with the table the catalogue chooses, laid out into braille lines.
#pragma once

#include <string>

#include "device/display_job.h"

namespace velumi {

constexpr char kLouisTableDir[] = "/usr/share/liblouis/tables";

// 0, 4 (library missing) or 5 (no lou_translate). Sets LOUIS_TABLEPATH.
int LoadLiblouisLibrary(int lineWidth, int language);
int FreeLouisLibrary();
bool LouisBound();
void LouisSetLanguage(int language);
void LouisSetGrade(int grade);
int LouisLanguage();
int LouisGrade();

// Translates into job.cells laid out in lines of `width` cells (words kept
// whole where they fit). 0; 6 when liblouis is not bound; 64 when liblouis
// fails; 10 (no braille line) when width is below 1.
int Liblouis_BrailleTranslator(DisplayJob &job, const char16_t *text, int width);

// Tests: the library to load instead of liblouis.so.20.
void SetLouisLibraryName(const std::string &name);

}  // namespace velumi
