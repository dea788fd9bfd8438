#!/usr/bin/env bash
# Installs what is missing, builds the game and runs every test: once in a normal build
# and once in an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install_deps.sh"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
jobs="$(nproc)"

# No file may include a header of a higher layer (docs/architecture.md).
python3 "$here/scripts/check_layers.py" "$here"

"$here/scripts/build.sh" "$here/build"
(cd "$here/build" && ctest --output-on-failure -j"$jobs" --timeout 300)

if [ "${VAULTMERE_SKIP_SANITIZE:-0}" != "1" ]; then
  "$here/scripts/build.sh" "$here/build-asan" -DVAULTMERE_SANITIZE=ON -DVAULTMERE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions='$here/tests/lsan.supp'"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$here/build-asan" && ctest --output-on-failure -j"$jobs" --timeout 600)
fi
