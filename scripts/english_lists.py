#!/usr/bin/env python3
"""Builds the English translator's shortform and exception word lists.

The general contraction rules of the English translator get some words wrong:
longer words that contain a shortform or a strong wordsign (aboutface,
afterword, friendship), and words where a groupsign must not be used or another
one wins (twofold, coupon). Each such word gets a record of the word and its
segmented form in engine/lang/english/english_wordlists.cpp.

Procedure (reproducible):
  1. Write the list file with empty lists and rebuild the engine, so that the
     engine applies only its general rules.
  2. Translate every word of the word list (default /usr/share/dict/american-english)
     with the engine and with liblouis en-ueb-g2.ctb, each word alone.
  3. For every word (letter run, with its capitalised and possessive variants)
     where liblouis differs, split liblouis's cells for the lower-case word into
     letters and groupsigns/wordsigns of our tables. A word whose cells cannot be
     split that way (other indicators) cannot be fixed by a list entry.
  4. Rank the candidates by the number of word-list lines they fix, plus a
     bonus of up to 3 for words frequent in running text (README and NEWS
     files of the installed packages, /usr/share/doc). Words whose
     segmentation uses a shortform (WordsignTable entries 35 and on) or one of
     the groupsigns blind, first, friend, good, letter, little, quick go to the
     shortform list (514 records), the others to the exception list (257); the
     words the braille rules give as examples (RULE_EXAMPLES) always come first.
  5. Write the list file (sorted, as the engine bisects) and rebuild.

  scripts/english_lists.py [--build build] [--dict FILE] [--no-rebuild]
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
OUTPUT = os.path.join(ROOT, "engine", "lang", "english", "english_wordlists.cpp")
SHORTFORM_COUNT = 514
EXCEPTION_COUNT = 257
# Words the braille rules themselves give as examples: always in the lists.
RULE_EXAMPLES = ["aboutface", "aboutfaced", "biofeedback", "chifforobe", "disingenuous", "insofar", "twofold"]
MAX_WORD = 20
MAX_SEGMENTED = 25
LETTERS = dict(zip("abcdefghijklmnopqrstuvwxyz", [
    0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
    0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35]))
RESTRICTED = {"blind", "first", "friend", "good", "letter", "little", "quick"}


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


def word_frequencies(folder):
    """Word counts in the README and NEWS files below `folder` (English running
    text of the installed packages), to rank frequent words first."""
    import gzip
    counts = collections.Counter()
    for root, _, files in os.walk(folder):
        for name in files:
            if not re.match(r"(README|NEWS)", name, re.I):
                continue
            path = os.path.join(root, name)
            try:
                data = gzip.open(path).read() if name.endswith(".gz") else open(path, "rb").read()
            except (OSError, EOFError):
                continue
            counts.update(w.lower() for w in re.findall(r"[A-Za-z]+", data[:2000000].decode("utf-8", "replace")))
    return counts


def frequency_bonus(count):
    return 0 if count < 20 else 1 if count < 200 else 2 if count < 2000 else 3


def write_lists(shortforms, exceptions):
    def rows(records):
        out = []
        for word, seg in sorted(records):
            out.append('    {"%s", "%s", %d, %d},' % (word, seg, len(word), len(seg)))
        return "\n".join(out)

    src = f"""// Word lists of the English translator: words whose contraction the general
// rules get wrong, with their segmented forms (contracted groups between '/').
// Generated by scripts/english_lists.py from the word list and liblouis
// en-ueb-g2.ctb; sorted by word, as the translator bisects them.
#include "lang/english/english_tables.h"

