#!/usr/bin/env python3
"""Generates the Chinese translator's language data as a C++ source file.

Where each piece comes from (all Debian packages, read at build time):

* The characters: every Chinese character of GB 2312 (membership by Python's
  'gb2312' codec), plus every other character of U+4E00..U+9FA5 that the
  liblouis tables below give a reading and that the jieba word list uses, so
  common characters outside GB 2312 are not lost.
* The reading of a character (unicode-data, Unihan_Readings.txt): kMandarin, the
  customary reading; a character without one takes the most frequent reading of
  kHanyuPinlu, else the first of kXHC1983, kTGHZ2013 or kHanyuPinyin. A character
  has several readings (flag bit 6 of byte B) when kXHC1983, kTGHZ2013 or
  kHanyuPinlu list more than one distinct syllable or tone for it. For such a
  character, when zhcn-g1.ctb's single-character entry is one of its Unihan
  readings, that reading is its own: zhcn-g1.ctb's words (below) fix only the
  contexts that differ from it, so the two must agree (长 is cháng, with zhǎng
  chosen in 长大, 成长, ...).
* The cells: the reading's pinyin is written in current Mandarin braille (initial,
  final and tone cells; the table of initials and finals is below). The two
  double-phonic cells of mode 3 are the cells liblouis's zhcn-g2.ctb gives the
  same syllable (initial, final and tone): for each such syllable, the pair that
  most of its single characters and word entries in zhcn-g2.ctb carry. A neutral
  tone keeps the first cell and a blank second cell, as the record of 的 has it
  (0C 00; zhcn-g2.ctb writes 差的 so too, but other neutral syllables with a
  second cell of their own). A syllable that only interjections have (哦, 嗯)
  takes the character's own zhcn-g2.ctb entry.
  Syllabic nasals (ń, ńg, m̀) are written as en, en and mu.
* Mode 2 writes a tone only where it is not the commonest tone of its toneless
  syllable, counting each character by its frequency in jieba's dict.txt
  (python3-jieba); bit 7 of byte C marks those characters.
* The reading choice: liblouis's zhcn-g1.ctb has about 5,000 words of two or more
  characters that fix the reading of a polyphonic character in context. Each word
  is split into the readings of its characters (a reading may lose its tone in a
  word, as 宜 in 便宜); where a character reads otherwise
  than its own reading, the pair (character, character before) and the pair
  (character, character after) vote for that reading. A pair becomes a rule when
  most of the words that contain it choose that reading over the character's own.
* The word pairs: the two-character words of jieba's dict.txt whose characters
  are both in the table, the most frequent first (about 3,150 of them).

Record layout (six bytes, sorted by character for bisection): the character (high
byte, low byte), then A, B, C, D. A's low six bits are the first cell (the
initial, or the final for a syllable without one), B's low six bits the second
cell (the final, 0 when there is none). Tones: A bit 7 clear: B bit 7 set = tone
1, clear = no tone, unless A bit 6 is set: then B bit 7 set = tone 3, clear =
tone 2. A bit 7 set: tone 4 when neither A bit 6 nor B bit 7 is set, else the
neutral tone. B bit 6: several readings. C, D: the double-phonic cells; C bit 7:
the tone is written in mode 2.

  gen_chinese_tables.py --output chinese_data.cpp [--report]
"""
import argparse
import bz2
import collections
import os
import re
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from louis_compare import gb2312_hanzi  # noqa: E402

UNIHAN = "/usr/share/unicode/Unihan_Readings.txt.bz2"
LOUIS_G1 = "/usr/share/liblouis/tables/zhcn-g1.ctb"
LOUIS_G2 = "/usr/share/liblouis/tables/zhcn-g2.ctb"
JIEBA = "/usr/lib/python3/dist-packages/jieba/dict.txt"

WORD_PAIRS = 3150


def cell(dots):
    v = 0
    for d in dots:
        v |= 1 << (int(d) - 1)
    return v


