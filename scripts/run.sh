#!/usr/bin/env bash
# Builds the game and starts it from the folder that holds data/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/game/tumbix ]; then
  exec build/game/tumbix "$@"
else
  echo "The game is not built yet: the framework's libraries and tests are."
fi
