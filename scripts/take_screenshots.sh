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
#   main_menu, load_empty, high_scores_empty, credits, tutorials
#                                             the main menu and the screens it opens, with no
#                                             saves and no scores yet
#   skills, quests, game_menu, level_up
#                                             the play screen's other windows and the level-up
#                                             notice (the debug key "l" raises a level)
#   shop, vending, vending_tooltip            the inventory on a shop floor (selling) and a
#                                             vending machine, with a tooltip of its goods
#   load_saves, high_scores                   the load screen and the high scores once a game
#                                             has been saved and a hero has died
# Last, every picture is laid on one contact sheet, OUT_DIR/contact_sheet.png, by the
# contactsheet tool of the build (four pictures a row, each captioned with its name).
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
        "$here/scripts/with_xvfb.sh" env SDL_VIDEODRIVER=x11 timeout 90 ./vaultmere "$@" \
        > "$out/$name.log" 2>&1) || echo "session $name ended with code $?" >&2
    SESSION_USER="$user"
}

# Keeps the session's Nth screenshot (from 0) as OUT_DIR/NAME.bmp (or NAME.png); the BMP is
# kept in any case for the contact sheet.
kept=()
keep() {
    local n="$1" name="$2"
    if [ -f "$SESSION_USER/bitmap_$n.bmp" ]; then
        cp "$SESSION_USER/bitmap_$n.bmp" "$out/$name.bmp"
        kept+=("$out/$name.bmp=$name")
        if [ -n "${BMP2PNG:-}" ] && $BMP2PNG "$SESSION_USER/bitmap_$n.bmp" "$out/$name.png"; then
            :
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

# The main menu and the screens it opens, before any game was saved or any score recorded.
# Buttons of the 1280 x 720 menu: rows 44 pixels apart from y 244 (New Game) at x 960.
session menus "wait 800
screenshot
move 960 310
wait 100
click 1 960 310
wait 500
screenshot
click 1 60 30
wait 500
move 960 354
wait 100
click 1 960 354
wait 500
screenshot
click 1 640 360
wait 500
move 960 398
wait 100
click 1 960 398
wait 800
screenshot
key escape
wait 500
click 1 640 360
wait 500
click 1 960 486
wait 300
quit
" -no-initial-config
keep 0 main_menu
keep 1 load_empty
keep 2 high_scores_empty
keep 3 credits
rm -rf "$SESSION_USER"

# The tutorial list, opened from a fresh main menu.
session tutorials "wait 800
move 960 442
wait 200
click 1 960 442
wait 1500
screenshot
key escape
wait 300
quit
" -no-initial-config
keep 0 tutorials
rm -rf "$SESSION_USER"

# The play screen's other windows: the skill tome (k), the quest log (q), the game menu (m) and
# the level-up notice (the debug key l).
session windows "seed 2
wait 600
key k
wait 300
screenshot
key k
wait 200
key q
wait 300
screenshot
key q
wait 200
key m
wait 300
screenshot
key escape
wait 300
key l
wait 600
screenshot
$leave" -no-initial-config -player-random-build -debug-flag
keep 0 skills
keep 1 quests
keep 2 game_menu
keep 3 level_up
rm -rf "$SESSION_USER"

# The shop: on the shop floor the inventory window offers to sell.
session shop "seed 1
wait 800
key i
wait 600
screenshot
$leave" -no-initial-config -player-random-build -debug-flag -testroom "Shop Test Counter" -x 6 -y 2
keep 0 shop
rm -rf "$SESSION_USER"

# A vending machine: the hero stands under the food machine (4, 1), drawn at (704, 340), and
# clicks it; then the pointer rests on the first of its goods (the 320 x 320 window is centred:
# its first slot at (500, 288)).
session vending "seed 1
wait 800
move 704 340
wait 100
click 1 704 340
wait 800
screenshot
move 530 320
wait 800
screenshot
$leave" -no-initial-config -player-random-build -debug-flag -testroom "Vending Arcade" -x 4 -y 2
keep 0 vending
keep 1 vending_tooltip
rm -rf "$SESSION_USER"

# Every picture of this run on one sheet.
sheet_tool="$build/contactsheet"
if [ -x "$sheet_tool" ] && [ "${#kept[@]}" -gt 0 ]; then
    "$sheet_tool" "$out/contact_sheet.png" 4 400 "${kept[@]}" || echo "the contact sheet has gaps" >&2
else
    echo "no contact sheet: $sheet_tool is not built or no picture was taken" >&2
fi
echo "pictures in $out"
