"""Packs PNG pictures into one .ico file (PNG-compressed entries, largest last).

Usage: make_ico.py OUT.ico IN1.png [IN2.png ...]
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG")
    return struct.unpack(">II", data[16:24])


def main():
    out, pictures = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
    header = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    entries, blobs = b"", b""
    for data in pictures:
        w, h = png_size(data)
        # 256 is written as 0 in the one-byte fields.
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs += data
    with open(out, "wb") as f:
        f.write(header + entries + blobs)


if __name__ == "__main__":
    main()
