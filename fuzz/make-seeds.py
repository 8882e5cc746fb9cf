#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/. Run again after changing it; the output is kept
in the repository so a fuzz run needs nothing but the build."""
import os
import pathlib
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"
# Folder of the third-party test movies (see corpus/README.md); skipped when not given.
SWF_SOURCE = os.environ.get("LUMORA_SWF_TESTDATA")
SMALL_SWFS = [
    "avm1_v9_cws_edge_header_2f_actual_1f.swf",
    "avm1_v8_cws_ten_frames_stop_10f.swf",
    "avm1_v8_fws_greaterthan_1f.swf",
    "avm1_v8_cws_clip_in_removed_button_3f.swf",
    "avm1_v15_cws_goto_label_7f.swf",
    "avm1_v10_fws_shared_stack_2f.swf",
    "avm2_v10_cws_queued_goto_construct_3f.swf",
    "avm2_v43_zws_enterframe_gotoandstop_3f.swf",
]


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data.encode("utf-8") if isinstance(data, str) else data)


def ini_seeds():
    write("fuzz_inifile", "config.ini", "[Config]\nVersion=2.0.0.23\nurl=http://127.0.0.1/\n")
    write("fuzz_inifile", "crlf.ini", "[Info]\r\nSource=2\r\n\r\n[Config]\r\nKEY = \"quoted\" \r\n")
    write("fuzz_inifile", "gbk.ini",
          "[本地设置]\n用户名=朱镕基\n; 注释\n[section]\nurl='http://例子/'\n".encode("gbk"))
    write("fuzz_inifile", "messy.ini", "  [ config ]  \nversion\n=empty\n[LOCALSET\nkey=1\nkey=2")
    write("fuzz_inifile", "noeol.ini", "[Config]\nurl=a=b")


def catalogue_seeds():
    write("fuzz_catalogue", "utf8.xml",
          '<?xml version="1.0" encoding="UTF-8"?>\n<Lumora>\n'
          '  <Item type="0" id="1" pid="" name="声母"/>\n'
          '  <Item type="1" id="2" pid="1" name="b p m f"/>\n'
          '  <Item type="4" id="3" pid="1" name="a &amp; b"/>\n'
          '  <Item type="x" id="4" pid="9" name="orphan"/>\n</Lumora>\n')
    write("fuzz_catalogue", "gb2312.xml",
          ('<?xml version="1.0" encoding="gb2312"?>\n<Lumora>\n'
           '  <Item type="0" id="10" pid="" name="朱镕基"/>\n'
           '  <Item type="2" id="11" pid="10" name="读一读"/>\n</Lumora>\n').encode("gbk"))
    write("fuzz_catalogue", "dtd.xml",
          '<?xml version="1.0"?>\n<!DOCTYPE Lumora [<!ENTITY e "x&#38;y"><!ATTLIST Item type CDATA "9">]>\n'
          '<Lumora><Item id="1" pid="" name="&e;"><Item id="2" pid="1"/></Item>'
          '<Item id="1" pid=""/><Item id="3" pid="1"/></Lumora>\n')
    write("fuzz_catalogue", "broken.xml", '<Lumora><Item id="1" pid=""></Lumora>')


def answer_seeds():
    for name, text in [("flv", "http://127.0.0.1:1/P2P/12.flv"),
                       ("negative", "http://127.0.0.1:8080/P2P/-2147483649.swf"),
                       ("big", "http://127.0.0.1:1/P2P/9223372036854775807.mp3"),
                       ("twice", "P2P/P2P/7.flv"),
                       ("short", "P2P/.flv")]:
        write("fuzz_engineanswer", name, text)


def reply_seeds():
    for name, text in [("number", "<number>12.5</number>"), ("half", "<number>2.5</number>"),
                       ("exp", "<NUMBER>1e3</NUMBER>"), ("state", "<number>-1</number>"),
                       ("string", "<string>null</string>"), ("blank", " <number> 7 </number> "),
                       ("huge", "<number>3e9</number>")]:
        write("fuzz_flvreply", name, text)


def range_seeds():
    # First byte: file size when below 0x80; 0x80 and up takes eight bytes of size after it.
    for name, size, header in [("first_last", 100, "bytes=0-99"), ("open", 100, "bytes=50-"),
                               ("suffix", 100, "bytes=-10"), ("empty_file", 0, "bytes=0-"),
                               ("multi", 100, "bytes=0-1,5-6"), ("blanks", 1, " bytes = 0 - 0 ")]:
        write("fuzz_byterange", name, bytes([size]) + header.encode())
    write("fuzz_byterange", "large",
          b"\x80" + struct.pack("<Q", (1 << 40) << 1) + b"bytes=1099511627775-")


def rect(width, height):
    # Five-bit field size, then xmin, xmax, ymin, ymax in twips.
    bits = 16
    fields = [0, width * 20, 0, height * 20]
    value = bits
    for f in fields:
        value = (value << bits) | f
    total = 5 + 4 * bits
    value <<= (-total) % 8
    return value.to_bytes((total + 7) // 8, "big")


def tag(code, body=b""):
    if len(body) < 0x3F:
        return struct.pack("<H", (code << 6) | len(body)) + body
    return struct.pack("<HI", (code << 6) | 0x3F, len(body)) + body


def movie(version, tags, frames, compress=False):
    body = rect(320, 240) + struct.pack("<HH", 24 << 8, frames) + b"".join(tags) + tag(0)
    length = 8 + len(body)
    if compress:
        return b"CWS" + bytes([version]) + struct.pack("<I", length) + zlib.compress(body)
    return b"FWS" + bytes([version]) + struct.pack("<I", length) + body


def swf_seeds():
    stop = tag(12, b"\x07\x00")  # DoAction: stop, end
    write("fuzz_swfpatch", "made_avm1_1f.swf", movie(8, [tag(69, b"\0\0\0\0"), stop, tag(1)], 1))
    write("fuzz_swfpatch", "made_avm1_3f_declared_5.swf",
          movie(6, [tag(1), tag(1), stop, tag(1)], 5))
    sprite = tag(39, struct.pack("<HH", 2, 2) + tag(1) + tag(1) + tag(0))
    write("fuzz_swfpatch", "made_avm1_sprite_cws.swf", movie(10, [sprite, tag(1)], 1, True))
    write("fuzz_swfpatch", "made_avm2.swf", movie(10, [tag(69, b"\x08\0\0\0"), tag(1)], 1))
    for name in SMALL_SWFS if SWF_SOURCE else []:
        data = (pathlib.Path(SWF_SOURCE) / name).read_bytes()
        write("fuzz_swfpatch", name, data)
        # The uncompressed form lets mutations reach the tags instead of the zlib stream.
        if data[:3] == b"CWS":
            plain = b"FWS" + data[3:8] + zlib.decompress(data[8:])
            write("fuzz_swfpatch", name.replace("_cws_", "_fws-from-cws_"), plain)


if __name__ == "__main__":
    ini_seeds()
    catalogue_seeds()
    answer_seeds()
    reply_seeds()
    range_seeds()
    swf_seeds()
