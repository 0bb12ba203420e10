#!/usr/bin/env python3
"""Writes the hand-built metafiles of the raster tests: every ternary raster operation, the mix
modes of pens and brushes, the masked, parallelogram, transparent and device bitmap records,
palettes and palette index colours, the old WMF device-dependent bitmaps, JPEG and PNG bitmaps
inside records, and records with absurd values. The JPEG and PNG pictures are written by
ImageMagick (convert), which scripts/deps.sh installs. Run from anywhere; the files land beside
this script."""
import os
import struct
import subprocess
import tempfile

from make_metafiles import (BOUNDS, dib, e_bitblt, e_brush, e_font, e_pen, e_select,
                            e_stretchdibits, e_text, e_u32, e_xform, emf_file, emf_record, ints,
                            rgb, w_brush, w_font, w_pen, w_rect, w_select, w_textout, w_window,
                            wmf_color, wmf_file, wmf_record)

HERE = os.path.dirname(os.path.abspath(__file__))

NULL_PEN, NULL_BRUSH, DEFAULT_PALETTE = 0x80000008, 0x80000005, 0x8000000F
SRCCOPY, PATCOPY, DSTINVERT, SRCAND = 0x00CC0020, 0x00F00021, 0x00550009, 0x008800C6
SRCINVERT = 0x00660046
GREY = rgb(0x80, 0x80, 0x80)


def palette_index(i):
    return 0x01000000 | i


