#!/usr/bin/env bash
# Remakes the image files of the loader tests, as the common tools write them: one small picture
# (13 x 7 pixels, every pixel different, with and without alpha) saved by ImageMagick in each
# variant of BMP, PNG, JPEG and GIF, by PIL in each variant of TGA, and by both in each variant
# of TIFF and icon files, and beside each file the tool's own decode of it as raw R, G, B, A
# bytes (name.rgba), which the tests compare with (PIL's decode for TGA, TIFF and icons: the
# first page of a multi-page TIFF, the image an icon opens with). Also a photograph, ImageMagick's
# built-in rose, as PNG with its pixels beside it, for the tests of colour reduction.
# Top-down BMPs are the bottom-up files with their rows stored in the other order and the height
# negated (no tool here writes them); ImageMagick reads them back as the same picture, which is
# checked. Needs the Debian packages imagemagick, python3-pil and libtiff-tools; run by hand from
# any folder:
#   tests/data/images/make_images.sh
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The pictures: RGB and alpha all vary with x and y, so any flip, shift or channel swap shows.
"$python" - "$work" <<'PY'
import struct, sys
from PIL import Image
folder = sys.argv[1]
w, h = 13, 7
picture = Image.new("RGBA", (w, h))
for y in range(h):
    for x in range(w):
        picture.putpixel((x, y), (20 * x, 36 * y, 255 - 15 * (x + y), 255 - 18 * ((x + 2 * y) % 14)))
picture.save(folder + "/alpha.png")
picture.convert("RGB").save(folder + "/opaque.png")
# Another picture, for the second page of multi-page files.
picture.transpose(Image.Transpose.ROTATE_180).save(folder + "/second.png")
# A 16-bit picture whose low bytes differ from its high bytes.
with open(folder + "/deep.rgba", "wb") as out:
    for y in range(h):
        for x in range(w):
            for v in (x * 5000 + y * 37, y * 9000 + x * 11, 65535 - (x + y) * 3000,
                      65535 - x * y * 500):
                out.write(struct.pack(">H", v % 65536))
PY
opaque=$work/opaque.png
alpha=$work/alpha.png
# PNG files without the time chunks, so that a remake gives the same bytes.
png=(-define png:exclude-chunks=date,time)

