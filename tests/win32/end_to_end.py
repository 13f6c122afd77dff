#!/usr/bin/env python3
"""orvane.exe end to end under Wine, against a local HTTP server on 127.0.0.1.

The program under test is built with the placeholder host 127.0.0.1:65535; each run copies it with
the placeholder replaced by the port of a fresh server. Each scenario starts the program, lets it
run, drives it through the poke helper, and checks what the server saw and the exit code.
"""
import argparse
import http.server
import os
import shutil
import socketserver
import subprocess
import sys
import tempfile
import threading
import time

PLACEHOLDER = b"127.0.0.1:65535"


class Site:
    """A server on a free port of 127.0.0.1 that records every request path."""

    def __init__(self, pages):
        self.pages = pages
        self.requests = []  # (seconds since start, path)
        self.started = time.monotonic()
        site = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                site.requests.append((time.monotonic() - site.started, self.path))
                body = site.pages.get(self.path)
                self.send_response(200 if body is not None else 404)
                body = body if body is not None else b"not found"
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
            daemon_threads = True

        while True:
            self.server = Server(("127.0.0.1", 0), Handler)
            if self.server.server_address[1] >= 10000:
                break  # the placeholder holds five digits
            self.server.server_close()
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def count(self, path):
        return sum(1 for _, p in self.requests if p == path)

    def close(self):
        self.server.shutdown()
        self.server.server_close()


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return condition()


def program_for(exe, port, folder):
    data = open(exe, "rb").read()
    assert data.count(PLACEHOLDER) >= 1, "the test build carries no placeholder host"
    copy = os.path.join(folder, "orvane.exe")
    with open(copy, "wb") as f:
        f.write(data.replace(PLACEHOLDER, b"127.0.0.1:%05d" % port))
    return copy


def end_by(args, proc, how):
    """Ends the program through the poke helper ("esc" or "exit"); it must end with exit code 0."""
    poke = subprocess.run([args.wine_exec, args.poke, how], stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    if poke.returncode != 0:
        return ["poke %s failed with %d" % (how, poke.returncode)]
    try:
        code = proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        return ["the program did not end after %s" % how]
    return [] if code == 0 else ["%s ended the program with exit code %d" % (how, code)]


def clean_up(proc, site, folder):
    if proc and proc.poll() is None:
        proc.kill()
        proc.wait()
    site.close()
    shutil.rmtree(folder, ignore_errors=True)


LANDING = b"<html><head><title>Landing</title></head><body><p>Orvane</p></body></html>"


def scenario_ends(args, how):
    """Start, landing page requested once, then end by `how` ("esc" or "exit") with exit code 0."""
    site = Site({"/gs.html": LANDING, "/vs/1.txt": b"1.0"})
    folder = tempfile.mkdtemp(prefix="orvane-e2e-")
    failures = []
    proc = None
    try:
        exe = program_for(args.exe, site.port, folder)
        proc = subprocess.Popen([args.wine_exec, exe], stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: site.count("/gs.html") >= 1, 30):
            failures.append("the landing page was never requested")
        time.sleep(1.5)
        if site.count("/gs.html") != 1:
            failures.append("/gs.html requested %d times" % site.count("/gs.html"))
        failures += end_by(args, proc, how)
    finally:
        clean_up(proc, site, folder)
    return failures


NOTICE_TITLE = "信息："


def stub_environment(folder):
    """An xdg-open first on PATH that records what it is asked to open (Wine's ShellExecute hands
    http URLs to winebrowser, which calls xdg-open)."""
    bin_dir = os.path.join(folder, "bin")
    os.makedirs(bin_dir)
    log = os.path.join(folder, "opened.log")
    stub = os.path.join(bin_dir, "xdg-open")
    with open(stub, "w") as f:
        f.write('#!/bin/sh\necho "$@" >> "%s"\n' % log)
    os.chmod(stub, 0o755)
    env = dict(os.environ)
    env["PATH"] = bin_dir + ":" + env.get("PATH", "")
    return env, log


def opened(log):
    if not os.path.exists(log):
        return []
    with open(log) as f:
        return f.read().split()


def scenario_update(args, published):
    """The version file is first fetched about 6 s after start; "2.0" brings the notice, and the
    update page opens only once it is dismissed; "1.0" brings nothing and ends the checking."""
    site = Site({"/gs.html": LANDING, "/vs/1.txt": published})
    folder = tempfile.mkdtemp(prefix="orvane-e2e-")
    failures = []
    proc = None
    try:
        exe = program_for(args.exe, site.port, folder)
        env, log = stub_environment(folder)
        page = "http://127.0.0.1:%05d/vs/1.html" % site.port
        started = time.monotonic()
        proc = subprocess.Popen([args.wine_exec, exe], stdin=subprocess.DEVNULL, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: site.count("/vs/1.txt") >= 1, 40):
            return failures + ["/vs/1.txt was never requested"]
        first = next(t for t, p in site.requests if p == "/vs/1.txt") - (started - site.started)
        if not 5.5 <= first <= 20:
            failures.append("the first /vs/1.txt came %.1f s after start, not about 6 s" % first)
        if published == b"2.0":
            found = subprocess.run(["xdotool", "search", "--sync", "--name", "^%s$" % NOTICE_TITLE],
                                   capture_output=True, text=True, timeout=30, env=env)
            windows = found.stdout.split()
            if not windows:
                return failures + ["no notice titled %s" % NOTICE_TITLE]
            time.sleep(1.0)
            if opened(log):
                failures.append("the update page was opened while the notice was up")
            subprocess.run(["xdotool", "windowfocus", "--sync", windows[-1]], timeout=10)
            subprocess.run(["xdotool", "key", "Return"], timeout=10)
            if not wait_for(lambda: opened(log), 20):
                failures.append("the update page was never opened")
            elif opened(log) != [page]:
                failures.append("opened %s, expected %s once" % (opened(log), page))
        else:
            time.sleep(8)  # more than one pause: no second attempt follows a version
            if site.count("/vs/1.txt") != 1:
                failures.append("/vs/1.txt requested %d times" % site.count("/vs/1.txt"))
            if opened(log):
                failures.append("a page was opened for the installed version: %s" % opened(log))
        failures += end_by(args, proc, "esc")
    finally:
        clean_up(proc, site, folder)
    return failures


# Each scenario: a function of the arguments returning a list of failures.
SCENARIOS = {
    "esc": lambda args: scenario_ends(args, "esc"),
    "exit": lambda args: scenario_ends(args, "exit"),
    "update": lambda args: scenario_update(args, b"2.0"),
    "current": lambda args: scenario_update(args, b"1.0"),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-exec", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--poke", required=True)
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()
    failures = SCENARIOS[args.scenario](args)
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
