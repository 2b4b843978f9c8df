#!/usr/bin/env python3
"""Generates engine/lang/european/french_tables.cpp, the two abbreviation tables
of contracted French braille, from the word and letter-group rules of liblouis's
fr-bfu-g2.ctb (forward rules only).

Word-start table: whole words and fixed phrases (rows a-v, à, é, ê, œ); a plural
form whose cells are the singular's plus s is left out, because the translator
accepts a plural s after any entry. In-word table: letter groups (rows a-v) with
the position code that best expresses the rule's context.

  python3 scripts/gen_french_tables.py [/usr/share/liblouis/tables/fr-bfu-g2.ctb]
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/liblouis/tables/fr-bfu-g2.ctb"
OUT = os.path.join(ROOT, "engine", "lang", "european", "french_tables.cpp")

WORD_ROWS = [chr(c) for c in range(ord("a"), ord("v") + 1)] + ["à", "é", "ê", "œ"]
# In-word rows a-v, then the accented letters that start a letter-group rule
# (é, ï, ó, ö: the "-érien", "-ïdien" word endings and the like); œ is written
# directly. The translator's InWordRow must list the same letters in this order.
INWORD_ROWS = [chr(c) for c in range(ord("a"), ord("v") + 1)] + ["é", "ï", "ó", "ö"]
LETTERS = set("abcdefghijklmnopqrstuvwxyzàâäæçèéêëìîïñòóôöùúûüœ")


def unescape(s):
    s = s.replace("\\s", " ")
    return re.sub(r"\\x([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), s)


def cells(pattern):
    out = []
    for part in pattern.split("-"):
        if not part or not all(ch in "12345678" for ch in part):
            return None
        v = 0
        for ch in part:
            v |= 1 << (int(ch) - 1)
        if v > 0x3F:
            return None
        out.append(v)
    return out


def position_code(op, before):
    if op == "endword":
        return 1
    if op == "midendword":
        return 5
    if op == "midword":
        return 17 if before in ("con", "conabr") else 11
    if op in ("begword", "sufword"):
        if before == "con":
            return 8
        if before in ("bmp", "bmpabr"):
            return 12
        return 6
    # always, partword, begmidword
    if before in ("con", "conabr", "bmp", "bmpabr"):
        return 4
    if before in ("voy", "bvoy", "bvoyyy"):
        return 3
    return 0


words = {}    # text -> cells (first rule wins, as in liblouis)
groups = []   # (text, cells, code)
seen_groups = set()
with open(SRC, encoding="utf-8") as f:
    for raw in f:
        line = raw.split("#")[0].strip() if not raw.startswith("#") else ""
        if not line:
            continue
        toks = line.split()
        if toks[0] == "nofor":
            continue
        if toks[0] == "noback":
            toks = toks[1:]
        before = None
        while toks and toks[0] in ("before", "after") and len(toks) > 2:
            if toks[0] == "before":
                before = toks[1]
            toks = toks[2:]
        if len(toks) < 3:
            continue
        op, text, pattern = toks[0], unescape(toks[1]), toks[2]
        c = cells(pattern)
        if c is None:
            continue
        low = text.lower()
        if op in ("word", "lowword", "prfword", "sufword") and len(low) > 1 and low[0] in WORD_ROWS:
            if op == "sufword" and not all(ch in LETTERS or ch in " '-" for ch in low):
                continue
            words.setdefault(low, c)
        if op in ("always", "begword", "midword", "endword", "partword", "begmidword", "midendword",
                  "sufword", "prfword") and len(low) > 1 and low[0] in INWORD_ROWS \
                and all(ch in LETTERS for ch in low):
            code = 1 if op == "prfword" else position_code(op, before)
            if op == "sufword" and before == "apost":
                continue
            key = (low, code)
            if key not in seen_groups:
                seen_groups.add(key)
                groups.append((low, c, code))

# The translator accepts a plural s after any word-start entry. Where liblouis
# writes a word's plural otherwise (the singular is a word of its own whose
# plural contracts), the plural gets an entry of its own.
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from louis_compare import Louis  # noqa: E402
louis = Louis("fr-bfu-g2.ctb")
for w in sorted(words):
    if w.endswith("s") or (w + "s") in words or " " in w:
        continue
    single, plural = louis.cells(w), louis.cells(w + "s")
    if single is None or plural is None:
        continue
    if list(plural) != list(single) + [0x0E] and list(single) == words[w] and all(0 < v <= 0x3F for v in plural):
        words[w + "s"] = list(plural)

# Drop plurals that the plural-s rule already gives.
for w in sorted(words):
    if w.endswith("s") and w[:-1] in words and words[w] == words[w[:-1]] + [0x0E]:
        del words[w]


def cpp_str16(s):
    out = []
    for ch in s:
        if ch.isascii() and ch.isalnum() or ch in " -":
            out.append(ch)
        else:
            out.append("\\u%04x" % ord(ch))
    return 'u"' + "".join(out) + '"'


def cpp_cells(c):
    return '"' + "".join("\\x%02x" % v for v in c) + '"'


lines = []
lines.append("// Contracted French abbreviation tables (generated by scripts/gen_french_tables.py")
lines.append("// from the word and letter-group rules of contracted French braille). Do not edit by hand.")
lines.append('#include "lang/european/french_tables.h"')
lines.append("")
lines.append("// Table data, laid out by hand or by its generator.")
lines.append("// clang-format off")
lines.append("namespace kotari {")
lines.append("")


def add_table(entry_type, name, entries, row_of, row_comment, sized=None):
    """The entries, grouped by row (each row's entries contiguous), their count and
    the row table: each row's first entry and count."""
    rows, ordered = [], []
    for group in entries:
        rows.append((len(ordered), len(group)))
        ordered.extend(group)
    lines.append(f"const {entry_type} {name}[] = {{")
    lines.extend("    " + row_of(e) + "," for e in ordered)
    lines.append("};")
    lines.append(f"const int {name}Count = {len(ordered)};")
    if sized:
        lines.append(f'static_assert(sizeof {name} / sizeof {name}[0] == {len(ordered)}, "{sized} size");')
    lines.append("")
    lines.append(f"// {row_comment}: first entry and count.")
    lines.append(f"const FrenchRow {name}Rows[{name}RowCount] = {{")
    lines.append("    " + ", ".join("{%d, %d}" % r for r in rows) + ",")
    lines.append("};")
    lines.append("")
    return len(ordered)


# Word-start table: rows in WORD_ROWS order, entries sorted so that longer texts
# come later (tried first from the end).
word_count = add_table(
    "FrenchWordEntry", "kFrenchWordStart",
    [sorted((w for w in words if w[0] == r), key=lambda w: (len(w), w)) for r in WORD_ROWS],
    lambda w: "{%s, %d, %s, %d}" % (cpp_str16(w), len(w), cpp_cells(words[w]), len(words[w])),
    "Rows a-v, then à, é, ê, œ", sized="word-start")
in_count = add_table(
    "FrenchGroupEntry", "kFrenchInWord",
    [sorted((g for g in groups if g[0][0] == r), key=lambda g: (len(g[0]), g[0], -g[2])) for r in INWORD_ROWS],
    lambda g: "{%s, %d, %s, %d, %d}" % (cpp_str16(g[0]), len(g[0]), cpp_cells(g[1]), len(g[1]), g[2]),
    "Rows a-v, then é, ï, ó, ö")
lines.append("}  // namespace kotari")
with open(OUT, "w", encoding="utf-8") as f:
    f.write("\n".join(lines) + "\n")
print(f"{word_count} word-start entries, {in_count} in-word entries -> {OUT}")
