#!/usr/bin/env python3
"""The include-graph check on small trees made for it: a clean tree passes, and
each kind of break is caught with the file and line that causes it."""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "include_graph.py")


def make_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(text)


def run(files):
    with tempfile.TemporaryDirectory() as root:
        make_tree(root, files)
        p = subprocess.run([sys.executable, SCRIPT, "--root", root], capture_output=True, text=True, timeout=60)
        return p.returncode, p.stdout, p.stderr


CLEAN = {
    "core/text.h": "#pragma once\n#include <string>\n",
    "platform/clock.h": '#pragma once\n#include "core/text.h"\n',
    "lib/calendar/calendar.h": '#pragma once\n#include "platform/clock.h"\n',
    "lib/strings/mString.h": '#pragma once\n#include "calendar/calendar.h"\n',
    "lib/strings/padding_test.cpp": '#include "testing/fixtures.h"\n#include "strings/mString.h"\n',
    "adapters/linux/clock_linux.cpp": '#include <unistd.h>\n#include "platform/clock.h"\n',
    "testing/fixtures.h": '#pragma once\n#include "platform/clock.h"\n',
    "app/main.cpp": '#include <QApplication>\n#include "adapters/linux/clock_linux.cpp"\n',
}


class IncludeGraphTest(unittest.TestCase):
    def test_a_layered_tree_passes(self):
        code, out, err = run(CLEAN)
        self.assertEqual(code, 0, err)
        self.assertIn("no include breaks the layering", out)
        self.assertIn("strings", out)

    def test_each_break_is_named_by_file_and_line(self):
        cases = [
            # (file, text, what the message says)
            ("platform/bad.h", '#pragma once\n\n#include "strings/mString.h"\n', "platform/bad.h:3:"),
            ("core/bad.h", '#include "platform/clock.h"\n', "core/bad.h:1:"),
            ("lib/calendar/bad.cpp", '#include "strings/mString.h"\n', "lib/calendar may not include lib/strings"),
            ("lib/strings/bad.cpp", "#include <sys/socket.h>\n", "operating-system or Qt header"),
            ("lib/strings/qt.cpp", "#include <QString>\n", "lib/strings/qt.cpp:1:"),
            ("adapters/qt/bad.cpp", '#include "adapters/linux/clock_linux.cpp"\n', "adapters/qt/bad.cpp:1:"),
            ("lib/strings/gone.cpp", '#include "strings/missing.h"\n', "is not a file of the tree"),
            ("lib/newfolder/x.cpp", '#include "calendar/calendar.h"\n', "not in LIB_ORDER"),
        ]
        for path, text, expected in cases:
            with self.subTest(path=path):
                code, _, err = run({**CLEAN, path: text})
                self.assertEqual(code, 1, err)
                self.assertIn(expected, err)

    def test_tests_may_use_the_stand_ins_but_library_code_may_not(self):
        code, _, err = run({**CLEAN, "lib/strings/padding.cpp": '#include "testing/fixtures.h"\n'})
        self.assertEqual(code, 1)
        self.assertIn("lib/strings/padding.cpp:1:", err)


if __name__ == "__main__":
    unittest.main()
