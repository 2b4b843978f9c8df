#!/usr/bin/env python3
"""Builds the English translator's shortform and exception word lists.

The general contraction rules of the English translator get some words wrong:
longer words that contain a shortform or a strong wordsign (aboutface,
afterword, friendship), and words where a groupsign must not be used because it
would cross a syllable boundary, or another one wins (twofold, carthorse,
begging, Southend). Each such word gets a record of the word and its segmented
form in engine/lang/english/data/english_{shortforms,exceptions}.tsv; the sizes of both lists are
written to english_wordlists.h.

Procedure (reproducible):
  1. Write the list files with empty lists and rebuild the engine, so that the
     engine applies only its general rules.
  2. Translate every line of the word lists (default: Debian's american-english,
     american-english-huge and british-english-huge) with the engine and with
     liblouis en-ueb-g2.ctb, each line alone.
  3. For every word (letter run of at most 20 letters, with its capitalised and
     possessive variants) where liblouis differs, split liblouis's cells for the
     lower-case word into letters and groupsigns/wordsigns of our tables. A word
     whose cells cannot be split that way (other indicators), or whose
     segmented form is longer than 25 characters, cannot be fixed by a record.
  4. Keep every word whose record fixes more of its lines than it breaks.
     Words whose segmentation uses a shortform (WordsignTable entries 35 and
     on) or one of the groupsigns blind, first, friend, good, letter, little,
     quick go to the shortform list, the others to the exception list. The
     examples the translator's rules name are always listed, and the
     shortforms themselves are listed as bare records (used standing alone).
  5. Write the list files (sorted, as the engine bisects) and rebuild; print the
     agreement per word list with the new lists.

Takes several minutes (about a million liblouis translations).

  scripts/english_lists.py [--build build] [--dict FILE ...] [--no-rebuild]
"""
import argparse
import collections
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from louis_compare import Engine, Louis  # noqa: E402

TABLES = os.path.join(ROOT, "engine", "lang", "english", "english_tables.cpp")
DATA = os.path.join(ROOT, "engine", "lang", "english", "data")
SIZES = os.path.join(ROOT, "engine", "lang", "english", "english_wordlists.h")
DICTS = ["/usr/share/dict/american-english", "/usr/share/dict/american-english-huge",
         "/usr/share/dict/british-english-huge"]
MAX_WORD = 20
MAX_SEGMENTED = 25
LETTERS = dict(zip("abcdefghijklmnopqrstuvwxyz", [
    0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
    0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35]))
RESTRICTED = {"blind", "first", "friend", "good", "letter", "little", "quick"}
# Words of running text that the word lists lack, drawn like theirs.
EXTRA_WORDS = ["Southend", "Southend's"]
# Words the translator's rules give as examples of the lists, with their forms.
NAMED_EXAMPLES = {
    "aboutface": "/about/face", "aboutfaced": "/about/fac/ed/", "gadabout": "gad/about/",
    "afterword": "/after//word/", "hereafter": "h/er/e/after/", "friendship": "/friend//sh/ip",
    "befriend": "/be//friend/", "unfriendly": "un/friend/ly", "goodbye": "/good/bye",
    "chifforobe": "/ch/i/ff/orobe", "twofold": "twofold", "insofar": "/in/sof/ar/",
    "biofeedback": "biofe/ed/back", "apartheid": "a/part/heid", "northeast": "nor/th//ea//st/",
    "thence": "/th//ence/", "disingenuous": "/dis//in/g/en/u/ou/s", "orangeade": "orangeade",
}


def read_groups():
    """Wordsigns and groupsigns with their cells, read from the table source."""
    text = open(TABLES, encoding="utf-8").read()

    def table(name):
        body = text[text.index(name):]
        body = body[:body.index("};")]
        rows = re.findall(r'\{"([a-z]+)", (\d+), (\d+), \{([^}]*)\}\}', body)
        return [(w, bytes(int(c, 16) for c in cells.split(", "))) for w, _, _, cells in rows]

    wordsigns = table("kWordsignTable[kWordsignCount] = {")
    groupsigns = table("kGroupsignTable[kGroupsignCount] = {")
    assert len(wordsigns) == 110 and len(groupsigns) == 82
    return wordsigns, groupsigns


