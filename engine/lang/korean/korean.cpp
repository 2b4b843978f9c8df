// Korean translator: Hangul syllables with the standard abbreviations, Hanja by
// their readings, Latin runs through the English translator between Roman
// indicators, numbers, punctuation, and a line layout that never splits a
// syllable over a line end.

#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/engine.h"
#include "core/line_layout.h"
#include "core/text_cursor.h"
#include "lang/english/english.h"
#include "lang/korean/korean_tables.h"

namespace kotari {
namespace korean {
namespace {

constexpr int kInputLimit = 2048;
// Every input unit may become a Hanja reading, so the work text never overflows.
constexpr int kWorkCapacity = kInputLimit * kMaxHanjaReading;
static_assert(kMaxHanjaReading >= 4, "a Roman numeral spelling must fit where a reading fits");

constexpr char16_t kSyllableFirst = 0xAC00;
constexpr char16_t kSyllableLast = kSyllableFirst + kInitialCount * kVowelCount * kFinalCount - 1;  // U+D7A3
constexpr uint8_t kRomanStart = 0x34;
constexpr uint8_t kRomanEnd = 0x32;
constexpr uint8_t kJamoSign = 0x3F;
constexpr uint8_t kSeparator = 0x24;

// Jamo numbers used by the rules (initial, vowel and final numbers within their
// group), taken from the conjoining jamo they stand for: the initials count from
// U+1100 ᄀ, the vowels from U+1161 ᅡ and the finals from U+11A7 (0: no final).
constexpr int InitialNumber(char16_t jamo) { return jamo - 0x1100; }
constexpr int VowelNumber(char16_t jamo) { return jamo - 0x1161; }
constexpr int FinalNumber(char16_t jamo) { return jamo - 0x11A7; }
enum : int {
    kInitialN = InitialNumber(u'ᄂ'),
    kInitialD = InitialNumber(u'ᄃ'),
    kInitialM = InitialNumber(u'ᄆ'),
    kInitialIeung = InitialNumber(u'ᄋ'),
    kInitialK = InitialNumber(u'ᄏ'),
    kInitialT = InitialNumber(u'ᄐ'),
    kInitialP = InitialNumber(u'ᄑ'),
    kInitialH = InitialNumber(u'ᄒ'),
};
enum : int {
    kVowelYa = VowelNumber(u'ᅣ'),
    kVowelWa = VowelNumber(u'ᅪ'),
    kVowelU = VowelNumber(u'ᅮ'),
    kVowelWo = VowelNumber(u'ᅯ')
};
enum : int { kFinalN = FinalNumber(u'ᆫ'), kFinalNj = FinalNumber(u'ᆬ'), kFinalNh = FinalNumber(u'ᆭ') };

// 셩 쎵 졍 쪙 쳥 are written in full: with the 영 abbreviation they would read as
// 성 썽 정 쩡 청, which take that cell after their initial.
inline bool IsYeongAfterSibilant(char16_t c) {
    return c == 0xC169 || c == 0xC3B5 || c == 0xC84D || c == 0xCA99 || c == 0xCCE5;
}
constexpr char16_t kSyllablePat = 0xD320;  // 팠: 19 0C would read as 폐
constexpr char16_t kSyllableGa = 0xAC00, kSyllableSa = 0xC0AC;  // their abbreviations are no consonants
constexpr char16_t kYeFirst = 0xC608, kYeLast = 0xC623;  // 예-옣
constexpr char16_t kAeFirst = 0xC560, kAeLast = 0xC57B;  // 애-앻

struct State {
    char16_t work[kWorkCapacity + 1];
    int length;
    uint8_t stream[kCellBufferSize];  // cells before line layout, each syllable marked as a unit
    CellWriter *out;
    UnitMarker syllables;
    bool quoteOpens;  // the next straight double quote opens
};

State s;

inline char16_t At(int k) { return (k >= 0 && k < s.length) ? s.work[k] : char16_t(0); }

inline void Put(uint8_t c) { s.out->put(c); }
inline void PutCells(const uint8_t *c, int n, uint8_t marker) {
    for (int i = 0; i < n; ++i) Put(static_cast<uint8_t>(c[i] | marker));
}

inline bool IsSyllable(char16_t c) { return c >= kSyllableFirst && c <= kSyllableLast; }
inline bool IsCompatJamo(char16_t c) { return c >= kCompatFirst && c <= kCompatLast; }
inline bool IsHangul(char16_t c) { return IsSyllable(c) || IsCompatJamo(c); }
inline bool IsDigit(char16_t c) { return IsAsciiDigit(c); }
inline bool IsCircled(char16_t c) { return c >= kCircledFirst && c <= kCircledLast; }
inline bool IsGreek(char16_t c) { return (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x3B1 && c <= 0x3C9); }
inline bool IsLatinLetter(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
    if (c < 0xC0) return false;
    return IsGreek(c) || english::AccentClassOf(c) != 14;
}

inline int Initial(char16_t c) { return (c - kSyllableFirst) / (kVowelCount * kFinalCount); }
inline int Vowel(char16_t c) { return (c - kSyllableFirst) % (kVowelCount * kFinalCount) / kFinalCount; }
inline int Final(char16_t c) { return (c - kSyllableFirst) % kFinalCount; }

// Punctuation class of a character (directly or through the variants), or -1.
int PunctuationClassOf(char16_t ch) {
    struct AsciiIndex {
        int8_t cls[128];
        AsciiIndex() {
            FirstAsciiRows(cls, kPunctuation, kPunctuationCount);
            for (const PunctuationVariant &v : kPunctuationVariants)
                if (v.ch < 128 && cls[v.ch] < 0) cls[v.ch] = static_cast<int8_t>(v.cls);
        }
    };
    static const AsciiIndex ascii;
    if (ch < 128) return ascii.cls[ch];
    if (ch < 0xA2) return -1;
    for (int i = 0; i < kPunctuationCount; ++i)
        if (kPunctuation[i].ch == ch) return i;
    for (const PunctuationVariant &v : kPunctuationVariants)
        if (v.ch == ch) return v.cls;
    return -1;
}

inline bool InClasses(int cls, int first, int last) { return cls >= first && cls <= last; }

// ---------------------------------------------------------------------------
// Preparation: Hanja become their readings, Roman numerals their Latin spelling.

const HanjaReading *FindHanja(char16_t ch) {
    if (!((ch >= 0x3400 && ch <= 0x9FFF) || (ch >= 0xF900 && ch <= 0xFAFF))) return nullptr;
    int lo = 0, hi = kHanjaReadingCount;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        const char16_t m = kHanjaReadings[mid].ch;
        if (m == ch) return &kHanjaReadings[mid];
        if (m < ch) lo = mid + 1;
        else hi = mid;
    }
    return nullptr;
}

const RomanNumeral *FindRoman(char16_t ch) {
    if (ch >= 0x2160 && ch <= 0x216B) return &kRomanNumerals[ch - 0x2160];
    if (ch >= 0x2170 && ch <= 0x217B) return &kRomanNumerals[12 + (ch - 0x2170)];
    return nullptr;
}

void Prepare(const char16_t *text) {
    int n = 0;
    for (int k = 0; k < kInputLimit && text[k] != 0; ++k) {
        const char16_t ch = text[k];
        if (const HanjaReading *h = FindHanja(ch)) {
            for (int i = 0; i < h->length; ++i) s.work[n++] = h->reading[i];
        } else if (const RomanNumeral *r = FindRoman(ch)) {
            for (int i = 0; i < r->length; ++i) s.work[n++] = static_cast<char16_t>(r->spelling[i]);
        } else {
            s.work[n++] = ch;
        }
    }
    s.work[n] = 0;
    s.length = n;
}

// ---------------------------------------------------------------------------
// Hangul

inline uint8_t TakeMarker() { return s.syllables.next(); }

inline void PutJamo(int number, uint8_t marker) {
    const JamoCells &j = kJamoCells[number];
    PutCells(j.cells, j.count, marker);
}

const SyllableRange *FindRange(const SyllableRange *rows, int n, char16_t ch) {
    for (int i = 0; i < n; ++i)
        if (ch >= rows[i].first && ch <= rows[i].last) return &rows[i];
    return nullptr;
}

// A word abbreviation that starts at k, or null.
const WordAbbreviation *WordAbbreviationAt(int k) {
    if (At(k) != u'그') return nullptr;
    for (const WordAbbreviation &w : kWordAbbreviations) {
        int i = 0;
        while (i < w.length && At(k + i) == w.word[i]) ++i;
        if (i == w.length) return &w;
    }
    return nullptr;
}

// Writes the syllable at i (or an abbreviated word starting there); returns the next position.
int TranslateSyllable(int i) {
    const char16_t ch = s.work[i];
    const char16_t prev = At(i - 1);
    if (!IsSyllable(prev)) {
        if (const WordAbbreviation *w = WordAbbreviationAt(i)) {
            PutCells(w->cells, 2, TakeMarker());
            return i + w->length;
        }
    }
    const uint8_t marker = TakeMarker();
    const int initial = Initial(ch), vowel = Vowel(ch), final = Final(ch);

    // Separator before 예 after an open syllable, and before 애 after ㅑ ㅘ ㅜ ㅝ.
    if (IsSyllable(prev) && Final(prev) == 0) {
        const int pv = Vowel(prev);
        if ((ch >= kYeFirst && ch <= kYeLast) ||
            (ch >= kAeFirst && ch <= kAeLast && (pv == kVowelYa || pv == kVowelWa || pv == kVowelU || pv == kVowelWo)))
            Put(kSeparator | marker);
    }

    if (const SyllableRange *r = FindRange(kFirstRangeSet, kFirstRangeCount, ch)) {
        PutCells(r->cells, r->count, marker);
        if (r->withFinal) PutJamo(kFinalBase + final, marker);
        return i + 1;
    }
    if (final != 0 && !IsYeongAfterSibilant(ch)) {
        for (const VowelFinalAbbreviation &a : kVowelFinalAbbreviations) {
            if (a.vowel != vowel || final < a.firstFinal || final > a.lastFinal) continue;
            if (initial != kInitialIeung) PutJamo(kInitialBase + initial, marker);
            Put(a.cell | marker);
            const JamoCells &f = kJamoCells[kFinalBase + final];
            if (f.count == 2) Put(f.cells[1] | marker);
            return i + 1;
        }
    }
    if (ch != kSyllablePat) {
        if (const SyllableRange *r = FindRange(kSecondRangeSet, kSecondRangeCount, ch)) {
            // 나 다 마 ... stay in full before ㅇ and after a digit and a hyphen,
            // where the bare consonant would be misread.
            bool full = false;
            if (final == 0 && r->first != kSyllableGa && r->first != kSyllableSa) {
                const char16_t next = At(i + 1);
                full = (IsSyllable(next) && Initial(next) == kInitialIeung) ||
                       (PunctuationClassOf(prev) == kPunctHyphen && IsDigit(At(i - 2)));
            }
            if (!full) {
                PutCells(r->cells, r->count, marker);
                PutJamo(kFinalBase + final, marker);
                return i + 1;
            }
        }
    }
    if (initial != kInitialIeung) PutJamo(kInitialBase + initial, marker);
    PutJamo(kVowelBase + vowel, marker);
    PutJamo(kFinalBase + final, marker);
    return i + 1;
}

void TranslateCompatJamo(char16_t ch) {
    const uint8_t marker = TakeMarker();
    Put(kJamoSign | marker);
    const JamoCells &j = kCompatJamoCells[ch - kCompatFirst];
    PutCells(j.cells, j.count, marker);
}

// ---------------------------------------------------------------------------
// Latin runs

// Length of the piece from k up to the next space or Hangul, within limit.
int PieceLength(int k, int limit) {
    int e = k;
    while (e < limit && s.work[e] != u' ') ++e;
    return e - k;
}

// Translates the Latin run that starts at i; returns the next position.
int TranslateLatinRun(int i) {
    int limit = i;
    while (limit < s.length && !IsHangul(s.work[limit])) ++limit;
    const bool mark = g_settings.markComputerText;
    const bool computer = english::IsComputerText(s.work + i, PieceLength(i, limit));
    if (mark) {
        if (computer) {
            limit = i + PieceLength(i, limit);  // an address is a run of its own
        } else {
            for (int k = i; k < limit; ++k) {
                if (s.work[k] == u' ' && english::IsComputerText(s.work + k + 1, PieceLength(k + 1, limit))) {
                    limit = k;
                    break;
                }
            }
        }
    }
    int end = limit;
    while (end > i && !IsLatinLetter(s.work[end - 1])) --end;

    if (!(computer && mark)) Put(kRomanStart);
    // The run commits its cells word by word; one cut by the full buffer keeps its whole words.
    if (s.out->commit()) english::TranslateRun(s.work + i, end - i, *s.out, true);

    const char16_t after = At(end);
    const int afterClass = PunctuationClassOf(after);
    bool close = true;
    if (PunctuationClassOf(At(i - 1)) == kPunctOpenParen && afterClass == kPunctCloseParen) close = false;
    if (afterClass >= 0 || IsDigit(after) || IsCircled(after)) close = false;
    if (computer && mark) close = false;
    if (computer && !mark && IsLatinLetter(At(end + 1))) close = false;
    if (close) Put(kRomanEnd);
    return end;
}

// ---------------------------------------------------------------------------
// Numbers and punctuation

void TranslateDigit(int i) {
    const char16_t prev = At(i - 1), prev2 = At(i - 2);
    const int prevClass = PunctuationClassOf(prev);
    const bool continues = IsDigit(prev) ||
                           ((prevClass == kPunctFullStop || prevClass == kPunctComma || prevClass == kPunctMiddleDot ||
                                prevClass == kPunctColon) &&
                               (IsDigit(prev2) || IsCircled(prev2))) ||
                           (prevClass == kPunctHyphen && IsDigit(prev2));
    if (!continues) Put(kNumberSign);
    Put(kDigitCells[s.work[i] - u'0']);
    // A syllable whose first cell reads as a digit is kept apart from the number:
    // the initials ㄴ ㄷ ㅁ ㅋ ㅌ ㅍ ㅎ, and the abbreviation of 운 (7). Only 운
    // itself starts with that abbreviation; 분 or 순 start with their initial.
    const char16_t next = At(i + 1);
    if (IsSyllable(next)) {
        const int initial = Initial(next);
        const int final = Final(next);
        if (initial == kInitialN || initial == kInitialD || initial == kInitialM || initial == kInitialK ||
            initial == kInitialT || initial == kInitialP || initial == kInitialH ||
            (initial == kInitialIeung && Vowel(next) == kVowelU &&
                (final == kFinalN || final == kFinalNj || final == kFinalNh)))
            Put(0);
    }
}

void TranslateCircled(char16_t ch) {
    Put(kNumberSign);
    const CircledNumber &c = kCircledNumbers[ch - kCircledFirst];
    PutCells(c.cells, c.count, 0);
}

void TranslatePunctuation(int i, int cls) {
    const PunctuationEntry &e = kPunctuation[cls];
    const char16_t prev = At(i - 1), next = At(i + 1);
    if (cls == kPunctComma && IsDigit(prev) && IsDigit(next)) {
        Put(0x02);
        return;
    }
    if (cls == kPunctStraightQuote) {
        Put(s.quoteOpens ? 0x26 : 0x34);
        s.quoteOpens = !s.quoteOpens;
        return;
    }
    if (InClasses(cls, kPunctOperatorFirst, kPunctOperatorLast)) {
        if (IsHangul(prev)) Put(0);
        PutCells(e.cells, e.count, 0);
        if (IsHangul(next)) Put(0);
        return;
    }
    if (InClasses(cls, kPunctCurrencyFirst, kPunctCurrencyLast) && IsDigit(next)) {
        PutCells(e.cells + 1, e.count - 1, 0);
        return;
    }
    if (InClasses(cls, kPunctShapeFirst, kPunctShapeLast)) {
        if (PunctuationClassOf(prev) != cls) Put(0x38);
        PutCells(e.cells, e.count, 0);
        if (PunctuationClassOf(next) != cls) Put(0x07);
        return;
    }
    if (InClasses(cls, kPunctEllipsisFirst, kPunctEllipsisLast) &&
        InClasses(PunctuationClassOf(prev), kPunctEllipsisFirst, kPunctEllipsisLast))
        return;
    if (cls == kPunctFullStop && PunctuationClassOf(prev) == kPunctFullStop &&
        PunctuationClassOf(At(i - 2)) == kPunctFullStop && PunctuationClassOf(At(i - 3)) == kPunctFullStop)
        return;
    PutCells(e.cells, e.count, 0);
    if ((cls == kPunctPercent || InClasses(cls, kPunctDegreeFirst, kPunctDegreeLast)) && IsHangul(next)) Put(0);
}

}  // namespace
}  // namespace korean

