#!/usr/bin/python3
"""Writes the updater window's seven-segment font under the face name the
launcher asks for.

The font is DSEG7 Classic Regular from Debian's fonts-dseg (SIL Open Font
License 1.1). The license forbids a changed font to keep the reserved name
"DSEG", and the launcher looks the face up as "Digital-7 Mono", so every
name record that names the font gets the new name; the copyright notice,
the license and its URL stay in the name table as the license asks. A "/" is added, which the speed line needs
and the font lacks.

  rename_font.py SOURCE.ttf OUTPUT.ttf

A build-time tool: runs under Debian's python3 with python3-fonttools.
"""
import os
import sys

from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

FAMILY = "Digital-7 Mono"
STYLE = "Mono"
NAMES = {
    1: FAMILY,  # family: the face name GDI matches
    2: STYLE,
    3: FAMILY + "; derived from DSEG7 Classic Regular",
    4: FAMILY,  # full name
    6: "Digital-7Mono",  # PostScript name: no blanks
}
# Typographic family and style would take precedence over 1 and 2 in some
# programs; the font keeps one family.
DROPPED = (16, 17, 18, 21, 22)


def add_slash(font):
    """The speed line reads "1.50MB/s", and a seven-segment font has no "/":
    a plain slanted bar as tall as the digits and as wide as one of them."""
    if 0x2F in font.getBestCmap():
        return
    digit = font.getBestCmap()[ord("1")]
    advance = font["hmtx"][digit][0]
    glyph = font["glyf"][digit]
    glyph.recalcBounds(font["glyf"])
    bottom, top = glyph.yMin, glyph.yMax
    stroke, lean = advance * 0.11, advance * 0.5
    left = (advance - lean - stroke) / 2
    pen = TTGlyphPen(None)
    pen.moveTo((round(left), bottom))
    pen.lineTo((round(left + stroke), bottom))
    pen.lineTo((round(left + lean + stroke), top))
    pen.lineTo((round(left + lean), top))
    pen.closePath()
    font.setGlyphOrder(font.getGlyphOrder() + ["slash"])
    font["glyf"]["slash"] = pen.glyph()
    font["hmtx"]["slash"] = (advance, round(left))
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap[0x2F] = "slash"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: rename_font.py SOURCE.ttf OUTPUT.ttf")
    source, output = sys.argv[1:]
    font = TTFont(source)
    table = font["name"]
    table.names = [record for record in table.names if record.nameID not in DROPPED]
    for record in table.names:
        if record.nameID in NAMES:
            record.string = NAMES[record.nameID]
    font["OS/2"].usWeightClass = 400
    add_slash(font)
    temporary = output + ".tmp"
    font.save(temporary)
    os.replace(temporary, output)


if __name__ == "__main__":
    main()
