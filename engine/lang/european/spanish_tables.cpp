// Spanish letter and separator cells.
#include "lang/european/spanish_tables.h"

namespace kotari {
namespace spanish {

// à á â ã ä å æ ç è é ê ë ì í î ï ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ. Letters of
// other languages use the cells of the common European braille codes; ã õ å
// ø ð þ ÿ, which have none, take the cell of their base letter.
const uint8_t kLatin1Letters[32] = {
    0x37, 0x37, 0x21, 0x01, 0x1C, 0x01, 0x1C, 0x2F,  // à á â ã ä å æ ç
    0x3F, 0x2E, 0x23, 0x2B, 0x0C, 0x0C, 0x29, 0x3B,  // è é ê ë ì í î ï
    0x19, 0x3B, 0x2A, 0x2C, 0x39, 0x15, 0x2A, 0x00,  // ð ñ ò ó ô õ ö ÷
    0x15, 0x3E, 0x3E, 0x31, 0x33, 0x3D, 0x1E, 0x3D,  // ø ù ú û ü ý þ ÿ
};

constexpr SeparatorRecord kSeparators[kSeparatorCount] = {
    {u'\t', {0x00}, 1},
    {u'\n', {0x00}, 1},
    {u'\v', {0x00}, 1},
    {u'\f', {0x00}, 1},
    {u'\r', {0x00}, 1},
    {u' ', {0x00}, 1},
    {u'!', {0x16}, 1},
    {u'"', {0x30}, 1},
    {u'#', {0x3C}, 1},
    {u'$', {0x38, 0x0E}, 2},
    {u'%', {0x38, 0x34}, 2},
    {u'&', {0x2F}, 1},
    {u'\'', {0x04}, 1},
    {u'(', {0x23}, 1},
    {u')', {0x1C}, 1},
    {u'*', {0x32}, 1},
    {u'+', {0x16}, 1},
    {u',', {0x02}, 1},
    {u'-', {0x24}, 1},
    {u'.', {0x04}, 1},
    {u'/', {0x20, 0x02}, 2},
    {u':', {0x12}, 1},
    {u';', {0x06}, 1},
    {u'<', {0x26}, 1},
    {u'=', {0x36}, 1},
    {u'>', {0x34}, 1},
    {u'?', {0x22}, 1},
    {u'@', {0x10}, 1},
    {u'[', {0x10, 0x37}, 2},
    {u'\\', {0x04, 0x10}, 2},
    {u']', {0x3E, 0x02}, 2},
    {u'^', {0x18}, 1},
    {u'_', {0x20}, 1},
    {u'{', {0x10, 0x38}, 2},
    {u'|', {0x38}, 1},
    {u'}', {0x38, 0x02}, 2},
    {u'\u00A0', {0x00}, 1},              // no-break space
    {u'\u00A1', {0x16}, 1},              // ¡
    {u'\u00A2', {0x18, 0x09}, 2},        // ¢
    {u'\u00A3', {0x10, 0x2E}, 2},        // £
    {u'\u00A5', {0x18, 0x3D}, 2},        // ¥
    {u'\u00A9', {0x04, 0x33}, 2},        // ©
    {u'\u00AA', {0x20, 0x36}, 2},        // ª
    {u'\u00AB', {0x30}, 1},              // «
    {u'\u00AD', {0x24}, 1},              // soft hyphen
    {u'\u00AE', {0x04, 0x33}, 2},        // ®
    {u'\u00B0', {0x20, 0x1B}, 2},        // °
    {u'\u00B7', {0x10}, 1},              // ·
    {u'\u00BA', {0x20, 0x1B}, 2},        // º
    {u'\u00BB', {0x30}, 1},              // »
    {u'\u00BC', {0x3E, 0x02, 0x19}, 3},  // ¼
    {u'\u00BD', {0x3E, 0x02, 0x03}, 3},  // ½
    {u'\u00BE', {0x3E, 0x12, 0x19}, 3},  // ¾
    {u'\u00BF', {0x22}, 1},              // ¿
    {u'\u00D7', {0x26}, 1},              // ×
    {u'\u00F7', {0x32}, 1},              // ÷
    {u'\u2013', {0x24}, 1},              // en dash
    {u'\u2014', {0x24, 0x24}, 2},        // em dash
    {u'\u2018', {0x04}, 1},              // ‘
    {u'\u2019', {0x04}, 1},              // ’
    {u'\u201C', {0x30}, 1},              // “
    {u'\u201D', {0x30}, 1},              // ”
    {u'\u2026', {0x04, 0x04, 0x04}, 3},  // …
    {u'\u20AC', {0x38, 0x11}, 2},        // €
};

static_assert(IsSortedByChar(kSeparators, kSeparatorCount), "Spanish separators must be sorted by character for bisection");

}  // namespace spanish
}  // namespace kotari
