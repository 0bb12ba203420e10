#!/usr/bin/env bash
# Fails when a file includes a header of a folder above its own. The layers, bottom up:
#   platform, engine, foundation, app, graphics, then gui and net (side by side, neither
#   includes the other), core, game; tools/ stands on top. tests/, bench/ and fuzz/ mirror
#   the source folders and follow the rule of the folder they mirror.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([platform]=0 [engine]=1 [foundation]=2 [app]=3 [graphics]=4 [gui]=5 [net]=5
                 [core]=6 [game]=7 [tools]=8)
status=0
while IFS= read -r file; do
  top=${file%%/*}
  case $top in tests|bench|fuzz) rest=${file#*/}; top=${rest%%/*} ;; esac
  [ -n "${rank[$top]:-}" ] || continue
  while IFS= read -r target; do
    [ -n "${rank[$target]:-}" ] || continue
    if [ "$target" != "$top" ] && [ "${rank[$target]}" -ge "${rank[$top]}" ]; then
      echo "$file includes a header of $target/, which is not below $top/"
      status=1
    fi
  done < <(sed -n 's#^\s*\#include "\([a-z_]*\)/.*#\1#p' "$file")
done < <(git ls-files '*.cpp' '*.h')
[ $status -eq 0 ] && echo "layers: no include crosses to a folder above its own"
exit $status
