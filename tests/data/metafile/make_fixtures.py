#!/usr/bin/env python3
"""Writes a set of enhanced and Windows metafiles into a folder.

The records are laid out here from the formats' documentation, apart from
the program's own writers, so that the player is checked against files it
did not make. Each enhanced metafile is a 200 x 200 pixel picture of a
96-dpi reference device; each Windows metafile has a placeable header of
2000 x 2000 units at 1000 an inch. Colours of the Windows metafiles are
named SVG colours, which the outside reader they are compared with keeps.

usage: make_fixtures.py FOLDER
"""
import struct
import sys
from pathlib import Path

# --- Enhanced metafiles -----------------------------------------------------

DEVICE = (1024, 768)
MILLIMETERS = (271, 203)


def rgb(r, g, b):
    return r | g << 8 | b << 16


class Emf:
    def __init__(self):
        self.records = []
        self.handles = 1

    def rec(self, kind, payload=b""):
        while len(payload) % 4:
            payload += b"\0"
        self.records.append(struct.pack("<II", kind, 8 + len(payload)) + payload)
        return self

    def ints(self, kind, *values):
        return self.rec(kind, struct.pack("<%di" % len(values), *values))

    def pen(self, index, style, width, colour):
        self.handles = max(self.handles, index + 1)
        return self.ints(38, index, style, width, 0, colour)

    def ext_pen(self, index, style, width, colour):
        self.handles = max(self.handles, index + 1)
        return self.rec(95, struct.pack("<11I", index, 0, 0, 0, 0, style, width, 0, colour, 0, 0))

    def brush(self, index, colour, style=0, hatch=0):
        self.handles = max(self.handles, index + 1)
        return self.ints(39, index, style, colour, hatch)

    def select(self, index):
        return self.rec(37, struct.pack("<I", index))

    def points16(self, kind, pts):
        body = struct.pack("<4iI", 0, 0, -1, -1, len(pts))
        body += b"".join(struct.pack("<hh", x, y) for x, y in pts)
        return self.rec(kind, body)

    def points32(self, kind, pts):
        body = struct.pack("<4iI", 0, 0, -1, -1, len(pts))
        body += b"".join(struct.pack("<ii", x, y) for x, y in pts)
        return self.rec(kind, body)

    def polypolygon16(self, polys):
        body = struct.pack("<4iII", 0, 0, -1, -1, len(polys), sum(len(p) for p in polys))
        body += b"".join(struct.pack("<I", len(p)) for p in polys)
        body += b"".join(struct.pack("<hh", x, y) for p in polys for x, y in p)
        return self.rec(91, body)

    def font(self, index, height, weight, face):
        self.handles = max(self.handles, index + 1)
        name = face.encode("utf-16-le").ljust(64, b"\0")
        return self.rec(82, struct.pack("<I5i8B", index, height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0) + name)

    def text(self, x, y, string, options=0, rect=(0, 0, -1, -1)):
        chars = string.encode("utf-16-le")
        n = len(string)
        off_string = 76
        body = struct.pack("<4iIff", 0, 0, -1, -1, 1, 0.0, 0.0)
        body += struct.pack("<iiIII4iI", x, y, n, off_string, options, *rect, 0)
        body += chars.ljust((len(chars) + 3) // 4 * 4, b"\0")
        return self.rec(84, body)

    def stretch_dib(self, dest, src, width, height, pixels, bits=24, palette=None):
        """pixels: rows top first of (r, g, b), or palette indexes."""
        table = b""
        if bits == 8:
            table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
        stride = (width * bits + 31) // 32 * 4
        rows = []
        for row in reversed(pixels):
            if bits == 24:
                data = b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row)
            else:
                data = bytes(row)
            rows.append(data.ljust(stride, b"\0"))
        image = b"".join(rows)
        colours = len(palette) if palette else 0
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(image), 0, 0, colours, 0) + table
        off_bmi = 80
        off_bits = off_bmi + len(info)
        body = struct.pack("<4i", 0, 0, -1, -1)
        body += struct.pack("<6i", dest[0], dest[1], src[0], src[1], src[2], src[3])
        body += struct.pack("<6I", off_bmi, len(info), off_bits, len(image), 0, 0x00CC0020)
        body += struct.pack("<2i", dest[2], dest[3])
        return self.rec(81, body + info + image)

    def region(self, kind, rects, mode):
        data = struct.pack("<4I4i", 32, 1, len(rects), 16 * len(rects), 0, 0, 0, 0)
        data += b"".join(struct.pack("<4i", *r) for r in rects)
        return self.rec(kind, struct.pack("<II", len(data), mode) + data)

    def bytes(self, size=200):
        frame_w = round(size / (DEVICE[0] / MILLIMETERS[0]) * 100)
        frame_h = round(size / (DEVICE[1] / MILLIMETERS[1]) * 100)
        eof = struct.pack("<IIIII", 14, 20, 0, 16, 20)
        body = b"".join(self.records) + eof
        header_size = 108
        total = header_size + len(body)
        header = struct.pack("<II4i4i", 1, header_size, 0, 0, size - 1, size - 1, 0, 0, frame_w, frame_h)
        header += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, total, len(self.records) + 2, self.handles, 0, 0, 0, 0)
        header += struct.pack("<2i2i3I2i", *DEVICE, *MILLIMETERS, 0, 0, 0, MILLIMETERS[0] * 1000, MILLIMETERS[1] * 1000)
        return header + body


