"""Makes the picture fixtures and their reference decodes.

Every fixture is written by a standard tool (ImageMagick, libtiff's tools,
Pillow) or, for the variants no tool writes, built byte by byte here. The
reference of each is what a standard tool decodes from that file (Pillow,
or libtiff's tiff2rgba for TIFF), put into the form the program's loaders
give: plain RGB with alpha composited over the picture background
(white) where the program composites it.

Usage: picture_fixtures.py OUTDIR. Writes OUTDIR/manifest.txt with one line
per case: file, reference (binary PPM), image index, tolerance.
"""

import io
import os
import struct
import subprocess
import sys

from PIL import Image

OUT = sys.argv[1]
BACKGROUND = (255, 255, 255)
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
manifest = []


def path(name):
    return os.path.join(OUT, name)


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def composite(c, a, b):
    t = c * a + b * (255 - a) + 128
    return (t + (t >> 8)) >> 8


def write_ppm(name, im):
    im = im.convert("RGB") if im.mode != "RGB" else im
    with open(path(name), "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % im.size)
        f.write(im.tobytes())


def rgba_over_background(im):
    im = im.convert("RGBA")
    out = Image.new("RGB", im.size)
    px = [
        tuple(composite(c, p[3], b) for c, b in zip(p[:3], BACKGROUND))
        for p in im.getdata()
    ]
    out.putdata(px)
    return out


def case(name, ref_image, index=0, tolerance=0):
    ref = "%s.%d.ref.ppm" % (name, index)
    write_ppm(ref, ref_image)
    manifest.append("%s %s %d %d" % (name, ref, index, tolerance))


# --- source pictures -------------------------------------------------------

W, H = 37, 23


def source_rgb(w=W, h=H):
    im = Image.new("RGB", (w, h))
    im.putdata([((x * 7) % 256, (y * 11) % 256, (x * y * 3) % 256) for y in range(h) for x in range(w)])
    return im


def source_rgba(w=W, h=H):
    im = source_rgb(w, h).convert("RGBA")
    im.putalpha(Image.frombytes("L", (w, h), bytes(((x * 13 + y * 29) % 256) for y in range(h) for x in range(w))))
    return im


def source_grey(w=W, h=H):
    return Image.frombytes("L", (w, h), bytes(((x * 9 + y * 5) % 256) for y in range(h) for x in range(w)))


def source_palette(colours, w=W, h=H):
    return source_rgb(w, h).quantize(colours, method=Image.Quantize.MEDIANCUT)


source_rgb().save(path("src-rgb.png"))
source_rgba().save(path("src-rgba.png"))
source_grey().save(path("src-grey.png"))


# --- BMP ---------------------------------------------------------------------

def bmp_case(name, ref=None):
    case(name, ref if ref is not None else Image.open(path(name)).convert("RGB"))


source_rgb().convert("1").save(path("bmp-1bit.bmp"))
bmp_case("bmp-1bit.bmp")
source_palette(200).save(path("bmp-8bit.bmp"))
bmp_case("bmp-8bit.bmp")
source_rgb().save(path("bmp-24bit.bmp"))
bmp_case("bmp-24bit.bmp")
run(CONVERT, path("src-rgb.png"), "-colors", "16", "BMP3:" + path("bmp-4bit.bmp"))
bmp_case("bmp-4bit.bmp")
run(CONVERT, path("src-rgb.png"), "-colors", "120", "-compress", "RLE", "BMP3:" + path("bmp-rle8.bmp"))
bmp_case("bmp-rle8.bmp")
run(CONVERT, path("src-rgb.png"), "BMP2:" + path("bmp-os2.bmp"))
bmp_case("bmp-os2.bmp")
run(CONVERT, path("src-rgb.png"), "-colors", "60", "BMP2:" + path("bmp-os2-8bit.bmp"))
bmp_case("bmp-os2-8bit.bmp")
run(CONVERT, path("src-rgb.png"), "-define", "bmp:subtype=RGB565", "BMP:" + path("bmp-565.bmp"))
bmp_case("bmp-565.bmp")
run(CONVERT, path("src-rgba.png"), "BMP:" + path("bmp-32bit-v5.bmp"))
bmp_case("bmp-32bit-v5.bmp")


def raw_bmp(name, width, height, bits, rows, table=b"", compression=0, masks=b"", header_size=40, file_header=True):
    """A bitmap built by hand: rows are the stored row bytes, in file order."""
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(pixels), 2835, 2835,
                       len(table) // 4, 0)
    info += masks
    info += b"\0" * (header_size - len(info)) if header_size > len(info) else b""
    body = info + table
    data = body + pixels
    if file_header:
        data = b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, 14 + len(body)) + data
    with open(path(name), "wb") as f:
        f.write(data)


