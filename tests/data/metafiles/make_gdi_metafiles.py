#!/usr/bin/env python3
"""Writes the hand-built metafiles of the records GDI draws beyond the common shapes: pens drawn
inside their frame, region frames and inversions, gradient fills, flood fills, PolyDraw, AngleArc
and the clip's offset. Each file is built record by record with make_metafiles.py's helpers, on a
picture of one device unit a pixel where it can be, so that the tests' probes are the records'
own numbers. Run from anywhere; the files land beside this script."""
import os
import struct

from make_metafiles import (BLACK, BLUE, GREEN, HERE, RED, WHITE, YELLOW, e_brush, e_ellipse,
                            e_extpen, e_pen, e_poly, e_rect, e_select, e_u32, emf_file,
                            emf_record, ints, rgb, w_brush, w_pen, w_rect, w_select, w_window,
                            wmf_file, wmf_record)

# An EMF of 384 x 288 pixels whose device units are pixels: a frame of 101.6 x 76.2 mm for a
# device of 960 pixels over 254 mm (96 an inch).
PIXEL_FRAME, PIXEL_DEVICE, PIXEL_MM = (0, 0, 10160, 7620), (960, 960), (254, 254)


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


FILES = {
    "inside_frame.emf": inside_frame_emf,
}

if __name__ == "__main__":
    for name, make in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(make())
