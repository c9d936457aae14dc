#!/usr/bin/env python3
"""Appends an uncompressed cabinet to a program the way "quellkit skin pack"
does (the cabinet, then its length as 4 little-endian bytes), storing every
name in code page 932 without the UTF-8 mark, as cabinets made on a Japanese
system store them.

usage: cp932_cabinet.py PROGRAM OUT FILE...
"""
import os
import struct
import sys

BLOCK = 32768
DATE, TIME = 0x5A21, 0x6000  # 2025-01-01 12:00:00
ARCHIVE = 0x20


def cabinet(paths):
    names = [os.path.basename(p).encode("cp932") for p in paths]
    datas = [open(p, "rb").read() for p in paths]
    joined = b"".join(datas)
    blocks = [joined[at:at + BLOCK] for at in range(0, len(joined), BLOCK)]
    files = b""
    offset = 0
    for name, data in zip(names, datas):
        files += struct.pack("<IIHHHH", len(data), offset, 0, DATE, TIME, ARCHIVE) + name + b"\0"
        offset += len(data)
    header_size, folder_size = 36, 8
    first_block = header_size + folder_size + len(files)
    # A checksum of 0 tells the reader there is none.
    data = b"".join(struct.pack("<IHH", 0, len(b), len(b)) + b for b in blocks)
    total = first_block + len(data)
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, header_size + folder_size, 0, 3, 1, 1,
                                   len(paths), 0, 0, 0)
    folder = struct.pack("<IHH", first_block, len(blocks), 0)
    return header + folder + files + data


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    program, out, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
    cab = cabinet(paths)
    with open(out, "wb") as f:
        f.write(open(program, "rb").read() + cab + struct.pack("<I", len(cab)))
    os.chmod(out, 0o755)


if __name__ == "__main__":
    main()
