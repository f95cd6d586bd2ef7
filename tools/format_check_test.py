#!/usr/bin/env python3
"""The format check on small trees made for it, with the tree's own .clang-format: a
formatted tree passes, an unformatted file fails by name, the pending list leaves a
file out and only shrinks, build folders are ignored, and --fix reformats."""
import os
import shutil
import subprocess
import tempfile
import unittest

TOOLS = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(TOOLS, "format_check.sh")
STYLE = os.path.join(os.path.dirname(TOOLS), ".clang-format")

FORMATTED = "int Twice(int v) { return 2 * v; }\n"
UNFORMATTED = "int  Twice( int v ){return 2*v;}\n"


def run(files, args=()):
    with tempfile.TemporaryDirectory() as root:
        shutil.copy(STYLE, os.path.join(root, ".clang-format"))
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
        p = subprocess.run([SCRIPT, "--root", root, *args], capture_output=True, text=True, timeout=120)
        after = {}
        for path in files:
            with open(os.path.join(root, path)) as f:
                after[path] = f.read()
        return p.returncode, p.stdout + p.stderr, after


class FormatCheckTest(unittest.TestCase):
    def setUp(self):
        code, out, _ = run({"lib/a.cpp": FORMATTED})
        if code == 77:
            self.skipTest(out.strip())

    def test_trees(self):
        cases = [
            # (name, files, exit code, words the output must hold)
            ("formatted", {"lib/a.cpp": FORMATTED, "core/b.h": "#pragma once\n" + FORMATTED}, 0, "formatted 2,"),
            ("one unformatted", {"lib/a.cpp": FORMATTED, "lib/c.cpp": UNFORMATTED}, 1, "not formatted"),
            ("a C file too", {"testing/shim.c": UNFORMATTED}, 1, "testing/shim.c"),
            ("pending", {"lib/c.cpp": UNFORMATTED, "tools/format_pending.txt": "lib/c.cpp  # later\n"}, 0, "pending 1"),
            ("pending but formatted", {"lib/a.cpp": FORMATTED, "tools/format_pending.txt": "lib/a.cpp\n"}, 1,
             "take it off"),
            ("pending and gone", {"lib/a.cpp": FORMATTED, "tools/format_pending.txt": "lib/gone.cpp\n"}, 1,
             "no such file"),
            ("build folders", {"lib/a.cpp": FORMATTED, "build/gen.cpp": UNFORMATTED, "build-asan/x.h": UNFORMATTED},
             0, "formatted 1,"),
            ("includes sorted", {"lib/d.cpp": '#include "z.h"\n#include "a.h"\n'}, 1, "lib/d.cpp"),
        ]
        for name, files, code, words in cases:
            with self.subTest(name):
                got, out, _ = run(files)
                self.assertEqual(got, code, out)
                self.assertIn(words, out)
        # The failing file is named; the formatted one beside it is not.
        _, out, _ = run({"lib/a.cpp": FORMATTED, "lib/c.cpp": UNFORMATTED})
        self.assertIn("lib/c.cpp", out)
        self.assertNotIn("lib/a.cpp", out)

    def test_fix_reformats_what_is_checked_only(self):
        files = {"lib/c.cpp": UNFORMATTED, "lib/p.cpp": UNFORMATTED, "tools/format_pending.txt": "lib/p.cpp\n"}
        code, out, after = run(files, ["--fix"])
        self.assertEqual(code, 0, out)
        self.assertEqual(after["lib/c.cpp"], FORMATTED)
        self.assertEqual(after["lib/p.cpp"], UNFORMATTED)


if __name__ == "__main__":
    unittest.main()
