#!/usr/bin/env python3
"""Writes the hand-built metafiles of the text tests, record by record: 8-bit text in the code
pages of its fonts' character sets, a symbol font, Shift-JIS with a spacing entry a byte, text
under world transforms in both graphics modes, text boxes with and without ETO_NO_RECT, text
inside path brackets, and glyph-index runs. Every picture is one pixel a logical unit, so the
tests place their references at the records' own coordinates. Run from anywhere; the files land
beside this script."""
import math
import os
import struct

from make_metafiles import emf_record, ints, wmf_file, wmf_record, w_window, BOUNDS, rgb

HERE = os.path.dirname(os.path.abspath(__file__))

ANSI, SYMBOL, SHIFTJIS, GREEK, RUSSIAN, EASTEUROPE = 0, 2, 128, 161, 204, 238
BASELINE = 24  # TA_BASELINE
OPAQUE, CLIPPED, GLYPH_INDEX, NO_RECT = 0x2, 0x4, 0x10, 0x100
COMPATIBLE, ADVANCED = 1, 2
YELLOW, RED, BLUE = rgb(255, 255, 0), rgb(255, 0, 0), rgb(0, 0, 255)


# ---- WMF -----------------------------------------------------------------------------------------

def w_font(height, face, charset, weight=400):
    name = face.encode("latin-1")[:31] + b"\0"
    return wmf_record(0x02FB, height & 0xFFFF, 0, 0, 0, weight,
                      raw=bytes([0, 0, 0, charset, 0, 0, 0, 0]) + name.ljust(32, b"\0"))


def w_textout(x, y, data):
    return wmf_record(0x0521, len(data), raw=data + b"\0" * (len(data) % 2) + struct.pack("<hh", y, x))


def w_exttextout(x, y, data, dx, options=0, box=None):
    raw = struct.pack("<hhHH", y, x, len(data), options)
    if box is not None:
        raw += struct.pack("<hhhh", *box)
    raw += data + b"\0" * (len(data) % 2) + struct.pack("<%dh" % len(dx), *dx)
    return wmf_record(0x0A32, raw=raw)


def text_code_pages_wmf():
    """Arial text in three code pages, each line's bytes those of its font's charset, with its
    baseline at the reference point: Polish in 1250 by TextOut, Russian in 1251 and Greek in 1253
    by ExtTextOut with 30 pixels a character; the Greek line says ETO_OPAQUE with ETO_NO_RECT
    over a yellow background, so its box (which the record still carries) fills nothing."""
    records = w_window((0, 0), (560, 200)) + [
        wmf_record(0x012E, BASELINE), wmf_record(0x0102, 1),
        wmf_record(0x0201, YELLOW & 0xFFFF, YELLOW >> 16),
        w_font(-32, "Arial", EASTEUROPE), wmf_record(0x012D, 0),
        w_textout(10, 50, "Zażółć gęślą jaźń".encode("cp1250")),
        w_font(-32, "Arial", RUSSIAN), wmf_record(0x012D, 1),
        w_exttextout(10, 110, "Съешь ещё".encode("cp1251"), [30] * 9),
        w_font(-32, "Arial", GREEK), wmf_record(0x012D, 2),
        w_exttextout(10, 170, "Ξεσκεπάζω".encode("cp1253"), [30] * 9, OPAQUE | NO_RECT,
                     (0, 120, 560, 200)),
    ]
    return wmf_file((0, 0, 560, 200), 96, records)


# ---- EMF -----------------------------------------------------------------------------------------

def pixel_emf(width, height, records, handles=16):
    """An EMF of width x height pixels whose device units are the picture's pixels (96 a inch)."""
    frame = (0, 0, round(width * 2540 / 96), round(height * 2540 / 96))
    body = b"".join(records) + emf_record(14, ints(0, 16, 20))
    header = struct.pack("<II", 1, 88) + ints(0, 0, width, height) + ints(*frame)
    header += struct.pack("<IIIIHHIIIii ii", 0x464D4520, 0x10000, 88 + len(body), len(records) + 2,
                          handles, 0, 0, 0, 0, 960, 960, 254, 254)
    return header + body


