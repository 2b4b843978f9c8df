// English translator: Unified English Braille, uncontracted (grade 1) or
// contracted (grade 2), with capital, grade 1 and numeric indicators, accented
// and Greek letters, symbols and computer-text indicators.
#include "lang/english/english.h"

#include <cstring>
#include <initializer_list>

#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/engine.h"
#include "lang/english/english_tables.h"
#include "lang/english/english_ueb_symbols.h"

namespace kotari {
namespace english {
namespace {

enum CharClass : uint8_t { kStart, kLetter, kAccented, kGreek, kNumber, kSymbol, kSpace, kOther, kEnd };

constexpr uint8_t kCapitalSign = 0x20;
constexpr uint8_t kGrade1Sign = 0x30;
constexpr int kSegmentCapacity = 2048;
// Longer letter runs are written letter by letter: their segmented form could
// outgrow the segment buffer, and no real word is that long.
constexpr int kMaxContractedWord = 1000;

// One unit of a segmented word: a letter, or a contracted group of `length`
// letters starting at text index `src`.
struct Unit {
    int src;
    uint8_t length;  // letters covered (1 for a letter)
    bool isGroup;
    bool wordsign;  // group cells come from WordsignTable, else GroupsignTable
    uint8_t index;  // table index of the group
};

// Cursors and flags of one translation; reset at its start.
struct State {
    char16_t *text;
    int length;
    CellWriter *out;  // commits after each word, number, symbol or blank
    int pos;
    CharClass cls;
    CharClass prev;
    bool capWord;  // the current word carries the capitalised-word indicator
    bool grade1Word;  // grade 1 word mode, to the next space
    bool computer;  // inside a computer-text passage
    bool openQuote;  // a straight double quote is open
    bool insideKorean;  // the run is Latin text inside Korean text
    int wordsSeen;
    bool accentOpen;  // a run of letters with the same accent is open (23 ... 1C)
    bool greekCapitals;  // the current run of Greek capitals has the word indicator
    // Computer-text scan cache for the space-delimited run around pos.
    int runStart;
    int runEnd;
    int nextAt;
    Unit units[kSegmentCapacity];
    int unitCount;
};

State s;

inline char16_t At(int k) { return (k >= 0 && k < s.length) ? s.text[k] : char16_t(0); }

inline void Put(uint8_t c) { s.out->put(c); }
inline void Put2(uint8_t a, uint8_t b) {
    Put(a);
    Put(b);
}
inline void PutCells(const uint8_t *c, int n) {
    for (int i = 0; i < n; ++i) Put(c[i]);
}

inline bool IsUpper(char16_t c) { return IsAsciiUpper(c); }
inline bool IsLower(char16_t c) { return IsAsciiLower(c); }
inline char16_t Lower(char16_t c) { return AsciiLower(c); }
inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Accent lookup: class and entry index, or false.
bool FindAccent(char16_t ch, int *cls, int *entry) {
    if (ch < 0xC0) return false;
    for (int k = 0; k < kAccentClassCount; ++k) {
        const AccentClass &c = kAccentClassTable[k];
        for (int e = 0; e < c.count; ++e) {
            if (c.entries[e].ch == ch) {
                *cls = k;
                *entry = e;
                return true;
            }
        }
    }
    return false;
}

inline bool IsAccented(char16_t ch) {
    int c, e;
    return ch >= 0xC0 && FindAccent(ch, &c, &e);
}
inline bool IsWordLetter(char16_t ch) { return IsAsciiLetter(ch) || IsAccented(ch); }

bool IsAccentedCapital(char16_t ch) {
    int c, e;
    return FindAccent(ch, &c, &e) && e < kAccentClassTable[c].capitals;
}
inline bool IsCapital(char16_t ch) { return IsUpper(ch) || (ch >= 0xC0 && IsAccentedCapital(ch)); }
inline bool IsSmallAccented(char16_t ch) {
    int c, e;
    return ch >= 0xC0 && FindAccent(ch, &c, &e) && e >= kAccentClassTable[c].capitals;
}

inline int GreekIndex(char16_t ch) {
    if (ch >= 0x391 && ch <= 0x3A9 && ch != 0x3A2) return ch < 0x3A2 ? ch - 0x391 : ch - 0x392;
    if (ch >= 0x3B1 && ch <= 0x3C9) return 24 + (ch - 0x3B1);
    return -1;
}
inline bool IsGreekCapital(char16_t ch) { return ch >= 0x391 && ch <= 0x3A9 && ch != 0x3A2; }

int FractionIndex(char16_t ch) {
    if (ch != 0xBC && ch != 0xBD && ch != 0xBE && !(ch >= 0x2150 && ch <= 0x215E) && ch != 0x2189) return -1;
    for (int i = 0; i < kFractionCount; ++i)
        if (kFractionTable[i].ch == ch) return i;
    return -1;
}
inline bool IsDigitOrFraction(char16_t ch) { return IsDigit(ch) || FractionIndex(ch) >= 0; }

// First SymbolTable index of a character, or -1. ASCII goes through a small
// index built once from the table.
int SymbolIndex(char16_t ch) {
    struct AsciiIndex {
        int8_t index[128];
        AsciiIndex() { FirstAsciiRows(index, kSymbolTable, kSymbolCount); }
    };
    static const AsciiIndex ascii;
    if (ch < 128) return ascii.index[ch];
    for (int i = 0; i < kSymbolCount; ++i)
        if (kSymbolTable[i].ch == ch) return i;
    return -1;
}

CharClass Classify(char16_t ch) {
    if (ch == 0) return kEnd;
    if (IsAsciiLetter(ch)) return kLetter;
    if (ch == u' ') return kSpace;
    if (IsDigit(ch)) return kNumber;
    if (ch >= 0xC0) {
        if (IsAccented(ch)) return kAccented;
        if (GreekIndex(ch) >= 0) return kGreek;
        if (FractionIndex(ch) >= 0) return kNumber;
    } else if (FractionIndex(ch) >= 0) {
        return kNumber;
    }
    if (SymbolIndex(ch) >= 0) return kSymbol;
    return kOther;
}

bool InSet(const char16_t *set, int n, char16_t ch) {
    for (int i = 0; i < n; ++i)
        if (set[i] == ch) return true;
    return false;
}
inline bool IsOpening(char16_t ch) { return InSet(kOpeningSet, kOpeningCount, ch); }
inline bool IsClosing(char16_t ch) { return InSet(kClosingSet, kClosingCount, ch); }

// Index of the apostrophe ending that starts at k (an apostrophe followed by
// exactly one of the endings up to the next non-letter), or -1.
int ApostropheEndingAt(int k) {
    if (At(k) != u'\'') return -1;
    int n = 0;
    while (n < 3 && IsWordLetter(At(k + 1 + n))) ++n;
    if (n == 0 || n > 2) return -1;
    for (int e = 0; e < kApostropheEndingCount; ++e) {
        const ShortText &t = kApostropheEndings[e];
        if (t.length != n) continue;
        bool same = true;
        for (int i = 0; i < n && same; ++i) same = Lower(At(k + 1 + i)) == t.text[i];
        if (same) return e;
    }
    return -1;
}

// Case-insensitive match of ASCII `letters` at text index k, inside [k, limit).
bool MatchAt(int k, const char *letters, int n, int limit) {
    if (k < 0 || k + n > limit) return false;
    for (int i = 0; i < n; ++i)
        if (Lower(s.text[k + i]) != letters[i]) return false;
    return true;
}

// ---------------------------------------------------------------------------
// Computer text

bool PrefixAt(const char16_t *run, int length) {
    for (int p = 0; p < kComputerPrefixCount; ++p) {
        const PrefixEntry &e = kComputerTextPrefixes[p];
        if (e.length > length) continue;
        bool same = true;
        for (int i = 0; i < e.length && same; ++i) same = Lower(run[i]) == e.text[i];
        if (same) return true;
    }
    return false;
}

// Last '.' with two to four characters after it up to the end, or -1.
int LastAddressDot(const char16_t *run, int length) {
    for (int k = length - 3; k >= 0 && k >= length - 5; --k)
        if (run[k] == u'.') return k;
    return -1;
}

}  // namespace

bool IsComputerText(const char16_t *run, int length) {
    if (!run || length <= 0) return false;
    int dot = LastAddressDot(run, length);
    if (dot < 0) return false;
    if (PrefixAt(run, length)) return true;
    for (int k = 0; k < dot; ++k)
        if (run[k] == u'@') return true;
    return false;
}

int AccentClassOf(char16_t ch) {
    int c, e;
    return FindAccent(ch, &c, &e) ? c : kNoAccentClass;
}

namespace {

// The computer-text test for the run from s.pos to the next space, with the
// run's end and its next '@' cached while pos stays inside one run.
bool ComputerTextHere() {
    int pos = s.pos;
    if (pos >= s.runEnd || pos < s.runStart) {
        int e = pos;
        while (e < s.length && s.text[e] != 0 && s.text[e] != u' ') ++e;
        s.runStart = pos;
        s.runEnd = e;
        s.nextAt = pos - 1;
    }
    int length = s.runEnd - pos;
    if (length <= 0) return false;
    const char16_t *run = s.text + pos;
    int dot = LastAddressDot(run, length);
    if (dot < 0) return false;
    if (PrefixAt(run, length)) return true;
    if (s.nextAt < pos) {
        int k = pos;
        while (k < s.runEnd && s.text[k] != u'@') ++k;
        s.nextAt = k;
    }
    return s.nextAt < pos + dot;
}

// ---------------------------------------------------------------------------
// Letters

void PutLetter(char16_t ch, bool capitalsShown) {
    if (IsUpper(ch)) {
        if (!capitalsShown) Put(kCapitalSign);
        Put(kLetterCells[ch - u'A']);
    } else {
        Put(kLetterCells[ch - u'a']);
    }
}

// An accented letter; `next` is the character that follows it in the word.
void PutAccented(char16_t ch, char16_t next, bool capitalsShown) {
    int k, e;
    if (!FindAccent(ch, &k, &e)) return;
    const AccentClass &c = kAccentClassTable[k];
    const AccentEntry &entry = c.entries[e];
    const bool capital = e < c.capitals;
    const bool capitalSign = capital && !capitalsShown && !s.accentOpen;
    if (capitalSign) Put(kCapitalSign);
    int nk, ne;
    bool sameNext = FindAccent(next, &nk, &ne) && nk == k;
    if (!s.accentOpen && k != kLigatureClass) {
        PutCells(c.modifier, c.modifierCount);
        if (sameNext) {
            Put(0x23);
            s.accentOpen = true;
        }
    }
    if (k == kOldLetterClass && entry.base[0] == 't') {
        Put(0x2E);  // thorn
    } else if (k == kOldLetterClass && entry.base[0] == 'd') {
        Put(0x2B);  // eth
    } else {
        Put(kLetterCells[entry.base[0] - 'a']);
        if (entry.baseCount == 2) {
            // A capital ligature (Æ, Œ) outside a capitalised word: both letters are capitals.
            if (capitalSign) Put(kCapitalSign);
            Put2(0x18, 0x16);  // ligature indicator
            Put(kLetterCells[entry.base[1] - 'a']);
        }
    }
    if (s.accentOpen && !sameNext) {
        Put(0x1C);
        s.accentOpen = false;
    }
}

// ---------------------------------------------------------------------------
// Word contraction

bool IsOneOf(int g, std::initializer_list<int> list) {
    for (int x : list)
        if (x == g) return true;
    return false;
}

inline bool GroupAt(int g, int k, int limit) {
    const GroupsignEntry &e = kGroupsignTable[g];
    return MatchAt(k, e.letters, e.length, limit);
}

// The conflict rules of each groupsign (rules of one groupsign are adjacent).
struct ConflictIndex {
    uint8_t first[kGroupsignCount];
    uint8_t count[kGroupsignCount];
    ConflictIndex() {
        for (int g = 0; g < kGroupsignCount; ++g) first[g] = count[g] = 0;
        for (int r = kConflictRuleCount - 1; r >= 0; --r) {
            int g = kGroupsignConflictTable[r].groupsign;
            first[g] = static_cast<uint8_t>(r);
            ++count[g];
        }
    }
};

// Conflicts with a neighbouring groupsign, from the conflict table: true when
// groupsign g at p is refused because a competing group overlaps it.
bool RefusedByConflicts(int g, int p, int wordStart, int wordEnd, bool atWordStart) {
    if (atWordStart && (g == kG_be || g == kG_dis)) return false;
    static const ConflictIndex index;
    const int glen = kGroupsignTable[g].length;
    for (int r = index.first[g]; r < index.first[g] + index.count[g]; ++r) {
        const ConflictRule &rule = kGroupsignConflictTable[r];
        if (rule.groupsign != g) continue;
        const int cpos = p + glen - rule.overlap;
        for (const ConflictSubRule &sub : rule.subRules) {
            const int c = sub.competitor;
            if (c == 0) break;
            if (!GroupAt(c, cpos, wordEnd)) continue;
            const int clen = kGroupsignTable[c].length;
            if (IsOneOf(c, {kG_ea, kG_bb, kG_cc, kG_ff, kG_gg}) && !IsAsciiLetter(At(cpos + clen))) continue;
            if (atWordStart && g == kG_in && c == kG_ing) break;
            if (c >= kFinalGroupsignFirst && c <= kFinalGroupsignLast && GroupAt(c, p, wordEnd) && atWordStart) break;
            if (sub.offset == kNoExceptions) return true;
            const int epos = cpos + clen - sub.offset;
            bool excepted = false;
            for (int x = 0; x < 10 && sub.exceptions[x] != 0 && !excepted; ++x)
                excepted = epos >= wordStart && GroupAt(sub.exceptions[x], epos, wordEnd);
            if (!excepted) return true;
            break;
        }
    }
    return false;
}

inline bool IsVowelOrY(char16_t ch) {
    switch (Lower(ch)) {
    case u'a':
    case u'e':
    case u'i':
    case u'o':
    case u'u':
    case u'y': return true;
    default: return false;
    }
}

// The context rules for groupsign g found at p inside the word [wordStart, wordEnd).
bool Allowed(int g, int p, int wordStart, int wordEnd) {
    const int len = kGroupsignTable[g].length;
    const char16_t before = At(p - 1);
    const char16_t after = At(p + len);
    const bool atWordStart = p == wordStart;
    const bool afterIsLetter = IsWordLetter(after);

    // A capital inside a group would be lost: only the first letter may be a
    // capital, unless the rest of the word is all capitals.
    for (int i = 1; i < len; ++i) {
        if (IsUpper(s.text[p + i])) {
            for (int k = p; k < wordEnd; ++k)
                if (!IsUpper(s.text[k])) return false;
            break;
        }
    }

    switch (g) {
    case kG_ch:
    case kG_sh:
    case kG_th:
    case kG_wh:
    case kG_ou:
    case kG_st:
        if (atWordStart && !afterIsLetter) return false;  // standing alone it reads as a wordsign
        break;
    case kG_ing:
        if (atWordStart && IsOpening(before)) return false;  // ing never starts a word
        break;
    case kG_be:
    case kG_con:
    case kG_dis:  // lower signs that only start a word
        if (!atWordStart || !(IsLower(after) || IsAccented(after))) return false;
        if (p != 0 && !IsOpening(before)) return false;
        break;
    case kG_ea:
    case kG_bb:
    case kG_cc:
    case kG_ff:
    case kG_gg:  // lower signs only between letters
        if (atWordStart || !afterIsLetter || IsCapital(s.text[p]) || IsCapital(after)) return false;
        break;
    case kG_en:  // standing alone, en is the wordsign enough
        if (IsOpening(before) && (IsClosing(after) || ApostropheEndingAt(p + len) >= 0)) return false;
        break;
    case kG_one:  // not after o, where it would hide a syllable break
        if (Lower(before) == u'o') return false;
        break;
    case kG_under:
        if (Lower(before) == u'a' || Lower(before) == u'o') return false;
        break;
    case kG_children:  // not before a vowel or y
        if (IsVowelOrY(after)) return false;
        break;
    case kG_blind:
    case kG_first:
    case kG_friend:
    case kG_good:
    case kG_letter:
    case kG_little:
    case kG_quick:
        // shortform words contract only standing alone, and not before a vowel or y
        if (!(atWordStart && IsOpening(before) && (IsClosing(after) || ApostropheEndingAt(p + len) >= 0)))
            return false;
        if (IsVowelOrY(after)) return false;
        break;
    default: break;
    }
    if (g >= kFinalGroupsignFirst && g <= kFinalGroupsignLast && (atWordStart || IsUpper(s.text[p])))
        return false;  // final-letter groupsigns neither start a word nor begin on a capital
    return !RefusedByConflicts(g, p, wordStart, wordEnd, atWordStart);
}

// Groupsigns by first letter, in table order.
struct GroupIndex {
    uint8_t list[26][16];
    uint8_t count[26];
    GroupIndex() {
        for (int i = 0; i < 26; ++i) count[i] = 0;
        for (int g = 0; g < kGroupsignCount; ++g) {
            int f = kGroupsignTable[g].letters[0] - 'a';
            list[f][count[f]++] = static_cast<uint8_t>(g);
        }
    }
};

void AddLetter(int src) {
    if (s.unitCount < kSegmentCapacity) s.units[s.unitCount++] = Unit{src, 1, false, false, 0};
}
void AddGroup(int src, int length, bool wordsign, int index) {
    if (s.unitCount < kSegmentCapacity)
        s.units[s.unitCount++] = Unit{src, static_cast<uint8_t>(length), true, wordsign, static_cast<uint8_t>(index)};
}

// Case-insensitive comparison of the word with an ASCII string.
bool WordEquals(int start, int n, const char *w, int wn) {
    if (n != wn) return false;
    for (int i = 0; i < n; ++i)
        if (Lower(s.text[start + i]) != w[i]) return false;
    return true;
}

// Lays a stored segmented form over the word: letters take the word's own
// letters (and so its capitals); groups are looked up by their letters.
void ApplyForm(int start, const char *form, int formLength) {
    int src = start;
    for (int i = 0; i < formLength;) {
        if (form[i] != '/') {
            AddLetter(src++);
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < formLength && form[j] != '/') ++j;
        const char *g = form + i + 1;
        int n = j - i - 1;
        int found = -1;
        bool wordsign = false;
        for (int w = 0; w < kWordsignCount && found < 0; ++w)
            if (kWordsignTable[w].length == n && std::memcmp(kWordsignTable[w].word, g, n) == 0) {
                found = w;
                wordsign = true;
            }
        for (int k = 0; k < kGroupsignCount && found < 0; ++k)
            if (kGroupsignTable[k].length == n && std::memcmp(kGroupsignTable[k].letters, g, n) == 0) found = k;
        if (found >= 0) {
            AddGroup(src, n, wordsign, found);
        } else {
            for (int k = 0; k < n; ++k) AddLetter(src + k);
        }
        src += n;
        i = j + 1;
    }
}

inline uint32_t WordHash(const char *w, int n) {
    uint32_t h = 2166136261u;
    for (int i = 0; i < n; ++i) h = (h ^ static_cast<uint8_t>(w[i])) * 16777619u;
    return h;
}

// A bit per hash value of every listed word: most words are in no list and
// are rejected here without a search.
struct ListFilter {
    static constexpr uint32_t kBits = 1u << 19;  // about one bit in a hundred set
    uint64_t bits[kBits / 64];
    ListFilter() {
        for (uint64_t &b : bits) b = 0;
        for (const WordRecord &r : kShortformWordList) Add(r);
        for (const WordRecord &r : kExceptionWordList) Add(r);
    }
    void Add(const WordRecord &r) {
        uint32_t h = WordHash(r.word, r.wordLength) % kBits;
        bits[h / 64] |= uint64_t(1) << (h % 64);
    }
    bool MayHold(uint32_t hash) const {
        uint32_t h = hash % kBits;
        return (bits[h / 64] >> (h % 64)) & 1;
    }
};

// Bisection in a sorted word list.
const WordRecord *FindRecord(const WordRecord *list, int count, const char *key) {
    int lo = 0, hi = count;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        int cmp = std::strcmp(list[mid].word, key);
        if (cmp == 0) return &list[mid];
        if (cmp < 0) lo = mid + 1;
        else hi = mid;
    }
    return nullptr;
}

// The word's record in the shortform list, else in the exception list.
const WordRecord *FindListedWord(int start, int n) {
    if (n > 20) return nullptr;
    char key[21];
    for (int i = 0; i < n; ++i) {
        char16_t c = s.text[start + i];
        if (!IsAsciiLetter(c)) return nullptr;
        key[i] = static_cast<char>(Lower(c));
    }
    key[n] = 0;
    static const ListFilter filter;
    if (!filter.MayHold(WordHash(key, n))) return nullptr;
    const WordRecord *rec = FindRecord(kShortformWordList, kShortformWordCount, key);
    return rec ? rec : FindRecord(kExceptionWordList, kExceptionWordCount, key);
}

// Wordsigns by first letter, in table order.
struct WordsignIndex {
    uint8_t list[26][24];
    uint8_t count[26];
    WordsignIndex() {
        for (int i = 0; i < 26; ++i) count[i] = 0;
        for (int w = 0; w < kWordsignCount; ++w) {
            int f = kWordsignTable[w].word[0] - 'a';
            if (count[f] < 24) list[f][count[f]++] = static_cast<uint8_t>(w);
        }
    }
};

// Whole-word wordsign (contraction step 2), or -1.
int WholeWordsign(int start, int end) {
    const char16_t before = At(start - 1);
    if (start != 0 && !IsOpening(before)) return -1;
    const char16_t first = Lower(At(start));
    if (first < u'a' || first > u'z') return -1;
    const char16_t after = At(end);
    const int ending = ApostropheEndingAt(end);
    const int n = end - start;
    static const WordsignIndex index;
    for (int i = 0; i < index.count[first - u'a']; ++i) {
        const int w = index.list[first - u'a'][i];
        const WordsignEntry &e = kWordsignTable[w];
        if (!WordEquals(start, n, e.word, e.length)) continue;
        bool closed = IsClosing(after);
        if (!closed && ending >= 0) {
            if (w <= kWordsignLastWithEndings) closed = true;
            if (w == kWordsignEnough && kApostropheEndings[ending].text[0] == 's' &&
                kApostropheEndings[ending].length == 1)
                closed = true;
        }
        if (!closed) return -1;
        if (w >= kWordsignLowerFirst && w <= kWordsignLowerLast) {
            for (int k = kOpeningDashFirst; k <= kOpeningDashLast; ++k)
                if (start != 0 && before == kOpeningSet[k]) return -1;
            for (int k = kClosingPunctFirst; k <= kClosingPunctLast; ++k)
                if (after == kClosingSet[k]) return -1;
        }
        return w;
    }
    return -1;
}

// True when the word [start, end) stands alone: after the start of the text or
// an opening mark, before a closing mark or an apostrophe ending.
bool StandsAlone(int start, int end) {
    return (start == 0 || IsOpening(At(start - 1))) && (IsClosing(At(end)) || ApostropheEndingAt(end) >= 0);
}

// Grade 2: fills s.units with the segmented form of the word [start, end).
void Contract(int start, int end) {
    const int n = end - start;
    if (s.insideKorean && s.wordsSeen == 1) {
        for (const FirstWordRecord &r : kFirstWordList) {
            if (WordEquals(start, n, r.word, r.wordLength)) {
                int fl = 0;
                while (fl < 14 && r.segmented[fl]) ++fl;
                ApplyForm(start, r.segmented, fl);
                return;
            }
        }
    }
    int w = WholeWordsign(start, end);
    if (w >= 0) {
        AddGroup(start, n, true, w);
        return;
    }
    const WordRecord *rec = FindListedWord(start, n);
    // A shortform that is the whole listed word applies only standing alone (much@
    // and could/should are spelled with groupsigns); longer listed words always.
    const bool bareShortform = rec && rec->segmentedLength == rec->wordLength + 2 && rec->segmented[0] == '/';
    if (bareShortform && !StandsAlone(start, end)) rec = nullptr;
    if (rec) {
        ApplyForm(start, rec->segmented, rec->segmentedLength);
        return;
    }
    static const GroupIndex index;
    for (int p = start; p < end;) {
        char16_t c = s.text[p];
        if (!IsAsciiLetter(c)) {
            AddLetter(p++);
            continue;
        }
        int f = Lower(c) - u'a';
        int matched = -1;
        for (int i = 0; i < index.count[f]; ++i) {
            int g = index.list[f][i];
            if (GroupAt(g, p, end) && Allowed(g, p, start, end)) {
                matched = g;
                break;
            }
        }
        if (matched >= 0) {
            AddGroup(p, kGroupsignTable[matched].length, false, matched);
            p += kGroupsignTable[matched].length;
        } else {
            AddLetter(p++);
        }
    }
}

// ---------------------------------------------------------------------------
// Word translation

// A word of more than four characters with letters at even and symbols at odd
// positions (b-l-i-n-d), up to the next space.
bool SpacedLetters(int start) {
    int k = start;
    while (At(k) != 0 && At(k) != u' ') {
        CharClass c = Classify(At(k));
        bool even = ((k - start) & 1) == 0;
        if (even ? (c != kLetter && c != kAccented) : c != kSymbol) return false;
        ++k;
    }
    if (k - start <= 4) return false;
    char16_t f = Lower(At(start));
    return f != u'a' && f != u'i' && f != u'o';
}

bool IsLetterSequence(int start, int end) {
    const int n = end - start;
    for (const ShortText &t : kLetterSequenceList)
        if (WordEquals(start, n, t.text, t.length)) return true;
    return false;
}

void Grade1Indicators(int start, int end) {
    if (s.grade1Word || s.computer) return;
    if (SpacedLetters(start)) {
        Put2(kGrade1Sign, kGrade1Sign);
        s.grade1Word = true;
        return;
    }
    const char16_t first = At(start);
    bool indicator = false;
    if (first >= u'a' && first <= u'k') {
        if (s.prev == kNumber) indicator = true;
        if ((At(start - 1) == u',' || At(start - 1) == u'.') && IsDigitOrFraction(At(start - 2))) indicator = true;
    }
    if (g_settings.englishGrade == 2 && !indicator) {
        if (end - start == 1 && IsAsciiLetter(first)) {
            const char16_t l = Lower(first);
            bool exempt = l == u'a' || l == u'i' || l == u'o';
            if ((l == u'd' || l == u'm' || l == u'n' || l == u's' || l == u't') && At(start - 1) == u'\'' &&
                IsWordLetter(At(start - 2)))
                exempt = true;
            if (first == u'C' && At(start - 1) == 0xB0) exempt = true;
            indicator = !exempt;
        } else if (end - start <= 5 && (start == 0 || IsOpening(At(start - 1))) && IsClosing(At(end)) &&
                   IsLetterSequence(start, end)) {
            indicator = true;
        }
    }
    if (indicator) Put(kGrade1Sign);
}

// Writes the units of the segmented word.
void WriteUnits() {
    bool capitals = s.capWord;
    // A tail of at least two capital letters (McDONALD) gets the
    // capitalised-word indicator and no capital signs.
    int tail = -1;
    if (!capitals) {
        int letters = 0;
        for (int u = s.unitCount - 1; u >= 0; --u) {
            const Unit &unit = s.units[u];
            bool upper = true;
            for (int i = 0; i < unit.length && upper; ++i) upper = IsUpper(s.text[unit.src + i]);
            if (!upper) break;
            letters += unit.length;
            tail = u;
        }
        if (letters < 2) tail = -1;
    }
    for (int u = 0; u < s.unitCount; ++u) {
        const Unit &unit = s.units[u];
        if (u == tail) {
            Put2(kCapitalSign, kCapitalSign);
            capitals = true;
            for (int v = u; v < s.unitCount; ++v)
                for (int i = 0; i < s.units[v].length; ++i)
                    s.text[s.units[v].src + i] = Lower(s.text[s.units[v].src + i]);
        }
        if (unit.isGroup) {
            if (!capitals && IsUpper(s.text[unit.src])) Put(kCapitalSign);
            if (unit.wordsign) {
                const WordsignEntry &e = kWordsignTable[unit.index];
                PutCells(e.cells, e.count);
            } else {
                const GroupsignEntry &e = kGroupsignTable[unit.index];
                PutCells(e.cells, e.count);
            }
            continue;
        }
        const char16_t ch = s.text[unit.src];
        if (IsAsciiLetter(ch)) {
            PutLetter(ch, capitals);
        } else {
            char16_t next = u + 1 < s.unitCount && !s.units[u + 1].isGroup ? s.text[s.units[u + 1].src] : char16_t(0);
            PutAccented(ch, next, capitals);
        }
    }
    s.accentOpen = false;
}

// Translates the run of letters that starts at s.pos; leaves s.pos on its last letter.
void TranslateWord() {
    const int start = s.pos;
    int end = start;
    while (end < s.length && IsWordLetter(s.text[end])) ++end;
    ++s.wordsSeen;

    Grade1Indicators(start, end);

    s.capWord = false;
    if (IsCapital(s.text[start]) && end - start > 1) {
        bool small = false;
        for (int k = start; k < end && !small; ++k) small = IsLower(s.text[k]) || IsSmallAccented(s.text[k]);
        if (!small) {
            Put2(kCapitalSign, kCapitalSign);
            for (int k = start; k < end; ++k) s.text[k] = Lower(s.text[k]);
            s.capWord = true;
        }
    }

    s.unitCount = 0;
    const bool contract =
        g_settings.englishGrade == 2 && !s.grade1Word && !s.computer && end - start <= kMaxContractedWord;
    if (contract) {
        Contract(start, end);
    } else {
        for (int k = start; k < end; ++k) AddLetter(k);
    }
    WriteUnits();
    s.capWord = false;
    s.pos = end - 1;
    s.cls = Classify(s.text[end - 1]);
}

// ---------------------------------------------------------------------------
// Symbols

inline bool IsArrowOrShape(int index) {
    return (index >= kSymArrowFirst && index <= kSymArrowLast) ||
           (index >= kSymShapeArrowFirst && index <= kSymShapeLast);
}
inline bool IsShape(int index) { return index >= kSymShapeFirst && index <= kSymShapeLast; }

bool QuoteFollows(int from) {
    for (int k = from; k < s.length && s.text[k] != 0; ++k)
        if (s.text[k] == u'"') return true;
    return false;
}

void TranslateSymbol() {
    const char16_t ch = s.text[s.pos];
    const int index = SymbolIndex(ch);
    if (index < 0) return;  // only reached for table characters
    const SymbolEntry &e = kSymbolTable[index];
    const char16_t prevChar = At(s.pos - 1);
    const char16_t next = At(s.pos + 1);
    const int prevIndex = prevChar ? SymbolIndex(prevChar) : -1;

    if (IsArrowOrShape(index)) {
        if (!(prevIndex >= 0 && IsArrowOrShape(prevIndex))) Put(kGrade1Sign);
        if (IsShape(index) && !(prevIndex >= 0 && IsShape(prevIndex))) Put(0x2B);
        PutCells(e.cells, e.count);
        if (IsShape(index) && IsWordLetter(next)) Put(0x31);
        return;
    }
    if (index == kSymEmDash && next == 0x2014) {
        Put(0x10);
        Put2(0x20, 0x24);
        ++s.pos;
        return;
    }
    if (index == kSymUnderscore && prevChar == u'_') return;
    if (index == kSymAt && s.computer) {
        Put(0x08);
        return;
    }
    if (index == kSymFullStop && s.computer) {
        Put(0x28);
        return;
    }
    if ((index == kSymComma || index == kSymFullStop) && IsDigitOrFraction(next)) {
        // A number that starts with its decimal point or comma: the number
        // sign goes before it, or after it when a letter precedes.
        if (s.prev == kLetter || s.prev == kAccented) {
            PutCells(e.cells, e.count);
            Put(kNumberSign);
        } else if (s.prev == kNumber) {
            PutCells(e.cells, e.count);
        } else {
            Put(kNumberSign);
            PutCells(e.cells, e.count);
        }
        s.cls = kNumber;
        return;
    }
    if (index == kSymStraightQuote) {
        if (!s.openQuote && QuoteFollows(s.pos + 1)) {
            Put(0x26);
            s.openQuote = true;
        } else if (s.openQuote) {
            Put(0x34);
            s.openQuote = false;
        } else {
            PutCells(e.cells, e.count);
        }
        return;
    }
    if (index == kSymQuestion && IsOpening(prevChar) && (IsClosing(next) || ApostropheEndingAt(s.pos + 1) >= 0))
        Put(kGrade1Sign);
    PutCells(e.cells, e.count);
}

// First transcriber-defined print symbol (dots 4, 46): the sign that Unified
// English Braille sets aside for a print symbol with no braille equivalent.
constexpr uint8_t kUnknownSign[2] = {0x08, 0x28};

// Joiners and variation selectors shape the character before them and have
// no braille of their own.
inline bool IsZeroWidth(char16_t ch) {
    return ch == 0x200C || ch == 0x200D || ch == 0x2060 || ch == 0xFEFF || (ch >= 0xFE00 && ch <= 0xFE0F);
}

// A character in none of the classes: its cells from the UEB symbol table, a
// blank for a control character, else the unknown sign once per character (a
// surrogate pair is one character), so that nothing vanishes without a trace.
void TranslateOther() {
    const char16_t ch = s.text[s.pos];
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) {
        Put(0);
        return;
    }
    if (IsZeroWidth(ch)) return;
    if (const UebSymbol *e = FindSorted(kUebSymbols, kUebSymbolCount, ch)) {
        PutCells(e->cells, e->count);
        return;
    }
    if (IsHighSurrogate(ch) && IsLowSurrogate(At(s.pos + 1))) ++s.pos;
    PutCells(kUnknownSign, 2);
}

void TranslateGreek() {
    const char16_t ch = s.text[s.pos];
    const int gi = GreekIndex(ch);
    if (gi < 0) return;  // only reached for Greek letters
    const GreekEntry &e = kGreekTable[gi];
    // A run of Greek capitals without small letters gets the capitalised-word
    // indicator once; any other capital its own capital sign (a capital that
    // follows a capital in a mixed run would otherwise read as small).
    if (!IsGreekCapital(At(s.pos - 1))) s.greekCapitals = false;
    if (IsGreekCapital(ch) && !s.greekCapitals) {
        int k = s.pos, capitals = 0;
        bool small = false;
        while (GreekIndex(At(k)) >= 0) {
            if (IsGreekCapital(At(k))) ++capitals;
            else small = true;
            ++k;
        }
        if (capitals >= 2 && !small && !IsGreekCapital(At(s.pos - 1))) {
            Put2(kCapitalSign, kCapitalSign);
            s.greekCapitals = true;
        } else {
            Put(kCapitalSign);
        }
    }
    Put2(e.cells[0], e.cells[1]);
}

void TranslateNumber() {
    const char16_t ch = s.text[s.pos];
    const int f = FractionIndex(ch);
    if (f >= 0) {
        PutCells(kFractionTable[f].cells, kFractionTable[f].count);
        return;
    }
    if (s.prev != kNumber) Put(kNumberSign);
    Put(DigitCell(ch));
}

void TranslateSpace() {
    s.grade1Word = false;
    if (s.pos == 0) {
        Put(0);
        return;
    }
    const char16_t before = s.text[s.pos - 1];
    if (s.prev == kSpace || before == u' ') return;
    if (IsDigitOrFraction(before) && IsDigitOrFraction(At(s.pos + 1))) {
        Put(0x10);  // numeric space: the number goes on
        s.cls = kNumber;
        return;
    }
    Put(0);
}

}  // namespace

