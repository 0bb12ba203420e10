#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need that this
# Debian 12 machine does not have yet. Safe to run again: it installs only
# what is missing. The desktop test plays the real game on its own X server
# (xvfb), presses keys (xdotool), with and without a small window manager
# (evilwm, whose title font comes from xfonts-base). The game bench counts a window's frames
# through the X damage extension (libxdamage-dev). Layered windows are read back under a
# compositing manager (xcompmgr, and picom started after the program); their colour key uses the
# X Shape extension (libxext-dev), and a compositor that starts later is seen through the X
# fixes extension's selection events (libxfixes-dev).
# A tray icon docks in a notification-area host (trayer). The HTTP client's tests download from
# python3's http.server and from an nginx that each test starts on its own port; its bench compares
# it with the curl program and with a program using libcurl (libcurl4-openssl-dev). The imaging
# calls read and write JPEG with libjpeg-turbo, PNG with libpng, GIF with giflib and TIFF with
# libtiff (BMP and TGA with stb); their tests read what they write back with PIL and
# ImageMagick, which also made the test images (libtiff's tools the tiled ones), and the image
# bench times PIL beside them. Metafiles are drawn through cairo (libcairo2-dev), its text
# through fontconfig and FreeType with the Liberation faces (fonts-liberation2), and the faces of
# the other scripts a metafile's fonts name: Greek, Cyrillic, Hebrew and Arabic (fonts-dejavu-core),
# Thai (fonts-tlwg-loma-otf), Chinese, Japanese and Korean (fonts-wqy-microhei) and the symbol
# face (fonts-urw-base35).
set -euo pipefail
packages=(
  cmake make g++ clang libclang-rt-14-dev clang-format
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libstb-dev googletest libgtest-dev libbenchmark-dev
  libtinyxml2-dev libpugixml-dev python3 curl nginx libcurl4-openssl-dev
  libx11-dev libxext-dev libxfixes-dev xvfb xdotool evilwm xfonts-base libsfml-dev libxdamage-dev
  xcompmgr picom trayer libtiff-dev libgif-dev python3-pil imagemagick
  pkg-config libcairo2-dev libfontconfig-dev libfreetype-dev fonts-liberation2
  fonts-dejavu-core fonts-tlwg-loma-otf fonts-wqy-microhei fonts-urw-base35
  libjpeg62-turbo-dev libpng-dev libtiff-tools
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
