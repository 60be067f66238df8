#!/usr/bin/env bash
# Fails when a file includes something its layer may not see. The layers,
# lowest first: wire <- engine <- kernel <- connection <- animation, ui;
# the server sees only wire; a model sees the framework and its own lock.
# Optionally also checks that the server binary links no engine code:
#   scripts/check-layers.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

# folder | quoted includes it may use (folder prefixes) | may it include Qt?
rules=(
  "framework/wire|wire|no"
  "framework/engine|wire engine|no"
  "framework/kernel|wire engine kernel|no"
  "framework/connection|wire engine kernel connection|yes"
  "framework/animation|wire engine kernel animation|yes"
  "framework/ui|wire engine kernel connection animation ui|yes"
  "server|wire|yes"
  "models/lock|wire engine kernel connection animation ui lock|no"
  "models/west|wire engine kernel connection animation ui lock west|no"
  "models/east|wire engine kernel connection animation ui lock east|no"
)

failed=0
for rule in "${rules[@]}"; do
  IFS='|' read -r folder allowed qt <<<"$rule"
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$line")
      # Files of the same folder are included by their bare name.
      [[ $target != */* ]] && continue
      # The generated version header is a leaf that every layer may read.
      [[ $target == zorva/version.h ]] && continue
      prefix=${target%%/*}
      if [[ " $allowed " != *" $prefix "* ]]; then
        echo "layers: $file includes \"$target\", which $folder may not see"
        failed=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    if [ "$qt" = no ] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
      echo "layers: $file includes Qt, which $folder may not"
      failed=1
    fi
  done < <(find "$folder" \( -name '*.h' -o -name '*.cpp' \) -print0)
done

if [ $# -gt 0 ]; then
  server=$1/server/zorva-server
  if [ -x "$server" ] && nm -C "$server" | grep -qE 'zorva::(ZorvaProcessElement|SequencingSet|RunSimulation)'; then
    echo "layers: $server links code of the process engine"
    failed=1
  fi
fi

[ $failed -eq 0 ] && echo "layers: every include keeps to its layer"
exit $failed
