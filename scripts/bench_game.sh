#!/usr/bin/env bash
# Runs the real game and an SFML 2.5 stand-in of its frame side by side on one virtual X display
# of their own (Mesa's software renderer draws for both), and prints for each its frames a
# second, counted from the X server's window updates, and its processor share of one core over
# the same seconds: the whole process (renderer threads included) and its main thread. Builds
# first. The game runs from the top folder (it reads data/) and is measured after its intro.
#   scripts/bench_game.sh [seconds, default 20] [runs, default 3] [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
runs=${2:-3}
build=${3:-build}
scripts/deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j4 --target tumbix game_frame_sfml game_side_by_side

pids=()
# SIGKILL: the game takes a termination request in its intro for a window close, which skips the
# intro rather than ending the program, and waiting for it would then never end.
stop_all() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
}
source scripts/lib/xvfb.sh
trap 'stop_all; stop_xvfb' EXIT
# Wide enough that the centred game window and the stand-in in the corner do not overlap.
start_xvfb 2400x1400x24

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  echo "run $run of $runs, $seconds s:"
  "$build/game/tumbix" >/dev/null 2>&1 &
  game=$!
  "$build/bench/game/game_frame_sfml" >/dev/null 2>&1 &
  peer=$!
  pids=("$game" "$peer")
  "$build/bench/game/game_side_by_side" "$seconds" game "$game" "Kelvo Tumbix" 800x600 \
    sfml "$peer" "SFML game frame" 800x600
  stop_all
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
