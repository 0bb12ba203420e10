#!/usr/bin/env python3
"""Writes the hand-built metafiles of the metafile reader's tests, record by record, so that each
file holds exactly the records a test needs (including the ones no common writer emits) and its
shapes sit at known places. Run from anywhere; the files land beside this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def rgb(r, g, b):
    return r | g << 8 | b << 16


# ---- WMF ---------------------------------------------------------------------------------------

def wmf_record(function, *words, raw=b""):
    body = b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words) + raw
    if len(body) % 2:
        body += b"\0"
    return struct.pack("<IH", 3 + len(body) // 2, function) + body


def wmf_color(c):
    return [c & 0xFFFF, c >> 16]


def wmf_file(box, inch, records, objects=16):
    left, top, right, bottom = box
    key = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0)
    check = 0
    for (word,) in struct.iter_unpack("<H", key):
        check ^= word
    placeable = key + struct.pack("<H", check)
    body = b"".join(records) + wmf_record(0x0000)
    largest = max(len(r) for r in records + [wmf_record(0)]) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, 9 + len(body) // 2, objects, largest, 0)
    return placeable + header + body


def w_window(org, ext):
    return [wmf_record(0x0103, 8), wmf_record(0x020B, org[1], org[0]),
            wmf_record(0x020C, ext[1], ext[0])]


def w_brush(color, style=0, hatch=0):
    return wmf_record(0x02FC, style, *wmf_color(color), hatch)


def w_pen(color, width=0, style=0):
    return wmf_record(0x02FA, style, width, 0, *wmf_color(color))


def w_select(i):
    return wmf_record(0x012D, i)


def w_delete(i):
    return wmf_record(0x01F0, i)


def w_rect(l, t, r, b):
    return wmf_record(0x041B, b, r, t, l)


def w_ellipse(l, t, r, b):
    return wmf_record(0x0418, b, r, t, l)


def w_polygon(points):
    return wmf_record(0x0324, len(points), *[v for p in points for v in p])


def dib(width, height, bits, pixels_rows, palette=(), compression=0, raw_bits=None):
    """A packed DIB: info header, colour table, rows (bottom row first) padded to 4 bytes."""
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    if raw_bits is None:
        data = b""
        for row in reversed(pixels_rows):
            if bits == 24:
                line = b"".join(struct.pack("<BBB", b, g, r) for (r, g, b) in row)
            elif bits == 32:
                # The fourth byte is padding; it is set to 0 to show it is not read as alpha.
                line = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in row)
            elif bits == 8:
                line = bytes(row)
            elif bits == 4:
                line = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0)
                             for i in range(0, len(row), 2))
            elif bits == 1:
                line = bytearray((len(row) + 7) // 8)
                for i, v in enumerate(row):
                    if v:
                        line[i // 8] |= 0x80 >> (i % 8)
                line = bytes(line)
            data += line + b"\0" * (-len(line) % 4)
    else:
        data = raw_bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data), 0, 0,
                       len(palette), 0)
    return info + table, data


def w_stretchdib(x, y, w, h, info, data, rop=0x00CC0020, sw=None, sh=None):
    width, height = struct.unpack_from("<ii", info, 4)
    sw = width if sw is None else sw
    sh = abs(height) if sh is None else sh
    return wmf_record(0x0F43, *wmf_color(rop), 0, sh, sw, 0, 0, h, w, y, x, raw=info + data)


def w_dibstretchblt(x, y, w, h, info, data, rop):
    width, height = struct.unpack_from("<ii", info, 4)
    return wmf_record(0x0B41, *wmf_color(rop), abs(height), width, 0, 0, h, w, y, x,
                      raw=info + data)


def w_font(height, face, weight=400, italic=0):
    name = face.encode("latin-1")[:31] + b"\0"
    return wmf_record(0x02FB, height, 0, 0, 0, weight,
                      raw=bytes([italic, 0, 0, 0, 0, 0, 0, 0]) + name.ljust(32, b"\0"))


def w_textout(x, y, text):
    data = text.encode("latin-1")
    return wmf_record(0x0521, len(data), raw=data + (b"\0" if len(data) % 2 else b"") +
                      struct.pack("<hh", y, x))


# ---- EMF ---------------------------------------------------------------------------------------

def emf_record(kind, payload=b""):
    payload += b"\0" * (-len(payload) % 4)
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def ints(*values):
    return struct.pack("<%di" % len(values), *values)


def emf_file(frame, device, mm, records, handles=16):
    body = b"".join(records) + emf_record(14, ints(0, 16, 20))
    size = 88 + len(body)
    header = struct.pack("<II", 1, 88) + ints(0, 0, 100, 100) + ints(*frame)
    header += struct.pack("<IIIIHHIIIii ii", 0x464D4520, 0x10000, size, len(records) + 2,
                          handles, 0, 0, 0, 0, device[0], device[1], mm[0], mm[1])
    assert len(header) == 88
    return header + body


BOUNDS = ints(0, 0, 0, 0)


def e_brush(index, color, style=0, hatch=0):
    return emf_record(39, struct.pack("<IIII", index, style, color, hatch))


def e_pen(index, color, width=0, style=0):
    return emf_record(38, struct.pack("<IIiiI", index, style, width, 0, color))


def e_extpen(index, color, width, style, dashes=()):
    return emf_record(95, struct.pack("<IIIIIIIIIII", index, 0, 0, 0, 0, style, width, 0, color,
                                      0, len(dashes)) + ints(*dashes))


def e_select(index):
    return emf_record(37, struct.pack("<I", index))


def e_rect(l, t, r, b):
    return emf_record(43, ints(l, t, r, b))


def e_ellipse(l, t, r, b):
    return emf_record(42, ints(l, t, r, b))


def e_poly(kind, points, small=False):
    fmt = "<%dh" if small else "<%di"
    flat = [v for p in points for v in p]
    return emf_record(kind, BOUNDS + struct.pack("<I", len(points)) + struct.pack(fmt % len(flat), *flat))


def e_polypoly(kind, figures, small=False):
    fmt = "<%dh" if small else "<%di"
    flat = [v for f in figures for p in f for v in p]
    return emf_record(kind, BOUNDS + struct.pack("<II", len(figures), sum(len(f) for f in figures)) +
                      ints(*[len(f) for f in figures]) + struct.pack(fmt % len(flat), *flat))


def e_u32(kind, value):
    return emf_record(kind, struct.pack("<I", value))


def e_pair(kind, x, y):
    return emf_record(kind, ints(x, y))


def e_xform(kind, m, mode=None):
    payload = struct.pack("<6f", *m)
    if mode is not None:
        payload += struct.pack("<I", mode)
    return emf_record(kind, payload)


def e_stretchdibits(x, y, w, h, info, data, rop=0x00CC0020):
    width, height = struct.unpack_from("<ii", info, 4)
    off_bmi = 80
    off_bits = off_bmi + len(info)
    return emf_record(81, BOUNDS + ints(x, y, 0, 0, width, abs(height)) +
                      struct.pack("<IIIIII", off_bmi, len(info), off_bits, len(data), 0, rop) +
                      ints(w, h) + info + data)


def e_bitblt(x, y, w, h, info, data, rop):
    off_bmi = 100
    return emf_record(76, BOUNDS + ints(x, y, w, h) + struct.pack("<I", rop) + ints(0, 0) +
                      struct.pack("<6f", 1, 0, 0, 1, 0, 0) + struct.pack("<IIIIII", 0, 0, off_bmi,
                      len(info), off_bmi + len(info), len(data)) + info + data)


def e_font(index, height, face, weight=400, italic=0):
    name = face.encode("utf-16-le")[:62]
    return emf_record(82, struct.pack("<Iiiiii", index, height, 0, 0, 0, weight) +
                      bytes([italic, 0, 0, 0, 0, 0, 0, 0]) + name.ljust(64, b"\0") +
                      b"\0" * (320 - 92 + 12))


def e_text(x, y, text, dx=None, options=0, box=(0, 0, 0, 0)):
    data = text.encode("utf-16-le")
    off_string = 76
    off_dx = off_string + len(data) + (-len(data) % 4)
    fixed = BOUNDS + struct.pack("<Iff", 1, 1, 1) + ints(x, y) + struct.pack(
        "<III", len(text), off_string, options) + ints(*box) + struct.pack("<I", off_dx if dx else 0)
    payload = fixed + data + b"\0" * (-len(data) % 4)
    if dx:
        payload += ints(*dx)
    return emf_record(84, payload)


def e_comment(data):
    return emf_record(70, struct.pack("<I", len(data)) + data)


def plus_record(kind, flags, data):
    """One EMF+ record: type, flags, size, data size, then the data."""
    return struct.pack("<HHII", kind, flags, 12 + len(data), len(data)) + data


def plus_comment(*records):
    return e_comment(struct.pack("<I", 0x2B464D45) + b"".join(records))


def emfplus_header(dual):
    # An EMF+ header record inside a comment: type, flags (1: dual), size, data size, version,
    # flags (1: made for a display), dpi: the device's own 48 units a millimetre, so that EMF+
    # display units are device units.
    record = plus_record(0x4001, 1 if dual else 0, struct.pack("<IIII", 0xDBC01002, 1, 1219, 1219))
    return plus_comment(record)


def plus_fill_rect(argb, x, y, w, h):
    """EmfPlusFillRects of one rectangle in a colour (the solid colour flag)."""
    return plus_comment(plus_record(0x400A, 0x8000, struct.pack("<II4f", argb, 1, x, y, w, h)))


def plus_get_dc():
    return plus_comment(plus_record(0x4004, 0, b""))


def plus_end():
    return plus_comment(plus_record(0x4002, 0, b""))


# ---- the files ---------------------------------------------------------------------------------

RED, GREEN, BLUE, BLACK, WHITE = rgb(255, 0, 0), rgb(0, 160, 0), rgb(0, 0, 255), 0, rgb(255, 255, 255)
YELLOW = rgb(255, 255, 0)
# An EMF of 100 x 75 mm (378 x 283 pixels) made for a device of 48 units a millimetre.
FRAME = (0, 0, 10000, 7500)
DEVICE, MM = (4800, 3600), (100, 75)


def shapes_wmf():
    """A 4 x 3 inch placeable WMF at 1440 units an inch (384 x 288 pixels): a red rectangle, a
    blue ellipse, a green triangle, a cross-hatched square, a black line, and a picture."""
    pixels = [[(255, 0, 255)] * 4, [(0, 255, 255)] * 4, [(255, 128, 0)] * 4, [(0, 0, 0)] * 4]
    info, data = dib(4, 4, 24, pixels)
    records = w_window((0, 0), (5760, 4320)) + [
        w_pen(BLACK, 0, 5), w_select(0),
        w_brush(RED), w_select(1), w_rect(240, 240, 2160, 1680),
        w_brush(BLUE), w_select(2), w_delete(1), w_ellipse(2400, 240, 4320, 1680),
        w_brush(GREEN), w_select(1), w_polygon([(480, 2400), (2160, 2400), (1320, 3840)]),
        w_brush(BLACK, 2, 4), w_select(3), w_rect(2400, 2400, 4320, 3840),
        w_pen(BLACK, 30), w_select(4), wmf_record(0x0214, 4080, 4560), wmf_record(0x0213, 4080, 5520),
        w_stretchdib(4560, 240, 960, 960, info, data),
    ]
    return wmf_file((0, 0, 5760, 4320), 1440, records)


def y_up_wmf():
    """A WMF whose window points y up: its rectangle near the window's bottom edge lands at the
    picture's bottom."""
    records = [wmf_record(0x0103, 8), wmf_record(0x020B, 1000, 0), wmf_record(0x020C, -1000, 1000),
               w_pen(BLACK, 0, 5), w_select(0), w_brush(RED), w_select(1),
               w_rect(100, 300, 900, 100)]
    return wmf_file((0, 0, 1000, 1000), 1000, records)


