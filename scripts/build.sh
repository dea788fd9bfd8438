#!/usr/bin/env bash
# scripts/build.sh BUILD_DIR [extra cmake args...]: configures and builds everything,
# including the assembled game folder BUILD_DIR/game.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$here" -B "$dir" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
