#!/usr/bin/env python3
"""Writes the hand-built metafiles of the records GDI draws beyond the common shapes: pens drawn
inside their frame, region frames and inversions, gradient fills, flood fills, PolyDraw, AngleArc
and the clip's offset. Each file is built record by record with make_metafiles.py's helpers, on a
picture of one device unit a pixel where it can be, so that the tests' probes are the records'
own numbers. Run from anywhere; the files land beside this script."""
import os
import struct

from make_metafiles import (BLACK, BLUE, GREEN, HERE, RED, WHITE, YELLOW, dib, e_brush,
                            e_ellipse, e_extpen, e_pen, e_poly, e_rect, e_select, e_u32, emf_file,
                            emf_record, ints, rgb, w_brush, w_pen, w_rect, w_select, w_window,
                            wmf_file, wmf_record)

# An EMF of 384 x 288 pixels whose device units are pixels: a frame of 101.6 x 76.2 mm for a
# device of 960 pixels over 254 mm (96 an inch).
PIXEL_FRAME, PIXEL_DEVICE, PIXEL_MM = (0, 0, 10160, 7620), (960, 960), (254, 254)


# The same at 128 x 96 pixels.
FRAME_SMALL = (0, 0, 3387, 2540)


def pixel_emf(records):
    return emf_file(PIXEL_FRAME, PIXEL_DEVICE, PIXEL_MM, records)


def inside_frame_emf():
    """Pens of the inside-frame style: 12 pixels wide (CreatePen) around a rectangle, a round
    rectangle, a chord and a pie, and a geometric one (ExtCreatePen) around an ellipse, each
    within its bounding box; 7 pixels wide around a rectangle; 12 pixels wide around a polygon,
    which is no shape of a bounding box, so the pen stays centred on its outline."""
    inside = 6
    records = [e_pen(1, RED, 12, inside), e_select(1), e_brush(2, GREEN), e_select(2),
               e_rect(20, 20, 120, 100),
               emf_record(44, ints(260, 20, 360, 100, 40, 40)),
               emf_record(46, ints(20, 140, 120, 240, 120, 190, 20, 190)),
               emf_record(47, ints(140, 140, 240, 240, 240, 190, 190, 140)),
               e_extpen(3, RED, 12, 0x00010000 | inside), e_select(3),
               e_ellipse(140, 20, 240, 100),
               e_pen(4, BLUE, 7, inside), e_select(4), e_rect(260, 140, 360, 240),
               e_pen(5, RED, 12, inside), e_select(5),
               e_poly(3, [(20, 260), (120, 260), (120, 280), (20, 280)])]
    return pixel_emf(records)


def region(rects):
    """An EMF's region data: its 32-byte header, then its rectangles (device units)."""
    bounds = (min(r[0] for r in rects), min(r[1] for r in rects), max(r[2] for r in rects),
              max(r[3] for r in rects))
    return struct.pack("<IIII", 32, 1, len(rects), 16 * len(rects)) + ints(*bounds) + \
        b"".join(ints(*r) for r in rects)


def e_framergn(rects, brush, width, height):
    data = region(rects)
    return emf_record(72, ints(0, 0, 0, 0) + struct.pack("<IIii", len(data), brush, width, height) +
                      data)


def e_invertrgn(rects):
    data = region(rects)
    return emf_record(73, ints(0, 0, 0, 0) + struct.pack("<I", len(data)) + data)


