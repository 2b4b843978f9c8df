// Japanese translator: the MeCab call, the token parse, the analysis passes
// (pronunciation, fractions, katakana words, alphanumerics, tsunagi,
// addresses, expressions, foreign words, abbreviations, word spacing) and the
// intermediate stream they produce.
#include <mecab.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "lang/japanese/jp_internal.h"
#include "lang/japanese/jp_kanji_readings.h"

namespace kotari {
namespace jp {

namespace {

bool IsNoun(const MorphToken &t) { return Eq(t.pos, "名詞"); }
bool IsKigo(const MorphToken &t) { return Eq(t.pos, "記号"); }
bool IsJoshi(const MorphToken &t) { return Eq(t.pos, "助詞"); }
bool IsJodoushi(const MorphToken &t) { return Eq(t.pos, "助動詞"); }
bool IsVerb(const MorphToken &t) { return Eq(t.pos, "動詞"); }

JpLetter FirstType(const char *s) {
    int len = 0;
    return LetterType(s, &len, true);
}

JpLetter LastType(const char *s) {
    JpLetter t = NOT_DEFINED;
    for (int i = 0; s[i];) {
        int len = 0;
        t = LetterType(s + i, &len, true);
        if (len <= 0) break;
        i += len;
    }
    return t;
}

// Whether s is not empty and every character of it is of letter type `type`.
bool AllOfType(const char *s, JpLetter type) {
    if (!*s) return false;
    for (int i = 0; s[i];) {
        int len = 0;
        if (LetterType(s + i, &len, true) != type || len <= 0) return false;
        i += len;
    }
    return true;
}

bool IsLatin(JpLetter t) {
    return t == HANKAKU_OOMOJI || t == HANKAKU_KOMOJI || t == ZENKAKU_OOMOJI || t == ZENKAKU_KOMOJI;
}

bool BeginsJapanese(const char *s) { return BlockTypeOf(FirstType(s), true) == 2; }

// Morae of a katakana or hiragana text: every kana but the small vowels and
// small y-row kana; ー and ッ count. Characters that are not kana count nothing.
int Morae(const char *s) {
    return CountCodePoints(s, [](uint32_t c) {
        uint32_t h = (c >= 0x30A1 && c <= 0x30F6) ? c - 0x60 : c;
        bool small = h == 0x3041 || h == 0x3043 || h == 0x3045 || h == 0x3047 || h == 0x3049 || h == 0x3083 ||
                     h == 0x3085 || h == 0x3087 || h == 0x308E;
        return ((h >= 0x3041 && h <= 0x3096) || c == 0x30FC) && !small;
    });
}

// Kana rows used by the pronunciation rules (katakana, UTF-8).
const char *const kORow[] = {"オ", "コ", "ソ", "ト", "ノ", "ホ", "モ", "ヨ", "ロ", "ヲ", "ゴ", "ゾ", "ド", "ボ", "ポ",
    "ョ"};
const char *const kARow[] = {"ア", "カ", "ガ", "サ", "ザ", "タ", "ダ", "ナ", "ハ", "バ", "マ", "ヤ", "ラ", "ワ", "パ",
    "ャ"};
const char *const kIRow[] = {"イ", "キ", "ギ", "シ", "ジ", "チ", "ヂ", "ニ", "ヒ", "ビ", "ミ", "リ", "ピ"};
const char *const kURow[] = {"ウ", "ク", "グ", "ス", "ズ", "ツ", "ヅ", "ヌ", "フ", "ブ", "プ", "ム", "ユ", "ル", "ュ"};
const char *const kERow[] = {"エ", "ケ", "ゲ", "セ", "ゼ", "テ", "デ", "ネ", "ヘ", "ベ", "メ", "レ", "ペ"};

template <size_t N>
bool InRow(const char *kana, const char *const (&row)[N]) {
    for (const char *k : row)
        if (std::strncmp(kana, k, 3) == 0) return true;
    return false;
}

bool IsSentenceEnd(const MorphToken &t) { return IsSentenceEndToken(t); }

bool IsSpaceToken(const MorphToken &t) { return Eq(t.surface, " ") || Eq(t.surface, "　"); }

}  // namespace

bool IsORowKana(const char *kana) { return InRow(kana, kORow); }

bool IsContentWord(const MorphToken &t) {
    static const char *const kContent[] = {"名詞", "動詞", "形容詞", "連体詞", "副詞", "感動詞"};
    for (const char *p : kContent)
        if (Eq(t.pos, p)) return true;
    return false;
}

void SplitKatakanaCompounds(mecab_t *tagger, MorphToken *t, int count);
void SplitKanjiCompounds(mecab_t *tagger, MorphToken *t, int count);
void NumeralWords(MorphToken *t, int count);
void CounterSounds(MorphToken *t, int count);
void SplitVerbPhrases(mecab_t *tagger, MorphToken *t, int count);
void SplitNamedPlaces(mecab_t *tagger, MorphToken *t, int count);
void NativeNumberWords(MorphToken *t, int *count);

// ---- Parse ----------------------------------------------------------------------

// A word the dictionary lacks keeps its surface as its pronunciation, and a kanji
// has no cell: each kanji is replaced by its reading from the fallback table so
// that the word is read out instead of vanishing (々 repeats the reading before it).
static void ReadUnknownKanji(MorphToken *tok) {
    char out[sizeof tok->pro] = "";
    int n = 0;
    const char *prev = nullptr;
    bool changed = false;
    for (const char *s = tok->pro; *s;) {
        int len = 0;
        uint32_t cp = DecodeAt(s, &len);
        if (len <= 0) break;
        const char *reading = cp == 0x3005 ? prev : KanjiReadingOf(cp);
        if (!Append(out, sizeof out, &n, reading ? reading : s, reading ? -1 : len)) break;
        changed = changed || reading != nullptr;
        prev = reading;
        s += len;
    }
    if (changed) {
        JP_LOG("unknown kanji read as %s\n", out);
        SetField(tok->pro, out);
    }
}

bool ParseMecabLine(const char *line, MorphToken *tok) {
    std::memset(tok, 0, sizeof *tok);
    if (line[0] == '\0' || Eq(line, "EOS")) return false;
    int r = std::sscanf(line, "%127[^\t] %31[^,],%37[^,],%31[^,],%*[^,],%*[^,],%31[^,],%*[^,],%255[^,],%255[^,\n]",
        tok->surface, tok->pos, tok->posd1, tok->posd2, tok->conjForm, tok->read, tok->pro);
    if (r < 7) {
        JP_LOG("no pronounce use surface\n");
        SetField(tok->pro, tok->surface);
        ReadUnknownKanji(tok);
    } else if (Eq(tok->pro, "*")) {
        if (!Eq(tok->read, "*")) {
            JP_LOG("read copy * user read\n");
            SetField(tok->pro, tok->read);
        } else {
            JP_LOG("read * use surface\n");
            SetField(tok->pro, tok->surface);
            ReadUnknownKanji(tok);
        }
    }
    return true;
}

// ---- Pronunciation ------------------------------------------------------------------

void AdjustPronounce(MorphToken &t) {
    JP_LOG("AdjustPronounce in %s\n", t.pro);
    // A word written in katakana is already written as it sounds: braille spells
    // it as written (カルシウム, not the dictionary's カルシューム).
    bool katakana = AllOfType(t.surface, KATAKANA);
    if (katakana) {
        // Keep the pronunciation only where it differs by ー for a written ウ (ガッコウ -> ガッコー).
        size_t n = std::strlen(t.surface);
        bool choonOnly = std::strlen(t.pro) == n;
        for (size_t b = 0; choonOnly && b + 3 <= n; b += 3) {
            if (std::strncmp(t.surface + b, t.pro + b, 3) == 0) continue;
            choonOnly = std::strncmp(t.surface + b, "ウ", 3) == 0 && std::strncmp(t.pro + b, "ー", 3) == 0;
        }
        if (!choonOnly) SetField(t.pro, t.surface);
        return;
    }
    static const char kChoon[] = "ー";
    if (IsContentWord(t)) {
        // A long vowel that the kana orthography writes as a vowel: take the
        // vowel from the reading. Where reading and pronunciation line up kana
        // by kana, every such ー is replaced; otherwise the first one decides.
        size_t plen = std::strlen(t.pro), rlen = std::strlen(t.read);
        bool changed = false;
        for (size_t b = 3; b + 3 <= plen; b += 3) {
            if (std::strncmp(t.pro + b, kChoon, 3) != 0) continue;
            if (b + 3 > rlen) break;
            const char *before = t.pro + b - 3;
            const char *r = t.read + b;
            bool o = InRow(before, kORow) && std::strncmp(r, "オ", 3) == 0;
            bool a = InRow(before, kARow) && std::strncmp(r, "ア", 3) == 0;
            bool i = InRow(before, kIRow) && std::strncmp(r, "イ", 3) == 0;
            bool e = InRow(before, kERow) && (std::strncmp(r, "エ", 3) == 0 || std::strncmp(r, "イ", 3) == 0);
            if (o || a || i || e) {
                if (o) JP_LOG("oretsu + choon adjusted to o\n");
                if (a) JP_LOG("aretsu + choon adjusted to a\n");
                if (i) JP_LOG("iretsu + choon adjusted to i\n");
                if (e) JP_LOG("eretsu + choon adjusted to e\n");
                if (plen == rlen) {
                    std::memcpy(t.pro + b, r, 3);
                    changed = true;
                } else {
                    SetField(t.pro, t.read);
                    changed = true;
                    break;
                }
            }
            if (plen != rlen) break;  // only the first ー when the two do not line up
        }
        if (changed) JP_LOG("aieretsu + choon adjusted\n");
    }
    // Douon renko: チヂ / ツヅ kept from the reading.
    if (!Eq(t.pro, t.read) && !Eq(t.read, "*")) {
        for (const char *pair : {"チヂ", "ツヅ"}) {
            for (const char *p = std::strstr(t.read, pair); p; p = std::strstr(p + 3, pair)) {
                if ((p - t.read) % 6 == 0) {
                    JP_LOG("douon renko adjusted\n");
                    SetField(t.pro, t.read);
                    break;
                }
            }
        }
    }
    // Nigo no rendaku: ヂ / ヅ inside a word kept from the reading.
    const char *dj = std::strstr(t.read, "ヂ");
    const char *dz = std::strstr(t.read, "ヅ");
    if ((dj && dj != t.read) || (dz && dz != t.read)) {
        if (!Eq(t.pro, t.read)) {
            JP_LOG("nigo no rendaku adjusted\n");
            SetField(t.pro, t.read);
        }
    }
}

// ---- Tsunagi ----------------------------------------------------------------------------

void CheckTsunagi(const MorphToken &p, MorphToken &i) {
    if (i.useSurface) return;
    if (IsNoun(p) && Eq(p.posd1, "数")) {
        bool kind = IsJoshi(i) || IsJodoushi(i) ||
                    (IsNoun(i) && (Eq(i.posd1, "数") || Eq(i.posd1, "一般") || Eq(i.posd1, "サ変接続") ||
                                      Eq(i.posd2, "助数詞")));
        if (kind && i.pro[0]) {
            bool youon = std::strncmp(i.pro + 3, "ャ", 3) == 0 || std::strncmp(i.pro + 3, "ュ", 3) == 0 ||
                         std::strncmp(i.pro + 3, "ョ", 3) == 0;
            static const char *const kA[] = {"ア", "イ", "ウ", "エ", "オ"};
            static const char *const kR[] = {"ラ", "リ", "ル", "レ", "ロ"};
            if (!youon) {
                for (const char *k : kA)
                    if (StartsWith(i.pro, k)) {
                        JP_LOG("start with Agyo and tsunagirequired\n");
                        i.tsunagi = true;
                        return;
                    }
                for (const char *k : kR)
                    if (StartsWith(i.pro, k)) {
                        JP_LOG("start with Ragyo and tsunagirequired\n");
                        i.tsunagi = true;
                        return;
                    }
            }
        }
    }
    if (IsNoun(i) && (Eq(i.posd1, "一般") || Eq(i.posd1, "接尾"))) {
        bool pOk = IsKigo(p) || (IsNoun(p) && (Eq(p.posd1, "一般") || Eq(p.posd1, "固有名詞")) && Eq(i.posd1, "接尾"));
        if (pOk && IsLatin(LastType(p.surface)) && BeginsJapanese(i.surface)) {
            JP_LOG("alphabet and will be kana tsunagirequired\n");
            i.tsunagi = true;
        }
    }
}

// ---- Passes ----------------------------------------------------------------------------------

namespace {

void RestoreSpaces(const char *text, MorphToken *t, int count) {
    int spaces[kMaxSpaces];
    int sc = 0;
    int kept = 0;
    bool inRun = false;
    for (int i = 0; text[i]; ++i) {
        char c = text[i];
        if (c == ' ' || c == '\n' || c == '\v') {  // MeCab drops these
            if (!inRun && sc < kMaxSpaces) spaces[sc++] = kept;
            inRun = true;
        } else {
            ++kept;
            inRun = false;
        }
    }
    JP_LOG("jpanalyzer checking space in original count=%d\n", sc);
    int sum = 0;
    int s = 0;
    for (int i = 0; i < count && s < sc; ++i) {
        sum += static_cast<int>(std::strlen(t[i].surface));
        while (s < sc && spaces[s] < sum) ++s;
        if (s < sc && spaces[s] == sum && i + 1 < count) {
            JP_LOG("Space Found i:%d, bytecount:%d\n", i, sum);
            t[i + 1].space = true;
            ++s;
        }
    }
}

bool AllAsciiDigits(const char *s) {
    if (!*s) return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9') return false;
    return true;
}

void Fractions(MorphToken *t, int count) {
    JP_LOG("Bunsuu count=%d\n", count);
    for (int i = 1; i + 1 < count; ++i) {
        if (!Eq(t[i].surface, "/") || !AllAsciiDigits(t[i - 1].surface) || !AllAsciiDigits(t[i + 1].surface)) continue;
        // Inside a longer run of ASCII (a path, an address, a date 2024/1/2) the
        // slash is no fraction: swapping the numbers would corrupt the text.
        auto ascii = [](JpLetter l) {
            return l == HANKAKU_KIGOU || l == HANKAKU_OOMOJI || l == HANKAKU_KOMOJI || l == HANKAKU_SUUJI;
        };
        if ((i >= 2 && !t[i - 1].space && ascii(LastType(t[i - 2].surface))) ||
            (i + 2 < count && !t[i + 2].space && ascii(FirstType(t[i + 2].surface))))
            continue;
        JP_LOG("i:%d Bunsuu\n", i);
        t[i].bunsuu = true;
        bool s1 = t[i - 1].space, s2 = t[i + 1].space;
        MorphToken tmp = t[i - 1];
        t[i - 1] = t[i + 1];
        t[i + 1] = tmp;
        t[i - 1].space = s1;
        t[i + 1].space = s2;
        ++i;
    }
}

void GetKata(MorphToken &t) {
    int i = 0;
    bool onlyKata = !t.surface[0] || AllOfType(t.surface, KATAKANA);
    if (onlyKata) {
        t.katakanatype = 1;
        return;
    }
    int lastKind = 0;
    while (t.surface[i]) {
        int len = 0;
        uint32_t c = DecodeAt(t.surface + i, &len);
        if (len <= 0) break;
        JpLetter lt = LetterType(t.surface + i, &len, true);
        int kind = c == 0x30FB ? 2 : lt == KATAKANA ? 1 : 4;
        if (kind != lastKind || kind == 2) {
            if (t.pieceCount >= 7) {
                JP_LOG("Katakanaindexcount :%d is over :%d\n", t.pieceCount, 7);
                break;
            }
            t.pieceStart[t.pieceCount] = static_cast<uint8_t>(i);
            t.pieceKind[t.pieceCount] = static_cast<uint8_t>(kind);
            ++t.pieceCount;
            if (kind == 2 && t.katakanatype == 0) t.katakanatype = 2;
            if (kind == 4) t.katakanatype = 4;
        }
        lastKind = kind;
        i += len;
    }
    JP_LOG("out GetKata :%d type:%d\n", t.pieceCount, t.katakanatype);
}

void KatakanaWords(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking Katakana block in Japanese\n");
    int listed = 0;
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (!IsNoun(k) || !Eq(k.posd1, "固有名詞") || std::strchr(k.pro, ' ')) continue;
        if (i > 0 && t[i - 1].katakanatype && StartsWith(k.surface, "＝")) {
            JP_LOG("equal in katakana:%d\n", i);
            k.katakanatype = 5;
            continue;
        }
        int others = 0, kanji = 0, skata = 0, okata = 0;
        for (int j = 0; k.surface[j];) {
            int len = 0;
            uint32_t c = DecodeAt(k.surface + j, &len);
            if (len <= 0) break;
            if (c == 0x30E3 || c == 0x30E5 || c == 0x30E7 || c == 0x30EE || c == 0x30F5 || c == 0x30F6) ++skata;
            else if (c >= 0x30A0 && c <= 0x30FF) ++okata;
            else if (FirstType(k.surface + j) == KANJI) ++kanji;
            else ++others;
            j += len;
        }
        JP_LOG("others:%d kanji:%d skata:%d okata:%d\n", others, kanji, skata, okata);
        if (others == 0 && okata == 0 && skata != 0) continue;
        if (listed >= 16) continue;
        GetKata(k);
        if (k.pieceCount > 0) ++listed;
    }
}

void Alphanumerics(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking Eisuu block in Japanese\n");
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        StrBlock b[10];
        int nb = GetStrBlock(k.surface, b);
        JP_LOG("i:%d eisuu? blocktypes\n", i);
        int cp0len = 0;
        uint32_t cp0 = DecodeAt(k.surface, &cp0len);
        bool oneTwoByte = nb == 1 && b[0].type == 7 && k.surface[cp0len] == '\0';
        if (oneTwoByte) {
            k.useSurface = true;
            if (cp0 == 0xD7 || cp0 == 0xF7) {
                bool prevA = i > 0 && t[i - 1].useSurface;
                bool nextA = i + 1 < count && GetStrBlock(t[i + 1].surface, b) > 0 && b[0].type == 1;
                if (!(prevA && nextA)) {
                    JP_LOG("TWOBYTE Enzanshi skip since prev next\n");
                    continue;
                }
                nb = GetStrBlock(k.surface, b);
            }
        }
        bool eisu = nb > 0;
        for (int j = 0; j < nb && eisu; ++j) {
            if (b[j].type == 1) continue;
            if (b[j].type == 7) {
                int len = 0;
                for (int q = b[j].start; q < b[j].start + b[j].len; q += len) {
                    uint32_t c = DecodeAt(k.surface + q, &len);
                    if (len <= 0) break;
                    if (!(c == 0xD7 || c == 0xF7 || (c >= 0x80 && c <= 0xBF))) eisu = false;
                }
                continue;
            }
            if (b[j].type == 6 && j > 0 && b[j - 1].type == 1 && std::strncmp(k.surface + b[j].start, "、", 3) == 0 &&
                b[j].len == 3)
                continue;
            eisu = false;
        }
        if (eisu) {
            JP_LOG("isEisu:%d\n", i);
            JP_LOG("useSurface i:%d\n", i);
            k.useSurface = true;
            if ((IsNoun(k) || IsKigo(k)) && (b[nb - 1].type == 1 || b[nb - 1].type == 7)) {
                JP_LOG("hankakuonly i:%d\n", i);
                k.hankakuOnly = true;
            }
        }
    }
    JP_LOG("jpanalyzer zenkaku check count=%d\n", count);
    for (int i = 0; i < count; ++i) {
        StrBlock b[10];
        int nb = GetStrBlock(t[i].surface, b);
        bool all = nb > 0;
        for (int j = 0; j < nb; ++j)
            if (b[j].type < 3 || b[j].type > 7) all = false;
        if (all) t[i].useSurface = true;
    }
}

// Runs of useSurface tokens: calls f(start, end) for each, end exclusive.
// Calls f(s, e) for each run of tokens [s, e): a run begins at a token i for
// which begins(i) holds and goes on over the tokens for which goesOn(i) holds.
template <typename B, typename G, typename F>
void ForEachRun(int count, B begins, G goesOn, F f) {
    int i = 0;
    while (i < count) {
        if (!begins(i)) {
            ++i;
            continue;
        }
        int s = i++;
        while (i < count && goesOn(i)) ++i;
        f(s, i);
    }
}

template <typename F>
void ForEachSurfaceRun(MorphToken *t, int count, F f) {
    auto surface = [t](int i) { return t[i].useSurface; };
    ForEachRun(count, surface, surface, f);
}

// The surfaces of tokens [s, e) joined into buf (cap bytes), as far as they fit whole.
void JoinSurfaces(const MorphToken *t, int s, int e, char *buf, int cap) {
    int n = 0;
    buf[0] = '\0';
    for (int q = s; q < e; ++q)
        if (!Append(buf, cap, &n, t[q].surface)) break;
}

bool MailAddress(const char *joined, int *beginOffset) {
    const char *at = std::strchr(joined, '@');
    if (!at) return false;
    const char *begin = joined;
    for (const char *p = joined; p < at; ++p)
        if (*p == ':') begin = p + 1;
    const char *dom = at + 1;
    const char *dot = std::strchr(dom, '.');
    size_t total = std::strlen(joined);
    if (!dot || dot == dom || static_cast<size_t>(dot - joined) >= total - 2) return false;
    for (const char *p = begin; *p; ++p) {
        char c = *p;
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
                  c == '-' || c == '@';
        if (!ok) return false;
    }
    JP_LOG("pattern match:%d\n", 1);
    *beginOffset = static_cast<int>(begin - joined);
    return true;
}

void Addresses(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking Address block\n");
    ForEachSurfaceRun(t, count, [&](int s, int e) {
        // The run ends at an input space: an address never spans one.
        for (int a = s; a < e;) {
            int b = a + 1;
            while (b < e && !t[b].space && !IsSpaceToken(t[b])) ++b;
            // Web addresses.
            int starts = 0;
            for (int w = a; w < b && starts < 20; ++w) {
                char win[20];
                int n = 0;
                win[0] = '\0';
                for (int q = w; q < b && n <= 8; ++q) {
                    int len = static_cast<int>(std::strlen(t[q].surface));
                    if (n + len > 19) len = 19 - n;
                    std::memcpy(win + n, t[q].surface, static_cast<size_t>(len));
                    n += len;
                    win[n] = '\0';
                    if (n >= 19) break;
                }
                if (std::strstr(win, "http://") || std::strstr(win, "https://") || std::strstr(win, "ftp://")) {
                    ++starts;
                    for (int q = w; q < b; ++q) t[q].addressMember = true;
                    break;
                }
            }
            // Mail addresses.
            bool hasAt = false;
            for (int q = a; q < b; ++q)
                if (std::strchr(t[q].surface, '@')) hasAt = true;
            if (hasAt) {
                char joined[200];
                int n = 0;
                joined[0] = '\0';
                for (int q = a; q < b; ++q)
                    if (!Append(joined, sizeof joined, &n, t[q].surface)) break;
                char zen[200];
                std::snprintf(zen, sizeof zen, "%s", joined);
                char *at = std::strchr(zen, '@');
                if (at) *at = '\0';
                JP_LOG("zenhan:%s kouhan:%s\n", zen, at ? at + 1 : "");
                int off = 0;
                if (MailAddress(joined, &off)) {
                    int sum = 0;
                    for (int q = a; q < b; ++q) {
                        sum += static_cast<int>(std::strlen(t[q].surface));
                        if (sum > off) {
                            JP_LOG("isAdd?%x ", q);
                            t[q].addressMember = true;
                        }
                    }
                }
            }
            a = b;
        }
    });
    for (int i = 0; i < count; ++i) {
        if (!t[i].addressMember) continue;
        if (i == 0 || !t[i - 1].addressMember || t[i].space) t[i].blockStart = 1;
        if (i + 1 == count || !t[i + 1].addressMember || t[i + 1].space) t[i].blockEnd = 1;
        if (t[i].blockStart || t[i].blockEnd)
            JP_LOG("Gaikoku or Address start:%x end:%x\n", t[i].blockStart, t[i].blockEnd);
    }
}

void HashTags(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking HashTag block\n");
    for (int i = 0; i + 1 < count; ++i) {
        if (t[i].hankakuOnly && Eq(t[i].surface, "#")) {
            t[i].hashtag = true;
            t[i + 1].hashtag = true;
        }
    }
}

void Gatsu(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking hankakusuu-gatsu block\n");
    for (int i = 1; i < count; ++i) {
        if (Eq(t[i].surface, "月") && IsNoun(t[i]) && (Eq(t[i].pro, "ゲツ") || Eq(t[i].pro, "ツキ")) &&
            Eq(t[i - 1].posd1, "数")) {
            JP_LOG("%d pronounce gatsu\n", i);
            SetField(t[i].pro, "ガツ");
        }
    }
}

bool HasOperator(const char *s, bool *equals) {
    bool any = false;
    *equals = false;
    for (int i = 0; s[i];) {
        int len = 0;
        uint32_t c = DecodeAt(s + i, &len);
        if (len <= 0) break;
        if (c == '=') *equals = any = true;
        if (c == '+' || c == '-' || c == 0xF7 || c == 0xD7) any = true;
        i += len;
    }
    return any;
}

void Expressions(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking suushiki block\n");
    ForEachRun(
        count, [&](int i) { return t[i].useSurface && !t[i].addressMember; },
        [&](int i) { return t[i].useSurface && !t[i].addressMember; },
        [&](int s, int e) {
            int ops[20];
            int nops = 0, eq = 0, other = 0;
            for (int q = s; q < e && nops < 20; ++q) {
                bool isEq = false;
                if (HasOperator(t[q].surface, &isEq)) {
                    ops[nops++] = q;
                    if (isEq) ++eq;
                    else ++other;
                }
            }
            JP_LOG("SuuShiki? arrcount:%d\n", nops);
            JP_LOG("eq:%d\n", eq);
            JP_LOG("other:%d\n", other);
            if (nops == 0 || (eq > 0 && other == 0) || (eq == 0 && other <= 1)) return;
            int last = ops[nops - 1];
            int end = e;
            for (int q = last + 1; q < e; ++q)
                if (t[q].space) {
                    end = q;
                    break;
                }
            for (int q = s; q < end; ++q) t[q].suushiki = true;
        });
}

bool IsUnitWord(const char *s) {
    static const char *const kUnits[] = {"atm", "l/mol", "mol", "km/s", "g/cm³", "sec", "km", "kg", "ml", "cc", "dB",
        "Hz", "cm", "E-mail"};
    for (const char *u : kUnits)
        if (Eq(s, u)) return true;
    return false;
}

void ForeignWords(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking gaikoku block\n");
    ForEachRun(
        count,
        [&](int i) {
            return t[i].useSurface && !t[i].addressMember && !t[i].suushiki && IsLatin(FirstType(t[i].surface));
        },
        [&](int i) { return t[i].useSurface && !t[i].addressMember && !t[i].suushiki; },
        [&](int s, int e) {
            char joined[100];
            JoinSurfaces(t, s, e, joined, sizeof joined);
            bool multiWord = false;
            for (int q = s + 1; q < e; ++q)
                if (t[q].space) multiWord = true;
            if (char *paren = std::strchr(joined, ')')) *paren = '\0';
            int letters = 0, symbols = 0;
            for (const char *p = joined; *p; ++p) {
                unsigned char c = static_cast<unsigned char>(*p);
                if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) ++letters;
                else if (c < 0x80) ++symbols;
            }
            if (IsUnitWord(joined) || (letters == 1 && symbols == 1)) return;
            // Japanese braille quotes a foreign phrase (several words), a word with an
            // apostrophe and a dotted name such as a host name; a single plain word
            // takes only the foreign-letter sign.
            bool apostrophe = std::strchr(joined, '\'') != nullptr;
            bool dotted = false;
            for (const char *p = std::strchr(joined, '.'); p && !dotted; p = std::strchr(p + 1, '.')) {
                for (const char *q = p + 1; *q; ++q)
                    if ((*q >= 'a' && *q <= 'z') || (*q >= 'A' && *q <= 'Z')) dotted = true;
            }
            // Several words are quoted inside Japanese text or when they form a sentence.
            bool japaneseNeighbour =
                (s > 0 && BeginsJapanese(t[s - 1].surface)) || (e < count && BeginsJapanese(t[e].surface));
            bool sentence = std::strpbrk(joined, ",.!?") != nullptr;
            bool secondWord = false;
            for (int q = s + 1; q < e; ++q)
                if (t[q].space && IsLatin(FirstType(t[q].surface))) secondWord = true;
            multiWord = multiWord && secondWord && (japaneseNeighbour || sentence);
            if (!multiWord && !apostrophe && !dotted) return;
            // Paired double quotes give way to the foreign-word quotes.
            int quotes = 0;
            for (int q = s; q < e; ++q)
                if (std::strchr(t[q].surface, '"')) ++quotes;
            for (int q = s; q < e; ++q) {
                t[q].gaikokuMember = true;
                if (quotes >= 2) {
                    char *w = t[q].surface;
                    int o = 0;
                    for (int r = 0; w[r]; ++r)
                        if (w[r] != '"') w[o++] = w[r];
                    w[o] = '\0';
                }
            }
            t[s].blockStart = 2;
            t[e - 1].blockEnd = 2;
            JP_LOG("\n set gaikoku start flag\n");
        });
}

