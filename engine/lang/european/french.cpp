// French translator: uncontracted French braille with the capital, number and
// sentence rules, and contracted French (grade 2) through the word-start and
// in-word abbreviation tables.
#include "core/cell_writer.h"
#include "core/cells.h"
#include "core/engine.h"
#include "lang/european/french_tables.h"

namespace kotari {
namespace {

enum class Cls { Small, Capital, Oe, Number, Space, Separator, Other };

bool IsSmall(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xF6) || (c >= 0xF8 && c <= 0xFC); }
bool IsCapital(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDC); }
bool IsNumberChar(char16_t c) { return IsAsciiDigit(c) || c == u'+' || c == u'=' || c == 0xD7 || c == 0xF7; }

bool IsSeparator(char16_t c) {
    if (c == u' ') return true;
    if ((c >= u'!' && c <= u'/' && c != u'+') || (c >= u':' && c <= u'@' && c != u'=') || (c >= u'[' && c <= u'_') ||
        (c >= u'{' && c <= u'~'))
        return true;
    if (c >= 0x7F && c <= 0x89) return true;
    if (c >= 0xA1 && c <= 0xBB) return true;
    return c == 0x2013 || c == 0x2019 || c == 0x2026 || c == 0x2030 || c == 0x20AC || c == 0x03C0;
}

// Line breaks, tabs and no-break spaces separate words like a space does.
bool IsSpaceLike(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0xA0 || c == 0x202F;
}

Cls Classify(char16_t c) {
    if (IsSmall(c)) return Cls::Small;
    if (IsCapital(c)) return Cls::Capital;
    if (c == 0x152 || c == 0x153) return Cls::Oe;
    if (IsNumberChar(c)) return Cls::Number;
    if (IsSpaceLike(c)) return Cls::Space;
    if (IsSeparator(c)) return Cls::Separator;
    return Cls::Other;
}

bool EndsWord(char16_t c) { return c == 0 || IsSeparator(c) || IsSpaceLike(c); }

inline char16_t Lower(char16_t c) {
    if (IsAsciiLower(c)) return c;  // the common case, kept inline
    if (IsCapital(c)) return static_cast<char16_t>(c + 0x20);
    if (c == 0x152) return 0x153;
    if (c == 0x2019) return u'\'';
    return c;
}

bool IsConsonant(char16_t c) {
    c = Lower(c);
    switch (c) {
    case u'b':
    case u'c':
    case u'd':
    case u'f':
    case u'g':
    case u'h':
    case u'j':
    case u'k':
    case u'l':
    case u'm':
    case u'n':
    case u'p':
    case u'q':
    case u'r':
    case u's':
    case u't':
    case u'v':
    case u'w':
    case u'x':
    case u'z':
    case 0xE7: return true;
    default: return false;
    }
}

bool IsVowel(char16_t c) {
    c = Lower(c);
    switch (c) {
    case u'a':
    case u'e':
    case u'i':
    case u'o':
    case u'u':
    case u'y':
    case 0xE0:
    case 0xE2:
    case 0xE9:
    case 0xE8:
    case 0xEA:
    case 0xEB:
    case 0xEF:
    case 0xEE:
    case 0xF4:
    case 0xF9:
    case 0xFB: return true;
    default: return false;
    }
}

// Cells of a small letter (capitals are read as their small letter first).
int LetterCells(char16_t c, uint8_t out[3]) {
    if (c >= u'a' && c <= u'z') {
        out[0] = kLetterCells[c - u'a'];
        return 1;
    }
    switch (c) {
    case 0xE0:
    case 0xE1: out[0] = 0x37; return 1;  // à á
    case 0xE2: out[0] = 0x21; return 1;  // â
    case 0xE4:
    case 0xE6: out[0] = 0x1C; return 1;  // ä æ
    case 0xE7: out[0] = 0x2F; return 1;  // ç
    case 0xE8: out[0] = 0x2E; return 1;  // è
    case 0xE9: out[0] = 0x3F; return 1;  // é
    case 0xEA: out[0] = 0x23; return 1;  // ê
    case 0xEB: out[0] = 0x2B; return 1;  // ë
    case 0xEC: out[0] = 0x0C; return 1;  // ì
    case 0xEE: out[0] = 0x29; return 1;  // î
    case 0xEF:
    case 0xF1: out[0] = 0x3B; return 1;  // ï ñ
    case 0xF2:
    case 0xF3: out[0] = 0x2C; return 1;  // ò ó
    case 0xF4: out[0] = 0x39; return 1;  // ô
    case 0xF6: out[0] = 0x2A; return 1;  // ö
    case 0xF9:
    case 0xFA: out[0] = 0x3E; return 1;  // ù ú
    case 0xFB: out[0] = 0x31; return 1;  // û
    case 0xFC:
        out[0] = 0x33;
        return 1;  // ü
    // Letters French braille has no sign of its own for.
    case 0xE3:
        out[0] = 0x10;
        out[1] = 0x22;
        out[2] = 0x01;
        return 3;  // ã
    case 0xE5:
        out[0] = 0x10;
        out[1] = 0x01;
        return 2;  // å
    case 0xF8:
        out[0] = 0x30;
        out[1] = 0x2A;
        return 2;  // ø
    case 0xF0: out[0] = 0x19; return 1;  // ð as d
    case 0xF5: out[0] = 0x15; return 1;  // õ as o
    case 0xED: out[0] = 0x0C; return 1;  // í as ì
    default: out[0] = 0; return 0;
    }
}

