#!/usr/bin/env python3
"""The include graph of the source tree, checked against the layers.

Prints which layer and library folder includes which (how many includes), and
fails, naming the file and line, on:
  - an include of a layer above the file's own (or of a sibling adapter);
  - an include between library folders against the order declared in LIB_ORDER,
    which is what keeps the folders free of circles;
  - an operating-system or Qt header in core/, platform/ or lib/ (the seam);
  - a quoted include that resolves to no file of the tree.

A routine group that spans folders (TmRot, TmFile) is a namespace that each folder
opens in its own header for the routines it defines, so a call to a routine needs
the header of the folder that defines it: the includes alone show who needs whom.

  include_graph.py [--root DIR] [--mermaid] [--stamp FILE]

--mermaid prints the graph as a mermaid diagram (docs/architecture.md holds one);
--stamp writes FILE when the check passes (the build step's output). Standard
library only, so any Python 3.8+ runs it.
"""
import argparse
import os
import re
import sys
from collections import defaultdict

# Layers, bottom first. A file may include its own layer and those with a lower
# rank; layers of the same rank may not include each other (the two adapters).
LAYERS = [
    # (name, folder, rank)
    ("core", "core", 0),
    ("platform", "platform", 1),
    ("lib", "lib", 2),
    ("adapters/linux", "adapters/linux", 3),
    ("adapters/qt", "adapters/qt", 3),
    ("testing", "testing", 4),
    ("app", "app", 5),
    ("tools/zelmor", "tools/zelmor", 5),
    ("tests", "tests", 6),
]
# Test, benchmark and fuzz programs sit beside the code they exercise but are
# programs themselves: they may use the test doubles and everything below.
TEST_FILE = re.compile(r"_(test|bench|fuzz)\.cpp$|(^|/)testdata/")
TESTS_RANK = 6

# The library's folders, bottom first: a folder may include only itself and the
# folders listed before it. A new folder goes where its includes put it.
LIB_ORDER = [
    "mConst.h",   # shared array types and enumerations
    "regional",   # the live regional settings and the start-up copies (read by six folders)
    "calendar",   # the date-time value's calendar, today and now
    "parsing",    # strict text-to-value conversions
    "format",     # number and date-time patterns
    "textfile",   # the library's text files: encodings and lines
    "xml",        # TmXMLLeitura: the XML reader (a text search)
    "config",     # TmConfig, TConfigStatic, TmINI, TmReg; the program's folder
    "forms",      # TFormPosition, colours; what a program runs once at start
    "strings",    # TmStr; the federative-units table
    "datetime",   # TmDt, TmConv
    "system",     # TmRot's system routines, TmUF, TmTS
    "files",      # TmFile's file routines, TGravaLogs
    "zip",        # TZip: zip archives through the zip layer
    "ftp",        # TZelmorFTP: FTP transfers through the FTP client
    "dialogs",    # TmDlg, the wait window, TmSpeaker
    "processes",  # TmRot's process routines: they report through TmDlg and write scripts
    "network",    # TmRot's machine, network and download routines
    "helpers",    # TmRot's generic helpers: CaseDo asks through TmDlg, QueryToSQL writes dates and numbers
    "shell",      # desktop entries, TmFile's and TmRot's shell routines: they start programs
    "updates",    # TmFile's update from the update server: FTP, settings, dialogs
    "controls",   # TmRot's form and control rules: form state in TmINI, launchers through shell
    "mRotinas.h", # every part of TmRot, for code outside the library
    "mFileUtil.h",  # every part of TmFile, for code outside the library
    "mLib.h",     # the short aliases: every routine group
]

INCLUDE_ROOTS = ["", "lib"]  # quoted includes resolve against these (after the file's own folder)

# Headers that belong to the operating system or the GUI toolkit: only adapters
# and programs include them.
SEAM_LAYERS = {"core", "platform", "lib"}
SYSTEM_HEADER = re.compile(
    r"^(Q[A-Z]\w*|Qt\w*/.*|sys/.*|netinet/.*|arpa/.*|curl/.*|X11/.*|linux/.*|"
    r"unistd\.h|fcntl\.h|pwd\.h|grp\.h|dlfcn\.h|langinfo\.h|locale\.h|netdb\.h|poll\.h|"
    r"signal\.h|termios\.h|dirent\.h|spawn\.h|pthread\.h|ifaddrs\.h|net/.*)$")

