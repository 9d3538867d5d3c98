#!/usr/bin/env python3
"""The MusicBrainz disc identifier from a table of contents, written from the
public description of the algorithm, to check what the program gets from
libdiscid.

  mb_discid.py FIRST LAST LEADOUT OFFSET...   (frames, track 1 normally at 150)
"""
import base64
import hashlib
import sys


def disc_id(first, last, lead_out, offsets):
    text = "%02X%02X%08X" % (first, last, lead_out)
    text += "".join("%08X" % o for o in offsets) + "%08X" % 0 * (99 - len(offsets))
    digest = hashlib.sha1(text.encode("ascii")).digest()
    return base64.b64encode(digest, b"._").decode("ascii").replace("=", "-")


if __name__ == "__main__":
    numbers = [int(a) for a in sys.argv[1:]]
    print(disc_id(numbers[0], numbers[1], numbers[2], numbers[3:]))
