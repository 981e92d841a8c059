#!/usr/bin/env python3
"""Writes tavrelon.ico: the program's 32 x 32, 16-colour icon (a folder, an
arrow and a drive), drawn below as text, one character per pixel.

Usage: make_icon.py [OUTPUT]   (default: tavrelon.ico beside this script)
"""
import os
import struct
import sys

# The 16 colours of the standard palette, by index: (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Character -> palette index; "." is transparent.
INK = {"k": 0, "o": 3, "n": 4, "g": 7, "d": 8, "G": 10, "y": 11, "b": 12, "w": 15}

PICTURE = """
................................
.kkkkkk.........................
kyyyyyyk........................
kyyyyyyykkkkkkkkk...............
kywwwwwwwwwwwwwyk...............
kywyyyyyyyyyyyyyk...............
kywyyyyyyyyyyyyyk...............
kywyyyyyyyyyyyyyk...............
kywyyyyyyyyyyyyyk...............
kywyyyyyyyyyyyyyk...............
kywyyyyyyyyyyyyyk...............
kyyyyyyyyyyyyyyyk...............
koooooooooooooook...............
.kkkkkkkkkkkkkkk................
..............bb................
..............bbb...............
...bbbbbbbbbbbbbbb..............
...bbbbbbbbbbbbbbbb.............
...nnnnnnnnnnnnnnnn.............
...nnnnnnnnnnnnnnn..............
..............nnn...............
..............nn................
................................
.............kkkkkkkkkkkkkkkkkkk
.............kwwwwwwwwwwwwwwwwgk
.............kwgggggggggggggggdk
.............kwgggggggggggggggdk
.............kwgggggggggggGGggdk
.............kwgggggggggggGGggdk
.............kwgggggggggggggggdk
.............kgddddddddddddddddk
.............kkkkkkkkkkkkkkkkkkk
"""


def rows():
    lines = PICTURE.strip("\n").split("\n")
    assert len(lines) == 32 and all(len(line) == 32 for line in lines), "32 x 32 pixels"
    return lines


def ico_bytes():
    lines = rows()
    # Bitmap rows run bottom-up: colour (4 bits per pixel), then the mask
    # (1 bit per pixel, set where transparent), each row a multiple of 4 bytes.
    colour = b""
    mask = b""
    for line in reversed(lines):
        indices = [INK.get(c, 0) for c in line]
        colour += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, 32, 2))
        bits = "".join("1" if c == "." else "0" for c in line)
        mask += int(bits, 2).to_bytes(4, "big")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(colour) + len(mask), 0, 0, 16, 0)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "tavrelon.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes())


if __name__ == "__main__":
    main()
