#!/usr/bin/python3
"""Writes the updater window's seven-segment font under the face name the
launcher asks for.

The font is DSEG7 Classic Regular from Debian's fonts-dseg (SIL Open Font
License 1.1). The license forbids a changed font to keep the reserved name
"DSEG", and the launcher looks the face up as "Digital-7 Mono", so every
name record that names the font gets the new name; the copyright notice,
the license and its URL stay in the name table as the license asks.

  rename_font.py SOURCE.ttf OUTPUT.ttf

A build-time tool: runs under Debian's python3 with python3-fonttools.
"""
import os
import sys

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
    temporary = output + ".tmp"
    font.save(temporary)
    os.replace(temporary, output)


if __name__ == "__main__":
    main()
