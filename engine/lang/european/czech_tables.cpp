// The Czech character table: 160 records of a character, its cells and flags,
// searched in order. Czech and Slovak letters, digits, punctuation and symbols.
// The rows are kept in data/czech_chars.tsv (kotari_table_rows).
#include "lang/european/czech_tables.h"

namespace kotari {
namespace czech {

const CharRecord kCharTable[kCharTableSize] = {
#include "czech_chars.inc"
};

}  // namespace czech
}  // namespace kotari
