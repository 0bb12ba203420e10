#!/usr/bin/env python3
"""Writes inkscape_gradient.emf with Inkscape from inkscape_gradient.svg: two rectangles of linear
gradients, across and down, which Inkscape writes as EMR_GRADIENTFILL rectangles when its EMF
output is set to use native rectangular linear gradients (its FixPPTLinGrad option, set here in a
scratch preferences file). Needs apt-get install --no-install-recommends inkscape; the tests do
not. The committed file was made with Inkscape 1.2.2. Run from anywhere."""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PREFERENCES = """<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<inkscape xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
          xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" version="1">
  <group id="extensions" org.inkscape.output.emf.FixPPTLinGrad="true"/>
</inkscape>
"""

with tempfile.TemporaryDirectory() as home:
    os.makedirs(os.path.join(home, ".config", "inkscape"))
    with open(os.path.join(home, ".config", "inkscape", "preferences.xml"), "w") as f:
        f.write(PREFERENCES)
    subprocess.run(["inkscape", os.path.join(HERE, "inkscape_gradient.svg"), "--export-type=emf",
                    "--export-filename=" + os.path.join(HERE, "inkscape_gradient.emf")],
                   check=True, env=dict(os.environ, HOME=home), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