def emf_pixels(width, height, records):
    """An EMF whose device units are the picture's pixels: a device of 480 pixels over 127 mm
    (96 dots an inch) and a frame of whole pixels (sides in multiples of 24 pixels)."""
    assert width % 24 == 0 and height % 24 == 0
    frame = (0, 0, width * 2540 // 96, height * 2540 // 96)
    return emf_file(frame, (480, 480), (127, 127), records)


def dib_rows(width, height, bits, rows, palette=()):
    """dib() with rows given top row first as colours (24 bits) or indices."""
    return dib(width, height, bits, rows, palette=palette)


def mono_dib(rows, table=((0, 0, 0), (255, 255, 255))):
    """A 1-bit DIB of rows of 0 and 1, top row first."""
    return dib(len(rows[0]), len(rows), 1, rows, palette=table)


def bitblt_fields(x, y, w, h, rop, src_x=0, src_y=0):
    return BOUNDS + ints(x, y, w, h) + struct.pack("<I", rop) + ints(src_x, src_y) + \
        struct.pack("<6f", 1, 0, 0, 1, 0, 0)


# ---- every ternary raster operation --------------------------------------------------------

# The channels of pattern, source and destination: 0xF0, 0xCC and 0xAA hold every combination of
# three bits, so each channel of the result is the operation's index itself.
P_ALL, S_ALL, D_ALL = rgb(0xF0, 0xF0, 0xF0), (0xCC, 0xCC, 0xCC), rgb(0xAA, 0xAA, 0xAA)
# Distinct channels for the named operations, checked against their own formulas.
P_NAMED, S_NAMED, D_NAMED = rgb(0xF0, 0x0F, 0x3C), (0xCC, 0x55, 0xFF), rgb(0xAA, 0x33, 0x00)
NAMED = [0xCC, 0xEE, 0x88, 0x66, 0x44, 0x33, 0x11, 0xC0, 0xBB, 0xF0, 0xFB, 0x5A, 0x55, 0x00,
         0xFF, 0x22, 0xE2, 0xB8]
# Over nothing drawn, with the named channels; the last two have a black and a white source.
EMPTY = [0x88, 0xEE, 0x66, 0x44, 0x11, 0xBB, 0x55, 0x5A, 0xAA, 0x22, 0xC0, 0xB8, 0xEE, 0x88]
CELL = 12


def rops_emf():
    """192 x 240 pixels. Rows 0-15: cell i (16 a row, 12 pixels square) is a BitBlt of a 1 x 1
    bitmap with operation i over the destination. Row 16: the named operations over other
    channels. Row 18: operations over nothing. Row 19: PATINVERT with a hatched brush."""
    records = [e_select(NULL_PEN), e_brush(1, D_ALL), e_select(1), emf_record(43, ints(0, 0, 193, 193)),
               e_brush(2, D_NAMED), e_select(2), emf_record(43, ints(0, 192, 193, 205)),
               emf_record(43, ints(0, 228, 193, 241)),
               e_brush(3, P_ALL), e_select(3)]
    s_all = dib(1, 1, 24, [[S_ALL]])
    for i in range(256):
        x, y = (i % 16) * CELL, (i // 16) * CELL
        records.append(e_bitblt(x, y, CELL, CELL, *s_all, rop=i << 16))
    s_named = dib(1, 1, 24, [[S_NAMED]])
    records += [e_brush(4, P_NAMED), e_select(4)]
    for k, op in enumerate(NAMED):
        records.append(e_bitblt(k * 10, 193, 10, 10, *s_named, rop=op << 16))
    black, white = dib(1, 1, 24, [[(0, 0, 0)]]), dib(1, 1, 24, [[(255, 255, 255)]])
    for k, op in enumerate(EMPTY):
        source = black if k == len(EMPTY) - 2 else white if k == len(EMPTY) - 1 else s_named
        records.append(e_bitblt(k * 12, 216, 12, 12, *source, rop=op << 16))
    # PATINVERT of a blue horizontal hatch over a white background (opaque mode) on D_NAMED.
    records += [e_brush(5, rgb(0, 0, 255), 2, 0), e_select(5),
                emf_record(76, bitblt_fields(0, 228, 48, 12, 0x005A0049) + b"\0" * 24)]
    return emf_pixels(192, 240, records)


# ---- mix modes -----------------------------------------------------------------------------

P_MIX, D_MIX = rgb(0xF0, 0x0F, 0x3C), rgb(0xAA, 0x33, 0x00)


def rop2_emf():
    """192 x 96 pixels. Row 0: sixteen cells of 12 pixels, each a rectangle filled with P_MIX
    under mix mode 1 to 16 over D_MIX. Row 1 (y 24-48): a red square with a blue ellipse drawn
    twice under XOR, outlined by a pen 6 pixels wide (the square is as it was); a blue square
    drawn once under XOR over red; a line 8 pixels wide under XOR over D_MIX. Row 2 (y 60-84),
    over nothing: R2_NOT, R2_MASKPEN, R2_NOP and R2_MERGEPEN, and a hatched brush under XOR
    over D_MIX."""
    records = [e_select(NULL_PEN), e_brush(1, D_MIX), e_select(1),
               emf_record(43, ints(0, 0, 193, 13)), emf_record(43, ints(96, 24, 193, 49)),
               emf_record(43, ints(144, 60, 193, 85)),
               e_brush(2, P_MIX), e_select(2)]
    for mode in range(1, 17):
        x = (mode - 1) * 12
        records += [e_u32(20, mode), emf_record(43, ints(x, 0, x + 13, 13))]
    red, blue = rgb(255, 0, 0), rgb(0, 0, 255)
    records += [e_u32(20, 13), e_brush(3, red), e_select(3), emf_record(43, ints(0, 24, 49, 49)),
                emf_record(43, ints(48, 24, 97, 49)),
                e_brush(4, blue), e_select(4), e_pen(5, rgb(0, 255, 0), 6), e_select(5),
                e_u32(20, 7), emf_record(42, ints(8, 28, 40, 45)), emf_record(42, ints(8, 28, 40, 45)),
                e_select(NULL_PEN), emf_record(43, ints(56, 28, 89, 45)),
                e_pen(6, P_MIX, 8), e_select(6),
                emf_record(4, BOUNDS + struct.pack("<I", 2) + ints(104, 36, 184, 36)),
                e_select(NULL_PEN)]
    for k, mode in enumerate([6, 9, 11, 15]):
        x = k * 24
        records += [e_u32(20, mode), emf_record(43, ints(x + 4, 60, x + 21, 85))]
    # A horizontal hatch of P_MIX over a white background, XORed: lines every 8 pixels.
    records += [e_brush(7, P_MIX, 2, 0), e_select(7), e_u32(18, 2), e_u32(20, 7),
                emf_record(43, ints(144, 60, 193, 85))]
    return emf_pixels(192, 96, records)


# ---- masked, parallelogram, transparent and device bitmaps ---------------------------------

def dib_fields(offset, info, data):
    return struct.pack("<IIII", offset, len(info), offset + len(info), len(data))


def e_maskblt(x, y, w, h, rop4, source, mask, src_at=(0, 0), mask_at=(0, 0)):
    """EMR_MASKBLT: the fixed part is 128 bytes; the source, then the mask, follow."""
    src_info, src_data = source if source else (b"", b"")
    off = 128
    src = struct.pack("<II", 0, 0) + (dib_fields(off, src_info, src_data) if source else b"\0" * 16)
    off += len(src_info) + len(src_data)
    m_info, m_data = mask if mask else (b"", b"")
    fixed = BOUNDS + ints(x, y, w, h) + struct.pack("<I", rop4) + ints(*src_at) + \
        struct.pack("<6f", 1, 0, 0, 1, 0, 0) + src + ints(*mask_at) + struct.pack("<I", 0) + \
        (dib_fields(off, m_info, m_data) if mask else b"\0" * 16)
    assert len(fixed) == 120
    return emf_record(78, fixed + src_info + src_data + m_info + m_data)


def e_plgblt(points, src, source, mask=None, mask_at=(0, 0)):
    """EMR_PLGBLT: the fixed part is 140 bytes; the source, then the mask, follow."""
    s_info, s_data = source
    m_info, m_data = mask if mask else (b"", b"")
    off = 140
    fixed = BOUNDS + b"".join(ints(*p) for p in points) + ints(*src) + \
        struct.pack("<6f", 1, 0, 0, 1, 0, 0) + struct.pack("<II", 0, 0) + \
        dib_fields(off, s_info, s_data) + ints(*mask_at) + struct.pack("<I", 0) + \
        (dib_fields(off + len(s_info) + len(s_data), m_info, m_data) if mask else b"\0" * 16)
    assert len(fixed) == 132
    return emf_record(79, fixed + s_info + s_data + m_info + m_data)


def e_transparentblt(x, y, w, h, colour, source):
    info, data = source
    width, height = struct.unpack_from("<ii", info, 4)
    return emf_record(116, bitblt_fields(x, y, w, h, colour) + struct.pack("<II", 0, 0) +
                      dib_fields(108, info, data) + ints(width, abs(height)) + info + data)


def e_setdibits(x, y, src, start, scans, info, data, usage=0):
    """EMR_SETDIBITSTODEVICE: the fixed part is 76 bytes."""
    return emf_record(80, BOUNDS + ints(x, y, *src) + dib_fields(76, info, data) +
                      struct.pack("<III", usage, start, scans) + info + data)


def masks_emf():
    """192 x 144 pixels, grey where y < 120, drawn under a world transform of 10 pixels a unit:
    MaskBlt of a 4 x 4 bitmap (red left, green right) whose mask (its colour table reversed: the
    1 bits are black) takes the top half, PATCOPY of a blue brush the bottom; the same with the
    mask moved a row; PlgBlt of a 2 x 2 bitmap (red, green over blue, white) turned a quarter
    clockwise, and again with a mask (1, 0 over 0, 1); TransparentBlt of red, white over white,
    blue leaving white out; MaskBlt without a source or mask (DSTINVERT); SetDIBitsToDevice of
    the middle ten rows of a 20 x 20 bitmap of four bands (red at the bottom, green, blue,
    yellow), pixel for pixel; and over nothing, MaskBlt of SRCAND and NOP through a mask."""
    red, green, blue, white = (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 255)
    halves = dib(4, 4, 24, [[red, red, green, green]] * 4)
    reversed_mask = mono_dib([[1] * 4] * 2 + [[0] * 4] * 2, table=((255, 255, 255), (0, 0, 0)))
    quad = dib(2, 2, 24, [[red, green], [blue, white]])
    diagonal = mono_dib([[1, 0], [0, 1]])
    rop4 = (PATCOPY << 8) & 0xFF000000 | SRCCOPY
    bands = [[(255, 255, 0)] * 20] * 5 + [[blue] * 20] * 5 + [[green] * 20] * 5 + [[red] * 20] * 5
    band_info, band_data = dib(20, 20, 24, bands)
    middle = band_data[20 * 3 * 5: 20 * 3 * 15]  # rows 5 to 14, counted from the bottom
    records = [e_select(NULL_PEN), e_brush(1, GREY), e_select(1), emf_record(43, ints(0, 0, 193, 120)),
               e_brush(2, rgb(0, 0, 255)), e_select(2),
               e_xform(35, (10, 0, 0, 10, 0, 0)),
               e_maskblt(1, 1, 4, 4, rop4, halves, reversed_mask),
               e_maskblt(6, 1, 4, 4, rop4, halves, reversed_mask, mask_at=(0, 1)),
               e_plgblt([(14, 1), (14, 5), (10, 1)], (0, 0, 2, 2), quad),
               e_plgblt([(18, 1), (18, 5), (14, 1)], (0, 0, 2, 2), quad, diagonal),
               e_transparentblt(1, 6, 4, 4, rgb(255, 255, 255), dib(2, 2, 24, [[red, white], [white, blue]])),
               e_maskblt(6, 6, 4, 4, DSTINVERT, None, None),
               e_setdibits(11, 6, (0, 0, 20, 20), 5, 10, band_info, middle),
               e_maskblt(1, 12, 2, 2, (0xAA << 24) | SRCAND, dib(2, 2, 24, [[red, red], [red, red]]),
                         mono_dib([[1, 0], [0, 1]]))]
    return emf_pixels(192, 144, records)


# ---- palettes ------------------------------------------------------------------------------

def palette_entries(colours):
    return b"".join(struct.pack("<BBBB", r, g, b, 0) for (r, g, b) in colours)


def e_palette(index, colours):
    return emf_record(49, struct.pack("<IHH", index, 0x300, len(colours)) + palette_entries(colours))


def pal_dib(width, height, rows, indices):
    """An 8-bit DIB whose colour table holds 16-bit palette indices (DIB_PAL_COLORS)."""
    data = b""
    for row in reversed(rows):
        line = bytes(row)
        data += line + b"\0" * (-len(line) % 4)
    table = struct.pack("<%dH" % len(indices), *indices)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 0, 0, len(indices), 0)
    return info + table, data


def palettes_emf():
    """192 x 144 pixels: a palette of red, green, blue and (64, 128, 192) selected and realized.
    A brush of PALETTEINDEX(1) fills green; after SetPaletteEntries makes entry 1 magenta, the
    same brush fills magenta; after ResizePalette to one entry, red (the first entry); grown to
    four again, black. A pen of PALETTEINDEX(2) 6 pixels wide; a hatch of PALETTEINDEX(0) over
    the background colour PALETTEINDEX(3); a PALETTERGB colour drawn as itself; StretchDIBits
    and a DIB pattern brush with colour tables of palette indices; text in PALETTEINDEX(3); and
    after the stock default palette is selected, PALETTEINDEX(13) is its red."""
    red, green, blue, steel = (255, 0, 0), (0, 160, 0), (0, 0, 255), (64, 128, 192)
    info, data = pal_dib(2, 1, [[0, 1]], [2, 0])
    pat_info, pat_data = pal_dib(2, 2, [[0, 1], [1, 0]], [1, 2])
    brush = emf_record(94, struct.pack("<IIIIII", 9, 1, 32, len(pat_info), 32 + len(pat_info),
                                       len(pat_data)) + pat_info + pat_data)
    records = [e_palette(1, [red, green, blue, steel]), e_u32(48, 1), emf_record(52),
               e_select(NULL_PEN), e_brush(2, palette_index(1)), e_select(2),
               emf_record(43, ints(8, 8, 41, 41)),
               emf_record(50, struct.pack("<III", 1, 1, 1) + palette_entries([(255, 0, 255)])),
               emf_record(43, ints(48, 8, 81, 41)),
               emf_record(51, struct.pack("<II", 1, 1)), emf_record(43, ints(88, 8, 121, 41)),
               emf_record(51, struct.pack("<II", 1, 4)), emf_record(43, ints(128, 8, 161, 41)),
               emf_record(50, struct.pack("<III", 1, 0, 4) + palette_entries([red, green, blue, steel])),
               e_pen(3, palette_index(2), 6), e_select(3), e_select(NULL_BRUSH),
               emf_record(43, ints(8, 56, 57, 105)),
               e_select(NULL_PEN), e_brush(4, palette_index(0), 2, 0), e_select(4), e_u32(18, 2),
               emf_record(25, struct.pack("<I", palette_index(3))), emf_record(43, ints(64, 56, 97, 105)),
               e_brush(5, 0x02123456), e_select(5), emf_record(43, ints(104, 56, 137, 105)),
               stretch_pal(144, 56, 32, 16, info, data),
               brush, e_select(9), emf_record(43, ints(144, 80, 177, 105)),
               e_font(6, -24, "Arial"), e_select(6), e_u32(18, 1),
               emf_record(24, struct.pack("<I", palette_index(3))), e_text(8, 112, "HH"),
               e_u32(48, DEFAULT_PALETTE), e_brush(7, palette_index(13)), e_select(7),
               emf_record(43, ints(104, 112, 137, 141))]
    return emf_pixels(192, 144, records)


def stretch_pal(x, y, w, h, info, data):
    """StretchDIBits with DIB_PAL_COLORS (usage 1)."""
    width, height = struct.unpack_from("<ii", info, 4)
    return emf_record(81, BOUNDS + ints(x, y, 0, 0, width, abs(height)) +
                      struct.pack("<IIIIII", 80, len(info), 80 + len(info), len(data), 1, SRCCOPY) +
                      ints(w, h) + info + data)


def w_palette(function, colours, start=0x300):
    return wmf_record(function, start, len(colours), raw=palette_entries(colours))


def palettes_wmf():
    """200 x 200: a palette of red, green and blue (object 0) selected and realized; a brush of
    PALETTEINDEX(1) fills green, then magenta after SetPalEntries changes entry 1, then red after
    ResizePalette leaves one entry, then blue after that entry is set blue. Grown and set again,
    a DIB pattern brush and StretchDIB with colour tables of palette indices, and text in
    PALETTEINDEX(2)."""
    red, green, blue = (255, 0, 0), (0, 160, 0), (0, 0, 255)
    pat_info, pat_data = pal_dib(2, 2, [[0, 1], [1, 0]], [2, 0])
    dib_info, dib_data = pal_dib(2, 1, [[0, 1]], [1, 2])
    records = w_window((0, 0), (200, 200)) + [
        w_palette(0x00F7, [red, green, blue]), wmf_record(0x0234, 0), wmf_record(0x0035),
        w_pen(0, 0, 5), w_select(1), w_brush(palette_index(1)), w_select(2),
        w_rect(10, 10, 61, 61),
        w_palette(0x0037, [(255, 0, 255)], start=1), w_rect(70, 10, 121, 61),
        wmf_record(0x0139, 1), w_rect(130, 10, 181, 61),
        w_palette(0x0037, [blue], start=0), w_rect(10, 70, 61, 121),
        wmf_record(0x0139, 3), w_palette(0x0037, [red, green, blue], start=0),
        wmf_record(0x0142, 5, 1, raw=pat_info + pat_data), w_select(3), w_rect(70, 70, 121, 121),
        wmf_record(0x0F43, *wmf_color(SRCCOPY), 1, 1, 2, 0, 0, 50, 50, 70, 130,
                   raw=dib_info + dib_data),
        w_font(-24, "Arial"), w_select(4), wmf_record(0x0102, 1),
        wmf_record(0x0209, *wmf_color(palette_index(2))), w_textout(10, 140, "HH")]
    return wmf_file((0, 0, 200, 200), 96, records)


# ---- the old WMF bitmaps -------------------------------------------------------------------

def bitmap16(rows, bits):
    """A Bitmap16's ten-byte header and rows, top row first, each padded to a word: rows of 0/1
    (1 bit), of indices (4 bits) or of colours (24 bits)."""
    width, height = len(rows[0]), len(rows)
    stride = ((width * bits + 15) >> 4) << 1
    data = b""
    for row in rows:
        if bits == 1:
            line = bytearray(stride)
            for i, v in enumerate(row):
                if v:
                    line[i // 8] |= 0x80 >> (i % 8)
        elif bits == 4:
            line = bytearray(bytes((row[i] << 4) | (row[i + 1] if i + 1 < width else 0)
                                   for i in range(0, width, 2)))
        else:
            line = bytearray(b"".join(struct.pack("<BBB", b, g, r) for (r, g, b) in row))
        data += bytes(line) + b"\0" * (stride - len(line))
    return struct.pack("<hhhhBB", 0, width, height, stride, 1, bits), data


def w_bitblt(x, y, w, h, rop, bitmap=None, src=(0, 0)):
    if bitmap is None:
        return wmf_record(0x0922, *wmf_color(rop), 0, src[1], src[0], h, w, y, x)
    header, data = bitmap
    return wmf_record(0x0922, *wmf_color(rop), src[1], src[0], h, w, y, x, raw=header + data)


def w_stretchblt(x, y, w, h, rop, bitmap=None, src=(0, 0, 0, 0)):
    sx, sy, sw, sh = src
    if bitmap is None:
        return wmf_record(0x0B23, *wmf_color(rop), sh, sw, sy, sx, 0, h, w, y, x)
    header, data = bitmap
    return wmf_record(0x0B23, *wmf_color(rop), sh, sw, sy, sx, h, w, y, x, raw=header + data)


def w_patternbrush(bitmap):
    header, data = bitmap
    return wmf_record(0x01F9, raw=header + b"\0" * 4 + b"\0" * 18 + data)


def bitmap16_wmf():
    """240 x 160 pixels at 10 pixels a unit, grey where y < 100. BitBlt of a monochrome Bitmap16
    (1 1 0 0 over 0 0 1 1) with red text and blue background colours; StretchBlt of a 4-bit one
    of standard colours (red, green over blue, white); BitBlt of a 24-bit one with SRCINVERT;
    BitBlt without a bitmap (DSTINVERT) and StretchBlt without one (PATCOPY, green); a
    monochrome pattern brush made before the text and background colours become yellow and
    magenta, and a 4-bit one (red, blue over blue, red); a rectangle XORed twice and once over
    grey; and R2_NOT over nothing."""
    mono = bitmap16([[1, 1, 0, 0], [0, 0, 1, 1]], 1)
    standard = bitmap16([[9, 10], [12, 15]], 4)
    colour = bitmap16([[(0x0F, 0xF0, 0x55)] * 2] * 2, 24)
    records = w_window((0, 0), (24, 16)) + [
        w_pen(0, 0, 5), w_select(0), w_brush(GREY), w_select(1), w_rect(0, 0, 24, 10),
        wmf_record(0x0209, *wmf_color(rgb(255, 0, 0))), wmf_record(0x0201, *wmf_color(rgb(0, 0, 255))),
        w_bitblt(1, 1, 4, 2, SRCCOPY, mono),
        w_stretchblt(6, 1, 4, 4, SRCCOPY, standard, (0, 0, 2, 2)),
        w_bitblt(11, 1, 2, 2, SRCINVERT, colour),
        w_bitblt(14, 1, 2, 2, DSTINVERT),
        w_brush(rgb(0, 160, 0)), w_select(2), w_stretchblt(17, 1, 2, 2, PATCOPY),
        w_patternbrush(bitmap16([[1, 0], [0, 1]], 1)), w_select(3),
        wmf_record(0x0209, *wmf_color(rgb(255, 255, 0))), wmf_record(0x0201, *wmf_color(rgb(255, 0, 255))),
        w_rect(1, 6, 5, 9),
        w_patternbrush(bitmap16([[9, 12], [12, 9]], 4)), w_select(4), w_rect(6, 6, 10, 9),
        w_brush(rgb(0x0F, 0xF0, 0x55)), w_select(5), wmf_record(0x0104, 7),
        w_rect(11, 6, 15, 9), w_rect(11, 6, 15, 9), w_rect(16, 6, 20, 9),
        wmf_record(0x0104, 6), w_rect(1, 11, 5, 15), wmf_record(0x0104, 13)]
    return wmf_file((0, 0, 240, 160), 96, records)


# ---- JPEG and PNG bitmaps ------------------------------------------------------------------

def magick(pixels, width, height, kind, *options):
    """A picture of straight R, G, B, A pixels written by ImageMagick as kind (png or jpg)."""
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "in.rgba")
        target = os.path.join(work, "out." + kind)
        with open(source, "wb") as f:
            f.write(pixels)
        subprocess.run(["convert", "-size", "%dx%d" % (width, height), "-depth", "8",
                        "rgba:" + source, *options, target], check=True)
        with open(target, "rb") as f:
            return f.read()


def quadrants(side, colours):
    """side x side pixels, the four quadrants (top-left, top-right, bottom-left, bottom-right)
    of the given R, G, B, A colours."""
    half = side // 2
    rows = b""
    for y in range(side):
        for x in range(side):
            rows += bytes(colours[(y >= half) * 2 + (x >= half)])
    return rows


def compressed_dib(width, height, compression, data):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 0, compression, len(data), 0, 0, 0, 0)
    return info, data