def e_font(index, height, face, charset=ANSI, weight=400):
    name = face.encode("utf-16-le")[:62]
    return emf_record(82, struct.pack("<Iiiiii", index, height, 0, 0, 0, weight) +
                      bytes([0, 0, 0, charset, 0, 0, 0, 0]) + name.ljust(64, b"\0") +
                      b"\0" * (320 - 92 + 12))


def e_text(x, y, data, chars, dx=(), wide=True, options=0, box=(0, 0, 0, 0), mode=COMPATIBLE,
           compact=False):
    """EMR_EXTTEXTOUTW (or A): compact leaves out the box, as a record with ETO_NO_RECT may."""
    fixed = 60 if compact else 76
    off_dx = fixed + len(data) + (-len(data) % 4) if dx else 0
    head = BOUNDS + struct.pack("<Iff", mode, 1, 1) + ints(x, y) + struct.pack("<III", chars, fixed, options)
    head += struct.pack("<I", off_dx) if compact else ints(*box) + struct.pack("<I", off_dx)
    payload = head + data + b"\0" * (-len(data) % 4) + ints(*dx)
    return emf_record(84 if wide else 83, payload)


def e_u32(kind, value):
    return emf_record(kind, struct.pack("<I", value))


def e_select(index):
    return e_u32(37, index)


def e_brush(index, color):
    return emf_record(39, struct.pack("<IIII", index, 0, color, 0))


def e_world(m):
    return emf_record(35, struct.pack("<6f", *m))


def e_modify_world(m, mode):
    """EMR_MODIFYWORLDTRANSFORM: 1 back to identity, 2 m applied first, 4 m in place."""
    return emf_record(36, struct.pack("<6fI", *m, mode))


def text_kinds_emf():
    """8-bit EMF text: ANSI (1252) by EMR_EXTTEXTOUTA with 34 pixels a character; Shift-JIS with
    a spacing entry for each byte (30 and 14: 44 pixels a character); a symbol font's bytes
    (alpha, beta, gamma, delta, pi in the symbol face); then two runs of glyph numbers, one in a
    face that is installed under its own name (drawn), one in Arial, whose numbers name glyphs
    of another face (passed over)."""
    ansi = "Größe €5".encode("cp1252")
    japanese = "日本語テキスト"
    sjis = japanese.encode("cp932")
    glyphs = [42, 79, 92, 83, 75]  # "Glyph" in DejaVu Sans
    records = [
        e_u32(22, BASELINE), e_u32(18, 1),
        e_font(1, -32, "Arial"), e_select(1),
        e_text(10, 50, ansi, len(ansi), [34] * len(ansi), wide=False),
        e_font(2, -32, "MS Gothic", SHIFTJIS), e_select(2),
        e_text(10, 110, sjis, len(sjis), [30, 14] * len(japanese), wide=False),
        e_font(3, -32, "Symbol", SYMBOL), e_select(3),
        e_text(10, 170, b"abgdp", 5, [34] * 5, wide=False),
        e_font(4, -32, "DejaVu Sans"), e_select(4),
        e_text(10, 230, struct.pack("<5H", *glyphs), 5, [34] * 5, options=GLYPH_INDEX),
        e_select(1),
        e_text(300, 230, struct.pack("<5H", *glyphs), 5, [34] * 5, options=GLYPH_INDEX),
    ]
    return pixel_emf(400, 260, records)


