#!/usr/bin/env python3
"""Gives the uninstaller its own name in its version resource. NSIS builds the uninstaller with
the installer's version resource, whose OriginalFilename is what the update checks before it
starts a download: left as it is, the signed uninstaller would pass for the installer.
Run by makensis on the uninstaller before it is signed; the file keeps its size.

    name_uninstaller.py UNINSTALLER.exe INSTALLER_NAME UNINSTALLER_NAME
"""

import sys


def text(value):
    return (value + "\0").encode("utf-16-le")


def main(path, installer_name, uninstaller_name):
    if len(uninstaller_name) > len(installer_name):
        sys.exit(f"{uninstaller_name} is longer than {installer_name}, whose place it takes")
    data = bytearray(open(path, "rb").read())
    entry = text("OriginalFilename") + text(installer_name)
    at = data.find(entry)
    if at < 0 or data.find(entry, at + 1) >= 0:
        sys.exit(f"{path}: not exactly one OriginalFilename {installer_name}")
    value = at + len(text("OriginalFilename"))
    # The value keeps its length; the name ends at its first NUL.
    data[value : value + len(text(installer_name))] = text(uninstaller_name).ljust(len(text(installer_name)), b"\0")
    open(path, "wb").write(data)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
