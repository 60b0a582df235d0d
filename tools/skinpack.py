#!/usr/bin/env python3
"""Packs a skin: the package of members (bitmaps and the ini), compressed with
LZHUF, as the program's skin reader expects it. Every packed stream is decoded
again here and compared with its input before it is written.

    skinpack.py OUT MEMBER...   writes u32 length + packed skin (the resource)
"""
import struct
import sys
from collections import deque

N, F, THRESHOLD = 4096, 60, 2
N_CHAR = 256 - THRESHOLD + F  # 314 symbols: bytes, then match lengths 3..60
T = 2 * N_CHAR - 1            # tree nodes
R = T - 1                     # the root
MAX_FREQ = 0x8000
PRESET = N - F                # ring bytes preset to blanks
MAGIC = 20000

# Prefix code of a position's upper 6 bits: lengths 3 (v 0), 4 (1-3), 5 (4-11),
# 6 (12-23), 7 (24-47), 8 (48-63), codes in increasing order of v.
P_LEN, P_CODE, D_CODE, D_LEN = [], [], [0] * 256, [0] * 256
_b = 0
for _len, _count in zip(range(3, 9), (1, 3, 8, 12, 24, 16)):
    for _ in range(_count):
        P_LEN.append(_len)
        P_CODE.append(_b >> (8 - _len))
        for _k in range(1 << (8 - _len)):
            D_CODE[_b], D_LEN[_b] = len(P_LEN) - 1, _len
            _b += 1


class Tree:
    """The adaptive Huffman tree, updated after every symbol on both sides."""

    def __init__(self):
        self.freq = [0] * (T + 1)
        self.son = [0] * T
        self.prnt = [0] * (T + N_CHAR)
        freq, son, prnt = self.freq, self.son, self.prnt
        for i in range(N_CHAR):
            freq[i], son[i], prnt[i + T] = 1, i + T, i
        i = 0
        for j in range(N_CHAR, R + 1):
            freq[j] = freq[i] + freq[i + 1]
            son[j] = i
            prnt[i] = prnt[i + 1] = j
            i += 2
        freq[T] = 0xFFFF
        prnt[R] = 0

    def reconst(self):
        freq, son, prnt = self.freq, self.son, self.prnt
        j = 0
        for i in range(T):
            if son[i] >= T:
                freq[j] = (freq[i] + 1) // 2
                son[j] = son[i]
                j += 1
        i = 0
        for j in range(N_CHAR, T):
            f = freq[i] + freq[i + 1]
            k = j - 1
            while f < freq[k]:
                k -= 1
            k += 1
            freq[k + 1:j + 1] = freq[k:j]
            freq[k] = f
            son[k + 1:j + 1] = son[k:j]
            son[k] = i
            i += 2
        for i in range(T):
            k = son[i]
            if k >= T:
                prnt[k] = i
            else:
                prnt[k] = prnt[k + 1] = i

    def update(self, c):
        freq, son, prnt = self.freq, self.son, self.prnt
        if freq[R] == MAX_FREQ:
            self.reconst()
        c = prnt[c + T]
        while True:
            freq[c] += 1
            k = freq[c]
            l = c + 1
            if k > freq[l]:
                l += 1
                while k > freq[l]:
                    l += 1
                l -= 1
                freq[c] = freq[l]
                freq[l] = k
                i = son[c]
                prnt[i] = l
                if i < T:
                    prnt[i + 1] = l
                j = son[l]
                son[l] = i
                prnt[j] = c
                if j < T:
                    prnt[j + 1] = c
                son[c] = j
                c = l
            c = prnt[c]
            if c == 0:
                break

    def code(self, c):
        """The bits of symbol c, root first."""
        bits = []
        k = self.prnt[c + T]
        while True:
            bits.append(k & 1)
            k = self.prnt[k]
            if k == R:
                break
        bits.reverse()
        return bits


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, nbits):
        self.acc = (self.acc << nbits) | value
        self.count += nbits
        while self.count >= 8:
            self.count -= 8
            self.out.append((self.acc >> self.count) & 0xFF)
        self.acc &= (1 << self.count) - 1

    def bits(self, bits):
        for b in bits:
            self.put(b, 1)

    def flush(self):
        if self.count:
            self.put(0, 8 - self.count)
        return bytes(self.out)


