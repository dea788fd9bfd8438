#!/usr/bin/env python3
"""Kills the real game at random moments of play-and-save and checks that the next start never
rolls a save back.

    bench/kill_loop.py [BUILD_DIR] [--kills N] [--seed S] [--keep]

A hero is made in a temporary user folder with a temporary store folder (so the cloud copies are
on), and taken down a dozen floors so that its save is large. Then, N times: the game loads the
save, plays a few steps and a trapdoor, and saves and quits, but is sent SIGKILL at a random
moment of that run (most of them near the save). The user files are noted, the game is started
again and left from the title menu (its start-up brings the user folder and the cloud together),
and the user files must be exactly as noted: a restart that restores an older save, index, high
score table or last build is a roll-back. The hero is a permadeath hero: a run in which it dies
deletes the save (the game's own doing, not a kill's), and the folders are then put back as they
were before that run. Prints one line per kill and a summary; the exit code
is 1 when any roll-back was seen. Runs headless; needs the assembled game folder (BUILD_DIR/game).
"""
import argparse
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import zlib

HEADLESS = {"SDL_VIDEODRIVER": "dummy", "SDL_AUDIODRIVER": "dummy", "ALSOFT_DRIVERS": "null"}
QUIT_FROM_MENU = "wait 100\nkey escape\nwait 100\nclick 1 535 458\n"
SAVE_AND_QUIT = "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n"
WATCHED = ("loadsave.dat", "hiscores.txt", "last.txt")


def user_files(folder):
    """The digests of the user files the cloud mirrors."""
    files = {}
    for name in sorted(os.listdir(folder)):
        if name in WATCHED or name.lower().endswith(".sav"):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = hashlib.sha1(f.read()).hexdigest()[:12]
    return files


def escaped(name):
    """The file name the local store gives a cloud name."""
    return "".join(c if c.isalnum() or c in "_-" or (c == "." and i > 0) else "%%%02X" % ord(c)
                   for i, c in enumerate(name))


def cloud_is_stale(user, store):
    """Whether some watched local file differs from its cloud copy (the kill came between them)."""
    stale = []
    for name in user_files(user):
        path = os.path.join(store, "cloud", escaped(name))
        with open(os.path.join(user, name), "rb") as f:
            local = f.read()
        try:
            with open(path, "rb") as f:
                cloud = f.read()
            cloud = zlib.decompress(cloud[8:]) if cloud else b""
        except (OSError, zlib.error):
            cloud = None
        if cloud != local:
            stale.append(name)
    return stale


def snapshot(root, user, store):
    """Copies the user and store folders aside, to be put back after a run in which the hero died."""
    saved = os.path.join(root, "before")
    shutil.rmtree(saved, ignore_errors=True)
    shutil.copytree(user, os.path.join(saved, "user"), symlinks=True)
    if os.path.isdir(store):
        shutil.copytree(store, os.path.join(saved, "store"), symlinks=True)


def put_back(root, user, store):
    saved = os.path.join(root, "before")
    for folder, name in ((user, "user"), (store, "store")):
        shutil.rmtree(folder, ignore_errors=True)
        if os.path.isdir(os.path.join(saved, name)):
            shutil.copytree(os.path.join(saved, name), folder, symlinks=True)


def died_with_save(user, save):
    """Whether the game itself deleted the save: the hero (always a permadeath hero here) died.
    The file is gone and the index no longer names it, which no kill can do: a kill leaves the
    previous or the new save and index whole."""
    if os.path.exists(os.path.join(user, save)):
        return False
    try:
        with open(os.path.join(user, "loadsave.dat"), "rb") as f:
            return save.encode() not in f.read()
    except OSError:
        return False


def hero_save(folder):
    for name in sorted(os.listdir(folder)):
        if name.endswith(".sav") and not name.startswith("bitmap_") and name != "autosave.sav":
            return name
    return None


