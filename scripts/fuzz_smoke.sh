#!/usr/bin/env bash
# scripts/fuzz_smoke.sh [SECONDS]: builds the loader fuzzers (fuzz/, clang with ASan, UBSan and
# libFuzzer) in build-fuzz/, seeds a corpus per loader from data/ and the assembled game folder
# of build/ (when there is one), and runs every fuzzer for SECONDS (default 5) on its corpus,
# four at a time (VAULTMERE_FUZZ_TARGET=<loader> build-fuzz/fuzz_loaders). Fails on any crash, leak, timeout or allocation above the cap; the input
# that did it is kept as build-fuzz/findings/<loader>/crash-* (or leak-, timeout-, oom-).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-5}"
out="$here/build-fuzz"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here/fuzz" -B "$out" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$out" -j"${FUZZ_JOBS:-4}" >/dev/null
fuzzer="$out/fuzz_loaders"
# The program names its loaders when it is not given one.
names="$("$fuzzer" 2>&1 >/dev/null || true)"
sed -n 's/^Set VAULTMERE_FUZZ_TARGET to one of: //p' <<<"$names" | tr ' ' '\n' >"$out/fuzz_targets.txt"
[ -s "$out/fuzz_targets.txt" ] || { echo "$fuzzer did not name its loaders"; exit 1; }

# ---------------------------------------------------------------- the seeds
corpus="$out/corpus"
rm -rf "$corpus" "$out/findings" "$out/logs"
mkdir -p "$corpus" "$out/findings" "$out/logs"
seed() {  # seed LOADER NAME TEXT...: a seed file written with printf
  mkdir -p "$corpus/$1"
  local target="$1" name="$2"; shift 2
  printf "$@" >"$corpus/$target/$name"
}
copy() {  # copy LOADER FILE...: seed files copied as they are
  local target="$1"; shift
  mkdir -p "$corpus/$target"
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$corpus/$target/"; done
  return 0
}
game="$here/data/game"
copy spelldb "$game/spellDB.xml";   copy mondb "$game/monDB.xml";      copy skilldb "$game/skillDB.xml"
copy itemdb "$game/itemDB.xml";     copy craftdb "$game/craftDB.xml";  copy branchdb "$game/branchDB.xml"
copy rooms "$game/rooms.xml";       copy textdb "$game/text.xml";      copy mantemplates "$game/manTemplateDB.xml"
copy quests "$game/quests.xml";     copy speech "$game/speech.xml";    copy tweak "$game/tweakDB.xml"
copy tutorial "$game/tutorial.xml"; copy soundfx "$game/soundfx.xml"
seed config full '<config>\n<setting name="enableMusic" value="1"/>\n<setting name="VolumeMusic" value="40"/>\n<keybinding pos="belt3" value="51" mod="1"/>\n<autoloot pos="3" value="1"/>\n<tutorial name="Basics" complete="1" />\n<mod name="A &amp; B" />\n</config>\n'
seed hiscores two 'Brannoc 5120\nTamsin 99\n'
seed last seven '3\n14\n15\n92\n65\n35\n89\n'
seed modxml mod '<zarnochmod><name text="Ember"/><author text="Ines"/><description text="About it"/></zarnochmod>'
seed inputscript all 'seed 3\nframes 16x4 33\nwait 100\nkey a shift\nkeydown b\nkeyup b\nmove 10 20\nclick 1 5 6\nbuttondown 3 1 1\nbuttonup 3 1 1\nscreenshot\nquit # done\n'
seed store stats '\000achievement ACHIEVEMENT_CRASH_GAME\nstat kills 3\n'
seed store boards '\001500 Deepest\n'
seed store faults '\002delay 2\nempty-page\nshort-read\ndownload-size 3\nio-failure details\n'
seed store subscribed '\003100001\n100002\n'
seed store meta '\004title T\ndescription D\nauthor A\nupdated 7\nbanned 0\n'
seed store notify '\006subscribe 100001\nunsubscribe 100001\n'
python3 - "$corpus" <<'PY'
import io, struct, sys, zipfile, zlib
corpus = sys.argv[1]
def put(target, name, data):
    import os
    os.makedirs(f"{corpus}/{target}", exist_ok=True)
    open(f"{corpus}/{target}/{name}", "wb").write(data)
