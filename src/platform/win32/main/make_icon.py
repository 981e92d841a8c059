#!/usr/bin/env python3
"""Writes tavrelon.ico: the program's 32 x 32, 16-colour icon (a folder, an
arrow and a drive), drawn below as text, one character per pixel. With
--linux it writes the same picture for the Linux program instead: PNG files
at 16, 32, 48 and 256 pixels and a scalable SVG file.

Usage: make_icon.py [OUTPUT]   (default: tavrelon.ico beside this script)
       make_icon.py --linux [FOLDER]
                    (default: src/platform/qt/main/icons, as tavrelon-SIZE.png
                    and tavrelon.svg)
"""
import os
import struct
import sys
import zlib

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


def rgba_pixels():
    """The picture as rows of (R, G, B, A), A 0 where transparent."""
    return [[(*PALETTE[INK[c]], 255) if c != "." else (0, 0, 0, 0) for c in line] for line in rows()]


def resampled(size):
    """The picture at size x size pixels: each pixel the average of the area
    of the picture it covers (weighted by opacity), so that enlarging by a
    whole number keeps every edge sharp and reducing blends neighbours."""
    source = rgba_pixels()
    scale = 32 / size
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            y0, y1, x0, x1 = y * scale, (y + 1) * scale, x * scale, (x + 1) * scale
            for sy in range(int(y0), min(32, int(y1 + 0.999999))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(32, int(x1 + 0.999999))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    r, g, b, a = source[sy][sx]
                    total[0] += r * a * w
                    total[1] += g * a * w
                    total[2] += b * a * w
                    total[3] += a * w
            area = scale * scale
            alpha = total[3] / area
            if total[3] > 0:
                colour = [round(total[i] / total[3]) for i in range(3)]
            else:
                colour = [0, 0, 0]
            row.append((*colour, round(alpha)))
        out.append(row)
    return out


def png_bytes(size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in resampled(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg_text():
    """One square per run of same-coloured pixels in a row."""
    shapes = []
    for y, line in enumerate(rows()):
        x = 0
        while x < 32:
            c = line[x]
            end = x
            while end < 32 and line[end] == c:
                end += 1
            if c != ".":
                r, g, b = PALETTE[INK[c]]
                shapes.append(f'  <rect x="{x}" y="{y}" width="{end - x}" height="1" '
                              f'fill="#{r:02x}{g:02x}{b:02x}"/>')
            x = end
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 32 32" shape-rendering="crispEdges">\n' + "\n".join(shapes) + "\n</svg>\n")


LINUX_SIZES = (16, 32, 48, 256)


def write_linux_icons(folder):
    os.makedirs(folder, exist_ok=True)
    for size in LINUX_SIZES:
        with open(os.path.join(folder, f"tavrelon-{size}.png"), "wb") as f:
            f.write(png_bytes(size))
    with open(os.path.join(folder, "tavrelon.svg"), "w", encoding="ascii") as f:
        f.write(svg_text())


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    if len(sys.argv) > 1 and sys.argv[1] == "--linux":
        default = os.path.join(here, "..", "..", "qt", "main", "icons")
        write_linux_icons(os.path.normpath(sys.argv[2] if len(sys.argv) > 2 else default))
        return
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "tavrelon.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes())


if __name__ == "__main__":
    main()
