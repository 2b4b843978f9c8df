// Japanese translator: kanji numerals (blocks of number tokens turned into
// digits), full-width expressions, and the marks whose braille depends on
// their role (annotations, star marks, masked characters, blank boxes).
#include <cstdio>
#include <cstring>

#include "lang/japanese/jp_internal.h"

namespace kotari {
namespace jp {

namespace {

bool IsNum(const MorphToken &t) { return Eq(t.pos, "名詞") && Eq(t.posd1, "数"); }

// Value of a kanji digit token, or -1.
int KanDigit(const char *s) {
    static const char *const kDigits[] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    for (int d = 0; d < 10; ++d)
        if (Eq(s, kDigits[d])) return d;
    if (Eq(s, "零")) return 0;
    return -1;
}

// Small units 十 百 千: their value; large units 万 億 兆: 10^4, 10^8, 10^12 (negative).
long long KanUnit(const char *s) {
    if (Eq(s, "十")) return 10;
    if (Eq(s, "百")) return 100;
    if (Eq(s, "千")) return 1000;
    if (Eq(s, "万")) return -10000LL;
    if (Eq(s, "億")) return -100000000LL;
    if (Eq(s, "兆")) return -1000000000000LL;
    return 0;
}

bool IsNakaten(const MorphToken &t) { return Eq(t.surface, "・"); }
bool IsTouten(const MorphToken &t) { return Eq(t.surface, "、"); }

// The digits of one group of digits and small units: 三千五百二十一 -> 3521.
// Consecutive digits read positionally (二〇二三 -> 2023).
bool GroupValue(const MorphToken *t, int s, int e, long long *value) {
    long long grp = 0, cur = 0;
    bool any = false, unitSeen = false;
    for (int q = s; q < e; ++q) {
        int d = KanDigit(t[q].surface);
        long long u = KanUnit(t[q].surface);
        if (d >= 0) {
            // 二十二三 (22 or 23) is no single number.
            if (cur > 100000000000000LL || (unitSeen && any)) return false;
            cur = cur * 10 + d;
            any = true;
        } else if (u > 0) {
            grp += (any && cur == 0 ? 0 : (cur == 0 ? 1 : cur)) * u;
            cur = 0;
            any = false;
            unitSeen = true;
        } else {
            return false;
        }
    }
    *value = grp + cur;
    return true;
}

bool IsAsterisk(uint32_t c) { return c == '*' || c == 0xFF0A; }
bool IsMarkShape(uint32_t c) { return c == 0xD7 || c == 0x25CB || c == 0x25CE || c == 0x25A1 || c == 0x25B3; }

// A digit that may follow an asterisk in an annotation: 1-9 (half or full
// width) or a superscript; its ASCII digit, or 0.
char ChuukiDigit(uint32_t c) {
    if (c >= '1' && c <= '9') return static_cast<char>(c);
    if (c >= 0xFF11 && c <= 0xFF19) return static_cast<char>('1' + (c - 0xFF11));
    if (c >= 0x2074 && c <= 0x2079) return static_cast<char>('4' + (c - 0x2074));
    if (c == 0xB9) return '1';
    if (c == 0xB2) return '2';
    if (c == 0xB3) return '3';
    return 0;
}

bool OnlyShapes(const char *s) {
    if (!*s) return false;
    for (int i = 0; s[i];) {
        int len = 0;
        uint32_t c = DecodeAt(s + i, &len);
        if (len <= 0 || !IsMarkShape(c)) return false;
        i += len;
    }
    return true;
}

int CountShapes(const char *s) { return CountCodePoints(s, IsMarkShape); }

void RemoveToken(MorphToken *t, int *count, int i) {
    for (int q = i; q + 1 < *count; ++q) t[q] = t[q + 1];
    --*count;
}

// Joins b's surface to a's, when it fits.
bool Join(MorphToken &a, const MorphToken &b) {
    size_t la = std::strlen(a.surface), lb = std::strlen(b.surface);
    if (la + lb + 1 > sizeof a.surface) return false;
    std::memcpy(a.surface + la, b.surface, lb + 1);
    SetField(a.pro, a.surface);
    return true;
}

}  // namespace

int KanjiDigitValue(const char *s) { return KanDigit(s); }
long long KanjiUnitValue(const char *s) { return KanUnit(s); }

bool IsSentenceEndToken(const MorphToken &t) {
    if (!Eq(t.pos, "記号")) return false;
    bool end = (Eq(t.surface, "。") && Eq(t.posd1, "句点")) || (Eq(t.surface, "、") && Eq(t.posd1, "読点"));
    if (!end && Eq(t.posd1, "一般") && std::strlen(t.surface) > 1 &&
        (std::strstr(t.surface, "、") || std::strstr(t.surface, "。") || std::strchr(t.surface, ',')))
        end = true;
    if (end) JP_LOG("kuten? %d\n", 1);
    return end;
}

void MergeMarkTokens(MorphToken *t, int *count) {
    for (int i = 0; i + 1 < *count; ++i) {
        // Runs of mark shapes the analyser cut apart (○○) are one token.
        while (i + 1 < *count && OnlyShapes(t[i].surface) && OnlyShapes(t[i + 1].surface) && !t[i + 1].space &&
               Join(t[i], t[i + 1]))
            RemoveToken(t, count, i + 1);
        // An asterisk with one digit after it (注＊1) is one annotation reference;
        // after a number or a letter (2*3) it is an operator.
        int len = 0;
        uint32_t c = DecodeAt(t[i].surface, &len);
        bool afterOperand = false;
        if (i > 0) {
            int last = 0;
            for (int q = 0; t[i - 1].surface[q];) {
                int l = 0;
                DecodeAt(t[i - 1].surface + q, &l);
                if (l <= 0) break;
                last = q;
                q += l;
            }
            JpLetter lt = FirstLetterType(t[i - 1].surface + last);
            afterOperand = lt == HANKAKU_SUUJI || lt == ZENKAKU_SUUJI || lt == HANKAKU_OOMOJI ||
                           lt == HANKAKU_KOMOJI || lt == ZENKAKU_OOMOJI || lt == ZENKAKU_KOMOJI;
        }
        if (i + 1 < *count && IsAsterisk(c) && t[i].surface[len] == '\0' && !t[i + 1].space && !afterOperand) {
            int dl = 0;
            uint32_t d = DecodeAt(t[i + 1].surface, &dl);
            if (ChuukiDigit(d) && t[i + 1].surface[dl] == '\0' && Join(t[i], t[i + 1])) RemoveToken(t, count, i + 1);
        }
    }
}

// ---- Kanji numerals -----------------------------------------------------------

void KanSuujiBlocks(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking KanSuuji block in Japanese\n");
    int blocks = 0, listed = 0;
    int i = 0;
    while (i < count && blocks < 10) {
        if (!IsNum(t[i])) {
            ++i;
            continue;
        }
        int s = i;
        JP_LOG("KanSuuji started at %d\n", s);
        while (i < count && (IsNum(t[i]) || (Eq(t[i].pos, "記号") && Eq(t[i].posd1, "読点") && i + 1 < count &&
                                                IsNum(t[i + 1]) && i > s)))
            ++i;
        int e = i;  // exclusive
        JP_LOG("KanSuuji ended at %d\n", e - 1);
        ++blocks;
        int digits = 0, nakaten = 0, units = 0, touten = -1, other = 0;
        for (int q = s; q < e; ++q) {
            if (KanDigit(t[q].surface) >= 0) {
                JP_LOG("kan:%s %x\n", t[q].surface, KanDigit(t[q].surface));
                ++digits;
            } else if (IsNakaten(t[q])) ++nakaten;
            else if (KanUnit(t[q].surface) != 0) ++units;
            else if (IsTouten(t[q]) && touten < 0) touten = q;
            else ++other;
        }
        JP_LOG("a. kannstani found? %x\n", units > 0);
        JP_LOG("b. kansuuCount:%d nakatenCount:%d\n", digits, nakaten);
        int kind = 0;
        if (other == 0 && digits > 1 && nakaten >= 1 && nakaten < digits && touten < 0 && units == 0) {
            JP_LOG("register nakaindcount %d\n", listed);
            kind = 2;
        } else if (other == 0 && nakaten == 0 && touten > s) {
            int zen = 0, kou = 0;
            for (int q = s; q < touten; ++q) zen += KanDigit(t[q].surface) >= 0;
            for (int q = touten + 1; q < e; ++q) kou += KanDigit(t[q].surface) >= 0;
            JP_LOG("c. zenhan:%d toutenind:%d kouhan:%d\n", zen, touten - s, kou);
            if (zen > 0 && kou > 0) kind = 3;
        } else if (other == 0 && nakaten == 0 && touten < 0 && units > 0) {
            JP_LOG("d. kansuufound:%x kansuucount:%d tanicount:%d\n", digits > 0, digits, units);
            kind = 4;
        } else if (other == 0 && nakaten == 0 && touten < 0 && digits > 0) {
            kind = 5;
        }
        if (kind >= 2 && kind <= 4 && listed >= 10) {
            JP_LOG("exceeded nakatenind max %d\n", 10);
            kind = 0;
        }
        if (kind >= 2 && kind <= 4) ++listed;
        for (int q = s; q < e; ++q) t[q].kansuujitype = kind;
        if (kind) {
            t[s].kansuujiFirst = true;
            t[s].kansuujiLast = e - 1;
        }
    }
}

int ConvertKanSuu(const MorphToken *t, int s, int e, int kind, char *out, int cap) {
    JP_LOG("ConvertKanSuu %x\n", kind);
    int n = 0;
    out[0] = '\0';
    char num[32];
    if (kind == 2 || kind == 5) {
        JP_LOG("ConvertKanSuuji start:%d,end:%d\n", s, e - 1);
        for (int q = s; q < e; ++q) {
            int d = KanDigit(t[q].surface);
            if (d >= 0) {
                std::snprintf(num, sizeof num, "%d", d);
                if (!Append(out, cap, &n, num)) break;
            } else if (kind == 2 && IsNakaten(t[q])) {
                if (!Append(out, cap, &n, "・")) break;
            } else {
                JP_LOG("val from KanSuuji invalid %d\n", q);
            }
        }
        JP_LOG("outputlen%d\n", n);
        return n;
    }
    if (kind == 3) {
        // Each side of the touten is a number of its own.
        int touten = s;
        while (touten < e && !IsTouten(t[touten])) ++touten;
        char half[512];
        // 二百五、六十 (two hundred and fifty or sixty): the digit before the
        // touten belongs to both numbers, so the first half is read out with its
        // units (2ヒャク) and that digit stands apart: 2ヒャク 5、60.
        bool middle = touten - s >= 2 && touten + 2 < e && KanUnit(t[touten + 2].surface) > 0 &&
                      KanDigit(t[touten - 1].surface) >= 0;
        JP_LOG("istoutenatmiddle:%x\n", middle);
        if (middle) {
            long long cur = 0;
            bool kataLast = false;
            for (int q = s; q < touten - 1; ++q) {
                int d = KanDigit(t[q].surface);
                if (d >= 0) {
                    cur = cur * 10 + d;
                    continue;
                }
                char piece[64];
                if (cur > 0)
                    std::snprintf(piece, sizeof piece, "%lld%s%s", cur, StartsWith(t[q].pro, "オク") ? "_" : "",
                        t[q].pro);
                else std::snprintf(piece, sizeof piece, "%s", t[q].pro);
                JP_LOG("toutenatmiddle %s\n", piece);
                if (kataLast && !Append(out, cap, &n, " ")) return n;
                if (!Append(out, cap, &n, piece)) return n;
                kataLast = true;
                cur = 0;
            }
            if (cur > 0) {
                std::snprintf(num, sizeof num, "%lld", cur);
                JP_LOG("end val>0:%lld\n", cur);
                if (!Append(out, cap, &n, num)) return n;
            }
            std::snprintf(num, sizeof num, " %d", KanDigit(t[touten - 1].surface));
            if (!Append(out, cap, &n, num)) return n;
            JP_LOG("after cat zenhan temp:%s len:%d\n", out, n);
            Append(out, cap, &n, "、");
            int len = ConvertKanSuu(t, touten + 1, e, KanUnitsIn(t, touten + 1, e) ? 4 : 5, half, sizeof half);
            Append(out, cap, &n, half, len);
            JP_LOG("after cat kouhan:%s\n", out);
            return n;
        }
        int len = ConvertKanSuu(t, s, touten, KanUnitsIn(t, s, touten) ? 4 : 5, half, sizeof half);
        Append(out, cap, &n, half, len);
        JP_LOG("after cat zenhan temp:%s len:%d\n", out, n);
        Append(out, cap, &n, "、");
        len = ConvertKanSuu(t, touten + 1, e, KanUnitsIn(t, touten + 1, e) ? 4 : 5, half, sizeof half);
        Append(out, cap, &n, half, len);
        JP_LOG("after cat kouhan:%s\n", out);
        return n;
    }
    // Kind 4: digits with units. Each group before a large unit is written in
    // digits and followed by the unit's reading (マン, オク, チョウ), with tsunagi
    // before オク, which would otherwise read on from the number; the group after
    // the last large unit is written in digits (三万十五 -> 3マン15).
    JP_LOG("Cat end:%d,start:%d\n", e - 1, s);
    int g = s;
    long long v = 0;
    for (int q = s; q < e; ++q) {
        if (KanUnit(t[q].surface) >= 0) continue;
        v = 1;  // 万 alone is 1万
        if (q > g && !GroupValue(t, g, q, &v)) return 0;
        std::snprintf(num, sizeof num, "%lld", v);
        JP_LOG("val:%lld\n", v);
        if (!Append(out, cap, &n, num)) return n;
        if (StartsWith(t[q].pro, "オク") && !Append(out, cap, &n, "_")) return n;
        if (!Append(out, cap, &n, t[q].pro)) return n;
        JP_LOG("ret==0 tani yomi %s\n", t[q].pro);
        g = q + 1;
    }
    if (g < e) {
        if (!GroupValue(t, g, e, &v)) return 0;
        std::snprintf(num, sizeof num, "%lld", v);
        JP_LOG("end val>0:%lld\n", v);
        Append(out, cap, &n, num);
    }
    JP_LOG("end temp:%s\n", out);
    return n;
}

bool KanUnitsIn(const MorphToken *t, int s, int e) {
    for (int q = s; q < e; ++q)
        if (KanUnit(t[q].surface) != 0) return true;
    return false;
}

// ---- Marks -----------------------------------------------------------------------

int ChuukiPass(MorphToken *t, int count) {
    JP_LOG("jpanalyzer checking chuuki mark\n");
    int found = 0;
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (k.marktype || k.ryakusho) continue;
        const char *star = nullptr;
        int len = 0;
        for (int b = 0; k.surface[b]; b += len) {
            uint32_t c = DecodeAt(k.surface + b, &len);
            if (len <= 0) break;
            if (IsAsterisk(c)) {
                star = k.surface + b;
                break;
            }
        }
        // Symbols only: the analyser files the ASCII asterisk as a noun.
        if (!star || !(Eq(k.pos, "記号") || star == k.surface)) continue;
        ++found;
        int slen = 0;
        DecodeAt(star, &slen);
        const char *after = star + slen;
        if (*after) {
            int al = 0;
            uint32_t c = DecodeAt(after, &al);
            k.marktype = (ChuukiDigit(c) || i > 0) ? 1 : 2;
            k.useSurface = true;
            JP_LOG("marktype %d\n", k.marktype);
            continue;
        }
        if (i + 1 < count) {
            const char *next = t[i + 1].surface;
            if (std::strlen(next) >= 2 && next[0] >= '0' && next[0] <= '9' && next[1] >= '0' && next[1] <= '9') {
                JP_LOG("bango found\n");
                k.marktype = 6;
                ++i;
                continue;
            }
            // A lone asterisk that opens the text, before a word, is a star mark.
            int nl = 0;
            if (i == 0 && !ChuukiDigit(DecodeAt(next, &nl))) {
                k.marktype = 2;
                k.useSurface = true;
                JP_LOG("marktype %d\n", k.marktype);
            }
        }
    }
    JP_LOG("chuuki found?%d\n", found);
    return found;
}

int FindZenkakuHoshiOrFuseji(MorphToken *t, int count) {
    JP_LOG("FindZenkakuHoshiOrFuseji in\n");
    JP_LOG("jpanalyzer checking zenkaku hoshijirushi mark\n");
    int marked = 0;
    for (int i = 0; i < count; ++i) {
        MorphToken &k = t[i];
        if (k.marktype || k.ryakusho) continue;
        int shapes = CountShapes(k.surface);
        if (!shapes) continue;
        JP_LOG("hoshifound j%d\n", shapes);
        if (shapes > 1) {
            k.marktype = 4;
            k.useSurface = true;
            ++marked;
            JP_LOG("mark i:%d %d\n", i, k.marktype);
            continue;
        }
        int top = i, bottom = i;
        while (top > 0 && FirstLetterType(t[top - 1].surface) != KUTOUFU) --top;
        while (bottom + 1 < count && FirstLetterType(t[bottom + 1].surface) != KUTOUFU) ++bottom;
        JP_LOG("top of hoshi %d\n", top);
        JP_LOG("bottom of hoshi %d\n", bottom);
        char sentence[200];
        int n = 0;
        sentence[0] = '\0';
        int starting = 0;
        for (int q = top; q <= bottom; ++q) {
            Append(sentence, sizeof sentence, &n, t[q].surface);
            int len = 0;
            if (starting < 10 && IsMarkShape(DecodeAt(t[q].surface, &len))) ++starting;
        }
        if (starting >= 2) {
            for (int q = top; q <= bottom; ++q) {
                int len = 0;
                if (IsMarkShape(DecodeAt(t[q].surface, &len)) && !t[q].marktype) {
                    JP_LOG("marktype=FUSEJI\n");
                    t[q].marktype = 4;
                    t[q].useSurface = true;
                    ++marked;
                }
            }
            continue;
        }
        bool box = std::strstr(k.surface, "□") != nullptr;
        if (box &&
            (std::strstr(sentence, "欄") || std::strstr(sentence, "入れよ") || std::strchr(sentence, ')') ||
                std::strstr(sentence, "の中に") || (std::strstr(sentence, "から") && std::strstr(sentence, "選")))) {
            JP_LOG("KUURAN\n");
            k.marktype = 5;
        } else if (std::strstr(sentence, "＝") || std::strstr(sentence, "÷") || std::strstr(sentence, "＋") ||
                   std::strstr(sentence, "×") || std::strstr(sentence, "−") || std::strstr(sentence, "－")) {
            k.marktype = 0;  // mathematics
            continue;
        } else {
            JP_LOG("not KUURAN and not NOT_MARK\n");
            k.marktype = 2;
        }
        k.useSurface = true;
        ++marked;
        JP_LOG("mark i:%d %d\n", i, k.marktype);
    }
    return marked;
}

int OperatorClass(uint32_t c) {
    int cls = 0;
    if (c == '=' || c == 0xFF1D) cls = 1;
    else if (c == 0xD7) cls = 2;
    else if (c == 0xF7) cls = 3;
    else if (c == '-' || c == 0x2212) cls = 4;
    else if (c == '+' || c == 0xFF0B) cls = 5;
    if (cls) JP_LOG("Shisoku? type:%x %02x\n", cls, c & 0xFF);
    return cls;
}

void FindZenSUU(MorphToken *t, int count) {
    int i = 0;
    while (i < count) {
        int bt = BlockTypeOf(FirstLetterType(t[i].surface), true);
        if (bt < 3 || bt > 7) {
            ++i;
            continue;
        }
        int s = i;
        while (i < count && BlockTypeOf(FirstLetterType(t[i].surface), true) >= 3 &&
               BlockTypeOf(FirstLetterType(t[i].surface), true) <= 7)
            ++i;
        int e = i;
        JP_LOG("jpanalyzer checking zenkaku suushiki block %d\n", s);
        JP_LOG("FindZenSUU starti %d endi %d %d\n", s, e - 1, e - s);
        bool equation = false;

        int nops = 0;
        for (int q = s; q < e; ++q) {
            const MorphToken &k = t[q];
            if (k.kagakuStart || k.kagakuEnd || k.marktype || k.ryakusho || k.katakanatype) {
                JP_LOG("skipping i%d Kagaku\n", q);
                continue;
            }
            int len = 0;
            uint32_t c = DecodeAt(k.surface, &len);
            if (k.surface[len] != '\0') continue;
            int cls = OperatorClass(c);
            if (cls == 1) {
                bool names = q > s && q + 1 < e && Eq(t[q - 1].posd2, "人名") && Eq(t[q + 1].posd2, "人名");
                if (names) JP_LOG("skipping check ZenkakuSuuShiki\n");
                else equation = true;
            } else if (cls && nops < 20) {
                JP_LOG("shisoku found %d\n", q);
                ++nops;
            }
        }
        JP_LOG("equal?%x, %d\n", equation, nops);
        if (!equation || nops == 0) continue;
        bool open = false;
        for (int q = s; q < e; ++q) {
            int len = 0;
            uint32_t c = DecodeAt(t[q].surface, &len);
            bool op = t[q].surface[len] == '\0' && OperatorClass(c) != 0;
            int qbt = BlockTypeOf(FirstLetterType(t[q].surface), true);
            if (op) {
                if (open) t[q - 1].hienzanEnd = true;
                open = false;
                continue;
            }
            if (c == 0xFF08 || c == 0xFF09 || qbt == 3 || qbt == 4) continue;
            if (!open) {
                JP_LOG("hienzan %d\n", q);
                t[q].hienzanStart = true;
                open = true;
            }
        }
        if (open) t[e - 1].hienzanEnd = true;
    }
}

int MarkOutput(const MorphToken *t, int count, int i, char *out, int cap) {
    const MorphToken &k = t[i];
    int n = 0;
    out[0] = '\0';
    char ch[8];
    switch (k.marktype) {
    case 1: {  // annotation: TransferChuuki2Char
        JP_LOG("TransferChuuki2Char %d\n", i);
        for (int b = 0; k.surface[b];) {
            int len = 0;
            uint32_t c = DecodeAt(k.surface + b, &len);
            if (len <= 0) break;
            if (IsAsterisk(c)) {
                if (!Append(out, cap, &n, "\x06")) return n;
                int nl = 0;
                char d = ChuukiDigit(DecodeAt(k.surface + b + len, &nl));
                if (d) {
                    JP_LOG("ChuukiSuuji\n");
                    char digit[2] = {d, 0};
                    if (!Append(out, cap, &n, digit)) return n;
                    len += nl;
                }
                JP_LOG("copy semicolon\n");
                if (!Append(out, cap, &n, ";")) return n;
            } else if (!Append(out, cap, &n, k.surface + b, len)) {
                return n;
            }
            b += len;
        }
        return n;
    }
    case 2:  // star mark
        for (int b = 0; k.surface[b];) {
            int len = 0;
            uint32_t c = DecodeAt(k.surface + b, &len);
            if (len <= 0) break;
            if (IsAsterisk(c) || c == 0x25CE) {
                if (!Append(out, cap, &n, "をを")) return n;
            } else if (c == 0x25B3) {
                if (!Append(out, cap, &n, "\x04△")) return n;
            } else if (c == 0x25CB) {
                if (!Append(out, cap, &n, "○")) return n;  // written as the circle symbol
            } else if (!IsMarkShape(c) && LetterType(k.surface + b, &len, true) != ZENKAKU_KIGOU) {
                if (!Append(out, cap, &n, k.surface + b, len)) return n;  // the text after the mark
            }
            b += len;
        }
        return n;
    case 4: {  // masked characters
        bool multi = CountShapes(k.surface) > 1 || std::strlen(k.surface) > 3;
        if (!multi) {
            bool prevMark = i > 0 && (t[i - 1].marktype == 4 || Eq(t[i - 1].pos, "記号"));
            if (i > 0 && !prevMark && !Append(out, cap, &n, "_")) return n;
            if (!Append(out, cap, &n, "\x05") || !Append(out, cap, &n, k.surface)) return n;
            bool nextMark = i + 1 >= count || t[i + 1].marktype == 4 || Eq(t[i + 1].pos, "記号");
            if (!nextMark && !Append(out, cap, &n, "_")) return n;
            return n;
        }
        JP_LOG("SetMarks in\n");
        JP_LOG("multiple ch\n");
        bool inRun = false;
        for (int b = 0; k.surface[b];) {
            int len = 0;
            uint32_t c = DecodeAt(k.surface + b, &len);
            if (len <= 0) break;
            if (IsMarkShape(c)) {
                if (!inRun && !Append(out, cap, &n, "_")) return n;
                JP_LOG("SetMarks Hoshii %d %d\n", i, b);
                if (!Append(out, cap, &n, "\x05") || !Append(out, cap, &n, k.surface + b, len)) return n;
                inRun = true;
            } else {
                if (inRun && !Append(out, cap, &n, "_")) return n;
                if (!Append(out, cap, &n, k.surface + b, len)) return n;
                inRun = false;
            }
            b += len;
        }
        return n;
    }
    case 5:  // blank box; the rest of the surface is written as it stands
        for (int b = 0; k.surface[b];) {
            int len = 0;
            uint32_t c = DecodeAt(k.surface + b, &len);
            if (len <= 0) break;
            if (c == 0x25A1) {
                if (!Append(out, cap, &n, "\x07")) return n;
            } else {
                std::snprintf(ch, sizeof ch, "%.*s", len, k.surface + b);
                if (!Append(out, cap, &n, ch)) return n;
            }
            b += len;
        }
        return n;
    default: Append(out, cap, &n, k.surface); return n;
    }
}

}  // namespace jp
}  // namespace kotari
