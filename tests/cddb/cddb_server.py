#!/usr/bin/env python3
"""A small CDDB and MusicBrainz server over HTTP for tests and demonstrations.

Listens on 127.0.0.1 only and answers the cddb.cgi commands "cddb query"
and "cddb read" from record files:

  RECORDS/<category>/<discid>   one xmcd record, sent byte for byte at protocol level 6
                                (so a record kept in Windows-1252 goes out as such, like
                                the old entries of public servers), as ISO-8859-1 below
  RECORDS/inexact.txt           "<queried discid> <category> <discid>" lines: inexact matches (211)
  RECORDS/behaviours.txt        "<discid> <behaviour>" lines: special answers to a query:
                                  servererror  CDDB 402 server error
                                  http500      HTTP status 500
                                  empty        an empty body
                                  nonnumeric   a body whose code is not a number
                                  escape       a body that starts with a terminal escape sequence
                                  hang         no answer at all
                                  large        a body of 2 MiB
                                  slow         the ordinary answer, 5 s late

GET /redirect?to=URL answers with a redirect to URL (to itself without "to").
GET /slow-redirect/... answers, 0.4 s late, with a redirect to itself.
GET /ws/2/discid/<id>?inc=recordings+artist-credits+labels+release-groups&fmt=json answers with
RECORDS/musicbrainz/<id>.json as the MusicBrainz web service would, 404 when
there is none.
GET /release/<id>/front-500 answers 307 towards /images/<id>, as the Cover Art
Archive sends its clients on to where the image is kept; /images/<id> sends
RECORDS/coverart/<id>.<extension>, 404 when there is none. Releases that
misbehave: "large", a body of 20 MiB; "huge-body", 200 MB of zeros without a
Content-Length; "drip", a body one byte a second; "html", a web page;
"http500", HTTP status 500; "loop", a front-500 that redirects to itself.
One exact match gives 200, several 210, inexact ones 211, none 202.
A greeting whose host word holds no "." (no real e-mail address) is refused
with 431, as today's public server does.
The first line printed on stdout is "PORT <number>"; --port 0 (the default)
takes a free port. --log FILE appends one JSON line per request (request
line target and headers), which shows what a client or its proxy sent.
"""
import argparse
import json
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

LIST_END = "."
MUSICBRAINZ = "musicbrainz"
DISCID_PATH = "/ws/2/discid/"
SLOW_REDIRECT = "/slow-redirect/"
SLOW_REDIRECT_DELAY = 0.4
COVER_PATH = "/release/"
COVER_FILES = "/images/"
COVER_FOLDER = "coverart"
LARGE_COVER_BYTES = 20 * 1024 * 1024
HUGE_BODY_BYTES = 200 * 1000 * 1000
HUGE_BODY_CHUNK = 1024 * 1024
DRIP_INTERVAL = 1.0
HTML_PAGE = b"<!DOCTYPE html><html><head><title>Service Unavailable</title></head><body></body></html>\r\n"


def read_lines(path):
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        return f.read().splitlines()


def table(path):
    """Lines of a whitespace-separated table file, without blanks and comments."""
    if not os.path.exists(path):
        return []
    return [line.split() for line in read_lines(path) if line.strip() and not line.startswith("#")]


class Records:
    def __init__(self, folder):
        self.folder = folder

    def path(self, category, discid):
        return os.path.join(self.folder, category, discid)

    def has(self, category, discid):
        safe = "/" not in category and "/" not in discid and category not in ("", ".", "..")
        return safe and os.path.isfile(self.path(category, discid))

    def categories(self):
        return sorted(d for d in os.listdir(self.folder)
                      if os.path.isdir(os.path.join(self.folder, d)) and d not in (MUSICBRAINZ, COVER_FOLDER))

    def title(self, category, discid):
        """The DTITLE value, its continuation lines joined."""
        parts = [line.split("=", 1)[1] for line in read_lines(self.path(category, discid))
                 if line.upper().startswith("DTITLE=")]
        return "".join(parts)

    def match_line(self, category, discid):
        return f"{category} {discid} {self.title(category, discid)}"

    def exact(self, discid):
        return [(c, discid) for c in self.categories() if self.has(c, discid)]

    def inexact(self, discid):
        return [(row[1], row[2]) for row in table(os.path.join(self.folder, "inexact.txt"))
                if len(row) == 3 and row[0] == discid and self.has(row[1], row[2])]

    def behaviour(self, discid):
        for row in table(os.path.join(self.folder, "behaviours.txt")):
            if len(row) == 2 and row[0] == discid:
                return row[1]
        return None


