#!/usr/bin/env python3
"""Writes a copy of a SWF movie that stops itself on one frame, as movies that wait for a
child's click do: a DoAction tag holding the Stop action goes before that frame's ShowFrame.
The copy is written uncompressed.

  stopat.py IN.swf OUT.swf FRAME
"""
import struct
import sys
import zlib

SHOW_FRAME, DO_ACTION, END = 1, 12, 0
STOP_ACTION, END_OF_ACTIONS = 0x07, 0x00


def main(source, target, frame):
    with open(source, "rb") as f:
        data = f.read()
    signature, version, body = data[:3], data[3], data[8:]
    if signature == b"CWS":
        body = zlib.decompress(body)
    elif signature != b"FWS":
        sys.exit(f"stopat.py: {source} is not an FWS or CWS movie")
    bits = body[0] >> 3  # the stage rectangle: 5 bits of size, then four fields of that size
    pos = (5 + 4 * bits + 7) // 8 + 4  # and the frame rate and frame count
    out = bytearray(body[:pos])
    shown = 0
    while pos + 2 <= len(body):
        code_and_length = struct.unpack_from("<H", body, pos)[0]
        code, length, head = code_and_length >> 6, code_and_length & 0x3F, 2
        if length == 0x3F:
            length, head = struct.unpack_from("<I", body, pos + 2)[0], 6
        if code == SHOW_FRAME:
            shown += 1
            if shown == frame:
                out += struct.pack("<HBB", DO_ACTION << 6 | 2, STOP_ACTION, END_OF_ACTIONS)
        out += body[pos : pos + head + length]
        pos += head + length
        if code == END:
            break
    if shown < frame:
        sys.exit(f"stopat.py: {source} has only {shown} frames")
    with open(target, "wb") as f:
        f.write(b"FWS" + bytes([version]) + struct.pack("<I", len(out) + 8) + out)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]))