bool IsZenCapital(uint32_t c) { return c >= 0xFF21 && c <= 0xFF3A; }

// Full-width or ASCII capitals alternating with a separator, at least 3 letters.
int Alternating(const char *s, uint32_t sep, bool full) {
    int letters = 0;
    bool wantLetter = true;
    for (int i = 0; s[i];) {
        int len = 0;
        uint32_t c = DecodeAt(s + i, &len);
        if (len <= 0) return 0;
        if (wantLetter) {
            if (full ? !IsZenCapital(c) : !(c >= 'A' && c <= 'Z')) return 0;
            ++letters;
        } else if (c != sep) {
            return 0;
        }
        wantLetter = !wantLetter;
        i += len;
    }
    return letters;
}

void Abbreviations(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking ryakusho\n");
    ForEachRun(
        count, [&](int i) { return t[i].useSurface && !IsSentenceEnd(t[i]); },
        [&](int i) { return t[i].useSurface && !IsSentenceEnd(t[i]) && !t[i].space; },
        [&](int s, int e) {
            char joined[1024];
            JoinSurfaces(t, s, e, joined, sizeof joined);
            int kindCap = 0, kindOther = 0;
            if (Alternating(joined, 0x30FB, true) >= 3) {
                kindCap = 1;
                kindOther = 2;
            } else if (Alternating(joined, 0xFF0E, true) >= 3 && !(e < count && IsNoun(t[e]))) {
                kindCap = 3;
                kindOther = 4;
            } else if (Alternating(joined, '.', false) >= 3) {
                kindCap = 5;
                kindOther = 6;
            }
            if (!kindCap) return;
            for (int q = s; q < e; ++q) {
                int len = 0;
                uint32_t c = DecodeAt(t[q].surface, &len);
                bool cap = kindCap == 5 ? (c >= 'A' && c <= 'Z') : IsZenCapital(c);
                if (cap) t[q].ryakusho = kindCap;
                else if (kindCap == 5 && t[q].surface[len] != '\0') t[q].ryakusho = 7;
                else t[q].ryakusho = kindOther;
            }
        });
}

