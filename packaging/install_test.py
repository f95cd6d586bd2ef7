#!/usr/bin/env python3
"""The installed tree and the Debian packages: installs the build into a temporary
prefix and checks what is there and that it runs, builds the example program against
it with CMake and with pkg-config, then makes the .deb files with CPack and checks them
with dpkg-deb, unpacked into a throwaway root, and with lintian."""
import argparse
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

ARGS = None


def run(cmd, timeout=300, **kw):
    p = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, **kw)
    if p.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, cmd))} failed ({p.returncode}):\n{p.stdout}\n{p.stderr}")
    return p


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class InstalledTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.prefix = os.path.join(cls.tmp.name, "usr")
        run(["cmake", "--install", ARGS.build, "--prefix", cls.prefix])

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def path(self, rel):
        return os.path.join(self.prefix, rel)

    def test_the_tree_holds_programs_desktop_files_and_the_library(self):
        for rel in ["bin/zelmor", "libexec/quindel/quindel", "libexec/quindel/jd_lcd_rounded.ttf",
                    "share/applications/quindel.desktop", "share/icons/hicolor/scalable/apps/quindel.svg",
                    "lib/systemd/user/quindel.service", "share/man/man1/quindel.1.gz", "share/man/man1/zelmor.1.gz",
                    "share/doc/quindel/copyright", "share/doc/libzelmor-dev/changelog.gz",
                    "share/zsh/vendor-completions/_zelmor", "share/zsh/vendor-completions/_quindel",
                    "include/zelmor/core/text.h", "include/zelmor/platform/service.h",
                    "include/zelmor/strings/mString.h", "include/zelmor/mLib.h",
                    "include/zelmor/adapters/linux/system_services.h",
                    "lib/libzelmor_lib.a", "lib/libzelmor_linux.a", "lib/zelmor/modules/zelmor-zip.so",
                    "lib/zelmor/modules/zelmor-network.so", "lib/zelmor/modules/zelmor-crypto.so",
                    "lib/zelmor/modules/zelmor-xml.so", "lib/zelmor/modules/zelmor-sound.so",
                    "lib/zelmor/modules/zelmor-database.so",
                    "lib/zelmor/modules/zelmor-gui.so",
                    "lib/cmake/Zelmor/ZelmorConfig.cmake", "lib/cmake/Zelmor/ZelmorTargets.cmake",
                    "lib/pkgconfig/zelmor.pc", "share/bash-completion/completions/zelmor",
                    "share/bash-completion/completions/quindel"]:
            with self.subTest(rel=rel):
                self.assertTrue(os.path.isfile(self.path(rel)), rel)
        # The display program is reached through a relative link, so the font sits next to
        # the executable it resolves to wherever the tree is installed.
        self.assertEqual(os.readlink(self.path("bin/quindel")), "../libexec/quindel/quindel")
        self.assertFalse([f for f in os.listdir(self.path("include/zelmor/strings")) if f.endswith(".cpp")])

    def test_the_install_manifest_lists_everything_installed(self):
        # Uninstalling is `xargs rm < install_manifest.txt`: whatever it misses stays behind.
        listed = set(read(os.path.join(ARGS.build, "install_manifest.txt")).splitlines())
        written = set()
        for folder, dirs, files in os.walk(self.prefix):
            written.update(os.path.join(folder, name) for name in files)
            written.update(os.path.join(folder, name) for name in dirs if os.path.islink(os.path.join(folder, name)))
        self.assertEqual(sorted(written - listed), [])
        self.assertIn(self.path("bin/quindel"), listed)
        self.assertIn(self.path("lib/systemd/user/quindel.service"), listed)

    def test_only_public_headers_are_installed_and_they_are_complete(self):
        include = self.path("include/zelmor")
        for internal in ["strings/check_digit_math.h", "datetime/date_helpers.h", "format/pattern_text.h",
                         "config/config_text.h", "core/snapshot.h"]:
            with self.subTest(internal=internal):
                self.assertFalse(os.path.exists(os.path.join(include, internal)), internal)
        # Leaving a header out must not break one that stays: every quoted include of an
        # installed header is found in the tree.
        missing = []
        for folder, _, files in os.walk(include):
            for name in files:
                header = os.path.join(folder, name)
                for inc in re.findall(r'^\s*#\s*include\s+"([^"]+)"', read(header), re.M):
                    if not any(os.path.isfile(os.path.join(base, inc)) for base in (include, folder)):
                        missing.append(f"{os.path.relpath(header, include)}: {inc}")
        self.assertEqual(missing, [])

    def test_desktop_entry_unit_and_manual_pages_are_clean(self):
        if shutil.which("desktop-file-validate"):
            run(["desktop-file-validate", self.path("share/applications/quindel.desktop")])
        unit = read(self.path("lib/systemd/user/quindel.service"))
        self.assertIn("Restart=on-failure", unit)
        self.assertIn("WantedBy=graphical-session.target", unit)
        self.assertIn(f"ExecStart={self.prefix}/bin/quindel\n", unit)
        # The hardening a desktop window tolerates: far from systemd's "unsafe" (9.6 without it).
        if shutil.which("systemd-analyze"):
            p = subprocess.run(["systemd-analyze", "security", "--offline=true",
                                self.path("lib/systemd/user/quindel.service")], capture_output=True, text=True)
            level = re.search(r"Overall exposure level for quindel\.service: ([0-9.]+)", p.stdout)
            if level:  # an analyzer that cannot judge a unit offline says nothing to hold
                self.assertLessEqual(float(level.group(1)), 7.0, p.stdout)
        for hardening in ["NoNewPrivileges=yes", "SystemCallFilter=@system-service", "RestrictNamespaces=yes"]:
            self.assertIn(hardening, unit)
        for page in ["quindel.1.gz", "zelmor.1.gz"]:
            with self.subTest(page=page):
                p = run(["man", "--warnings", "-l", self.path("share/man/man1/" + page)],
                        env={**os.environ, "MANWIDTH": "80", "MAN_KEEP_FORMATTING": "0"})
                self.assertEqual(p.stderr, "")
                self.assertIn("SYNOPSIS", re.sub(".\b", "", p.stdout))  # without the overstrike
        help_text = run([self.path("bin/quindel"), "--help"]).stdout
        page = run(["man", "-l", self.path("share/man/man1/quindel.1.gz")],
                   env={**os.environ, "MANWIDTH": "200", "MAN_KEEP_FORMATTING": "0"}).stdout
        for option in ["--screen", "--fullscreen", "--on-top", "--web"]:
            with self.subTest(option=option):
                self.assertIn(option, help_text)
                self.assertIn(option, re.sub(".\b", "", page).replace("\u2010", "-"))

    def test_the_installed_programs_run_and_talk(self):
        self.assertIn("zelmor ", run([self.path("bin/zelmor"), "--version"]).stdout)
        # A digest needs the crypto module, found from the installed program's folder.
        self.assertEqual(run([self.path("bin/zelmor"), "call", "TmRot.MD5", "abc"]).stdout.strip().upper(),
                         "900150983CD24FB0D6963F7D28E17F72")
        self.assertIn("--port", run([self.path("bin/quindel"), "--help"]).stdout)
        port = str(free_port())
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env["QT_QPA_PLATFORM"] = "offscreen"
        with tempfile.TemporaryDirectory() as home:
            env["HOME"] = env["XDG_CONFIG_HOME"] = home
            quindel = subprocess.Popen([self.path("bin/quindel"), "--echo", "--port", port], env=env,
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            try:
                self.assertIn("line1", quindel.stdout.readline())  # the start-up lines
                deadline = time.monotonic() + 20
                while True:  # until the listener takes the message
                    p = subprocess.run([self.path("bin/zelmor"), "display", "send", "--port", port, "CAFE", "R$ 4,50"],
                                       capture_output=True, text=True, timeout=20, env=env)
                    if p.returncode == 0 or time.monotonic() > deadline:
                        break
                    time.sleep(0.2)
                self.assertEqual(p.returncode, 0, p.stderr)
                self.assertIn('"line2":"R$ 4,50"', quindel.stdout.readline())
            finally:
                quindel.terminate()
                _, err = quindel.communicate(timeout=20)
            self.assertNotIn("font", err)

    def test_the_example_builds_against_the_cmake_package(self):
        build = os.path.join(self.tmp.name, "example")
        run(["cmake", "-S", os.path.join(ARGS.source, "examples/cpf_check"), "-B", build, "-G", "Ninja",
             "-DCMAKE_PREFIX_PATH=" + self.prefix])
        run(["cmake", "--build", build], timeout=600)
        self.check_example(os.path.join(build, "cpf_check"))

    def test_the_install_guide_snippets_build_as_written(self):
        # A fresh project that only declares itself and its program, with the guide's C++
        # and CMake lines as they stand: the package must bring C++20 along by itself.
        guide = read(os.path.join(ARGS.source, "docs/install.md"))
        cpp = re.search(r"```cpp\n(.*?)```", guide, re.S).group(1)
        cmake = re.search(r"```cmake\n(.*?)```", guide, re.S).group(1)
        self.assertIn("my_program", cmake)
        project = os.path.join(self.tmp.name, "guide")
        os.makedirs(project)
        with open(os.path.join(project, "main.cpp"), "w", encoding="utf-8") as f:
            f.write(cpp)
        with open(os.path.join(project, "CMakeLists.txt"), "w", encoding="utf-8") as f:
            f.write("cmake_minimum_required(VERSION 3.25)\nproject(my_program LANGUAGES CXX)\n"
                    "add_executable(my_program main.cpp)\n" + cmake)
        build = os.path.join(project, "build")
        run(["cmake", "-S", project, "-B", build, "-G", "Ninja", "-DCMAKE_PREFIX_PATH=" + self.prefix])
        run(["cmake", "--build", build], timeout=600)
        self.assertEqual(subprocess.run([os.path.join(build, "my_program")], timeout=30).returncode, 0)

    def test_the_example_builds_with_pkg_config(self):
        env = {**os.environ, "PKG_CONFIG_PATH": self.path("lib/pkgconfig")}
        flags = run(["pkg-config", "--cflags", "--libs", "zelmor"], env=env).stdout.split()
        includes = [os.path.realpath(f[2:]) for f in flags if f.startswith("-I")]
        self.assertIn(os.path.realpath(self.path("include/zelmor")), includes)
        exe = os.path.join(self.tmp.name, "cpf_check_pc")
        run(["c++", os.path.join(ARGS.source, "examples/cpf_check/main.cpp"), "-o", exe, *flags], timeout=600)
        self.check_example(exe)

    def check_example(self, exe):
        p = subprocess.run([exe, "123.456.789-09", "11.222.333/0001-81", "123.456.789-00"],
                           capture_output=True, text=True, timeout=30)
        self.assertEqual(p.returncode, 1)  # one of the three is invalid
        self.assertEqual(p.stdout.splitlines()[:3], ["123.456.789-09: valid", "11.222.333/0001-81: valid",
                                                     "123.456.789-00: invalid"])
        self.assertIn("VINTE E UM MIL", p.stdout.upper())


class DebianPackages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not shutil.which("dpkg-deb") or not shutil.which("cpack"):
            raise unittest.SkipTest("dpkg-deb or cpack missing")
        cls.tmp = tempfile.TemporaryDirectory()
        run(["cpack", "--config", os.path.join(ARGS.build, "CPackConfig.cmake"), "-B", cls.tmp.name], timeout=900)
        cls.debs = {f.split("_")[0]: os.path.join(cls.tmp.name, f) for f in os.listdir(cls.tmp.name)
                    if f.endswith(".deb")}

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_cpack_makes_both_packages_and_they_unpack(self):
        debs = self.debs
        tmp = self.tmp.name
        self.assertEqual(sorted(debs), ["libzelmor-dev", "quindel"])
        info = run(["dpkg-deb", "--info", debs["quindel"]]).stdout
        self.assertIn("Package: quindel", info)
        self.assertRegex(info, r"Depends: .*libqt6widgets6")
        dev = run(["dpkg-deb", "--info", debs["libzelmor-dev"]]).stdout
        self.assertRegex(dev, r"Depends: .*libcurl4-openssl-dev")
        contents = run(["dpkg-deb", "--contents", debs["quindel"]]).stdout
        for path in ["./usr/bin/quindel -> ../libexec/quindel/quindel", "./usr/libexec/quindel/jd_lcd_rounded.ttf",
                     "./usr/share/applications/quindel.desktop", "./usr/lib/systemd/user/quindel.service"]:
            self.assertIn(path, contents)
        root = os.path.join(tmp, "root")
        for deb in debs.values():
            run(["dpkg", "-x", deb, root])
        self.assertIn("ExecStart=/usr/bin/quindel", read(os.path.join(root, "usr/lib/systemd/user/quindel.service")))
        self.assertIn("zelmor ", run([os.path.join(root, "usr/bin/zelmor"), "--version"]).stdout)
        self.assertEqual(run([os.path.join(root, "usr/bin/zelmor"), "call", "TmRot.MD5", "abc"]).stdout.strip().upper(),
                         "900150983CD24FB0D6963F7D28E17F72")
        self.assertTrue(os.path.isfile(os.path.join(root, "usr/include/zelmor/strings/mString.h")))

    def test_lintian_finds_no_error_and_only_warnings_the_readme_explains(self):
        debs = list(self.debs.values())
        if not shutil.which("lintian"):
            self.skipTest("lintian missing (tools/setup-deps.sh installs it)")
        readme = read(os.path.join(ARGS.source, "packaging/README.md"))
        explained = {tag for row in re.findall(r"^\|((?: ?`[a-z0-9-]+`,?)+) \|", readme, re.M)
                     for tag in re.findall(r"`([a-z0-9-]+)`", row)}
        p = subprocess.run(["lintian", "--tag-display-limit", "0", *debs], capture_output=True, text=True,
                           timeout=900)
        tags = re.findall(r"^([EW]): (\S+): ([a-z0-9-]+)", p.stdout, re.M)
        self.assertTrue(p.returncode == 0 or tags, p.stdout + p.stderr)  # lintian itself worked
        errors = [f"{package}: {tag}" for level, package, tag in tags if level == "E"]
        unexplained = [f"{package}: {tag}" for level, package, tag in tags if level == "W" and tag not in explained]
        self.assertEqual(errors, [], p.stdout)
        self.assertEqual(unexplained, [], "warnings packaging/README.md does not explain:\n" + p.stdout)


if __name__ == "__main__":
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--source", required=True)
    ARGS, rest = ap.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest])
