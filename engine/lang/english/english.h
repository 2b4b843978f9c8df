// English translator (Unified English Braille, grade 1 and grade 2).
//
// TranslateEnglish (engine/core/engine.h) is the language entry. The functions
// below are what other translators use for runs of Latin text inside their own
// text: the Korean translator hands each Latin run to TranslateRun between its
// Roman indicators, tells accented Latin letters with AccentClassOf, and asks
// IsComputerText whether a run is a web or e-mail address.
#pragma once

#include <cstdint>

#include "core/cell_writer.h"

namespace kotari {
namespace english {

// Accent class (0-13) of an accented Latin letter, 14 for any other character.
int AccentClassOf(char16_t ch);

// True when `run` (the `length` units from the current position up to the next
// space or the end) is a web address or an e-mail address: it starts with
// "www.", "http://" or "https://" (any case) and holds a '.' followed by two to
// four characters up to its end, or it holds an '@' with such a '.' after it.
bool IsComputerText(const char16_t *run, int length);

// Translates the `length` units at `text` as English, using the English grade,
// lower-case input and computer-text settings of g_settings, into `out`,
// committing after each word, number, symbol and blank; a full writer ends the
// run on the last whole one. Returns the number of cells committed. The text is
// rewritten in place like TranslateEnglish does (lower-casing, a right single
// quote between letters made an apostrophe). The run ends at
// `length` or at an earlier NUL; the characters beyond it are not looked at.
//
// insideKorean: the run is Latin text embedded in Korean text. Its first word
// is then looked up in the first-word list, which spells out the wordsigns that
// Korean braille would misread (for example "but" is written as three letters).
// The flag applies to this call only; plain English translations never see it.
int TranslateRun(char16_t *text, int length, CellWriter &out, bool insideKorean);

}  // namespace english
}  // namespace kotari
