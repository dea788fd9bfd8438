#!/usr/bin/env bash
# scripts/build.sh BUILD_DIR [extra cmake args...]: configures and builds everything,
# including the assembled game folder BUILD_DIR/game. Compiles through ccache when it is there.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$dir" "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
