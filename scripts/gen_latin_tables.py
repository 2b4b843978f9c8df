#!/usr/bin/env python3
"""Generates the character table of the Polish, Norwegian or Italian
translator (polish_tables.cpp, norwegian_tables.cpp or italian_tables.cpp in the
build tree; engine/lang/european/lang.cmake runs it at build time).

Letters, punctuation and symbols are taken from the literary braille of each
language as liblouis writes single characters (pl.tbl, no-no-g0.utb, it.tbl);
capitals are stored with their small letter's cells and a capital type, the
translator adds the capital indicators. Italian's extra characters (Greek, IPA,
fractions, Roman numerals, operators) are kept in engine/lang/european/data/italian_extra.tsv.

  python3 scripts/gen_latin_tables.py {polish,norwegian,italian} --output FILE
"""
import argparse
import os
import sys

ROOT = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, ROOT)
from louis_compare import Louis  # noqa: E402

SMALL, CAPITAL, DIGIT, KEEPNUM, SYMBOL, LETTER_AJ, RECORD = 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x80
CANDIDATES = (list(range(0x21, 0x7F)) + list(range(0xA1, 0x250)) + list(range(0x391, 0x3CA)) +
              list(range(0x2010, 0x2050)) + list(range(0x2070, 0x20B0)) + list(range(0x2150, 0x2190)) +
              list(range(0x2200, 0x2270)))


def single_cells(louis, cp, max_cells=5):
    c = louis.cells(chr(cp))
    if c is None or len(c) == 0 or len(c) > max_cells or any(v == 0 or v > 0x3F for v in c):
        return None
    return list(c)


def build(table, capsign, keepnum, skip=(), extra=(), max_cells=5):
    louis = Louis(table)
    rows = {}
    for cp in CANDIDATES + list(extra):
        if cp in skip:
            continue
        ch = chr(cp)
        if ch.isdigit() and ch.isascii():
            rows[cp] = (DIGIT, [[0x1A, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A][cp - 0x30]])
            continue
        c = single_cells(louis, cp, max_cells)
        if c is None:
            continue
        low = ch.lower()
        if ch != low and len(low) == 1:
            lc = single_cells(louis, ord(low))
            if lc is not None and c == capsign + lc:
                rows[cp] = (CAPITAL | (LETTER_AJ if "a" <= low <= "j" else 0), lc)
                continue
        if ch.isalpha():
            t = SMALL | (LETTER_AJ if "a" <= ch <= "j" else 0)
        elif ch in keepnum:
            t = KEEPNUM | SYMBOL
        else:
            t = SYMBOL
        rows[cp] = (t, c)
    return rows


def hexcells(c):
    return ", ".join("0x%02X" % v for v in c)


def header(name, source):
    return [f"// {name} character table, generated at build time by scripts/gen_latin_tables.py from",
            f"// the literary braille of {source}.", ""]


def write(path, lines):
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


LETTER_CELLS = [0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D,
                0x1D, 0x15, 0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35]


def common_letter_row(cp):
    """The row the engine's shared ASCII rows give a letter or digit."""
    if chr(cp).isdigit():
        return (DIGIT, [[0x1A, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A][cp - 0x30]])
    i = ord(chr(cp).lower()) - ord("a")
    t = (CAPITAL if chr(cp).isupper() else SMALL) | (LETTER_AJ if i < 10 else 0)
    return (t, [LETTER_CELLS[i]])