void Chemicals(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking Kagakushiki block\n");
    int runs = 0;
    int i = 0;
    while (i < count && runs < 10) {
        JpLetter f = FirstType(t[i].surface);
        if (BlockTypeOf(f, true) == 1 || f == KUTOUFU) {
            ++i;
            continue;
        }
        int s = i;
        while (i < count && BlockTypeOf(FirstType(t[i].surface), true) != 1 && !IsSentenceEnd(t[i])) ++i;
        ++runs;
        JP_LOG("countofZen:%d\n", runs);
        int chem = 0;
        for (int q = s; q < i && chem < 20; ++q)
            if (Eq(t[q].read, "chemical")) ++chem;
        if (!chem) {
            if (i == s) ++i;
            continue;
        }
        int first = -1, last = -1;
        for (int q = s; q < i; ++q) {
            if (!BeginsJapanese(t[q].surface)) {
                if (first < 0) first = q;
                last = q;
            }
        }
        if (first >= 0) {
            JP_LOG("start\n");
            t[first].kagakuStart = true;
            JP_LOG("end\n");
            t[last].kagakuEnd = true;
        }
        if (i == s) ++i;
    }
}

void Music(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking Ongaku Kigou\n");
    int i = 0;
    while (i < count) {
        if (BlockTypeOf(FirstType(t[i].surface), true) != 8) {
            ++i;
            continue;
        }
        t[i].musicalStart = true;
        while (i < count && BlockTypeOf(FirstType(t[i].surface), true) == 8) t[i++].useSurface = true;
        if (i < count) t[i].musicalEnd = true;
        else t[i - 1].musicalEnd = true;  // the run ends the text: its last token closes it
    }
}

bool StartsNonInitial(const char *s) {
    int len = 0;
    uint32_t c = DecodeAt(s, &len);
    uint32_t h = (c >= 0x30A1 && c <= 0x30F6) ? c - 0x60 : c;
    return h == 0x3041 || h == 0x3043 || h == 0x3045 || h == 0x3047 || h == 0x3049 || h == 0x3083 || h == 0x3085 ||
           h == 0x3087 || h == 0x308E || h == 0x3063 || h == 0x3093 || c == 0x30FC;
}

// A compound noun is divided between its parts (meaning units); a part of
// one mora joins its neighbour.
constexpr int kCompoundMorae = 2;

// One-kanji prefixes that stand apart from an independent noun (キュー コーシャ,
// ゼン カイチョー); others (再, 未, 非, 不, 御 ...) join it.
bool PrefixApart(const MorphToken &p) {
    static const char *const kApart[] = {"各", "旧", "元", "故", "前", "当", "同", "某", "両", "貴", "亡", "翌", "要",
        "本", "総"};
    for (const char *k : kApart)
        if (Eq(p.surface, k)) return true;
    return false;
}

// Whether content word c continues the word of p (no space between them),
// following Japanese braille word division. leftMorae counts the morae of the
// noun compound that p ends, rightMorae those of c with its suffixes.
bool Continues(const MorphToken &p, const MorphToken &c, bool honorific, bool last, int leftMorae, int rightMorae) {
    if (Eq(p.pos, "接頭詞"))
        return !(Eq(p.posd1, "名詞接続") && PrefixApart(p) && IsNoun(c) && !Eq(c.posd1, "数") &&
                 !Eq(c.posd1, "接尾") && !c.useSurface);
    // Numbers are divided by rule 11, runs of letters, digits and symbols by the
    // input's own spaces and rule 12.
    if (IsNoun(c) && Eq(c.posd1, "数"))
        return !(Eq(p.pos, "副詞") || Eq(p.pos, "形容詞") || Eq(p.pos, "連体詞") || Eq(p.pos, "感動詞") ||
                 Eq(p.pos, "フィラー") || Eq(p.pos, "接続詞"));
    // A counter or a short noun straight after a number joins it (1ガツ, 3ニン);
    // a longer word stands apart (ダイ1 ダンカイ).
    if (IsNoun(p) && Eq(p.posd1, "数") && IsNoun(c)) return Eq(c.posd2, "助数詞") || Morae(c.pro) <= 2;
    if (c.useSurface && p.useSurface) return true;
    if (c.bunsuu || p.bunsuu) return true;
    if (Eq(c.posd1, "接尾")) return true;
    // A short adverbial noun after この, その joins it (コノママ, コノホド); この本 stays apart.
    if (Eq(p.pos, "連体詞") && IsNoun(c) && (Eq(c.posd1, "副詞可能") || Eq(c.posd1, "非自立")) && Morae(c.pro) <= 2 &&
        Morae(p.pro) <= 2)
        return true;
    // Sentence-final こと, もの after an auxiliary (キレイダコト).
    if (IsNoun(c) && Eq(c.posd1, "非自立") && IsJodoushi(p) && (Eq(c.surface, "こと") || Eq(c.surface, "もの")) &&
        last)
        return true;
    if (Eq(c.posd1, "非自立")) {
        if (IsNoun(c)) return Eq(c.posd2, "助動詞語幹") || Eq(c.surface, "の") || Eq(c.surface, "ん");
        // Contracted auxiliaries (てる, ちゃう, とく ...) join the verb; a full auxiliary verb after て stands apart.
        if (IsVerb(c)) {
            if (StartsWith(c.surface, "て") || StartsWith(c.surface, "で") || StartsWith(c.surface, "ちゃ") ||
                StartsWith(c.surface, "じゃ") || StartsWith(c.surface, "と") || StartsWith(c.surface, "ど"))
                return IsVerb(p) || Eq(p.surface, "て") || Eq(p.surface, "で");
            // 読み始める joins; お読み頂く, お黙りなさい keep the auxiliary apart.
            return IsVerb(p) && StartsWith(p.conjForm, "連用") && !honorific;
        }
        return (IsVerb(p) || Eq(p.pos, "形容詞")) && StartsWith(p.conjForm, "連用") &&
               !Eq(p.surface, "て");  // 読みやすい; ほしい after て stands apart
    }
    // Compound verbs (読み始める) and verbal nouns with する (勉強する).
    if (IsVerb(c)) {
        // して after ず or べく works as one particle (カカズシテ).
        if (Eq(c.surface, "し") && IsJodoushi(p) && (Eq(p.surface, "ず") || Eq(p.surface, "べく"))) return true;
        if (IsVerb(p) && StartsWith(p.conjForm, "連用") && !EndsWith(p.surface, "て")) return true;
        // する joins a one-kanji noun (愛する); after a longer noun it is a word of
        // its own (ベンキョー スル).
        int len = 0;
        bool oneKanji = LetterType(p.surface, &len, true) == KANJI && p.surface[len] == '\0';
        if (IsNoun(p) && Eq(p.posd1, "サ変接続") && !p.useSurface && oneKanji &&
            (StartsWith(c.surface, "す") || StartsWith(c.surface, "し") || StartsWith(c.surface, "さ") ||
                StartsWith(c.surface, "せ")))
            return true;
        return false;
    }
    // After the suffix of a place name (都, 区, 市 ...) the next part of the address stands apart.
    if (IsNoun(c) && IsNoun(p) && Eq(p.posd1, "接尾") && Eq(p.posd2, "地域")) return false;
    // Compound nouns: parts of three morae or more stand apart, shorter ones join.
    if (IsNoun(c) && IsNoun(p) && !Eq(c.posd1, "数") && !Eq(p.posd1, "数")) {
        if (Eq(p.posd2, "人名") && Eq(c.posd2, "人名")) return false;  // family and given name
        if (c.useSurface || p.useSurface) return true;
        return leftMorae < kCompoundMorae || rightMorae < kCompoundMorae;
    }
    return false;
}