def masked_wmf():
    """A masked picture as office writers draw one: the mask (white where the picture is opaque,
    black where it is transparent) with SRCPAINT, then the picture (white where it is
    transparent) with SRCAND. Top-left and bottom-right are red, the other two transparent."""
    image = [[(255, 0, 0), (255, 255, 255)], [(255, 255, 255), (255, 0, 0)]]
    mask = [[(255, 255, 255), (0, 0, 0)], [(0, 0, 0), (255, 255, 255)]]
    i_info, i_data = dib(2, 2, 24, image)
    m_info, m_data = dib(2, 2, 24, mask)
    records = w_window((0, 0), (200, 200)) + [
        w_dibstretchblt(0, 0, 200, 200, m_info, m_data, 0x00EE0086),
        w_dibstretchblt(0, 0, 200, 200, i_info, i_data, 0x008800C6)]
    return wmf_file((0, 0, 200, 200), 96, records)


def plain_wmf():
    """A WMF without the placeable header: drawn at its window's extent (200 x 100 from (100,
    50)), one unit a pixel. A blue rectangle fills its right half."""
    records = w_window((100, 50), (200, 100)) + [w_brush(BLUE), w_select(0), w_rect(200, 50, 300, 150)]
    return wmf_file((0, 0, 1, 1), 96, records)[22:]


