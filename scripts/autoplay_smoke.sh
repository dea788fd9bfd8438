#!/usr/bin/env bash
# A few short whole games of the real program, played by the autoplay tool of a build folder:
# fails on a crash, a hang, a game stuck before its turn limit or a sanitizer report.
#   scripts/autoplay_smoke.sh BUILD_DIR [TURN_LIMIT] [SECONDS_PER_GAME]
set -euo pipefail
build="${1:?usage: autoplay_smoke.sh BUILD_DIR [TURN_LIMIT] [SECONDS_PER_GAME]}"
turns="${2:-300}"
per_game="${3:-25}"
logs="$(mktemp -d /tmp/autoplay_smoke.XXXXXX)"
trap 'rm -rf "$logs"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
code=0
timeout -s KILL $((3 * per_game + 15)) "$build/autoplay" --seeds 1,2,3 --turn-limit "$turns" --game-timeout "$per_game" \
  --keep-logs "$logs" --quiet || code=$?
if [ "$code" -ne 0 ]; then
  for log in "$logs"/*.log; do
    [ -f "$log" ] || continue
    echo "---- $log (last lines)"
    tail -n 40 "$log"
  done
  echo "The autoplay smoke run failed (exit $code)."
  exit 1
fi
