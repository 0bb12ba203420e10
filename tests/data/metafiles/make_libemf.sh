#!/usr/bin/env bash
# Builds libemf_scenes.cpp against libEMF (libemf-dev) and writes its EMF files beside this
# script. Only this script needs libEMF; the tests read the committed files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -o "$work/libemf_scenes" "$here/libemf_scenes.cpp" -lEMF
"$work/libemf_scenes" "$here"
