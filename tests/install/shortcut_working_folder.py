"""Prints the working folder stored in a Windows shortcut (.lnk) file.

usage: shortcut_working_folder.py FILE.lnk
The file is a header of 76 bytes whose link flags say which parts follow:
an item id list, a link info block, then counted strings (name, relative
path, working folder, ...), UTF-16 when the unicode flag is set.
"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR = 0x1, 0x2, 0x4, 0x8, 0x10
IS_UNICODE = 0x80


def working_folder(data: bytes) -> str:
    (flags,) = struct.unpack_from("<I", data, 20)
    at = 76
    if flags & HAS_ID_LIST:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & HAS_LINK_INFO:
        at += struct.unpack_from("<I", data, at)[0]
    unit = 2 if flags & IS_UNICODE else 1
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if not flags & flag:
            continue
        (count,) = struct.unpack_from("<H", data, at)
        text = data[at + 2 : at + 2 + count * unit]
        at += 2 + count * unit
        if flag == HAS_WORKING_DIR:
            return text.decode("utf-16-le" if unit == 2 else "cp1252")
    raise SystemExit("the shortcut names no working folder")


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        print(working_folder(f.read()))
