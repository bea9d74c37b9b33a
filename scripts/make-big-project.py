#!/usr/bin/env python3
"""Writes a project with many line pairs over the demo pictures, for checking
how the program copes with the largest projects the reader takes.

Usage: scripts/make-big-project.py OUTPUT.tvl [LINES] [SEED]
  LINES  line pairs per image (default 500000, the reader's limit)
The project names \\source.bmp and \\target.bmp: put it into a copy of
examples/ (beside images/) so that the pictures load.
"""
import random
import struct
import sys

W, H = 400, 300


def name(text):
    data = text.encode()
    return bytes((len(data),)) + data


def main():
    out = sys.argv[1]
    lines = int(sys.argv[2]) if len(sys.argv) > 2 else 500000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    parts = [name("\\source.bmp"), name("\\target.bmp")]
    for _ in range(2):
        parts.append(struct.pack("<i", lines))
        block = bytearray()
        for _ in range(lines):
            x, y = rng.randrange(W), rng.randrange(H)
            block += struct.pack("<iiiii", 2, x, y, x + rng.randrange(-30, 31), y + rng.randrange(-30, 31))
        parts.append(bytes(block))
    with open(out, "wb") as f:
        f.write(b"".join(parts))


if __name__ == "__main__":
    main()