def plain_no_window_wmf():
    """A WMF without the placeable header that never sets a window extent: refused."""
    return wmf_file((0, 0, 1, 1), 96, [w_brush(BLUE), w_select(0), w_rect(0, 0, 100, 100)])[22:]


def text_wmf():
    records = w_window((0, 0), (400, 100)) + [
        w_font(-60, "Arial", 700), w_select(0), wmf_record(0x0102, 1),
        wmf_record(0x0209, *wmf_color(BLUE)), w_textout(10, 10, "HIHI")]
    return wmf_file((0, 0, 400, 100), 96, records)


def shapes_emf():
    """The EMF counterpart in device units: red rectangle, blue ellipse, green triangle drawn as
    a 16-bit polygon, and a Bezier-bounded shape filled through a path."""
    records = [
        e_pen(1, BLACK, 0, 5), e_select(1),
        e_brush(2, RED), e_select(2), e_rect(480, 480, 1920, 1920),
        e_brush(3, BLUE), e_select(3), e_ellipse(2400, 480, 3840, 1920),
        e_brush(4, GREEN), e_select(4), e_poly(86, [(480, 2160), (1920, 2160), (1200, 3360)], True),
        e_brush(5, YELLOW), e_select(5), emf_record(59),
        e_pair(27, 2400, 2400),
        e_poly(88, [(2600, 2000), (3600, 2000), (3840, 2400)], True),
        e_poly(6, [(3840, 3360), (2400, 3360)]),
        emf_record(61), emf_record(60), emf_record(62, BOUNDS),
    ]
    return emf_file(FRAME, DEVICE, MM, records)


