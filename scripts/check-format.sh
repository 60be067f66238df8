#!/usr/bin/env bash
# Fails when a C++ file differs from what .clang-format makes of it.
# Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'format: %s differs from .clang-format\n' "${unformatted[@]}"
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format has them"
