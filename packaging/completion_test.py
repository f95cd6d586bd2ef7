#!/usr/bin/env python3
"""The shell completion of zelmor and quindel. bash: sources each script in a real bash with
the built programs first on PATH, completes a command line and checks the candidates. zsh:
runs each function in a real zsh with the completion system's calls standing in (they
work only inside an interactive completion), and checks what it offers."""
import argparse
import os
import re
import shutil
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


def zsh_run(script, words, stubs):
    """Runs the zsh completion function in `script` for `words` (the last one is completed)
    with the completion system's calls replaced by `stubs`; its standard output."""
    quoted = " ".join("'" + w.replace("'", "'\\''") + "'" for w in words)
    code = (f"{stubs}\n"
            f"words=({quoted}); CURRENT={len(words)}; PREFIX={quoted.split(' ')[-1]}\n"
            f"source '{script}'\n")
    env = {**os.environ, "PATH": ARGS.bin + os.pathsep + os.environ.get("PATH", "")}
    p = subprocess.run(["zsh", "-f", "-c", code], capture_output=True, text=True, timeout=60, env=env)
    if p.returncode != 0:
        raise AssertionError(p.stderr)
    return p.stdout


# What compadd would offer, one a line (zsh filters them by the word typed, as done here).
ZSH_STUBS = """
compadd() { local a; for a in "$@"; do [[ $a == -- ]] || print -r -- "$a"; done }
_call_program() { shift; eval "$@" }
_files() { print -r -- "(files)" }
"""


def zsh_complete(script, words):
    offered = zsh_run(script, words, ZSH_STUBS).splitlines()
    return {c for c in offered if c.startswith(words[-1]) or c == "(files)"}


@unittest.skipUnless(shutil.which("zsh"), "zsh missing (tools/setup-deps.sh installs it)")
class ZshCompletion(unittest.TestCase):
    def test_zelmor_completes_commands_routines_and_help(self):
        zelmor = os.path.join(ARGS.source, "packaging/completion/zsh/_zelmor")
        cases = [
            (["zelmor", "c"], {"call", "chave", "cpf", "cnpj"}, set()),
            (["zelmor", "call", "TmStr.DecTo"], {"TmStr.DecToBin"}, {"call"}),
            (["zelmor", "call", "--json", "TmStr.DecTo"], {"TmStr.DecToBin"}, set()),
            (["zelmor", "call", "--l"], {"--list"}, set()),
            (["zelmor", "dialog", "--"], {"--help"}, {"--json", "--list"}),
            (["zelmor", "help", "disp"], {"display"}, set()),
            (["zelmor", "cpf", "--"], {"--help"}, {"(files)"}),
            (["zelmor", "reg", "file", ""], {"(files)"}, set()),
        ]
        for words, present, absent in cases:
            with self.subTest(words=words):
                got = zsh_complete(zelmor, words)
                self.assertLessEqual(present, got)
                self.assertFalse(absent & got)

    def test_quindel_names_every_option_its_help_lists(self):
        quindel = os.path.join(ARGS.source, "packaging/completion/zsh/_quindel")
        declared = zsh_run(quindel, ["quindel", "--"], '_arguments() { print -rl -- "$@" }').splitlines()
        named = {m.group(1) for s in declared if (m := re.match(r"^(?:\([^)]*\))?(--[a-z-]+)\[", s))}
        help_text = subprocess.run([os.path.join(ARGS.bin, "quindel"), "--help"], capture_output=True,
                                   text=True, timeout=60).stdout
        self.assertEqual(named, set(re.findall(r"--[a-z][a-z-]*", help_text)))
        values = {m.group(1): m.group(2) for s in declared if (m := re.match(r"^(--[a-z-]+)\[.*:\((.*)\)$", s))}
        self.assertEqual(values.get("--mirror-protocol"), "cd5220 escpos")
        self.assertEqual(values.get("--mirror-codepage"), "437 850 858 860 1252")


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
        self.assertEqual(complete(quindel, ["quindel", "--w"]), {"--web"})
        self.assertEqual(complete(quindel, ["quindel", "--web", ""]), set())  # an address, not an option


if __name__ == "__main__":
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--source", required=True)
    ARGS, rest = ap.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest])
