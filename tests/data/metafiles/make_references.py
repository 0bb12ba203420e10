#!/usr/bin/env python3
"""Makes what the metafile tests take from Inkscape, an independent writer and renderer of
metafiles (apt-get install --no-install-recommends inkscape; the tests themselves do not need it):
  - inkscape_scene.emf and inkscape_scene.wmf, written by Inkscape from inkscape_scene.svg;
  - reference/<file>.png, Inkscape's rendering of each metafile the tests compare, at the size
    the reader gives it (the metafile's own size at 96 dots an inch, computed here from its
    header the same way).
The committed files were made with Inkscape 1.2.2. Run from anywhere; the files land beside
this script."""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
COMPARED = [
    "shapes.wmf", "y_up.wmf", "text.wmf", "shapes.emf", "world.emf", "fill_modes.emf",
    "clip.emf", "hatch.emf", "pens.emf", "arcs.emf", "libemf_shapes.emf",
    "libemf_paths.emf", "inkscape_scene.emf", "inkscape_scene.wmf", "libreoffice_scene.wmf",
    "libreoffice_scene.emf",
]


def picture_size(data):
    """The picture's sides at 96 dots an inch: a placeable WMF's box over its units an inch, an
    EMF's frame in hundredths of a millimetre."""
    if struct.unpack_from("<I", data, 0)[0] == 0x9AC6CDD7:
        left, top, right, bottom, inch = struct.unpack_from("<hhhhH", data, 6)
        return round(abs(right - left) * 96 / inch), round(abs(bottom - top) * 96 / inch)
    left, top, right, bottom = struct.unpack_from("<iiii", data, 24)
    return round((right - left) / 2540 * 96), round((bottom - top) / 2540 * 96)


def inkscape(*args):
    # Inkscape keeps preferences under HOME: give it a scratch one.
    with tempfile.TemporaryDirectory() as home:
        subprocess.run(["inkscape", *args], check=True, env=dict(os.environ, HOME=home),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    scene = os.path.join(HERE, "inkscape_scene.svg")
    for kind in ("emf", "wmf"):
        inkscape(scene, "--export-type=" + kind,
                 "--export-filename=" + os.path.join(HERE, "inkscape_scene." + kind))
    os.makedirs(os.path.join(HERE, "reference"), exist_ok=True)
    for name in COMPARED:
        path = os.path.join(HERE, name)
        with open(path, "rb") as f:
            w, h = picture_size(f.read())
        inkscape(path, "--export-type=png", "--export-width=%d" % w, "--export-height=%d" % h,
                 "--export-filename=" + os.path.join(HERE, "reference", name + ".png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