void Spacing(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking space count=%d\n", count);
    if (count > 0 && t[0].suushiki) t[0].suushikiStart = true;  // an expression opening the text
    int nounMorae = count > 0 && (IsNoun(t[0]) || Eq(t[0].pos, "接頭詞")) ? Morae(t[0].pro) : 0;
    int wordMorae = count > 0 ? Morae(t[0].pro) : 0;  // since the last division
    for (int i = 1; i < count; ++i) {
        MorphToken &p = t[i - 1];
        MorphToken &c = t[i];
        // Morae of the noun compound that p ends: counted since the last division.
        int leftMorae = nounMorae;
        // After the decision: a suffix makes a noun of the whole word so far (オモサ).
        struct Track {
            const MorphToken &c;
            int &run;
            int &word;
            ~Track() {
                word = (c.space ? 0 : word) + Morae(c.pro);
                if (IsNoun(c) && Eq(c.posd1, "接尾") && !c.space) run = word;
                else run = (IsNoun(c) || Eq(c.pos, "接頭詞")) ? (c.space ? 0 : run) + Morae(c.pro) : 0;
            }
        } track{c, nounMorae, wordMorae};
        auto sp = [&](const char *why) {
            JP_LOG(why, i);
            c.space = true;
        };
        // A word repeated by 々 stands apart when it has three morae or more (ナカマ ナカマ).
        if (Eq(c.surface, "々") && Morae(c.pro) >= 3 && !p.useSurface) {
            sp("spacerequired i:%d for repeated word\n");
            continue;
        }
        // No word begins with a small kana, ッ, ン or ー: the analyser split a word.
        if (StartsNonInitial(c.surface)) continue;
        if (c.katakanatype == 5) continue;  // written as a space itself
        // 1. Expressions.
        if (p.suushiki && !c.suushiki) {
            sp("spacerequired i:%d for SuuShiki end\n");
            continue;
        }
        if (c.suushiki && !p.suushiki) {
            sp("spacerequired i:%d for SuuShiki start\n");
            c.suushikiStart = true;
            continue;
        }
        // 2. Chemical formulas.
        if (c.kagakuStart) {
            sp("spacerequired i:%d before KagakuShiki\n");
            continue;
        }
        if (p.kagakuEnd) {
            if (IsKigo(c) && Eq(c.posd1, "読点")) {
                JP_LOG("omit touten after KagakuShiki:%d\n", i);
                c.skip = true;
            } else {
                JP_LOG("spacerequired i:%d after KagakuShiki %s\n", i, c.surface);
                c.space = true;
            }
            continue;
        }
        // A star mark stands apart from the text it marks.
        if (p.marktype == 2 && !IsKigo(c)) {
            sp("spacerequired i:%d after hoshi\n");
            continue;
        }
        // 3. Hash tags.
        if (c.hashtag && Eq(c.surface, "#") && IsKigo(c)) {
            sp("spacerequired i:%d for HashTag sign\n");
            continue;
        }
        // 4. Symbols.
        if (IsKigo(c)) {
            // After punctuation or another bracket the symbol's own cells divide already.
            if (Eq(c.posd1, "括弧開") && BlockTypeOf(FirstType(c.surface), true) == 5 && !IsKigo(p))
                sp("spacerequired i:%d for opening zenkaku brace\n");
            continue;
        }
        // 5. After a symbol.
        if (IsKigo(p)) {
            bool pFull = BlockTypeOf(FirstType(p.surface), true) >= 3;
            if ((IsNoun(c) || IsJoshi(c)) && Eq(p.posd1, "括弧閉")) {
                if (pFull) sp("spacerequired i:%d after kakkotoji\n");
            } else if (Eq(p.surface, "：") && p.useSurface &&
                       !(BlockTypeOf(FirstType(c.surface), true) == 3 && i >= 2 &&
                           BlockTypeOf(LastType(t[i - 2].surface), true) == 3)) {  // not in a time 21：46
                sp("spacerequired i:%d Zen Colon to NOUN\n");
            } else if (IsJoshi(c)) {
                if (!(c.addressMember || c.ryakusho || Eq(p.posd1, "括弧開") || Eq(p.surface, "*") ||
                        Eq(p.surface, "＊") || p.marktype == 1))
                    sp("spacerequired i:%d for kigo now joshi\n");
            } else if (IsNoun(c)) {
                static const char *const kContractions[] = {"s", "re", "ll", "m", "t", "ve", "d"};
                bool contraction = false;
                for (const char *k : kContractions)
                    if (Eq(c.surface, k)) contraction = true;
                if (Eq(p.surface, ".") && BeginsJapanese(c.surface)) {
                    sp("spacerequired i:%d for dot\n");
                } else if ((p.blockEnd == 1 && c.blockStart == 2) || (p.blockEnd == 2 && c.blockStart == 1)) {
                    sp("spacerequired i:%d for gaikoku to address or vice versa\n");
                } else if (std::strchr(p.surface, ',') && (Eq(c.posd1, "一般") || Eq(c.posd1, "固有名詞"))) {
                    sp("spacerequired i:%d for comma\n");
                } else if (Eq(p.surface, "'") && c.hankakuOnly && !contraction) {
                    sp("spacerequired i:%d after apostrophe\n");
                } else if (LastType(p.surface) == SPECIAL_CHARACTERS) {
                    sp("spacerequired i:%d after special ch\n");
                }
            }
            continue;
        }
        // 6. Foreign word followed by a particle or auxiliary.
        // (Also after a word in Latin letters or an address: kana would read on as letters.)
        bool latinWord = p.useSurface && (IsLatin(LastType(p.surface)) || p.blockEnd == 1);
        if ((p.gaikokuMember || latinWord) && (IsJoshi(c) || IsJodoushi(c))) {
            sp("spacerequired i:%d for Gaikokugo to JOSHI or JODOUSHI\n");
            continue;
        }
        // 7, 14. A foreign-word block starts.
        if (c.blockStart == 2) {
            if (BeginsJapanese(p.surface)) sp("spacerequired i:%d for zenkaku+gaikokugo\n");
            continue;
        }
        // 8. Numbers and suffixes.
        if (!c.tsunagi && IsNoun(c)) {
            auto in = [&](const char *const *list, int n) {
                for (int k = 0; k < n; ++k)
                    if (Eq(c.surface, list[k])) return true;
                return false;
            };
            static const char *const kZougen[] = {"増", "減", "発", "着", "弱"};
            static const char *const kKeishou[] = {"さん", "様", "君", "殿", "氏", "著", "さま", "くん", "ちゃん"};
            if (Eq(c.posd1, "数") && IsNoun(p) && (Eq(p.posd1, "接尾") || Eq(p.posd1, "副詞可能"))) {
                sp("spacerequired i:%d for NOUN,setsubi/fukushikanou + NOUN.suu\n");
                continue;
            }
            if (Eq(c.posd1, "接尾") && Eq(c.posd2, "一般") && in(kZougen, 5) && IsNoun(p) && Eq(p.posd1, "接尾") &&
                Eq(p.posd2, "助数詞")) {
                sp("spacerequired i:%d for NOUN,setsubi,josuushi and NOUN,setsubi,ippan,zougenhacchakukyoujaku\n");
                continue;
            }
            if (Eq(c.posd1, "接尾") && Eq(c.posd2, "人名") && in(kKeishou, 9) && IsNoun(p) &&
                Eq(p.posd1, "固有名詞") && Eq(p.posd2, "人名")) {
                sp("spacerequired i:%d for NOUN,setsubi,jinmei and NOUN,setsubi,jinmei\n");
                continue;
            }
            // Like 曲: the work, words or house of a named person (作, 画, 著, 談, 居 …),
            // whether the dictionary has the word as a suffix or as a noun.
            static const char *const kWork[] = {"曲", "作", "画", "編", "訳", "記", "著", "撰", "筆", "談", "居",
                "絵"};
            if (((Eq(c.posd1, "接尾") && Eq(c.posd2, "一般")) || Eq(c.posd1, "一般")) && in(kWork, 12) && IsNoun(p) &&
                Eq(p.posd1, "固有名詞") && Eq(p.posd2, "人名")) {
                sp("spacerequired i:%d for NOUN,setsubi,ippan and NOUN,setsubi,jinmei\n");
                continue;
            }
        }
        // ござる (ございます) is a verb of its own after any word (シズカデ ゴザイマス).
        if (IsJodoushi(c) && StartsWith(c.pro, "ゴザ")) {
            JP_LOG("spacerequired i:%d j:%d\n", i, i - 1);
            c.space = true;
            continue;
        }
        // ない after a particle is the adjective "not be", a word of its own (ラクジャ ナイ).
        if (IsJodoushi(c) && IsJoshi(p) && StartsWith(c.pro, "ナ") &&
            (StartsWith(c.pro, "ナイ") || StartsWith(c.pro, "ナカッ") || StartsWith(c.pro, "ナク") ||
                StartsWith(c.pro, "ナケレ"))) {
            JP_LOG("spacerequired i:%d j:%d\n", i, i - 1);
            c.space = true;
            continue;
        }
        // 9. Prefixes and conjunctions.
        if (Eq(c.pos, "接頭詞") && (Eq(c.posd1, "動詞接続") || Eq(c.posd1, "名詞接続"))) {
            sp("spacerequired i:%d for settoshi doushisetsuzoku\n");
            continue;
        }
        if (Eq(c.pos, "接続詞") && IsNoun(p)) {
            sp("spacerequired i:%d for settoshi doushisetsuzoku\n");
            continue;
        }
        // A name is divided once, between family and given name: after a division
        // inside the name (the input's own space) the rest of the name stays whole.
        if (IsNoun(c) && IsNoun(p) && Eq(c.posd2, "人名") && Eq(p.posd2, "人名") && Eq(c.posd1, "固有名詞") &&
            Eq(p.posd1, "固有名詞")) {
            bool divided = false;
            for (int q = i - 1; q > 0 && Eq(t[q].posd2, "人名") && Eq(t[q - 1].posd2, "人名"); --q)
                if (t[q].space) divided = true;
            if (divided) continue;
        }
        // 10. Content words.
        bool honorific = i >= 2 && Eq(t[i - 2].pos, "接頭詞") &&
                         (Eq(t[i - 2].surface, "お") || Eq(t[i - 2].surface, "ご") || Eq(t[i - 2].surface, "御"));
        int rightMorae = Morae(c.pro);
        for (int q = i + 1; q < count && IsNoun(t[q]) && Eq(t[q].posd1, "接尾") && !t[q].space; ++q)
            rightMorae += Morae(t[q].pro);
        if ((IsContentWord(c) || Eq(c.pos, "フィラー")) && !(IsNoun(c) && Eq(c.posd1, "接尾")) &&
            !Continues(p, c, honorific, i + 1 == count || IsKigo(t[i + 1]), leftMorae, rightMorae)) {
            JP_LOG("spacerequired i:%d j:%d\n", i, i - 1);
            c.space = true;
            continue;
        }
        if (Eq(p.pos, "接頭詞")) {
            bool o = Eq(p.surface, "お") || Eq(p.surface, "御") || Eq(p.surface, "ご");
            // 第 joins its number.
            bool numeral = Eq(p.posd1, "数接続") && !Eq(p.surface, "第");
            // Before a name a prefix stands apart (シン トーキョー); before a common
            // word it joins (サイホーソー, ミケイケンシャ).
            bool noun = Eq(p.posd1, "名詞接続") && !o && Eq(c.posd1, "固有名詞");
            if (numeral || noun) {
                sp("spacerequired i:%d for prev settoshi\n");
                continue;
            }
        }
        // 11. Numbers.
        if (IsNoun(c) && Eq(c.posd1, "数")) {
            if (IsJoshi(p) || IsVerb(p) || (IsNoun(p) && Eq(p.posd1, "一般") && !c.useSurface)) {
                sp("spacerequired i:%d for suu after joshi/doushi/NOUN.IPPAN\n");
                continue;
            }
            if (IsNoun(p) && Eq(p.posd1, "固有名詞")) {
                sp("spacerequired i:%d for suu after koyu meishi\n");
                continue;
            }
        }
        // 13. After numbers listed with nakaten.
        if (IsNoun(c) && p.kansuujitype == 2 && c.kansuujitype != 2) {
            sp("spacerequired i:%d for NAKATEN_KANSUU\n");
            continue;
        }
        // 12. Consecutive English words.
        // (Not inside one run of letters that the analyser cut in two.)
        if (IsNoun(c) && (Eq(c.posd1, "一般") || Eq(c.posd1, "固有名詞")) && c.useSurface && !c.addressMember &&
            IsNoun(p) && (Eq(p.posd1, "一般") || Eq(p.posd1, "固有名詞")) &&
            !(IsLatin(LastType(p.surface)) && IsLatin(FirstType(c.surface)))) {
            sp("spacerequired i:%d for English sentence\n");
            continue;
        }
    }
}

