#!/usr/bin/env python3
"""Reference values for the CUETools database tests, from the public
description of the database: the disc's CRC is the usual CRC-32 of the whole
disc's audio, less 10 x 588 samples at its start and at its end; the lookup
names the disc by each track's start in sectors (a data track's after "-")
and the lead-out, joined by ":".

  ctdb_reference.py IMAGE.bin TRACK... --leadout SECTOR

Each TRACK is "a:FIRST:LAST" (audio) or "d:FIRST:LAST" (data), sectors of
the image. Prints one JSON object: {"crc32": 8 upper-case hex digits,
"toc": the lookup's table}.
"""
import argparse
import json
import zlib

SECTOR = 2352
EDGE_BYTES = 10 * 588 * 4


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("image")
    parser.add_argument("tracks", nargs="+")
    parser.add_argument("--leadout", type=int, required=True)
    args = parser.parse_args()
    tracks = [(kind, int(first), int(last)) for kind, first, last in (t.split(":") for t in args.tracks)]
    audio = b""
    with open(args.image, "rb") as image:
        for kind, first, last in tracks:
            if kind == "a":
                image.seek(first * SECTOR)
                audio += image.read((last - first + 1) * SECTOR)
    crc = zlib.crc32(audio[EDGE_BYTES:len(audio) - EDGE_BYTES]) & 0xFFFFFFFF
    toc = ":".join(("" if kind == "a" else "-") + str(first) for kind, first, _ in tracks) + ":%d" % args.leadout
    print(json.dumps({"crc32": "%08X" % crc, "toc": toc}))


if __name__ == "__main__":
    main()