def world_emf():
    """World transforms: a square of 1000 units scaled by a half and moved by (2400, 1800)."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, BLUE), e_select(2),
               e_xform(35, (0.5, 0, 0, 0.5, 0, 0)),
               e_xform(36, (1, 0, 0, 1, 4800, 3600), 2),  # applied first: in logical units
               e_rect(0, 0, 1000, 1000)]
    return emf_file(FRAME, DEVICE, MM, records)


def metric_emf():
    """MM_LOMETRIC (0.1 mm, y up) with the viewport origin at the picture's top-left: a
    rectangle from 10 to 30 mm right and 10 to 20 mm down."""
    records = [e_u32(17, 2), e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, GREEN), e_select(2),
               e_rect(100, -100, 300, -200)]
    return emf_file(FRAME, DEVICE, MM, records)


def anisotropic_emf():
    """MM_ANISOTROPIC: a window of 100 x 100 on a viewport of the whole frame (4800 x 3600), so
    that a circle in the window is an ellipse as wide as the picture and 3/4 as tall."""
    records = [e_u32(17, 8), e_pair(9, 100, 100), e_pair(11, 4800, 3600),
               e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, RED), e_select(2),
               e_ellipse(0, 0, 100, 100)]
    return emf_file(FRAME, DEVICE, MM, records)


def fill_modes_emf():
    """Two nested squares drawn clockwise both: alternate fill leaves the inner one empty, winding
    fills it."""
    outer = [(480, 480), (1920, 480), (1920, 1920), (480, 1920)]
    inner = [(960, 960), (1440, 960), (1440, 1440), (960, 1440)]
    shift = lambda f: [(x + 2400, y) for (x, y) in f]
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, BLUE), e_select(2),
               e_u32(19, 1), e_polypoly(8, [outer, inner]),
               e_u32(19, 2), e_polypoly(91, [shift(outer), shift(inner)], True)]
    return emf_file(FRAME, DEVICE, MM, records)


def clip_emf():
    """Clipping: a rectangle over the whole picture drawn inside IntersectClipRect with a hole of
    ExcludeClipRect, then after RestoreDC a second one left of the clip."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, RED), e_select(2),
               emf_record(33), emf_record(30, ints(480, 480, 3840, 3120)),
               emf_record(29, ints(1920, 1440, 2400, 2160)),
               e_rect(0, 0, 4800, 3600), e_u32(34, 0xFFFFFFFF),
               e_brush(3, BLUE), e_select(3), e_rect(0, 0, 240, 240)]
    return emf_file(FRAME, DEVICE, MM, records)


def hatch_emf():
    """A hatched rectangle (horizontal lines every 8 pixels) in transparent and opaque
    background modes, on a picture of one device unit a pixel."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, BLUE, 2, 0), e_select(2),
               e_u32(18, 1), e_rect(0, 0, 64, 64),
               e_u32(18, 2), emf_record(25, struct.pack("<I", YELLOW)), e_rect(64, 0, 128, 64)]
    # 128 x 64 pixels: frame in hundredths of a millimetre at 96 dots an inch.
    return emf_file((0, 0, 3387, 1693), (960, 960), (254, 254), records)


def pens_emf():
    """Pens: a geometric pen 80 units wide with flat caps across the picture, a dashed cosmetic
    pen, and a null pen around a filled rectangle."""
    records = [e_extpen(1, RED, 80, 0x00010000 | 0x200), e_select(1),
               e_poly(4, [(480, 480), (4320, 480)]),
               e_pen(2, BLUE, 0, 1), e_select(2), e_u32(18, 1), e_poly(87, [(0, 1780), (4800, 1780)], True),
               e_pen(3, BLACK, 40, 5), e_select(3), e_brush(4, GREEN), e_select(4),
               e_rect(480, 2400, 1440, 3360)]
    return emf_file(FRAME, DEVICE, MM, records)


def arcs_emf():
    """A pie (the quarter from 3 o'clock to 12 o'clock, counterclockwise), a chord and a round
    rectangle."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, RED), e_select(2),
               emf_record(47, ints(480, 480, 1920, 1920, 1920, 1200, 1200, 480)),
               e_brush(3, BLUE), e_select(3),
               emf_record(46, ints(2400, 480, 3840, 1920, 3840, 1200, 2400, 1200)),
               e_brush(4, GREEN), e_select(4),
               emf_record(44, ints(480, 2160, 1920, 3360, 480, 480))]
    return emf_file(FRAME, DEVICE, MM, records)


