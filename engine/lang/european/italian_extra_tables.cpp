// Italian extra table: accented vowels with macron and breve, Greek letters,
// phonetic symbols, vulgar fractions, Roman numerals and operators, looked up
// after the main table. The rows are kept in data/italian_extra.tsv.
#include "lang/european/italian_tables.h"

namespace kotari {

constexpr CharEntry kItalianExtra[] = {
#include "italian_extra.inc"
};
const int kItalianExtraCount = CountOf(kItalianExtra);
static_assert(IsSortedByChar(kItalianExtra, kItalianExtraCount), "sorted by code point");

}  // namespace kotari