int TranslateRun(char16_t *text, int length, CellWriter &out, bool insideKorean) {
    if (!text || length <= 0) return 0;
    const int start = out.count();
    int n = 0;
    while (n < length && text[n] != 0) ++n;
    s.text = text;
    s.length = n;
    s.out = &out;
    s.prev = kStart;
    s.cls = kStart;
    s.capWord = s.grade1Word = s.computer = s.openQuote = s.accentOpen = s.greekCapitals = false;
    s.insideKorean = insideKorean;
    s.wordsSeen = 0;
    s.runStart = s.runEnd = 0;
    s.nextAt = -1;

    if (g_settings.lowercaseInput)
        for (int k = 0; k < n; ++k) text[k] = Lower(text[k]);
    // A right single quote between letters (don’t) is an apostrophe, not a closing quote.
    for (int k = 1; k + 1 < n; ++k)
        if (text[k] == 0x2019 && IsWordLetter(text[k - 1]) && IsWordLetter(text[k + 1])) text[k] = u'\'';

    for (s.pos = 0;; ++s.pos) {
        const char16_t ch = At(s.pos);
        s.cls = Classify(ch);
        if (g_settings.markComputerText) {
            if (!s.computer && s.cls != kSpace && s.cls != kEnd && ComputerTextHere()) {
                Put2(0x38, 0x2C);
                s.computer = true;
            }
            if (s.computer && (s.cls == kSpace || s.cls == kOther || s.cls == kEnd)) {
                Put2(0x38, 0x31);
                s.computer = false;
            }
        }
        switch (s.cls) {
        case kLetter:
        case kAccented: TranslateWord(); break;
        case kGreek: TranslateGreek(); break;
        case kNumber: TranslateNumber(); break;
        case kSymbol: TranslateSymbol(); break;
        case kSpace: TranslateSpace(); break;
        case kOther: TranslateOther(); break;
        case kEnd:
        default: out.commit(); return out.count() - start;
        }
        if (!out.commit()) return out.count() - start;  // the cells end on a whole word or character
        s.prev = s.cls;
    }
}

}  // namespace english

int TranslateEnglish(char16_t *text, uint8_t *cells) {
    CellWriter out(cells);
    english::TranslateRun(text, 1 << 30, out, false);
    return out.count();
}

}  // namespace kotari
