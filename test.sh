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

# The OpenGL picture test needs a real display: it runs here under Xvfb (Mesa's software
# renderer), asked for by name. It must pass; a skip counts as a failure.
gl_log="$here/build/opengl_xvfb.log"
if ! xvfb-run -a -s "-screen 0 1280x720x24" env SDL_VIDEODRIVER=x11 VAULTMERE_GL_TEST=1 \
    "$here/build/vaultmere_tests" --gtest_filter='OpenGLPresentTest.TheOpenGLPictureMatchesTheScreenSurface' \
    >"$gl_log" 2>&1 || ! grep -q '^\[  PASSED  \] 1 test\.$' "$gl_log" || grep -q 'SKIPPED' "$gl_log"; then
  cat "$gl_log"
  echo "The OpenGL picture test did not pass under Xvfb."
  exit 1
fi
grep -E '^\[ +(OK|PASSED) +\]' "$gl_log"

(cd "$here/build" && ctest --output-on-failure -j"$jobs" --timeout 300)

# Every loader under its libFuzzer harness for a few seconds (fuzz/, a clang build of its own).
"$here/scripts/fuzz_smoke.sh"

if [ "${VAULTMERE_SKIP_SANITIZE:-0}" != "1" ]; then
  "$here/scripts/build.sh" "$here/build-asan" -DVAULTMERE_SANITIZE=ON -DVAULTMERE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions='$here/tests/lsan.supp'"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$here/build-asan" && ctest --output-on-failure -j"$jobs" --timeout 600)
fi
