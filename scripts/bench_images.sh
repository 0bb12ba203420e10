#!/usr/bin/env bash
# Image files against Pillow, on the same files: photographs from 640 x 480 to 2048 x 1536 and
# small sprites, as JPEG and PNG, made by Pillow in a scratch folder (scripts/lib/bench_images.py).
#  - decode: the imaging calls' decoders (libjpeg-turbo, libpng) against stb_image, which they
#    replaced, and against Pillow's decode, each file in memory;
#  - load: an image file into an engine texture through the whole imaging call
#    (KvTextureLoadImage) against Pillow's open and convert('RGBA') from the file's path, the two
#    run in turn three times; per file the medians, per format the ratios of the set.
# Builds the benches first and prints each file's times and the ratios (above 1: ours is
# faster). Times are processor time.
#   scripts/bench_images.sh [build folder] [decode|load|all] [benchmark options...]
# Without options: the decode bench in 3 repetitions in random interleaving.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
which=${2:-all}
shift 2 || shift $#
python=/usr/bin/python3  # Debian's, which has python3-pil
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j4 --target platform_image_decode_bench graphics_image_files_bench \
  >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" scripts/lib/bench_images.py make "$work/images"

if [ "$which" = decode ] || [ "$which" = all ]; then
  options=("$@")
  if [ ${#options[@]} -eq 0 ]; then
    options=(--benchmark_repetitions=3 --benchmark_enable_random_interleaving=true)
  fi
  KV_BENCH_IMAGES="$work/images" "$build/bench/platform/platform_image_decode_bench" \
    --benchmark_out="$work/decode.json" --benchmark_out_format=json "${options[@]}"
  "$python" scripts/lib/bench_images.py compare "$work/images" "$work/decode.json"
fi

if [ "$which" = load ] || [ "$which" = all ]; then
  rounds=()
  for round in 1 2 3; do
    KV_BENCH_IMAGES="$work/images" "$build/bench/graphics/graphics_image_files_bench" \
      --benchmark_out="$work/load$round.json" --benchmark_out_format=json "$@" >/dev/null
    "$python" scripts/lib/bench_images.py pillow "$work/images" "$work/pillow$round.json"
    rounds+=("$work/load$round.json:$work/pillow$round.json")
  done
  "$python" scripts/lib/bench_images.py loads "$work/images" "${rounds[@]}"
fi
