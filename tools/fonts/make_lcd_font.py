#!/usr/bin/python3
"""Build the "JD LCD Rounded" TrueType font from the dot-matrix glyph table.

Every lit dot of lcd_glyphs.txt becomes a round dot made of quadratic curves;
all glyphs share one advance so text lines up in cells like on the customer
display: 40 of any character take the width of the 40-column window, and texts
centred with spaces look centred. The output only depends on the table, so the
committed font can be checked against a fresh build.

Usage: make_lcd_font.py [--glyphs tools/fonts/lcd_glyphs.txt]
                        [--out resources/jd_lcd_rounded.ttf]
"""

import argparse
import math
import os
import sys

from fontTools.agl import UV2AGL
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import newTable
from fontTools.ttLib.tables.O_S_2f_2 import Panose

FAMILY = "JD LCD Rounded"
STYLE = "Regular"
PS_NAME = "JDLCDRounded-Regular"
VERSION = "1.000"

COLS = 5
ACCENT_ROWS = 3
BODY_ROWS = 7
DESCENDER_ROWS = 2
ROWS = ACCENT_ROWS + BODY_ROWS + DESCENDER_ROWS

UPM = 1024
# The display sets the font at 34 points on 96 dpi screens, 45 pixels per em.
# There the dot grid falls on whole pixels, 3 across and 4 down, so every dot
# draws the same solid core, and 40 columns take about 720 pixels: the window
# fits the 800-pixel monitors at tills. LCD modules also set their dots closer
# across than down.
DISPLAY_PPEM = 45
PITCH_ACROSS = round(3 * UPM / DISPLAY_PPEM)  # distance between dot centres along a row
PITCH_DOWN = round(4 * UPM / DISPLAY_PPEM)  # distance between rows
# Round dots, so the pitch across bounds their size: 64 of 68 units keeps
# neighbours apart while the dots cover half the grid and strokes stay dark.
RADIUS = 32
ADVANCE = (COLS + 1) * PITCH_ACROSS  # one empty column between characters
CAP_HEIGHT = BODY_ROWS * PITCH_DOWN
X_HEIGHT = 5 * PITCH_DOWN
ASCENT = (BODY_ROWS + ACCENT_ROWS) * PITCH_DOWN
DESCENT = DESCENDER_ROWS * PITCH_DOWN
# 2024-01-01T00:00:00Z in seconds since 1904, so rebuilds are byte-identical.
FIXED_TIMESTAMP = 3786825600

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_GLYPHS = os.path.join(HERE, "lcd_glyphs.txt")
DEFAULT_OUT = os.path.join(HERE, "..", "..", "resources", "jd_lcd_rounded.ttf")


class TableError(ValueError):
    pass


def parse_table(text, source="<table>"):
    """Return [(codepoint or None for .notdef, rows)] in table order."""
    glyphs = []
    seen = set()
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i].rstrip()
        lineno = i + 1
        i += 1
        if not line or line == "#" or line.startswith("# "):
            continue
        fields = line.split(None, 1)
        if fields[0] == ".notdef":
            cp = None
        elif fields[0].upper().startswith("U+"):
            try:
                cp = int(fields[0][2:], 16)
            except ValueError:
                raise TableError(f"{source}:{lineno}: bad code point {fields[0]!r}")
            if not 0 <= cp <= 0x10FFFF:
                raise TableError(f"{source}:{lineno}: code point out of range")
            # A one-character label must agree with the code point; it
            # catches a glyph pasted under the wrong header.
            if len(fields) == 2 and len(fields[1]) == 1 and ord(fields[1]) != cp:
                raise TableError(
                    f"{source}:{lineno}: label {fields[1]!r} is not U+{cp:04X}")
        else:
            raise TableError(f"{source}:{lineno}: expected a glyph header, got {line!r}")
        if cp in seen:
            raise TableError(f"{source}:{lineno}: {fields[0]} defined twice")
        seen.add(cp)
        rows = []
        for _ in range(ROWS):
            if i >= len(lines):
                raise TableError(f"{source}:{lineno}: {fields[0]} has fewer than {ROWS} rows")
            row = lines[i].rstrip()
            i += 1
            if len(row) != COLS or set(row) - {"#", "."}:
                raise TableError(
                    f"{source}:{i}: {fields[0]} row {row!r} is not {COLS} of '#'/'.'")
            rows.append(row)
        glyphs.append((cp, rows))
    if None not in seen:
        raise TableError(f"{source}: no .notdef glyph")
    return glyphs


def _dot_offsets():
    # 8 on-curve points on the circle, 8 off-curve ones where the tangents
    # meet, walked clockwise as TrueType wants for filled contours.
    pts = []
    far = RADIUS / math.cos(math.pi / 8)
    for k in range(8):
        a_on = -k * math.pi / 4
        a_off = a_on - math.pi / 8
        pts.append((round(RADIUS * math.cos(a_on)), round(RADIUS * math.sin(a_on))))
        pts.append((round(far * math.cos(a_off)), round(far * math.sin(a_off))))
    return pts