def bitmaps_emf():
    """Bitmaps of every depth side by side, each 2 x 2 pixels stretched over 480 x 480 units:
    1, 4 and 8 bits with colour tables, 24 and 32 bits (whose fourth byte is 0, not alpha), and
    RLE8 and RLE4 bitmaps whose second row is skipped (left transparent)."""
    red, green, blue, white = (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 255)
    rows = [[red, green], [blue, white]]
    palette = [red, green, blue, white]
    indexed = [[0, 1], [2, 3]]
    files = [
        dib(2, 2, 1, [[0, 1], [1, 0]], palette=[red, blue]),
        dib(2, 2, 4, indexed, palette=palette),
        dib(2, 2, 8, indexed, palette=palette),
        dib(2, 2, 24, rows),
        dib(2, 2, 32, rows),
        # RLE8: bottom row two pixels of index 2, end of line, then end of bitmap.
        dib(2, 2, 8, None, palette=palette, compression=1, raw_bits=bytes([2, 2, 0, 0, 0, 1])),
        # RLE4: bottom row a run of 2 alternating 1 and 3 (green, white), end of bitmap.
        dib(2, 2, 4, None, palette=palette, compression=2, raw_bits=bytes([2, 0x13, 0, 1])),
    ]
    records = [e_stretchdibits(240 + i * 600, 480, 480, 480, info, data)
               for i, (info, data) in enumerate(files)]
    return emf_file(FRAME, DEVICE, MM, records)


def text_emf():
    """Courier New "MMMM" with a spacing array at the top; the same with x and y advances in pairs
    (ETO_PDY) lower down; and a run of glyph indices (ETO_GLYPH_INDEX), which is not drawn."""
    records = [e_font(1, -480, "Courier New"), e_select(1), e_u32(18, 1),
               emf_record(24, struct.pack("<I", RED)),
               e_text(240, 240, "MMMM", dx=[600, 600, 600, 600]),
               e_text(240, 2400, "MMMM", dx=[600, 0] * 4, options=0x2000),
               e_text(240, 1200, "MMMM", options=0x10)]
    return emf_file(FRAME, DEVICE, MM, records)


def dual_emf():
    """An EMF+ dual file whose two sets of records differ: EMF+ fills a green square at the top
    left, the EMF records a red one at the bottom right (played only without EMF+)."""
    records = [emfplus_header(True), plus_fill_rect(0xFF00A000, 480, 480, 1440, 1440),
               e_brush(1, RED), e_select(1), e_rect(2880, 1920, 4320, 3360), plus_end()]
    return emf_file(FRAME, DEVICE, MM, records)


def emfplus_only_emf():
    """EMF+ records only: a green square; then EMF records that no GetDC hands over (a red
    square, not drawn); then a GetDC segment whose EMF records draw a blue one."""
    records = [emfplus_header(False), plus_fill_rect(0xFF00A000, 480, 480, 1440, 1440),
               e_brush(1, RED), e_select(1), e_rect(2880, 480, 4320, 1920),
               plus_get_dc(), e_brush(2, BLUE), e_select(2), e_rect(2880, 1920, 4320, 3360),
               plus_end()]
    return emf_file(FRAME, DEVICE, MM, records)


def blits_emf():
    """The other bitmap records and brushes: BitBlt of a 2 x 2 bitmap (red, green over blue,
    white), BitBlt without a bitmap (PATCOPY with a blue brush, WHITENESS), StretchBlt with
    SRCINVERT over the blue area, a rectangle filled with a 2 x 2 DIB pattern brush (laid from
    the picture's corner, so its pixels alternate), and text in an opaque box (ETO_OPAQUE)
    aligned by its right and bottom."""
    red, green, blue, white = (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 255)
    info, data = dib(2, 2, 24, [[red, green], [blue, white]])
    pat_info, pat_data = dib(2, 2, 8, [[0, 1], [2, 3]], palette=[red, green, blue, white])
    brush = emf_record(94, struct.pack("<IIIIII", 3, 0, 32, len(pat_info), 32 + len(pat_info),
                                       len(pat_data)) + pat_info + pat_data)
    # ETO_OPAQUE (2) with the box (3360, 2400)-(4320, 3360); text aligned right (2) and bottom (8).
    text = e_text(4320, 3360, "X", options=2, box=(3360, 2400, 4320, 3360))
    no_bitmap = ints(0, 0) + struct.pack("<6f", 1, 0, 0, 1, 0, 0) + b"\0" * 24
    # The StretchBlt: BitBlt's fields with the source size after them (the bitmap at 108).
    stretch = BOUNDS + ints(1200, 480, 480, 480) + struct.pack("<I", 0x00660046) + ints(0, 0) + \
        struct.pack("<6f", 1, 0, 0, 1, 0, 0) + struct.pack("<IIIIII", 0, 0, 108, len(info),
                                                          108 + len(info), len(data)) + \
        ints(2, 2) + info + data
    records = [e_pen(1, BLACK, 0, 5), e_select(1),
               e_bitblt(480, 480, 480, 480, info, data, 0x00CC0020),
               e_brush(2, BLUE), e_select(2),
               emf_record(76, BOUNDS + ints(1200, 480, 480, 480) + struct.pack("<I", 0x00F00021) +
                          no_bitmap),
               emf_record(76, BOUNDS + ints(1920, 480, 480, 480) + struct.pack("<I", 0x00FF0062) +
                          no_bitmap),
               # SRCINVERT of red, green / blue, white over the blue square: magenta, cyan-ish /
               # black, yellow.
               emf_record(77, stretch),
               brush, e_select(3), e_rect(480, 1200, 1440, 2160),
               emf_record(25, struct.pack("<I", YELLOW)), e_u32(22, 2 | 8),
               emf_record(24, struct.pack("<I", RED)), text]
    return emf_file(FRAME, DEVICE, MM, records)