def regions_gdi_emf():
    """FrameRgn and InvertRgn over a blue rectangle (0, 0)-(200, 150): the frame of an L of two
    rectangles, 6 pixels across and 4 down, red; a frame one pixel thick with the stock black
    brush; an inversion half over the blue (yellow) and half over nothing (black); a green
    square inverted twice (green again); and a frame 10 pixels thick cut by the clip at y = 240."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, BLUE), e_select(2),
               e_rect(0, 0, 200, 150), e_brush(3, RED),
               e_framergn([(20, 20, 120, 60), (20, 60, 180, 100)], 3, 6, 4),
               e_framergn([(250, 20, 350, 120)], 0x80000004, 1, 1),
               e_invertrgn([(150, 120, 250, 200)]),
               e_brush(4, GREEN), e_select(4), e_rect(20, 200, 80, 260),
               e_invertrgn([(20, 200, 80, 260)]), e_invertrgn([(20, 200, 80, 260)]),
               emf_record(30, ints(0, 0, 384, 240)),
               e_framergn([(300, 200, 380, 280)], 3, 10, 10)]
    return pixel_emf(records)


def w_region(l, t, r, b):
    """META_CREATEREGION of one rectangle: the region's header, then one scan of two edges."""
    scan = struct.pack("<Hhh", 2, t, b) + struct.pack("<hh", l, r) + struct.pack("<H", 2)
    header = struct.pack("<hhIhhhhhhh", 0, 6, 0, 22 + len(scan), 1, 10, l, t, r, b)
    return wmf_record(0x06FF, raw=header + scan)


def regions_gdi_wmf():
    """The WMF's region records on a window of one unit a pixel: PAINTREGION with the selected
    green brush, FRAMEREGION with red 5 across and 3 down, FILLREGION with red then
    INVERTREGION (cyan), INVERTREGION over nothing (black); and a rectangle outlined by an
    inside-frame pen 10 pixels wide, blue."""
    records = w_window((0, 0), (200, 200)) + [
        w_pen(BLACK, 0, 5), w_brush(GREEN), w_brush(RED),           # objects 0, 1, 2
        w_region(20, 20, 80, 80), w_region(100, 20, 180, 80),        # 3, 4
        w_region(100, 100, 180, 180),                                # 5
        w_select(0), w_select(1),
        wmf_record(0x012B, 3), wmf_record(0x0429, 3, 2, 3, 5),
        wmf_record(0x0228, 4, 2), wmf_record(0x012A, 4), wmf_record(0x012A, 5),
        w_pen(BLUE, 10, 6), w_select(6), w_rect(20, 100, 80, 180)]
    return wmf_file((0, 0, 200, 200), 96, records)


def e_floodfill(x, y, color, surface):
    return emf_record(53, ints(x, y) + struct.pack("<II", color, 1 if surface else 0))


def flood_emf():
    """Flood fills over what is drawn: a border fill (red) inside a black outline; a surface fill
    (yellow) over a blue rectangle around a green one; a surface fill of white (cyan) over the
    transparent background within a clip rectangle, around a circle's black outline; a border
    fill (blue) inside a magenta outline, over a green square too; and one whose start lies
    outside the clip, which does nothing."""
    null_brush = 0x80000005
    records = [e_pen(1, BLACK), e_select(1), e_select(null_brush), e_rect(20, 20, 120, 100),
               e_brush(2, RED), e_select(2), e_floodfill(60, 60, BLACK, False),
               e_pen(3, BLACK, 0, 5), e_select(3), e_brush(4, BLUE), e_select(4),
               e_rect(140, 20, 240, 100), e_brush(5, GREEN), e_select(5),
               e_rect(170, 40, 210, 80), e_brush(6, YELLOW), e_select(6),
               e_floodfill(150, 30, BLUE, True),
               emf_record(33), emf_record(30, ints(250, 20, 370, 140)),
               e_select(1), e_select(null_brush), e_ellipse(280, 50, 340, 110),
               e_brush(7, rgb(0, 255, 255)), e_select(7), e_floodfill(255, 25, WHITE, True),
               e_u32(34, 0xFFFFFFFF),
               e_pen(8, rgb(255, 0, 255), 3), e_select(8), e_select(null_brush),
               e_rect(20, 150, 120, 250), e_select(3), e_select(5), e_rect(50, 180, 90, 220),
               e_brush(9, BLUE), e_select(9), e_floodfill(30, 160, rgb(255, 0, 255), False),
               emf_record(33), emf_record(30, ints(140, 150, 240, 288)),
               e_select(2), e_floodfill(300, 200, BLACK, False), e_u32(34, 0xFFFFFFFF)]
    return pixel_emf(records)


