#!/usr/bin/env bash
# Paired comparison of two commits: bench/compare.sh BASE HEAD
#
# Builds both commits in Release (each in a git worktree under the temporary folder, with
# ccache when it is installed), then runs every benchmark alternately - base, head, base,
# head ..., one benchmark at a time - and prints, for every benchmark, the median time of
# each side and the median of the rounds' ratios head / base. The two runs of a pair follow
# each other within a second on the same machine, so the ratio holds even when the machine
# is busy; the absolute times do not.
#
# Both sides run the benchmark sources of HEAD (so that both measure the same thing); when
# those do not build at BASE, BASE runs its own and a line says so.
#
# Settings (environment):
#   ROUNDS=7            alternating rounds
#   BENCH_FILTER=regex  only the benchmarks whose names match (Google Benchmark's filter)
#   BENCHES="frame_bench generation_bench level_bench turn_bench save_bench"   the programs
#   MIN_TIME=0.2        seconds each benchmark runs per round
#   JOBS=2              build parallelism
#
# After the list of every benchmark, the rows of the performance goals that have a benchmark
# are printed: frames as multiples of the memset of the same screen in the same round,
# generation per level with its monsters on first use, memory left per level, saves.
#   KEEP=1              keep the worktrees and their builds afterwards
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BASE HEAD" >&2
    exit 2
