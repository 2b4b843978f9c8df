// Placeholder until this language's translator lands: routed through English.
#include "core/engine.h"

namespace kotari {

int TranslateRussian(char16_t *text, uint8_t *cells) { return TranslateEnglish(text, cells); }

}  // namespace kotari