SOURCE = re.compile(r"\.(h|hpp|cpp|cc)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


class Tree:
    def __init__(self, root):
        self.root = root
        self.files = {}  # path -> (layer, rank)
        for name, folder, rank in LAYERS:
            base = os.path.join(root, folder)
            for dirpath, dirnames, filenames in os.walk(base):
                dirnames[:] = sorted(d for d in dirnames if not d.startswith("."))
                for f in sorted(filenames):
                    if SOURCE.search(f):
                        rel = os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")
                        self.files[rel] = (name, rank)

    def layer(self, path):
        """(layer name, rank) of a file, the test programs counted as tests."""
        name, rank = self.files[path]
        if TEST_FILE.search(path):
            return ("tests", TESTS_RANK)
        return (name, rank)

    def resolve(self, path, target):
        here = os.path.dirname(path)
        for base in [here] + INCLUDE_ROOTS:
            cand = os.path.normpath(os.path.join(base, target)).replace(os.sep, "/")
            if cand in self.files:
                return cand
        return None


def lib_unit(path):
    """The library folder (or root file) a path under lib/ belongs to."""
    rest = path[len("lib/"):]
    return rest.split("/", 1)[0]


def check(tree):
    errors = []
    layer_edges = defaultdict(int)
    lib_edges = defaultdict(int)
    order = {u: i for i, u in enumerate(LIB_ORDER)}
    for path in sorted(tree.files):
        name, rank = tree.layer(path)
        with open(os.path.join(tree.root, path), encoding="utf-8", errors="replace") as f:
            lines = f.readlines()
        for lineno, line in enumerate(lines, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            where = f"{path}:{lineno}"
            if kind == "<":
                if name in SEAM_LAYERS and SYSTEM_HEADER.match(target):
                    errors.append(f"{where}: <{target}> is an operating-system or Qt header; {name} may not "
                                  f"include it (system calls live in adapters/, behind platform/ interfaces)")
                continue
            dest = tree.resolve(path, target)
            if dest is None:
                errors.append(f'{where}: "{target}" is not a file of the tree '
                              f"(includes start at the repository root or at lib/)")
                continue
            dname, drank = tree.files[dest]  # what is included counts by where it lives
            layer_edges[(name, dname)] += 1
            if drank > rank or (drank == rank and dname != name):
                errors.append(f'{where}: "{target}" is in {dname}, which {name} may not include '
                              f"(a layer includes only itself and the layers below it)")
                continue
            if name == "lib" and dname == "lib":
                src, dst = lib_unit(path), lib_unit(dest)
                for u in (src, dst):
                    if u not in order:
                        errors.append(f"{where}: lib/{u} is not in LIB_ORDER of tools/include_graph.py; "
                                      f"add it where its includes put it")
                if src in order and dst in order and src != dst:
                    lib_edges[(src, dst)] += 1
                    if order[dst] > order[src]:
                        errors.append(f'{where}: "{target}": lib/{src} may not include lib/{dst}, which comes '
                                      f"after it in LIB_ORDER (that would make a circle of folders)")
    return errors, layer_edges, lib_edges


def print_text(layer_edges, lib_edges):
    print("Layers (bottom first) and what each includes:")
    seen = []
    for name, _, rank in LAYERS:
        if name not in seen:
            seen.append(name)
    for name in seen:
        outs = sorted(((d, n) for (s, d), n in layer_edges.items() if s == name and d != name))
        text = ", ".join(f"{d} ({n})" for d, n in outs) or "-"
        print(f"  {name:15} -> {text}")
    print("Library folders (bottom first) and what each includes:")
    for unit in LIB_ORDER:
        outs = sorted(((d, n) for (s, d), n in lib_edges.items() if s == unit), key=lambda x: LIB_ORDER.index(x[0]))
        text = ", ".join(f"{d} ({n})" for d, n in outs) or "-"
        print(f"  {unit:15} -> {text}")


def mermaid(layer_edges, lib_edges):
    def node(n):
        return re.sub(r"\W", "_", n)
    out = ["```mermaid", "flowchart BT", "  subgraph layers [Layers: an arrow is an include]"]
    for (s, d), n in sorted(layer_edges.items()):
        if s != d and s != "tests":
            out.append(f"    {node(s)}[{s}] --> {node(d)}[{d}]")
    out += ["  end", "  subgraph folders [lib/ folders]"]
    for (s, d), n in sorted(lib_edges.items(), key=lambda e: (LIB_ORDER.index(e[0][0]), LIB_ORDER.index(e[0][1]))):
        out.append(f"    lib_{node(s)}[{s}] --> lib_{node(d)}[{d}]")
    out += ["  end", "```"]
    return "\n".join(out) + "\n"


DOC_BEGIN = "<!-- include-graph: generated by tools/include_graph.py --update-doc -->\n"
DOC_END = "<!-- include-graph: end -->\n"


def doc_with_graph(text, graph):
    """The document with its generated block replaced by `graph`, or None without the markers."""
    a, b = text.find(DOC_BEGIN), text.find(DOC_END)
    if a < 0 or b < a:
        return None
    return text[:a + len(DOC_BEGIN)] + graph + text[b:]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    ap.add_argument("--mermaid", action="store_true")
    ap.add_argument("--stamp")
    ap.add_argument("--update-doc", metavar="FILE", help="rewrite the generated graph in FILE")
    ap.add_argument("--check-doc", metavar="FILE", help="fail when the generated graph in FILE is stale")
    ap.add_argument("--quiet", action="store_true", help="print only the errors")
    args = ap.parse_args()

    tree = Tree(os.path.abspath(args.root))
    errors, layer_edges, lib_edges = check(tree)
    for doc, update in ((args.update_doc, True), (args.check_doc, False)):
        if not doc:
            continue
        with open(doc, encoding="utf-8") as f:
            text = f.read()
        fresh = doc_with_graph(text, mermaid(layer_edges, lib_edges))
        if fresh is None:
            errors.append(f"{doc}: no generated graph block ({DOC_BEGIN.strip()} ... {DOC_END.strip()})")
        elif update and fresh != text:
            with open(doc, "w", encoding="utf-8") as f:
                f.write(fresh)
        elif not update and fresh != text:
            errors.append(f"{doc}: the include graph in it is stale; run "
                          f"tools/include_graph.py --update-doc {os.path.relpath(doc)}")
    if args.mermaid:
        print(mermaid(layer_edges, lib_edges), end="")
    elif not args.quiet:
        print_text(layer_edges, lib_edges)
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"include graph: {len(errors)} place(s) break the layering", file=sys.stderr)
        return 1
    if not args.quiet and not args.mermaid:
        print(f"include graph: {len(tree.files)} files, no include breaks the layering")
    if args.stamp:
        with open(args.stamp, "w") as f:
            f.write("ok\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