uint8_t NumberCell(char16_t c) {
    static const uint8_t kRaised[10] = {0x3C, 0x21, 0x23, 0x29, 0x39, 0x31, 0x2B, 0x3B, 0x33, 0x2A};
    if (IsAsciiDigit(c)) return kRaised[c - u'0'];
    switch (c) {
    case u'+': return 0x16;
    case u'=': return 0x36;
    case 0xD7: return 0x14;
    default: return 0x12;  // ÷
    }
}

int SeparatorCells(char16_t c, uint8_t out[3]) {
    auto one = [&](uint8_t a) {
        out[0] = a;
        return 1;
    };
    auto two = [&](uint8_t a, uint8_t b) {
        out[0] = a;
        out[1] = b;
        return 2;
    };
    auto three = [&](uint8_t a, uint8_t b, uint8_t d) {
        out[0] = a;
        out[1] = b;
        out[2] = d;
        return 3;
    };
    switch (c) {
    case u'!': return one(0x16);
    case u'"':
    case 0xAB:
    case 0xBB: return one(0x36);
    case u'#': return two(0x10, 0x3C);
    case u'$': return two(0x18, 0x0E);
    case u'%': return two(0x10, 0x2C);
    case u'&': return two(0x10, 0x3F);
    case u'\'':
    case 0x2019: return one(0x04);
    case u'(': return one(0x26);
    case u')': return one(0x34);
    case u'*': return two(0x10, 0x14);
    case u',': return one(0x02);
    case u'-': return one(0x24);
    case u'.': return one(0x32);
    case u'/': return one(0x0C);
    case u':': return one(0x12);
    case u';': return one(0x06);
    case u'<': return two(0x10, 0x23);
    case u'>': return two(0x10, 0x1C);
    case u'?': return one(0x22);
    case u'@': return one(0x1C);
    case u'[': return two(0x18, 0x26);
    case u'\\': return two(0x10, 0x0C);
    case u']': return two(0x34, 0x03);
    case u'^': return one(0x08);
    case u'_': return two(0x10, 0x24);
    case u'{': return three(0x20, 0x20, 0x26);
    case u'}': return three(0x34, 0x04, 0x04);
    case u'~': return two(0x10, 0x22);
    case 0x2026: return three(0x32, 0x32, 0x32);
    case 0x2030: return three(0x10, 0x2C, 0x2C);  // ‰
    case 0xA2: return two(0x18, 0x09);
    case 0xA3: return two(0x18, 0x07);
    case 0xA5: return two(0x18, 0x3D);
    case 0xA9: return two(0x10, 0x09);
    case 0xAE: return two(0x10, 0x17);
    case 0xB0:
    case 0xB1: return two(0x10, 0x15);
    case 0xB2: return two(0x08, 0x23);
    case 0xB3: return two(0x08, 0x29);
    case 0xB5: return two(0x18, 0x0D);
    case 0x3C0: return two(0x18, 0x0F);
    case 0x2013: return two(0x24, 0x24);
    case 0x20AC: return two(0x18, 0x11);
    default: return 0;
    }
}

bool SetsSentence(char16_t c) {
    return c == u'.' || c == u'?' || c == u'!' || c == u'"' || c == 0xAB || c == 0xBB || c == u'(' || c == u')' ||
           c == u':';
}

int WordRow(char16_t l) {
    if (l >= u'a' && l <= u'v') return l - u'a';
    if (l == 0xE0) return 22;
    if (l == 0xE9) return 23;
    if (l == 0xEA) return 24;
    return -1;  // œ has a row but is written directly; w-z and other letters have none
}