def rotation(degrees, cx, cy):
    """A world transform turning the drawing counterclockwise (as seen) about (cx, cy)."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return (c, -s, s, c, cx - c * cx - s * cy, cy + s * cx - c * cy)


def text_world_emf():
    """Text under world transforms, as a writer that turns its drawing draws it: turned 30 degrees
    about (200, 100) by ModifyWorldTransform and drawn in the advanced graphics mode (the glyphs turn), the same in the
    compatible mode (they stay upright at the turned reference point), then slanted by a shear in
    the advanced mode. Then boxes: ETO_OPAQUE over a yellow background fills its box, ETO_OPAQUE
    with ETO_NO_RECT fills nothing (once with the box's bytes, once without them)."""
    text = "Turned"
    data = text.encode("utf-16-le")
    records = [
        e_u32(22, BASELINE), e_u32(18, 1), emf_record(25, struct.pack("<I", YELLOW)),
        e_font(1, -32, "Arial"), e_select(1),
        e_modify_world((1, 0, 0, 1, 0, 0), 1), e_modify_world(rotation(30, 200, 100), 2),
        e_text(120, 100, data, len(text), [26] * len(text), mode=ADVANCED),
        e_text(120, 170, data, len(text), [26] * len(text), mode=COMPATIBLE),
        e_world((1, 0, -0.5, 1, 0, 0)),
        e_text(240, 250, data, len(text), [26] * len(text), mode=ADVANCED),
        e_modify_world((1, 0, 0, 1, 0, 0), 1),
        e_text(20, 330, data, len(text), [26] * len(text), options=OPAQUE, box=(10, 300, 190, 345)),
        e_text(210, 330, data, len(text), [26] * len(text), options=OPAQUE | NO_RECT,
               box=(200, 300, 390, 345)),
        e_text(210, 390, data, len(text), [26] * len(text), options=OPAQUE | NO_RECT,
               compact=True),
    ]
    return pixel_emf(400, 420, records)


def text_path_emf():
    """Text inside path brackets: "HO" gathered and filled with a red brush, then "HO" gathered
    and selected as the clip (RGN_COPY), through which a blue rectangle over the whole picture
    shows only inside the glyphs."""
    text = "HO".encode("utf-16-le")
    records = [
        e_u32(22, BASELINE), e_u32(18, 1),
        emf_record(38, struct.pack("<IIiiI", 1, 5, 0, 0, 0)), e_select(1),  # null pen
        e_brush(2, RED), e_select(2),
        e_font(3, -100, "Arial", weight=700), e_select(3),
        emf_record(59), e_text(10, 100, text, 2, [80, 80]), emf_record(60), emf_record(62, BOUNDS),
        emf_record(59), e_text(200, 100, text, 2, [80, 80]), emf_record(60), e_u32(67, 5),
        e_brush(4, BLUE), e_select(4), emf_record(43, ints(0, 0, 400, 130)),
    ]
    return pixel_emf(400, 130, records)


def e_polytext(strings, mode=COMPATIBLE, count=None):
    """EMR_POLYTEXTOUTW of (x, y, text, dx) strings, each an EmrText of 40 bytes after the
    array; count stands in for the number of strings when given."""
    fixed = 40 + 40 * len(strings)
    texts, tail = b"", b""
    for x, y, text, dx in strings:
        data = text.encode("utf-16-le")
        data += b"\0" * (-len(data) % 4)
        at = fixed + len(tail)
        tail += data + ints(*dx)
        texts += ints(x, y) + struct.pack("<III", len(text), at, 0) + ints(0, 0, 0, 0)
        texts += struct.pack("<I", at + len(data) if dx else 0)
    head = BOUNDS + struct.pack("<Iff", mode, 1, 1) + struct.pack("<I", len(strings) if count is None else count)
    return emf_record(97, head + texts + tail)


def e_smalltext(x, y, text, options=0, box=None):
    """EMR_SMALLTEXTOUT: the box only without ETO_NO_RECT, 8-bit characters with
    ETO_SMALL_CHARS."""
    small = options & 0x200
    data = text.encode("latin-1" if small else "utf-16-le")
    payload = ints(x, y) + struct.pack("<IIIff", len(text), options, COMPATIBLE, 1, 1)
    if box is not None:
        payload += ints(*box)
    return emf_record(108, payload + data)


def text_poly_emf():
    """EMR_POLYTEXTOUTW: two strings in one record, each placed by its own reference point and
    spacing array; then EMR_SMALLTEXTOUT, with 8-bit characters and no box, and with 16-bit
    ones and a box it fills."""
    records = [e_u32(22, BASELINE), e_u32(18, 1), e_font(1, -32, "Arial"), e_select(1),
               e_polytext([(10, 50, "Poly", [30] * 4), (200, 100, "Text", [30] * 4)]),
               emf_record(25, struct.pack("<I", YELLOW)),
               e_smalltext(10, 110, "Small", 0x200 | NO_RECT),
               e_smalltext(200, 40, "Wide", OPAQUE, (300, 5, 390, 20))]
    return pixel_emf(400, 130, records)


def absurd_text_emf():
    """Text records with absurd values, each drawn quickly or passed over, before a green square
    that must still be drawn: a PolyTextOut claiming four billion strings, an EmrText claiming
    four billion characters, glyph numbers beyond the face's, a font 2^31 units tall, world
    transforms that blow the glyphs up or flatten them to a line in the advanced mode, a lone
    Shift-JIS lead byte, and an escapement of 2^31 tenths of a degree."""
    big = 0x7FFFFFFF
    text = "Absurd".encode("utf-16-le")
    records = [
        e_u32(22, BASELINE), e_u32(18, 1), e_font(1, -32, "DejaVu Sans"), e_select(1),
        e_polytext([(10, 50, "Poly", [30] * 4)], count=0xFFFFFFFF),
        emf_record(84, BOUNDS + struct.pack("<Iff", 1, 1, 1) + ints(10, 50) +
                   struct.pack("<III", 0xFFFFFFFF, 76, 0) + ints(0, 0, 0, 0, 0) + text),
        e_text(10, 100, struct.pack("<4H", 0xFFFF, 0xFFFE, 6000, 0), 4, [30] * 4, options=GLYPH_INDEX),
        e_font(2, -big, "Arial"), e_select(2), e_text(10, 100, text, 6),
        e_font(3, -32, "Arial"), e_select(3),
        e_world((1e30, 0, 0, 1e30, 0, 0)), e_text(10, 100, text, 6, mode=ADVANCED),
        e_world((1, 1, 1, 1, 0, 0)), e_text(10, 100, text, 6, mode=ADVANCED),
        e_world((1e-30, 0, 0, 1e30, 0, 0)), e_text(10, 100, text, 6, [big] * 6, mode=ADVANCED),
        e_world((1, 0, 0, 1, 0, 0)),
        e_font(4, -32, "MS Gothic", SHIFTJIS), e_select(4),
        e_text(10, 100, b"\x81", 1, [30], wide=False),
        emf_record(82, struct.pack("<Iiiiii", 5, -32, 0, big, 0, 400) + bytes(8) +
                   "Arial".encode("utf-16-le").ljust(64, b"\0")),
        e_select(5), e_text(10, 100, text, 6),
        e_brush(6, rgb(0, 160, 0)), e_select(6), emf_record(43, ints(150, 150, 250, 250)),
    ]
    return pixel_emf(400, 400, records)


def text_over_budget_emf():
    """Ten thousand glyphs gathered into a path, one over the other in view: their outlines take
    more memory than the picture and file allow, so the picture is refused as any shape over the
    budget is."""
    text = "@" * 10000
    records = [e_u32(22, BASELINE), e_font(1, -300, "Arial"), e_select(1), emf_record(59),
               e_text(0, 300, text.encode("utf-16-le"), len(text), [0] * len(text)), emf_record(60),
               emf_record(62, BOUNDS)]
    return pixel_emf(400, 400, records)


FILES = {
    "text_code_pages.wmf": text_code_pages_wmf,
    "text_kinds.emf": text_kinds_emf,
    "text_world.emf": text_world_emf,
    "text_path.emf": text_path_emf,
    "text_poly.emf": text_poly_emf,
    "absurd_text.emf": absurd_text_emf,
    "text_over_budget.emf": text_over_budget_emf,
}

if __name__ == "__main__":
    for name, make in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(make())
