// Japanese translator: diagnostics, UTF-8 helpers, letter classes and the
// normalisation of the input (UTF-16 to UTF-8, half-width kana, tabs).
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/diagnostics.h"
#include "lang/japanese/jp_internal.h"
#include "lang/japanese/jp_kanji_readings.h"

namespace kotari {
namespace jp {

bool g_diagnostics = true;

void Diag(DiagStream stream, const char *fmt, ...) {
    if (!g_diagnostics) return;
    // VELUMI_QUIET silences these lines or moves them to standard error, as the SDK's.
    FILE *f = DiagnosticStream(stream == DiagStream::Err ? stderr : stdout);
    if (!f) return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(f, fmt, ap);
    va_end(ap);
}

// ---- UTF-8 ------------------------------------------------------------------

uint32_t DecodeAt(const char *s, int *len) {
    const unsigned char *u = reinterpret_cast<const unsigned char *>(s);
    unsigned char c = u[0];
    if (c == 0) {
        *len = 0;
        return 0;
    }
    int n = c < 0x80                   ? 1
            : (c >= 0xC2 && c <= 0xDF) ? 2
            : (c >= 0xE0 && c <= 0xEF) ? 3
            : (c >= 0xF0 && c <= 0xF4) ? 4
                                       : 1;
    uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1Fu) : n == 3 ? (c & 0x0Fu) : (c & 0x07u);
    for (int k = 1; k < n; ++k) {
        if ((u[k] & 0xC0) != 0x80) {  // truncated or broken: one byte, undefined
            *len = 1;
            return 0xFFFFFFFFu;
        }
        cp = (cp << 6) | (u[k] & 0x3Fu);
    }
    *len = n;
    if (n == 1 && c >= 0x80) return 0xFFFFFFFFu;
    return cp;
}

int EncodeUtf8(uint32_t cp, char *out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

void CopyField(char *dst, size_t n, const char *src) {
    size_t i = 0;
    while (src[i]) {
        int len = 0;
        DecodeAt(src + i, &len);
        if (i + static_cast<size_t>(len) >= n) break;
        i += static_cast<size_t>(len);
    }
    std::memmove(dst, src, i);
    dst[i] = '\0';
}

// ---- Letter classes --------------------------------------------------------------

static bool In(uint32_t c, uint32_t lo, uint32_t hi) { return c >= lo && c <= hi; }

static JpLetter Classify(uint32_t c) {
    if (c == 0x01) return CTRL_SUUSHIKI;
    if (c == 0x02 || c == 0x03) return CTRL_GAIKOKU;
    if (c == 0x04) return CTRL_HOSHI;
    if (c == 0x05) return CTRL_FUSEJI;
    if (c == 0x06) return CTRL_CHUUKI;
    if (c == 0x07) return CTRL_KUURAN;
    if (c == 0x14 || c == 0x15) return CTRL_ADDRESS;
    if (c < 0x80) {
        if (c == '\t' || c == ' ' || In(c, 0x21, 0x2F) || In(c, 0x3A, 0x40) || In(c, 0x5B, 0x60) || In(c, 0x7B, 0x7E))
            return HANKAKU_KIGOU;
        if (In(c, 'A', 'Z')) return HANKAKU_OOMOJI;
        if (In(c, 'a', 'z')) return HANKAKU_KOMOJI;
        if (In(c, '0', '9')) return HANKAKU_SUUJI;
        return NOT_DEFINED;
    }
    if (In(c, 0x80, 0xFF) || c == 0x3BC) return TWOBYTE_KIGOU;
    if (c == 0x3001 || c == 0x3002 || c == 0x30FB || c == 0xFF01 || c == 0xFF0C || c == 0xFF1F || c == 0xFF00)
        return KUTOUFU;
    if (In(c, 0x3040, 0x3096)) return HIRAGANA;
    if (In(c, 0x30A1, 0x30F6) || c == 0x30FC || In(c, 0x31F0, 0x31FF)) return KATAKANA;
    if (In(c, 0xFF61, 0xFF9F)) return HANKAKU_KANA;
    if (c == 0x3005 || In(c, 0x2E80, 0x2FFF) || In(c, 0x3191, 0x319F) || In(c, 0x3400, 0x3FFF) ||
        In(c, 0x4E00, 0x9FFF))
        return KANJI;
    if (In(c, 0x3200, 0x32FF)) return KAKOMI_MOJI;
    if (In(c, 0x3300, 0x33FF)) return TANI_KIGOU;
    if (In(c, 0xFF10, 0xFF19)) return ZENKAKU_SUUJI;
    if (In(c, 0xFF21, 0xFF3A)) return ZENKAKU_OOMOJI;
    if (In(c, 0xFF41, 0xFF5A)) return ZENKAKU_KOMOJI;
    if (In(c, 0x3000, 0x303F) || c == 0x30A0 || c == 0x3190 || In(c, 0xFF02, 0xFF60)) return ZENKAKU_KIGOU;
    if (In(c, 0x2010, 0x203C) || In(c, 0x2050, 0x2054) || In(c, 0x2090, 0x2094) || In(c, 0x20D0, 0x20D4) ||
        In(c, 0x2100, 0x213F) || In(c, 0x2160, 0x217F) || In(c, 0x2190, 0x2194) || In(c, 0x21C0, 0x21FF) ||
        In(c, 0x2200, 0x223F) || In(c, 0x2480, 0x263F))
        return ZENKAKU_KIGOU;
    if (In(c, 0x2240, 0x247F)) return SPECIAL_CHARACTERS;
    if (In(c, 0x2740, 0x2770) || c == 0x2780) return DINGBAT;
    if (In(c, 0x1D000, 0x1D27F)) return ONGAKU_KIGOU;
    return NOT_DEFINED;
}

JpLetter LetterType(const char *s, int *len, bool quiet) {
    uint32_t cp = DecodeAt(s, len);
    JpLetter t = Classify(cp);
    if (t == NOT_DEFINED && !quiet && *len > 0)
        JP_LOG("JPLETTER NOT_DEFINED %02x\n", static_cast<unsigned char>(s[0]));
    return t;
}

JpLetter FirstLetterType(const char *s) {
    int len = 0;
    return LetterType(s, &len, true);
}

int BlockTypeOf(JpLetter t, bool quiet) {
    switch (t) {
    case HANKAKU_KIGOU:
    case HANKAKU_OOMOJI:
    case HANKAKU_KOMOJI:
    case HANKAKU_SUUJI: return 1;
    case HIRAGANA:
    case KATAKANA:
    case HANKAKU_KANA:
    case KANJI:
    case KAKOMI_MOJI: return 2;
    case ZENKAKU_SUUJI: return 3;
    case ZENKAKU_OOMOJI:
    case ZENKAKU_KOMOJI: return 4;
    case TANI_KIGOU:
    case ZENKAKU_KIGOU:
    case SPECIAL_CHARACTERS:
    case DINGBAT: return 5;
    case KUTOUFU: return 6;
    case TWOBYTE_KIGOU: return 7;
    case ONGAKU_KIGOU: return 8;
    default:
        if (!quiet) JP_LOG("BlockType NOT_DEFINED %d\n", static_cast<int>(t));
        return 0;
    }
}

int GetStrBlock(const char *s, StrBlock *blocks) {
    int count = 0;
    int i = 0;
    while (s[i] && s[i] != '\n') {
        int len = 0;
        int bt = BlockTypeOf(LetterType(s + i, &len, true), true);
        if (len <= 0) break;
        if (count > 0 && blocks[count - 1].type == bt) {
            blocks[count - 1].len += len;
        } else {
            if (count == 10) {
                JP_LOG("GetStrBlock reached limit\n");
                return count;
            }
            blocks[count].start = i;
            blocks[count].len = len;
            blocks[count].type = bt;
            ++count;
        }
        i += len;
    }
    return count;
}

// ---- Normalisation -------------------------------------------------------------

int Utf16ToUtf8(const char16_t *in, char *out, int cap) {
    int n = 0;
    for (int i = 0; in[i]; ++i) {
        uint32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            uint32_t lo = in[i + 1];
            if (lo < 0xDC00 || lo > 0xDFFF) break;  // lone high surrogate: stop here
            c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            break;
        }
        char buf[4];
        int len = EncodeUtf8(c, buf);
        if (n + len > cap - 1) break;  // cut at a character boundary
        std::memcpy(out + n, buf, static_cast<size_t>(len));
        n += len;
    }
    out[n] = '\0';
    return n;
}

// Full-width forms of U+FF61..U+FF9F; 0 where a mark stands alone.
static const uint16_t kHankana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2,  // ｡ ｢ ｣ ､ ･ ｦ
    0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7,  // ｧ-ｫ ｬ-ｮ
    0x30C3, 0x30FC,  // ｯ ｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA,  // ｱ-ｵ
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,  // ｶ-ｺ
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,  // ｻ-ｿ
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,  // ﾀ-ﾄ
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE,  // ﾅ-ﾉ
    0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,  // ﾊ-ﾎ
    0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2,  // ﾏ-ﾓ
    0x30E4, 0x30E6, 0x30E8,  // ﾔ-ﾖ
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED,  // ﾗ-ﾛ
    0x30EF, 0x30F3,  // ﾜ ﾝ
    0x309B, 0x309C,  // ﾞ ﾟ alone
};

