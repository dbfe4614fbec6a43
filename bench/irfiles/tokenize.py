#!/usr/bin/env python3
"""The yardstick of bench_convert: a plain tokenizer of an IR file.

Reads the file line by line, splits each line into words (blanks and commas)
and converts every number (decimal, else hexadecimal) to an int. It checks
nothing and writes nothing: a conversion should be at least this fast.
"""
import re
import sys

HEX = re.compile(rb"[0-9A-Fa-f]+")


def main():
    total = 0
    with open(sys.argv[1], "rb") as f:
        for line in f:
            for word in line.replace(b",", b" ").split():
                if word.isdigit():
                    total += int(word)
                elif HEX.fullmatch(word):
                    total += int(word, 16)
    print(total)


if __name__ == "__main__":
    main()