def gen_generic(out, name, table, source, capsign, keepnum, var, skip=(), extra=(), max_cells=5):
    rows = build(table, capsign, keepnum, skip, extra, max_cells)
    # The ASCII letters and digits come from the engine's shared rows; the table
    # holds only what differs from them.
    for cp in list(rows):
        if chr(cp).isascii() and chr(cp).isalnum():
            assert rows[cp] == common_letter_row(cp), f"{name} {chr(cp)} differs from the common alphabet"
            del rows[cp]
    lines = header(name, source)
    lines += [f'#include "lang/european/{name.lower()}_tables.h"', "", "namespace kotari {", ""]
    lines.append(f"constexpr CharEntry {var}[] = {{")
    for cp in sorted(rows):
        t, c = rows[cp]
        lines.append("    {0x%04X, 0x%02X, %d, {%s}}," % (cp, t, len(c), hexcells(c)))
    lines.append("};")
    lines.append(f"const int {var}Count = {len(rows)};")
    lines.append(f"static_assert(IsSortedByChar({var}, sizeof {var} / sizeof {var}[0]), \"sorted by code point\");")
    lines += ["", "}  // namespace kotari"]
    write(out, lines)
    print(f"{name}:", len(rows))


def gen_polish(out):
    # Characters of the Polish table that are left out: the rare dashes and
    # signs that plain text does not need, and ÷, which would read as a full stop.
    skip = {0x2010, 0x2011, 0x201F, 0xA4, 0xB6, 0xA2, 0xA5, 0xF7}
    rows = build("pl.tbl", [0x28], ",.", skip)
    records = []
    lines = header("Polish", "Polish")
    lines += ['#include "lang/european/polish_tables.h"', "", "namespace kotari {", ""]
    direct = []
    for cp in sorted(rows):
        t, c = rows[cp]
        if len(c) == 1:
            direct.append((cp, t, c[0]))
        else:
            direct.append((cp, t | RECORD, len(records)))
            records.append((t, c))
    lines.append("constexpr PolishRecord kPolishRecords[] = {")
    for t, c in records:
        lines.append("    {0x%02X, %d, {%s}}," % (t, len(c), hexcells(c)))
    lines.append("};")
    lines.append("")
    lines.append("constexpr PolishChar kPolishChars[kPolishCharCount] = {")
    for cp, t, v in direct:
        lines.append("    {0x%04X, 0x%02X, 0x%02X}," % (cp, t, v))
    lines.append("};")
    lines.append("static_assert(sizeof kPolishChars / sizeof kPolishChars[0] == %d, \"%d characters\");" % (len(direct), len(direct)))
    caps = sorted(cp for cp in rows if rows[cp][0] & CAPITAL)
    lines.append("")
    lines.append("constexpr char16_t kPolishCapitals[kPolishCapitalCount] = {")
    for i in range(0, len(caps), 12):
        lines.append("    " + ", ".join("0x%04X" % cp for cp in caps[i:i + 12]) + ",")
    lines.append("};")
    lines.append("static_assert(sizeof kPolishCapitals / sizeof kPolishCapitals[0] == %d, \"%d capitals\");" % (len(caps), len(caps)))
    lines.append("static_assert(IsSortedByChar(kPolishChars, kPolishCharCount), \"sorted by code point\");")
    lines.append("static_assert(IsSortedChars(kPolishCapitals, kPolishCapitalCount), \"sorted by code point\");")
    lines += ["", "}  // namespace kotari"]
    write(out, lines)
    print("Polish:", len(direct), "characters,", len(records), "records,", len(caps), "capitals")


def main():
    ap = argparse.ArgumentParser(description="Writes one language's character table.")
    ap.add_argument("language", choices=("polish", "norwegian", "italian"))
    ap.add_argument("--output", required=True, help="the .cpp file to write")
    args = ap.parse_args()
    if args.language == "polish":
        gen_polish(args.output)
    elif args.language == "norwegian":
        # Norwegian also takes the trade mark sign and the six-cell fractions (⅒).
        gen_generic(args.output, "Norwegian", "no-no-g0.utb", "Norwegian", [0x20], ",.", "kNorwegianChars",
                    extra=(0x2122,), max_cells=6)
    else:
        gen_generic(args.output, "Italian", "it.tbl", "Italian", [0x28], "", "kItalianChars")


if __name__ == "__main__":
    main()