NULL_PEN = 0x80000008
WHITE_BRUSH = 0x80000000


def shapes():
    e = Emf()
    e.pen(1, 0, 1, rgb(0, 0, 160)).brush(2, rgb(230, 80, 20)).select(1).select(2)
    e.ints(43, 10, 10, 90, 70)                    # rectangle
    e.brush(3, rgb(40, 160, 70)).select(3)
    e.ints(42, 110, 10, 190, 90)                  # ellipse
    e.ints(42, 10, 110, 90, 190)                  # circle
    e.brush(4, rgb(240, 210, 40)).select(4)
    e.points16(86, [(150, 100), (190, 190), (110, 190)])   # triangle
    e.ints(47, 100, 100, 140, 140, 140, 120, 120, 100)    # pie
    e.ext_pen(5, 0x00010000, 3, rgb(120, 0, 120)).select(5)
    e.points16(87, [(5, 195), (60, 100), (100, 195)])     # polyline
    e.points16(85, [(100, 5), (130, 60), (170, 0), (195, 50)])  # bezier
    return e


def paths():
    e = Emf()
    e.ints(19, 1)                                  # alternate
    e.brush(1, rgb(30, 90, 200)).select(1).select(NULL_PEN)
    e.rec(59)
    e.ints(27, 20, 20).points16(89, [(180, 20), (180, 180), (20, 180)]).rec(61)
    e.ints(27, 60, 60).points16(89, [(60, 140), (140, 140), (140, 60)]).rec(61)
    e.rec(60).rec(62, struct.pack("<4i", 0, 0, -1, -1))   # a ring
    e.ext_pen(2, 0x00010000, 5, rgb(200, 0, 0)).select(2).brush(3, rgb(250, 220, 120)).select(3)
    e.rec(59).ints(27, 100, 70)
    e.points16(88, [(130, 70), (130, 130), (100, 130)])    # bezier to
    e.points16(88, [(70, 130), (70, 70), (100, 70)]).rec(61).rec(60)
    e.rec(63, struct.pack("<4i", 0, 0, -1, -1))           # stroke and fill
    return e


def mapping():
    e = Emf()
    e.brush(1, rgb(200, 40, 40)).select(1).select(NULL_PEN)
    e.ints(17, 8).ints(9, 1000, 1000).ints(11, 200, 200)   # anisotropic, window 1000
    e.ints(10, -500, -500).ints(12, 100, 100)              # origin in the middle
    e.ints(43, -400, -400, 0, 0)
    e.brush(2, rgb(40, 40, 200)).select(2)
    e.ints(43, 100, 100, 400, 300)
    return e


def world():
    e = Emf()
    e.select(NULL_PEN).brush(1, rgb(40, 170, 40)).select(1)
    e.rec(36, struct.pack("<6fI", 2, 0, 0, 2, 100, 10, 4))  # scale 2 and move
    e.ints(43, 0, 0, 40, 30)
    e.rec(36, struct.pack("<6fI", 0, 1, -1, 0, 60, 120, 4))  # a quarter turn
    e.brush(2, rgb(200, 120, 0)).select(2)
    e.ints(43, 0, 0, 60, 20)
    e.rec(36, struct.pack("<6fI", 1, 0, 0, 1, 0, 0, 1))    # identity again
    e.ints(42, 120, 140, 190, 195)
    return e


