// Placeholder until the Vietnamese translators land: routed through English.
#include "core/engine.h"

namespace kotari {

int TranslateVietnamese1(char16_t *text, uint8_t *cells) { return TranslateEnglish(text, cells); }
int TranslateVietnamese2(char16_t *text, uint8_t *cells) { return TranslateEnglish(text, cells); }

}  // namespace kotari