DOT = _dot_offsets()


def dot_centres(rows):
    """Centres (x, y) of the lit dots; y = 0 is the baseline."""
    centres = []
    for r, row in enumerate(rows):
        # Row ACCENT_ROWS + BODY_ROWS - 1 is the last one above the baseline.
        y = (ACCENT_ROWS + BODY_ROWS - 1 - r) * PITCH_DOWN + PITCH_DOWN // 2
        for c, ch in enumerate(row):
            if ch == "#":
                centres.append((PITCH_ACROSS + c * PITCH_ACROSS, y))
    return centres


def draw_glyph(rows):
    pen = TTGlyphPen(None)
    for cx, cy in dot_centres(rows):
        pts = [(cx + dx, cy + dy) for dx, dy in DOT]
        pen.moveTo(pts[0])
        for j in range(1, 16, 2):
            pen.qCurveTo(pts[j], pts[(j + 1) % 16])
        pen.closePath()
    return pen.glyph()


def glyph_name(cp):
    if cp is None:
        return ".notdef"
    if cp == 0x20:
        return "space"
    return UV2AGL.get(cp, f"uni{cp:04X}")


def build_font(glyphs):
    order = [glyph_name(cp) for cp, _ in glyphs]
    # .notdef must be glyph 0.
    order.sort(key=lambda n: n != ".notdef")
    outlines = {glyph_name(cp): draw_glyph(rows) for cp, rows in glyphs}
    cmap = {cp: glyph_name(cp) for cp, _ in glyphs if cp is not None}

    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(outlines)
    glyf = fb.font["glyf"]
    metrics = {}
    for name in order:
        g = glyf[name]
        metrics[name] = (ADVANCE, g.xMin if g.numberOfContours else 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)
    fb.setupNameTable({
        "familyName": FAMILY,
        "styleName": STYLE,
        "uniqueFontIdentifier": f"{VERSION};NONE;{PS_NAME}",
        "fullName": f"{FAMILY} {STYLE}",
        "version": f"Version {VERSION}",
        "psName": PS_NAME,
    })
    panose = Panose()
    for field in ("bFamilyType", "bSerifStyle", "bWeight", "bProportion",
                  "bContrast", "bStrokeVariation", "bArmStyle", "bLetterForm",
                  "bMidline", "bXHeight"):
        setattr(panose, field, 0)
    panose.bFamilyType = 2  # Latin text
    panose.bWeight = 5  # book
    panose.bProportion = 9  # monospaced
    fb.setupOS2(
        version=4,
        achVendID="NONE",
        xAvgCharWidth=ADVANCE,
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        fsSelection=0x40 | 0x80,  # REGULAR | USE_TYPO_METRICS
        panose=panose,
        sTypoAscender=ASCENT,
        sTypoDescender=-DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        sxHeight=X_HEIGHT,
        sCapHeight=CAP_HEIGHT,
        usDefaultChar=0,
        usBreakChar=0x20,
        usMaxContext=1,
        ulCodePageRange1=1,  # Latin 1 (cp1252) holds every character in the table
        ulCodePageRange2=0,
        ySubscriptXSize=UPM * 2 // 3, ySubscriptYSize=UPM * 2 // 3,
        ySubscriptYOffset=DESCENT, ySuperscriptXSize=UPM * 2 // 3,
        ySuperscriptYSize=UPM * 2 // 3, ySuperscriptYOffset=CAP_HEIGHT // 2,
        yStrikeoutSize=RADIUS, yStrikeoutPosition=X_HEIGHT // 2,
    )
    os2 = fb.font["OS/2"]
    os2.recalcUnicodeRanges(fb.font)
    fb.setupPost(isFixedPitch=1, underlinePosition=-PITCH_DOWN // 2, underlineThickness=RADIUS)
    head = fb.font["head"]
    head.created = head.modified = FIXED_TIMESTAMP
    head.fontRevision = float(VERSION)
    head.lowestRecPPEM = 8
    gasp = newTable("gasp")
    gasp.gaspRange = {0xFFFF: 0x000A}  # smooth at every size; there are no hints
    fb.font["gasp"] = gasp
    # Saving must not stamp the current time into head.modified.
    fb.font.recalcTimestamp = False
    return fb.font


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--glyphs", default=DEFAULT_GLYPHS, help="glyph table to read")
    ap.add_argument("--out", default=DEFAULT_OUT, help="TrueType file to write")
    args = ap.parse_args(argv)
    with open(args.glyphs, encoding="utf-8") as f:
        text = f.read()
    try:
        glyphs = parse_table(text, args.glyphs)
    except TableError as e:
        print(f"make_lcd_font: {e}", file=sys.stderr)
        return 1
    font = build_font(glyphs)
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)
    font.save(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