def bitmaps():
    e = Emf()
    blocks = [[(255 * (x // 10 % 2), 255 * (y // 10 % 2), 128) for x in range(40)] for y in range(40)]
    e.stretch_dib((10, 10, 40, 40), (0, 0, 40, 40), 40, 40, blocks)
    palette = [(255, 0, 0), (0, 200, 0), (0, 0, 255), (250, 250, 0)]
    indexed = [[(x // 10 + y // 10) % 4 for x in range(30)] for y in range(30)]
    e.stretch_dib((110, 20, 30, 30), (0, 0, 30, 30), 30, 30, indexed, bits=8, palette=palette)
    stripes = [[(0, 0, 0) if y < 8 else (255, 0, 255) for x in range(60)] for y in range(16)]
    e.stretch_dib((20, 120, 60, 16), (0, 0, 60, 16), 60, 16, stripes)
    return e


def clipping():
    e = Emf()
    e.brush(1, rgb(220, 60, 60)).select(1).select(NULL_PEN)
    e.ints(30, 20, 20, 180, 180)                           # intersect
    e.ints(43, 0, 0, 200, 100)
    e.brush(2, rgb(60, 60, 220)).select(2)
    e.ints(42, 0, 0, 200, 200)
    return e


def text():
    e = Emf()
    e.font(1, -36, 700, "Liberation Sans").select(1)
    e.ints(24, rgb(0, 0, 0)).ints(22, 24).ints(18, 1)     # baseline, transparent
    e.text(20, 80, "Tessaline")
    e.font(2, -24, 400, "Liberation Serif").select(2)
    e.ints(24, rgb(160, 0, 0))
    e.text(20, 160, "metafile")
    return e


def pens():
    e = Emf()
    e.ext_pen(1, 0x00010000, 9, rgb(0, 120, 200)).select(1)     # geometric solid
    e.points32(4, [(10, 20), (190, 20)])
    e.ext_pen(2, 0x00010000, 3, rgb(200, 0, 100)).select(2)
    e.brush(3, rgb(255, 230, 180)).select(3)
    e.polypolygon16([[(20, 50), (90, 50), (90, 120), (20, 120)], [(110, 50), (180, 50), (145, 120)]])
    e.pen(4, 0, 0, rgb(0, 0, 0)).select(4)
    for i in range(6):
        e.ints(27, 10 + 30 * i, 140).ints(54, 30 + 30 * i, 190)
    return e


def misc():
    """Records the outside readers draw differently, for seeds and our own
    checks: saved states, clip regions, hatches, arcs, point types."""
    e = Emf()
    e.rec(33).ints(29, 40, 40, 60, 60)
    e.region(75, [(0, 0, 100, 200)], 1)                    # and
    e.brush(1, rgb(200, 0, 0), style=2, hatch=5).select(1)
    e.ints(43, 0, 0, 200, 200)
    e.rec(34, struct.pack("<i", -1))
    e.ints(57, 2).ints(45, 110, 10, 190, 90, 190, 50, 110, 50)   # clockwise arc
    e.ints(57, 1).ints(46, 110, 100, 190, 180, 190, 140, 110, 140)
    e.ints(27, 10, 150).ints(55, 20, 120, 80, 180, 80, 150, 20, 150)
    e.rec(41, struct.pack("<iiIff", 150, 150, 30, 0.0, 270.0))
    e.rec(56, struct.pack("<4iI", 0, 0, -1, -1, 4) + struct.pack("<8i", 10, 10, 50, 10, 50, 50, 10, 50)
          + bytes([6, 2, 2, 3]))
    e.ints(28).ints(26, 5, 5)
    return e


# --- Windows metafiles --------------------------------------------------------

NAMED = {"red": 0x0000FF, "lime": 0x00FF00, "blue": 0xFF0000, "yellow": 0x00FFFF, "black": 0, "white": 0xFFFFFF,
         "navy": 0x800000, "fuchsia": 0xFF00FF}


class Wmf:
    def __init__(self):
        self.records = []
        self.objects = 0

    def rec(self, function, *words):
        body = struct.pack("<%dh" % len(words), *words)
        self.records.append(struct.pack("<IH", 3 + len(words), function) + body)
        return self

    def raw(self, function, payload):
        if len(payload) % 2:
            payload += b"\0"
        self.records.append(struct.pack("<IH", 3 + len(payload) // 2, function) + payload)
        return self

    def colour(self, function, c):
        return self.raw(function, struct.pack("<I", c))

    def pen(self, style, width, c):
        self.objects += 1
        return self.raw(0x02FA, struct.pack("<HhhI", style, width, 0, c))

    def brush(self, c, style=0):
        self.objects += 1
        return self.raw(0x02FC, struct.pack("<HIH", style, c, 0))

    def bytes(self, width=2000, height=2000):
        body = b"".join(self.records) + struct.pack("<IH", 3, 0)
        words = (18 + len(body)) // 2
        biggest = max(len(r) // 2 for r in self.records) if self.records else 3
        header = struct.pack("<HHHIHIH", 1, 9, 0x300, words, max(self.objects, 1), biggest, 0)
        placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, width, height, 1000, 0)
        checksum = 0
        for i in range(0, 20, 2):
            checksum ^= struct.unpack_from("<H", placeable, i)[0]
        return placeable + struct.pack("<H", checksum) + header + body


def background(w):
    """A white ground over the whole picture, with the next two slots."""
    w.pen(5, 0, 0).brush(NAMED["white"]).rec(0x012D, 0).rec(0x012D, 1)
    w.rec(0x041B, 2000, 2000, 0, 0)
    w.rec(0x01F0, 0).rec(0x01F0, 1)
    w.objects -= 2


def wmf_shapes():
    w = Wmf()
    w.rec(0x0103, 8).rec(0x020B, 0, 0).rec(0x020C, 2000, 2000)      # anisotropic, window 2000
    background(w)
    w.pen(0, 40, NAMED["navy"]).brush(NAMED["red"])                  # slots 0 and 1
    w.rec(0x012D, 0).rec(0x012D, 1)
    w.rec(0x041B, 900, 900, 100, 100)                                # rectangle (b, r, t, l)
    w.brush(NAMED["lime"]).rec(0x012D, 2)                            # slot 2
    w.rec(0x0418, 900, 1900, 100, 1100)                              # ellipse
    w.rec(0x01F0, 1)                                                 # delete the red brush
    w.brush(NAMED["yellow"]).rec(0x012D, 1)                          # takes slot 1 again
    w.raw(0x0324, struct.pack("<h6h", 3, 1500, 1100, 1900, 1900, 1100, 1900))   # polygon
    w.brush(NAMED["blue"]).rec(0x012D, 3)
    w.rec(0x061C, 300, 300, 1900, 900, 1100, 100)                    # rounded rectangle
    return w


def wmf_polys():
    w = Wmf()
    w.rec(0x0103, 8).rec(0x020B, 0, 0).rec(0x020C, 2000, 2000)
    background(w)
    w.pen(5, 0, 0).brush(NAMED["fuchsia"]).rec(0x012D, 0).rec(0x012D, 1)   # no outline
    w.rec(0x0106, 1)                                                 # alternate
    ring = struct.pack("<h2h", 2, 4, 4) + struct.pack("<8h", 100, 100, 1900, 100, 1900, 1900, 100, 1900)
    ring += struct.pack("<8h", 600, 600, 1400, 600, 1400, 1400, 600, 1400)
    w.raw(0x0538, ring)                                              # a square ring
    w.brush(NAMED["blue"]).rec(0x012D, 2)
    w.rec(0x041B, 1200, 1200, 800, 800)                              # in the hole
    return w


def wmf_misc():
    """Text, a clip region, a saved state and a bitmap, for seeds."""
    w = Wmf()
    w.rec(0x0103, 8).rec(0x020B, 0, 0).rec(0x020C, 2000, 2000)
    w.rec(0x001E)
    font = struct.pack("<5h8B", -200, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0) + b"Arial".ljust(32, b"\0")
    w.objects += 1
    w.raw(0x02FB, font).rec(0x012D, 0)
    w.raw(0x0A32, struct.pack("<hhhH", 300, 100, 5, 0) + b"Hello\0" + struct.pack("<5h", 150, 150, 150, 150, 150))
    region = struct.pack("<HHIhhh4h", 0, 6, 0, 34, 1, 2, 0, 0, 1000, 1000) + struct.pack("<6H", 4, 0, 1000, 0, 400, 4)
    region = region[:-2] + struct.pack("<2H", 600, 1000) + struct.pack("<H", 4)
    w.objects += 1
    w.raw(0x06FF, region).rec(0x012C, 1)
    w.brush(NAMED["blue"]).rec(0x012D, 2).rec(0x041B, 1500, 1500, 0, 0)
    w.rec(0x0127, -1)
    info = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 16, 0, 0, 0, 0)
    pixels = bytes([255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0])
    w.raw(0x0B41, struct.pack("<I8h", 0x00CC0020, 2, 2, 0, 0, 400, 400, 1500, 1500) + info + pixels)
    return w


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, make in [("shapes", shapes), ("paths", paths), ("mapping", mapping), ("world", world), ("bitmaps", bitmaps),
                       ("clipping", clipping), ("text", text), ("pens", pens), ("misc", misc)]:
        (out / (name + ".emf")).write_bytes(make().bytes())
    for name, make in [("wmf_shapes", wmf_shapes), ("wmf_polys", wmf_polys), ("wmf_misc", wmf_misc)]:
        (out / (name + ".wmf")).write_bytes(make().bytes())


if __name__ == "__main__":
    main()
