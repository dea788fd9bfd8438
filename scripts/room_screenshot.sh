#!/bin/bash
# Takes a screenshot of a test room in a real X window (under an Xvfb of its own) with the game's own
# screenshot routine, and writes it as a PNG.
#
#   scripts/room_screenshot.sh BUILD_DIR ROOM X Y OUT.png [WAIT_MS]
#
# e.g. scripts/room_screenshot.sh build "Fixture Gallery" 6 4 gallery.png
#      scripts/room_screenshot.sh build "Lock and Trap Room" 3 4 locks.png
# The hero starts on (X, Y) of the room; the picture is taken WAIT_MS (default 1500) after the
# game first asks for input. Needs Xvfb and python3.
set -e
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "$1" && pwd)
ROOM=$2
X=$3
Y=$4
OUT=$5
WAIT=${6:-1500}
USERDIR=$(mktemp -d)
trap 'rm -rf "$USERDIR"' EXIT
printf '<config>\n<setting name="completedATutorial" value="1"/>\n</config>\n' > "$USERDIR/config.xml"
printf 'seed 1\nwait %s\nscreenshot\nwait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n' \
    "$WAIT" > "$USERDIR/script.txt"
cd "$BUILD/game"
"$HERE/with_xvfb.sh" env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null \
    VAULTMERE_USER_DIR="$USERDIR" VAULTMERE_INPUT_SCRIPT="$USERDIR/script.txt" \
    ./vaultmere -no-initial-config -player-random-build -testroom "$ROOM" -x "$X" -y "$Y" > "$USERDIR/out.txt" 2>&1 || {
    tail -20 "$USERDIR/out.txt"
    exit 1
}
SHOT=$(ls "$USERDIR"/bitmap_*.bmp 2> /dev/null | head -1)
if [ -z "$SHOT" ]; then
    echo "no screenshot was taken" >&2
    tail -20 "$USERDIR/out.txt" >&2
    exit 1
fi
cd - > /dev/null
python3 - "$SHOT" "$OUT" << 'EOF'
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
offset = struct.unpack_from('<I', data, 10)[0]
width, height = struct.unpack_from('<ii', data, 18)
bpp = struct.unpack_from('<H', data, 28)[0] // 8
stride = (width * bpp + 3) & ~3
rows = []
for y in range(abs(height)):
    src = height - 1 - y if height > 0 else y
    row = data[offset + src * stride: offset + src * stride + width * bpp]
    out = bytearray(b'\0')
    for x in range(width):
        b, g, r = row[x * bpp: x * bpp + 3]
        out += bytes((r, g, b))
    rows.append(bytes(out))
def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff)
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, abs(height), 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(b''.join(rows))) + chunk(b'IEND', b'')
open(sys.argv[2], 'wb').write(png)
EOF
echo "$OUT"
