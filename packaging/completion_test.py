#!/usr/bin/env python3
"""The bash completion of zelmor and quindel: sources each script in a real bash with the
built programs first on PATH, completes a command line and checks the candidates."""
import argparse
import os
import subprocess
import sys
import unittest

ARGS = None


def complete(script, words):
    """The candidates bash's completion function offers for `words` (the last one is completed)."""
    program = words[0]
    code = (f'source "{script}"\n'
            f'COMP_WORDS=({" ".join(repr(w) for w in words)}); COMP_CWORD={len(words) - 1}\n'
            f'COMP_LINE="${{COMP_WORDS[*]}}"; COMP_POINT=${{#COMP_LINE}}\n'
            f'_{program}\nprintf "%s\\n" "${{COMPREPLY[@]}}"\n')
    env = {**os.environ, "PATH": ARGS.bin + os.pathsep + os.environ.get("PATH", "")}
    p = subprocess.run(["bash", "--norc", "--noprofile", "-c", code], capture_output=True, text=True,
                       timeout=60, env=env)
    if p.returncode != 0:
        raise AssertionError(p.stderr)
    return set(filter(None, p.stdout.splitlines()))


class Completion(unittest.TestCase):
    def test_zelmor_completes_commands_routines_and_help(self):
        zelmor = os.path.join(ARGS.source, "packaging/completion/zelmor")
        cases = [
            (["zelmor", "c"], {"call", "chave", "cpf", "cnpj"}, set()),
            (["zelmor", "call", "TmStr.DecTo"], {"TmStr.DecToBin"}, {"call"}),
            (["zelmor", "call", "--json", "TmStr.DecTo"], {"TmStr.DecToBin"}, set()),
            (["zelmor", "call", "--l"], {"--list"}, set()),
            (["zelmor", "call", "--arg-"], {"--arg-file", "--arg-stdin"}, set()),
            (["zelmor", "call", "--arg-file", "1=x", "TmStr.DecTo"], {"TmStr.DecToBin"}, set()),
            # bash splits N=PATH at "=" by default
            (["zelmor", "call", "--arg-file", "1", "=", "x", "--arg-stdin", "2", "TmStr.DecTo"], {"TmStr.DecToBin"},
             set()),
            (["zelmor", "call", "--arg-stdin", "1", "--j"], {"--json"}, {"--batch"}),
            (["zelmor", "call", "--arg-file", "1=" + os.path.join(ARGS.source, "packaging/completion/zel")],
             {"1=" + os.path.join(ARGS.source, "packaging/completion/zelmor")}, set()),
            (["zelmor", "help", "disp"], {"display"}, set()),
        ]
        for words, present, absent in cases:
            with self.subTest(words=words):
                got = complete(zelmor, words)
                self.assertLessEqual(present, got)
                self.assertFalse(absent & got)
                self.assertTrue(all(g.startswith(words[-1]) for g in got), got)

    def test_quindel_completes_its_options_from_its_help(self):
        quindel = os.path.join(ARGS.source, "packaging/completion/quindel")
        self.assertEqual(complete(quindel, ["quindel", "--mi"]),
                         {"--mirror", "--mirror-protocol", "--mirror-codepage"})
        self.assertEqual(complete(quindel, ["quindel", "--mirror-protocol", ""]), {"cd5220", "escpos"})
        self.assertIn("--fullscreen", complete(quindel, ["quindel", "--"]))


if __name__ == "__main__":
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--source", required=True)
    ARGS, rest = ap.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest])
