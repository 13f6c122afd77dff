#!/usr/bin/env python3
"""The tests' web server: 127.0.0.1 on the given port (0: a free one), serving the first of its
folders that holds a path. Prints the port on its first line, appends every request's path to the
log file, and holds a response back for ?delay=<seconds>.

usage: site_server.py LOG PORT FOLDER...
"""
import http.server
import os
import sys
import time
import urllib.parse

LOG = sys.argv[1]
PORT = int(sys.argv[2])
FOLDERS = [os.path.abspath(f) for f in sys.argv[3:]]


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def translate_path(self, path):
        relative = urllib.parse.urlsplit(path).path.lstrip("/")
        for folder in FOLDERS:
            candidate = os.path.normpath(os.path.join(folder, relative))
            if candidate.startswith(folder) and os.path.exists(candidate):
                return candidate
        return os.path.join(FOLDERS[0], relative)

    def send_head(self):
        with open(LOG, "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
        if "delay" in query:
            time.sleep(float(query["delay"][0]))
        return super().send_head()

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


try:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", PORT), Handler)
except OSError:
    print(0, flush=True)
    sys.exit(1)
print(server.server_address[1], flush=True)
server.serve_forever()
