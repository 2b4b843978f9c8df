// Japanese translator entry: input conversion and normalisation, the
// analysis into the intermediate stream, and the emission of the cells.
#include <cstring>

#include "core/engine.h"
#include "lang/japanese/jp_internal.h"

namespace kotari {

int TranslateJapanese(char16_t *text, uint8_t *cells) {
    using namespace jp;
    int units = 0;
    if (g_diagnostics) {
        for (; text[units]; ++units) JP_LOG("%04x ", static_cast<unsigned>(text[units]));
        JP_LOG("input16Length %d\n", units);
    }
    char utf8[kTextBytes];
    int len = Utf16ToUtf8(text, utf8, kTextBytes);
    JP_LOG("UTF8len:%d\n", len);

    NormaliseInput(utf8);

    char stream[kStreamBytes];
    int streamLen = jpanalyzer(utf8, stream, kStreamBytes);
    JP_LOG("analysis ret:%s\n", stream);
    if (streamLen <= 0) return 0;
    return EmitCells(stream, streamLen, cells, kMaxCells);
}

}  // namespace kotari
