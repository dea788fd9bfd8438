#!/usr/bin/env bash
# Takes pictures of the game's screens with the real executable under a virtual X display,
# each session driven by an input script on the fixed clock.
#
#   scripts/take_screenshots.sh [BUILD_DIR] [OUT_DIR] [GALLERY_SEED]
#
# BUILD_DIR defaults to ./build (its game folder is used), OUT_DIR to BUILD_DIR/screenshots;
# GALLERY_SEED seeds the monster session (default 3).
# Needs Xvfb (scripts/with_xvfb.sh gives each session a display of its own). Pictures are kept
# as BMP files, or turned into PNG files by the command named
# in BMP2PNG (called as: $BMP2PNG in.bmp out.png) when it is set. Pictures:
#   hud, inventory, character                 the play screen with its HUD, then with the
#                                             inventory window (i) and character panel (c)
#   newgame_difficulty, newgame_skills, newgame_hero
#                                             the three creation screens of "New game"
#   monsters                                  the "Monster Gallery" room: monsters with their
#                                             status overlays (some asleep, depending on the seed)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
out="${2:-$build/screenshots}"
gallerySeed="${3:-3}"
game="$build/game"
mkdir -p "$out"
[ -x "$game/vaultmere" ] || { echo "no game at $game/vaultmere" >&2; exit 1; }

# Runs one session: name, script text, then the game's arguments. The screenshots of the
# session land as bitmap_N.bmp in its user folder.
session() {
    local name="$1" script="$2"
    shift 2
    local user
    user="$(mktemp -d)"
    printf '<config>\n<setting name="completedATutorial" value="1"/>\n</config>\n' > "$user/config.xml"
    printf '%s' "$script" > "$user/script.txt"
    (cd "$game" && VAULTMERE_USER_DIR="$user" VAULTMERE_INPUT_SCRIPT="$user/script.txt" \
        SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null \
        "$here/scripts/with_xvfb.sh" env SDL_VIDEODRIVER=x11 ./vaultmere "$@" \
        > "$out/$name.log" 2>&1) || echo "session $name ended with code $?" >&2
    SESSION_USER="$user"
}

# Keeps the session's Nth screenshot (from 0) as OUT_DIR/NAME.bmp (or NAME.png).
keep() {
    local n="$1" name="$2"
    if [ -f "$SESSION_USER/bitmap_$n.bmp" ]; then
        if [ -n "${BMP2PNG:-}" ] && $BMP2PNG "$SESSION_USER/bitmap_$n.bmp" "$out/$name.png"; then
            :
        else
            cp "$SESSION_USER/bitmap_$n.bmp" "$out/$name.bmp"
        fi
    else
        echo "no screenshot $n for $name" >&2
    fi
}

leave='wait 300
key escape
wait 300
click 1 585 426
wait 300
key escape
wait 300
click 1 535 458
'

# The play screen: the HUD, then the inventory window, then the character panel.
session play "seed 2
wait 600
screenshot
wait 100
key i
wait 300
screenshot
wait 100
key i
wait 100
key c
wait 300
screenshot
wait 100
key c
$leave" -no-initial-config -player-random-build -debug-flag
keep 0 hud
keep 1 inventory
keep 2 character
rm -rf "$SESSION_USER"

# The creation screens: difficulty ("hard"), skills ("Random Skills"), hero ("Testa",
# female portrait); then into the game and out again.
session newgame "wait 500
click 1 960 264
wait 300
move 640 300
wait 100
click 1 500 310
wait 300
screenshot
click 1 1230 30
wait 300
click 1 978 490
wait 300
move 700 200
wait 200
screenshot
click 1 1230 30
wait 300
key t shift
key e
key s
key t
key a
wait 100
click 1 723 519
wait 300
screenshot
click 1 1230 30
wait 300
keydown return
wait 100
keyup return
wait 300
click 1 640 360
wait 600
$leave" -no-initial-config -debug-flag
keep 0 newgame_difficulty
keep 1 newgame_skills
keep 2 newgame_hero
rm -rf "$SESSION_USER"

# Monsters in view, with their overlays.
session monsters "seed $gallerySeed
wait 600
screenshot
$leave" -no-initial-config -player-random-build -debug-flag -testroom "Monster Gallery" -x 8 -y 4
keep 0 monsters
rm -rf "$SESSION_USER"

echo "pictures in $out"
