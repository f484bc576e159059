#!/usr/bin/env python3
"""Converts a Hershey font (.jhf, Debian package hershey-fonts-data) into a Lumora stroke font.

Usage: hershey_to_font.py INPUT.jhf OUTPUT.txt "Title of the font"

The output covers the printable ASCII characters, the letters a-umlaut, o-umlaut, a-ring,
their capitals, e-acute and u-umlaut (composed from the base letter and a mark), the degree
sign, and the grave accent drawn as a degree sign (angle measures end with it). Glyphs are
placed in a fixed cell: narrow ones centred, wide ones narrowed to the cell. The file is
Latin-1 and no line is longer than 99 characters.
"""

import sys

SCALE = 2          # output grid units per Hershey unit, so centring stays on whole numbers
MAX_STROKES = 100  # what the font reader keeps of one glyph
MAX_LINE = 90      # keep well below the reader's 99 characters

ACKNOWLEDGEMENT = [
    "The Hershey Fonts were originally created by Dr. A. V. Hershey while working at",
    "the U. S. National Bureau of Standards.",
    "The format of the Font data in this distribution was originally created by",
    "James Hurt, Cognition, Inc., 900 Technology Park Drive, Billerica, MA 01821",
    "(mit-eddie!ci-dandelion!hurt)",
]


def read_jhf(path):
    """Returns the glyphs in file order, each a list of strokes [(x, y) or None for pen up]."""
    text = open(path, encoding="latin-1").read().replace("\r", "")
    glyphs, pos = [], 0
    while pos < len(text):
        if text[pos] == "\n":
            pos += 1
            continue
        count = int(text[pos + 5:pos + 8])
        pos += 8
        body = ""
        while len(body) < 2 * count:  # records may wrap onto further lines
            if text[pos] != "\n":
                body += text[pos]
            pos += 1
        pairs = [body[i:i + 2] for i in range(2, len(body), 2)]
        strokes = [None if p == " R" else (ord(p[0]) - 82, ord(p[1]) - 82) for p in pairs]
        glyphs.append(strokes)
    return glyphs


def polylines(strokes):
    lines, current = [], []
    for s in strokes:
        if s is None:
            if current:
                lines.append(current)
            current = []
        else:
            current.append(s)
    if current:
        lines.append(current)
    return lines


class Metrics:
    def __init__(self, by_char):
        def ys(c):
            return [p[1] for line in by_char[c] for p in line]

        self.baseline = max(ys("H"))
        self.cap_top = min(ys("H"))
        self.x_top = min(ys("x"))
        self.descent = max(max(ys(c)) for c in "gjpqy") - self.baseline
        widths = []
        for c in "ABCDEFGHIJKLNOPQRSTUVXYZ":
            xs = [p[0] for line in by_char[c] for p in line]
            widths.append(max(xs) - min(xs))
        self.width = max(widths)  # cell width in Hershey units
        self.height = self.baseline - self.cap_top


def place(lines, metrics):
    """Maps Hershey polylines into the output grid: y up from the base line, x in the cell."""
    points = [p for line in lines for p in line]
    if not points:
        return []
    xmin = min(p[0] for p in points)
    xmax = max(p[0] for p in points)
    ink = xmax - xmin
    if ink > metrics.width:
        def fx(x):
            return (x - xmin) * metrics.width / ink
    else:
        def fx(x):
            return x - (xmin + xmax) / 2 + metrics.width / 2
    return [[(round(fx(x) * SCALE), (metrics.baseline - y) * SCALE) for x, y in line]
            for line in lines]


def ring(cx, cy, r):
    corners = [(0, -1), (-0.7, -0.7), (-1, 0), (-0.7, 0.7), (0, 1), (0.7, 0.7), (1, 0),
               (0.7, -0.7), (0, -1)]
    return [(cx + r * dx, cy + r * dy) for dx, dy in corners]


def dot(cx, cy, r):
    return [(cx, cy - r), (cx - r, cy), (cx, cy + r), (cx + r, cy), (cx, cy - r)]


def centre_x(lines):
    xs = [p[0] for line in lines for p in line]
    return (min(xs) + max(xs)) / 2


def with_mark(base, mark, metrics, capital):
    """The base letter's polylines with a mark above it, in Hershey units."""
    top = metrics.cap_top if capital else metrics.x_top
    cx = centre_x(base)
    size = max(1, metrics.height / 21)
    if mark == "dieresis":
        y = top - 3 * size
        extra = [dot(cx - 3.5 * size, y, size), dot(cx + 3.5 * size, y, size)]
    elif mark == "ring":
        extra = [ring(cx, top - 4 * size, 2 * size)]
    else:  # acute
        extra = [[(cx - 1 * size, top - 2 * size), (cx + 2.5 * size, top - 6 * size)]]
    return base + extra


def format_glyph(char, lines):
    strokes = []
    for line in lines:
        strokes.append((line[0][0], line[0][1], 0))
        strokes += [(x, y, 1) for x, y in line[1:]]
    if len(strokes) > MAX_STROKES:
        sys.exit("glyph %r has %d strokes" % (char, len(strokes)))
    out, line = [], '"%s"' % char
    for x, y, pen in strokes:
        triple = " %d %d %d" % (x, y, pen)
        if len(line) + len(triple) > MAX_LINE:
            out.append(line)
            line = triple.lstrip()
        else:
            line += triple
    out.append(line)
    return out


def main():
    source, target, title = sys.argv[1], sys.argv[2], sys.argv[3]
    glyphs = read_jhf(source)
    by_char = {chr(32 + i): polylines(g) for i, g in enumerate(glyphs) if 32 + i < 127}
    m = Metrics(by_char)
    composed = {
        "\xe4": ("a", "dieresis"), "\xf6": ("o", "dieresis"), "\xe5": ("a", "ring"),
        "\xc4": ("A", "dieresis"), "\xd6": ("O", "dieresis"), "\xc5": ("A", "ring"),
        "\xe9": ("e", "acute"), "\xfc": ("u", "dieresis"),
    }
    degree = [ring(m.width / 2, m.cap_top + 3, 3)]

    out = ["* %s: a Lumora stroke font converted from the Hershey font %s" % (title,
           source.rsplit("/", 1)[-1]),
           "* by tools/hershey_to_font.py. Acknowledgements:"]
    out += ["*   " + line for line in ACKNOWLEDGEMENT]
    out += ["*",
            "* The grid: HEIGHT is the capital height, WIDTH the character cell, the base line",
            "* at y = 0. The other metrics are in the same units.",
            "#HEIGHT: %d" % (m.height * SCALE),
            "#WIDTH: %d" % (m.width * SCALE),
            "#LOWER_PORTION: %d" % (m.descent * SCALE),
            "#CHAR_SPACE: %d" % round(m.width * SCALE * 0.5),
            "#ROW_SPACE: %d" % round(m.height * SCALE * 0.6),
            "#CHARACTERS:",
            "* A space is a single pen move, so that every printable character has a glyph.",
            '" " 0 0 0']
    for code in range(33, 127):
        c = chr(code)
        out += format_glyph(c, place(degree if c == "`" else by_char[c], m))
    for c, (base, mark) in composed.items():
        out += format_glyph(c, place(with_mark(by_char[base], mark, m, base.isupper()), m))
    out += format_glyph("\xb0", place(degree, m))
    with open(target, "w", encoding="latin-1", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