// Writes one token's text into out; returns its length.
int TokenOutput(const MorphToken *t, int count, int *index, char *out, int cap) {
    const int i = *index;
    const MorphToken &k = t[i];
    int n = 0;
    out[0] = '\0';
    if (k.space && k.tsunagi) {
        Append(out, cap, &n, "_");
    } else {
        if (k.space) {
            JP_LOG("spacerequired\n");
            Append(out, cap, &n, " ");
        }
        if (k.tsunagi) {
            JP_LOG("tsunagirequired\n");
            Append(out, cap, &n, "_");
        }
    }
    if (k.bunsuu) {
        Append(out, cap, &n, "ブンノ");
        return n;
    }
    if (k.hienzanStart) Append(out, cap, &n, "(");
    if (k.kansuujiFirst && k.kansuujitype) {
        char digits[512];
        int len = ConvertKanSuu(t, i, k.kansuujiLast + 1, k.kansuujitype, digits, sizeof digits);
        if (len > 0) {
            Append(out, cap, &n, digits, len);
            if (t[k.kansuujiLast].hienzanEnd) Append(out, cap, &n, ")");
            *index = k.kansuujiLast;
            return n;
        }
    }
    if (k.skip) return n;
    if (k.useSurface && k.marktype != 0 && k.marktype != 6) {
        char marks[kStreamBytes];
        int len = MarkOutput(t, count, i, marks, sizeof marks);
        Append(out, cap, &n, marks, len);
        if (k.hienzanEnd) Append(out, cap, &n, ")");
        return n;
    }
    if (k.useSurface) {
        if (k.katakanatype == 5) {
            Append(out, cap, &n, " ");
            return n;
        }
        if (k.ryakusho) {
            if (k.ryakusho == 2 || k.ryakusho == 4 || k.ryakusho == 6) return n;
            if (k.ryakusho == 7) {
                int len = static_cast<int>(std::strlen(k.surface));
                JP_LOG("ryakusho HAN_NOTONLY_PERIOD %s outputcount%d\n", k.surface, n);
                Append(out, cap, &n, k.surface, len > 0 ? len - 1 : 0);
                return n;
            }
            Append(out, cap, &n, k.surface);
            return n;
        }
        if (k.musicalEnd && BlockTypeOf(FirstType(k.surface), true) != 8)
            Append(out, cap, &n, "\xF0\x9D\x89\x85");  // U+1D245 closes the run before this token
        if (k.musicalStart) Append(out, cap, &n, "\xF0\x9D\x80\x80");  // U+1D000 opens the run
        if (k.suushikiStart) Append(out, cap, &n, "\x01");
        if (k.blockStart == 2) Append(out, cap, &n, "\x02");
        if (k.blockStart == 1) Append(out, cap, &n, "\x15");
        Append(out, cap, &n, k.surface);
        if (k.hienzanEnd) Append(out, cap, &n, ")");
        if (k.blockEnd == 2) Append(out, cap, &n, "\x03");
        if (k.blockEnd == 1) Append(out, cap, &n, "\x14");
        if (k.musicalEnd && BlockTypeOf(FirstType(k.surface), true) == 8)
            Append(out, cap, &n, "\xF0\x9D\x89\x85");  // the run ends the text
        return n;
    }
    if (k.musicalEnd) Append(out, cap, &n, "\xF0\x9D\x89\x85");
    if (k.katakanatype == 2 && k.pieceCount > 0) {
        for (int p = 0; p < k.pieceCount; ++p) {
            int start = k.pieceStart[p];
            int end = p + 1 < k.pieceCount ? k.pieceStart[p + 1] : static_cast<int>(std::strlen(k.surface));
            JP_LOG("start:%d len:%d\n", start, end - start);
            if (k.pieceKind[p] == 2) Append(out, cap, &n, " ");
            else Append(out, cap, &n, k.surface + start, end - start);
        }
        return n;
    }
    if (k.katakanatype == 4 && k.pieceCount > 0) {
        // Katakana pieces are found in the pronunciation; other pieces cover what lies between.
        char temp[100];
        int tn = 0;
        temp[0] = '\0';
        int proLen = static_cast<int>(std::strlen(k.pro));
        int pos[8], len[8];
        int cursor = 0;
        for (int p = 0; p < k.pieceCount; ++p) {
            pos[p] = -1;
            len[p] = 0;
            if (k.pieceKind[p] != 1) continue;
            int start = k.pieceStart[p];
            int end = p + 1 < k.pieceCount ? k.pieceStart[p + 1] : static_cast<int>(std::strlen(k.surface));
            char piece[128];
            std::snprintf(piece, sizeof piece, "%.*s", end - start, k.surface + start);
            JP_LOG("kata buffer:%s\n", piece);
            const char *found = std::strstr(k.pro + cursor, piece);
            if (found) {
                pos[p] = static_cast<int>(found - k.pro);
                len[p] = end - start;
                cursor = pos[p] + len[p];
            }
        }
        int from = 0;
        int prevKind = 0;
        for (int p = 0; p < k.pieceCount; ++p) {
            int kind = k.pieceKind[p];
            const char *piece = nullptr;
            int plen = 0;
            if (kind == 1 && pos[p] >= 0) {
                piece = k.pro + pos[p];
                plen = len[p];
                from = pos[p] + len[p];
            } else if (kind == 4) {
                int to = proLen;
                for (int q = p + 1; q < k.pieceCount; ++q)
                    if (k.pieceKind[q] == 1 && pos[q] >= 0) {
                        to = pos[q];
                        break;
                    }
                piece = k.pro + from;
                plen = to > from ? to - from : 0;
                from = to;
            }
            bool ok = true;
            if (kind == 2) ok = Append(temp, sizeof temp, &tn, " ");
            else if (piece && plen > 0) {
                if (prevKind && prevKind != 2 && prevKind != kind) ok = Append(temp, sizeof temp, &tn, " ");
                if (ok) ok = Append(temp, sizeof temp, &tn, piece, plen);
            }
            if (!ok) {
                JP_LOG("temp_count:%d over temp_max:%d\n", tn, 99);
                break;
            }
            prevKind = kind;
        }
        JP_LOG("temp_count:%d,temp_out:%s\n", tn, temp);
        Append(out, cap, &n, temp);
        return n;
    }
    if (k.katakanatype == 5) {
        Append(out, cap, &n, " ");
        return n;
    }
    Append(out, cap, &n, k.pro);
    if (k.hienzanEnd) Append(out, cap, &n, ")");
    if (Eq(k.read, "chemical")) Append(out, cap, &n, " ");
    return n;
}

}  // namespace

