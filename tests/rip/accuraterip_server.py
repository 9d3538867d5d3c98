#!/usr/bin/env python3
"""A stand-in for the AccurateRip and CUETools databases over HTTP, for tests.

  accuraterip_server.py FOLDER [--port 0] [--hold]

Listens on 127.0.0.1 only and answers GET /accuraterip/<a>/<b>/<c>/<file>
with FOLDER/<a>/<b>/<c>/<file>, and GET /<dir>/lookup2.php?...&toc=T with
FOLDER/<dir>/T.xml (T's ":" read as "_"), or 404 when there is no such file.
Each CUETools lookup is printed as "CTDB <toc>". GET /parity/<file> answers
with FOLDER/parity/<file>, the CUETools database's repair data: a Range
request "bytes=A-B" gets those bytes (206), as the database's server does,
unless the file's name holds "whole", which answers every request with the
whole file (200); each is printed as "PARITY <file> <range or whole>". The
first line printed is "PORT <number>". With --hold, a request gets no answer
for a minute: "HELD" is printed when one comes, and the 404 follows.
"""
import argparse
import os
import re
import sys
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, unquote, urlsplit

PREFIX = "/accuraterip/"
PARITY = "/parity/"


HOLD_SECONDS = 60


def handler_for(folder, hold):
    root = os.path.realpath(folder)

    class Handler(BaseHTTPRequestHandler):
        def do_GET(self):
            if hold:
                print("HELD", flush=True)
                time.sleep(HOLD_SECONDS)
            url = urlsplit(self.path)
            path = unquote(url.path)
            target = os.path.realpath(os.path.join(root, path[len(PREFIX):])) if path.startswith(PREFIX) else ""
            if path.endswith("/lookup2.php"):
                toc = parse_qs(url.query).get("toc", [""])[0]
                print("CTDB " + toc, flush=True)
                folder = os.path.dirname(path).lstrip("/")
                target = os.path.realpath(os.path.join(root, folder, toc.replace(":", "_") + ".xml"))
            if path.startswith(PARITY):
                target = os.path.realpath(os.path.join(root, path.lstrip("/")))
            if not target.startswith(root + os.sep) or not os.path.isfile(target):
                self.send_error(404)
                return
            with open(target, "rb") as f:
                body = f.read()
            status, extra = 200, {}
            if path.startswith(PARITY):
                status, body, extra = self.part(os.path.basename(target), body)
            self.send_response(status)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(body)))
            for name, value in extra.items():
                self.send_header(name, value)
            self.end_headers()
            self.wfile.write(body)

        def part(self, name, body):
            asked = self.headers.get("Range", "")
            match = re.fullmatch(r"bytes=(\d+)-(\d+)", asked)
            if "whole" in name or not match:
                print(f"PARITY {name} whole", flush=True)
                return 200, body, {}
            first, last = int(match.group(1)), min(int(match.group(2)), len(body) - 1)
            print(f"PARITY {name} {asked}", flush=True)
            return 206, body[first:last + 1], {"Content-Range": f"bytes {first}-{last}/{len(body)}"}

        def log_message(self, *args):
            pass

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--hold", action="store_true")
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", args.port), handler_for(args.folder, args.hold))
    print(f"PORT {server.server_address[1]}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
