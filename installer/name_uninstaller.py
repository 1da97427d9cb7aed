#!/usr/bin/env python3
"""Gives the uninstaller its own name in its version resource. NSIS builds the uninstaller with
the installer's version resource, whose OriginalFilename is what the update checks before it
starts a download: left as it is, the signed uninstaller would pass for the installer.
Run by makensis on the uninstaller before it is signed; the file keeps its size, and the
checksum that NSIS stores at the end of its data is made again, or the uninstaller would refuse
to run ("integrity check failed").

    name_uninstaller.py UNINSTALLER.exe INSTALLER_NAME UNINSTALLER_NAME
"""

import struct
import sys
import zlib

# NSIS puts its header at a multiple of BLOCK: flags, the signature, "NullsoftInst", the
# header's length, then the length of all its data, whose last 4 bytes are a CRC-32 of the file
# from the second BLOCK on (the first holds the PE headers, which signing changes).
BLOCK = 512
NSIS_MARK = struct.pack("<I", 0xDEADBEEF) + b"NullsoftInst"
MARK_AT = 4
DATA_LENGTH_AT = 24
CRC_SIZE = 4


def checksum_place(data):
    for at in range(0, len(data), BLOCK):
        if data[at + MARK_AT : at + MARK_AT + len(NSIS_MARK)] == NSIS_MARK:
            (length,) = struct.unpack_from("<I", data, at + DATA_LENGTH_AT)
            end = at + length - CRC_SIZE
            if BLOCK <= end <= len(data) - CRC_SIZE:
                return end
    sys.exit("no NSIS data found")


def checksum(data, end):
    return struct.pack("<I", zlib.crc32(data[BLOCK:end]))


def text(value):
    return (value + "\0").encode("utf-16-le")


def main(path, installer_name, uninstaller_name):
    if len(uninstaller_name) > len(installer_name):
        sys.exit(f"{uninstaller_name} is longer than {installer_name}, whose place it takes")
    data = bytearray(open(path, "rb").read())
    end = checksum_place(data)
    if data[end : end + CRC_SIZE] != checksum(data, end):
        sys.exit(f"{path}: its NSIS checksum is not made as this script makes it")
    entry = text("OriginalFilename") + text(installer_name)
    at = data.find(entry)
    if at < 0 or data.find(entry, at + 1) >= 0:
        sys.exit(f"{path}: not exactly one OriginalFilename {installer_name}")
    value = at + len(text("OriginalFilename"))
    # The value keeps its length; the name ends at its first NUL.
    data[value : value + len(text(installer_name))] = text(uninstaller_name).ljust(len(text(installer_name)), b"\0")
    data[end : end + CRC_SIZE] = checksum(data, end)
    open(path, "wb").write(data)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
