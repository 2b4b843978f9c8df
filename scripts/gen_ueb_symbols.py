#!/usr/bin/env python3
"""Generates english_ueb_symbols.cpp (in the build tree; engine/lang/english/lang.cmake
runs it at build time), the Unified English
Braille cells of every character that liblouis's UEB character definitions
give (en-ueb-chardefs.uti and en-ueb-math.ctb, as installed by Debian's
liblouis-data in /usr/share/liblouis/tables).

Taken: forward character definitions (sign, punctuation, math, lowercase,
uppercase, space, and the same with noback), the first definition of a
character winning as in liblouis; "base uppercase U l" rows give U the
capital sign 6 before l's cells, and an uppercase row likewise its own cells. Left out: nofor rows, multi-character rules,
ASCII (the translator's own tables hold it) and private-use code points
(en-ueb-math.ctb uses them as internal markers, not as print symbols).
A space row gives one blank cell.

The English translator consults this table only for characters that none of
its own tables or classes handle.

  python3 scripts/gen_ueb_symbols.py [--tables DIR] --output FILE
"""
import argparse
import os
import re

SOURCES = ["en-ueb-chardefs.uti", "en-ueb-math.ctb"]
OPCODES = {"sign", "punctuation", "math", "lowercase", "uppercase", "space"}


def char_of(field):
    m = re.fullmatch(r"\\x([0-9a-fA-F]{4,5})", field)
    if m:
        return chr(int(m.group(1), 16))
    if field == "\\\\":
        return "\\"
    return field if len(field) == 1 else None


def cells_of(dots):
    out = []
    for cell in dots.split("-"):
        if not re.fullmatch(r"[0-8]+", cell):
            return None
        bits = 0
        for d in cell:
            if d in "78":
                return None  # eight-dot cells have no place in six-dot output
            if d != "0":
                bits |= 1 << (int(d) - 1)
        out.append(bits)
    return out


def main():
    ap = argparse.ArgumentParser(description="Writes the UEB symbol table.")
    ap.add_argument("--tables", default="/usr/share/liblouis/tables", help="liblouis's table folder")
    ap.add_argument("--output", required=True, help="the .cpp file to write")
    args = ap.parse_args()
    table, names, bases = {}, {}, []
    for name in SOURCES:
        with open(os.path.join(args.tables, name), encoding="utf-8") as f:
            for line in f:
                words = line.split()
                if not words or words[0].startswith("#"):
                    continue
                if words[0] == "nofor":
                    continue
                if words[0] == "noback":
                    words = words[1:]
                if len(words) >= 4 and words[0] == "base" and words[1] == "uppercase":
                    up, low = char_of(words[2]), char_of(words[3])
                    if up and low:
                        bases.append((up, low))
                    continue
                if len(words) < 3 or words[0] not in OPCODES:
                    continue
                ch = char_of(words[1])
                cells = [0] if words[0] == "space" else cells_of(words[2])
                if words[0] == "uppercase" and cells is not None:
                    cells = [0x20] + cells  # liblouis writes the capital sign before an uppercase letter
                if ch is None or cells is None or ord(ch) < 0x80 or ord(ch) > 0xFFFF:
                    continue
                if 0xE000 <= ord(ch) <= 0xF8FF:
                    continue
                if ch not in table:
                    table[ch] = cells
                    names[ch] = name
    for up, low in bases:
        if up not in table and low in table and ord(up) >= 0x80:
            table[up] = [0x20] + table[low]
            names[up] = "base uppercase"
    width = max(len(c) for c in table.values())
    rows = sorted(table)
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("// Generated at build time by scripts/gen_ueb_symbols.py from liblouis's\n")
        f.write("// en-ueb-chardefs.uti and en-ueb-math.ctb.\n")
        f.write('#include "lang/english/english_ueb_symbols.h"\n\n')
        f.write("namespace kotari {\nnamespace english {\n\n")
        f.write("constexpr UebSymbol kUebSymbols[kUebSymbolCount] = {\n")
        for ch in rows:
            cells = ", ".join("0x%02X" % c for c in table[ch])
            f.write("    {0x%04X, %d, {%s}},\n" % (ord(ch), len(table[ch]), cells))
        f.write("};\n\n")
        f.write('static_assert(IsSortedByChar(kUebSymbols, kUebSymbolCount), "searched by bisection");\n\n')
        f.write("}  // namespace english\n}  // namespace kotari\n")
    print("%d characters, at most %d cells -> %s" % (len(rows), width, args.output))
    print("kUebSymbolCount = %d; UebSymbol = CharCells<%d>" % (len(rows), width))


if __name__ == "__main__":
    main()