def pad(row):
    return row + b"\0" * (-len(row) % 4)


src = source_rgba()
# 32 bits, no masks: the fourth byte is not alpha.
raw_bmp("bmp-32bit-rgb.bmp", W, H, 32,
        [pad(b"".join(bytes((p[2], p[1], p[0], p[3])) for p in
                      [src.getpixel((x, H - 1 - y)) for x in range(W)])) for y in range(H)])
bmp_case("bmp-32bit-rgb.bmp", src.convert("RGB"))
# 16 bits, no masks: 5-5-5.
rgb = source_rgb()
raw_bmp("bmp-16bit-555.bmp", W, H, 16,
        [pad(b"".join(struct.pack("<H", ((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3)) for p in
                      [rgb.getpixel((x, H - 1 - y)) for x in range(W)])) for y in range(H)])
bmp_case("bmp-16bit-555.bmp")
# 32 bits with bit-field masks in the unusual order red low.
raw_bmp("bmp-bitfields-32.bmp", W, H, 32,
        [pad(b"".join(bytes((p[0], p[1], p[2], 0)) for p in
                      [rgb.getpixel((x, H - 1 - y)) for x in range(W)])) for y in range(H)],
        compression=3, masks=struct.pack("<III", 0xFF, 0xFF00, 0xFF0000))
bmp_case("bmp-bitfields-32.bmp", rgb)
# 24 bits stored top-down.
raw_bmp("bmp-top-down.bmp", W, -H, 24,
        [pad(b"".join(bytes((p[2], p[1], p[0])) for p in [rgb.getpixel((x, y)) for x in range(W)]))
         for y in range(H)])
bmp_case("bmp-top-down.bmp")
# 4 bits run-length coded: runs of two alternating indices, then a literal run.
pal16 = bytes(v for i in range(16) for v in (i * 16, 255 - i * 16, (i * 40) % 256, 0))
rle = b""
expect = []
for y in range(H):
    row = []
    for x0 in range(0, 30, 6):
        n = 6
        a, b = (x0 // 6 + y) % 16, (x0 // 6 + 2 * y) % 16
        rle += bytes((n, (a << 4) | b))
        row += [a, b] * 3
    lit = [(y + k) % 16 for k in range(6)]
    rle += bytes((0, 6)) + bytes(((lit[0] << 4) | lit[1], (lit[2] << 4) | lit[3], (lit[4] << 4) | lit[5], 0))
    row += lit + [0]
    rle += b"\0\0"
    expect.append(row)
rle += b"\0\1"
raw_bmp("bmp-rle4.bmp", W, H, 4, [rle], table=pal16, compression=2)
ref = Image.new("RGB", (W, H))
ref.putdata([(pal16[4 * i + 2], pal16[4 * i + 1], pal16[4 * i]) for y in range(H) for i in expect[H - 1 - y]])
bmp_case("bmp-rle4.bmp", ref)


# --- ICO ---------------------------------------------------------------------

def ico_body(im, bits):
    """The bitmap body of an icon entry: header (height doubled), table, rows, AND mask."""
    w, h = im.size
    table = b""
    if bits <= 8:
        p = im.getpalette()[: 3 * (1 << bits)]
        p += [0] * (3 * (1 << bits) - len(p))
        table = b"".join(bytes((p[3 * i + 2], p[3 * i + 1], p[3 * i], 0)) for i in range(1 << bits))
    rows = []
    for y in range(h - 1, -1, -1):
        if bits == 32:
            row = b"".join(bytes((q[2], q[1], q[0], q[3])) for q in [im.getpixel((x, y)) for x in range(w)])
        elif bits == 8:
            row = bytes(im.getpixel((x, y)) for x in range(w))
        else:
            v = [im.getpixel((x, y)) for x in range(w)] + [0]
            row = bytes((v[x] << 4) | v[x + 1] for x in range(0, w, 2))
        rows.append(pad(row))
    mask = b"".join(pad(bytes((w + 7) // 8)) for _ in range(h))
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bits, 0, 0, 0, 0, 0, 0)
    return header + table + b"".join(rows) + mask


def write_ico(name, entries):
    """entries: (width, height, colour count byte, bits, body)."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    bodies = b""
    for w, h, colours, bits, body in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bits, len(body), offset + len(bodies))
        bodies += body
    with open(path(name), "wb") as f:
        f.write(out + bodies)


def ico_reference(name, index, composite_alpha):
    ico = Image.open(path(name))
    with open(path(name), "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 6 + 16 * index + 12)[0]
    pil_index = next(i for i, e in enumerate(ico.ico.entry) if e["offset"] == offset)
    frame = ico.ico.frame(pil_index)
    return rgba_over_background(frame) if composite_alpha else frame.convert("RGB")


p16 = source_palette(16, 32, 32)
p256 = source_palette(256, 48, 48)
rgba32 = source_rgba(32, 32)
write_ico("ico-16colour.ico", [(32, 32, 16, 4, ico_body(p16, 4))])
case("ico-16colour.ico", ico_reference("ico-16colour.ico", 0, False))
write_ico("ico-256colour.ico", [(48, 48, 0, 8, ico_body(p256, 8)), (32, 32, 16, 4, ico_body(p16, 4))])
case("ico-256colour.ico", ico_reference("ico-256colour.ico", 0, False))
write_ico("ico-32bit.ico", [(32, 32, 0, 32, ico_body(rgba32, 32))])
case("ico-32bit.ico", ico_reference("ico-32bit.ico", 0, True))
big = source_palette(256, 256, 256)
write_ico("ico-256px.ico", [(256, 256, 0, 8, ico_body(big, 8))])
case("ico-256px.ico", ico_reference("ico-256px.ico", 0, False))
png_entry = io.BytesIO()
source_rgba(256, 256).save(png_entry, "PNG")
write_ico("ico-png-entry.ico", [(256, 256, 0, 32, png_entry.getvalue()), (32, 32, 16, 4, ico_body(p16, 4))])
case("ico-png-entry.ico", ico_reference("ico-png-entry.ico", 0, True))
case("ico-png-entry.ico", ico_reference("ico-png-entry.ico", 1, False), index=1)
run(CONVERT, path("src-rgba.png"), "-resize", "48x48!", path("ico-magick.ico"))
case("ico-magick.ico", ico_reference("ico-magick.ico", 0, True))


# --- GIF ---------------------------------------------------------------------

def lzw_literals(indices, min_size):
    """LZW data that codes every pixel as a literal, clearing before the code width would grow."""
    clear = 1 << min_size
    width = min_size + 1
    run_max = (1 << width) - clear - 2
    codes = [clear]
    k = 0
    for v in indices:
        if k == run_max:
            codes.append(clear)
            k = 0
        codes.append(v)
        k += 1
    codes.append(clear + 1)
    acc = nbits = 0
    out = bytearray()
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray([min_size])
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks) + b"\0"


def table_bytes(colours):
    size = 2
    while size < len(colours):
        size *= 2
    flags = size.bit_length() - 2
    return flags, b"".join(bytes(c) for c in colours) + b"\0\0\0" * (size - len(colours))


def write_gif(name, w, h, rows, global_colours, local_colours=None, transparent=None, interlaced=False):
    gflags, gtable = table_bytes(global_colours)
    out = b"GIF89a" + struct.pack("<HHBBB", w, h, 0x80 | (gflags << 4) | gflags, 0, 0) + gtable
    if transparent is not None:
        out += bytes((0x21, 0xF9, 4, 1)) + struct.pack("<H", 0) + bytes((transparent, 0))
    order = list(range(h))
    if interlaced:
        order = list(range(0, h, 8)) + list(range(4, h, 8)) + list(range(2, h, 4)) + list(range(1, h, 2))
    packed = 0x40 if interlaced else 0
    ltable = b""
    if local_colours:
        lflags, ltable = table_bytes(local_colours)
        packed |= 0x80 | lflags
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, packed) + ltable
    out += lzw_literals([v for y in order for v in rows[y]], 8) + b"\x3B"
    with open(path(name), "wb") as f:
        f.write(out)


def gif_reference(name, transparent_black=True):
    im = Image.open(path(name))
    im.seek(0)
    pal = im.getpalette()
    transparent = im.info.get("transparency") if transparent_black else None
    out = Image.new("RGB", im.size)
    out.putdata([(0, 0, 0) if i == transparent else tuple(pal[3 * i:3 * i + 3]) for i in im.getdata()])
    return out


gif_src = source_palette(100)
gif_src.save(path("gif-plain.gif"), interlace=False)
case("gif-plain.gif", gif_reference("gif-plain.gif"))
gif_src.save(path("gif-interlaced.gif"), interlace=True)
case("gif-interlaced.gif", gif_reference("gif-interlaced.gif"))
gif_src.save(path("gif-transparent.gif"), transparency=7, interlace=False)
case("gif-transparent.gif", gif_reference("gif-transparent.gif"))
run(CONVERT, path("src-rgb.png"), "-colors", "200", "-interlace", "GIF", path("gif-magick-interlaced.gif"))
case("gif-magick-interlaced.gif", gif_reference("gif-magick-interlaced.gif"))
colours16 = [((i * 16) % 256, (255 - i * 9) % 256, (i * 70) % 256) for i in range(16)]
rows = [[(x + 3 * y) % 16 for x in range(W)] for y in range(H)]
write_gif("gif-local-table.gif", W, H, rows, [(1, 2, 3)] * 4, local_colours=colours16)
case("gif-local-table.gif", gif_reference("gif-local-table.gif"))
write_gif("gif-16-transparent.gif", W, H, rows, colours16, transparent=5, interlaced=True)
case("gif-16-transparent.gif", gif_reference("gif-16-transparent.gif"))
rows10 = [[y] * 5 for y in range(10)]
write_gif("gif-10-rows.gif", 5, 10, rows10, [(v * 16, v * 16, v * 16) for v in range(16)], interlaced=True)
case("gif-10-rows.gif", gif_reference("gif-10-rows.gif"))


# --- PNG ---------------------------------------------------------------------

def png_reference(name, alpha_tolerance=0):
    im = Image.open(path(name))
    if im.mode in ("I", "I;16", "I;16B"):
        return Image.frombytes("L", im.size, bytes(v >> 8 for v in im.getdata())), 0
    if im.mode in ("RGBA", "LA", "PA") or "transparency" in im.info:
        return rgba_over_background(im), alpha_tolerance
    return im.convert("RGB"), 0


def png_case(name, alpha_tolerance=0):
    ref, tolerance = png_reference(name, alpha_tolerance)
    case(name, ref, tolerance=tolerance)


def magick_png(name, *args, source="src-rgb.png"):
    run(CONVERT, path(source), *args, path(name))
    png_case(name, alpha_tolerance=1)


source_grey().convert("1").save(path("png-grey-1.png"))
png_case("png-grey-1.png")
magick_png("png-grey-2.png", "-colorspace", "Gray", "-depth", "2", "-define", "png:color-type=0",
           "-define", "png:bit-depth=2", source="src-grey.png")
magick_png("png-grey-4.png", "-colorspace", "Gray", "-depth", "4", "-define", "png:color-type=0",
           "-define", "png:bit-depth=4", source="src-grey.png")
source_grey().save(path("png-grey-8.png"))
png_case("png-grey-8.png")
magick_png("png-grey-16.png", "-colorspace", "Gray", "-depth", "16", "-define", "png:color-type=0",
           source="src-grey.png")
source_grey().save(path("png-grey-trns.png"), transparency=40)
png_case("png-grey-trns.png")
src_la = Image.merge("LA", (source_grey(), source_rgba().getchannel("A")))
src_la.save(path("png-grey-alpha.png"))
png_case("png-grey-alpha.png")
source_palette(200).save(path("png-palette-8.png"))
png_case("png-palette-8.png")
source_palette(16).save(path("png-palette-4.png"), bits=4)
png_case("png-palette-4.png")
source_palette(4).save(path("png-palette-2.png"), bits=2)
png_case("png-palette-2.png")
source_palette(2).save(path("png-palette-1.png"), bits=1)
png_case("png-palette-1.png")
pal_t = source_palette(50)
pal_t.save(path("png-palette-trns.png"), transparency=bytes((i * 5) % 256 for i in range(50)))
png_case("png-palette-trns.png")
source_rgb().save(path("png-rgb.png"))
png_case("png-rgb.png")
source_rgb().save(path("png-rgb-trns.png"), transparency=(7, 11, 3))
png_case("png-rgb-trns.png")
source_rgba().save(path("png-rgba.png"))
png_case("png-rgba.png")
magick_png("png-rgb-16.png", "-depth", "16", "-define", "png:bit-depth=16")
magick_png("png-rgba-16.png", "-depth", "16", "-define", "png:bit-depth=16", source="src-rgba.png")
magick_png("png-rgba-gamma.png", "-define", "png:color-type=6", source="src-rgba.png")
magick_png("png-interlaced-rgb.png", "-interlace", "PNG")
magick_png("png-interlaced-rgba.png", "-interlace", "PNG", source="src-rgba.png")
run(CONVERT, path("src-rgb.png"), "-colors", "30", "-interlace", "PNG", "PNG8:" + path("png-interlaced-palette.png"))
png_case("png-interlaced-palette.png")
run(CONVERT, path("src-grey.png"), "-monochrome", "-interlace", "PNG", path("png-interlaced-grey-1.png"))
png_case("png-interlaced-grey-1.png")


# --- JPEG --------------------------------------------------------------------

def jpeg_case(name):
    case(name, Image.open(path(name)).convert("RGB"), tolerance=2)


source_grey().save(path("jpeg-grey.jpg"), quality=90)
jpeg_case("jpeg-grey.jpg")
source_rgb().save(path("jpeg-rgb.jpg"), quality=90)
jpeg_case("jpeg-rgb.jpg")
source_rgb().save(path("jpeg-rgb-444.jpg"), quality=95, subsampling=0)
jpeg_case("jpeg-rgb-444.jpg")
source_rgb().save(path("jpeg-progressive.jpg"), quality=85, progressive=True)
jpeg_case("jpeg-progressive.jpg")
source_rgb().convert("CMYK").save(path("jpeg-cmyk.jpg"), quality=95)
jpeg_case("jpeg-cmyk.jpg")
run(CONVERT, path("src-rgb.png"), "-colorspace", "CMYK", "-quality", "95", path("jpeg-cmyk-magick.jpg"))
jpeg_case("jpeg-cmyk-magick.jpg")


# --- TIFF --------------------------------------------------------------------

def tiff_case(name, index=0):
    rgba = path(name + ".rgba.tif")
    run("tiff2rgba", "-c", "none", path(name), rgba)
    im = Image.open(rgba)
    im.seek(index)
    case(name, im.convert("RGB"), index=index)


source_rgb().save(path("tiff-plain.tif"))
run("tiffcp", "-c", "lzw", path("tiff-plain.tif"), path("tiff-lzw.tif"))
tiff_case("tiff-lzw.tif")
run("tiffcp", "-c", "lzw:2", path("tiff-plain.tif"), path("tiff-lzw-predictor.tif"))
tiff_case("tiff-lzw-predictor.tif")
run("tiffcp", "-c", "packbits", path("tiff-plain.tif"), path("tiff-packbits.tif"))
tiff_case("tiff-packbits.tif")
run("tiffcp", "-c", "zip", path("tiff-plain.tif"), path("tiff-deflate.tif"))
tiff_case("tiff-deflate.tif")
source_palette(200).save(path("tiff-palette-8.tif"))
tiff_case("tiff-palette-8.tif")
run(CONVERT, path("src-rgb.png"), "-colors", "16", "-depth", "4", "-type", "Palette", path("tiff-palette-4.tif"))
tiff_case("tiff-palette-4.tif")
source_grey().save(path("tiff-grey-8.tif"))
run("tiffcp", "-c", "lzw", "-r", "5", path("tiff-grey-8.tif"), path("tiff-grey-8-strips.tif"))
tiff_case("tiff-grey-8-strips.tif")
run(CONVERT, path("src-grey.png"), "-depth", "16", "-define", "quantum:format=unsigned",
    "-compress", "none", path("tiff-grey-16.tif"))
tiff_case("tiff-grey-16.tif")
run(CONVERT, path("src-grey.png"), "-monochrome", "-compress", "Group4", path("tiff-bilevel-g4.tif"))
tiff_case("tiff-bilevel-g4.tif")
source_grey().convert("1").save(path("tiff-bilevel.tif"))
tiff_case("tiff-bilevel.tif")
run("tiffcp", "-c", "lzw", "-t", "-w", "16", "-l", "16", path("tiff-plain.tif"), path("tiff-tiled.tif"))
tiff_case("tiff-tiled.tif")
run("tiffcp", "-t", "-w", "16", "-l", "16", path("tiff-palette-8.tif"), path("tiff-tiled-palette.tif"))
tiff_case("tiff-tiled-palette.tif")
run("tiffcp", "-c", "lzw", path("tiff-lzw.tif"), path("tiff-grey-8.tif"), path("tiff-palette-8.tif"),
    path("tiff-multipage.tif"))
tiff_case("tiff-multipage.tif", 0)
tiff_case("tiff-multipage.tif", 1)
tiff_case("tiff-multipage.tif", 2)
run(CONVERT, path("src-rgb.png"), "-compress", "JPEG", "-quality", "90", path("tiff-jpeg.tif"))
tiff_case("tiff-jpeg.tif")

with open(path("manifest.txt"), "w") as f:
    f.write("\n".join(manifest) + "\n")