def flood_wmf():
    """META_FLOODFILL (red) inside a black outline and META_EXTFLOODFILL over a blue rectangle's
    surface (yellow), on a window of one unit a pixel."""
    records = w_window((0, 0), (200, 200)) + [
        w_pen(BLACK), w_brush(BLACK, 1), w_brush(RED), w_brush(BLUE), w_brush(YELLOW),  # 0 to 4
        w_pen(BLACK, 0, 5),                                                             # 5
        w_select(0), w_select(1), w_rect(20, 20, 100, 100),
        w_select(2), wmf_record(0x0419, BLACK & 0xFFFF, BLACK >> 16, 60, 60),
        w_select(5), w_select(3), w_rect(120, 20, 180, 100),
        w_select(4), wmf_record(0x0548, 1, BLUE & 0xFFFF, BLUE >> 16, 60, 150)]
    return wmf_file((0, 0, 200, 200), 96, records)


def flood_large_emf():
    """A picture of 4080 x 4080 pixels striped by a vertical hatch from its ninth row down, filled
    red from the top: one fill of some two million spans, which must finish quickly."""
    side = 4080
    frame = (0, 0, side * 2540 // 96, side * 2540 // 96)
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_u32(18, 1), e_brush(2, BLACK, 2, 1),
               e_select(2), e_rect(0, 8, side, side), e_brush(3, RED), e_select(3),
               e_floodfill(1, 1, BLACK, False)]
    return emf_file(frame, PIXEL_DEVICE, PIXEL_MM, records)


def flood_clips_emf(pattern=False):
    """Flood fills within clips of several shapes: a border fill (red) inside a black outline
    around the hole that ExcludeClipRect leaves; a surface fill of white (cyan) over nothing within
    a clip region of two rectangles that meet and a third apart; a border fill (blue) within an
    elliptic clip path; and a surface fill (yellow) over a green rectangle within a clip
    rectangle. With pattern, each brush is a 2 x 2 DIB pattern of its one colour instead, which
    must fill the same pixels."""
    def fill_brush(index, color):
        if not pattern:
            return e_brush(index, color)
        c = (color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF)
        info, data = dib(2, 2, 24, [[c, c], [c, c]])
        return emf_record(94, struct.pack("<IIIIII", index, 0, 32, len(info), 32 + len(info),
                                          len(data)) + info + data)

    null_pen, null_brush, save, restore = 0x80000008, 0x80000005, emf_record(33), e_u32(34, -1 & 0xFFFFFFFF)
    three = region([(200, 20, 260, 120), (260, 40, 320, 100), (340, 20, 370, 120)])
    records = [e_pen(1, BLACK), e_select(1), e_select(null_brush), e_rect(20, 20, 180, 120),
               save, emf_record(29, ints(100, 40, 140, 80)), fill_brush(2, RED), e_select(2),
               e_floodfill(30, 30, BLACK, False), restore,
               save, emf_record(75, struct.pack("<II", len(three), 5) + three),
               fill_brush(3, rgb(0, 255, 255)), e_select(3), e_floodfill(210, 30, WHITE, True),
               restore,
               save, emf_record(59), e_ellipse(20, 150, 180, 270), emf_record(60),
               e_u32(67, 1), fill_brush(4, BLUE), e_select(4), e_floodfill(100, 210, BLACK, False),
               restore,
               e_select(null_pen), e_brush(5, GREEN), e_select(5), e_rect(200, 150, 371, 271),
               save, emf_record(30, ints(210, 160, 360, 260)), fill_brush(6, YELLOW), e_select(6),
               e_floodfill(220, 170, GREEN, True), restore]
    return pixel_emf(records)


