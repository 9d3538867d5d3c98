#!/usr/bin/env python3
"""Reference values for the AccurateRip tests, from the public description
of the algorithm: per audio track the v1 and v2 checksums and the CRC-32 of
its PCM, and the disc's database path.

  accuraterip_reference.py IMAGE.bin TRACK... --leadout SECTOR

Each TRACK is "a:FIRST:LAST" (audio) or "d:FIRST:LAST" (data), sectors of
the image. Prints one JSON object: {"path": ..., "tracks": [{"number",
"crc32", "v1", "v2"}, ...]} with the checksums as 8 upper-case hex digits.
"""
import argparse
import json
import struct
import zlib

SECTOR = 2352
SAMPLES_PER_SECTOR = 588
EDGE = 5 * SAMPLES_PER_SECTOR
MASK = 0xFFFFFFFF


def checksums(pcm, first_track, last_track):
    samples = struct.unpack("<%dI" % (len(pcm) // 4), pcm)
    start = EDGE if first_track else 1  # positions count from 1
    end = len(samples) - EDGE if last_track else len(samples)
    v1 = v2 = 0
    for position in range(start, end + 1):
        product = position * samples[position - 1]
        v1 += product & MASK
        v2 += (product & MASK) + (product >> 32)
    return v1 & MASK, v2 & MASK


def cddb_id(tracks, leadout):
    # Positions count the 150 sectors before the first track.
    seconds = [(first + 150) // 75 for _, first, _ in tracks]
    digits = sum(sum(int(c) for c in str(s)) for s in seconds)
    total = (leadout + 150) // 75 - seconds[0]
    return (digits % 255) << 24 | total << 8 | len(tracks)


def disc_path(tracks, leadout):
    audio = [first for kind, first, _ in tracks if kind == "a"]
    added = (sum(audio) + leadout) & MASK
    multiplied = sum(max(first, 1) * (i + 1) for i, first in enumerate(audio))
    multiplied = (multiplied + leadout * (len(audio) + 1)) & MASK
    name = "dBAR-%03d-%08x-%08x-%08x.bin" % (len(audio), added, multiplied, cddb_id(tracks, leadout))
    digits = "%08x" % added
    return "%s/%s/%s/%s" % (digits[7], digits[6], digits[5], name)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("image")
    parser.add_argument("tracks", nargs="+")
    parser.add_argument("--leadout", type=int, required=True)
    args = parser.parse_args()
    tracks = [(kind, int(first), int(last)) for kind, first, last in (t.split(":") for t in args.tracks)]
    audio_numbers = [n for n, (kind, _, _) in enumerate(tracks, 1) if kind == "a"]
    out = {"path": disc_path(tracks, args.leadout), "tracks": []}
    with open(args.image, "rb") as image:
        for number, (kind, first, last) in enumerate(tracks, 1):
            if kind != "a":
                continue
            image.seek(first * SECTOR)
            pcm = image.read((last - first + 1) * SECTOR)
            v1, v2 = checksums(pcm, number == audio_numbers[0], number == audio_numbers[-1])
            out["tracks"].append({"number": number, "crc32": "%08X" % (zlib.crc32(pcm) & MASK),
                                  "v1": "%08X" % v1, "v2": "%08X" % v2})
    print(json.dumps(out))


if __name__ == "__main__":
    main()