fi
repo=$(git rev-parse --show-toplevel)
base=$(git -C "$repo" rev-parse --verify "$1^{commit}")
head=$(git -C "$repo" rev-parse --verify "$2^{commit}")
rounds=${ROUNDS:-7}
benches=${BENCHES:-"frame_bench generation_bench level_bench turn_bench save_bench"}
min_time=${MIN_TIME:-0.2}
jobs=${JOBS:-2}
filter=${BENCH_FILTER:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/vaultmere-compare.XXXXXX")

cleanup() {
    if [ "${KEEP:-0}" != 1 ]; then
        git -C "$repo" worktree remove --force "$work/base" >/dev/null 2>&1 || true
        git -C "$repo" worktree remove --force "$work/head" >/dev/null 2>&1 || true
        rm -rf "$work"
    else
        echo "kept: $work"
    fi
}
trap cleanup EXIT

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# build SIDE: configures and builds the benchmarks and the game folder of one worktree.
build() {
    local tree=$1
    cmake -S "$tree" -B "$tree/build-compare" -DCMAKE_BUILD_TYPE=Release -DVAULTMERE_TESTS=OFF \
        -DVAULTMERE_BENCH=ON "${launcher[@]}" >"$tree/configure.log" 2>&1 &&
        cmake --build "$tree/build-compare" -j"$jobs" --target $benches gamefolder >"$tree/build.log" 2>&1
}

for side in base head; do
    commit=$base
    [ "$side" = head ] && commit=$head
    git -C "$repo" worktree add --detach "$work/$side" "$commit" >/dev/null 2>&1
done

echo "building head ${head:0:10}"
build "$work/head" || { echo "head does not build; see $work/head/build.log" >&2; KEEP=1; exit 1; }

echo "building base ${base:0:10} with the benchmarks of head"
rm -rf "$work/base/bench"
cp -r "$work/head/bench" "$work/base/bench"
if ! build "$work/base"; then
    echo "the benchmarks of head do not build at base: base runs its own"
    rm -rf "$work/base/bench"
    git -C "$work/base" checkout -- bench
    build "$work/base" || { echo "base does not build; see $work/base/build.log" >&2; KEEP=1; exit 1; }
fi

mkdir -p "$work/results"
# Each benchmark on its own, base and head in turn, so both see the same load.
for bench in $benches; do
    exe="$work/head/build-compare/$bench"
    [ -x "$exe" ] || continue
    list_args=(--benchmark_list_tests=true)
    [ -n "$filter" ] && list_args+=(--benchmark_filter="$filter")
    "$exe" "${list_args[@]}" 2>/dev/null >"$work/results/$bench.names" || true
done
for round in $(seq 1 "$rounds"); do
    for bench in $benches; do
        [ -f "$work/results/$bench.names" ] || continue
        n=0
        while IFS= read -r name; do
            [ -n "$name" ] || continue
            n=$((n + 1))
            # The name as a filter that matches it alone.
            pattern="^$(printf '%s' "$name" | sed 's/[][\.*^$+?(){}|]/\\&/g')\$"
            for side in base head; do
                exe="$work/$side/build-compare/$bench"
                [ -x "$exe" ] || continue
                "$exe" --benchmark_filter="$pattern" --benchmark_min_time="$min_time" \
                    --benchmark_out="$work/results/$side.$bench.$n.$round.json" --benchmark_out_format=json \
                    </dev/null >/dev/null 2>>"$work/results/$side.$bench.err" || true
            done
        done <"$work/results/$bench.names"
    done
    echo "round $round of $rounds done"
done

python3 - "$work/results" "$base" "$head" <<'PY'
import glob, json, os, statistics, sys

folder, base, head = sys.argv[1:4]
times = {}  # benchmark name -> {(side): {round: ns}}
counters = {}  # benchmark name -> {side: {counter: [values]}}
order = []
for path in sorted(glob.glob(os.path.join(folder, "*.json"))):
    parts = os.path.basename(path).split(".")
    side, rnd = parts[0], parts[-2]
    try:
        with open(path) as f:
            data = json.load(f)
    except (OSError, ValueError):
        continue
    for b in data.get("benchmarks", []):
        if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
            continue
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        name = b["name"]
        if name not in times:
            times[name] = {"base": {}, "head": {}}
            order.append(name)
        times[name][side][rnd] = b["real_time"] * scale
        for key, value in b.items():
            if key in ("allocs_per_frame", "first_level_ms", "rss_growth_kb", "sprites_left", "monsters_per_level"):
                counters.setdefault(name, {}).setdefault(side, {}).setdefault(key, []).append(float(value))

print()
print(f"base {base[:10]}  head {head[:10]}")
print("times: median over the rounds; ratio: median of the rounds' head / base")
print(f"{'benchmark':44} {'base us':>10} {'head us':>10} {'ratio':>7} {'speed-up':>9}")
for name in sorted(order, key=order.index):
    b, h = times[name]["base"], times[name]["head"]
    pairs = [h[r] / b[r] for r in b if r in h and b[r] > 0]
    if not pairs:
        print(f"{name:44}   (only one side has it)")
        continue
    ratio = statistics.median(pairs)
    print(f"{name:44} {statistics.median(b.values())/1e3:10.2f} {statistics.median(h.values())/1e3:10.2f} "
          f"{ratio:7.3f} {1/ratio:8.2f}x")

def per_side(name, side):
    return times.get(name, {}).get(side, {})

def times_memset(name, side):
    """Median over the rounds of the benchmark's time over the memset's time in that round."""
    mine, floor = per_side(name, side), per_side("BM_ClearScreenMemset", side)
    ratios = [mine[r] / floor[r] for r in mine if r in floor and floor[r] > 0]
    return statistics.median(ratios) if ratios else None

def counter(name, side, key):
    values = counters.get(name, {}).get(side, {}).get(key)
    return statistics.median(values) if values else None

def show(value, unit):
    return "-" if value is None else f"{value:.2f}{unit}"

rows = [
    ("frame with the full HUD (x memset)", "BM_DrawGameScreenFullHud", "memset"),
    ("frame of the explored level (x memset)", "BM_DrawGameScreen/whole_level_seen", "memset"),
    ("busy frame: 64 glints (x memset)", "BM_DrawGameScreenWith64Glints", "memset"),
    ("allocations per full-HUD frame", "BM_DrawGameScreenFullHud", "allocs_per_frame"),
    ("allocations per glint frame", "BM_DrawGameScreenWith64Glints", "allocs_per_frame"),
    ("allocations per frame showing a new ticker line", "BM_DrawGameScreenWithANewTickerLineEachFrame",
     "allocs_per_frame"),
    ("generation with monsters, first use (ms/level)", "BM_GenerateLevelWithMonstersFirstUse", "time_ms"),
    ("  the first level alone (ms)", "BM_GenerateLevelWithMonstersFirstUse", "first_level_ms"),
    ("  memory left per level (KB)", "BM_GenerateLevelWithMonstersFirstUse", "rss_growth_kb"),
    ("  sprites left after the last level", "BM_GenerateLevelWithMonstersFirstUse", "sprites_left"),
    ("turn, 100 hunting monsters (us)", "BM_TurnWithAHundredHuntingMonsters", "time_us"),
    ("save of a ten-level game (ms)", "BM_SaveTenLevelGame", "time_ms"),
    ("load of a ten-level game (ms)", "BM_LoadTenLevelGame", "time_ms"),
]
print()
print("rows of the performance goals")
print(f"{'row':50} {'base':>12} {'head':>12}")
for label, wanted, what in rows:
    # Settings such as a fixed iteration count are appended to a benchmark's name.
    name = next((n for n in order if n == wanted or n.startswith(wanted + "/")), None)
    if name is None:
        continue
    values = []
    for side in ("base", "head"):
        if what == "memset":
            values.append(show(times_memset(name, side), "x"))
        elif what in ("time_ms", "time_us"):
            t = per_side(name, side)
            scale = 1e6 if what == "time_ms" else 1e3
            values.append(show(statistics.median(t.values()) / scale if t else None, ""))
        else:
            values.append(show(counter(name, side, what), ""))
    print(f"{label:50} {values[0]:>12} {values[1]:>12}")
PY