def answer_lines(lines, level=6):
    text = "\r\n".join(lines) + "\r\n"
    if level >= 6:
        return text.encode("utf-8", errors="surrogateescape")
    text = text.encode("utf-8", errors="surrogateescape").decode("utf-8", errors="replace")
    return text.encode("latin-1", errors="replace")


def greeting_accepted(hello):
    words = hello.split()
    return len(words) == 4 and "." in words[1]


class Handler(BaseHTTPRequestHandler):
    server_version = "TestCddb/1.0"
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        pass

    def log_request_to_file(self):
        if not self.server.log_path:
            return
        entry = {"target": self.path, "time": time.time(), "headers": {k: v for k, v in self.headers.items()}}
        with self.server.log_lock, open(self.server.log_path, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry) + "\n")

    def send_body(self, body, status=200):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up: a refused large answer, a time-out

    def do_GET(self):
        self.log_request_to_file()
        target = urlsplit(self.path)
        if target.path.startswith(DISCID_PATH):
            self.musicbrainz(target.path[len(DISCID_PATH):], parse_qs(target.query))
            return
        if target.path.startswith(COVER_PATH):
            self.cover(target.path[len(COVER_PATH):].split("/"))
            return
        if target.path.startswith(COVER_FILES):
            self.cover_file(target.path[len(COVER_FILES):])
            return
        if target.path == "/redirect":
            self.redirect(parse_qs(target.query).get("to", [""])[0])
            return
        if target.path.startswith(SLOW_REDIRECT):
            self.server.stopping.wait(SLOW_REDIRECT_DELAY)
            self.redirect(self.path)
            return
        if not target.path.endswith("/cddb.cgi"):
            self.send_body(b"Not found\r\n", 404)
            return
        query = parse_qs(target.query)
        words = query.get("cmd", [""])[0].split()
        try:
            self.level = int(query.get("proto", ["1"])[0])
        except ValueError:
            self.level = 1
        if not greeting_accepted(query.get("hello", [""])[0]):
            self.send_body(answer_lines(["431 Handshake not successful, closing connection."]))
        elif len(words) >= 3 and [w.lower() for w in words[:2]] == ["cddb", "query"]:
            self.query(words[2])
        elif len(words) >= 4 and [w.lower() for w in words[:2]] == ["cddb", "read"]:
            self.read(words[2], words[3])
        else:
            self.send_body(answer_lines(["500 Command syntax error."]))

    def musicbrainz(self, discid, query):
        if query.get("inc") != ["recordings artist-credits labels release-groups"] or query.get("fmt") != ["json"]:
            self.send_body(json.dumps({"error": "Invalid inc or fmt."}).encode(), 400)
            return
        path = os.path.join(self.server.records.folder, MUSICBRAINZ, discid + ".json")
        if "/" in discid or not os.path.isfile(path):
            self.send_body(json.dumps({"error": "Not Found"}).encode(), 404)
            return
        with open(path, "rb") as f:
            self.send_body(f.read())

    def cover(self, parts):
        if len(parts) != 2 or parts[1] != "front-500":
            self.send_body(b"Not found\r\n", 404)
            return
        self.send_response(307)
        self.send_header("Location", self.path if parts[0] == "loop" else COVER_FILES + parts[0])
        self.send_header("Content-Length", "0")
        self.end_headers()

    def cover_file(self, release):
        if release == "large":
            self.send_body(b"\xff\xd8" + bytes(LARGE_COVER_BYTES))
            return
        if release == "html":
            self.send_body(HTML_PAGE)
            return
        if release == "http500":
            self.send_body(b"Internal error\r\n", 500)
            return
        if release in ("huge-body", "drip"):
            self.stream(release)
            return
        folder = os.path.join(self.server.records.folder, COVER_FOLDER)
        names = [n for n in os.listdir(folder) if os.path.splitext(n)[0] == release] if os.path.isdir(folder) else []
        if not names:
            self.send_body(b"Not found\r\n", 404)
            return
        with open(os.path.join(folder, names[0]), "rb") as f:
            self.send_body(f.read())

    def stream(self, release):
        """A body without a Content-Length, sent until the client hangs up."""
        self.send_response(200)
        self.send_header("Content-Type", "image/jpeg")
        self.end_headers()
        try:
            if release == "drip":
                while not self.server.stopping.wait(DRIP_INTERVAL):
                    self.wfile.write(b"\xff")
                    self.wfile.flush()
            else:
                for _ in range(HUGE_BODY_BYTES // HUGE_BODY_CHUNK):
                    self.wfile.write(bytes(HUGE_BODY_CHUNK))
        except (BrokenPipeError, ConnectionResetError):
            pass

    def redirect(self, location):
        """/redirect?to=URL answers 302 towards URL; /redirect alone, towards itself."""
        self.send_response(302)
        self.send_header("Location", location or "/redirect")
        self.send_header("Content-Length", "0")
        self.end_headers()

    def query(self, discid):
        records = self.server.records
        behaviour = records.behaviour(discid)
        if behaviour == "slow":
            self.server.stopping.wait(5)  # then the ordinary answer
        elif behaviour:
            self.misbehave(behaviour)
            return
        exact = records.exact(discid)
        inexact = records.inexact(discid)
        if len(exact) == 1:
            lines = ["200 " + records.match_line(*exact[0])]
        elif exact:
            lines = ["210 Found exact matches, list follows (until terminating `.')"]
            lines += [records.match_line(*m) for m in exact] + [LIST_END]
        elif inexact:
            lines = ["211 Found inexact matches, list follows (until terminating `.')"]
            lines += [records.match_line(*m) for m in inexact] + [LIST_END]
        else:
            lines = [f"202 No match for disc ID {discid}."]
        self.send_body(answer_lines(lines, self.level))

    def read(self, category, discid):
        records = self.server.records
        if not records.has(category, discid):
            self.send_body(answer_lines([f"401 {category} {discid} No such CD entry in database."]))
            return
        lines = [f"210 {category} {discid} CD database entry follows (until terminating `.')"]
        lines += read_lines(records.path(category, discid)) + [LIST_END]
        self.send_body(answer_lines(lines, self.level))

    def misbehave(self, behaviour):
        if behaviour == "servererror":
            self.send_body(answer_lines(["402 Server error."]))
        elif behaviour == "http500":
            self.send_body(b"Internal error\r\n", 500)
        elif behaviour == "empty":
            self.send_body(b"")
        elif behaviour == "nonnumeric":
            self.send_body(answer_lines(["abc Server confused"]))
        elif behaviour == "escape":
            self.send_body(answer_lines(["\x1b[2J200 rock 0b001203 Cleared"]))
        elif behaviour == "large":
            self.send_body(answer_lines(["200 misc 00000000 " + "x" * (2 * 1024 * 1024)]))
        elif behaviour == "hang":
            self.server.stopping.wait(120)
        else:
            self.send_body(answer_lines(["500 Unknown test behaviour."]))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="A CDDB server on 127.0.0.1 for tests.")
    parser.add_argument("--records", default=os.path.join(here, "records"))
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--log")
    args = parser.parse_args()

    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.records = Records(args.records)
    server.log_path = args.log
    server.log_lock = threading.Lock()
    server.stopping = threading.Event()
    print(f"PORT {server.server_address[1]}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.stopping.set()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
