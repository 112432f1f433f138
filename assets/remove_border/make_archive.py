"""Packs the remove-border patch: the folder entries down to the tunables
file, stored, then the file itself, deflated. Fixed dates, so every build
carries the same bytes.

    make_archive.py PLAYERINFO_YMT OUTPUT_ZIP
"""
import sys
import zipfile

FOLDERS = [
    "FiveM.app/",
    "FiveM.app/citizen/",
    "FiveM.app/citizen/platform/",
    "FiveM.app/citizen/platform/data/",
    "FiveM.app/citizen/platform/data/tune/",
]
FILE = FOLDERS[-1] + "playerinfo.ymt"
DATE = (2020, 1, 1, 0, 0, 0)


def main(source, output):
    with open(source, "rb") as f:
        content = f.read()
    with zipfile.ZipFile(output, "w") as archive:
        for folder in FOLDERS:
            entry = zipfile.ZipInfo(folder, DATE)
            entry.external_attr = 0x10  # the directory attribute
            archive.writestr(entry, b"", zipfile.ZIP_STORED)
        entry = zipfile.ZipInfo(FILE, DATE)
        archive.writestr(entry, content, zipfile.ZIP_DEFLATED, 9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