int InWordRow(char16_t l) {
    if (l >= u'a' && l <= u'v') return l - u'a';
    switch (l) {
    case 0xE9: return 22;
    case 0xEF: return 23;
    case 0xF3: return 24;
    case 0xF6: return 25;
    default: return -1;
    }
}

struct State {
    int in = 0;
    int out = 0;
    int capMode = 0;  // 0 none, 1 capitals to the word end, 2 capitals one by one
    int sentence = 2;  // 2 sentence start, 1 after a sentence mark, 0 inside
    bool wordStart = true;
    bool numMode = false;
};

class French {
public:
    French(const char16_t *text, uint8_t *cells) : t_(text), w_(cells) {}

    int run() {
        int length = 0;
        while (t_[length]) ++length;
        rollbackBudget_ = 2 * length + 16;
        Step prev{};
        // Each pass first commits the step before it; a full buffer ends the loop.
        while (t_[s_.in] && w_.commit()) {
            const char16_t c = t_[s_.in];
            const Cls cls = Classify(c);
            if (cls == Cls::Small || cls == Cls::Capital) {
                Step cur{};
                cur.valid = true;
                cur.at = s_;
                cur.at.out = w_.count();
                cur.entry = letter();
                if (g_settings.frenchGrade == 2 && rollback(prev, cur)) continue;
                prev = cur;
                continue;
            }
            prev.valid = false;
            nonLetter(c, cls);
        }
        w_.commit();
        return w_.count();
    }

private:
    struct Step {
        bool valid = false;
        State at;
        int entry = -1;  // in-word entry written by the step, or -1
    };

    // Doubled cells after an in-word group: undo the group and try again without it.
    bool rollback(Step &prev, const Step &cur) {
        const int n = w_.size();
        if (n < 2 || w_.at(n - 1) != w_.at(n - 2) || rollbackBudget_ <= 0) return false;
        if (prev.valid && prev.entry >= 0) {
            --rollbackBudget_;
            restore(prev.at);
            exclude_ = prev.entry;
            prev.valid = false;
            return true;
        }
        if (cur.entry >= 0) {
            --rollbackBudget_;
            restore(cur.at);
            exclude_ = cur.entry;
            return true;
        }
        return false;
    }

    void restore(const State &st) {
        w_.truncate(st.out);
        s_ = st;
    }

    // One letter step: capital sign, then an abbreviation or the letter. Returns
    // the in-word entry used, or -1.
    int letter() {
        const char16_t c = t_[s_.in];
        const bool capital = IsCapital(c);
        if (capital) {
            if (s_.capMode == 0) {
                int j = s_.in + 1;
                while (IsCapital(t_[j])) ++j;
                s_.capMode = EndsWord(t_[j]) ? 1 : 2;
                w_.put(0x28);
            } else if (s_.capMode == 2) {
                w_.put(0x28);
            }
        }
        if (s_.sentence == 1) s_.sentence = 2;
        int entry = -1;
        const bool contract = g_settings.frenchGrade == 2 && !(s_.capMode != 0 && s_.sentence == 0);
        if (!contract) exclude_ = -1;  // an exclusion lasts for one lookup position
        if (!contract || !abbreviate(entry)) {
            uint8_t cells[3];
            int k = LetterCells(Lower(c), cells);
            w_.put(cells, k);
            ++s_.in;
        }
        if (!capital && s_.capMode == 1) s_.capMode = 0;
        s_.wordStart = false;
        return entry;
    }

    bool matches(int at, const char16_t *text, int length) const {
        for (int k = 0; k < length; ++k) {
            const char16_t c = t_[at + k];
            if (c == 0 || Lower(c) != text[k]) return false;
        }
        return true;
    }

    bool endsWordAt(int p) const { return EndsWord(t_[p]); }
    bool endsWordOrPlural(int next) const {
        return endsWordAt(next) || ((t_[next] == u's' || t_[next] == u'S') && endsWordAt(next + 1));
    }