def _common(buf, a, b, limit):
    """Length of the common prefix of buf[a:] and buf[b:], at most limit."""
    if buf[a:a + limit] == buf[b:b + limit]:
        return limit
    lo, hi = 0, limit
    while lo < hi:
        mid = (lo + hi + 1) // 2
        if buf[a:a + mid] == buf[b:b + mid]:
            lo = mid
        else:
            hi = mid - 1
    return lo


def encode(data, depth=48):
    """LZHUF code bits of data (without the size word)."""
    buf = b' ' * PRESET + bytes(data)
    chains = {}
    tree, out = Tree(), BitWriter()

    def insert(p):
        key = buf[p:p + 3]
        chain = chains.get(key)
        if chain is None:
            chain = chains[key] = deque(maxlen=depth)
        chain.append(p)

    for p in range(max(0, PRESET - N + 1 + F), PRESET):
        insert(p)
    cur, end = PRESET, len(buf)
    while cur < end:
        limit = min(F, end - cur)
        best, best_pos = 0, 0
        if limit > THRESHOLD:
            for p in reversed(chains.get(buf[cur:cur + 3], ())):
                if cur - p - 1 > N - 2:  # the ring has overwritten it
                    break
                length = _common(buf, p, cur, limit)
                if length > best:
                    best, best_pos = length, p
                    if length == limit:
                        break
        if best > THRESHOLD:
            c = best + 255 - THRESHOLD
            out.bits(tree.code(c))
            tree.update(c)
            pos = cur - best_pos - 1
            out.put(P_CODE[pos >> 6], P_LEN[pos >> 6])
            out.put(pos & 0x3F, 6)
        else:
            best = 1
            out.bits(tree.code(buf[cur]))
            tree.update(buf[cur])
        for p in range(cur, cur + best):
            insert(p)
        cur += best
    return out.flush()


def decode(code, size):
    """The decoder, as the program has it: size bytes from code bits."""
    tree = Tree()
    ring = bytearray(b' ' * PRESET + b'\0' * F)
    r, out = PRESET, bytearray()
    state = {'buf': 0, 'len': 0, 'pos': 0}

    def fill():
        while state['len'] <= 8:
            byte = code[state['pos']] if state['pos'] < len(code) else 0
            state['pos'] += 1
            state['buf'] |= (byte << (8 - state['len'])) & 0xFFFF
            state['len'] += 8

    def bit():
        fill()
        b = state['buf'] >> 15
        state['buf'] = (state['buf'] << 1) & 0xFFFF
        state['len'] -= 1
        return b

    def byte():
        fill()
        b = state['buf'] >> 8
        state['buf'] = (state['buf'] << 8) & 0xFFFF
        state['len'] -= 8
        return b

    son = tree.son
    while len(out) < size:
        c = son[R]
        while c < T:
            c = son[c + bit()]
        c -= T
        tree.update(c)
        if c < 256:
            out.append(c)
            ring[r] = c
            r = (r + 1) & (N - 1)
            continue
        i = byte()
        v = D_CODE[i] << 6
        for _ in range(D_LEN[i] - 2):
            i = (i << 1) + bit()
        s = (r - (v | (i & 0x3F)) - 1) & (N - 1)
        for k in range(c - 255 + THRESHOLD):
            b = ring[(s + k) & (N - 1)]
            out.append(b)
            ring[r] = b
            r = (r + 1) & (N - 1)
    return bytes(out[:size])


def pack(data):
    """Packed skin: u32 decoded size, then the code bits; checked by decoding."""
    code = encode(data)
    if decode(code, len(data)) != bytes(data):
        raise SystemExit('skinpack: the packed stream does not decode to its input')
    return struct.pack('<I', len(data)) + code


def package(members):
    """The package of (name, bytes) members."""
    names = ''.join(name + '\r\n' for name, _ in members).encode('ascii')
    sizes = b''.join(struct.pack('<I', len(body)) for _, body in members)
    return (struct.pack('<IIII', MAGIC, len(names), 0, 0) + names + sizes +
            b''.join(body for _, body in members))


def resource(packed):
    """The stored form: u32 length of the packed skin, then the packed skin."""
    return struct.pack('<I', len(packed)) + packed


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    members = []
    for path in argv[2:]:
        with open(path, 'rb') as f:
            members.append((path.replace('\\', '/').rsplit('/', 1)[-1], f.read()))
    with open(argv[1], 'wb') as f:
        f.write(resource(pack(package(members))))


if __name__ == '__main__':
    main(sys.argv)
