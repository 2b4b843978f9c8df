#!/usr/bin/env python3
"""Generates the Arabic letters-and-marks table (U+060C..U+06FF and U+FEFB) as a
C++ source file.

The core rows (the 36 letters U+0621..U+064A, the eight vowel marks, the Arabic
comma, semicolon, question mark, percent and five-pointed star, and the lam-alef
ligature) are the cells of Arabic braille, typed below. Every other letter of
U+0620..U+06FF is a letter derived from one of them (Persian, Urdu, Pashto,
Sindhi, Kurdish, Uyghur and Kirghiz letters) and takes the cell of the letter it
derives from. That base letter comes from Unicode data (unicode-data's
UnicodeData.txt), in this order:

1. the canonical or compatibility decomposition (U+06C0 = U+06D5 U+0654 -> AE),
   the first character of it;
2. the character name: "ARABIC LETTER BEH WITH SMALL V BELOW" derives from BEH,
   the letter whose name is the part before "WITH";
3. when that part is the name of a derived letter rather than of a core one
   (PEH, TCHEH, KEHEH, ...), the short list DERIVED below says which core letter
   it is drawn from (by shape: peh is beh with three dots, tcheh is jeem with
   three dots, keheh and gaf are forms of kaf, ...).

The marks madda, hamza above and below and the superscript alef take the cells
of the letters they stand for; the Arabic full stop is written as ".". The
extended Arabic-Indic digits and the Quranic marks have no row (digits have their own table in the translator).

  gen_arabic_table.py --output arabic_letters.cpp [--report]
"""
import argparse
import re
import sys

UNICODE_DATA = "/usr/share/unicode/UnicodeData.txt"

CORE = {
    0x060C: [0x10], 0x061B: [0x30], 0x061F: [0x26], 0x0621: [0x04], 0x0622: [0x1C], 0x0623: [0x0C],
    0x0624: [0x33], 0x0625: [0x28], 0x0626: [0x3D], 0x0627: [0x01], 0x0628: [0x03], 0x0629: [0x21],
    0x062A: [0x1E], 0x062B: [0x39], 0x062C: [0x1A], 0x062D: [0x31], 0x062E: [0x2D], 0x062F: [0x19],
    0x0630: [0x2E], 0x0631: [0x17], 0x0632: [0x35], 0x0633: [0x0E], 0x0634: [0x29], 0x0635: [0x2F],
    0x0636: [0x2B], 0x0637: [0x3E], 0x0638: [0x3F], 0x0639: [0x37], 0x063A: [0x23], 0x0641: [0x0B],
    0x0642: [0x1F], 0x0643: [0x05], 0x0644: [0x07], 0x0645: [0x0D], 0x0646: [0x1D], 0x0647: [0x13],
    0x0648: [0x3A], 0x0649: [0x15], 0x064A: [0x0A],
    0x064B: [0x06], 0x064C: [0x22], 0x064D: [0x14], 0x064E: [0x02], 0x064F: [0x25], 0x0650: [0x11],
    0x0651: [0x20], 0x0652: [0x12],
    0x066A: [0x12, 0x0F], 0x066D: [0x30, 0x14], 0xFEFB: [0x27],
}

# Names of derived letters -> the core letter (by name) they are drawn from.
DERIVED = {
    "KASHMIRI YEH": "YEH", "E": "YEH", "FARSI YEH": "ALEF MAKSURA", "YEH BARREE": "YEH WITH HAMZA ABOVE",
    "ALEF WASLA": "ALEF", "HIGH HAMZA": "HAMZA",
    "DOTLESS BEH": "BEH", "BEEH": "BEH", "PEH": "BEH", "BEHEH": "BEH",
    "TTEH": "TEH", "TTEHEH": "TEH", "TEHEH": "TEH",
    "TCHEH": "JEEM", "TCHEHEH": "JEEM", "NYEH": "JEEM", "DYEH": "JEEM",
    "DDAL": "DAL", "DAHAL": "DAL", "DDAHAL": "DAL", "DUL": "DAL",
    "RREH": "REH", "JEH": "ZAIN",
    "DOTLESS FEH": "FEH", "VEH": "FEH", "PEHEH": "FEH", "DOTLESS QAF": "QAF",
    "KEHEH": "KAF", "SWASH KAF": "KAF", "GAF": "KAF", "NG": "KAF", "NGOEH": "KAF", "GUEH": "KAF",
    "NOON GHUNNA": "NOON", "RNOON": "NOON",
    "HEH DOACHASHMEE": "HEH", "HEH GOAL": "HEH", "AE": "HEH", "TEH MARBUTA GOAL": "TEH MARBUTA",
    "KIRGHIZ OE": "WAW", "OE": "WAW", "U": "WAW", "YU": "WAW", "KIRGHIZ YU": "WAW", "VE": "WAW",
}


# Marks that stand for a letter, and the Arabic full stop, by the same cells.
MARKS = {0x0653: "ALEF WITH MADDA ABOVE", 0x0654: "HAMZA", 0x0655: "HAMZA", 0x0670: "ALEF"}
FULL_STOP = {0x06D4: [0x32]}  # as "." in Arabic text


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--output", required=True)
    ap.add_argument("--report", action="store_true")
    args = ap.parse_args()

    data = {}
    with open(UNICODE_DATA, encoding="utf-8") as f:
        for line in f:
            fld = line.split(";")
            cp = int(fld[0], 16)
            if 0x0600 <= cp <= 0x06FF:
                decomp = [int(x, 16) for x in fld[5].split() if not x.startswith("<")]
                data[cp] = (fld[1], fld[2], decomp)
    by_name = {data[cp][0].replace("ARABIC LETTER ", ""): cp for cp in CORE if cp in data}

    rows = dict(CORE)
    how = {}

    def base_of(cp, depth=0):
        if cp in CORE:
            return cp
        name, _, decomp = data[cp]
        if decomp and depth < 4:
            how[cp] = "decomposition"
            return base_of(decomp[0], depth + 1)
        stem = re.sub(r" WITH .*", "", re.sub(r"^ARABIC (LETTER |SMALL )", "", name))
        if stem in by_name:
            how.setdefault(cp, "name")
            return by_name[stem]
        if stem in DERIVED:
            how.setdefault(cp, "derived letter")
            return by_name[DERIVED[stem]]
        return None

    for cp, (name, cat, _) in sorted(data.items()):
        if cp < 0x0620 or cp in CORE or cat not in ("Lo", "Lm") or name == "ARABIC TATWEEL":
            continue
        base = base_of(cp)
        if base is None:
            sys.exit(f"no base letter for U+{cp:04X} {name}")
        rows[cp] = CORE[base]

    for cp, stem in MARKS.items():
        rows[cp] = CORE[by_name[stem]]
        how[cp] = "mark"
    rows.update(FULL_STOP)

    out = ["// Generated by scripts/gen_arabic_table.py from unicode-data's UnicodeData.txt. Do not edit.",
           '#include "lang/arabic/arabic_tables.h"', "", "namespace kotari::arabic {", "",
           f"const LetterRow kLetters[{len(rows)}] = {{"]
    for cp in sorted(rows):
        cells = rows[cp]
        out.append(f"    {{0x{cp:04X}, {len(cells)}, {{{', '.join(f'0x{c:02X}' for c in cells)}}}}},")
    out += ["};", f"const int kLetterCount = {len(rows)};", "", "}  // namespace kotari::arabic", ""]
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("\n".join(out))
    if args.report:
        from collections import Counter
        print(f"{len(rows)} rows: {len(CORE)} core, {Counter(how.values())}", file=sys.stderr)


if __name__ == "__main__":
    sys.exit(main())