def e_alphablend(x, y, w, h, info, data, constant, per_pixel):
    width, height = struct.unpack_from("<ii", info, 4)
    blend = bytes([0, 0, constant, 1 if per_pixel else 0])
    return emf_record(114, BOUNDS + ints(x, y, w, h) + blend + ints(0, 0) +
                      struct.pack("<6f", 1, 0, 0, 1, 0, 0) +
                      struct.pack("<IIIIII", 0, 0, 108, len(info), 108 + len(info), len(data)) +
                      ints(width, abs(height)) + info + data)


def alpha_emf():
    """AlphaBlend: a 2 x 1 bitmap whose 32-bit pixels carry premultiplied alpha (opaque red, then
    nothing) over a blue square, and an opaque green bitmap at half opacity over nothing."""
    info, _ = dib(2, 1, 32, [[(0, 0, 0), (0, 0, 0)]])
    pixels = struct.pack("<BBBB", 0, 0, 255, 255) + struct.pack("<BBBB", 0, 0, 0, 0)
    green_info, green = dib(1, 1, 24, [[(0, 160, 0)]])
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, BLUE), e_select(2),
               e_rect(480, 480, 1440, 960),
               e_alphablend(480, 480, 960, 480, info, pixels, 255, True),
               e_alphablend(480, 1440, 960, 480, green_info, green, 128, False)]
    return emf_file(FRAME, DEVICE, MM, records)


def regions_emf():
    """Clipping by regions in device units: RGN_COPY of two rectangles, a fill over everything
    that shows only inside them, then RGN_COPY of no region (the whole picture again) and RGN_DIFF
    of one rectangle, and another fill. Then MM_ISOTROPIC: a window of 100 x 100 on the whole
    frame keeps the circle round (as tall as the picture), where anisotropic would stretch it."""
    def region(rects):
        return struct.pack("<IIII", 32, 1, len(rects), 16 * len(rects)) + ints(0, 0, 4800, 3600) + \
            b"".join(ints(*r) for r in rects)
    two = region([(480, 480, 1440, 1440), (2400, 480, 3360, 1440)])
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, RED), e_select(2),
               emf_record(33),
               emf_record(75, struct.pack("<II", len(two), 5) + two), e_rect(0, 0, 4800, 3600),
               emf_record(75, struct.pack("<II", 0, 5)),
               emf_record(75, struct.pack("<II", 48, 4) + region([(0, 0, 4800, 1800)])),
               e_brush(3, GREEN), e_select(3), e_rect(0, 0, 4800, 3600),
               e_u32(34, 0xFFFFFFFF),
               e_u32(17, 7), e_pair(9, 100, 100), e_pair(11, 4800, 3600),
               e_brush(4, BLUE), e_select(4), e_ellipse(0, 0, 100, 100)]
    return emf_file(FRAME, DEVICE, MM, records)


