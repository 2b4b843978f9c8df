// Italian extra tables: accented vowels with macron and breve, Greek letters,
// phonetic symbols, vulgar fractions, Roman numerals and operators.
#include "lang/european/italian_tables.h"

// Table data, laid out by hand; the rows of the larger tables are kept in data/<name>.tsv
// and written out at build time as <name>.inc (kotari_table_rows in engine/CMakeLists.txt).
// clang-format off
namespace kotari {

// Vowels with macron (dot 4 first) and breve (dot 5 first).
constexpr CharEntry kItalianAccents[] = {
#include "italian_accents.inc"
};
static_assert(IsSortedByChar(kItalianAccents, sizeof kItalianAccents / sizeof kItalianAccents[0]), "sorted by code point");

// Greek letters: dots 4-5 and the Latin letter of the same sound (capitals take the capital sign).
constexpr CharEntry kItalianGreek[] = {
#include "italian_greek.inc"
};
static_assert(IsSortedByChar(kItalianGreek, sizeof kItalianGreek / sizeof kItalianGreek[0]), "sorted by code point");

// Phonetic symbols: dots 4-5-6 and the nearest letter; length mark and stress marks.
constexpr CharEntry kItalianIpa[] = {
#include "italian_ipa.inc"
};
static_assert(IsSortedByChar(kItalianIpa, sizeof kItalianIpa / sizeof kItalianIpa[0]), "sorted by code point");

// Vulgar fractions as ¼ ½ ¾ are written: dot 6, the raised numerator, dots 3-4, the raised denominator.
constexpr CharEntry kItalianFractions[] = {
#include "italian_fractions.inc"
};
static_assert(IsSortedByChar(kItalianFractions, sizeof kItalianFractions / sizeof kItalianFractions[0]), "sorted by code point");

// Roman numerals written with letters; the capital forms carry the capital sign (doubled for more than one letter).
constexpr CharEntry kItalianRoman[] = {
#include "italian_roman.inc"
};
static_assert(IsSortedByChar(kItalianRoman, sizeof kItalianRoman / sizeof kItalianRoman[0]), "sorted by code point");

// Mathematical operators.
constexpr CharEntry kItalianOperators[] = {
#include "italian_operators.inc"
};
static_assert(IsSortedByChar(kItalianOperators, sizeof kItalianOperators / sizeof kItalianOperators[0]), "sorted by code point");

const ItalianTable kItalianExtraTables[kItalianExtraTableCount] = {
    {kItalianAccents, sizeof kItalianAccents / sizeof kItalianAccents[0]},
    {kItalianGreek, sizeof kItalianGreek / sizeof kItalianGreek[0]},
    {kItalianIpa, sizeof kItalianIpa / sizeof kItalianIpa[0]},
    {kItalianFractions, sizeof kItalianFractions / sizeof kItalianFractions[0]},
    {kItalianRoman, sizeof kItalianRoman / sizeof kItalianRoman[0]},
    {kItalianOperators, sizeof kItalianOperators / sizeof kItalianOperators[0]},
};

}  // namespace kotari