    bool positionAllows(int code, int start, int length) const {
        const int next = start + length;
        const char16_t n = t_[next];
        const bool ws = s_.wordStart;
        switch (code) {
        case kAnywhere: return true;
        case kAtWordEnd: return !ws && endsWordOrPlural(next);
        case kBeforeDoubledOrConsonant:
            return !endsWordAt(next) && (Lower(n) == Lower(t_[next - 1]) || IsConsonant(n));
        case kBeforeVowel: return IsVowel(n);
        case kBeforeConsonant:
        case kBeforeConsonantToo:
        case kBeforeConsonantAlso: return IsConsonant(n);
        case kNotAtWordStart:
        case kNotAtWordStartToo: return !ws;
        case kAtWordStart: return ws;
        case kAtWordStartBeforeConsonant: return ws && IsConsonant(n);
        case kAtWordStartOrBeforeConsonant: return ws || IsConsonant(n);
        case kInsideWord: return !ws && !endsWordAt(next);
        case kAtWordStartBeforeBMP: {
            const char16_t l = Lower(n);
            return ws && (l == u'b' || l == u'm' || l == u'p');
        }
        case kBetweenVowels: return !ws && start > 0 && IsVowel(t_[start - 1]) && IsVowel(n);
        case kAtWordEndOrBeforeConsonant: return endsWordOrPlural(next) || IsConsonant(n);
        case kAtWordStartOrEnd: return ws || endsWordOrPlural(next);
        case kInsideBeforeConsonantOrAtEnd: return !ws && (endsWordOrPlural(next) || IsConsonant(n));
        case kAtWordStartOrEndOrBeforeConsonant: return ws || endsWordOrPlural(next) || IsConsonant(n);
        default: return false;
        }
    }

    // Looks the position up in the abbreviation tables; writes and consumes a match.
    bool abbreviate(int &entryUsed) {
        const int at = s_.in;
        const char16_t l = Lower(t_[at]);
        const int exclude = exclude_;
        exclude_ = -1;
        if (s_.wordStart) {
            const int row = WordRow(l);
            if (row >= 0) {
                const FrenchRow r = kFrenchWordStartRows[row];
                for (int k = r.count - 1; k >= 0; --k) {
                    const FrenchWordEntry &e = kFrenchWordStart[r.first + k];
                    if (!matches(at, e.text, e.length) || !endsWordOrPlural(at + e.length)) continue;
                    w_.put(reinterpret_cast<const uint8_t *>(e.cells), e.cellCount);
                    s_.in = at + e.length;
                    return true;
                }
            }
        }
        const int inRow = InWordRow(l);
        if (inRow < 0) return false;
        const FrenchRow r = kFrenchInWordRows[inRow];
        for (int k = r.count - 1; k >= 0; --k) {
            const int index = r.first + k;
            if (index == exclude) continue;
            const FrenchGroupEntry &e = kFrenchInWord[index];
            if (!matches(at, e.text, e.length) || !positionAllows(e.position, at, e.length)) continue;
            w_.put(reinterpret_cast<const uint8_t *>(e.cells), e.cellCount);
            s_.in = at + e.length;
            entryUsed = index;
            return true;
        }
        return false;
    }

    void nonLetter(char16_t c, Cls cls) {
        const int i = s_.in;
        switch (cls) {
        case Cls::Oe:
            if (c == 0x152 && s_.capMode == 0) w_.put(0x28);
            w_.put(0x2A);
            if (s_.sentence == 1) s_.sentence = 2;
            s_.wordStart = false;
            break;
        case Cls::Number:
            if (!s_.numMode) {
                w_.put(0x20);
                s_.numMode = true;
            }
            w_.put(NumberCell(c));
            break;
        case Cls::Space: {
            s_.numMode = false;
            s_.capMode = 0;
            s_.wordStart = true;
            if (s_.sentence == 2) s_.sentence = 0;
            const char16_t next = t_[i + 1];
            const char16_t before = i > 0 ? t_[i - 1] : 0;
            const bool tight = next == u'!' || next == u')' || next == u',' || next == u'.' || next == u':' ||
                               next == u';' || next == u'?' || next == u']' || next == 0xBB || before == u'(' ||
                               before == u'[' || before == 0xAB;
            if (!tight) w_.put(0);
            break;
        }
        case Cls::Separator: {
            s_.capMode = 0;
            s_.wordStart = true;
            if (SetsSentence(c)) s_.sentence = 1;
            uint8_t cells[3];
            w_.put(cells, SeparatorCells(c, cells));
            break;
        }
        default:
            s_.numMode = false;
            s_.capMode = 0;
            break;
        }
        s_.in = i + 1;
    }

    const char16_t *t_;
    CellWriter w_;
    State s_;
    int exclude_ = -1;
    int rollbackBudget_ = 0;
};

}  // namespace

int TranslateFrench(char16_t *text, uint8_t *cells) {
    if (!text || !cells) return 0;
    French f(text, cells);
    return f.run();
}

}  // namespace kotari
