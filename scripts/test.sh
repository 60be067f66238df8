#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
#   debug-asan     gcc -O0 with AddressSanitizer + UndefinedBehaviorSanitizer
#   clang-release  clang -O2, plus the engine under valgrind memcheck
#   release        gcc -O2 (also builds the benchmarks)
#   clang-debug    clang -O0, framework only
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Quick checks first: one code style, and every include within its layer.
status=0
bash scripts/check-format.sh || status=1
bash scripts/check-layers.sh || status=1

presets=(debug-asan clang-release release clang-debug)
[ $# -gt 0 ] && presets=("$@")

export QT_QPA_PLATFORM=offscreen
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
  # valgrind is slow: one optimised build is enough to catch what it catches.
  label_args=()
  [ "$preset" = clang-release ] || label_args=(-LE valgrind)
  ctest --preset "$preset" -j 2 "${label_args[@]}" || status=1
  # And the server binary links nothing of the process engine.
  bash scripts/check-layers.sh "build/$preset" || status=1
done
exit $status