# Current Mandarin braille: initials and finals (dot numbers). o (bo, po, mo, fo)
# shares the cell of e; uo (wo, duo, ...) has its own.
INITIALS = {
    "b": "12", "p": "1234", "m": "134", "f": "124", "d": "145", "t": "2345", "n": "1345", "l": "123",
    "g": "1245", "k": "13", "h": "125", "j": "1245", "q": "13", "x": "125",
    "zh": "34", "ch": "12345", "sh": "156", "r": "245", "z": "1356", "c": "14", "s": "234",
}
FINALS = {
    "a": "35", "o": "26", "e": "26", "ê": "26", "er": "1235", "i": "24", "u": "136", "ü": "346",
    "ai": "246", "ei": "2346", "ao": "235", "ou": "12356", "an": "1236", "en": "356", "ang": "236",
    "eng": "3456", "ong": "256", "ia": "1246", "ie": "15", "iao": "345", "iu": "1256", "ian": "146",
    "in": "126", "iang": "1346", "ing": "16", "iong": "1456", "ua": "123456", "uo": "135",
    "uai": "13456", "ui": "2456", "uan": "12456", "un": "25", "uang": "2356", "ueng": "256",
    "üe": "23456", "üan": "12346", "ün": "456",
}
# Syllables spelled with y or w stand for a final without an initial.
YW = {
    "yi": "i", "ya": "ia", "ye": "ie", "yao": "iao", "you": "iu", "yan": "ian", "yin": "in",
    "yang": "iang", "ying": "ing", "yong": "iong", "yo": "o", "yu": "ü", "yue": "üe", "yuan": "üan",
    "yun": "ün", "wu": "u", "wa": "ua", "wo": "uo", "wai": "uai", "wei": "ui", "wan": "uan",
    "wen": "un", "wang": "uang", "weng": "ueng",
}
# The syllabic nasals of interjections are written as the nearest regular syllable.
NASALS = {"n": "en", "ng": "en", "m": "mu", "hm": "hen", "hng": "heng"}
TONE_MARKS = {"\u0304": 1, "\u0301": 2, "\u030c": 3, "\u0300": 4}
TONE_CELLS = {1: 0x01, 2: 0x02, 3: 0x04, 4: 0x06}


def parse_pinyin(p):
    """'zhōng' -> ('zhong', 1); neutral tone 5."""
    d = unicodedata.normalize("NFD", p.lower())
    tone = 5
    letters = []
    for ch in d:
        if ch in TONE_MARKS:
            tone = TONE_MARKS[ch]
        elif ch == "\u0308":
            letters[-1] = "ü"
        elif ch == "\u0302":
            letters[-1] = "ê"
        else:
            letters.append(ch)
    s = "".join(letters).replace("v", "ü")
    return s, tone


def braille_syllable(s):
    """Toneless syllable -> (first cell, second cell) or None."""
    if s in NASALS:
        s = NASALS[s]
    if s in YW:
        return cell(FINALS[YW[s]]), 0
    if s == "er":
        return cell(FINALS["er"]), 0
    for ini in ("zh", "ch", "sh") + tuple(k for k in INITIALS if len(k) == 1):
        if s.startswith(ini):
            fin = s[len(ini):]
            break
    else:
        return (cell(FINALS[s]), 0) if s in FINALS else None
    if fin == "":
        return None
    if ini in ("j", "q", "x") and fin.startswith("u"):
        fin = "ü" + fin[1:]
    if fin == "i" and ini in ("zh", "ch", "sh", "r", "z", "c", "s"):
        return cell(INITIALS[ini]), 0  # zhi, chi, shi, ri, zi, ci, si: the initial alone
    if fin not in FINALS:
        return None
    return cell(INITIALS[ini]), cell(FINALS[fin])


