#!/usr/bin/env python3
"""Writes damaged and hostile skins, packed as the program stores them (u32 length and
packed skin), with an .rc that names each as an RCDATA resource HOSTILE_<SHAPE>:

    make_hostile_skins.py OUTDIR TOOLSDIR

The packages are mostly long runs, packed here with matches of short periods only,
which keeps packing a 12 MiB package under a second.
"""
import os
import random
import struct
import sys

sys.path.insert(0, sys.argv[2])
import make_skin  # noqa: E402
import skinpack as sp  # noqa: E402

MiB = 1 << 20
PERIODS = (1, 2, 3, 4, 5, 6, 8, 12)


def pack_runs(data):
    """LZHUF code bits of data using matches that repeat the last 1 to 12 bytes."""
    tree, out = sp.Tree(), sp.BitWriter()
    cur, n = 0, len(data)
    while cur < n:
        limit = min(sp.F, n - cur)
        best, period = 0, 0
        for d in PERIODS if limit > sp.THRESHOLD else ():
            if d > cur:
                break
            length = 0
            while length < limit and data[cur + length] == data[cur - d + length]:
                length += 1
            if length > best:
                best, period = length, d
            if best == limit:
                break
        if best > sp.THRESHOLD:
            c = best + 255 - sp.THRESHOLD
            out.bits(tree.code(c))
            tree.update(c)
            out.put(sp.P_CODE[(period - 1) >> 6], sp.P_LEN[(period - 1) >> 6])
            out.put((period - 1) & 0x3F, 6)
            cur += best
        else:
            out.bits(tree.code(data[cur]))
            tree.update(data[cur])
            cur += 1
    return struct.pack('<I', n) + out.flush()


def caption_sections(count, picture):
    return ''.join('[Button%d]\r\nAction=0\r\nAlign=1\r\nXcoord=20\r\nframe=4\r\n'
                   'ButtonImage=%s\r\n' % (i, picture) for i in range(count)).encode('ascii')


def solid_bmp(w, h, rgb):
    row = bytes((rgb[2], rgb[1], rgb[0])) * w
    row += b'\0' * (-len(row) % 4)
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(row) * h, 2835, 2835, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 54 + len(row) * h, 0, 0, 54) + header + row * h


def shapes():
    bitmaps = make_skin.members(make_skin.pictures())[:-1]  # our own, without the ini
    garbage = bytes(random.Random(1107).randrange(1, 256) for _ in range(4000))
    header = struct.pack('<IIII', sp.MAGIC, 12 * MiB, 0, 0)
    return {
        'NAMES': header + b'a\r\n' * (4 * MiB),  # four million names
        'INI': sp.package([('z.ini', b'a=1\r\n' * (12 * MiB // 5))]),
        'SECTIONS': sp.package([('z.ini', caption_sections(5000, 'b.bmp'))]),
        'PICTURES': sp.package([('z.ini', caption_sections(200, 'large.bmp')),
                                ('large.bmp', solid_bmp(2048, 2048, (0x33, 0x66, 0x99)))]),
        'NOINI': sp.package(bitmaps),
        'GARBAGE': sp.package(bitmaps + [('z.ini', garbage)]),
    }


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rc = []
    for name, package in shapes().items():
        path = os.path.join(out, name.lower() + '.skin')
        with open(path, 'wb') as f:
            f.write(sp.resource(pack_runs(package)))
        rc.append('HOSTILE_%s RCDATA "%s"\n' % (name, path))
    with open(os.path.join(out, 'HostileSkins.rc'), 'w') as f:
        f.writelines(rc)


main()