int AnalyzeTokens(const char *text, MorphToken *t, int count, char *stream, int cap, mecab_t *tagger) {
    RestoreSpaces(text, t, count);
    MergeMarkTokens(t, &count);
    JP_LOG("jpanalyzer Adjusting pronounce count=%d\n", count);
    for (int i = 0; i < count; ++i) AdjustPronounce(t[i]);
    NativeNumberWords(t, &count);
    CounterSounds(t, count);
    if (tagger) {
        SplitKatakanaCompounds(tagger, t, count);
        SplitKanjiCompounds(tagger, t, count);
        SplitVerbPhrases(tagger, t, count);
        SplitNamedPlaces(tagger, t, count);
    }
    NumeralWords(t, count);
    for (int i = 1; i < count; ++i) {
        const MorphToken &p = t[i - 1];
        MorphToken &c = t[i];
        size_t pl = std::strlen(p.pro);
        if (IsJodoushi(c) && (IsJodoushi(p) || IsVerb(p)) && Eq(c.pro, "ウ") && pl >= 3 &&
            IsORowKana(p.pro + pl - 3)) {
            JP_LOG("adjusted pro with previous\n");
            SetField(c.pro, "ー");
        }
    }
    // The verb 言う is written イウ, not as pronounced (ユー); an adnominal ending
    // in いう is two words, the second one イウ.
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        const char *r = std::strstr(k.read, "イウ");
        char *y = std::strstr(k.pro, "ユウ");
        if (!r || !y) continue;
        std::memcpy(y, "イ", 3);
        size_t at = static_cast<size_t>(y - k.pro);
        if (Eq(k.pos, "連体詞") && Eq(y, "イウ") && Morae(k.read) >= 4 && at + 5 < sizeof k.pro) {
            char split[256];
            std::snprintf(split, sizeof split, "%.*s %s", static_cast<int>(at), k.pro, y);
            SetField(k.pro, split);
        }
    }
    // Loanwords in katakana: ヰ ヱ are written イ エ, and ヂ ヅ are written ジ ズ
    // unless they repeat a チ or ツ (チヂミ, ツヅキ).
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (!Eq(k.pro, k.surface) && !Eq(k.read, k.surface)) continue;
        if (!AllOfType(k.surface, KATAKANA)) continue;
        for (size_t b = 0; b + 3 <= std::strlen(k.pro); b += 3) {
            char *c = k.pro + b;
            const char *prev = b >= 3 ? k.pro + b - 3 : "";
            if (std::strncmp(c, "ヰ", 3) == 0) std::memcpy(c, "イ", 3);
            else if (std::strncmp(c, "ヱ", 3) == 0) std::memcpy(c, "エ", 3);
            else if (std::strncmp(c, "ヂ", 3) == 0 && std::strncmp(prev, "チ", 3) != 0) std::memcpy(c, "ジ", 3);
            else if (std::strncmp(c, "ヅ", 3) == 0 && std::strncmp(prev, "ツ", 3) != 0) std::memcpy(c, "ズ", 3);
            if (static_cast<unsigned char>(*c) < 0xE0) break;  // not all three-byte kana
        }
    }
    // A wave dash straight after a kana at the end of a word draws the vowel out (ネエー).
    for (int i = 1; i < count; ++i) {
        MorphToken &k = t[i];
        if (!(StartsWith(k.surface, "～") || StartsWith(k.surface, "〜")) || k.space) continue;
        // The analyser may keep 。 or ！ with the dash.
        bool punctuationOnly = !k.surface[3] || AllOfType(k.surface + 3, KUTOUFU);
        JpLetter last = LastType(t[i - 1].surface);
        if (!punctuationOnly || (last != HIRAGANA && last != KATAKANA)) continue;
        if (i + 1 < count && !IsKigo(t[i + 1]) && !t[i + 1].space && k.surface[3] == '\0') continue;
        char drawn[128];
        std::snprintf(drawn, sizeof drawn, "ー%s", k.surface + 3);
        SetField(k.surface, drawn);
        SetField(k.pro, drawn);
    }
    // The u-euphony of a verb before た or て is written with the long-vowel sign
    // after a u- or o-row kana, like any long vowel (オモウテ -> オモーテ).
    for (int i = 0; i + 1 < count; ++i) {
        MorphToken &k = t[i];
        const MorphToken &n = t[i + 1];
        size_t pl = std::strlen(k.pro);
        // (Not before だろう, でしょう: there the verb keeps its own ウ.)
        bool te = StartsWith(n.surface, "た") || StartsWith(n.surface, "て");
        if (!IsVerb(k) || !te || n.space || pl < 6 || !Eq(k.pro + pl - 3, "ウ")) continue;
        if (!(IsORowKana(k.pro + pl - 6) || InRow(k.pro + pl - 6, kURow))) continue;
        std::memcpy(k.pro + pl - 3, "ー", 3);
    }
    // Compound particles built on a verb (にとって, として, における ...) are written
    // with the verb apart: ニ トッテ.
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (!IsJoshi(k) || !Eq(k.posd2, "連語")) continue;
        if (!(StartsWith(k.pro, "ニ") || StartsWith(k.pro, "ト")) || Morae(k.pro + 3) < 2) continue;
        char split[256];
        std::snprintf(split, sizeof split, "%.3s %s", k.pro, k.pro + 3);
        SetField(k.pro, split);
    }
    // A word the dictionary does not know keeps its hiragana surface as its
    // pronunciation: write it as katakana, with ー for a long u- or o-row sound
    // spelled with う (ぐうぐう -> グーグー), as the dictionary's pronunciations do.
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        bool unknown = Eq(k.pro, k.surface) && (k.read[0] == '\0' || Eq(k.read, "*"));
        if (!unknown) continue;
        if (!AllOfType(k.pro, HIRAGANA)) continue;
        char kata[256];
        int n = 0;
        uint32_t prev = 0;
        for (int b = 0; k.pro[b];) {
            int len = 0;
            uint32_t c = DecodeAt(k.pro + b, &len);
            if (len <= 0) break;
            uint32_t out = c <= 0x3096 ? c + 0x60 : c;
            char prevKana[4] = {0};
            EncodeUtf8(prev, prevKana);
            bool uRow = prev == 0x30A6 || prev == 0x30AF || prev == 0x30B0 || prev == 0x30B9 || prev == 0x30BA ||
                        prev == 0x30C4 || prev == 0x30C5 || prev == 0x30CC || prev == 0x30D5 || prev == 0x30D6 ||
                        prev == 0x30D7 || prev == 0x30E0 || prev == 0x30E6 || prev == 0x30E5 || prev == 0x30EB;
            if (c == 0x3046 && prev && (uRow || IsORowKana(prevKana))) out = 0x30FC;
            if (n + 4 >= static_cast<int>(sizeof kata)) break;
            n += EncodeUtf8(out, kata + n);
            prev = out;
            b += len;
        }
        kata[n] = '\0';
        SetField(k.pro, kata);
    }
    // The iteration mark 々 standing alone repeats the word before it.
    for (int i = 1; i < count; ++i)
        if (Eq(t[i].surface, "々")) SetField(t[i].pro, t[i - 1].pro);
    Fractions(t, count);
    KatakanaWords(t, count);
    KanSuujiBlocks(t, count);
    Alphanumerics(t, count);
    JP_LOG("jpanalyzer tsunagi check count=%d\n", count);
    for (int i = 1; i < count; ++i) CheckTsunagi(t[i - 1], t[i]);
    Addresses(t, count);
    HashTags(t, count);
    Gatsu(t, count);
    Expressions(t, count);
    ForeignWords(t, count);
    Abbreviations(t, count);
    Chemicals(t, count);
    ChuukiPass(t, count);
    FindZenkakuHoshiOrFuseji(t, count);
    FindZenSUU(t, count);
    Music(t, count);
    Spacing(t, count);

    JP_LOG("jpanalyzer making output\n");
    int n = 0;
    stream[0] = '\0';
    for (int i = 0; i < count; ++i) {
        char piece[kStreamBytes];
        int len = TokenOutput(t, count, &i, piece, sizeof piece);
        if (n + len > cap - 1) break;  // a token that does not fit ends the output
        std::memcpy(stream + n, piece, static_cast<size_t>(len));
        n += len;
        stream[n] = '\0';
    }
    return n;
}

// Analyses text alone with the tagger, quietly (a look-up, not part of the
// analysis): its first `cap` tokens are parsed into out, their pronunciations
// adjusted when `adjust`. Returns the number of tokens, or -1 when the result
// cannot be read.
static int LookUp(mecab_t *tagger, const char *text, MorphToken *out, int cap, bool adjust = false) {
    const char *r = mecab_sparse_tostr(tagger, text);
    if (!r) return -1;
    bool diagnostics = g_diagnostics;
    g_diagnostics = false;
    int n = 0;
    for (const char *p = r; *p;) {
        const char *nl = std::strchr(p, '\n');
        size_t len = nl ? static_cast<size_t>(nl - p) : std::strlen(p);
        char line[kResultLine];
        if (len >= sizeof line) {
            n = -1;
            break;
        }
        std::memcpy(line, p, len);
        line[len] = '\0';
        p += len + (nl ? 1 : 0);
        if (Eq(line, "EOS")) break;
        MorphToken scratch;
        MorphToken &t = n < cap ? out[n] : scratch;
        if (!ParseMecabLine(line, &t)) continue;
        if (adjust) AdjustPronounce(t);
        ++n;
    }
    g_diagnostics = diagnostics;
    return n;
}

static bool HasReading(const MorphToken &t) { return t.read[0] && !Eq(t.read, "*"); }

// Whether text alone is one noun that the dictionary knows (it has a reading).
// When pro is given, it receives the noun's pronunciation.
static bool KnownNoun(mecab_t *tagger, const char *text, char *pro = nullptr, size_t cap = 0, bool names = false) {
    MorphToken t;
    if (LookUp(tagger, text, &t, 1) != 1) return false;
    if (!(IsNoun(t) && HasReading(t) && (!Eq(t.posd1, "固有名詞") || (names && Morae(text) >= 3)))) return false;
    // Word endings the dictionary lists as nouns but that never stand alone (アルミ|ニウム).
    static const char *const kEndings[] = {"ニウム", "リウム", "シウム", "ジウム", "チウム", "イウム", "ニア",
        "イズム", "ロジー"};
    for (const char *ending : kEndings)
        if (Eq(text, ending)) return false;
    if (pro) std::snprintf(pro, cap, "%s", t.pro);
    return true;
}

// Whether text alone is one token the dictionary does not know (no reading).
static bool UnknownWord(mecab_t *tagger, const char *text) {
    MorphToken t;
    return LookUp(tagger, text, &t, 1) == 1 && !HasReading(t);
}

// Analyses text alone: the pronunciations of its tokens joined into pro and its
// last token into last; false when a token has no reading.
static bool AnalyseAlone(mecab_t *tagger, const char *text, char *pro, size_t cap, MorphToken *last, int *tokens) {
    MorphToken t[8];
    int count = LookUp(tagger, text, t, 8, true);
    if (count <= 0 || count > 8) return false;
    size_t n = 0;
    pro[0] = '\0';
    for (int i = 0; i < count; ++i) {
        if (!HasReading(t[i])) return false;
        size_t pl = std::strlen(t[i].pro);
        if (n + pl + 1 > cap) return false;
        std::memcpy(pro + n, t[i].pro, pl + 1);
        n += pl;
    }
    *last = t[count - 1];
    *tokens = count;
    return n > 0;
}

// The pronunciation of text analysed alone, its tokens' pronunciations joined;
// false when a token has none.
static bool ReadingOf(mecab_t *tagger, const char *text, char *out, size_t cap) {
    MorphToken last;
    int tokens = 0;
    return AnalyseAlone(tagger, text, out, cap, &last, &tokens);
}

// A verb or adjective the dictionary lists whole though it is two words
// (気に障る: キニ サワル, 名残惜しい: ナゴリ オシイ, 持って来る: モッテ クル) is divided before
// its last word when that word, analysed alone, is a verb or adjective and the
// reading is the two parts' readings. ない stays with the word before it.
void SplitVerbPhrases(mecab_t *tagger, MorphToken *t, int count) {
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (!(IsVerb(k) || Eq(k.pos, "形容詞")) || !Eq(k.posd1, "自立") || std::strchr(k.pro, ' ')) continue;
        int offsets[40], chars = 0;
        for (int b = 0; k.surface[b] && chars < 40;) {
            int len = 0;
            DecodeAt(k.surface + b, &len);
            if (len <= 0) break;
            offsets[chars++] = b;
            b += len;
        }
        if (chars < 3 || chars >= 40) continue;
        for (int cut = 1; cut <= chars - 2; ++cut) {
            char left[128], lp[256], rp[256];
            std::snprintf(left, sizeof left, "%.*s", offsets[cut], k.surface);
            const char *right = k.surface + offsets[cut];
            MorphToken lt, rt;
            int ln = 0, rn = 0;
            if (!AnalyseAlone(tagger, right, rp, sizeof rp, &rt, &rn) || rn != 1) continue;
            if (!(IsVerb(rt) || Eq(rt.pos, "形容詞")) || !Eq(rt.posd1, "自立") || StartsWith(rt.surface, "な"))
                continue;
            if (!AnalyseAlone(tagger, left, lp, sizeof lp, &lt, &ln)) continue;
            // The first part is a noun written in kanji (心, 色) or ends with a
            // particle (気に, やって); a verb stem or a noun made from one (思い|出す)
            // makes a compound verb.
            int len = 0;
            bool kanjiNoun = ln == 1 && IsNoun(lt) && AllOfType(left, KANJI);
            // A last word in kana follows only て (やって|くる); 無い stays joined.
            bool rightKanji = LetterType(right, &len, true) == KANJI;
            bool te = IsJoshi(lt) && (Eq(lt.surface, "て") || Eq(lt.surface, "で"));
            if (!(te || (rightKanji && (kanjiNoun || IsJoshi(lt)))) || Eq(rp, "ナイ")) continue;
            size_t ll = std::strlen(lp);
            if (std::strncmp(k.pro, lp, ll) != 0 || !Eq(k.pro + ll, rp)) continue;
            if (Morae(lp) < 2 || Morae(rp) < 2) continue;
            char split[sizeof lp + sizeof rp + 2];
            std::snprintf(split, sizeof split, "%s %s", lp, rp);
            JP_LOG("verb phrase %s -> %s\n", k.surface, split);
            SetField(k.pro, split);
            break;
        }
    }
}

// Japanese braille divides a katakana compound between its words (キャッチ ボール,
// ギブ アンド テイク) where each part has two morae or more. The dictionary
// knows such compounds as one word, so the parts are looked up one by one.
static void SplitKatakanaCompound(mecab_t *tagger, const char *word, char *out, size_t cap, int depth,
    bool unknownWhole = false) {
    std::snprintf(out, cap, "%s", word);
    if (depth > 3 || Morae(word) < 4) return;  // a rest of two parts of two morae
    int offsets[64];
    int count = 0;
    for (int b = 0; word[b] && count < 64;) {
        int len = 0;
        DecodeAt(word + b, &len);
        if (len <= 0) break;
        offsets[count++] = b;
        b += len;
    }
    for (int k = count - 1; k >= 1; --k) {
        const char *right = word + offsets[k];
        if (StartsNonInitial(right)) continue;
        char left[128];
        std::snprintf(left, sizeof left, "%.*s", offsets[k], word);
        if (Morae(left) < 2 || Morae(right) < 2) continue;
        bool leftKnown = KnownNoun(tagger, left, nullptr, 0, true);
        bool rightKnown = KnownNoun(tagger, right, nullptr, 0, true);
        // One part the dictionary does not know at all (a loanword of its own)
        // beside a known one, each of three morae or more, in a word the dictionary
        // does not know whole either.
        if (depth == 0 && unknownWhole && leftKnown != rightKnown && Morae(left) >= 3 && Morae(right) >= 3 &&
            UnknownWord(tagger, leftKnown ? right : left)) {
            std::snprintf(out, cap, "%s %s", left, right);
            return;
        }
        if (!leftKnown) continue;
        char rest[256];
        if (rightKnown) {
            std::snprintf(rest, sizeof rest, "%s", right);
        } else {
            SplitKatakanaCompound(tagger, right, rest, sizeof rest, depth + 1);
            if (!std::strchr(rest, ' ')) continue;  // the rest is no known word either
        }
        size_t ll = std::strlen(left), rl = std::strlen(rest);
        if (ll + 1 + rl + 1 > cap) return;  // no room: the word stays whole
        std::memcpy(out, left, ll);
        out[ll] = ' ';
        std::memcpy(out + ll + 1, rest, rl + 1);
        return;
    }
}