def encode_ab(first, second, tone, several):
    a, b = first, second
    if tone == 1:
        b |= 0x80
    elif tone == 2:
        a |= 0x40
    elif tone == 3:
        a |= 0x40
        b |= 0x80
    elif tone == 4:
        a |= 0x80
    elif tone == 5:
        a |= 0x80
        b |= 0x80
    if several:
        b |= 0x40
    return a, b


def reading_cells(s, tone):
    """Current braille cells of one reading (mode 1), as liblouis writes them."""
    bs = braille_syllable(s)
    if bs is None:
        return None
    out = [bs[0]] + ([bs[1]] if bs[1] else [])
    if tone in TONE_CELLS:
        out.append(TONE_CELLS[tone])
    return tuple(out)


def read_unihan():
    fields = collections.defaultdict(dict)
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            cp, key, value = line.rstrip("\n").split("\t", 2)
            if key in ("kMandarin", "kHanyuPinlu", "kXHC1983", "kTGHZ2013", "kHanyuPinyin"):
                fields[int(cp[2:], 16)][key] = value
    return fields


def readings_of(f):
    """(default reading, all readings) as (syllable, tone) pairs."""
    pinlu = [(m.group(1), int(m.group(2))) for m in re.finditer(r"([^\s(]+)\((\d+)\)", f.get("kHanyuPinlu", ""))]
    listed = []
    for key in ("kXHC1983", "kTGHZ2013", "kHanyuPinyin"):
        for item in f.get(key, "").split():
            for p in item.split(":", 1)[-1].split(","):
                listed.append(p)
    default = None
    if "kMandarin" in f:
        default = f["kMandarin"].split()[0]
    elif pinlu:
        default = max(pinlu, key=lambda x: x[1])[0]
    elif listed:
        default = listed[0]
    if default is None:
        return None, []
    modern = [p for p, _ in pinlu]
    for key in ("kXHC1983", "kTGHZ2013"):
        for item in f.get(key, "").split():
            modern += item.split(":", 1)[-1].split(",")
    allr = []
    for p in [default] + modern + listed:
        r = parse_pinyin(p)
        if r not in allr:
            allr.append(r)
    several = len({parse_pinyin(p) for p in [default] + modern}) > 1
    return parse_pinyin(default), (allr, several)


def louis_entries(path):
    signs, words = {}, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) < 3 or parts[0] not in ("sign", "always"):
                continue
            chars = re.findall(r"\\x([0-9A-Fa-f]{4})", parts[1])
            if not chars or "".join("\\x" + c for c in chars) != parts[1]:
                continue
            cps = [int(c, 16) for c in chars]
            cells = tuple(cell(d) if d != "0" else 0 for d in parts[2].split("-"))
            if parts[0] == "sign" and len(cps) == 1:
                signs[cps[0]] = cells
            elif len(cps) >= 2 and all(0x4E00 <= c <= 0x9FA5 for c in cps):
                words.append((cps, tuple(c for c in cells if c)))  # without the blanks some words end in
    return signs, words


def jieba_words():
    freq = collections.Counter()
    words = []
    with open(JIEBA, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) < 2:
                continue
            w, n = parts[0], int(parts[1])
            words.append((w, n))
            for ch in w:
                freq[ord(ch)] += n
    return words, freq


