// Spanish letter and separator cells.
#include "lang/european/spanish_tables.h"

// Table data, laid out by hand or by its generator.
// clang-format off
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
    {u'\t', 1, {0x00}},
    {u'\n', 1, {0x00}},
    {u'\v', 1, {0x00}},
    {u'\f', 1, {0x00}},
    {u'\r', 1, {0x00}},
    {u' ', 1, {0x00}},
    {u'!', 1, {0x16}},
    {u'"', 1, {0x30}},
    {u'#', 1, {0x3C}},
    {u'$', 2, {0x38, 0x0E}},
    {u'%', 2, {0x38, 0x34}},
    {u'&', 1, {0x2F}},
    {u'\'', 1, {0x04}},
    {u'(', 1, {0x23}},
    {u')', 1, {0x1C}},
    {u'*', 1, {0x32}},
    {u'+', 1, {0x16}},
    {u',', 1, {0x02}},
    {u'-', 1, {0x24}},
    {u'.', 1, {0x04}},
    {u'/', 2, {0x20, 0x02}},
    {u':', 1, {0x12}},
    {u';', 1, {0x06}},
    {u'<', 1, {0x26}},
    {u'=', 1, {0x36}},
    {u'>', 1, {0x34}},
    {u'?', 1, {0x22}},
    {u'@', 1, {0x10}},
    {u'[', 2, {0x10, 0x37}},
    {u'\\', 2, {0x04, 0x10}},
    {u']', 2, {0x3E, 0x02}},
    {u'^', 1, {0x18}},
    {u'_', 1, {0x20}},
    {u'{', 2, {0x10, 0x38}},
    {u'|', 1, {0x38}},
    {u'}', 2, {0x38, 0x02}},
    {u'\u00A0', 1, {0x00}},              // no-break space
    {u'\u00A1', 1, {0x16}},              // ¡
    {u'\u00A2', 2, {0x18, 0x09}},        // ¢
    {u'\u00A3', 2, {0x10, 0x2E}},        // £
    {u'\u00A5', 2, {0x18, 0x3D}},        // ¥
    {u'\u00A9', 2, {0x04, 0x33}},        // ©
    {u'\u00AA', 2, {0x20, 0x36}},        // ª
    {u'\u00AB', 1, {0x30}},              // «
    {u'\u00AD', 1, {0x24}},              // soft hyphen
    {u'\u00AE', 2, {0x04, 0x33}},        // ®
    {u'\u00B0', 2, {0x20, 0x1B}},        // °
    {u'\u00B7', 1, {0x10}},              // ·
    {u'\u00BA', 2, {0x20, 0x1B}},        // º
    {u'\u00BB', 1, {0x30}},              // »
    {u'\u00BC', 3, {0x3E, 0x02, 0x19}},  // ¼
    {u'\u00BD', 3, {0x3E, 0x02, 0x03}},  // ½
    {u'\u00BE', 3, {0x3E, 0x12, 0x19}},  // ¾
    {u'\u00BF', 1, {0x22}},              // ¿
    {u'\u00D7', 1, {0x26}},              // ×
    {u'\u00F7', 1, {0x32}},              // ÷
    {u'\u2013', 1, {0x24}},              // en dash
    {u'\u2014', 2, {0x24, 0x24}},        // em dash
    {u'\u2018', 1, {0x04}},              // ‘
    {u'\u2019', 1, {0x04}},              // ’
    {u'\u201C', 1, {0x30}},              // “
    {u'\u201D', 1, {0x30}},              // ”
    {u'\u2026', 3, {0x04, 0x04, 0x04}},  // …
    {u'\u20AC', 2, {0x38, 0x11}},        // €
};

static_assert(IsSortedByChar(kSeparators, kSeparatorCount), "Spanish separators must be sorted by character for bisection");

}  // namespace spanish
}  // namespace kotari
