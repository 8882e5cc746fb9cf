#!/usr/bin/env python3
"""Writes a large GB2312 catalogue like a shipped one: make-catalogue.py TARGET [FOLDERS [PER]].

FOLDERS top-level folders (1000) of PER programmes each (99): 100,000 entries by default."""
import sys

target = sys.argv[1]
folders = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
per = int(sys.argv[3]) if len(sys.argv) > 3 else 99

lines = ['<?xml version="1.0" encoding="gb2312"?>', "<Lumora>"]
for f in range(folders):
    folder_id = f + 1
    lines.append(f'  <Item type="0" id="{folder_id}" pid="" name="第{f + 1}单元 儿歌"/>')
    for k in range(per):
        item_id = folders + 1 + f * per + k
        lines.append(f'  <Item type="{1 + k % 4}" id="{item_id}" pid="{folder_id}" '
                     f'name="小星星{f} 第{k}集"/>')
lines.append("</Lumora>")
with open(target, "wb") as out:
    out.write(("\n".join(lines) + "\n").encode("gb2312"))
