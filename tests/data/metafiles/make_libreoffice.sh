#!/usr/bin/env bash
# Writes libreoffice_scene.wmf and libreoffice_scene.emf with LibreOffice Draw from our own
# drawing libreoffice_scene.svg (rectangle, ellipse, triangle, a dashed line, a curve, text and a
# picture with transparent corners, which LibreOffice writes as a masked bitmap: SRCPAINT then
# SRCAND), and libreoffice_text.wmf and .emf from libreoffice_text.svg (Cyrillic, Greek and Polish
# lines, which the WMF writes in the code pages of its fonts' charsets, and a turned line).
# Needs apt-get install --no-install-recommends libreoffice-draw-nogui; the tests do not.
# The committed files were written by LibreOffice 7.4.7. Run from anywhere.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
for drawing in libreoffice_scene libreoffice_text; do
  for kind in wmf emf; do
    soffice -env:UserInstallation="file://$profile" --headless --convert-to "$kind" \
            --outdir "$here" "$here/$drawing.svg" >/dev/null 2>&1
  done
done