def compressed_emf():
    """192 x 48 pixels. StretchDIBits of a 16 x 16 PNG (red, green over blue, transparent) onto
    32 x 32 pixels; of a 16 x 16 JPEG (red, green over blue, white); SetDIBitsToDevice of the
    PNG pixel for pixel; BitBlt of the JPEG with SRCINVERT over white; and a DIB pattern brush of
    a 2 x 2 PNG."""
    solid = [(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255)]
    png = magick(quadrants(16, solid + [(0, 0, 0, 0)]), 16, 16, "png")
    jpeg = magick(quadrants(16, solid + [(255, 255, 255, 255)]), 16, 16, "jpg", "-quality", "100",
                  "-sampling-factor", "1x1")
    tiny = magick(quadrants(2, solid + [(0, 0, 0, 0)]), 2, 2, "png")
    png_dib, jpeg_dib = compressed_dib(16, 16, 5, png), compressed_dib(16, 16, 4, jpeg)
    tiny_info, tiny_data = compressed_dib(2, 2, 5, tiny)
    brush = emf_record(94, struct.pack("<IIIIII", 3, 0, 32, len(tiny_info), 32 + len(tiny_info),
                                       len(tiny_data)) + tiny_info + tiny_data)
    records = [e_select(NULL_PEN), e_brush(1, rgb(255, 255, 255)), e_select(1),
               emf_record(43, ints(112, 8, 145, 41)),
               e_stretchdibits(8, 8, 32, 32, *png_dib), e_stretchdibits(48, 8, 32, 32, *jpeg_dib),
               e_setdibits(88, 8, (0, 0, 16, 16), 0, 16, *png_dib),
               e_bitblt(112, 8, 32, 32, *jpeg_dib, rop=SRCINVERT),
               brush, e_select(3), emf_record(43, ints(152, 8, 185, 41))]
    return emf_pixels(192, 48, records)