def e_gradient(mode, vertices, shapes):
    """EMR_GRADIENTFILL: vertices (x, y, (r, g, b) of 16 bits), then each shape's vertex
    indices (two for a rectangle, three for a triangle)."""
    data = b"".join(ints(x, y) + struct.pack("<HHHH", *color, 0) for (x, y, color) in vertices)
    data += b"".join(struct.pack("<%dI" % len(shape), *shape) for shape in shapes)
    return emf_record(118, ints(0, 0, 0, 0) + struct.pack("<III", len(vertices), len(shapes), mode) +
                      data)


def gradients_emf():
    """Gradient fills, one unit a pixel: a horizontal rectangle 256 pixels wide from red to
    blue; a vertical one 128 tall from green to yellow; a triangle of red, green and blue
    corners; a horizontal rectangle under a world transform (scaled by 2, moved to (250, 210));
    and a record whose rectangle names a vertex it lacks, which is passed over."""
    red, green, blue, yellow = (0xFF00, 0, 0), (0, 0xFF00, 0), (0, 0, 0xFF00), (0xFF00, 0xFF00, 0)
    records = [e_gradient(0, [(20, 20, red), (276, 60, blue)], [(0, 1)]),
               e_gradient(1, [(20, 80, green), (120, 208, yellow)], [(0, 1)]),
               e_gradient(2, [(150, 80, red), (350, 80, green), (150, 280, blue)], [(0, 1, 2)]),
               e_gradient(0, [(20, 230, red), (120, 280, blue)], [(0, 2)]),
               emf_record(35, struct.pack("<6f", 2, 0, 0, 2, 250, 210)),
               e_gradient(0, [(0, 0, red), (50, 30, blue)], [(0, 1)])]
    return pixel_emf(records)


MOVETO, LINETO, BEZIERTO, CLOSE = 6, 2, 4, 1


def e_polydraw(points, types, small=False):
    fmt = "<%dh" if small else "<%di"
    flat = [v for p in points for v in p]
    return emf_record(92 if small else 56, ints(0, 0, 0, 0) + struct.pack("<I", len(points)) +
                      struct.pack(fmt % len(flat), *flat) + bytes(types))


def e_anglearc(x, y, radius, start, sweep):
    return emf_record(41, ints(x, y) + struct.pack("<Iff", radius, start, sweep))


def polydraw_emf():
    """PolyDraw from the current position (20, 20): a figure of two lines closed back to its
    start, a move, a curve and a line, then LineTo from where it ended; a 16-bit PolyDraw of two
    figures inside a path, filled; two PolyDraws that GDI refuses (a curve of two points, an
    unknown type); and AngleArc: a line from the current position to the top of a circle about
    (300, 220) of radius 40, then half the circle counterclockwise, then LineTo from its end."""
    records = [e_pen(1, RED, 5), e_select(1), emf_record(27, ints(20, 20)),
               e_polydraw([(120, 20), (120, 80), (150, 20), (200, 20), (250, 80), (300, 20),
                           (300, 80)],
                          [LINETO, LINETO | CLOSE, MOVETO, BEZIERTO, BEZIERTO, BEZIERTO, LINETO]),
               emf_record(54, ints(360, 80)),
               e_pen(2, BLACK, 0, 5), e_select(2), e_brush(3, BLUE), e_select(3), emf_record(59),
               e_polydraw([(20, 120), (120, 120), (120, 220), (20, 220), (150, 120), (250, 120),
                           (200, 220)],
                          [MOVETO, LINETO, LINETO, LINETO | CLOSE, MOVETO, LINETO, LINETO],
                          small=True),
               emf_record(60), emf_record(62, ints(0, 0, 0, 0)),
               e_select(1),
               e_polydraw([(20, 250), (100, 250), (150, 280)], [MOVETO, BEZIERTO, BEZIERTO]),
               e_polydraw([(20, 270), (100, 270)], [MOVETO, 8]),
               e_pen(4, GREEN, 3), e_select(4), emf_record(27, ints(300, 150)),
               e_anglearc(300, 220, 40, 90, 180), emf_record(54, ints(360, 260))]
    return pixel_emf(records)