def regions_wmf():
    """A WMF region selected as the clip (META_CREATEREGION of one scan with two edges), a
    rectangle filled through it, then DIBBITBLT of a 2 x 2 bitmap (green, blue over red, white)
    onto 40 x 40 units, and PATBLT with the brush."""
    scan = struct.pack("<Hhh", 2, 20, 80) + struct.pack("<hh", 20, 80) + struct.pack("<H", 2)
    region = struct.pack("<hhIhhhhhhh", 0, 6, 0, 22 + len(scan), 1, 10, 20, 20, 80, 80) + scan
    info, data = dib(2, 2, 24, [[(0, 160, 0), (0, 0, 255)], [(255, 0, 0), (255, 255, 255)]])
    records = w_window((0, 0), (200, 200)) + [
        w_pen(BLACK, 0, 5), w_select(0), w_brush(RED), w_select(1),
        wmf_record(0x06FF, raw=region), wmf_record(0x012C, 2),
        w_rect(0, 0, 200, 200),
        wmf_record(0x0127, 0xFFFF),
        wmf_record(0x0940, *wmf_color(0x00CC0020), 0, 0, 40, 40, 140, 20, raw=info + data),
        w_brush(BLUE), w_select(3),
        wmf_record(0x061D, *wmf_color(0x00F00021), 40, 40, 140, 140)]
    return wmf_file((0, 0, 200, 200), 96, [wmf_record(0x001E)] + records)


def misc_emf():
    """The rest: a path of a 32-bit PolyBezier closed and selected as the clip (a red fill of the
    whole picture shows only inside it), RestoreDC to a saved state by its number, ArcTo joined
    to the current position and stroked, and text turned by its escapement (90 degrees: it runs
    up) and clipped to its box (ETO_CLIPPED), underlined."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, RED), e_select(2),
               emf_record(33), emf_record(33),
               emf_record(59), e_poly(2, [(480, 480), (480, 0), (1920, 0), (1920, 480)]),
               e_poly(6, [(1920, 1440), (480, 1440)]), emf_record(61), emf_record(60),
               e_u32(67, 5), e_rect(0, 0, 4800, 3600),
               e_u32(34, 1),
               e_pen(3, BLUE, 80), e_select(3), e_pair(27, 2400, 480),
               emf_record(55, ints(2400, 480, 3360, 1440, 3360, 960, 2400, 960)),
               emf_record(82, struct.pack("<Iiiiii", 4, -480, 0, 900, 0, 400) +
                          bytes([0, 1, 0, 0, 0, 0, 0, 0]) + "Arial".encode("utf-16-le").ljust(64, b"\0") +
                          b"\0" * 240),
               e_select(4), e_u32(18, 1), emf_record(24, struct.pack("<I", GREEN)),
               e_text(960, 3360, "HHHHHHHHHH", options=4, box=(0, 1920, 4800, 3360))]
    return emf_file(FRAME, DEVICE, MM, records)


def misc_wmf():
    """WMF mapping records and a DIB pattern brush: the window is set, offset and scaled
    (OffsetWindowOrg, ScaleWindowExt), and a rectangle filled with a 2 x 2 pattern brush
    (DIBCREATEPATTERNBRUSH) and outlined with a dotted pen over the opaque background."""
    pat_info, pat_data = dib(2, 2, 8, [[0, 1], [1, 0]], palette=[(255, 0, 0), (0, 0, 255)])
    records = [wmf_record(0x0103, 8), wmf_record(0x020B, 0, 0), wmf_record(0x020C, 400, 400),
               wmf_record(0x020F, 0, 100),  # offset the origin by (100, 0)
               wmf_record(0x0410, 2, 1, 2, 1),  # scale the extent by 1/2: 200 x 200
               wmf_record(0x0142, 5, 0, raw=pat_info + pat_data), w_select(0),
               w_pen(BLACK, 0, 2), w_select(1), w_rect(150, 50, 250, 150)]
    return wmf_file((0, 0, 200, 200), 96, records)


def objects_out_of_range_emf():
    """Object indices the table does not have: a brush made at 9999 (the table has 16 entries),
    its selection, a stock number that names nothing, and deletions far out of range. The
    rectangle then takes the default brush (white)."""
    records = [e_brush(9999, RED), e_select(9999), e_select(0x80000063), e_select(0),
               emf_record(40, struct.pack("<I", 123456)), emf_record(40, struct.pack("<I", 0xFFFFFFFF)),
               e_rect(480, 480, 1920, 1920)]
    return emf_file(FRAME, DEVICE, MM, records)


def objects_out_of_range_wmf():
    """A WMF whose table holds two objects: the third brush made has no entry, selections and
    deletions of entries it lacks are ignored, and the rectangle keeps the second brush."""
    records = w_window((0, 0), (200, 200)) + [
        w_brush(GREEN), w_brush(BLUE), w_brush(RED), w_select(1), w_select(2), w_select(60000),
        w_delete(60000), w_rect(20, 20, 180, 180)]
    return wmf_file((0, 0, 200, 200), 96, records, objects=2)


def absurd_emf():
    """Records with absurd values, each of which must be drawn quickly or passed over: points and
    boxes at the ends of the 32-bit range, a pen 2^31 units wide, a font as tall, a world
    transform of 1e30, a window extent of 1 on a viewport of 2^31, bitmaps that claim 30000 x
    30000 and 32767 x 32767 pixels from a few bytes, and five thousand SaveDC records."""
    big, small = 0x7FFFFFFF, -0x80000000
    huge_dib = dib(30000, 30000, 24, None, raw_bits=b"\0" * 16)
    rle_dib = dib(32767, 32767, 8, None, palette=[(255, 0, 0)], compression=1,
                  raw_bits=bytes([255, 0] * 8 + [0, 1]))
    records = [e_pen(1, BLACK, big), e_select(1), e_brush(2, RED), e_select(2),
               e_rect(small, small, big, big), e_ellipse(small, small, big, big),
               e_poly(3, [(small, small), (big, 0), (0, big), (big, big)]),
               emf_record(47, ints(small, small, big, big, big, 0, 0, big)),
               e_font(3, small, "Arial"), e_select(3), e_text(0, 0, "W" * 50),
               e_xform(35, (1e30, 0, 0, 1e30, 1e30, -1e30)), e_rect(0, 0, 10, 10),
               e_xform(36, (0, 0, 0, 0, 0, 0), 1),
               e_u32(17, 8), e_pair(9, 1, 1), e_pair(11, big, big), e_ellipse(0, 0, 1, 1),
               e_u32(17, 1),
               e_stretchdibits(0, 0, 4800, 3600, *huge_dib), e_stretchdibits(0, 0, 4800, 3600, *rle_dib)]
    records += [emf_record(33)] * 5000 + [e_u32(34, 1)]
    return emf_file(FRAME, DEVICE, MM, records)


def big_text_wmf():
    """An "H" of 300 pixels to the em, larger than the glyphs cairo renders as images, at (20, 20)
    aligned by its cell's top."""
    records = w_window((0, 0), (400, 300)) + [
        w_font(-300, "Arial"), w_select(0), wmf_record(0x0102, 1),
        wmf_record(0x0209, *wmf_color(BLUE)), w_textout(20, 20, "H")]
    return wmf_file((0, 0, 400, 300), 96, records)


