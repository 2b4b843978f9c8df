// One reading in katakana for every kanji, for words the analyser's dictionary
// does not know (generated from Unihan by scripts/gen_kanji_readings.py).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kotari {
namespace jp {

struct KanjiReading {
    uint32_t code;
    uint32_t offset;  // into kKanjiReadingText, NUL-terminated
};
extern const char kKanjiReadingText[];
extern const KanjiReading kKanjiReadings[];  // sorted by code
extern const std::size_t kKanjiReadingCount;

// The reading of kanji cp, or nullptr when the table has none.
const char *KanjiReadingOf(uint32_t cp);

}  // namespace jp
}  // namespace kotari
