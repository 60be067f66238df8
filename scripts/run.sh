#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs the
# main job.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j 2
./build/release/examples/zorva-demo "$@"