// A compound of kanji words that the dictionary lists whole (コーツーアンゼン) is
// divided between two words the dictionary knows, each of two kanji or more,
// when their pronunciations make up the whole one.
void SplitKanjiCompounds(mecab_t *tagger, MorphToken *t, int count) {
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        bool name = Eq(k.posd1, "固有名詞") && (Eq(k.posd2, "一般") || Eq(k.posd2, "組織"));
        if (!IsNoun(k) ||
            !(Eq(k.posd1, "一般") || Eq(k.posd1, "サ変接続") || Eq(k.posd1, "副詞可能") ||
                Eq(k.posd1, "形容動詞語幹") || name) ||
            std::strchr(k.pro, ' '))
            continue;
        // Words written in kanji, or in kanji and hiragana (言葉遊び: コトバ アソビ).
        int offsets[40];
        int chars = 0, kanjiChars = 0;
        bool kanji = true;
        for (int b = 0; k.surface[b] && kanji && chars < 40;) {
            int len = 0;
            JpLetter type = LetterType(k.surface + b, &len, true);
            if (type == KANJI) ++kanjiChars;
            else if (type != HIRAGANA) kanji = false;
            if (len <= 0) break;
            offsets[chars++] = b;
            b += len;
        }
        if (!kanji || chars < 4 || kanjiChars < 2 || k.surface[offsets[chars - 1] + 3] != '\0') continue;
        bool allKanji = kanjiChars == chars;
        for (int cut = 2; cut <= chars - 2; ++cut) {
            char left[128], right[128], lp[256], rp[256];
            std::snprintf(left, sizeof left, "%.*s", offsets[cut], k.surface);
            std::snprintf(right, sizeof right, "%s", k.surface + offsets[cut]);
            if (!KnownNoun(tagger, left, lp, sizeof lp) || !KnownNoun(tagger, right, rp, sizeof rp)) continue;
            size_t ll = std::strlen(lp);
            if (std::strncmp(k.pro, lp, ll) != 0 || !Eq(k.pro + ll, rp)) continue;
            // With kana in the word, each part needs three morae (勝ち負け stays whole).
            int least = allKanji ? kCompoundMorae : 3;
            if (Morae(lp) < least || Morae(rp) < least) continue;
            char split[sizeof lp + sizeof rp + 2];
            std::snprintf(split, sizeof split, "%s %s", lp, rp);
            JP_LOG("kanji compound %s -> %s\n", k.surface, split);
            SetField(k.pro, split);
            break;
        }
        // A phrase of two kanji words (四字熟語) the dictionary knows only whole:
        // divided where one half, analysed alone, reads as its part of the whole
        // (a sound change at the joint may alter the other half).
        if (chars != 4 || !allKanji || std::strchr(k.pro, ' ') || !Eq(k.posd1, "一般")) continue;
        char left[128], lp[256], rp[256];
        std::snprintf(left, sizeof left, "%.*s", offsets[2], k.surface);
        bool lok = ReadingOf(tagger, left, lp, sizeof lp),
             rok = ReadingOf(tagger, k.surface + offsets[2], rp, sizeof rp);
        size_t whole = std::strlen(k.pro), ll = lok ? std::strlen(lp) : 0, rl = rok ? std::strlen(rp) : 0;
        size_t at = 0;
        if (lok && ll < whole && std::strncmp(k.pro, lp, ll) == 0) at = ll;
        else if (rok && rl < whole && Eq(k.pro + whole - rl, rp)) at = whole - rl;
        if (at == 0) continue;
        char lw[256];
        std::snprintf(lw, sizeof lw, "%.*s", static_cast<int>(at), k.pro);
        if (Morae(lw) < kCompoundMorae || Morae(k.pro + at) < kCompoundMorae) continue;
        char split[sizeof k.pro + 2];
        std::snprintf(split, sizeof split, "%s %s", lw, k.pro + at);
        JP_LOG("kanji phrase %s -> %s\n", k.surface, split);
        SetField(k.pro, split);
    }
}

// A name of a place or a body that ends in a common word of three morae or more
// (公園, 高原, 半島, 大学) is divided before that word when the dictionary reads
// both parts, analysed alone, as the whole name reads; the rest of the name is
// divided the same way (カンサイ コクサイ クーコー).
void SplitNamedPlaces(mecab_t *tagger, MorphToken *t, int count) {
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (!IsNoun(k) || !Eq(k.posd1, "固有名詞") || Eq(k.posd2, "人名") || std::strchr(k.pro, ' ')) continue;
        int offsets[40], chars = 0;
        bool kanji = true;
        for (int b = 0; k.surface[b] && kanji && chars < 40;) {
            int len = 0;
            if (LetterType(k.surface + b, &len, true) != KANJI) kanji = false;
            if (len <= 0) break;
            offsets[chars++] = b;
            b += len;
        }
        if (!kanji || chars < 3 || chars >= 40) continue;
        char tail[sizeof k.pro + 40] = "";  // divided words from the end, each with a space before
        int end = chars;  // the part still whole: characters [0, end)
        size_t proEnd = std::strlen(k.pro);
        for (bool found = true; found && end >= 3;) {
            found = false;
            for (int cut = 1; cut <= end - 2; ++cut) {
                char right[128], rp[256], lp[256], left[128];
                int rightBytes =
                    (end < chars ? offsets[end] : static_cast<int>(std::strlen(k.surface))) - offsets[cut];
                std::snprintf(right, sizeof right, "%.*s", rightBytes, k.surface + offsets[cut]);
                std::snprintf(left, sizeof left, "%.*s", offsets[cut], k.surface);
                if (!KnownNoun(tagger, right, rp, sizeof rp) || Morae(rp) < 3) continue;
                size_t rl = std::strlen(rp);
                if (rl >= proEnd || std::strncmp(k.pro + proEnd - rl, rp, rl) != 0) continue;
                if (!ReadingOf(tagger, left, lp, sizeof lp) || std::strlen(lp) != proEnd - rl ||
                    std::strncmp(k.pro, lp, proEnd - rl) != 0 || Morae(lp) < 2)
                    continue;
                size_t tl = std::strlen(tail);
                if (rl + tl + 2 > sizeof tail) continue;
                std::memmove(tail + rl + 1, tail, tl + 1);  // " rp" in front of the words found
                tail[0] = ' ';
                std::memcpy(tail + 1, rp, rl);
                proEnd -= rl;
                end = cut;
                found = true;
                break;
            }
        }
        if (!tail[0]) continue;
        char split[sizeof k.pro + sizeof tail];
        std::snprintf(split, sizeof split, "%.*s%s", static_cast<int>(proEnd), k.pro, tail);
        JP_LOG("place name %s -> %s\n", k.surface, split);
        SetField(k.pro, split);
    }
}

void SplitKatakanaCompounds(mecab_t *tagger, MorphToken *t, int count) {
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        // Units and counters (キログラム) and verbal nouns (ダウンロード) are single
        // words, not compounds.
        // Names of people and places stay whole; the dictionary also lists some common
        // compounds as names of things, and those are divided.
        bool person = Eq(k.posd1, "固有名詞") && !(Eq(k.posd2, "一般") || Eq(k.posd2, "組織"));
        if (!IsNoun(k) || person || Eq(k.posd1, "数") || Eq(k.posd1, "接尾") || Eq(k.posd1, "サ変接続") ||
            !(Eq(k.pro, k.surface) || k.pro[0] == '\0'))
            continue;
        if (!AllOfType(k.surface, KATAKANA) || Morae(k.surface) < 5) continue;  // アドレス, パーティー stay whole
        char split[256];
        SplitKatakanaCompound(tagger, k.surface, split, sizeof split, 0, k.read[0] == '\0' || Eq(k.read, "*"));
        if (std::strchr(split, ' ')) {
            JP_LOG("katakana compound %s -> %s\n", k.surface, split);
            SetField(k.pro, split);
        }
    }
}

// Japanese braille writes a kanji numeral that still counts something with
// digits, also inside a word the dictionary lists whole (三角巾 -> 3カクキン,
// 一塁手 -> 1ルイシュ: the digit replaces the numeral's Sino-Japanese reading, a
// geminate ッ included). Native readings (ヒト, フタ, ミ, ヨ …), names and words
// whose number sense is gone stay kana: the dictionary marks the latter as
// adverbs, adverbial or verbal nouns, and a few frequent common nouns are listed.
static bool NumeralReading(int digit, const char *pro, int *len) {
    static const char *const kReadings[10][4] = {{nullptr}, {"イチ", "イッ", nullptr}, {"ニ", nullptr},
        {"サン", nullptr}, {"ヨン", "シ", nullptr}, {"ゴ", nullptr}, {"ロク", "ロッ", nullptr}, {"シチ", nullptr},
        {"ハチ", "ハッ", nullptr}, {"キュー", "ク", nullptr}};
    for (const char *const *r = kReadings[digit]; *r; ++r)
        if (StartsWith(pro, *r)) {
            *len = static_cast<int>(std::strlen(*r));
            return pro[*len] != '\0';  // a reading of its own must follow
        }
    return false;
}

static bool NumeralWordCandidate(const MorphToken &k) {
    static const char *const kNoCount[] = {"一般", "一体", "一種", "一見", "一方", "一心", "一途", "一向", "一帯",
        "一環", "一律", "一気", "一挙", "一斉", "一概", "一括", "一貫", "一連", "一様", "一瞬", "一切", "一層", "一同",
        "一旦"};
    if (!IsNoun(k) || Eq(k.posd1, "固有名詞")) return false;  // names keep their kana
    for (const char *w : kNoCount)
        if (StartsWith(k.surface, w)) return false;
    if (Eq(k.posd1, "一般")) return true;
    // A phrase of two counted words (三X九Y), whatever its part of speech.
    int b = 0, digits = 0, chars = 0;
    for (; k.surface[b] && chars < 5; ++chars) {
        int len = 0;
        if (LetterType(k.surface + b, &len, true) != KANJI || len <= 0) break;
        char ch[8];
        std::snprintf(ch, sizeof ch, "%.*s", len, k.surface + b);
        bool digit = KanjiDigitValue(ch) >= 1;
        if (digit != (chars % 2 == 0) || KanjiUnitValue(ch) != 0) break;
        digits += digit;
        b += len;
    }
    if (chars == 4 && digits == 2 && k.surface[b] == '\0') return true;
    // Months: 三月 (サンガツ) is the dictionary's adverbial noun.
    int len = 0;
    if (Eq(k.posd1, "副詞可能") && LetterType(k.surface, &len, true) == KANJI && len > 0 &&
        Eq(k.surface + len, "月") && EndsWith(k.pro, "ガツ"))
        return true;
    return false;
}

