#!/usr/bin/env python3
"""Turns a constant table's rows, kept as tab-separated data, into the C++
initializer rows that the table's source includes:

    constexpr SymbolRecord kSymbols[kSymbolCount] = {
    #include "german_symbols.inc"
    };

The data file: lines starting with '#' are comments; the first other line names
the columns; every further line is one row, its fields separated by tabs. A
column's name says how its field is written:

    name      as it stands (a number or a constant)
    name[]    a list separated by spaces, written {a, b, ...}
    name:s    text, written as a string literal "..."
    name:u    text, written as a UTF-16 string literal u"..."
    note      a comment after the row

    names     identifiers naming the row's index, separated by spaces (not
              part of the row)

The rows keep their order. With --names the output is instead one enumerator
"name = index," for every name, so that the code names rows of the same data
it indexes. engine/CMakeLists.txt runs this at build time (kotari_table_rows,
kotari_table_names).

  python3 scripts/gen_table_rows.py [--names] --input TABLE.tsv --output FILE.inc
"""
import argparse
import os
import sys


def literal(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def render(columns, fields, where):
    if len(fields) > len(columns):
        sys.exit(f"{where}: {len(fields)} fields, {len(columns)} columns")
    fields += [""] * (len(columns) - len(fields))
    values, note = [], ""
    for name, field in zip(columns, fields):
        if name == "names":
            continue
        if name == "note":
            if field.endswith("\\"):
                sys.exit(f"{where}: a note may not end in a backslash (it would continue the comment)")
            note = field
        elif name.endswith("[]"):
            values.append("{" + ", ".join(field.split()) + "}")
        elif name.endswith(":s"):
            values.append(literal(field))
        elif name.endswith(":u"):
            values.append("u" + literal(field))
        elif field == "":
            sys.exit(f"{where}: column {name} is empty")
        else:
            values.append(field)
    return "{" + ", ".join(values) + "}," + (f"  // {note}" if note else "")


def main():
    ap = argparse.ArgumentParser(description="Writes a table's C++ initializer rows from its data file.")
    ap.add_argument("--input", required=True, help="the tab-separated data file")
    ap.add_argument("--output", required=True, help="the rows file to write")
    ap.add_argument("--names", action="store_true", help="write the row names as enumerators instead of the rows")
    args = ap.parse_args()
    columns, rows, names = None, [], []
    with open(args.input, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if columns is None:
                columns = line.split("\t")
                continue
            fields = line.split("\t")
            rows.append(render(columns, list(fields), f"{args.input}:{number}"))
            if "names" in columns and columns.index("names") < len(fields):
                names += [f"{n} = {len(rows) - 1}," for n in fields[columns.index("names")].split()]
    if not rows:
        sys.exit(f"{args.input}: no rows")
    if args.names and not names:
        sys.exit(f"{args.input}: no row names")
    with open(args.output, "w", encoding="utf-8") as f:
        f.write(f"// Generated at build time from {os.path.basename(args.input)} by scripts/gen_table_rows.py.\n")
        f.write("\n".join(names if args.names else rows) + "\n")


if __name__ == "__main__":
    main()
