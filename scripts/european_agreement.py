#!/usr/bin/env python3
"""Agreement of the Czech, German, Spanish and Russian translators with liblouis
on the word lists in tests/data, one line at a time.

For German and Russian, whose liblouis tables write no capital signs, a second
figure leaves our capital signs out of the comparison (German 18 and 28,
Russian 18), which separates that class of difference from the rest.

  python3 scripts/european_agreement.py [--show N]
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from louis_compare import ROOT, Engine, Louis, tally  # noqa: E402

DATA = os.path.join(ROOT, "tests", "data")

RUNS = [
    # label, engine language, grade, liblouis table, word list, our capital-sign cells
    ("Czech", 16, 1, "cs-g1.ctb", "czech_words.txt", ()),
    ("German grade 1", 7, 1, "de-g0.utb", "german_words.txt", (0x18, 0x28)),
    ("German grade 2", 7, 2, "de-g1.ctb", "german_words.txt", (0x18, 0x28)),
    ("German grade 2 (full contractions)", 7, 2, "de-g2.ctb", "german_words.txt", (0x18, 0x28)),
    ("Spanish", 12, 1, "es-g1.ctb", "spanish_words.txt", ()),
    ("Russian", 11, 1, "ru-litbrl.ctb", "russian_words.txt", (0x18,)),
]


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--engine", default=os.path.join(ROOT, "build", "lib", "libKotariEngine.so"))
    ap.add_argument("--show", type=int, default=0, help="print up to N remaining differences per run")
    args = ap.parse_args()
    for label, lang, grade, table, words, capitals in RUNS:
        engine, louis = Engine(args.engine, lang, grade), Louis(table)
        def capital_signs_only(text, ours, theirs, capitals=capitals):
            return bool(capitals) and bytes(c for c in ours if c not in capitals) == theirs

        total, same, aside = tally(os.path.join(DATA, words), engine, louis, capital_signs_only, args.show)
        same_without_capitals = same + aside
        line = f"{label:36} {table:14} {same:4}/{total} = {100.0 * same / total:6.2f} %"
        if capitals:
            line += f"   without capital signs {same_without_capitals}/{total} = {100.0 * same_without_capitals / total:6.2f} %"
        print(line)


if __name__ == "__main__":
    sys.exit(main())
