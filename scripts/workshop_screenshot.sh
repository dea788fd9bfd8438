#!/bin/bash
# Opens the crafting panel in the "Tinker's Workshop" test room under Xvfb and saves the screen.
# Usage: scripts/workshop_screenshot.sh [build dir] [output folder]
# The picture is <output folder>/bitmap_0.bmp: the panel at (100, 100) with its alchemy rows,
# after the hero has picked up the alchemy kit and its reagents.
set -e
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:-build}" && pwd)
OUT=$(mkdir -p "${2:-/tmp/workshop_screenshot}" && cd "${2:-/tmp/workshop_screenshot}" && pwd)
rm -f "$OUT"/bitmap_*.bmp
printf '<config>\n<setting name="completedATutorial" value="1"/>\n</config>\n' > "$OUT/config.xml"
cat > "$OUT/script.txt" <<'SCRIPT'
seed 5
wait 400
keydown left_shift
click 1 640 352
wait 200
click 1 704 352
wait 200
click 1 704 352
wait 200
keyup left_shift
wait 200
key 1 alt
wait 300
click 1 630 255
wait 300
move 560 430
wait 100
screenshot
wait 100
key escape
wait 300
key escape
wait 300
click 1 585 426
wait 300
key escape
wait 300
click 1 535 458
SCRIPT
cd "$BUILD/game"
"$HERE/with_xvfb.sh" env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null \
    VAULTMERE_USER_DIR="$OUT" VAULTMERE_INPUT_SCRIPT="$OUT/script.txt" \
    ./vaultmere -no-initial-config -player-random-build -testroom "Tinker's Workshop" -x 6 -y 4 > "$OUT/output.txt" 2>&1
echo "$OUT/bitmap_0.bmp"