def split_cells(word, cells, groups):
    """Segmented form of `word` (lower case) whose letters and groups give
    exactly `cells`, or None. Fewer units are preferred."""
    n, m = len(word), len(cells)
    best = {}

    def solve(i, j):
        if (i, j) in best:
            return best[(i, j)]
        if i == n:
            r = [] if j == m else None
            best[(i, j)] = r
            return r
        result = None
        for letters, gc in groups:
            if word.startswith(letters, i) and cells.startswith(gc, j):
                rest = solve(i + len(letters), j + len(gc))
                if rest is not None and (result is None or len(rest) + 1 < len(result)):
                    result = ["/" + letters + "/"] + rest
        if j < m and cells[j] == LETTERS[word[i]]:
            rest = solve(i + 1, j + 1)
            if rest is not None and (result is None or len(rest) + 1 < len(result)):
                result = [word[i]] + rest
        best[(i, j)] = result
        return result

    sys.setrecursionlimit(10000)
    parts = solve(0, 0)
    return "".join(parts) if parts is not None else None


def predicted(line, base_cells):
    """Our cells for a word-list line once its letter run takes base_cells."""
    m = re.fullmatch(r"([A-Za-z]+)('[a-z]+)?", line)
    letters, ending = m.group(1), m.group(2)
    if letters.islower():
        prefix = b""
    elif len(letters) > 1 and letters.isupper():
        prefix = b"\x20\x20"
    elif letters[0].isupper() and letters[1:].islower():
        prefix = b"\x20"
    else:
        return None
    # An ending after the apostrophe ('s, 't, 'll, ...) is written letter by letter.
    return prefix + base_cells + (b"\x04" + bytes(LETTERS[c] for c in ending[1:]) if ending else b"")


def write_sizes(shortforms, exceptions):
    open(SIZES, "w", encoding="utf-8").write(f"""// Sizes of the English translator's word lists (english_wordlists.cpp).
// Generated by scripts/english_lists.py.
#pragma once

namespace kotari {{
namespace english {{

constexpr int kShortformWordCount = {shortforms};
constexpr int kExceptionWordCount = {exceptions};

}}  // namespace english
}}  // namespace kotari
""")


def write_rows(name, heading, records):
    """One list as engine/lang/english/data/<name>.tsv (scripts/gen_table_rows.py's form)."""
    with open(os.path.join(DATA, name + ".tsv"), "w", encoding="utf-8") as f:
        f.write(f"# English: {heading}, sorted by word.\n")
        f.write("# Written by scripts/english_lists.py; segmented: contracted groups between '/'; then both lengths.\n")
        f.write("word:s\tsegmented:s\twordLength\tsegmentedLength\n")
        for word, seg in records:
            f.write(f"{word}\t{seg}\t{len(word)}\t{len(seg)}\n")


def write_lists(shortforms, exceptions):
    write_sizes(len(shortforms), len(exceptions))
    write_rows("english_shortforms", "longer words that contain a shortform or a restricted wordsign", sorted(shortforms))
    write_rows("english_exceptions", "words that the general rules would contract wrongly", sorted(exceptions))


def write_empty():
    # One record that no word matches, as an array cannot be empty.
    write_sizes(1, 1)
    write_rows("english_shortforms", "no words yet", [("", "")])
    write_rows("english_exceptions", "no words yet", [("", "")])


def rebuild(build):
    subprocess.run(["ninja", "-C", build, "-j2", "KotariEngine"], check=True, stdout=subprocess.DEVNULL)


