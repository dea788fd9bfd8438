#!/usr/bin/env python3
"""How long the real game takes to save and quit on SIGTERM, with a large game in play.

    bench/quit_time.py [BUILD_DIR] [--floors N] [--runs N] [--base BASE_EXECUTABLE]

Each run makes a hero in a fresh user folder with a store folder of its own (so the cloud
copies are on), takes it down N floors by the debug trapdoor key (default 12, a save of about
7 MB), waits until the game is idle on the last floor and sends SIGTERM. The time printed is the
wall clock from the signal until the process has ended: the save, its cloud copy, the index,
the end of the game and the exit. Prints every run and the median; the exit code is 1 when a
run did not end with 0 or wrote no save.

With --base, runs of that executable (in the same game folder) alternate with the build's, so
both see the same machine, and the medians of both are printed. Headless; a busy machine makes
the wall clock longer, so read a change from a paired run.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HEADLESS = {"SDL_VIDEODRIVER": "dummy", "SDL_AUDIODRIVER": "dummy", "ALSOFT_DRIVERS": "null"}
WELCOME_SHOWN = '<config>\n<setting name="completedATutorial" value="1"/>\n</config>\n'


def run_once(exe, floors, settle):
    root = tempfile.mkdtemp(prefix="vaultmere_quit_time_")
    try:
        user = os.path.join(root, "user")
        os.makedirs(user)
        with open(os.path.join(user, "config.xml"), "w") as f:
            f.write(WELCOME_SHOWN)
        script = os.path.join(root, "script.txt")
        with open(script, "w") as f:
            f.write("seed 7\nwait 500\n" + "key p\nwait 700\n" * floors + "wait 100000000\n")
        env = dict(os.environ, **HEADLESS)
        env.update(VAULTMERE_USER_DIR=user, VAULTMERE_STORE_DIR=os.path.join(root, "store"),
                   VAULTMERE_INPUT_SCRIPT=script)
        proc = subprocess.Popen([exe, "-no-initial-config", "-player-random-build", "-debug-flag"],
                                cwd=os.path.dirname(exe), env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        # The script's trapdoors take 0.7 s of the game's clock each; the game then idles.
        time.sleep(settle)
        # A blocking wait sees the end at once (a wait with a timeout polls, in steps of up to
        # 50 ms); the watchdog ends a run that hangs.
        watchdog = threading.Timer(60, proc.kill)
        watchdog.start()
        start = time.monotonic()
        proc.send_signal(signal.SIGTERM)
        code = proc.wait()
        seconds = time.monotonic() - start
        watchdog.cancel()
        saves = [n for n in os.listdir(user) if n.endswith(".sav") and not n.startswith("bitmap_")]
        size = os.path.getsize(os.path.join(user, saves[0])) if saves else 0
        return code, seconds, size
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--floors", type=int, default=12)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--base", help="an executable to compare with, run in the same game folder")
    opts = parser.parse_args()
    exe = os.path.abspath(os.path.join(opts.build, "game", "vaultmere"))
    sides = [("build", exe)]
    if opts.base:
        base = os.path.join(os.path.dirname(exe), "vaultmere_quit_time_base")
        shutil.copy2(opts.base, base)
        sides.insert(0, ("base", base))
    settle = 1.5 + 0.8 * opts.floors
    times = {name: [] for name, _ in sides}
    failed = False
    try:
        for run in range(1, opts.runs + 1):
            for name, path in sides:
                code, seconds, size = run_once(path, opts.floors, settle)
                times[name].append(seconds)
                failed = failed or code != 0 or size == 0
                print("%s run %d: exit %d, %.3f s from SIGTERM to the end, save of %d bytes" %
                      (name, run, code, seconds, size))
    finally:
        if opts.base:
            os.remove(sides[0][1])
    for name, _ in sides:
        print("%s: median %.3f s over %d runs" % (name, statistics.median(times[name]), opts.runs))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
