// Japanese translator internals: the token record, letter classes, the
// analysis (MeCab and the passes that turn its result into the intermediate
// stream) and the cell rules that the emission loop calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

struct mecab_t;

namespace kotari {
namespace jp {

// ---- Diagnostics ---------------------------------------------------------
// Every progress or error line of the Japanese translator goes through Diag.
// g_diagnostics switches all of them off at once (tests, benchmarks, fuzzing).
enum class DiagStream { Out, Err };
extern bool g_diagnostics;
void Diag(DiagStream stream, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
#define JP_LOG(...) ::kotari::jp::Diag(::kotari::jp::DiagStream::Out, __VA_ARGS__)
#define JP_ERR(...) ::kotari::jp::Diag(::kotari::jp::DiagStream::Err, __VA_ARGS__)

// ---- Strings -------------------------------------------------------------
inline bool Eq(const char *a, const char *b) { return std::strcmp(a, b) == 0; }
inline bool StartsWith(const char *s, const char *prefix) { return std::strncmp(s, prefix, std::strlen(prefix)) == 0; }
inline bool EndsWith(const char *s, const char *suffix) {
    size_t n = std::strlen(s), m = std::strlen(suffix);
    return n >= m && std::strcmp(s + n - m, suffix) == 0;
}
// Appends len bytes of s (all of it when len < 0) to buf (cap bytes) at *n,
// keeping it NUL-terminated; false, and nothing written, when it does not fit.
inline bool Append(char *buf, int cap, int *n, const char *s, int len = -1) {
    if (len < 0) len = static_cast<int>(std::strlen(s));
    if (*n + len > cap - 1) return false;
    std::memcpy(buf + *n, s, static_cast<size_t>(len));
    *n += len;
    buf[*n] = '\0';
    return true;
}

// ---- Buffers -------------------------------------------------------------
constexpr int kTextBytes = 1024;  // UTF-8 text and half-width conversion buffers
constexpr int kStreamBytes = 1024;  // intermediate stream, at most 1023 used
constexpr int kResultLine = 1000;  // one MeCab result line
constexpr int kMaxTokens = 100;
constexpr int kMaxSpaces = 80;
constexpr int kMaxCells = 1024;

// ---- Letter classes ------------------------------------------------------
enum JpLetter {
    NOT_DEFINED = 0,
    CTRL_SUUSHIKI = 1,
    CTRL_GAIKOKU = 2,
    CTRL_HOSHI = 3,
    CTRL_FUSEJI = 4,
    CTRL_CHUUKI = 5,
    CTRL_KUURAN = 6,
    CTRL_ADDRESS = 7,
    HANKAKU_KIGOU = 8,
    HANKAKU_OOMOJI = 9,
    HANKAKU_KOMOJI = 10,
    HANKAKU_SUUJI = 11,
    TWOBYTE_KIGOU = 12,
    HIRAGANA = 13,
    KATAKANA = 14,
    HANKAKU_KANA = 15,
    KANJI = 16,
    KAKOMI_MOJI = 17,
    TANI_KIGOU = 18,
    ZENKAKU_KIGOU = 19,
    KUTOUFU = 20,
    SPECIAL_CHARACTERS = 21,
    DINGBAT = 22,
    ZENKAKU_SUUJI = 23,
    ZENKAKU_OOMOJI = 24,
    ZENKAKU_KOMOJI = 25,
    ONGAKU_KIGOU = 26,
};

// Letter type of the character at s (NUL-terminated); *len receives its byte
// length, never stepping over a NUL. quiet suppresses the NOT_DEFINED line.
JpLetter LetterType(const char *s, int *len, bool quiet = false);
int BlockTypeOf(JpLetter t, bool quiet = false);
// Code point of the UTF-8 character at s (0 at the end), and its length.
uint32_t DecodeAt(const char *s, int *len);
int EncodeUtf8(uint32_t cp, char *out);  // out holds 4 bytes; returns the length

// The number of characters of UTF-8 text s whose code point satisfies pred.
template <typename Pred>
int CountCodePoints(const char *s, Pred pred) {
    int n = 0;
    for (int i = 0; s[i];) {
        int len = 0;
        uint32_t c = DecodeAt(s + i, &len);
        if (len <= 0) break;
        if (pred(c)) ++n;
        i += len;
    }
    return n;
}

struct StrBlock {
    int start;
    int len;
    int type;
};
// Cuts s into at most 10 runs of equal block type; returns the run count.
int GetStrBlock(const char *s, StrBlock *blocks);

// ---- Tokens ---------------------------------------------------------------
struct MorphToken {
    char surface[128];
    char pos[32];
    char posd1[38];
    char posd2[32];
    char conjForm[32];
    char read[256];
    char pro[256];
    bool space;
    bool tsunagi;
    bool bunsuu;
    bool useSurface;
    bool hankakuOnly;
    int katakanatype;  // 0/1 plain, 2 parts by nakaten, 4 rebuilt from pro, 5 a space
    int blockStart;  // 1 address, 2 foreign word starts here
    int blockEnd;  // 1 address, 2 foreign word ends here
    bool addressMember;
    bool gaikokuMember;
    bool skip;
    bool suushiki;
    bool suushikiStart;
    bool hienzanStart;
    bool hienzanEnd;
    bool kagakuStart;
    bool kagakuEnd;
    int marktype;
    int ryakusho;
    bool musicalStart;
    bool musicalEnd;
    int kansuujitype;
    bool kansuujiFirst;  // a kanji-numeral block starts here and ends at kansuujiLast
    int kansuujiLast;
    bool hashtag;
    int pieceCount;  // katakana-word pieces (GetKata)
    uint8_t pieceStart[7];
    uint8_t pieceKind[7];  // 1 katakana, 2 nakaten, 4 other
};

// Copies src into a fixed field of n bytes, cut at a character boundary.
void CopyField(char *dst, size_t n, const char *src);
template <size_t N>
inline void SetField(char (&dst)[N], const char *src) {
    CopyField(dst, N, src);
}

// ---- Normalisation ----------------------------------------------------------
// UTF-16 to UTF-8 (at most cap-1 bytes, cut at a character boundary); returns bytes.
int Utf16ToUtf8(const char16_t *in, char *out, int cap);
// Half-width katakana to full-width; returns bytes written (< cap).
int ConvertHankakuKana2Zenkaku(const char *in, char *out, int cap);
// Tabs to U+3000 in place (buffer of cap bytes); returns the new length.
int TabsToZenSpace(char *text, int cap);
// Joins a kana and a following voiced or semi-voiced mark (゛ ゜ or the combining
// ones) into one kana, spells ヷ ヸ ヹ ヺ as ヴ and a small vowel, and replaces the
// iteration marks ゝ ゞ ヽ ヾ by the kana they repeat, in place; returns the length.
int ComposeKanaMarks(char *text, int cap);
// Writes the Latin letters of U+00C0..U+017F without their marks (è -> e, ß ->
// ss), which the letter cells cannot show and which would otherwise write
// nothing, in place (never longer); returns the length.
int FoldLatinAccents(char *text);
// The whole normalisation of the analyser's input, in place (kTextBytes): half-width
// kana, kana marks, accented letters, tabs.
void NormaliseInput(char *utf8);

// ---- Analysis ---------------------------------------------------------------
// Parses one MeCab result line into tok (cleared first); false for EOS or an
// empty line.
bool ParseMecabLine(const char *line, MorphToken *tok);
// Runs MeCab on text and the passes; writes the stream; returns its length, 0 on failure.
int jpanalyzer(const char *text, char *stream, int cap);
// The passes and output over an already parsed token table (steps 4-22).
// tagger (may be null) looks up the parts of katakana compounds.
int AnalyzeTokens(const char *text, MorphToken *tokens, int count, char *stream, int cap, mecab_t *tagger = nullptr);

// Kanji numerals, full-width expressions and marks.
bool IsSentenceEndToken(const MorphToken &t);
void MergeMarkTokens(MorphToken *t, int *count);
void KanSuujiBlocks(MorphToken *t, int count);
// Value of a kanji digit (〇 to 九), or -1; value of a unit (十 百 千; 万 億 兆 negative), or 0.
int KanjiDigitValue(const char *s);
long long KanjiUnitValue(const char *s);
bool KanUnitsIn(const MorphToken *t, int s, int e);
// Digits (and unit readings) for tokens s..e-1 of a block of the given kind; returns bytes (< cap).
int ConvertKanSuu(const MorphToken *t, int s, int e, int kind, char *out, int cap);
int ChuukiPass(MorphToken *t, int count);
int FindZenkakuHoshiOrFuseji(MorphToken *t, int count);
int OperatorClass(uint32_t c);
void FindZenSUU(MorphToken *t, int count);
// Stream text of a marked token (annotation, star, masked characters, blank box).
int MarkOutput(const MorphToken *t, int count, int i, char *out, int cap);
JpLetter FirstLetterType(const char *s);

// Part-of-speech helpers.
bool IsContentWord(const MorphToken &t);
bool IsORowKana(const char *kana);  // katakana at kana

// Rewrites tok.pro from tok.read where the kana orthography needs it.
void AdjustPronounce(MorphToken &tok);
// Sets i.tsunagi from the pair (p, i).
void CheckTsunagi(const MorphToken &p, MorphToken &i);

// ---- Cells --------------------------------------------------------------------
// Writes the cells of the intermediate stream; returns the cell count (<= cap).
int EmitCells(const char *stream, int len, uint8_t *cells, int cap);

// Cell rule steps; each writes into out (room for 8 cells) and returns the count.
int MakeHira(const char *stream, int index, JpLetter prevType, int *takeBack, uint8_t *out);
int MakePre(JpLetter prevType, const char *prevChar, JpLetter nowType, const char *now, uint8_t *out);
int MakeKutoufu(const char *now, const char *next, uint8_t *out);
int HankakuKigo(char c, bool decimalPoint, uint8_t *out);
int MakeHankakuKigoPre(const char *now, JpLetter prevType, const char *prevChar, const uint8_t *cellsBefore,
    int cellCount, uint8_t *out, int *after, uint8_t *afterCells);
int ZenkakuKigo(uint32_t cp, uint8_t *out);
int MakeKigoPrefixByte(JpLetter prevType, const char *prevChar, uint32_t now, uint32_t next, uint8_t *out);
int MakeTwoByteKigo(uint32_t cp, uint8_t *out);
int TaniKigo(uint32_t cp, uint8_t *out);
int OngakuKigo(uint32_t cp, bool first, bool last, uint8_t *out);
int Suuji(uint32_t cp, uint8_t *out);
uint8_t LetterCell(uint32_t cp);  // a-z / A-Z, half- or full-width

}  // namespace jp
}  // namespace kotari