# ---- absurd values -------------------------------------------------------------------------

def absurd_raster_emf():
    """The new records with absurd values, each drawn quickly or passed over: operations over the
    whole 32-bit range through XOR, MaskBlt and PlgBlt of absurd sizes and corners, sources and
    masks that claim far more pixels than they hold, SetDIBitsToDevice of 2^32 - 1 scans from
    far past the bitmap, palettes of 65535 entries from a few bytes, entries set far past the end,
    a JPEG and a PNG bitmap that claim 30000 x 30000 pixels, and a pattern of them all."""
    big, small = 0x7FFFFFFF, -0x80000000
    red = dib(1, 1, 24, [[(255, 0, 0)]])
    huge = dib(30000, 30000, 24, None, raw_bits=b"\0" * 16)
    claim_png = compressed_dib(30000, 30000, 5, b"\x89PNG\r\n\x1a\n" + b"\0" * 16)
    claim_jpeg = compressed_dib(30000, 30000, 4, b"\xff\xd8\xff\xd9")
    records = [e_brush(1, rgb(255, 0, 0)), e_select(1), e_pen(2, 0, big), e_select(2),
               e_u32(20, 7), emf_record(43, ints(small, small, big, big)),
               emf_record(42, ints(small, small, big, big)), e_u32(20, 99), e_u32(20, 0),
               e_u32(20, 13),
               e_maskblt(small, small, big, big, 0x55AA0000, None, None),
               e_maskblt(0, 0, big, big, (PATCOPY << 8) & 0xFF000000 | SRCCOPY, huge, huge),
               e_maskblt(0, 0, 10, 10, SRCCOPY, red, red, src_at=(big, small), mask_at=(small, big)),
               e_plgblt([(small, small), (big, big), (small, big)], (0, 0, 1, 1), red),
               e_plgblt([(0, 0), (0, 0), (0, 0)], (0, 0, 1, 1), red, red),
               e_plgblt([(0, 0), (100, 0), (0, 100)], (big, big, small, small), red),
               e_plgblt([(0, 0), (100, 0), (0, 100)], (0, 0, 0, 0), huge),
               e_transparentblt(0, 0, big, big, 0, red),
               e_setdibits(0, 0, (0, 0, big, big), 0xFFFFFFFF, 0xFFFFFFFF, *red),
               e_setdibits(small, small, (small, small, big, big), 0, 0xFFFFFFFF, *red),
               emf_record(49, struct.pack("<IHH", 3, 0x300, 0xFFFF) + b"\0" * 8),
               emf_record(49, struct.pack("<IHH", 3, 0x300, 0)),
               e_palette(3, [(0, 0, 0)]), e_u32(48, 3),
               emf_record(50, struct.pack("<III", 3, 0xFFFFFFFF, 0xFFFFFFFF) + b"\0" * 8),
               emf_record(50, struct.pack("<III", 3, 0xFFFFFFF0, 1) + b"\0" * 4),
               emf_record(51, struct.pack("<II", 3, 0xFFFFFFFF)), emf_record(51, struct.pack("<II", 3, 0xFFFF)),
               emf_record(51, struct.pack("<II", 3, 0)),
               e_brush(4, palette_index(0xFFFF)), e_select(4), emf_record(43, ints(0, 0, 100, 100)),
               e_stretchdibits(0, 0, 100, 100, *claim_png), e_stretchdibits(0, 0, 100, 100, *claim_jpeg),
               e_setdibits(0, 0, (0, 0, 30000, 30000), 0, 30000, *claim_png),
               emf_record(94, struct.pack("<IIIIII", 5, 0, 32, 40, 72, 4) + claim_png[0] + b"\0" * 4),
               e_u32(48, DEFAULT_PALETTE)]
    return emf_pixels(192, 144, records)


