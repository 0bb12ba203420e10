#!/usr/bin/env bash
# Checks that no include crosses to a folder above its own, that every source keeps the tree's
# format and that no engine number is written bare at a call, then builds and runs every test:
# the normal build, the same suite under AddressSanitizer and UndefinedBehaviorSanitizer (leaks
# fail), the same suite built with clang (so a result that differs between the two compilers
# fails a test; any clang warning fails the build), and each libFuzzer target for 30 seconds
# when clang is present. Each suite includes the desktop test, which plays the real game on an
# X server of its own (Xvfb): the offscreen driver set below is for the in-process tests only.
# On the normal build every test also runs beside a copy of itself, so that a test that shares a
# file, folder, port or display with another copy fails here rather than at random.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
export SDL_VIDEODRIVER=offscreen

echo "== layers, format and engine numbers"
scripts/check_layers.sh
scripts/check_format.sh
scripts/check_numbers.py

echo "== normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== every test beside a copy of itself"
scripts/test_side_by_side.py --build build --jobs 2

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== clang build"
cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-clang -j"$jobs"
ctest --test-dir build-clang --output-on-failure -j"$jobs"

if command -v clang++ >/dev/null; then
  echo "== fuzzers, 30 seconds each"
  cmake -S . -B build-fuzz -DKV_FUZZ=ON -DKV_TESTS=OFF -DKV_BENCH=OFF \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build-fuzz -j"$jobs"
  scripts/fuzz.sh build-fuzz 30
fi