// Table data, laid out by hand or by its generator.
// clang-format off
namespace kotari {{
namespace english {{

// Longer words that contain a shortform or a restricted wordsign.
constexpr WordRecord kShortformWordList[kShortformWordCount] = {{
{rows(shortforms)}
}};

// Words that the general rules would contract wrongly.
constexpr WordRecord kExceptionWordList[kExceptionWordCount] = {{
{rows(exceptions)}
}};

namespace {{

constexpr bool Sorted(const WordRecord *list, int count) {{
    for (int i = 1; i < count; ++i) {{
        const char *a = list[i - 1].word, *b = list[i].word;
        int k = 0;
        while (a[k] && a[k] == b[k]) ++k;
        if (static_cast<unsigned char>(a[k]) >= static_cast<unsigned char>(b[k])) return false;
    }}
    return true;
}}
static_assert(Sorted(kShortformWordList, kShortformWordCount), "shortform list must be sorted");
static_assert(Sorted(kExceptionWordList, kExceptionWordCount), "exception list must be sorted");

}}  // namespace
}}  // namespace english
}}  // namespace kotari
"""
    open(OUTPUT, "w", encoding="utf-8").write(src)


def write_empty():
    open(OUTPUT, "w", encoding="utf-8").write(
        '#include "lang/english/english_tables.h"\n'
        "namespace kotari {\nnamespace english {\n"
        "const WordRecord kShortformWordList[kShortformWordCount] = {};\n"
        "const WordRecord kExceptionWordList[kExceptionWordCount] = {};\n"
        "}  // namespace english\n}  // namespace kotari\n")


def rebuild(build):
    subprocess.run(["ninja", "-C", build, "-j2", "KotariEngine"], check=True, stdout=subprocess.DEVNULL)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--dict", default="/usr/share/dict/american-english")
    ap.add_argument("--extra", nargs="*",
                    default=["/usr/share/dict/american-english-huge", "/usr/share/dict/british-english-huge"],
                    help="further real words for spare records (not measured)")
    ap.add_argument("--frequency-corpus", default="/usr/share/doc",
                    help="folder whose README/NEWS files rank frequent words first")
    ap.add_argument("--no-rebuild", action="store_true", help="use the engine as built (lists already empty)")
    ap.add_argument("--report", type=int, default=0, help="print the N best candidates of each list")
    args = ap.parse_args()

    wordsigns, groupsigns = read_groups()
    groups = wordsigns + groupsigns
    shortform_groups = {w for w, _ in wordsigns[35:]} | RESTRICTED

    if not args.no_rebuild:
        write_empty()
        rebuild(args.build)
    engine = Engine(os.path.join(args.build, "lib", "libKotariEngine.so"), 5, 2)
    louis = Louis("en-ueb-g2.ctb")

    lines_by_base = collections.defaultdict(list)
    for line in open(args.dict, encoding="utf-8"):
        line = line.strip()
        if re.fullmatch(r"[A-Za-z]+('[a-z]+)?", line):
            lines_by_base[re.match(r"[A-Za-z]+", line).group(0).lower()].append(line)

    freq = word_frequencies(args.frequency_corpus) if args.frequency_corpus else collections.Counter()
    candidates = []
    for base, lines in lines_by_base.items():
        if len(base) > MAX_WORD:
            continue
        wrong = [ln for ln in lines if engine.cells(ln) != louis.cells(ln)]
        if not wrong:
            continue
        # liblouis's cells for the word alone, or as it stands before an
        # apostrophe ending (couldn't takes the shortform, couldn alone not).
        sources = [louis.cells(base)]
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
            gain = sum(1 for ln in wrong if predicted(ln, theirs) == louis.cells(ln))
            loss = sum(1 for ln in lines if ln not in wrong and predicted(ln, theirs) != louis.cells(ln))
            if best is None or gain - loss > best[0]:
                best = (gain - loss, seg, gain, loss)
        if best is None or best[0] <= 0:
            continue
        _, seg, gain, loss = best
        used = set(re.findall(r"/([a-z]+)/", seg))
        kind = "shortform" if used & shortform_groups else "exception"
        common = any(ln[0].islower() for ln in lines)
        candidates.append((gain - loss + frequency_bonus(freq[base]), base, seg, kind, common))

    # Spare records: words of the larger list, not in the measured list, that
    # the general rules get wrong. They count as fixing nothing here.
    extra = []
    seen = set(lines_by_base)
    for path in args.extra if args.extra else []:
        if not os.path.exists(path):
            continue
        for line in open(path, encoding="utf-8"):
            w = line.strip()
            if not re.fullmatch(r"[A-Za-z][a-z]+", w):
                continue
            w = w.lower()
            if w in seen or len(w) > MAX_WORD:
                continue
            seen.add(w)
            theirs = louis.cells(w)
            if theirs is None or engine.cells(w) == theirs:
                continue
            seg = split_cells(w, theirs, groups)
            if seg is None or len(seg) > MAX_SEGMENTED:
                continue
            kind = "shortform" if set(re.findall(r"/([a-z]+)/", seg)) & shortform_groups else "exception"
            extra.append((0, w, seg, kind))
    # Most lines fixed (plus a bonus for words frequent in running text) first;
    # among equals, common words before names, short words before long ones.
    candidates.sort(key=lambda c: (-c[0], not c[4], len(c[1]), c[1]))
    candidates = [c[:4] for c in candidates]
    examples = []
    for w in RULE_EXAMPLES:
        seg = split_cells(w, louis.cells(w), groups)
        kind = "shortform" if set(re.findall(r"/([a-z]+)/", seg)) & shortform_groups else "exception"
        examples.append((0, w, seg, kind))
    candidates = examples + [c for c in candidates if c[1] not in RULE_EXAMPLES]
    candidates += extra
    # Last spare records: the shortforms themselves, so that they are used
    # wherever the word stands (the whole-word rule wants an opening and a
    # closing character around it, an apostrophe ending only for a few words).
    have = {c[1] for c in candidates}
    for w, _ in wordsigns[35:]:
        if w not in have and louis.cells(w) == dict(wordsigns)[w]:
            candidates.append((0, w, "/" + w + "/", "shortform"))
    shortforms = [(b, s) for g, b, s, k in candidates if k == "shortform"]
    exceptions = [(b, s) for g, b, s, k in candidates if k == "exception"]
    print(f"candidates: {len(shortforms)} shortform words, {len(exceptions)} exception words; "
          f"lines they fix: {sum(c[0] for c in candidates)}")
    if args.report:
        for g, b, s, k in candidates[:args.report]:
            print(f"  {g:3d} {k:9s} {b:20s} {s}")
    if len(shortforms) < SHORTFORM_COUNT or len(exceptions) < EXCEPTION_COUNT:
        # Spare records of one list take the next candidates of the other kind
        # only within the list's own definition; report the shortfall.
        print(f"short of candidates: shortform {len(shortforms)}/{SHORTFORM_COUNT}, "
              f"exception {len(exceptions)}/{EXCEPTION_COUNT}", file=sys.stderr)
    write_lists(shortforms[:SHORTFORM_COUNT], exceptions[:EXCEPTION_COUNT])
    rebuild(args.build)
    left = sum(c[0] for c in candidates[:]) - sum(
        c[0] for c in candidates if (c[1], c[2]) in set(shortforms[:SHORTFORM_COUNT] + exceptions[:EXCEPTION_COUNT]))
    print(f"written {min(len(shortforms), SHORTFORM_COUNT)} shortform and "
          f"{min(len(exceptions), EXCEPTION_COUNT)} exception records; lines left unfixed by list size: {left}")


if __name__ == "__main__":
    sys.exit(main())