int ConvertHankakuKana2Zenkaku(const char *in, char *out, int cap) {
    JP_LOG("ConvertHankakuKana2Zenkaku in\n");
    int n = 0;
    int i = 0;
    while (in[i]) {
        int len = 0;
        uint32_t c = DecodeAt(in + i, &len);
        int used = len;
        uint32_t w = c;
        if (c >= 0xFF61 && c <= 0xFF9F) {
            w = kHankana[c - 0xFF61];
            int nlen = 0;
            uint32_t next = DecodeAt(in + i + len, &nlen);
            if (next == 0xFF9E) {  // voiced mark
                uint32_t v = 0;
                if (c == 0xFF73) v = 0x30F4;  // ｳ -> ヴ
                else if (c >= 0xFF76 && c <= 0xFF84) v = w + 1;  // ｶ-ﾄ
                else if (c >= 0xFF8A && c <= 0xFF8E) v = w + 1;  // ﾊ-ﾎ
                else if (c == 0xFF9C) v = 0x30F7;  // ﾜ -> ヷ
                else if (c == 0xFF66) v = 0x30FA;  // ｦ -> ヺ
                if (v) {
                    w = v;
                    used += nlen;
                }
            } else if (next == 0xFF9F && c >= 0xFF8A && c <= 0xFF8E) {  // semi-voiced mark
                w = w + 2;
                used += nlen;
            }
        }
        char buf[4];
        int wlen = 0;
        const char *src = in + i;
        if (w != c) {
            wlen = EncodeUtf8(w, buf);
            src = buf;
        } else {
            wlen = len;
        }
        if (n + wlen > cap - 1) break;
        std::memcpy(out + n, src, static_cast<size_t>(wlen));
        n += wlen;
        i += used;
    }
    out[n] = '\0';
    JP_LOG("Hankana converted to Zenkana\n");
    return n;
}

