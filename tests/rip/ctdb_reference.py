#!/usr/bin/env python3
"""Reference values for the CUETools database tests, from the public
description of the database (quoted in bmwalters/python-cuetoolsdb, api.org):
the disc's CRC is the usual CRC-32 of the audio from the first audio track's
INDEX 01 on, less its first 10 sectors (5880 samples) and its last 10 to 19.999
sectors, so that what it covers is a whole number of 10-sector rows; a
track's CRC covers the same audio within the track. The lookup names the disc
by each track's start in sectors (a data track's after "-") and the lead-out,
joined by ":".

  ctdb_reference.py IMAGE.bin TRACK... --leadout SECTOR

Each TRACK is "a:FIRST:LAST" (audio) or "d:FIRST:LAST" (data), sectors of
the image. Prints one JSON object: {"crc32": 8 upper-case hex digits,
"trackcrcs": the audio tracks' as 8 lower-case hex digits each, joined by
blanks as the database lists them, "toc": the lookup's table}.
"""
import argparse
import json
import zlib

SECTOR = 2352
ROW_SECTORS = 10


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("image")
    parser.add_argument("tracks", nargs="+")
    parser.add_argument("--leadout", type=int, required=True)
    args = parser.parse_args()
    tracks = [(kind, int(first), int(last)) for kind, first, last in (t.split(":") for t in args.tracks)]
    audio = [(first, last) for kind, first, last in tracks if kind == "a"]
    sectors = sum(last - first + 1 for first, last in audio)
    # Where the covered audio begins and ends, in sectors from the first audio track's start.
    begin = ROW_SECTORS
    end = sectors - ROW_SECTORS - sectors % ROW_SECTORS
    disc = b""
    track_crcs = []
    at = 0
    with open(args.image, "rb") as image:
        for first, last in audio:
            length = last - first + 1
            image.seek(first * SECTOR)
            pcm = image.read(length * SECTOR)
            part = pcm[max(begin - at, 0) * SECTOR:max(min(end - at, length), 0) * SECTOR]
            track_crcs.append("%08x" % (zlib.crc32(part) & 0xFFFFFFFF))
            disc += part
            at += length
    toc = ":".join(("" if kind == "a" else "-") + str(first) for kind, first, _ in tracks) + ":%d" % args.leadout
    print(json.dumps({"crc32": "%08X" % (zlib.crc32(disc) & 0xFFFFFFFF), "trackcrcs": " ".join(track_crcs),
                      "toc": toc}))


if __name__ == "__main__":
    main()