class Game:
    def __init__(self, build, user, store):
        self.exe = os.path.join(build, "game", "vaultmere")
        if not os.path.exists(self.exe):
            self.exe = os.path.join(build, "vaultmere")
        self.cwd = os.path.join(build, "game")
        self.user = user
        self.store = store

    def start(self, args, script):
        path = os.path.join(self.user, "script.txt")
        with open(path, "w") as f:
            f.write(script)
        env = dict(os.environ, **HEADLESS)
        env["VAULTMERE_USER_DIR"] = self.user
        env["VAULTMERE_STORE_DIR"] = self.store
        env["VAULTMERE_INPUT_SCRIPT"] = path
        return subprocess.Popen([self.exe, "-no-initial-config"] + args, cwd=self.cwd, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def run(self, args, script, timeout=120):
        start = time.monotonic()
        proc = self.start(args, script)
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode(errors="replace"), time.monotonic() - start


def play_script(rng):
    steps = "".join("key %s\nwait 120\n" % rng.choice(["up", "down", "left", "right"]) for _ in range(6))
    return "seed %d\nwait 400\n%skey p\nwait 600\n%s" % (rng.randrange(1, 30000), steps, SAVE_AND_QUIT)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--kills", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--floors", type=int, default=12)
    parser.add_argument("--keep", action="store_true", help="keep the temporary folders")
    opts = parser.parse_args()
    rng = random.Random(opts.seed)
    root = tempfile.mkdtemp(prefix="vaultmere_kill_loop_")
    user, store = os.path.join(root, "user"), os.path.join(root, "store")
    os.makedirs(user)
    with open(os.path.join(user, "config.xml"), "w") as f:
        f.write('<config>\n<setting name="completedATutorial" value="1"/>\n</config>\n')
    game = Game(os.path.abspath(opts.build), user, store)

    trapdoors = "key p\nwait 700\n" * opts.floors
    code, out, _ = game.run(["-player-random-build", "-debug-flag"], "seed 7\nwait 500\n" + trapdoors + SAVE_AND_QUIT)
    save = hero_save(user)
    if code != 0 or save is None:
        print("could not make the hero (exit %d)\n%s" % (code, out[-3000:]))
        return 2
    print("hero saved as %s, %d bytes" % (save, os.path.getsize(os.path.join(user, save))))
    # How long a whole play-and-save run takes, so that the kills fall inside one.
    snapshot(root, user, store)
    code, out, full = game.run(["-load-filename=" + save, "-debug-flag"], play_script(rng))
    if died_with_save(user, save):
        put_back(root, user, store)
    if code != 0:
        print("a plain play-and-save run failed (exit %d)\n%s" % (code, out[-3000:]))
        return 2
    print("a play-and-save run takes %.2f s" % full)

    rollbacks = 0
    window = 0
    deaths = 0
    for kill in range(1, opts.kills + 1):
        # A quarter of the kills at any moment of the run, a quarter within 0.6 s of the start of
        # the save (seen as its temporary file), a quarter as the cloud copy of the save is begun,
        # after the local file was replaced; in the last quarter the game kills itself between
        # the two (the store's fault "die-before-upload"), so that every such run leaves the
        # cloud behind the user folder.
        kind = kill % 4
        during_save = kind in (1, 2)
        moment = rng.uniform(0.0, 0.6) if kind == 1 else rng.uniform(0.1, 1.05) * full if kind == 0 else 0.0
        temp = os.path.join(user, save + ".tmp") if kind == 1 else os.path.join(store, "cloud", escaped(save) + ".tmp")
        faults = os.path.join(store, "faults.txt")
        # The folders are noted before the fault is written, so that putting them back after a
        # death never leaves the fault behind for the next run.
        snapshot(root, user, store)
        if kind == 3:
            with open(faults, "w") as f:
                f.write("die-before-upload %s\n" % save)
        started = time.monotonic()
        proc = game.start(["-load-filename=" + save, "-debug-flag"], play_script(rng))
        if kind == 3:
            proc.communicate(timeout=120)
            os.remove(faults)
            killed = proc.returncode == -signal.SIGKILL
        else:
            if during_save:
                while proc.poll() is None and not os.path.exists(temp) and time.monotonic() - started < 60:
                    time.sleep(0.0005)
            time.sleep(moment)
            killed = proc.poll() is None
            if killed:
                proc.send_signal(signal.SIGKILL)
            proc.communicate()
        if died_with_save(user, save):
            # Not a kill's doing: the folders go back to where they were before that run.
            deaths += 1
            put_back(root, user, store)
            print("kill %2d: the hero died in that run and the game deleted the save; folders put back" % kill)
            continue
        before = user_files(user)
        stale = cloud_is_stale(user, store)
        window += 1 if stale else 0
        code, out, _ = game.run([], QUIT_FROM_MENU)
        after = user_files(user)
        changed = sorted(n for n in set(before) | set(after) if before.get(n) != after.get(n))
        ok = code == 0 and not changed and save in after
        rollbacks += 0 if ok else 1
        where = ("at", "after the save began", "as the cloud copy began", "by itself before the cloud copy")[kind]
        print("kill %2d %s %.2f s%s%s: %s" % (kill, where, moment, "" if killed else " (run had ended)",
                                             ", cloud behind on %s" % stale if stale else "",
                                             "kept" if ok else "ROLLED BACK %s (restart exit %d)" % (changed, code)))
        if not ok and code != 0:
            print(out[-2000:])
    print("%d kills (%d left the cloud behind the user folder, %d runs in which the hero died), %d roll-backs"
          % (opts.kills, window, deaths, rollbacks))
    if opts.keep:
        print("folders kept in " + root)
    else:
        shutil.rmtree(root, ignore_errors=True)
    return 1 if rollbacks else 0


if __name__ == "__main__":
    sys.exit(main())