namespace {

// Hiragana (or katakana less 0x60) that take the voiced mark: the voiced form is
// the next code point; は-row kana take the semi-voiced mark at +2.
bool Voiceable(uint32_t h) {
    return (h >= 0x304B && h <= 0x3062 && (h & 1)) || h == 0x3064 || h == 0x3066 || h == 0x3068 ||
           (h >= 0x306F && h <= 0x307B && (h - 0x306F) % 3 == 0);
}
bool IsKana(uint32_t c) { return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA); }
uint32_t ToHira(uint32_t c) { return c >= 0x30A1 && c <= 0x30F6 ? c - 0x60 : c; }

// The voiced (mark 1) or semi-voiced (mark 2) form of kana c, 0 when it has none.
uint32_t Marked(uint32_t c, int mark) {
    uint32_t h = ToHira(c);
    uint32_t shift = c == h ? 0 : 0x60;
    if (mark == 1 && Voiceable(h)) return c + 1;
    if (mark == 1 && (h == 0x3046 || c == 0x30A6)) return shift ? 0x30F4 : 0x3094;  // う ウ -> ゔ ヴ
    if (mark == 1 && c >= 0x30EF && c <= 0x30F2) return 0x30F7 + (c - 0x30EF);  // ワヰヱヲ -> ヷヸヹヺ
    if (mark == 2 && h >= 0x306F && h <= 0x307B && (h - 0x306F) % 3 == 0) return c + 2;
    return 0;
}

