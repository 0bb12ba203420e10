#!/usr/bin/env bash
# Runs the layered-window bench (engine_layered_bench) on a virtual X display of its own, first
# without and then with a compositing manager (xcompmgr): a colour-keyed 800 x 600 window against
# the same window without a key, and the intro's 640 x 260 window with per-pixel alpha where a
# compositor runs. Builds first.
#   scripts/bench_layered.sh [build folder] [benchmark options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
scripts/deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j4 --target engine_layered_bench

source scripts/lib/xvfb.sh
compositor=
stop_all() {
  if [ -n "$compositor" ]; then kill "$compositor" 2>/dev/null || true; fi
  stop_xvfb
}
trap stop_all EXIT
start_xvfb 1024x768x24

if [ $# -eq 0 ]; then
  set -- --benchmark_repetitions=3
fi
echo "== without a compositing manager"
"$build/bench/engine/engine_layered_bench" "$@"
xcompmgr 2>/dev/null &
compositor=$!
sleep 0.5
echo "== with a compositing manager (xcompmgr)"
"$build/bench/engine/engine_layered_bench" "$@"