def clip_offset_emf():
    """OffsetClipRgn: a clip rectangle (20, 20)-(120, 100) moved by (200, 100), then a red fill
    of the whole picture; after RestoreDC, a clip region of two rectangles moved by (0, 150) and a
    blue fill; and, with no clip, an offset that changes nothing before a green rectangle."""
    two = region([(20, 20, 60, 60), (80, 20, 120, 60)])
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_brush(2, RED), e_select(2), emf_record(33),
               emf_record(30, ints(20, 20, 120, 100)), emf_record(26, ints(200, 100)),
               e_rect(0, 0, 384, 288), e_u32(34, 0xFFFFFFFF), emf_record(33),
               emf_record(75, struct.pack("<II", len(two), 5) + two),
               emf_record(26, ints(0, 150)), e_brush(3, BLUE), e_select(3), e_rect(0, 0, 384, 288),
               e_u32(34, 0xFFFFFFFF), emf_record(26, ints(100, 100)), e_brush(4, GREEN),
               e_select(4), e_rect(300, 20, 360, 80)]
    return pixel_emf(records)


def clip_offset_wmf():
    """META_OFFSETCLIPRGN: a clip rectangle (20, 20)-(80, 80) of a window twice the picture's
    size (so the picture moves by half its units), moved by (200, 0) units, then a blue fill."""
    records = [wmf_record(0x0103, 8), wmf_record(0x020B, 0, 0), wmf_record(0x020C, 400, 400),
               w_pen(BLACK, 0, 5), w_select(0), w_brush(BLUE), w_select(1),
               wmf_record(0x0416, 80, 80, 20, 20), wmf_record(0x0220, 0, 200),
               w_rect(0, 0, 400, 400)]
    return wmf_file((0, 0, 200, 200), 96, records)


def brush_origin_emf():
    """SetBrushOrgEx: a vertical hatch (a line at the eighth pixel of every 8) fills a square from
    the picture's corner, then, with the brush origin at (3, 0), a square beside it whose lines
    lie 3 pixels further right."""
    records = [e_pen(1, BLACK, 0, 5), e_select(1), e_u32(18, 1), e_brush(2, BLUE, 2, 1),
               e_select(2), e_rect(0, 0, 64, 64), emf_record(13, ints(3, 0)), e_rect(64, 0, 128, 64)]
    return pixel_emf(records)