// The unvoiced form of kana c (が -> か, ぱ -> は); c itself when it has none.
uint32_t Unvoiced(uint32_t c) {
    uint32_t h = ToHira(c);
    if (h >= 0x304C && h <= 0x3063 && !(h & 1) && h != 0x3063) return c - 1;
    if (h == 0x3065 || h == 0x3067 || h == 0x3069) return c - 1;
    if (h >= 0x3070 && h <= 0x307D && (h - 0x306F) % 3 != 0) return c - (h - 0x306F) % 3;
    if (c == 0x3094 || c == 0x30F4) return c == 0x3094 ? 0x3046 : 0x30A6;
    return c;
}

}  // namespace

int ComposeKanaMarks(char *text, int cap) {
    // Most texts hold none of the marks (U+3099..U+309E, U+30F7..U+30FE): one scan of the bytes.
    bool any = false;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p && !any; ++p)
        any = p[0] == 0xE3 &&
              ((p[1] == 0x82 && p[2] >= 0x99 && p[2] <= 0x9E) || (p[1] == 0x83 && p[2] >= 0xB7 && p[2] <= 0xBE));
    if (!any) return static_cast<int>(std::strlen(text));
    char out[kTextBytes];
    int n = 0;
    uint32_t prev = 0;  // the kana written last, 0 after anything else
    for (int i = 0; text[i];) {
        int len = 0;
        uint32_t c = DecodeAt(text + i, &len);
        if (len <= 0) break;
        int nlen = 0;
        uint32_t next = DecodeAt(text + i + len, &nlen);
        int used = len;
        uint32_t w = c;
        if (IsKana(c) && (next == 0x309B || next == 0x3099 || next == 0x309C || next == 0x309A)) {
            uint32_t m = Marked(c, next == 0x309C || next == 0x309A ? 2 : 1);
            if (m) {
                w = m;
                used += nlen;
            }
        } else if ((c == 0x309D || c == 0x30FD || c == 0x309E || c == 0x30FE) && prev) {
            // Iteration marks repeat the kana before them, ゞ ヾ voiced.
            w = Unvoiced(prev);
            if (c == 0x309E || c == 0x30FE) {
                uint32_t m = Marked(w, 1);
                if (m) w = m;
            }
        }
        char buf[8];
        int wlen = 0;
        if (w >= 0x30F7 && w <= 0x30FA) {  // ヷヸヹヺ: ヴ and a small vowel
            static const uint32_t kSmall[] = {0x30A1, 0x30A3, 0x30A7, 0x30A9};
            wlen = EncodeUtf8(0x30F4, buf);
            wlen += EncodeUtf8(kSmall[w - 0x30F7], buf + wlen);
        } else {
            wlen = EncodeUtf8(w, buf);
        }
        if (n + wlen > static_cast<int>(sizeof out) - 1 || n + wlen > cap - 1) break;
        std::memcpy(out + n, buf, static_cast<size_t>(wlen));
        n += wlen;
        prev = IsKana(w) ? (w >= 0x30F7 && w <= 0x30FA ? 0 : w) : 0;
        i += used;
    }
    out[n] = '\0';
    std::memcpy(text, out, static_cast<size_t>(n) + 1);
    return n;
}