rm -f ./*.bmp ./*.tga ./*.png ./*.jpg ./*.gif ./*.tif ./*.ico ./*.rgba

# BMP: 1, 4, 8, 24 bits with a colour table or none and the 40-byte header; 32 bits plain
# (40-byte header) and with bit fields (the 124-byte header), 16 bits with 5-6-5 bit fields;
# 8 bits run-length encoded.
"$convert" "$opaque" -threshold 50% -type bilevel -compress none BMP3:bmp_1bit_bottom_up.bmp
"$convert" "$opaque" +dither -colors 16 -type palette -compress none BMP3:bmp_4bit_bottom_up.bmp
"$convert" "$opaque" -type palette -compress none BMP3:bmp_8bit_bottom_up.bmp
"$convert" "$opaque" -type truecolor BMP3:bmp_24bit_bottom_up.bmp
"$convert" "$alpha" -define bmp3:alpha=true BMP3:bmp_32bit_bottom_up.bmp
"$convert" "$alpha" BMP:bmp_32bit_bitfields_bottom_up.bmp
"$convert" "$opaque" -define bmp:subtype=RGB565 BMP:bmp_16bit_bitfields_bottom_up.bmp
"$convert" "$opaque" -type palette -compress RLE BMP3:bmp_8bit_rle.bmp

# The top-down twin of each uncompressed BMP.
for bottom in bmp_*_bottom_up.bmp; do
  "$python" - "$bottom" "${bottom%_bottom_up.bmp}_top_down.bmp" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height = struct.unpack_from("<ii", data, 18)
bits, compression = struct.unpack_from("<HI", data, 28)
assert height > 0 and compression in (0, 3), sys.argv[1]
row = (width * bits + 31) // 32 * 4
rows = [data[offset + i * row:offset + (i + 1) * row] for i in range(height)]
header = bytearray(data[:offset])
struct.pack_into("<i", header, 22, -height)
open(sys.argv[2], "wb").write(bytes(header) + b"".join(reversed(rows)) + data[offset + height * row:])
PY
done

# TGA, written by PIL (ImageMagick's TGA writer here marks the origin without storing the rows
# in that order): true colour from the bottom-left and the top-left origin, with alpha, grey,
# colour-mapped, and each of those three run-length encoded. The right-origin files are the
# left-origin ones with every row stored the other way round and the origin bit set; PIL reads
# them back as the same picture, which is checked. TGA files are decoded by PIL too.
"$python" - "$opaque" "$alpha" <<'PY'
import struct, sys
from PIL import Image
opaque = Image.open(sys.argv[1]).convert("RGB")
alpha = Image.open(sys.argv[2]).convert("RGBA")
opaque.save("tga_bottom_left.tga")
opaque.save("tga_top_left.tga", orientation=1)
alpha.save("tga_alpha.tga")
opaque.convert("L").save("tga_grey.tga")
mapped = opaque.quantize(256, dither=Image.Dither.NONE)
mapped.save("tga_colour_mapped.tga")
opaque.save("tga_rle.tga", compression="tga_rle")
opaque.convert("L").save("tga_rle_grey.tga", compression="tga_rle")
mapped.save("tga_rle_colour_mapped.tga", compression="tga_rle")
for left, right in (("tga_bottom_left", "tga_bottom_right"), ("tga_top_left", "tga_top_right")):
    data = bytearray(open(left + ".tga", "rb").read())
    width, height, bits = struct.unpack_from("<HHB", data, 12)
    start = 18 + data[0]
    size = bits // 8
    assert data[1] == 0 and data[2] == 2, left
    rows = [data[start + y * width * size:start + (y + 1) * width * size] for y in range(height)]
    pixels = b"".join(b"".join(row[x * size:(x + 1) * size] for x in reversed(range(width)))
                      for row in rows)
    data[17] |= 0x10
    open(right + ".tga", "wb").write(bytes(data[:start]) + pixels + bytes(data[start + len(pixels):]))
for name in ("tga_bottom_left", "tga_top_left", "tga_bottom_right", "tga_top_right", "tga_alpha",
             "tga_grey", "tga_colour_mapped", "tga_rle", "tga_rle_grey", "tga_rle_colour_mapped"):
    open(name + ".tga.rgba", "wb").write(Image.open(name + ".tga").convert("RGBA").tobytes())
PY

# PNG: grey, grey with alpha, a palette (with and without transparency), 16 bits a channel,
# interlaced.
"$convert" "${png[@]}" "$opaque" -colorspace gray -define png:color-type=0 -define png:bit-depth=8 png_grey.png
"$convert" "${png[@]}" "$alpha" -colorspace gray -define png:color-type=4 png_grey_alpha.png
"$convert" "${png[@]}" "$opaque" PNG8:png_palette.png
"$convert" "${png[@]}" "$alpha" -channel A -threshold 50% +channel PNG8:png_palette_transparent.png
"$convert" "${png[@]}" -size 13x7 -depth 16 rgba:"$work/deep.rgba" PNG64:png_16bit.png
"$convert" "${png[@]}" "$alpha" -interlace PNG PNG32:png_interlaced.png

# JPEG: baseline and progressive.
"$convert" "$opaque" -quality 90 jpeg_baseline.jpg
"$convert" "$opaque" -quality 90 -interlace JPEG jpeg_progressive.jpg

# GIF: plain, with a transparent colour, interlaced.
"$convert" "$opaque" GIF:gif_plain.gif
"$convert" "$alpha" -channel A -threshold 50% +channel GIF:gif_transparent.gif
"$convert" "$opaque" -interlace GIF GIF:gif_interlaced.gif

# TIFF by ImageMagick: each compression (none, LZW, Deflate, PackBits, JPEG, CCITT group 4),
# 1, 4, 8 and 16 bits a sample, grey, palette (4 and 8 bits), RGB, RGBA with unassociated and
# associated alpha, CMYK, tiled, planes stored apart, big-endian, and two pages.
second=$work/second.png
"$convert" "$opaque" -compress None tiff_none.tif
"$convert" "$opaque" -compress LZW tiff_lzw.tif
"$convert" "$opaque" -compress Zip tiff_deflate.tif
"$convert" "$opaque" -compress RLE tiff_packbits.tif
"$convert" "$opaque" -compress JPEG -quality 90 tiff_jpeg.tif
"$convert" "$opaque" -threshold 50% -type bilevel -depth 1 -compress None tiff_1bit.tif
"$convert" "$opaque" -threshold 50% -type bilevel -compress Group4 tiff_group4.tif
"$convert" "$opaque" -colorspace gray -depth 4 -compress None tiff_4bit_grey.tif
"$convert" "$opaque" -colorspace gray -compress LZW tiff_grey.tif
"$convert" "$opaque" +dither -colors 16 -type palette -compress None tiff_4bit_palette.tif
"$convert" "$opaque" -type palette -compress LZW tiff_palette.tif
"$convert" "$opaque" -depth 16 -compress Zip tiff_16bit.tif
"$convert" "$alpha" -define tiff:alpha=unassociated -compress LZW tiff_alpha_unassociated.tif
"$convert" "$alpha" -define tiff:alpha=associated -compress LZW tiff_alpha_associated.tif
"$convert" "$opaque" -colorspace CMYK -compress None tiff_cmyk.tif
"$convert" "$opaque" -define tiff:tile-geometry=8x8 -compress LZW tiff_tiled.tif
"$convert" "$opaque" -interlace Plane -compress None tiff_planar.tif
"$convert" "$opaque" -define tiff:endian=msb -compress LZW tiff_big_endian.tif
"$convert" "$opaque" "$second" -compress LZW tiff_multipage.tif

# TIFF by PIL: its own writer (uncompressed, with and without alpha) and libtiff's through it
# (each compression), 1 bit with and without fax coding, grey, palette, CMYK, two pages.
"$python" - "$opaque" "$alpha" "$second" <<'PY'
import sys
from PIL import Image
opaque = Image.open(sys.argv[1]).convert("RGB")
alpha = Image.open(sys.argv[2]).convert("RGBA")
second = Image.open(sys.argv[3]).convert("RGBA")
opaque.save("tiff_pil_raw.tif")
alpha.save("tiff_pil_alpha.tif")
opaque.save("tiff_pil_lzw.tif", compression="tiff_lzw")
alpha.save("tiff_pil_alpha_deflate.tif", compression="tiff_adobe_deflate")
opaque.save("tiff_pil_packbits.tif", compression="packbits")
opaque.save("tiff_pil_jpeg.tif", compression="jpeg", quality=90)
opaque.convert("1").save("tiff_pil_1bit.tif")
opaque.convert("1").save("tiff_pil_group4.tif", compression="group4")
opaque.convert("L").save("tiff_pil_grey.tif")
opaque.quantize(256, dither=Image.Dither.NONE).save("tiff_pil_palette.tif")
opaque.convert("CMYK").save("tiff_pil_cmyk.tif")
opaque.save("tiff_pil_multipage.tif", save_all=True, append_images=[second])
PY

# Icons by ImageMagick: three sizes of 32 bits with the largest in the middle; 1, 4 and 8 bits
# with the AND mask for transparency; a 4-bit and a 32-bit image of the same size, the 4-bit
# one first. By PIL: PNG images, and 32-bit bitmaps, each in two sizes.
"$convert" "$alpha" -resize 8x4! "$work/small.png"
"$convert" "$alpha" -resize 4x2! "$work/smaller.png"
"$convert" "$work/small.png" "$alpha" "$work/smaller.png" ico_sizes.ico
"$convert" "$alpha" -channel A -threshold 50% +channel -colors 2 -type palettealpha ico_1bit.ico
"$convert" "$alpha" -channel A -threshold 50% +channel -colors 16 ico_4bit.ico
"$convert" "$alpha" -channel A -threshold 50% +channel -colors 200 ico_8bit.ico
"$convert" \( "$alpha" -channel A -threshold 50% +channel -colors 16 \) "$alpha" ico_depths.ico
"$python" - "$alpha" <<'PY'
import sys
from PIL import Image
alpha = Image.open(sys.argv[1]).convert("RGBA")
alpha.save("ico_pil_png.ico", sizes=[(7, 4), (13, 7)])
alpha.save("ico_pil_bmp.ico", sizes=[(7, 4), (13, 7)], bitmap_format="bmp")
PY

# PIL's decode of every TIFF and icon.
"$python" - ./*.tif ./*.ico <<'PY'
import sys
from PIL import Image
for name in sys.argv[1:]:
    open(name + ".rgba", "wb").write(Image.open(name).convert("RGBA").tobytes())
PY

# The photograph.
"$convert" rose: "${png[@]}" photo_rose.png
"$convert" photo_rose.png -depth 8 rgba:photo_rose.png.rgba

# ImageMagick's decode of every other file.
for file in *.bmp png_*.png *.jpg *.gif; do
  "$convert" "$file" -depth 8 rgba:"$file.rgba"
done

# Run-length BMPs built here, 8 and 4 bits a pixel (ImageMagick writes RLE8 only, and only runs
# and absolute runs): runs, absolute runs of odd and even counts, alternating RLE4 pairs; two of
# them skip pixels by jumps and by early ends of rows and of the bitmap, which are transparent in
# their decode (name.rgba, written here from the picture each encodes). PIL checks the two that
# skip nothing, ImageMagick every pixel that none skips.
"$python" - "$convert" <<'PY'
import struct
import subprocess
import sys
from PIL import Image
W, H = 13, 7


def run_at(row, x, end, four):
    """How many pixels from x repeat the first (RLE4: the first two in turn)."""
    run = 1
    while x + run < end and run < 255 and row[x + run] == row[x + run % (2 if four else 1)]:
        run += 1
    return run


def pair(row, x, run, four):
    """A run's byte: its index, or RLE4's two indices."""
    if not four:
        return row[x]
    return row[x] << 4 | (row[x + 1] if run > 1 else 0)


def encode(rows, four, even):
    """RLE8 or RLE4 rows (stored bottom row first) of indices, None where a pixel is skipped: runs
    of one index (RLE4: of two indices in turn), absolute runs of three or more others (RLE4: of
    an even count), jumps over skipped pixels, and the end of a row or of the bitmap where the
    rest is skipped."""
    out = bytearray()
    stored = list(reversed(rows))
    x, r = 0, 0
    while r < H:
        row = stored[r]
        content = [i for i, v in enumerate(row) if v is not None and i >= x]
        later = [k for k in range(r + 1, H) if any(v is not None for v in stored[k])]
        if not content:
            if not later:
                break
            nxt = later[0]
            first = next(i for i, v in enumerate(stored[nxt]) if v is not None)
            if first >= x:
                out += bytes([0, 2, first - x, nxt - r])
            else:
                out += bytes([0, 0])
                if nxt > r + 1 or first > 0:
                    out += bytes([0, 2, first, nxt - r - 1])
            x, r = first, nxt
            continue
        if content[0] > x:
            out += bytes([0, 2, content[0] - x, 0])
            x = content[0]
        end = x
        while end < W and row[end] is not None:
            end += 1
        while x < end:
            run = run_at(row, x, end, four)
            if run >= 3 or x + run == end:
                out += bytes([run, pair(row, x, run, four)])
                x += run
                continue
            lit = x
            while lit < end and run_at(row, lit, end, four) < 3:
                lit += 1
            count = min(lit - x, 255)
            if even and count % 2:
                count -= 1
            if count < 3:
                step = min(2 if four else 1, end - x)
                out += bytes([step, pair(row, x, step, four)])
                x += step
                continue
            if four:
                data = bytes((row[x + i] << 4) | (row[x + i + 1] if i + 1 < count else 0)
                             for i in range(0, count, 2))
            else:
                data = bytes(row[x:x + count])
            out += bytes([0, count]) + data + b"\0" * (len(data) % 2)
            x += count
        if x >= W:
            if r + 1 < H:
                out += bytes([0, 0])
            x, r = 0, r + 1
    out += bytes([0, 1])
    return bytes(out)


def bmp(rows, palette, four):
    bits = 4 if four else 8
    whole = not any(v is None for row in rows for v in row)
    data = encode(rows, four, whole)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, bits, 2 if four else 1, len(data), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + table + data


def expected(rows, palette):
    return b"".join(bytes(palette[v]) + b"\xff" if v is not None else b"\0\0\0\0"
                    for row in rows for v in row)


palette8 = [((i * 37) % 256, (i * 91) % 256, 255 - (i * 53) % 256) for i in range(40)]
palette4 = palette8[:16]
# Repeated blocks, literal stretches and alternating pairs, row by row (top row first).
runs8 = [[(x // 4 + y) % 40 if y % 2 == 0 else (x * 3 + y * 7) % 40 for x in range(W)]
         for y in range(H)]
runs4 = [[(y + x % 2 * 5) % 16 if y % 3 == 0 else (x * 5 + y) % 16 if y % 3 == 1 else (x // 3 + y) % 16
          for x in range(W)] for y in range(H)]
# The same with skipped pixels: leading ones (a jump right), trailing ones (the end of a row),
# a whole row and the next row's start (a jump down), and the top row's end (the end of the
# bitmap).
skips = {(y, x) for y in range(H) for x in range(W)
         if (y == 5 and x < 3) or (y == 4 and x >= 5) or y == 2 or (y == 1 and 2 <= x < 6)
         or (y == 0 and x >= 9)}
delta8 = [[None if (y, x) in skips else v for x, v in enumerate(row)] for y, row in enumerate(runs8)]
delta4 = [[None if (y, x) in skips else v for x, v in enumerate(row)] for y, row in enumerate(runs4)]

files = {"bmp_8bit_rle_runs.bmp": (runs8, palette8, False),
         "bmp_4bit_rle_runs.bmp": (runs4, palette4, True),
         "bmp_8bit_rle_skips.bmp": (delta8, palette8, False),
         "bmp_4bit_rle_skips.bmp": (delta4, palette4, True)}
for name, (rows, palette, four) in files.items():
    open(name, "wb").write(bmp(rows, palette, four))
    want = expected(rows, palette)
    open(name + ".rgba", "wb").write(want)
    if not any(v is None for row in rows for v in row):
        # PIL reads no jumps right (it takes two bytes too many) and gives skipped pixels the
        # first colour: it checks the files that skip none.
        got = Image.open(name).convert("RGBA").tobytes()
        assert got == want, name + ": PIL decodes it otherwise"
    # ImageMagick makes skipped pixels opaque: it checks the others.
    got = subprocess.run([sys.argv[1], name, "-depth", "8", "rgba:-"], capture_output=True).stdout
    assert all(got[i:i + 4] == want[i:i + 4] for i in range(0, len(want), 4) if want[i + 3]), name
PY

# Files that differ only in how they store the picture decode the same.
same() { cmp -s "$1.rgba" "$2.rgba" || { echo "$1 and $2 decode differently" >&2; exit 1; }; }
for bottom in bmp_*_bottom_up.bmp; do same "$bottom" "${bottom%_bottom_up.bmp}_top_down.bmp"; done
for file in tga_top_left.tga tga_bottom_right.tga tga_top_right.tga; do same tga_bottom_left.tga "$file"; done
same tga_bottom_left.tga tga_rle.tga
same tga_grey.tga tga_rle_grey.tga
same tga_colour_mapped.tga tga_rle_colour_mapped.tga
for file in tiff_lzw.tif tiff_big_endian.tif tiff_tiled.tif tiff_planar.tif tiff_multipage.tif; do
  same tiff_none.tif "$file"
done
for file in tiff_pil_lzw.tif tiff_pil_packbits.tif tiff_pil_multipage.tif; do same tiff_pil_raw.tif "$file"; done
echo "made $(ls ./*.bmp ./*.tga ./*.png ./*.jpg ./*.gif ./*.tif ./*.ico | wc -l) images"

# Damaged JPEG files, for the fuzz target's seeds and the tests of hostile files: each copies the
# baseline or the progressive file and spoils one table. A Huffman table whose sixteen code
# counts are all 255 (far more codes than the lengths allow), one that counts three codes of one
# bit, one with an index beyond the four tables; quantisation tables all zero, marked 16-bit
# inside an 8-bit length, and with an index beyond the four tables.
"$python" - <<'PY'
def segments(data):
    at, found = 2, []
    while at + 4 <= len(data) and data[at] == 0xff:
        marker, length = data[at + 1], data[at + 2] << 8 | data[at + 3]
        found.append((marker, at))
        if marker == 0xda:
            break
        at += 2 + length
    return found

for kind in ("baseline", "progressive"):
    data = open(f"jpeg_{kind}.jpg", "rb").read()
    tables = segments(data)
    huffman = [at for marker, at in tables if marker == 0xc4]
    quant = [at for marker, at in tables if marker == 0xdb]

    def spoil(name, at, values):
        damaged = bytearray(data)
        damaged[at:at + len(values)] = bytes(values)
        open(f"jpeg_{kind}_{name}.jpg", "wb").write(damaged)

    spoil("huffman_overfull", huffman[0] + 5, [255] * 16)
    spoil("huffman_too_many_short", huffman[0] + 5, [3])
    spoil("huffman_index", huffman[-1] + 4, [data[huffman[-1] + 4] & 0xf0 | 0x0f])
    spoil("quant_zero", quant[0] + 5, [0] * 64)
    spoil("quant_16bit", quant[0] + 4, [data[quant[0] + 4] | 0x10])
    spoil("quant_index", quant[0] + 4, [data[quant[0] + 4] & 0xf0 | 0x0f])
PY

# Pages in tiles as libtiff's own copier lays them out: a 37 x 23 picture (every pixel different)
# in 16 x 16 tiles, uncompressed and LZW, and in 32 x 48 tiles with the planes stored apart, so
# that the right and bottom tiles reach past the picture. PIL's decode of the picture beside them.
"$python" - "$work" <<'PY'
import sys
from PIL import Image
picture = Image.new("RGB", (37, 23))
for y in range(23):
    for x in range(37):
        picture.putpixel((x, y), (7 * x, 11 * y, 255 - 3 * (x + y)))
picture.save(sys.argv[1] + "/tiles.tif", compression="raw")
open("tiff_tiles.rgba", "wb").write(picture.convert("RGBA").tobytes())
PY
tiffcp -t -w 16 -l 16 -c none "$work/tiles.tif" tiff_tiles_16.tif
tiffcp -t -w 16 -l 16 -c lzw "$work/tiles.tif" tiff_tiles_16_lzw.tif
tiffcp -t -w 32 -l 48 -p separate -c none "$work/tiles.tif" tiff_tiles_planar.tif
for file in tiff_tiles_16.tif tiff_tiles_16_lzw.tif tiff_tiles_planar.tif; do
  "$python" -c "import sys; from PIL import Image
assert Image.open(sys.argv[1]).convert('RGBA').tobytes() == open('tiff_tiles.rgba', 'rb').read()" "$file"
done
