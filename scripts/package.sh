#!/usr/bin/env bash
# Builds the Debian package zorva_VERSION_amd64.deb with CPack from the
# release build (built first if needed) and prints its path on the last line.
#   scripts/package.sh [BUILD_DIR] [OUTPUT_DIR]   (default build/release, build/package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=${2:-build/package}

if [ ! -f "$build/CMakeCache.txt" ]; then
  [ "$build" = build/release ] || { echo "package: $build is not a configured build" >&2; exit 2; }
  cmake --preset release >/dev/null
fi
cmake --build "$build" -j 2 >/dev/null
mkdir -p "$out"
out=$(cd "$out" && pwd)
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" || { cat "$out/cpack.log" >&2; exit 1; }
ls "$out"/zorva_*_amd64.deb
