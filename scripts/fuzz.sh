#!/usr/bin/env bash
# Runs every libFuzzer target found in a fuzz build folder for the given number of seconds and
# fails when any of them finds a fault:
#   scripts/fuzz.sh [build folder] [seconds per target] [targets at a time]
# CI runs each target for 30 seconds, all side by side; a longer run on a shared machine gives
# more seconds and fewer targets at a time, e.g. `nice -n 19 scripts/fuzz.sh build-fuzz 3600 4`.
# Each target starts from its seed corpus fuzz/<folder>/corpus/<name>/ (the target's name
# without "fuzz_"), copied into a working corpus build/corpus/fuzz_<name>/ so that the committed
# seeds are never changed (inputs found by earlier runs stay there too), and gets the keyword
# dictionary fuzz/<folder>/<name>.dict when there is one.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath "${1:-build-fuzz}")  # absolute: some targets work in a folder of their own
seconds=${2:-30}
mapfile -t targets < <(find "$dir/fuzz" -type f -executable -name 'fuzz_*' | sort)
at_once=${3:-${#targets[@]}}
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
export SDL_VIDEODRIVER=offscreen
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }

# Runs one target; its exit status goes to build/fuzz_<name>.rc, its output to .log.
run() {
  local target=$1 name folder short work
  name=$(basename "$target")
  short=${name#fuzz_}
  folder=$(dirname "${target#"$dir"/}")  # fuzz/<folder>, as in the source tree
  work="$dir/corpus/$name"
  mkdir -p "$work"
  local options=(-max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$dir/$name-")
  [ -d "$root/$folder/corpus/$short" ] && cp -n "$root/$folder/corpus/$short"/* "$work"/
  [ -f "$root/$folder/$short.dict" ] && options+=(-dict="$root/$folder/$short.dict")
  "$target" "${options[@]}" "$work" >"$dir/$name.log" 2>&1
  echo $? >"$dir/$name.rc"
}

for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$at_once" ]; do wait -n; done
  rm -f "$dir/$(basename "$t").rc"
  run "$t" &
done
wait

failed=0; passed=0
for t in "${targets[@]}"; do
  name=$(basename "$t")
  if [ "$(cat "$dir/$name.rc" 2>/dev/null)" = 0 ]; then
    passed=$((passed + 1)); echo "fuzz $name: ok ($(grep -o 'cov: [0-9]*' "$dir/$name.log" | tail -1))"
  else
    failed=$((failed + 1)); echo "fuzz $name: FAILED"; tail -n 40 "$dir/$name.log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
