// English translator (placeholder: letters and blanks only, until the full rules land).
#include "core/engine.h"

namespace kotari {

int TranslateEnglish(char16_t *text, uint8_t *cells) {
    static const uint8_t kLetters[26] = {0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
                                         0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35};
    int n = 0;
    for (int i = 0; text[i] && n < kCellBufferSize; ++i) {
        char16_t ch = text[i];
        if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
        cells[n++] = (ch >= u'a' && ch <= u'z') ? kLetters[ch - u'a'] : 0;
    }
    return n;
}

}  // namespace kotari
