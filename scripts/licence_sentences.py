#!/usr/bin/env python3
"""Writes the running-text corpus for the liblouis comparison: the licence texts
of /usr/share/common-licenses, one sentence per line (paragraphs joined, split
after . ! ? before a capital, a quote or a parenthesis).

  scripts/licence_sentences.py > /tmp/licences.txt
  scripts/louis_compare.py --lang 5 --grade 2 --table en-ueb-g2.ctb /tmp/licences.txt
"""
import re
import sys

FILES = ["GPL-3", "Apache-2.0", "MIT", "BSD", "Artistic", "LGPL-2.1", "MPL-2.0", "CC0-1.0"]


def main():
    text = ""
    for name in FILES:
        try:
            text += open("/usr/share/common-licenses/" + name, encoding="utf-8").read() + "\n\n"
        except OSError:
            pass
    for para in re.split(r"\n\s*\n", text):
        para = " ".join(para.split())
        for sentence in re.split(r'(?<=[.!?])\s+(?=[A-Z"(])', para):
            sentence = sentence.strip()
            if len(sentence) > 1:
                print(sentence)


if __name__ == "__main__":
    sys.exit(main())