def progress(text):
    print(text, file=sys.stderr, flush=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--dict", nargs="+", default=DICTS, help="word lists to draw and measure words from")
    ap.add_argument("--no-rebuild", action="store_true", help="use the engine as built (lists already empty)")
    ap.add_argument("--report", type=int, default=0, help="print the N first records of each list")
    args = ap.parse_args()

    wordsigns, groupsigns = read_groups()
    groups = wordsigns + groupsigns
    shortform_groups = {w for w, _ in wordsigns[35:]} | RESTRICTED
    library = os.path.join(args.build, "lib", "libKotariEngine.so")

    if not args.no_rebuild:
        write_empty()
        rebuild(args.build)
    engine = Engine(library, 5, 2)
    louis = Louis("en-ueb-g2.ctb")

    lines_by_base = collections.defaultdict(set)
    dict_lines = {}
    for path in args.dict:
        if not os.path.exists(path):
            progress(f"no word list {path}, skipped")
            continue
        dict_lines[path] = [ln.strip() for ln in open(path, encoding="utf-8") if ln.strip()]
        for line in dict_lines[path]:
            if re.fullmatch(r"[A-Za-z]+('[a-z]+)?", line):
                lines_by_base[re.match(r"[A-Za-z]+", line).group(0).lower()].add(line)

    for line in EXTRA_WORDS:
        lines_by_base[re.match(r"[A-Za-z]+", line).group(0).lower()].add(line)

    records = {}
    for done, (base, lines) in enumerate(sorted(lines_by_base.items())):
        if done % 20000 == 0:
            progress(f"  {done} of {len(lines_by_base)} words")
        if len(base) > MAX_WORD:
            continue
        lines = sorted(lines)
        reference = {ln: louis.cells(ln) for ln in lines}
        wrong = [ln for ln in lines if engine.cells(ln) != reference[ln]]
        if not wrong:
            continue
        # liblouis's cells for the word alone, or as it stands before an
        # apostrophe ending (couldn't takes the shortform, couldn alone not).
        sources = [reference.get(base) or louis.cells(base)]
        for ln in wrong:
            if "'" in ln:
                full, ending = louis.cells(ln.lower()), ln[ln.index("'"):].lower()
                tail = b"\x04" + bytes(LETTERS[c] for c in ending[1:])
                if full is not None and full.endswith(tail):
                    sources.append(full[:-len(tail)])
        best = None
        for theirs in sources:
            if theirs is None:
                continue
            seg = split_cells(base, theirs, groups)
            if seg is None or len(seg) > MAX_SEGMENTED:
                continue
            gain = sum(1 for ln in wrong if predicted(ln, theirs) == reference[ln])
            loss = sum(1 for ln in lines if ln not in wrong and predicted(ln, theirs) != reference[ln])
            if best is None or gain - loss > best[0]:
                best = (gain - loss, seg)
        if best is not None and best[0] > 0:
            records[base] = best[1]

    records.update(NAMED_EXAMPLES)
    # The shortforms themselves, so that they are used wherever the word stands
    # alone (the whole-word rule wants an opening and a closing character
    # around it, an apostrophe ending only for a few words).
    for w, cells in wordsigns[35:]:
        if w not in records and louis.cells(w) == cells:
            records[w] = "/" + w + "/"
    shortforms, exceptions = [], []
    for word, seg in sorted(records.items()):
        used = set(re.findall(r"/([a-z]+)/", seg))
        (shortforms if used & shortform_groups else exceptions).append((word, seg))
    write_lists(shortforms, exceptions)
    progress(f"written {len(shortforms)} shortform and {len(exceptions)} exception records")
    if args.report:
        for word, seg in shortforms[:args.report] + exceptions[:args.report]:
            print(f"  {word:20s} {seg}")
    rebuild(args.build)

    # The new lists are measured in a fresh process (this one holds the old library).
    for path in dict_lines:
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "louis_compare.py"), "--lang", "5",
                        "--grade", "2", "--table", "en-ueb-g2.ctb", "--engine", library, path], check=True)

if __name__ == "__main__":
    sys.exit(main())
