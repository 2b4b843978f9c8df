#!/usr/bin/env python3
"""Compares KotariEngine with liblouis, line by line, on a text file.

Each line of FILE (a word or a sentence) is translated alone by our engine
(through its export BrailleTranslator, no line wrapping) and by liblouis with
"unicode.dis,TABLE"; trailing blank cells are ignored. Prints the share of lines
that give the same cells and, with --show, the lines that differ, as dot numbers.

  scripts/louis_compare.py --lang 5 --grade 2 --table en-ueb-g2.ctb words.txt
  scripts/louis_compare.py --lang 5 --table en-ueb-g2.ctb --show 30 /usr/share/dict/american-english

--engine defaults to build/lib/libKotariEngine.so of this checkout.
"""
import argparse
import ctypes
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Options(ctypes.Structure):
    _fields_ = [(n, ctypes.c_int32) for n in (
        "language", "englishGrade", "lowercaseInput", "markComputerText", "lineCells",
        "chineseMode", "frenchGrade", "germanGrade", "vietnameseVariant")]


class Engine:
    def __init__(self, path, lang, grade, lowercase=0, computer=1):
        self.lib = ctypes.CDLL(path)
        self.fn = self.lib.BrailleTranslator
        self.fn.restype = ctypes.c_int32
        self.fn.argtypes = [ctypes.POINTER(ctypes.c_uint16), ctypes.POINTER(ctypes.c_uint8), ctypes.POINTER(Options)]
        self.opts = Options(lang, 1 if grade == 1 else 2, lowercase, computer, 0, 1,
                            2 if grade == 2 else 1, 1 if grade == 1 else 2, 2)
        self.out = (ctypes.c_uint8 * (3 * 6144 + 64))()

    def cells(self, text):
        units = list(text.encode("utf-16-le"))
        words = [units[i] | (units[i + 1] << 8) for i in range(0, len(units), 2)][:2047]
        buf = (ctypes.c_uint16 * 2048)(*(words + [0]))
        n = self.fn(buf, self.out, ctypes.byref(self.opts))
        return bytes(self.out[:n]).rstrip(b"\0")


class Louis:
    def __init__(self, table):
        os.environ.setdefault("LOUIS_TABLEPATH", "/usr/share/liblouis/tables")
        self.lib = ctypes.CDLL("liblouis.so.20")
        self.size = self.lib.lou_charSize()
        self.ctype = ctypes.c_uint32 if self.size == 4 else ctypes.c_uint16
        self.table = ("unicode.dis," + table).encode()

    def cells(self, text):
        codes = [ord(c) for c in text] if self.size == 4 else list(
            memoryview(text.encode("utf-16-le")).cast("H"))
        inlen = ctypes.c_int(len(codes))
        outcap = 4 * len(codes) + 64
        inbuf = (self.ctype * max(1, len(codes)))(*codes)
        outbuf = (self.ctype * outcap)()
        outlen = ctypes.c_int(outcap)
        ok = self.lib.lou_translateString(self.table, inbuf, ctypes.byref(inlen), outbuf, ctypes.byref(outlen),
                                          None, None, 0)
        if not ok:
            return None
        return bytes((c - 0x2800) & 0xFF if 0x2800 <= c <= 0x28FF else 0 for c in outbuf[:outlen.value]).rstrip(b"\0")


def dots(cells):
    if cells is None:
        return "(failed)"
    out = []
    for c in cells:
        out.append("".join(str(d + 1) for d in range(8) if c >> d & 1) or "0")
    return " ".join(out)


def compared_lines(path, engine, louis, limit=0, errors="strict"):
    """Yields (text, ours, theirs) for each non-blank line of the file at `path`, at most `limit` (0: all)."""
    total = 0
    with open(path, encoding="utf-8", errors=errors) as f:
        for line in f:
            text = line.rstrip("\n")
            if not text.strip():
                continue
            total += 1
            yield text, engine.cells(text), louis.cells(text)
            if limit and total >= limit:
                return


def show_difference(text, ours, theirs):
    print(f"  {text}\n    ours:     {dots(ours)}\n    liblouis: {dots(theirs)}")


def tally(path, engine, louis, set_aside=None, show=0):
    """Counts the lines of `path`: all of them, those that give liblouis's cells, and those that
    differ only in a way set_aside(text, ours, theirs) accepts; prints up to `show` other differences."""
    total = same = aside = shown = 0
    for text, ours, theirs in compared_lines(path, engine, louis):
        total += 1
        if ours == theirs:
            same += 1
            continue
        if set_aside and set_aside(text, ours, theirs):
            aside += 1
            continue
        if shown < show:
            show_difference(text, ours, theirs)
            shown += 1
    return total, same, aside


def gb2312_hanzi():
    """The code points of the unified ideographs GB 2312 encodes."""
    gb = set()
    for cp in range(0x4E00, 0x9FA6):
        try:
            chr(cp).encode("gb2312")
            gb.add(cp)
        except UnicodeEncodeError:
            pass
    return gb


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("file")
    ap.add_argument("--lang", type=int, required=True, help="engine language code (5 English, 10 Korean, ...)")
    ap.add_argument("--grade", type=int, default=2, help="grade for English/French/German (1 or 2)")
    ap.add_argument("--table", required=True, help="liblouis table, e.g. en-ueb-g2.ctb")
    ap.add_argument("--engine", default=os.path.join(ROOT, "build", "lib", "libKotariEngine.so"))
    ap.add_argument("--show", type=int, default=0, help="print up to N differing lines")
    ap.add_argument("--limit", type=int, default=0, help="compare at most N lines")
    ap.add_argument("--diff-file", help="write every differing line to this file")
    args = ap.parse_args()

    engine = Engine(args.engine, args.lang, args.grade)
    louis = Louis(args.table)
    same = total = 0
    shown = 0
    diff_out = open(args.diff_file, "w", encoding="utf-8") if args.diff_file else None
    for text, ours, theirs in compared_lines(args.file, engine, louis, args.limit, errors="replace"):
        total += 1
        if ours == theirs:
            same += 1
            continue
        if shown < args.show:
            print(f"{text}\n  ours:    {dots(ours)}\n  liblouis: {dots(theirs)}")
            shown += 1
        if diff_out:
            diff_out.write(f"{text}\t{dots(ours)}\t{dots(theirs)}\n")
    pct = 100.0 * same / total if total else 0.0
    print(f"{same} of {total} lines give liblouis's cells ({pct:.2f} %) [{args.table}, lang {args.lang}, grade {args.grade}]")


if __name__ == "__main__":
    sys.exit(main())
