#!/usr/bin/env python3
"""Writes the decoder's test vectors as a C++ source: streams made by the packer,
and streams composed symbol by symbol from the code tables."""
import random
import sys

sys.path.insert(0, sys.argv[2])
import skinpack as sp  # noqa: E402


def composed():
    """'A', a 60-byte match of the byte before (position 0, overlapping its own
    output), then 10 blanks from the preset ring (61 + 4036 back of r)."""
    tree, out = sp.Tree(), sp.BitWriter()

    def symbol(c):
        out.bits(tree.code(c))
        tree.update(c)

    def position(p):
        out.put(sp.P_CODE[p >> 6], sp.P_LEN[p >> 6])
        out.put(p & 0x3F, 6)

    symbol(ord('A'))
    symbol(60 + 253)
    position(0)
    symbol(10 + 253)
    position(61 + 100)
    return out.flush(), b'A' * 61 + b' ' * 10


def cpp_bytes(data):
    return '{' + ','.join(str(b) for b in data) + '}'


def main():
    rng = random.Random(16)
    plain = {
        'Literals': b'Tarnwhistle',
        'LongMatches': b'skin ' + b'=' * 1000 + b' end ' + b'=' * 700,
        'Overlap': b'q' * 61,
        'PresetWindow': b'      blanks first',
        'TreeRebuild': bytes(rng.randrange(256) for _ in range(40000)),
    }
    vectors = [(name, sp.encode(data), data) for name, data in plain.items()]
    vectors.append(('Composed',) + composed())
    with open(sys.argv[1], 'w') as f:
        f.write('// Made by make_vectors.py at build time.\n#include "skin/SkinVectors.h"\n\n')
        f.write('const std::vector<TLZHVector>& LZHVectors() {\n')
        f.write('    static const std::vector<TLZHVector> vectors = {\n')
        for name, code, data in vectors:
            f.write('        {"%s", %s, %s},\n' % (name, cpp_bytes(code), cpp_bytes(data)))
        f.write('    };\n    return vectors;\n}\n')


main()