mod = io.BytesIO()
with zipfile.ZipFile(mod, "w", zipfile.ZIP_STORED) as z:
    z.writestr("mod/mod.xml", '<zarnochmod><name text="Z"/></zarnochmod>')
put("store", "content", b"\x05" + mod.getvalue())
for name, text in (("save", b"a saved game" * 40), ("index", b"\x01\x00\x00\x00name")):
    put("cloud", name, struct.pack("<II", zlib.crc32(text), len(text)) + zlib.compress(text, 9))
put("cloud", "empty", b"")
# A picture of 80 bytes whose IDAT chunk states 0x7E000066 bytes: refused before any decoder
# sizes a buffer by it.
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0))
put("picture", "idat-past-the-end.png", png + struct.pack(">I", 0x7E000066) + b"IDAT" + b"Z" * 35 + bytes(4))
PY
copy ogg "$here"/tests/media/music_fixtures/*.ogg
copy ogg "$here/data/tunes/thief-open.ogg" "$here/data/tunes/brawl-open.ogg"
assembled="$here/build/game"
if [ -d "$assembled" ]; then
  copy wav $(find "$assembled/sfx" -name '*.wav' -size -24k | sort | head -4)
  copy picture $(find "$assembled/ui" -name '*.png' -size -3k | sort | head -6)
  copy picture $(find "$assembled/tilesets" -name '*.png' -size -4k | sort | head -2)  # palette pictures
fi
# The saves, the save index and the cloud copies of a short game of the real executable.
exe="$here/build/vaultmere"
if [ -x "$exe" ] && [ -d "$assembled" ]; then
  play="$(mktemp -d)"
  printf '<config>\n<setting name="completedATutorial" value="1"/>\n</config>\n' >"$play/config.xml"
  (cd "$assembled" && exec env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null \
     VAULTMERE_USER_DIR="$play" VAULTMERE_STORE_DIR="$play/store" VAULTMERE_TICKER_LOG="$play/ticker.txt" \
     "$exe" -no-initial-config -player-random-build >/dev/null 2>&1) &
  pid=$!
  for _ in $(seq 1 300); do
    grep -q "Welcome" "$play/ticker.txt" 2>/dev/null && break
    sleep 0.1
  done
  # In play a termination signal saves the game first.
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" || true
  copy save "$play"/*.sav
  copy loadsave "$play/loadsave.dat"
  copy last "$play/last.txt"
  copy cloud "$play"/store/cloud/*
  rm -rf "$play"
fi
for target in $(cat "$out/fuzz_targets.txt"); do mkdir -p "$corpus/$target"; done
for target in loadsave save picture wav; do
  [ -n "$(ls -A "$corpus/$target")" ] || seed "$target" tiny 'x'
done

# ---------------------------------------------------------------- the runs
run_one() {
  local target="$1" seconds="$2" out="$3"
  mkdir -p "$out/findings/$target"
  # Copies of the seeds: what the fuzzer adds stays out of the next run's seeds.
  local work; work="$(mktemp -d)"
  cp -r "$out/corpus/$target/." "$work/"
  if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      VAULTMERE_FUZZ_TARGET="$target" "$out/fuzz_loaders" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
      -malloc_limit_mb=128 -max_len=131072 -print_final_stats=1 \
      -artifact_prefix="$out/findings/$target/" >"$out/logs/$target.log" 2>&1; then
    echo "$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$out/logs/$target.log" | grep -o '[0-9]*$') runs, nothing found"
    rm -rf "$work"
  else
    rm -rf "$work"
    echo "$target: FAILED"
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$out/logs/$target.log" | head -12
    return 1
  fi
}
export -f run_one
if ! xargs -P 4 -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$out" <"$out/fuzz_targets.txt"; then
  echo "A fuzzer found a fault; its log is in $out/logs/ and its input in $out/findings/."
  exit 1
fi
