#!/usr/bin/env python3
"""Prints one text field of a Windows shortcut (.lnk), as the Shell Link
format ([MS-SHLLINK]) stores it, or nothing when the shortcut has none:

    read_shortcut.py SHORTCUT.lnk name|relative_path|working_dir|arguments|icon_location
"""
import struct
import sys

FIELDS = ["name", "relative_path", "working_dir", "arguments", "icon_location"]
HAS_ID_LIST, HAS_LINK_INFO, IS_UNICODE = 0x01, 0x02, 0x80


def string_data(data):
    header_size, = struct.unpack_from("<I", data, 0)
    if header_size != 0x4C or data[4:20] != bytes.fromhex("0114020000000000c000000000000046"):
        sys.exit("not a shell link")
    flags, = struct.unpack_from("<I", data, 20)
    at = header_size
    if flags & HAS_ID_LIST:
        size, = struct.unpack_from("<H", data, at)
        at += 2 + size
    if flags & HAS_LINK_INFO:
        size, = struct.unpack_from("<I", data, at)
        at += size
    # Each string that a flag (0x04 name ... 0x40 icon location) says is there.
    fields = {}
    for bit, field in zip((0x04, 0x08, 0x10, 0x20, 0x40), FIELDS):
        if not flags & bit:
            continue
        count, = struct.unpack_from("<H", data, at)
        at += 2
        # Some writers (Wine's among them) count the final NUL too.
        if flags & IS_UNICODE:
            fields[field] = data[at:at + 2 * count].decode("utf-16-le").rstrip("\0")
            at += 2 * count
        else:
            fields[field] = data[at:at + count].decode("cp1252").rstrip("\0")
            at += count
    return fields


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in FIELDS:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as shortcut:
        print(string_data(shortcut.read()).get(sys.argv[2], ""))


if __name__ == "__main__":
    main()
