#!/usr/bin/python3
"""Checks the committed LCD font against its glyph table and generator.

Run with Debian's python (it has fontTools):
  /usr/bin/python3 tools/fonts/font_test.py [--font resources/jd_lcd_rounded.ttf]
      [--generator tools/fonts/make_lcd_font.py] [--glyphs tools/fonts/lcd_glyphs.txt]
The paths can also come from LCD_FONT, LCD_FONT_GENERATOR and LCD_GLYPHS.
Any other arguments go to unittest.
"""

import argparse
import importlib.util
import itertools
import math
import os
import subprocess
import sys
import tempfile
import unittest

from fontTools.pens.recordingPen import RecordingPen
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
PATHS = {
    "font": os.environ.get("LCD_FONT", os.path.join(HERE, "..", "..", "resources", "jd_lcd_rounded.ttf")),
    "generator": os.environ.get("LCD_FONT_GENERATOR", os.path.join(HERE, "make_lcd_font.py")),
    "glyphs": os.environ.get("LCD_GLYPHS", os.path.join(HERE, "lcd_glyphs.txt")),
}

# Every character a client can send: the display reads bytes as Windows-1252, and a
# character the face lacks would be drawn in another typeface, off the 40 columns.
def _cp1252_printable():
    out = []
    for b in range(0x20, 0x100):
        try:
            ch = bytes([b]).decode("cp1252")
        except UnicodeDecodeError:
            continue  # the five bytes Windows-1252 leaves undefined
        if b != 0x7F:
            out.append(ch)
    return out


REQUIRED = _cp1252_printable()
BLANK = {" ", "\u00a0"}


def load_generator():
    spec = importlib.util.spec_from_file_location("make_lcd_font", PATHS["generator"])
    mod = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(mod)
    return mod


def contours(glyph_set, name):
    """Each contour of a glyph as a list of (x, y, on_curve) points."""
    pen = RecordingPen()
    glyph_set[name].draw(pen)
    out, cur = [], None
    for op, args in pen.value:
        if op == "moveTo":
            cur = [(*args[0], True)]
        elif op == "lineTo":
            cur.append((*args[0], True))
        elif op == "qCurveTo":
            cur.extend((x, y, False) for x, y in args[:-1])
            if args[-1] is not None:
                cur.append((*args[-1], True))
        elif op in ("closePath", "endPath"):
            # The closing segment comes back to the start point; count it once.
            if len(cur) > 1 and cur[-1] == cur[0]:
                cur.pop()
            out.append(cur)
        else:
            raise AssertionError(f"unexpected drawing operation {op}")
    return out


class FontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.font = TTFont(PATHS["font"])
        cls.cmap = cls.font.getBestCmap()
        cls.glyph_set = cls.font.getGlyphSet()
        cls.gen = load_generator()
        with open(PATHS["glyphs"], encoding="utf-8") as f:
            cls.table = cls.gen.parse_table(f.read(), PATHS["glyphs"])

    def test_names(self):
        name = self.font["name"]
        for name_id, expected in [
            (1, "JD LCD Rounded"),
            (2, "Regular"),
            (4, "JD LCD Rounded Regular"),
            (6, "JDLCDRounded-Regular"),
        ]:
            with self.subTest(name_id=name_id):
                rec = name.getName(name_id, 3, 1, 0x409)
                self.assertIsNotNone(rec)
                self.assertEqual(rec.toUnicode(), expected)
        for name_id in (3, 5):
            with self.subTest(name_id=name_id):
                rec = name.getName(name_id, 3, 1, 0x409)
                self.assertTrue(rec and rec.toUnicode().strip())

    def test_units_per_em(self):
        self.assertEqual(self.font["head"].unitsPerEm, 1024)

    def test_required_characters_have_outlines(self):
        for ch in REQUIRED + sorted(BLANK):
            with self.subTest(char=ch, cp=f"U+{ord(ch):04X}"):
                self.assertIn(ord(ch), self.cmap)
                n = len(contours(self.glyph_set, self.cmap[ord(ch)]))
                if ch in BLANK:
                    self.assertEqual(n, 0)
                else:
                    self.assertGreater(n, 0)

    def test_notdef_is_first_and_visible(self):
        self.assertEqual(self.font.getGlyphOrder()[0], ".notdef")
        self.assertGreater(len(contours(self.glyph_set, ".notdef")), 0)

    def test_monospaced(self):
        advances = {adv for adv, _ in self.font["hmtx"].metrics.values()}
        self.assertEqual(len(advances), 1, advances)
        (advance,) = advances
        self.assertNotEqual(self.font["post"].isFixedPitch, 0)
        os2 = self.font["OS/2"]
        self.assertEqual(os2.panose.bProportion, 9)
        self.assertEqual(os2.xAvgCharWidth, advance)
        # The dots stay inside the cell, so neighbours never touch.
        head = self.font["head"]
        self.assertGreater(head.xMin, 0)
        self.assertLess(head.xMax, advance)

    def test_vertical_metrics_agree_and_cover_outlines(self):
        hhea, os2, head = self.font["hhea"], self.font["OS/2"], self.font["head"]
        self.assertEqual(hhea.ascent, os2.sTypoAscender)
        self.assertEqual(hhea.ascent, os2.usWinAscent)
        self.assertEqual(hhea.descent, os2.sTypoDescender)
        self.assertEqual(hhea.descent, -os2.usWinDescent)
        self.assertEqual(hhea.lineGap, os2.sTypoLineGap)
        self.assertTrue(os2.fsSelection & 0x80, "USE_TYPO_METRICS not set")
        # Accents and descenders must not be clipped by the line box.
        self.assertLessEqual(head.yMax, hhea.ascent)
        self.assertGreaterEqual(head.yMin, hhea.descent)

    def test_outlines_follow_table(self):
        gen = self.gen
        last_row_above_baseline = gen.ACCENT_ROWS + gen.BODY_ROWS - 1
        for cp, rows in self.table:
            name = ".notdef" if cp is None else self.cmap.get(cp)
            label = ".notdef" if cp is None else f"U+{cp:04X}"
            with self.subTest(glyph=label):
                self.assertIsNotNone(name)
                expected = {
                    (gen.PITCH_ACROSS * (c + 1),
                     (last_row_above_baseline - r) * gen.PITCH_DOWN + gen.PITCH_DOWN // 2)
                    for r, row in enumerate(rows)
                    for c, ch in enumerate(row)
                    if ch == "#"
                }
                found = set()
                for pts in contours(self.glyph_set, name):
                    # A round dot: 8 on-curve points on the circle with an
                    # off-curve control point between each pair.
                    self.assertEqual(len(pts), 16)
                    self.assertEqual([p[2] for p in pts], [True, False] * 8)
                    cx = sum(p[0] for p in pts if p[2]) / 8
                    cy = sum(p[1] for p in pts if p[2]) / 8
                    for x, y, _ in pts[::2]:
                        self.assertAlmostEqual(math.hypot(x - cx, y - cy), gen.RADIUS, delta=1)
                    found.add((round(cx), round(cy)))
                self.assertEqual(found, {(round(x), round(y)) for x, y in expected})
                # Every dot stays a dot: no two of them touch.
                for (x1, y1), (x2, y2) in itertools.combinations(found, 2):
                    self.assertGreater(math.hypot(x1 - x2, y1 - y2), 2 * gen.RADIUS + 1)

    def test_committed_font_matches_fresh_build(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "font.ttf")
            subprocess.run(
                [sys.executable, PATHS["generator"], "--glyphs", PATHS["glyphs"], "--out", out],
                check=True)
            with open(out, "rb") as f:
                fresh = f.read()
        with open(PATHS["font"], "rb") as f:
            committed = f.read()
        self.assertTrue(fresh == committed,
                        "committed font differs from a fresh build; rerun make_lcd_font.py")


BLOCK = ["....."] * 3 + ["#...#"] * 7 + ["....."] * 2


def table(*blocks):
    lines = []
    for header, rows in blocks:
        lines.append(header)
        lines.extend(rows)
        lines.append("")
    return "\n".join(lines)


class TableParserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.gen = load_generator()

    def test_valid_table(self):
        text = "# comment\n#\n" + table((".notdef", BLOCK), ("U+0041 A", BLOCK), ("U+0020 space", BLOCK))
        glyphs = self.gen.parse_table(text)
        self.assertEqual([cp for cp, _ in glyphs], [None, 0x41, 0x20])
        self.assertEqual(glyphs[1][1], BLOCK)

    def test_rejects_malformed_tables(self):
        notdef = (".notdef", BLOCK)
        cases = {
            "short block": table(notdef, ("U+0041 A", BLOCK[:-1])),
            "extra row": table(notdef, ("U+0041 A", BLOCK + ["#...#"])),
            "row too wide": table(notdef, ("U+0041 A", BLOCK[:-1] + ["......"])),
            "bad dot character": table(notdef, ("U+0041 A", BLOCK[:-1] + ["..o.."])),
            "label disagrees": table(notdef, ("U+0041 B", BLOCK)),
            "duplicate": table(notdef, ("U+0041 A", BLOCK), ("U+0041", BLOCK)),
            "no notdef": table(("U+0041 A", BLOCK)),
            "bad code point": table(notdef, ("U+00G1", BLOCK)),
            "not a header": table(notdef, ("A", BLOCK)),
        }
        for label, text in cases.items():
            with self.subTest(case=label):
                with self.assertRaises(self.gen.TableError):
                    self.gen.parse_table(text)

    def test_generator_fails_on_bad_table_without_writing(self):
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.txt")
            out = os.path.join(tmp, "out.ttf")
            with open(bad, "w", encoding="utf-8") as f:
                f.write(table((".notdef", BLOCK[:-1])))
            proc = subprocess.run(
                [sys.executable, PATHS["generator"], "--glyphs", bad, "--out", out],
                capture_output=True, text=True)
            self.assertNotEqual(proc.returncode, 0)
            self.assertIn("bad.txt", proc.stderr)
            self.assertFalse(os.path.exists(out))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0], add_help=False)
    ap.add_argument("--font")
    ap.add_argument("--generator")
    ap.add_argument("--glyphs")
    args, rest = ap.parse_known_args()
    for key in PATHS:
        if getattr(args, key):
            PATHS[key] = getattr(args, key)
    unittest.main(argv=[sys.argv[0]] + rest)


if __name__ == "__main__":
    main()
