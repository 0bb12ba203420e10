#!/usr/bin/env bash
# Fails when a C++ source of the tree differs from the format written in .clang-format.
# With --fix it reformats those files instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run -Werror "${files[@]}"
  echo "format: ${#files[@]} files as .clang-format says"
fi
