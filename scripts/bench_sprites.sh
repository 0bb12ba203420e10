#!/usr/bin/env bash
# Runs the sprite bench (the engine against SDL_Renderer and SFML) on a virtual X display of its
# own, since SFML draws only into X windows; every renderer uses that display, so all present to
# the same kind of window. Builds first. Prints the table, then each renderer's median frame time
# at 10,000 and 20,000 sprites and the engine's ratio to the fastest peer.
#   scripts/bench_sprites.sh [build folder] [benchmark options...]
# Without options: 5 repetitions in random interleaving, so that a burst of load from elsewhere
# on the machine spreads over all renderers instead of landing on one.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
scripts/deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j4 --target engine_sprites_bench

source scripts/lib/xvfb.sh
trap stop_xvfb EXIT
start_xvfb 1024x768x24

if [ $# -eq 0 ]; then
  set -- --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
fi
"$build/bench/engine/engine_sprites_bench" "$@"