def curves_over_budget_emf():
    """A path of 8000 curves, each swinging across the whole picture, filled: flattened, its outline
    needs more memory than the budget of its file and picture allows, so the picture is refused."""
    points = []
    for i in range(8000):
        points += [(0, 400), (400, 0), (i % 2 * 400, 400)]
    fill = [emf_record(59), e_pair(27, 0, 0), e_poly(88, points, small=True), emf_record(60),
            emf_record(62, BOUNDS)]
    return emf_file((0, 0, 10583, 10583), (400, 400), (100, 100),
                    [e_brush(1, RED), e_select(1)] + fill)


def zigzag(n):
    return [(10 + (i % 2) * 180, 10 + (i * 37) % 180) for i in range(n)]


def wide_pen_zigzag_emf():
    """A thousand points of a pen 900 pixels wide with round joins: each join a fan of points."""
    return emf_file((0, 0, 5292, 5292), (200, 200), (53, 53),
                    [e_extpen(1, RED, 900, 0x10000), e_select(1), e_poly(87, zigzag(1000), True)])


def fine_dashes_emf():
    """A thousand points of a pen 300 pixels wide in a user style of one-pixel dashes: some ninety
    thousand dashes, each across the whole picture."""
    return emf_file((0, 0, 5292, 5292), (200, 200), (53, 53),
                    [e_extpen(1, BLUE, 300, 0x10007, (1, 1)), e_select(1),
                     e_poly(87, zigzag(1000), True)])


FILES = {
    "shapes.wmf": shapes_wmf, "y_up.wmf": y_up_wmf, "masked.wmf": masked_wmf,
    "plain.wmf": plain_wmf, "plain_no_window.wmf": plain_no_window_wmf, "text.wmf": text_wmf,
    "shapes.emf": shapes_emf, "world.emf": world_emf, "metric.emf": metric_emf,
    "anisotropic.emf": anisotropic_emf, "fill_modes.emf": fill_modes_emf, "clip.emf": clip_emf,
    "hatch.emf": hatch_emf, "pens.emf": pens_emf, "arcs.emf": arcs_emf, "bitmaps.emf": bitmaps_emf,
    "text.emf": text_emf, "dual.emf": dual_emf, "emfplus_only.emf": emfplus_only_emf,
    "blits.emf": blits_emf, "misc.emf": misc_emf, "misc.wmf": misc_wmf, "alpha.emf": alpha_emf, "regions.emf": regions_emf, "regions.wmf": regions_wmf,
    "objects_out_of_range.emf": objects_out_of_range_emf,
    "objects_out_of_range.wmf": objects_out_of_range_wmf, "absurd.emf": absurd_emf,
    "big_text.wmf": big_text_wmf, "curves_over_budget.emf": curves_over_budget_emf,
    "wide_pen_zigzag.emf": wide_pen_zigzag_emf, "fine_dashes.emf": fine_dashes_emf,
}

if __name__ == "__main__":
    for name, make in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(make())
