// Word lists of the English translator: words whose contraction the general
// rules get wrong, with their segmented forms (contracted groups between '/').
// scripts/english_lists.py writes the rows (data/english_shortforms.tsv and
// data/english_exceptions.tsv) from the word lists and liblouis en-ueb-g2.ctb,
// sorted by word, as the translator bisects them; the build turns them into
// initializer rows (kotari_table_rows).
#include "lang/english/english_tables.h"

// clang-format off
namespace kotari {
namespace english {

// Longer words that contain a shortform or a restricted wordsign.
constexpr WordRecord kShortformWordList[kShortformWordCount] = {
#include "english_shortforms.inc"
};

// Words that the general rules would contract wrongly.
constexpr WordRecord kExceptionWordList[kExceptionWordCount] = {
#include "english_exceptions.inc"
};

namespace {

constexpr bool Sorted(const WordRecord *list, int count) {
    for (int i = 1; i < count; ++i) {
        const char *a = list[i - 1].word, *b = list[i].word;
        int k = 0;
        while (a[k] && a[k] == b[k]) ++k;
        if (static_cast<unsigned char>(a[k]) >= static_cast<unsigned char>(b[k])) return false;
    }
    return true;
}
static_assert(Sorted(kShortformWordList, kShortformWordCount), "shortform list must be sorted");
static_assert(Sorted(kExceptionWordList, kExceptionWordCount), "exception list must be sorted");

}  // namespace
}  // namespace english
}  // namespace kotari
