#!/usr/bin/env bash
# Builds the game alone (the target tumbix and the libraries and tools it needs, no test or
# benchmark) and starts it from the top folder, where it finds data/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tumbix -j"$(nproc)"
exec build/game/tumbix "$@"
