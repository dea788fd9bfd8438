#!/usr/bin/env python3
"""Start-up time and peak memory of the real game, headless.

    bench/startup_time.py [BUILD_DIR] [--runs N] [--steps] [--base BASE_BUILD_DIR]

Starts BUILD_DIR/vaultmere (default: build-rel, else build) in BUILD_DIR/game N times
(default 9) with -no-initial-config -startuptime, a fresh user folder each time and an input
script that quits from the main menu. For each run it reads the wall clock from just before
the process starts until the line that says the main menu is up ("turnpage"), and the peak
resident memory and the processor time of the process, all its threads together (from wait4;
the processor time covers the whole run, quitting included, and a busy machine disturbs it
less than the wall clock). Each step's time is read the same way, from when
its line arrives. Prints every run, then the medians and the largest peak. --steps also
prints the median time each start-up step took.

With --base, the runs of the two builds alternate (base, build, base, build ...), so both
see the same machine, and the medians of both are printed with their ratio.

Use Release builds (-DCMAKE_BUILD_TYPE=Release); the figures are real time, so the machine
should be otherwise idle, and a paired run (--base) is the one to read a change from.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

QUIT_SCRIPT = "wait 100\nkey escape\nwait 100\nclick 1 535 458\n"
MENU_UP = "turnpage"
STEP_LINE = re.compile(r"^\[LogLoadProgress\] .* seconds to: (.*)$")


def run_once(build, user):
    script = os.path.join(user, "quit.txt")
    with open(script, "w") as f:
        f.write(QUIT_SCRIPT)
    env = dict(os.environ)
    env.update({
        "SDL_VIDEODRIVER": "dummy",
        "SDL_AUDIODRIVER": "dummy",
        "ALSOFT_DRIVERS": "null",
        "VAULTMERE_USER_DIR": user,
        "VAULTMERE_INPUT_SCRIPT": script,
    })
    start = time.monotonic()
    proc = subprocess.Popen([os.path.join(build, "vaultmere"), "-no-initial-config", "-startuptime"],
                            cwd=os.path.join(build, "game"), env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    menu_ms = None
    steps = []
    last = start
    for raw in proc.stdout:
        now = time.monotonic()
        line = raw.decode("utf-8", "replace").rstrip("\n")
        m = STEP_LINE.match(line)
        if m and menu_ms is None:
            # The game's own clock stands still while a script plays, so each step is timed
            # here, on the real clock, by when its line arrives.
            steps.append((m.group(1), (now - last) * 1000.0))
            last = now
            if m.group(1) == MENU_UP:
                menu_ms = (now - start) * 1000.0
    _, status, usage = os.wait4(proc.pid, 0)
    total_ms = (time.monotonic() - start) * 1000.0
    code = os.waitstatus_to_exitcode(status)
    if code != 0 or menu_ms is None:
        sys.exit("run failed (exit code %d, main menu %s)" % (code, "reached" if menu_ms else "not reached"))
    cpu_ms = (usage.ru_utime + usage.ru_stime) * 1000.0
    return menu_ms, total_ms, usage.ru_maxrss / 1024.0, cpu_ms, steps


def find_build(root, given):
    build = given
    if build is None:
        build = next((os.path.join(root, b) for b in ("build-rel", "build")
                      if os.path.exists(os.path.join(root, b, "vaultmere"))), None)
    if build is None or not os.path.exists(os.path.join(build, "vaultmere")):
        sys.exit("no build folder with a vaultmere executable: %s" % given)
    return os.path.abspath(build)


class Series:
    def __init__(self, name):
        self.name = name
        self.menus, self.totals, self.peaks, self.cpus = [], [], [], []
        self.step_times, self.step_order = {}, []

    def add(self, menu_ms, total_ms, peak_mb, cpu_ms, steps):
        self.menus.append(menu_ms)
        self.cpus.append(cpu_ms)
        self.totals.append(total_ms)
        self.peaks.append(peak_mb)
        for n, (label, ms) in enumerate(steps):
            key = (n, label)
            if key not in self.step_times:
                self.step_times[key] = []
                self.step_order.append(key)
            self.step_times[key].append(ms)

    def report(self, steps):
        if steps:
            print("%s: median time of each step (ms):" % self.name)
            for key in self.step_order:
                print("  %8.1f  %s" % (statistics.median(self.step_times[key]), key[1]))
        print("%s: main menu after %.1f ms median (min %.1f, max %.1f); whole run %.1f ms"
              % (self.name, statistics.median(self.menus), min(self.menus), max(self.menus),
                 statistics.median(self.totals)))
        print("%s: peak memory %.1f MB median, %.1f MB largest; processor time %.1f ms median"
              % (self.name, statistics.median(self.peaks), max(self.peaks), statistics.median(self.cpus)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", nargs="?", help="build folder holding vaultmere and game/")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--steps", action="store_true", help="print the median of every step")
    parser.add_argument("--base", help="a second build folder to run alternately with the first")
    args = parser.parse_args()
    sides = [(Series("build"), find_build(root, args.build))]
    if args.base:
        sides.insert(0, (Series("base"), find_build(root, args.base)))

    for i in range(args.runs):
        for series, build in sides:
            user = tempfile.mkdtemp(prefix="vaultmere-startup.")
            try:
                menu_ms, total_ms, peak_mb, cpu_ms, steps = run_once(build, user)
            finally:
                shutil.rmtree(user, ignore_errors=True)
            print("run %d, %s: main menu after %.1f ms, whole run %.1f ms, peak memory %.1f MB, processor %.1f ms"
                  % (i + 1, series.name, menu_ms, total_ms, peak_mb, cpu_ms))
            series.add(menu_ms, total_ms, peak_mb, cpu_ms, steps)
    for series, _ in sides:
        series.report(args.steps)
    if args.base:
        base, head = sides[0][0], sides[1][0]
        ratios = [h / b for h, b in zip(head.menus, base.menus)]
        print("build / base: main menu time %.2f (median of the paired ratios), peak memory %.2f"
              % (statistics.median(ratios), statistics.median(head.peaks) / statistics.median(base.peaks)))


if __name__ == "__main__":
    main()
