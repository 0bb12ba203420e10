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

number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$number_file"' EXIT
for _ in $(seq 100); do
  [ -s "$number_file" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$number_file" ] || { echo "Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$number_file")"
unset SDL_VIDEODRIVER

if [ $# -eq 0 ]; then
  set -- --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
fi
"$build/bench/engine/engine_sprites_bench" "$@"