void NumeralWords(MorphToken *t, int count) {
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (!NumeralWordCandidate(k)) continue;
        // Kanji digits of the surface that start a word of two kanji or more.
        int starts[8], nstarts = 0, chars = 0, kanjiRun = 0;
        int offsets[40];
        for (int b = 0; k.surface[b] && chars < 40;) {
            int len = 0;
            JpLetter type = LetterType(k.surface + b, &len, true);
            if (len <= 0) break;
            if (type != KANJI) {
                kanjiRun = -1;  // only words written in kanji
                break;
            }
            offsets[chars++] = b;
            b += len;
            ++kanjiRun;
        }
        if (kanjiRun < 2) continue;
        for (int c = 0; c + 1 < chars && nstarts < 8; ++c) {
            char ch[8];
            int len = offsets[c + 1] - offsets[c];
            std::snprintf(ch, sizeof ch, "%.*s", len, k.surface + offsets[c]);
            int d = KanjiDigitValue(ch);
            if (d < 1) continue;
            char next[8];
            int nlen = (c + 2 < chars ? offsets[c + 2] : static_cast<int>(std::strlen(k.surface))) - offsets[c + 1];
            std::snprintf(next, sizeof next, "%.*s", nlen, k.surface + offsets[c + 1]);
            if (KanjiDigitValue(next) >= 0 || KanjiUnitValue(next) != 0) continue;  // a number of its own
            if (c == 0 || c >= 2) starts[nstarts++] = c;
        }
        if (nstarts == 0 || starts[0] != 0) continue;
        // A four-kanji phrase of two counted words (三X九Y) is two words with a
        // digit each: the second numeral's reading is found after the first word's.
        if (chars == 4 && nstarts == 2 && starts[1] == 2 && !std::strchr(k.pro, ' ')) {
            char ch[8];
            std::snprintf(ch, sizeof ch, "%.*s", offsets[1], k.surface);
            int d1 = KanjiDigitValue(ch), rl1 = 0;
            std::snprintf(ch, sizeof ch, "%.*s", offsets[3] - offsets[2], k.surface + offsets[2]);
            int d2 = KanjiDigitValue(ch);
            if (NumeralReading(d1, k.pro, &rl1)) {
                // the second word starts at least one kana (3 bytes) into the first word's rest
                for (int b = rl1 + 3; k.pro[b]; b += 3) {
                    int rl2 = 0;
                    if (!NumeralReading(d2, k.pro + b, &rl2)) continue;
                    char split[256];
                    std::snprintf(split, sizeof split, "%d%.*s %d%s", d1, b - rl1, k.pro + rl1, d2, k.pro + b + rl2);
                    JP_LOG("numeral phrase %s -> %s\n", k.surface, split);
                    SetField(k.pro, split);
                    break;
                }
                if (std::strchr(k.pro, ' ')) continue;
            }
        }
        // Words of the reading (divided by compound splitting) are matched in order
        // with the numerals: the first word with the first numeral, a later word
        // with a numeral inside the surface.
        char out[256];
        int n = 0, s = 0;
        bool changed = false;
        const char *w = k.pro;
        while (*w && n < static_cast<int>(sizeof out) - 8) {
            const char *end = std::strchr(w, ' ');
            size_t wl = end ? static_cast<size_t>(end - w) : std::strlen(w);
            char word[256];
            std::snprintf(word, sizeof word, "%.*s", static_cast<int>(wl), w);
            int rl = 0;
            bool first = w == k.pro;
            if (s < nstarts && (first ? starts[s] == 0 : starts[s] > 0)) {
                char ch[8];
                int c = starts[s];
                std::snprintf(ch, sizeof ch, "%.*s", offsets[c + 1] - offsets[c], k.surface + offsets[c]);
                int d = KanjiDigitValue(ch);
                if (NumeralReading(d, word, &rl)) {
                    n += std::snprintf(out + n, sizeof out - static_cast<size_t>(n), "%d%s", d, word + rl);
                    changed = true;
                } else {
                    n += std::snprintf(out + n, sizeof out - static_cast<size_t>(n), "%s", word);
                }
                ++s;
            } else {
                n += std::snprintf(out + n, sizeof out - static_cast<size_t>(n), "%s", word);
            }
            if (n + 2 >= static_cast<int>(sizeof out)) {
                n = static_cast<int>(sizeof out);  // no room: the word stays as it was
                break;
            }
            if (!end) break;
            out[n++] = ' ';
            out[n] = '\0';
            w = end + 1;
        }
        if (!changed || n >= static_cast<int>(sizeof out)) continue;
        JP_LOG("numeral word %s -> %s\n", k.surface, out);
        SetField(k.pro, out);
    }
}

// Numbers with a native reading are written in kana, as they are read: the days
// of the month (ツイタチ, フツカ … トオカ, ハツカ), one and two people (ヒトリ,
// フタリ) and twenty years of age written in kanji (ハタチ). The number tokens
// and the counter become one word.
static int SmallNumber(const MorphToken *t, int s, int e, bool *kanji) {
    int value = 0, pending = -1;
    *kanji = false;
    for (int q = s; q < e; ++q) {
        for (int b = 0; t[q].surface[b];) {
            int len = 0;
            uint32_t c = DecodeAt(t[q].surface + b, &len);
            if (len <= 0) return -1;
            char ch[8];
            std::snprintf(ch, sizeof ch, "%.*s", len, t[q].surface + b);
            b += len;
            int d = -1;
            if (c >= '0' && c <= '9') d = static_cast<int>(c - '0');
            else if (c >= 0xFF10 && c <= 0xFF19) d = static_cast<int>(c - 0xFF10);
            else if ((d = KanjiDigitValue(ch)) >= 0) *kanji = true;
            else if (Eq(ch, "十") && value == 0) {
                value = (pending < 0 ? 1 : pending) * 10;
                pending = -1;
                *kanji = true;
                continue;
            } else return -1;
            if (*kanji && value > 0) {  // the units digit after 十
                if (pending >= 0) return -1;
                pending = d;
                continue;
            }
            if (!*kanji) {
                value = value * 10 + d;
                if (value > 1000) return -1;
            } else {
                if (pending >= 0) return -1;  // 二〇: a digit sequence, not a small number
                pending = d;
            }
        }
    }
    return value + (pending > 0 ? pending : 0);
}

void NativeNumberWords(MorphToken *t, int *count) {
    static const char *const kDays[] = {nullptr, "ツイタチ", "フツカ", "ミッカ", "ヨッカ", "イツカ", "ムイカ",
        "ナノカ", "ヨーカ", "ココノカ", "トオカ"};
    for (int i = 0; i < *count; ++i) {
        if (!(IsNoun(t[i]) && Eq(t[i].posd1, "数"))) continue;
        if (i > 0 && IsNoun(t[i - 1]) && Eq(t[i - 1].posd1, "数")) continue;
        int e = i;
        while (e < *count && IsNoun(t[e]) && Eq(t[e].posd1, "数")) ++e;
        if (e >= *count || !Eq(t[e].posd2, "助数詞")) continue;
        // 五、六日 is "five or six days", numbers read as written.
        if (i >= 2 && Eq(t[i - 1].surface, "、") && IsNoun(t[i - 2]) && Eq(t[i - 2].posd1, "数")) continue;
        bool kanji = false;
        int v = SmallNumber(t, i, e, &kanji);
        const char *word = nullptr;
        char digitsKa[16];
        const MorphToken &unit = t[e];
        if (Eq(unit.surface, "日")) {
            // The first of the month: after a month, or as a date the sentence goes on from.
            // A number after the particle makes it a duration (1日に3回), unless that
            // number is a day too (a range of dates).
            bool date = i > 0 && EndsWith(t[i - 1].surface, "月");
            if (!date && e + 1 < *count && IsJoshi(t[e + 1])) {
                int q = e + 2;
                while (q < *count && IsNoun(t[q]) && Eq(t[q].posd1, "数")) ++q;
                date = q == e + 2 || (q < *count && Eq(t[q].surface, "日"));
            }
            if (v >= 2 && v <= 10) word = kDays[v];
            else if (v == 1 && date) word = kDays[1];
            else if (v == 20) word = "ハツカ";
            else if (v == 14 || v == 24) {  // ジューヨッカ: the digits and カ
                std::snprintf(digitsKa, sizeof digitsKa, "%dカ", v);
                word = digitsKa;
            }
        } else if (Eq(unit.surface, "人")) {
            if (v == 1) word = "ヒトリ";
            else if (v == 2) word = "フタリ";
        } else if (Eq(unit.surface, "歳") && kanji && v == 20) {
            word = "ハタチ";
        }
        if (!word) continue;
        JP_LOG("native number word %s\n", word);
        MorphToken &k = t[i];
        SetField(k.surface, word);
        SetField(k.read, word);
        SetField(k.pro, word);
        SetField(k.posd1, "一般");
        SetField(k.posd2, "*");
        int removed = e - i;
        for (int q = i + 1; q + removed < *count; ++q) t[q] = t[q + removed];
        *count -= removed;
    }
}

// A counter of the ハ row after a number whose reading ends in a geminate
// (イッ, ロッ, ハッ, ジュッ, ヒャッ) is said and written with the パ row:
// 1パイ, 6ポン, 10ピキ. Only two-mora Sino counters change (杯, 本, 匹, 分 …).
void CounterSounds(MorphToken *t, int count) {
    for (int i = 1; i < count; ++i) {
        MorphToken &c = t[i];
        const MorphToken &p = t[i - 1];
        if (!(IsNoun(c) && Eq(c.posd2, "助数詞")) || !(IsNoun(p) && Eq(p.posd1, "数")) || Morae(c.pro) != 2) continue;
        // The last character of the number says how it ends.
        const char *last = nullptr;
        int lastLen = 0;
        for (int b = 0; p.surface[b];) {
            int len = 0;
            DecodeAt(p.surface + b, &len);
            if (len <= 0) break;
            last = p.surface + b;
            lastLen = len;
            b += len;
        }
        if (!last) continue;
        char ch[8];
        std::snprintf(ch, sizeof ch, "%.*s", lastLen, last);
        uint32_t cp = DecodeAt(ch, &lastLen);
        int d = KanjiDigitValue(ch);
        if (cp >= '0' && cp <= '9') d = static_cast<int>(cp - '0');
        if (cp >= 0xFF10 && cp <= 0xFF19) d = static_cast<int>(cp - 0xFF10);
        bool geminate = d == 1 || d == 6 || d == 8 || Eq(ch, "十") || Eq(ch, "百");
        if (d == 0) {
            // 10, 20 … 100: ASCII or full-width digits ending in 0 read ジュッ or ヒャッ
            // unless a larger place ends them (1000: セン).
            int zeros = 0;
            for (int at = static_cast<int>(last - p.surface); at >= 0 && zeros < 4;) {
                int len = 0;
                uint32_t v = DecodeAt(p.surface + at, &len);
                if (!(v == '0' || v == 0xFF10)) break;
                ++zeros;
                at -= (v == '0') ? 1 : 3;
            }
            geminate = zeros == 1 || zeros == 2;
        }
        if (!geminate) continue;
        static const char *const kH[] = {"ハ", "ヒ", "フ", "ヘ", "ホ"};
        static const char *const kP[] = {"パ", "ピ", "プ", "ペ", "ポ"};
        for (int r = 0; r < 5; ++r)
            if (StartsWith(c.pro, kH[r])) {
                char pro[sizeof c.pro];
                std::snprintf(pro, sizeof pro, "%s%s", kP[r], c.pro + std::strlen(kH[r]));
                SetField(c.pro, pro);
                break;
            }
    }
}

int jpanalyzer(const char *text, char *stream, int cap) {
    stream[0] = '\0';
    mecab_t *tagger = mecab_new2("");
    if (!tagger) {
        const char *e = mecab_strerror(nullptr);
        JP_ERR("Exception:%s\n", e && *e ? e : "MeCab could not start (no dictionary or configuration)");
        return 0;
    }
    const char *result = mecab_sparse_tostr(tagger, text);
    if (!result) {
        const char *e = mecab_strerror(tagger);
        JP_ERR("Exception:%s\n", e && *e ? e : "MeCab analysis failed");
        mecab_destroy(tagger);
        return 0;
    }
    JP_LOG("INPUT: %s\n", text);
    JP_LOG("RESULT:\n%s", result);
    JP_LOG("jpanalyzer extract data from mecab ret\n");
    MorphToken tokens[kMaxTokens];
    int count = 0;
    const char *p = result;
    while (*p) {
        const char *nl = std::strchr(p, '\n');
        size_t len = nl ? static_cast<size_t>(nl - p) : std::strlen(p);
        char line[kResultLine];
        size_t keep = len < sizeof line - 1 ? len : sizeof line - 1;
        std::memcpy(line, p, keep);
        line[keep] = '\0';
        p += len + (nl ? 1 : 0);
        if (Eq(line, "EOS")) break;
        if (!line[0]) continue;
        if (count == kMaxTokens) {
            JP_LOG("meret size over\n");
            break;
        }
        if (ParseMecabLine(line, &tokens[count])) ++count;
    }
    // Pronunciations first, so that katakana words are compared as written.
    int n = AnalyzeTokens(text, tokens, count, stream, cap, tagger);
    mecab_destroy(tagger);
    return n;
}

}  // namespace jp
}  // namespace kotari