def absurd_raster_wmf():
    """The WMF records with absurd values: Bitmap16s that claim 32767 x 32767 pixels from a few
    bytes, of 0 and 9 bits a pixel and of two planes, blits over the whole 16-bit range, a pattern
    brush of absurd sides, palettes of 65535 entries from a few bytes, entries set past the end,
    a mix mode of 99 and a palette resized to 65535 entries."""
    big, small = 0x7FFF, -0x8000
    claim = struct.pack("<hhhhBB", 0, big, big, 8192, 1, 1) + b"\0" * 8
    records = w_window((0, 0), (200, 200)) + [
        w_brush(rgb(255, 0, 0)), w_select(0),
        w_bitblt(0, 0, 100, 100, SRCCOPY, (claim, b"")),
        w_bitblt(0, 0, 100, 100, SRCCOPY, (struct.pack("<hhhhBB", 0, 2, 2, 2, 1, 9), b"\0" * 8)),
        w_bitblt(0, 0, 100, 100, SRCCOPY, (struct.pack("<hhhhBB", 0, 2, 2, 2, 2, 1), b"\0" * 8)),
        w_bitblt(0, 0, 100, 100, SRCCOPY, (struct.pack("<hhhhBB", 0, -2, 0, 2, 1, 1), b"\0" * 8)),
        w_stretchblt(small, small, big, big, SRCINVERT,
                     bitmap16([[1]], 1), (small, small, big, big)),
        w_stretchblt(small, small, -1, -1, 0x00AA0029),
        w_bitblt(small, small, big, big, DSTINVERT),
        w_patternbrush((claim, b"")), w_select(1), w_rect(0, 0, 200, 200),
        w_palette(0x00F7, []), wmf_record(0x00F7, 0x300, 0xFFFF, raw=b"\0" * 8),
        w_palette(0x00F7, [(0, 0, 0)]), wmf_record(0x0234, 4),
        wmf_record(0x0037, 0xFFFF, 0xFFFF, raw=b"\0" * 8),
        wmf_record(0x0037, 0xFFF0, 1, raw=b"\0" * 4),
        wmf_record(0x0139, 0xFFFF), wmf_record(0x0139, 0),
        wmf_record(0x0104, 99), wmf_record(0x0104, 7), w_select(0), w_rect(small, small, big, big)]
    return wmf_file((0, 0, 200, 200), 96, records)


FILES = {
    "rops.emf": rops_emf, "rop2.emf": rop2_emf, "masks.emf": masks_emf,
    "palettes.emf": palettes_emf, "palettes.wmf": palettes_wmf, "bitmap16.wmf": bitmap16_wmf,
    "compressed.emf": compressed_emf, "absurd_raster.emf": absurd_raster_emf,
    "absurd_raster.wmf": absurd_raster_wmf,
}

if __name__ == "__main__":
    for name, make in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(make())
