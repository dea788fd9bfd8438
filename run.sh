#!/usr/bin/env bash
# Installs what is missing, builds the game, assembles the game folder and starts the game.
# Arguments are passed to the game (for example: ./run.sh -w -player-random-build).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install_deps.sh"
"$here/scripts/build.sh" "$here/build" -DVAULTMERE_TESTS=OFF
cd "$here/build/game"
exec ./vaultmere "$@"
