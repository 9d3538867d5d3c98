#!/usr/bin/env python3
"""Reference repair data of the CUETools database for a disc image, from the
public description of its parity: Reed-Solomon over GF(2^16) (polynomial
0x1100B, alpha = 2, roots alpha^0 ... alpha^(npar-1)) on the disc's audio
seen as 16-bit little-endian words, in rows of 11760 words (10 sectors); each
column's words in rows 1 to n, where n is the disc's length in 10-sector rows
less 2 (the window of the database's CRC), make one codeword, the first row
its highest power. Its syndromes S_i = sum of x_r * alpha^(i * (n - 1 - r)).

  ctdb_parity_reference.py IMAGE.bin TRACK... --leadout SECTOR --npar N --out FILE

Each TRACK is "a:FIRST:LAST" (audio) or "d:FIRST:LAST" (data), sectors of
the image. Writes to FILE the rows of syndromes as the database serves them:
row i holds every column's S_i as little-endian words. Prints one JSON
object: {"syndrome": column 0's syndromes as little-endian words in base64,
"npar": N}.
"""
import argparse
import base64
import json
import struct

SECTOR = 2352
STRIDE = 11760
POLYNOMIAL = 0x1100B
ORDER = 65535


def tables():
    exp = [0] * (2 * ORDER)
    log = [0] * (ORDER + 1)
    x = 1
    for k in range(ORDER):
        exp[k] = exp[k + ORDER] = x
        log[x] = k
        x <<= 1
        if x & 0x10000:
            x ^= POLYNOMIAL
    return exp, log


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("image")
    parser.add_argument("tracks", nargs="+")
    parser.add_argument("--leadout", type=int, required=True)
    parser.add_argument("--npar", type=int, required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    audio = [(int(first), int(last)) for kind, first, last in (t.split(":") for t in args.tracks) if kind == "a"]
    pcm = b""
    with open(args.image, "rb") as image:
        for first, last in audio:
            image.seek(first * SECTOR)
            pcm += image.read((last - first + 1) * SECTOR)
    rows = len(pcm) // SECTOR // 10 - 2
    words = struct.unpack("<%dH" % (len(pcm) // 2), pcm)
    exp, log = tables()
    syndromes = [[0] * STRIDE for _ in range(args.npar)]
    for r in range(rows):
        row = words[(r + 1) * STRIDE:(r + 2) * STRIDE]
        logs = [log[x] if x else -1 for x in row]
        for i in range(args.npar):
            power = i * (rows - 1 - r) % ORDER
            s = syndromes[i]
            for c, lx in enumerate(logs):
                if lx >= 0:
                    s[c] ^= exp[lx + power]
    with open(args.out, "wb") as out:
        for s in syndromes:
            out.write(struct.pack("<%dH" % STRIDE, *s))
    column0 = struct.pack("<%dH" % args.npar, *(syndromes[i][0] for i in range(args.npar)))
    print(json.dumps({"syndrome": base64.b64encode(column0).decode(), "npar": args.npar}))


if __name__ == "__main__":
    main()
