#!/usr/bin/env python3
"""Agreement of the Japanese translator with the outside reference cases in
../shared/japanese/cases.jsonl (relative to the repository root; --cases
overrides). The cases are read at run time and never copied into the project.

Per stage:
  kana->braille   our cells against the expected braille
  text->braille   our cells against the expected braille; also over the cases
                  without digits, kanji numerals or marks (numbers and marks
                  come with the numerals-and-marks work)
  text->kana      our reading (the analysis stream, normalised) against the
                  expected reading, and our cells against the braille derived
                  from that reading

Every failure is put into a class (see classify()); --show N prints up to N
failures per class, --class NAME only that class.

The cases run through scripts/japanese_probe.cpp, built on the fly against
build/engine/libkotari_static.a: it calls BrailleTranslator as an application
does and also reports the analysis stream (the reading).

  python3 scripts/japanese_agreement.py [--build build] [--show 5] [--class reading]
  python3 scripts/japanese_agreement.py --text "東京へ行きます。"   # one text: reading and cells
"""
import argparse
import collections
import json
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

KANJI_NUMERALS = "〇一二三四五六七八九十百千万億兆"
MARKS = "*＊○◎□△×☆★※"


class Probe:
    """scripts/japanese_probe.cpp built against the engine's static library:
    gives the analysis stream beside the cells, and runs the kana stage alone."""

    def __init__(self, build):
        src = os.path.join(ROOT, "scripts", "japanese_probe.cpp")
        lib = os.path.join(build, "engine", "libkotari_static.a")
        exe = os.path.join(build, "japanese_probe")
        if not os.path.exists(lib):
            raise SystemExit(f"{lib} is missing: ninja -C {build} kotari_static")
        if not os.path.exists(exe) or os.path.getmtime(exe) < max(os.path.getmtime(src), os.path.getmtime(lib)):
            subprocess.check_call(["c++", "-std=c++17", "-O1", "-I", os.path.join(ROOT, "engine"), "-I",
                                   os.path.join(ROOT, "include"), "-I", os.path.join(ROOT, "bench"), src, lib,
                                   "-lmecab", "-lbenchmark", "-lpthread", "-o", exe])
        self.proc = subprocess.Popen([exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def run(self, text, mode="text"):
        self.proc.stdin.write(f"{mode} {text.encode('utf-8').hex() or '-'}\n")
        self.proc.stdin.flush()
        stream_hex, cells_hex = self.proc.stdout.readline().split()
        stream = b"" if stream_hex == "-" else bytes.fromhex(stream_hex)
        cells = b"" if cells_hex == "-" else bytes.fromhex(cells_hex)
        return cells.rstrip(b"\0"), stream.decode("utf-8", "replace")


    def tokens(self, text):
        """MeCab's tokens of text: (surface, pronunciation, unknown) as the IPA
        dictionary gives them, before any of the translator's passes."""
        self.proc.stdin.write(f"tokens {text.encode('utf-8').hex() or '-'}\n")
        self.proc.stdin.flush()
        lines_hex, _ = self.proc.stdout.readline().split()
        lines = "" if lines_hex == "-" else bytes.fromhex(lines_hex).decode("utf-8", "replace")
        out = []
        for line in lines.split("\n"):
            if line:
                surface, pro, unk, adjusted = (line.split("\t") + ["", "", ""])[:4]
                out.append((surface, pro, unk == "?", adjusted))
        return out

    def kana_cells(self, kana):
        return self.run(kana, "kana")[0]


def has_kanji(s):
    return any("\u4e00" <= c <= "\u9fff" or "\u3400" <= c <= "\u4dbf" or c == "々" for c in s)


def dictionary_words(engine, text, want_cells):
    """The kanji words whose IPA reading does not stand in the reference's braille:
    [(surface, IPA reading or None for a word the dictionary lacks)]. Each word's
    reading, as the dictionary gives it and after our kana-orthography rules, is
    put through our kana stage and looked for in the reference cells."""
    if not want_cells:
        return []
    found = []
    for surface, pro, unknown, adjusted in engine.tokens(text):
        if not has_kanji(surface) or all(c in KANJI_NUMERALS for c in surface):
            continue  # kanji numerals are the numeral rules' matter
        if unknown or all(not c or c not in want_cells for c in {engine.kana_cells(pro), engine.kana_cells(adjusted)}):
            found.append((surface, None if unknown else pro))
    return found


def braille_cells(s):
    """Unicode braille (blank = space or U+3000) to cell bytes; None for 8-dot braille."""
    out = bytearray()
    for ch in s:
        if ch in " \u3000":
            out.append(0)
        elif 0x2800 <= ord(ch) <= 0x28FF:
            v = ord(ch) - 0x2800
            if v > 0x3F:
                return None
            out.append(v)
        else:
            return False  # not braille at all
    return bytes(out).rstrip(b"\0")


def dots(cells):
    return "".join(chr(0x2800 + c) if c else "␣" for c in cells)


def reading(stream):
    """Our analysis stream in the reference's reading notation."""
    s = stream.replace("\x15", "⠠⠦").replace("\x14", "⠠⠴").replace("\x02", "⠦").replace("\x03", "⠴")
    s = re.sub(r"[\x00-\x08\x0e-\x1f]", "", s).replace("_", "")
    return norm_kana(s)


def norm_kana(s):
    s = unicodedata.normalize("NFKC", s).replace("’", "'").replace("‘", "'")
    s = re.sub(r"\s+", " ", s)
    return s.strip()


def has_numbers_or_marks(text):
    return bool(re.search(r"[0-9０-９①-⑳]", text)) or any(c in KANJI_NUMERALS for c in text) or \
        any(c in MARKS for c in text)


def classify(engine, case, ours_kana, ours_cells, want_cells, want_kana):
    cls = base_class(case, ours_kana, ours_cells, want_cells, want_kana)
    numbers = has_numbers_or_marks(case["input"]) and not cls.startswith("reference")
    if numbers and cls.startswith("reading differs") and want_kana is not None:
        # A numeral the dictionary reads as part of a word, or a number word with a
        # reading of its own: digits on one side only.
        want_digits = bool(re.search(r"[0-9]", norm_kana(want_kana)))
        ours_digits = bool(re.search(r"[0-9]", ours_kana))
        if want_digits and not ours_digits:
            return "numbers/marks: kanji numeral inside a dictionary word (reference writes digits)"
        if ours_digits and not want_digits:
            return "numbers/marks: fixed reading of a number word (ツイタチ, ヒトリ, ハタチ: reference writes kana)"
    if cls.startswith(("reading differs", "kana rules")) and want_cells:
        words = dictionary_words(engine, case["input"], want_cells)
        if words:
            case["dictionary_words"] = words
            unknown = all(pro is None for _, pro in words)
            cls = ("reading differs: a word the IPA dictionary lacks (read from the kanji table)" if unknown else
                   "reading differs: dictionary reading (IPA vs the reference)")
        elif cls.startswith("reading differs") and numbers:
            cls = ("reading differs outside the dictionary: the numeral and mark rules we follow (kind 3 keeps "
                   "its touten, ◎ and a lone ＊ are marks)")
        elif cls.startswith("reading differs"):
            cls = "reading differs: kana words (particle readings, historical spellings, small kana)"
    return "numbers/marks: " + cls if numbers else cls


def base_class(case, ours_kana, ours_cells, want_cells, want_kana):
    text = case["input"]
    note = case.get("note", "")
    if want_cells is None:
        return "reference writes 8-dot computer braille (NABCC)"
    if want_cells is False:
        return "reference expectation is not braille"
    if any(0x2800 <= ord(c) <= 0x28FF for c in text):
        return "braille patterns in the input (other signs around them)"
    # Blanks our rules write on purpose: before a number sign after a word ending
    # in katakana, and after a closing bracket before kana.
    if want_cells and ours_cells != want_cells:
        if re.sub(rb"\x00(?=\x3c)", b"", ours_cells) == want_cells:
            return "blank before a number after katakana (our number-sign rule)"
        if re.sub(rb"(?<=\x36)\x00|(?<=\x36\x06)\x00", b"", ours_cells) == want_cells:
            return "blank after a closing bracket (our bracket rule)"
    if want_kana is not None:
        a = ours_kana.replace(" ", "")
        b = norm_kana(want_kana).replace(" ", "")
        if a != b:
            if re.search(r"[A-Za-z]", text):
                return "foreign letters: quoting, signs or reading"
            return "reading differs (dictionary reading, IPA vs the reference)"
        if norm_kana(want_kana) == ours_kana:
            if any(c in "[]“”‘’｛｝《》〝〟{}" for c in text):
                return "same reading: brackets and quotes (the reference's bracket cells, not our table's)"
            if re.search(r"[A-Za-zＡ-Ｚａ-ｚ]", text):
                return "same reading: capital and foreign-letter signs after symbols (our prefix table)"
            return "same reading: symbols our tables write otherwise or not at all"
        ours_spaces, want_spaces = ours_kana.count(" "), norm_kana(want_kana).count(" ")
        if ours_spaces < want_spaces:
            return "word division: the reference divides where we join (compounds, auxiliaries)"
        if ours_spaces > want_spaces:
            return "word division: we divide where the reference joins"
        return "word division: spaces in other places"
    if "KNOWN FAILURE" in note:
        return "known failure of the reference translator"
    if re.search(r"[A-Za-zＡ-Ｚａ-ｚ]", text):
        return "foreign letters: quoting, signs or reading"
    return "kana rules / symbols"


def one(engine, text):
    cells, stream = engine.run(text)
    print("reading:", reading(stream))
    print("cells:  ", dots(cells))
    print("hex:    ", " ".join(f"{c:02x}" for c in cells))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder (engine/libkotari_static.a)")
    ap.add_argument("--cases", default=os.path.join(ROOT, "..", "shared", "japanese", "cases.jsonl"))
    ap.add_argument("--show", type=int, default=0, help="print up to N failures per class")
    ap.add_argument("--class", dest="only", default=None, help="show only classes containing this text")
    ap.add_argument("--text", default=None, help="translate one text and print its reading and cells")
    args = ap.parse_args()
    engine = Probe(args.build)
    if args.text is not None:
        one(engine, args.text)
        return 0
    if not os.path.exists(args.cases):
        print(f"no reference cases at {args.cases}", file=sys.stderr)
        return 1
    cases = [json.loads(line) for line in open(args.cases, encoding="utf-8") if line.strip()]
    totals = collections.Counter()
    passed = collections.Counter()
    failures = collections.defaultdict(list)
    for case in cases:
        stage = case["stage"]
        text = case["input"]
        cells, stream = engine.run(text, "kana" if stage == "kana->braille" else "text")
        ours_kana = reading(stream)
        if stage == "text->kana":
            want_cells = braille_cells(case.get("derived_braille") or "")
            want_kana = case.get("expected_kana")
            totals["text->kana (reading)"] += 1
            kana_ok = ours_kana.replace(" ", "") == norm_kana(want_kana).replace(" ", "") and \
                ours_kana == norm_kana(want_kana)
            if kana_ok:
                passed["text->kana (reading)"] += 1
            totals["text->kana (derived braille)"] += 1
            if want_cells and cells == want_cells:
                passed["text->kana (derived braille)"] += 1
            elif not kana_ok or want_cells != cells:
                cls = classify(engine, case, ours_kana, cells, want_cells, want_kana)
                failures[cls].append((stage, text, ours_kana, want_kana, cells, want_cells, case.get("dictionary_words")))
            continue
        want_cells = braille_cells(case["expected"])
        key = stage
        totals[key] += 1
        simple = stage == "text->braille" and not has_numbers_or_marks(text)
        if simple:
            totals["text->braille (no numbers/marks)"] += 1
        if want_cells and cells == want_cells:
            passed[key] += 1
            if simple:
                passed["text->braille (no numbers/marks)"] += 1
        else:
            cls = classify(engine, case, ours_kana, cells, want_cells, case.get("expected_kana"))
            failures[cls].append((stage, text, ours_kana, case.get("expected_kana"), cells, want_cells,
                                      case.get("dictionary_words")))
    for key in ["kana->braille", "text->braille", "text->braille (no numbers/marks)", "text->kana (reading)",
                "text->kana (derived braille)"]:
        t = totals[key]
        if t:
            print(f"{key:34} {passed[key]:4}/{t:<4} = {100.0 * passed[key] / t:6.2f} %")
    print("\nfailure classes:")
    for cls, items in sorted(failures.items(), key=lambda kv: -len(kv[1])):
        print(f"  {len(items):4}  {cls}")
        if args.show and (args.only is None or args.only in cls):
            for stage, text, ok, wk, c, wc, words in items[:args.show]:
                print(f"        [{stage}] {text!r}")
                if words:
                    print("          words:        " + ", ".join(f"{w} ({p or 'not in IPA'})" for w, p in words))
                print(f"          reading ours: {ok}")
                if wk is not None:
                    print(f"          reading want: {norm_kana(wk)}")
                print(f"          cells ours:   {dots(c)}")
                if wc:
                    print(f"          cells want:   {dots(wc)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
