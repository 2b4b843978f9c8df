// The Czech character table: 160 records of a character, its cells and flags,
// searched in order. Czech and Slovak letters, digits, punctuation and symbols.
#include "lang/european/czech_tables.h"

// Table data, laid out by hand or by its generator.
// clang-format off
namespace kotari {
namespace czech {

const CharRecord kCharTable[kCharTableSize] = {
    {0x0041, {0x01}, 1, 0x0004},  // latin capital letter a
    {0x0042, {0x03}, 1, 0x0004},  // latin capital letter b
    {0x0043, {0x09}, 1, 0x0004},  // latin capital letter c
    {0x0044, {0x19}, 1, 0x0004},  // latin capital letter d
    {0x0045, {0x11}, 1, 0x0004},  // latin capital letter e
    {0x0046, {0x0B}, 1, 0x0004},  // latin capital letter f
    {0x0047, {0x1B}, 1, 0x0004},  // latin capital letter g
    {0x0048, {0x13}, 1, 0x0004},  // latin capital letter h
    {0x0049, {0x0A}, 1, 0x0004},  // latin capital letter i
    {0x004A, {0x1A}, 1, 0x0004},  // latin capital letter j
    {0x004B, {0x05}, 1, 0x0004},  // latin capital letter k
    {0x004C, {0x07}, 1, 0x0004},  // latin capital letter l
    {0x004D, {0x0D}, 1, 0x0004},  // latin capital letter m
    {0x004E, {0x1D}, 1, 0x0004},  // latin capital letter n
    {0x004F, {0x15}, 1, 0x0004},  // latin capital letter o
    {0x0050, {0x0F}, 1, 0x0004},  // latin capital letter p
    {0x0051, {0x1F}, 1, 0x0004},  // latin capital letter q
    {0x0052, {0x17}, 1, 0x0004},  // latin capital letter r
    {0x0053, {0x0E}, 1, 0x0004},  // latin capital letter s
    {0x0054, {0x1E}, 1, 0x0004},  // latin capital letter t
    {0x0055, {0x25}, 1, 0x0004},  // latin capital letter u
    {0x0056, {0x27}, 1, 0x0004},  // latin capital letter v
    {0x0057, {0x37}, 1, 0x0004},  // latin capital letter w
    {0x0058, {0x2D}, 1, 0x0004},  // latin capital letter x
    {0x0059, {0x3D}, 1, 0x0004},  // latin capital letter y
    {0x005A, {0x35}, 1, 0x0004},  // latin capital letter z
    {0x00C1, {0x21}, 1, 0x0004},  // latin capital letter a with acute
    {0x010C, {0x29}, 1, 0x0004},  // latin capital letter c with caron
    {0x010E, {0x39}, 1, 0x0004},  // latin capital letter d with caron
    {0x00C9, {0x1C}, 1, 0x0004},  // latin capital letter e with acute
    {0x011A, {0x23}, 1, 0x0004},  // latin capital letter e with caron
    {0x00CD, {0x0C}, 1, 0x0004},  // latin capital letter i with acute
    {0x0147, {0x2B}, 1, 0x0004},  // latin capital letter n with caron
    {0x00D3, {0x2A}, 1, 0x0004},  // latin capital letter o with acute
    {0x0158, {0x3A}, 1, 0x0004},  // latin capital letter r with caron
    {0x0160, {0x31}, 1, 0x0004},  // latin capital letter s with caron
    {0x0164, {0x33}, 1, 0x0004},  // latin capital letter t with caron
    {0x00DA, {0x2C}, 1, 0x0004},  // latin capital letter u with acute
    {0x016E, {0x3E}, 1, 0x0004},  // latin capital letter u with ring above
    {0x00DD, {0x2F}, 1, 0x0004},  // latin capital letter y with acute
    {0x017D, {0x2E}, 1, 0x0004},  // latin capital letter z with caron
    {0x00D6, {0x15, 0x11}, 2, 0x0004},  // latin capital letter o with diaeresis
    {0x00DC, {0x25, 0x11}, 2, 0x0004},  // latin capital letter u with diaeresis
    {0x0061, {0x01}, 1, 0x1008},  // latin small letter a
    {0x0062, {0x03}, 1, 0x1008},  // latin small letter b
    {0x0063, {0x09}, 1, 0x1008},  // latin small letter c
    {0x0064, {0x19}, 1, 0x1008},  // latin small letter d
    {0x0065, {0x11}, 1, 0x1008},  // latin small letter e
    {0x0066, {0x0B}, 1, 0x1008},  // latin small letter f
    {0x0067, {0x1B}, 1, 0x1008},  // latin small letter g
    {0x0068, {0x13}, 1, 0x1008},  // latin small letter h
    {0x0069, {0x0A}, 1, 0x1008},  // latin small letter i
    {0x006A, {0x1A}, 1, 0x1008},  // latin small letter j
    {0x006B, {0x05}, 1, 0x0008},  // latin small letter k
    {0x006C, {0x07}, 1, 0x0008},  // latin small letter l
    {0x006D, {0x0D}, 1, 0x0008},  // latin small letter m
    {0x006E, {0x1D}, 1, 0x0008},  // latin small letter n
    {0x006F, {0x15}, 1, 0x0008},  // latin small letter o
    {0x0070, {0x0F}, 1, 0x0008},  // latin small letter p
    {0x0071, {0x1F}, 1, 0x0008},  // latin small letter q
    {0x0072, {0x17}, 1, 0x0008},  // latin small letter r
    {0x0073, {0x0E}, 1, 0x0008},  // latin small letter s
    {0x0074, {0x1E}, 1, 0x0008},  // latin small letter t
    {0x0075, {0x25}, 1, 0x0008},  // latin small letter u
    {0x0076, {0x27}, 1, 0x0008},  // latin small letter v
    {0x0077, {0x37}, 1, 0x0008},  // latin small letter w
    {0x0078, {0x2D}, 1, 0x0008},  // latin small letter x
    {0x0079, {0x3D}, 1, 0x0008},  // latin small letter y
    {0x007A, {0x35}, 1, 0x0008},  // latin small letter z
    {0x00E1, {0x21}, 1, 0x0008},  // latin small letter a with acute
    {0x010D, {0x29}, 1, 0x0008},  // latin small letter c with caron
    {0x010F, {0x39}, 1, 0x0008},  // latin small letter d with caron
    {0x00E9, {0x1C}, 1, 0x0008},  // latin small letter e with acute
    {0x011B, {0x23}, 1, 0x0008},  // latin small letter e with caron
    {0x00ED, {0x0C}, 1, 0x0008},  // latin small letter i with acute
    {0x0148, {0x2B}, 1, 0x0008},  // latin small letter n with caron
    {0x00F3, {0x2A}, 1, 0x0008},  // latin small letter o with acute
    {0x0159, {0x3A}, 1, 0x0008},  // latin small letter r with caron
    {0x0161, {0x31}, 1, 0x0008},  // latin small letter s with caron
    {0x0165, {0x33}, 1, 0x0008},  // latin small letter t with caron
    {0x00FA, {0x2C}, 1, 0x0008},  // latin small letter u with acute
    {0x016F, {0x3E}, 1, 0x0008},  // latin small letter u with ring above
    {0x00FD, {0x2F}, 1, 0x0008},  // latin small letter y with acute
    {0x017E, {0x2E}, 1, 0x0008},  // latin small letter z with caron
    {0x00F6, {0x15, 0x11}, 2, 0x0008},  // latin small letter o with diaeresis
    {0x00FC, {0x25, 0x11}, 2, 0x0008},  // latin small letter u with diaeresis
    {0x0030, {0x1A}, 1, 0x0002},  // digit zero
    {0x0031, {0x01}, 1, 0x0002},  // digit one
    {0x0032, {0x03}, 1, 0x0002},  // digit two
    {0x0033, {0x09}, 1, 0x0002},  // digit three
    {0x0034, {0x19}, 1, 0x0002},  // digit four
    {0x0035, {0x11}, 1, 0x0002},  // digit five
    {0x0036, {0x0B}, 1, 0x0002},  // digit six
    {0x0037, {0x1B}, 1, 0x0002},  // digit seven
    {0x0038, {0x13}, 1, 0x0002},  // digit eight
    {0x0039, {0x0A}, 1, 0x0002},  // digit nine
    {0x00B9, {0x01}, 1, 0x0002},  // superscript one
    {0x00B2, {0x03}, 1, 0x0002},  // superscript two
    {0x00B3, {0x09}, 1, 0x0002},  // superscript three
    {0x002C, {0x02}, 1, 0x0830},  // comma
    {0x002E, {0x04}, 1, 0x0830},  // full stop
    {0x003A, {0x12}, 1, 0x0030},  // colon
    {0x003B, {0x06}, 1, 0x0030},  // semicolon
    {0x003F, {0x22}, 1, 0x0030},  // question mark
    {0x0021, {0x16}, 1, 0x0030},  // exclamation mark
    {0x0022, {0x36}, 1, 0x0030},  // quotation mark
    {0x201E, {0x36}, 1, 0x0030},  // double low-9 quotation mark
    {0x201C, {0x36}, 1, 0x0030},  // left double quotation mark
    {0x201D, {0x36}, 1, 0x0030},  // right double quotation mark
    {0x0027, {0x08}, 1, 0x0030},  // apostrophe
    {0x00B4, {0x08}, 1, 0x0030},  // acute accent
    {0x0028, {0x26}, 1, 0x0030},  // left parenthesis
    {0x0029, {0x34}, 1, 0x0030},  // right parenthesis
    {0x002F, {0x3B}, 1, 0x0030},  // solidus
    {0x007C, {0x38}, 1, 0x0030},  // vertical line
    {0x002D, {0x24}, 1, 0x0030},  // hyphen-minus
    {0x2013, {0x24}, 1, 0x0030},  // en dash
    {0x2014, {0x24}, 1, 0x0030},  // em dash
    {0x005F, {0x24}, 1, 0x0150},  // low line
    {0x002B, {0x32}, 1, 0x0010},  // plus sign
    {0x003C, {0x23}, 1, 0x0010},  // less-than sign
    {0x003E, {0x1C}, 1, 0x0010},  // greater-than sign
    {0x003D, {0x36}, 1, 0x0010},  // equals sign
    {0x002A, {0x14}, 1, 0x0010},  // asterisk
    {0x0023, {0x3C}, 1, 0x0010},  // number sign
    {0x0026, {0x2F}, 1, 0x00D0},  // ampersand
    {0x0040, {0x3B}, 1, 0x00D0},  // commercial at
    {0x005E, {0x0C}, 1, 0x0010},  // circumflex accent
    {0x2022, {0x14}, 1, 0x0010},  // bullet
    {0x005B, {0x26}, 1, 0x0170},  // left square bracket
    {0x005D, {0x34}, 1, 0x0170},  // right square bracket
    {0x007E, {0x10}, 1, 0x0150},  // tilde
    {0x0060, {0x08}, 1, 0x0270},  // grave accent
    {0x007B, {0x26}, 1, 0x0470},  // left curly bracket
    {0x007D, {0x34}, 1, 0x0470},  // right curly bracket
    {0x005C, {0x33}, 1, 0x00F0},  // reverse solidus
    {0x00B0, {0x0E}, 1, 0x00D0},  // degree sign
    {0x0025, {0x0F}, 1, 0x00D0},  // percent sign
    {0x2030, {0x17}, 1, 0x00D0},  // per mille sign
    {0x0024, {0x2B}, 1, 0x00D0},  // dollar sign
    {0x20AC, {0x22}, 1, 0x00D0},  // euro sign
    {0x00A7, {0x2C}, 1, 0x00D0},  // section sign
    {0x2026, {0x04, 0x04, 0x04}, 3, 0x0030},  // horizontal ellipsis
    {0x00A3, {0x07, 0x0A, 0x03, 0x17, 0x01}, 5, 0x0010},  // pound sign
    {0x0020, {0x00}, 1, 0x0001},  // space
    {0x00A0, {0x00}, 1, 0x0001},  // no-break space
    {0x0009, {0x00}, 1, 0x0001},  // 
    {0x000B, {0x00}, 1, 0x0001},  // 
    {0x000A, {0x00}, 1, 0x0001},  // 
    {0x000D, {0x00}, 1, 0x0001},  // 
    {0x00C4, {0x08}, 1, 0x0004},  // latin capital letter a with diaeresis
    {0x0139, {0x28}, 1, 0x0004},  // latin capital letter l with acute
    {0x013D, {0x38}, 1, 0x0004},  // latin capital letter l with caron
    {0x00D4, {0x3E}, 1, 0x0004},  // latin capital letter o with circumflex
    {0x0154, {0x37}, 1, 0x0004},  // latin capital letter r with acute
    {0x00E4, {0x08}, 1, 0x0008},  // latin small letter a with diaeresis
    {0x013A, {0x28}, 1, 0x0008},  // latin small letter l with acute
    {0x013E, {0x38}, 1, 0x0008},  // latin small letter l with caron
    {0x00F4, {0x3E}, 1, 0x0008},  // latin small letter o with circumflex
    {0x0155, {0x37}, 1, 0x0008},  // latin small letter r with acute
};

}  // namespace czech
}  // namespace kotari
