// Spanish letter and separator cells.
#include "lang/european/spanish_tables.h"

// Table data, laid out by hand; the rows of the larger tables are kept in data/<name>.tsv
// and written out at build time as <name>.inc (kotari_table_rows in engine/CMakeLists.txt).
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
#include "spanish_separators.inc"
};

static_assert(IsSortedByChar(kSeparators, kSeparatorCount), "Spanish separators must be sorted by character for bisection");

}  // namespace spanish
}  // namespace kotari
