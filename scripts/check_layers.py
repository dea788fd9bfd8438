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

It also checks that no statement of the game's code draws two random numbers whose order C++
leaves open (two draws as arguments of one call, or as the operands of one arithmetic
operator): seeded games must be the same whichever compiler built them. Draws joined by
&&, || or ?: are ordered and pass, but only when that operator joins the two draws themselves:
two arguments of one call stay unordered whatever each holds, and so does a ?: arm against
the other operand of a sum. Draws in separate statements pass.

Exits 1 and lists every offending line when a file breaks a rule.
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

# The calls that draw from the generators of core/random.h, and the game's helpers whose
# every call draws: list indices, pickers of definitions and squares, bags, made-up names.
DRAW = re.compile(r'\b(CRand|MTRandom32|MTRandomReal|MTRandomInt|MTOneChanceIn|RandomInt|RandomIndex|'
                  r'RandomGaussian|PercentRoll|MakeMonsterName|MakeRandom\w*|Random\w*Def\w*|'
                  r'[Pp]ickRandom\w*|DrawFrom|RandomFrom|RandomOfType|RandomNearbySquare|Randomize\w*|'
                  r'CastRandomSpell|Uniform|UniformDef|UniformWhere)\s*\(')
# Between two draws at the level of the expression that holds both, one of these puts them in
# order (outside a call's argument list a comma is the comma operator or a new declarator).
SEQUENCED = re.compile(r'&&|\|\||\?|:')
# A word before "(" that makes it no call.
NOT_CALLS = {"if", "while", "for", "switch", "return", "sizeof", "case", "throw", "catch"}
# The folders of the game's code (tests, tools and benchmarks may draw as they like).
GAME_FOLDERS = ("platform/", "store_platform/", "core/", "media/", "levels/", "creatures/",
                "items_fixtures/", "interface/")


def layer_of(path):
    for prefix, rank in LAYERS:
        if path.startswith(prefix):
            return rank
    return None


def strip_comments_and_strings(text):
    """The text with comments, string and character literals blanked, newlines kept."""
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def group_depths(statement):
    """For every character: the start offsets of the ( and [ groups around it."""
    stack = []
    around = []
    for i, c in enumerate(statement):
        if c in ")]" and stack:
            stack.pop()
        around.append(tuple(stack))
        if c in "([":
            stack.append(i)
    return around


def is_call(statement, open_at):
    """True when the group opened at open_at is a call's argument list."""
    if open_at < 0 or statement[open_at] != "(":
        return False
    before = statement[:open_at].rstrip()
    if not before:
        return False
    if before[-1] in ")]>":
        return True
    word = re.search(r"(\w+)$", before)
    return bool(word) and word.group(1) not in NOT_CALLS


def ordered(statement, around, first, second):
    """True when the language orders draw `first` before or apart from draw `second`."""
    a = around[first]
    b = around[second]
    common = 0
    while common < len(a) and common < len(b) and a[common] == b[common]:
        common += 1
    outer = a[:common]
    group = outer[-1] if outer else -1
    # The text between the two draws at the level of the group that holds both.
    between = "".join(statement[i] for i in range(first, second) if around[i] == outer)
    between = between.replace("::", "")
    if is_call(statement, group):
        if "," in between:
            return False  # two arguments of one call: any order
    elif "," in between:
        return True
    return bool(SEQUENCED.search(between))


def unordered_draws(text):
    """Line numbers of the statements with two draws in an order C++ leaves open."""
    lines = []
    code = strip_comments_and_strings(text)
    start = 0
    for m in re.finditer(r"[;{}]", code + ";"):
        statement = code[start:m.start()]
        draws = [d.start() for d in DRAW.finditer(statement)]
        if len(draws) > 1:
            around = group_depths(statement)
            pairs = [(x, y) for i, x in enumerate(draws) for y in draws[i + 1:]]
            for first, second in pairs:
                if not ordered(statement, around, first, second):
                    lines.append(code.count("\n", 0, start + second) + 1)
                    break
        start = m.end()
    return lines


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
                    text = f.read()
                if rel.startswith(GAME_FOLDERS):
                    for number in unordered_draws(text):
                        problems.append("%s:%d: two random draws in one statement, in no set order" % (rel, number))
                for number, line in enumerate(text.splitlines(), 1):
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
        print("layer check: %d problem(s)" % len(problems))
        return 1
    print("layer check: no upward includes, no unordered random draws")
    return 0


if __name__ == "__main__":
    sys.exit(main())
