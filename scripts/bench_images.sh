#!/usr/bin/env bash
# Decoding speed of JPEG and PNG files into R, G, B, A pixels: the imaging calls' decoders
# (libjpeg-turbo, libpng) against stb_image, which they replaced, and against Pillow, on the same
# files: photographs from 640 x 480 to 2048 x 1536 and small sprites, made by Pillow in a scratch
# folder (scripts/lib/bench_images.py). Builds the bench first, runs it, times Pillow, and prints
# each file's times and the ratios (above 1: the new decoders are faster). Times are processor
# time, medians of the repetitions.
#   scripts/bench_images.sh [build folder] [benchmark options...]
# Without options: 3 repetitions in random interleaving.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
python=/usr/bin/python3  # Debian's, which has python3-pil
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j4 --target platform_image_decode_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" scripts/lib/bench_images.py make "$work/images"
if [ $# -eq 0 ]; then
  set -- --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true
fi
KV_BENCH_IMAGES="$work/images" "$build/bench/platform/platform_image_decode_bench" \
  --benchmark_out="$work/results.json" --benchmark_out_format=json "$@"
"$python" scripts/lib/bench_images.py compare "$work/images" "$work/results.json"
