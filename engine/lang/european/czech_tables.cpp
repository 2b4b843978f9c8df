// The Czech character table: 160 records of a character, its cells and flags,
// searched in order. Czech and Slovak letters, digits, punctuation and symbols.
#include "lang/european/czech_tables.h"

// Table data, laid out by hand; the rows of the larger tables are kept in data/<name>.tsv
// and written out at build time as <name>.inc (kotari_table_rows in engine/CMakeLists.txt).
// clang-format off
namespace kotari {
namespace czech {

const CharRecord kCharTable[kCharTableSize] = {
#include "czech_chars.inc"
};

}  // namespace czech
}  // namespace kotari