int TranslateKorean(char16_t *text, uint8_t *cells) {
    using namespace korean;
    if (!cells) return 0;
    CellWriter out(s.stream);
    s.out = &out;
    s.syllables.reset();
    s.quoteOpens = true;
    static const char16_t kEmpty[1] = {0};
    Prepare(text ? text : kEmpty);

    for (int i = 0; i < s.length && !out.full();) {
        const char16_t ch = s.work[i];
        if (IsLatinLetter(ch)) {
            i = TranslateLatinRun(i);
            out.commit();
            continue;
        }
        if (IsSyllable(ch)) {
            i = TranslateSyllable(i);
        } else if (IsCompatJamo(ch)) {
            TranslateCompatJamo(ch);
        } else if (IsDigit(ch)) {
            TranslateDigit(i);
        } else if (IsCircled(ch)) {
            TranslateCircled(ch);
        } else if (const int cls = PunctuationClassOf(ch); cls >= 0) {
            TranslatePunctuation(i, cls);
        } else if (ch == u' ') {
            if (At(i - 1) != u' ') Put(0);
        } else {
            Put(0);  // a character outside the basic plane is one character, one blank
            i += CharUnitsAt(s.work, i) - 1;
        }
        if (!IsSyllable(ch)) ++i;
        out.commit();  // the buffer ends on a whole character
    }

    // Laid out so that no line end splits a syllable.
    const int raw = g_settings.rawLineCellsKorean;
    LineRules rules;
    rules.width = raw > 0 ? raw : kCellBufferSize;
    rules.capacity = kCellBufferSize;
    rules.blankLineBeforeLongWord = false;
    rules.markedUnits = true;
    return LayOutLines(cells, s.stream, out.count(), rules);
}

}  // namespace kotari