def split_word(cps, cells, candidates):
    """Splits a liblouis word's cells into one reading per character, or None."""
    def go(i, pos):
        if i == len(cps):
            return [] if pos == len(cells) else None
        for r, rc in candidates.get(cps[i], []):
            if tuple(cells[pos:pos + len(rc)]) == rc:
                rest = go(i + 1, pos + len(rc))
                if rest is not None:
                    return [r] + rest
        return None
    return go(0, 0)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--output", required=True)
    ap.add_argument("--report", action="store_true", help="print coverage figures to standard error")
    args = ap.parse_args()

    unihan = read_unihan()
    g1_signs, g1_words = louis_entries(LOUIS_G1)
    g2_signs, _ = louis_entries(LOUIS_G2)
    jwords, freq = jieba_words()

    gb = gb2312_hanzi()
    chars = sorted(gb | {cp for cp in range(0x4E00, 0x9FA6) if cp in g1_signs and freq.get(cp, 0) >= 1000})

    info = {}
    missing = []
    for cp in chars:
        default, rest = readings_of(unihan.get(cp, {}))
        if default is None or reading_cells(*default) is None:
            missing.append(cp)
            continue
        allr, several = rest
        allr = [r for r in allr if reading_cells(*r) is not None]
        if several and cp in g1_signs:
            # zhcn-g1.ctb's words fix only the contexts that differ from the reading it
            # gives the character alone, so that reading must be the character's own.
            for r in allr:
                if reading_cells(*r) == g1_signs[cp]:
                    default = r
                    break
        info[cp] = (default, allr, several)

    # Double-phonic pair per syllable (first, second, tone), learned from zhcn-g2.ctb.
    votes = collections.defaultdict(collections.Counter)
    for cp, (default, _, _) in info.items():
        if cp in g2_signs and cp in g1_signs and g1_signs[cp] == reading_cells(*default) and len(g2_signs[cp]) == 2:
            votes[default].update([g2_signs[cp]])
    # The words of zhcn-g2.ctb (two cells a character) show the neutral tone and other
    # readings that no single character carries.
    g2_words = {tuple(cps): cells for cps, cells in louis_entries(LOUIS_G2)[1]}
    word_candidates = {cp: [(r, reading_cells(*r)) for r in rs] for cp, (_, rs, _) in info.items()}
    for cps, cells in g1_words:
        g2 = g2_words.get(tuple(cps))
        if g2 is None or len(g2) != 2 * len(cps) or not all(c in info for c in cps):
            continue
        rs = split_word(cps, cells, word_candidates)
        if rs is None:
            continue
        for i, r in enumerate(rs):
            votes[r].update([g2[2 * i:2 * i + 2]])
    double = {syl: v.most_common(1)[0][0] for syl, v in votes.items()}
    # Syllables that no single character of zhcn-g2.ctb shows take the pair of the same
    # syllable in another tone, with the tone moved as zhcn-g2.ctb moves it.
    by_toneless = collections.defaultdict(dict)
    for (s, t), pair in double.items():
        by_toneless[s][t] = pair

    # Mode 2: the commonest tone of each toneless syllable, by character frequency.
    tone_weight = collections.defaultdict(collections.Counter)
    for cp, (default, _, _) in info.items():
        tone_weight[default[0]][default[1]] += freq.get(cp, 0) + 1
    common_tone = {s: c.most_common(1)[0][0] for s, c in tone_weight.items()}

    def record(cp, reading, several):
        s, t = reading
        first, second = braille_syllable(s)
        a, b = encode_ab(first, second, t, several)
        pair = double.get((s, t))
        if pair is None and len(g2_signs.get(cp, ())) == 2:
            pair = g2_signs[cp]  # a syllable of interjections only: the character's own entry
        if pair is None:
            pair = (0, 0)
            for t2, p2 in by_toneless.get(s, {}).items():
                pair = p2
                break
        c, d = pair
        if t == 5:
            d = 0  # the neutral tone: the first cell and a blank, as zhcn-g2.ctb writes 差的
        if t != common_tone.get(s, t):
            c |= 0x80
        return a, b, c, d

    records = {cp: record(cp, d, sev) for cp, (d, _, sev) in info.items()}

    # Reading choice from liblouis's words.
    candidates = {cp: [(r, reading_cells(*r)) for r in rs] for cp, (_, rs, _) in info.items()}
    for cp in candidates:  # the own reading first; the neutral tone of each reading last
        d = info[cp][0]
        candidates[cp].sort(key=lambda x: x[0] != d)
        candidates[cp] += [((s, 5), reading_cells(s, 5)) for s in dict.fromkeys(r[0] for r, _ in candidates[cp])
                           if (s, 5) not in [r for r, _ in candidates[cp]]]
    pair_votes = collections.defaultdict(collections.Counter)  # (cp, side, neighbour) -> reading
    split_ok = split_fail = 0
    for cps, cells in g1_words:
        if not all(c in info for c in cps):
            continue
        rs = split_word(cps, cells, candidates)
        if rs is None:
            split_fail += 1
            continue
        split_ok += 1
        for i, (cp, r) in enumerate(zip(cps, rs)):
            if not info[cp][2] and r == info[cp][0]:
                continue
            if i > 0:
                pair_votes[(cp, 0, cps[i - 1])][r] += 1
            if i + 1 < len(cps):
                pair_votes[(cp, 1, cps[i + 1])][r] += 1
    choices = []
    for (cp, side, nb), v in sorted(pair_votes.items()):
        r, n = v.most_common(1)[0]
        if r != info[cp][0] and n * 2 > sum(v.values()):
            choices.append((cp, side, nb, r))

    # Word pairs: two-character words of jieba, most frequent first.
    pairs = []
    for w, n in sorted(jwords, key=lambda x: -x[1]):
        if len(w) == 2 and all(ord(c) in records for c in w):
            pairs.append((ord(w[0]), ord(w[1])))
            if len(pairs) == WORD_PAIRS:
                break
    pairs.sort()

    out = []
    out.append("// Generated by scripts/gen_chinese_tables.py from unicode-data (Unihan), liblouis's")
    out.append("// zhcn-g1.ctb and zhcn-g2.ctb and python3-jieba's dict.txt. Do not edit.")
    out.append('#include "lang/chinese/chinese_data.h"\n')
    out.append("namespace kotari::chinese {\n")
    out.append(f"const CharRecord kChars[{len(records)}] = {{")
    for cp in sorted(records):
        a, b, c, d = records[cp]
        out.append(f"    {{0x{cp >> 8:02X}, 0x{cp & 0xFF:02X}, 0x{a:02X}, 0x{b:02X}, 0x{c:02X}, 0x{d:02X}}},")
    out.append("};")
    out.append(f"const int kCharCount = {len(records)};\n")
    out.append(f"const ReadingChoice kChoices[{max(1, len(choices))}] = {{")
    for cp, side, nb, r in choices:
        a, b, c, d = record(cp, r, True)
        out.append(f"    {{0x{cp:04X}, 0x{nb:04X}, {side}, 0x{a:02X}, 0x{b:02X}, 0x{c:02X}, 0x{d:02X}}},")
    out.append("};")
    out.append(f"const int kChoiceCount = {len(choices)};\n")
    out.append(f"const WordPair kWordPairs[{len(pairs)}] = {{")
    for i in range(0, len(pairs), 6):
        out.append("    " + " ".join(f"{{0x{p:04X}, 0x{q:04X}}}," for p, q in pairs[i:i + 6]))
    out.append("};")
    out.append(f"const int kWordPairCount = {len(pairs)};\n")
    out.append("}  // namespace kotari::chinese")
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")

    if args.report:
        agree = sum(1 for cp in records if cp in g1_signs and g1_signs[cp] == reading_cells(*info[cp][0]))
        print(f"GB 2312 characters: {len(gb)}, with a reading: {len(gb & set(records))}; table: {len(records)};"
              f" no reading: {len(missing)} {''.join(map(chr, missing))}", file=sys.stderr)
        print(f"own reading equals zhcn-g1.ctb's single character: {agree}/{len(records)}", file=sys.stderr)
        print(f"double-phonic syllables learned: {len(double)}; characters with several readings:"
              f" {sum(1 for v in info.values() if v[2])}", file=sys.stderr)
        print(f"liblouis words split: {split_ok}, not split: {split_fail}; reading-choice rules: {len(choices)}"
              f" for {len({c[0] for c in choices})} characters; word pairs: {len(pairs)}", file=sys.stderr)


if __name__ == "__main__":
    sys.exit(main())
