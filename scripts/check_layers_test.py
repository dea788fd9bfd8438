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


if __name__ == "__main__":
    unittest.main()
