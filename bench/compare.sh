#!/usr/bin/env bash
# Paired comparison of two commits: bench/compare.sh BASE HEAD
#
# Builds both commits in Release (each in a git worktree under the temporary folder, with
# ccache when it is installed), then runs their benchmarks alternately - base, head, base,
# head ... - and prints, for every benchmark, the median time of each side and the ratio
# head / base. Both sides run in the same minutes on the same machine, so the ratio holds
# even when the machine is busy; the absolute times do not.
#
# Both sides run the benchmark sources of HEAD (so that both measure the same thing); when
# those do not build at BASE, BASE runs its own and a line says so.
#
# Settings (environment):
#   ROUNDS=5            alternating rounds
#   BENCH_FILTER=regex  only the benchmarks whose names match (Google Benchmark's filter)
#   BENCHES="frame_bench level_bench"   the benchmark programs to run
#   MIN_TIME=0.2        seconds each benchmark runs per round
#   JOBS=4              build parallelism
#   KEEP=1              keep the worktrees and their builds afterwards
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BASE HEAD" >&2
    exit 2
fi
repo=$(git rev-parse --show-toplevel)
base=$(git -C "$repo" rev-parse --verify "$1^{commit}")
head=$(git -C "$repo" rev-parse --verify "$2^{commit}")
rounds=${ROUNDS:-5}
benches=${BENCHES:-"frame_bench level_bench"}
min_time=${MIN_TIME:-0.2}
jobs=${JOBS:-4}
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
for round in $(seq 1 "$rounds"); do
    for bench in $benches; do
        for side in base head; do
            exe="$work/$side/build-compare/$bench"
            [ -x "$exe" ] || continue
            args=(--benchmark_format=json --benchmark_min_time="$min_time"
                  --benchmark_out="$work/results/$side.$bench.$round.json" --benchmark_out_format=json)
            [ -n "$filter" ] && args+=(--benchmark_filter="$filter")
            "$exe" "${args[@]}" >/dev/null 2>"$work/results/$side.$bench.$round.err" || true
        done
    done
    echo "round $round of $rounds done"
done

python3 - "$work/results" "$base" "$head" <<'PY'
import glob, json, os, statistics, sys

folder, base, head = sys.argv[1:4]
times = {}  # (bench name) -> {side: [ns]}
order = []
for path in sorted(glob.glob(os.path.join(folder, "*.json"))):
    side = os.path.basename(path).split(".")[0]
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
            times[name] = {"base": [], "head": []}
            order.append(name)
        times[name][side].append(b["real_time"] * scale)

print()
print(f"base {base[:10]}  head {head[:10]}  (median of each side; ratio = head / base)")
print(f"{'benchmark':44} {'base us':>10} {'head us':>10} {'ratio':>7} {'speed-up':>9}")
for name in order:
    b, h = times[name]["base"], times[name]["head"]
    if not b or not h:
        print(f"{name:44} {'-' if not b else f'{statistics.median(b)/1e3:10.2f}':>10} "
              f"{'-' if not h else f'{statistics.median(h)/1e3:10.2f}':>10}   (only one side has it)")
        continue
    mb, mh = statistics.median(b), statistics.median(h)
    print(f"{name:44} {mb/1e3:10.2f} {mh/1e3:10.2f} {mh/mb:7.3f} {mb/mh:8.2f}x")
PY
