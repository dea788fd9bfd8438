#!/usr/bin/env python3
"""Tests of check_layers.py: the repository passes, a planted upward include fails."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "check_layers.py")
REPO = os.path.dirname(HERE)


def run(root):
    return subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)


def tree(files):
    root = tempfile.mkdtemp(prefix="layers")
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(text)
    return root


class LayerCheckTest(unittest.TestCase):
    def test_the_repository_passes(self):
        result = run(REPO)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_downward_peer_and_service_includes_pass(self):
        root = tree({
            "media/a.cpp": '#include "core/random.h"\n#include "platform/platform.h"\n',
            "creatures/b.cpp": '#include "items_fixtures/item.h"\n#include "levels/level.h"\n'
                               '#include "interface/ui_services.h"\n#include "core/shell/shell_services.h"\n',
            "items_fixtures/c.cpp": '#include "creatures/player.h"\n',
            "core/shell/d.cpp": '#include "interface/hud.h"\n#include "levels/gen/x.h"\n',
            "tests/core/e.cpp": '#include "core/shell/startup.h"\n',
        })
        result = run(root)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_planted_upward_includes_fail_and_are_named(self):
        cases = [
            ("core/random.cpp", "media/bob.h"),
            ("core/x.h", "core/shell/startup.h"),
            ("media/bob.cpp", "levels/level.h"),
            ("levels/level.cpp", "creatures/player.h"),
            ("levels/level.cpp", "levels/gen/level_layout.h"),
            ("creatures/x.cpp", "levels/gen/square_pickers.h"),
            ("levels/gen/x.cpp", "interface/hud.h"),
            ("interface/x.cpp", "core/shell/turn_engine.h"),
            ("platform/x.cpp", "core/random.h"),
        ]
        for source, target in cases:
            with self.subTest(source=source, target=target):
                root = tree({source: '// a file\n#include "%s"\n' % target})
                result = run(root)
                self.assertEqual(result.returncode, 1, result.stdout)
                self.assertIn("%s:2: includes %s" % (source, target), result.stdout)


    def test_two_draws_in_no_set_order_fail_and_ordered_ones_pass(self):
        cases = [
            ("two draws as arguments", "f(RandomInt(2), CRand());", True),
            ("a draw inside a helper's argument list", "g(MakeMonsterName().c_str(),\n  1 + (CRand() >> 14));", True),
            ("operands of one sum", "int v = MTRandomInt(3) + MTRandomInt(4);", True),
            ("one draw", "int v = lx + CRand() / 4096 - 4;", False),
            ("two statements", "int a = RandomInt(2);\nint b = CRand();", False),
            ("joined by &&", "bool b = MTOneChanceIn(2) && MTOneChanceIn(3);", False),
            ("either side of ?:", "int p = w ? 1 + RandomInt(2) : 1 + MTRandomInt(2);", False),
            ("in a comment", "// f(RandomInt(2), CRand());\nint a = 0;", False),
            ("in a string", 'puts("RandomInt(2), CRand()");', False),
            ("list index draws", "f(RandomIndex(4), CRand());", True),
            ("definitions by level", "Use(RandomWeaponDefByLevel(3), RandomArmourDefByLevel(3));", True),
            ("square and definition pickers", "Put(PickRandomOpenSquare(l), PickRandomPotionDef());", True),
            ("a bag draw and a range", "Put(DrawFrom(bag), RandomInt(3));", True),
            ("a ?: elsewhere among the arguments", "f(RandomInt(2), w ? 1 : 2, CRand());", True),
            ("draws in ?: arms of two arguments", "f(w ? RandomInt(2) : 0, v ? CRand() : 1);", True),
            ("an arm and the other operand", "int v = (w ? RandomInt(2) : 0) + CRand();", True),
            ("&& inside one argument only", "f(a && RandomIndex(2), CRand());", True),
            ("both arms of one ?:", "const ItemDef* d = w ? RandomGemDef() : PickRandomWandDef();", False),
            ("condition then arm", "int v = RandomIndex(3) ? MTRandomInt(2) : 0;", False),
            ("draws in one argument joined by ||", "f(MTOneChanceIn(2) || MTOneChanceIn(3), 4);", False),
            ("a seeding call is no draw", "f(LoggedRandomSeed(), SeedRandomGenerators());", False),
        ]
        for name, code, fails in cases:
            with self.subTest(name):
                root = tree({"levels/gen/x.cpp": "void h() {\n" + code + "\n}\n"})
                result = run(root)
                self.assertEqual(result.returncode, 1 if fails else 0, result.stdout)
                if fails:
                    self.assertIn("levels/gen/x.cpp:", result.stdout)
                    self.assertIn("two random draws", result.stdout)

    def test_tests_may_draw_as_they_like(self):
        root = tree({"tests/x_test.cpp": "void h() { f(RandomInt(2), CRand()); }\n"})
        self.assertEqual(run(root).returncode, 0)

if __name__ == "__main__":
    unittest.main()
