#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A small results server for demonstrations and tests.

It answers the two queries of the draw management window from the zentag.wyn of a program folder:

  GET /kolumbarix_wyniki.php?v=1001&gra=zentag_ml&start=0    the whole file
  GET /kolumbarix_wyniki.php?v=1001&gra=zentag_ml&start=-1   the last draw: its number, its date
                                                             (day month year) and its 20 numbers

Every answer carries Content-Length. Anything else gets 404. Standard library only.
"""

import argparse
import http.server
import os
import re
import sys
import urllib.parse

PATH = "/kolumbarix_wyniki.php"
SEPARATORS = re.compile(rb"[\x00-\x20]+")


def last_draw(data):
    """The last draw as the program counts draws, as one line of 24 integers, or None."""
    tokens = [t for t in SEPARATORS.split(data) if t]
    # Every complete group of 24 counts, also a last one with no separator after it; a shorter
    # group at the end is no draw.
    complete = len(tokens) // 24
    if complete < 1:
        return None
    values = [int(t) for t in tokens[(complete - 1) * 24:complete * 24]]
    number = values[0]
    # The second integer of the file tells the layout: up to 1950 it is a day, above it a year.
    if int(tokens[1]) <= 1950:
        day, month, year = values[1], values[2], values[3]
    else:
        year, month, day = values[1], values[2], values[3]
    return " ".join(str(v) for v in [number, day, month, year] + values[4:]) + "\r\n"


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "zentagrafo-results/1.0"
    database = "zentag.wyn"

    def answer(self, status, body, content_type="text/plain; charset=utf-8"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        start = query.get("start", [None])[0]
        if url.path != PATH or query.get("gra") != ["zentag_ml"] or start not in ("0", "-1"):
            self.answer(404, b"Not found\r\n")
            return
        try:
            with open(self.database, "rb") as f:
                data = f.read()
        except OSError as e:
            self.answer(500, ("%s\r\n" % e).encode())
            return
        if start == "0":
            self.answer(200, data)
            return
        try:
            line = last_draw(data)
        except ValueError:
            line = None
        if line is None:
            self.answer(500, b"No draw in the database\r\n")
        else:
            self.answer(200, line.encode())


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("dir", help="program folder whose zentag.wyn is served")
    parser.add_argument("--bind", default="127.0.0.1", help="address to listen on (default 127.0.0.1)")
    parser.add_argument("--port", type=int, default=8080, help="port (default 8080; 0 picks a free one)")
    args = parser.parse_args()

    Handler.database = os.path.join(os.path.abspath(args.dir), "zentag.wyn")
    server = http.server.ThreadingHTTPServer((args.bind, args.port), Handler)
    print("listening on %s:%d" % server.server_address[:2], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
