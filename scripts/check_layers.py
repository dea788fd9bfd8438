#!/usr/bin/env python3
"""Checks that no source file includes a header of a higher layer.

Usage: check_layers.py [ROOT]   (ROOT defaults to the repository this script is in)

Layers, from the ground up (docs/architecture.md explains each):
  0 platform/, store_platform/
  1 core/ (its ground; core/shell/ is the roof)
  2 media/
  3 levels/ (the world model; levels/gen/ is generation)
  4 creatures/, items_fixtures/ (peers: they may include each other)
  5 levels/gen/
  6 interface/
  7 core/shell/
  8 tools/, bench/
  9 tests/
A file may include headers of its own layer and of any layer below. The service headers
below are the only upward includes permitted, from any layer: they declare what a
higher layer provides to the ones beneath it and include nothing above the ground.
Exits 1 and lists every offending line when a file breaks the rule.
"""
import os
import re
import sys

SERVICE_HEADERS = {
    "interface/ui_services.h",
    "core/shell/shell_services.h",
}

# Longest prefix first.
LAYERS = [
    ("core/shell/", 7),
    ("levels/gen/", 5),
    ("platform/", 0),
    ("store_platform/", 0),
    ("core/", 1),
    ("media/", 2),
    ("levels/", 3),
    ("creatures/", 4),
    ("items_fixtures/", 4),
    ("interface/", 6),
    ("tools/", 8),
    ("bench/", 8),
    ("tests/", 9),
]

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def layer_of(path):
    for prefix, rank in LAYERS:
        if path.startswith(prefix):
            return rank
    return None


def check(root):
    problems = []
    for folder, _ in LAYERS:
        top = os.path.join(root, folder)
        if not os.path.isdir(top):
            continue
        for dirpath, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                full = os.path.join(dirpath, name)
                rel = os.path.relpath(full, root).replace(os.sep, "/")
                own = layer_of(rel)
                with open(full, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(1)
                        if target in SERVICE_HEADERS:
                            continue
                        rank = layer_of(target)
                        if rank is None or own is None:
                            continue
                        if rank > own:
                            problems.append("%s:%d: includes %s (layer %d above %d)"
                                            % (rel, number, target, rank, own))
    # A file listed under two prefixes (core/shell/ inside core/) is walked twice.
    return sorted(set(problems))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = check(root)
    for p in problems:
        print(p)
    if problems:
        print("layer check: %d upward include(s)" % len(problems))
        return 1
    print("layer check: no upward includes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
