#!/usr/bin/env python3
"""Writes the fuzz seeds that stand for the faults of the crash and bound
checks: files cut where a killed program leaves them, pictures declaring far
more pixels than they hold, frames placed beyond any page, journals of
changes under way, EPS files, preview-text files and page content whose
numbers overflow 64 bits where worked with exactly. Each is built here from
the format's layout (the card files from the card seed already in the
corpus), so running this again makes the same files.

    tools/make-fault-seeds.py [tests/fuzz/corpus]
"""
import os
import struct
import sys
import zlib

corpus = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tests", "fuzz", "corpus")


def put(name, data):
    path = os.path.join(corpus, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


# ---- database records ----

FIELD_MAX = [10, 25, 18, 30, 50, 50, 50, 50, 32, 4, 13, 20, 20, 20, 20, 63, 63, 255, 55, 55, 55, 55, 55, 2]


def record(fields, flags=0, categories=0):
    """One record: marker, flags, slack, 24 lengths, reserved, categories,
    the bodies and a zero byte."""
    bodies = [b""] * 24
    for field, text in fields.items():
        bodies[field] = text[:FIELD_MAX[field]]
    head = bytes([0xFC, flags]) + struct.pack("<h", 0) + bytes(len(b) for b in bodies)
    return head + b"\0\0" + struct.pack("<H", categories) + b"".join(bodies) + b"\0"


def sample(n):
    return record({2: b"First%04d" % n, 3: [b"Smith", b"M\xfcller", b"Jones"][n % 3],
                   5: b"W\xfcrfel & S\xf6hne", 6: b"%d Main Street" % (100 + n), 8: b"Springfield",
                   9: b"CA", 10: b"%05d" % (10000 + n), 17: b"x" * (n % 40)})


records = b"".join(sample(n) for n in range(40))
last = sample(40)
# A record area whose file (6000 bytes of header before it) ends at a page
# boundary inside the last record, as the kernel leaves a killed write.
end = (6000 + len(records) + len(last) // 2) // 4096 * 4096 - 6000
if end <= len(records):
    end = len(records) + 7
put("db_record/torn-at-a-page-boundary", records + last[: end - len(records)])
put("db_record/torn-in-its-head", records + last[:19])


# ---- journals beside a record file ----

def journal(original, entries, salt=0x5EED0001):
    head = struct.pack("<IIIII", int.from_bytes(b"njXQ", "little"), 1, salt, original, 0)
    head += struct.pack("<I", zlib.crc32(head))
    body = b""
    for offset, old in entries:
        entry = struct.pack("<III", offset, len(old), salt)
        body += entry + struct.pack("<I", zlib.crc32(old, zlib.crc32(entry))) + old
    return head + body


pending = journal(6500, [(6000, b"\xfc\x00" + b"k" * 40), (6100, b"old bytes")])
put("db_journal/a-change-under-way", pending)
put("db_journal/torn-in-its-last-entry", pending + journal(0, [(6200, b"never whole")])[24:][:11])
put("db_journal/committed", b"\0" * 24 + pending[24:])
put("db_journal/past-the-end", journal(0xFFFFFFF0, [(0xFFFFFF00, b"far")]))
# A change whose first entry keeps a copy of the header, the journal then
# cut by a byte, a bit of its header changed, or cut inside its header.
copied = journal(6500, [(6500, journal(6500, [])), (6000, b"\xfc\x00" + b"k" * 40)])
put("db_journal/cut-by-a-byte", copied[:-1])
put("db_journal/a-header-bit-changed", copied[:13] + bytes([copied[13] ^ 0x04]) + copied[14:])
put("db_journal/cut-inside-its-header", copied[:23])


# ---- pictures declaring far more than they hold ----

def bmp_huge(bits, compression):
    bmp = bytearray(70)
    bmp[0:2] = b"BM"
    struct.pack_into("<IxxxxI", bmp, 2, 70, 54 if bits == 24 else 62)
    struct.pack_into("<IiiHHII", bmp, 14, 40, 13000, 13000, 1, bits, compression, 0)
    if bits == 8:
        struct.pack_into("<I", bmp, 46, 2)
        bmp[63] = 1  # run-length data that ends the bitmap at once
    return bytes(bmp)


put("picture_bmp/declares-13000-square-in-70-bytes.bmp", bmp_huge(24, 0))
put("picture_bmp/rle-declares-13000-square.bmp", bmp_huge(8, 1))
gif = b"GIF89a" + struct.pack("<HH", 13000, 13000) + b"\0\0\0" + b"\x2c" + struct.pack("<HHHH", 0, 0, 13000, 13000)
gif += b"\0\x02\x0a" + bytes(range(0x44, 0x4E))
assert len(gif) == 35
put("picture_gif/declares-13000-square-in-35-bytes.gif", gif)


# ---- card documents with frames placed beyond what a page holds ----

def patched_card(patch):
    with open(os.path.join(corpus, "card_document", "sample.lqx"), "rb") as f:
        card = bytearray(f.read())
    frames_at, frames_length = struct.unpack_from("<II", card, 68)
    for r in range(frames_at, frames_at + frames_length - 55, 56):
        if card[r + 25] == 5:  # the first text frame
            patch(card, struct.unpack_from("<I", card, r + 12)[0])
            return bytes(card)
    raise SystemExit("no text frame in the card seed")


def far_below(card, at):
    struct.pack_into("<i", card, at + 4, -2147483648)
    struct.pack_into("<h", card, at + 8, -32640)


def long_and_turned(card, at):
    struct.pack_into("<hhf", card, at + 8, 104, 12243, 30.0)


put("card_document/frame-beyond-the-coordinate-space.lqx", patched_card(far_below))
put("card_document/frame-12243-wide-turned.lqx", patched_card(long_and_turned))


# ---- EPS files ----

postscript = (b"%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: seeds\n%%BoundingBox: 0 0 216 144\n"
              b"%%EndComments\n0 0 moveto 216 144 lineto stroke\nshowpage\n%%EOF\n")
put("eps/plain.eps", postscript)
put("eps/atend.eps", postscript.replace(b"0 0 216 144", b"(atend)") + b"%%Trailer\n%%BoundingBox: -5 -7 300.9 400\n")
dos = struct.pack("<IIIIIIIHH", 0xC6D3D0C5, 32, len(postscript), 0, 0, 32 + len(postscript), 4, 0xFFFF, 0)
put("eps/dos-header.eps", dos + postscript + b"TIFF")
put("eps/dos-header-past-the-end.eps", struct.pack("<IIIIIIIHH", 0xC6D3D0C5, 4000, 9000000, 0, 0, 0, 0, 0xFFFF, 0))
put("eps/comment-cut-short.eps", b"%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 12 99999999999999999999 -2147483649")


# ---- page content whose numbers take more than 64 bits at each other's places ----

put("page_content/clip-of-15-digits-beside-9-places",
    b"q\n123456789012345 0 m\n0.123456789 0 l\n0.123456789 5 l\n123456789012345 5 l\nh\nW n\n"
    b"0 0 1 1 re f\nQ\n")
put("page_content/text-moved-by-15-digits-from-9-places",
    b"/GSa gs\nq\nBT\n/F7 75 Tf 1 0 0 -1 0.123456789 0 Tm\nET\n"
    b"BT\n/F7 75 Tf 1 0 0 -1 -123456789012345 0 Tm\n0 0 Td <0001> Tj\nET\nQ\n")


# ---- preview texts ----

blocks = b"".join((b"Sample %d" % column).ljust(256, b"\0") for column in range(21))
put("preview_file/full", blocks)
put("preview_file/short", blocks[:700])
put("preview_file/no-terminator", b"\xfc" * 5376)