int FoldLatinAccents(char *text) {
    // U+00C0..U+017F: the letter without its marks, two characters each (a blank
    // pads a single letter); × and ÷ are no letters and stay.
    static const char kFold[] =
        "A A A A A A AEC E E E E I I I I D N O O O O O   O U U U U Y THss"
        "a a a a a a aec e e e e i i i i d n o o o o o   o u u u u y thy "
        "A a A a A a C c C c C c C c D d D d E e E e E e E e E e G g G g "
        "G g G g H h H h I i I i I i I i I i IJijJ j K k k L l L l L l L "
        "l L l N n N n N n n N n O o O o O o OEoeR r R r R r S s S s S s "
        "S s T t T t T t U u U u U u U u U u U u W w Y y Y Z z Z z Z z s ";
    static_assert(sizeof kFold == 2 * (0x180 - 0xC0) + 1, "two characters for each of U+00C0..U+017F");
    // U+00C0..U+017F all begin with the byte C3, C4 or C5.
    if (!std::strpbrk(text, "\xC3\xC4\xC5")) return static_cast<int>(std::strlen(text));
    int n = 0;
    for (int i = 0; text[i];) {
        int len = 0;
        uint32_t c = DecodeAt(text + i, &len);
        if (len <= 0) break;
        const char *fold = c >= 0xC0 && c < 0x180 && c != 0xD7 && c != 0xF7 ? kFold + 2 * (c - 0xC0) : nullptr;
        if (fold) {  // two bytes of UTF-8 become one or two letters
            text[n++] = fold[0];
            if (fold[1] != ' ') text[n++] = fold[1];
        } else {
            std::memmove(text + n, text + i, static_cast<size_t>(len));
            n += len;
        }
        i += len;
    }
    text[n] = '\0';
    return n;
}

int TabsToZenSpace(char *text, int cap) {
    int len = static_cast<int>(std::strlen(text));
    bool any = false;
    for (int i = 0; i < len; ++i) {
        if (text[i] != '\t') continue;
        any = true;
        if (len + 2 > cap - 1) {  // no room: the text is cut before this tab
            len = i;
            break;
        }
        std::memmove(text + i + 3, text + i + 1, static_cast<size_t>(len - i - 1));
        text[i] = static_cast<char>(0xE3);
        text[i + 1] = static_cast<char>(0x80);
        text[i + 2] = static_cast<char>(0x80);
        len += 2;
        i += 2;
    }
    text[len] = '\0';
    if (any) JP_LOG("Tab converted to Zenspace\n");
    return len;
}

void NormaliseInput(char *utf8) {
    char converted[kTextBytes];
    ConvertHankakuKana2Zenkaku(utf8, converted, kTextBytes);
    std::memcpy(utf8, converted, sizeof converted);
    ComposeKanaMarks(utf8, kTextBytes);
    FoldLatinAccents(utf8);
    TabsToZenSpace(utf8, kTextBytes);
}

const char *KanjiReadingOf(uint32_t cp) {
    const KanjiReading *end = kKanjiReadings + kKanjiReadingCount;
    const KanjiReading *r =
        std::lower_bound(kKanjiReadings, end, cp, [](const KanjiReading &k, uint32_t c) { return k.code < c; });
    return r != end && r->code == cp ? kKanjiReadingText + r->offset : nullptr;
}

}  // namespace jp
}  // namespace kotari