def absurd_gdi_emf():
    """The records above with absurd values, each drawn quickly or passed over: every one bare
    (no fields at all); counts of 2^32 - 1; points, radii, offsets and frame widths at the ends
    of the 32-bit range; a gradient fill of 4000 triangles each over the whole picture; angles
    of 1e30 and NaN; a flood fill of a hatched picture started off it; and PolyDraw types that
    run out in the middle of a curve."""
    big, small = 0x7FFFFFFF, -0x80000000
    bare = [emf_record(kind) for kind in (13, 26, 41, 53, 56, 72, 73, 92, 118)]
    huge_count = [emf_record(118, ints(0, 0, 0, 0) + struct.pack("<III", 0xFFFFFFFF, 1, 2)),
                  emf_record(118, ints(0, 0, 0, 0) + struct.pack("<III", 2, 0xFFFFFFFF, 0)),
                  emf_record(56, ints(0, 0, 0, 0) + struct.pack("<I", 0xFFFFFFFF)),
                  emf_record(92, ints(0, 0, 0, 0) + struct.pack("<I", 0xFFFFFFFF)),
                  emf_record(72, ints(0, 0, 0, 0) + struct.pack("<IIii", 0xFFFFFFF0, 3, 1, 1) +
                             struct.pack("<IIII", 32, 1, 0xFFFFFFFF, 0) + ints(0, 0, 1, 1))]
    wide = [(small, small, (0xFF00, 0, 0)), (big, small, (0, 0xFF00, 0)),
            (small, big, (0, 0, 0xFF00)), (big, big, (0xFF00, 0xFF00, 0))]
    many = e_gradient(2, wide, [(0, 1, 2), (1, 2, 3)] * 2000)
    records = bare + huge_count + [
        e_pen(1, BLACK, big), e_select(1), e_brush(2, RED), e_select(2),
        e_gradient(0, wide[:2], [(0, 1)]), e_gradient(1, wide[1:3], [(0, 1)]), many,
        e_framergn([(small, small, big, big)], 2, big, big),
        e_framergn([(small, small, big, big)], 2, small, small),
        e_invertrgn([(small, small, big, big)] * 100),
        emf_record(26, ints(big, big)), emf_record(13, ints(small, big)),
        e_brush(3, BLUE, 2, 5), e_select(3), e_rect(small, small, big, big),
        e_floodfill(big, big, 0, True), e_floodfill(10, 10, 0, False),
        e_anglearc(0, 0, 0xFFFFFFFF, 1e30, -1e30),
        emf_record(41, ints(0, 0) + struct.pack("<I", 10) + struct.pack("<I", 0x7FC00000) * 2),
        e_polydraw([(small, small), (big, big), (small, big)], [MOVETO, LINETO, BEZIERTO]),
        e_polydraw([(small, small)] * 3000, [MOVETO] + [LINETO] * 2999)]
    return emf_file(FRAME_SMALL, PIXEL_DEVICE, PIXEL_MM, records)


def absurd_gdi_wmf():
    """The WMF's records above, bare and with absurd values: regions and brushes the table lacks,
    frames 32767 units thick, a flood fill of a full picture started off it, an offset of the
    clip to the end of the 16-bit range."""
    bare = [wmf_record(kind) for kind in (0x012A, 0x012B, 0x0220, 0x0228, 0x0419, 0x0429, 0x0548)]
    records = w_window((0, 0), (200, 200)) + bare + [
        w_pen(BLACK, 0, 5), w_brush(RED), w_region(-32768, -32768, 32767, 32767),  # 0, 1, 2
        w_select(0), w_select(1), wmf_record(0x012A, 9), wmf_record(0x0228, 2, 9),
        wmf_record(0x0429, 2, 1, 32767, 32767), wmf_record(0x0429, 2, 1, -32768, -32768),
        wmf_record(0x012B, 2), wmf_record(0x0548, 1, 0x00FF, 0, 32767, 32767),
        wmf_record(0x0419, 0, 0, 100, 100), wmf_record(0x0416, 80, 80, 20, 20),
        wmf_record(0x0220, 32767, 32767), w_rect(0, 0, 200, 200)]
    return wmf_file((0, 0, 200, 200), 96, records)


FILES = {
    "inside_frame.emf": inside_frame_emf,
    "regions_gdi.emf": regions_gdi_emf,
    "regions_gdi.wmf": regions_gdi_wmf,
    "flood.emf": flood_emf,
    "flood.wmf": flood_wmf,
    "flood_large.emf": flood_large_emf,
    "flood_clips.emf": flood_clips_emf,
    "flood_clips_pattern.emf": lambda: flood_clips_emf(pattern=True),
    "gradients.emf": gradients_emf,
    "polydraw.emf": polydraw_emf,
    "clip_offset.emf": clip_offset_emf,
    "clip_offset.wmf": clip_offset_wmf,
    "brush_origin.emf": brush_origin_emf,
    "absurd_gdi.emf": absurd_gdi_emf,
    "absurd_gdi.wmf": absurd_gdi_wmf,
}

if __name__ == "__main__":
    for name, make in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(make())
