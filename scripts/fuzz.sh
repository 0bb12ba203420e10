#!/usr/bin/env bash
# Runs every libFuzzer target found in a fuzz build folder for the given number
# of seconds, side by side, and fails when any of them finds a fault.
set -uo pipefail
dir=$(realpath "${1:-build-fuzz}")  # absolute: some targets work in a folder of their own
seconds=${2:-30}
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/lsan.supp"
export SDL_VIDEODRIVER=offscreen
mapfile -t targets < <(find "$dir/fuzz" -type f -executable -name 'fuzz_*' | sort)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }
pids=()
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="$dir/corpus/$name"; mkdir -p "$corpus"
  ( "$t" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$dir/$name-" "$corpus" \
      >"$dir/$name.log" 2>&1 ) &
  pids+=($!)
done
failed=0; passed=0
for i in "${!targets[@]}"; do
  name=$(basename "${targets[$i]}")
  if wait "${pids[$i]}"; then
    passed=$((passed + 1)); echo "fuzz $name: ok"
  else
    failed=$((failed + 1)); echo "fuzz $name: FAILED"; tail -n 40 "$dir/$name.log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
