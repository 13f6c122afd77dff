#!/usr/bin/env python3
"""The update notice and the opening of the update page, for real, on a display.

  notice_test.py PROBE-COMMAND...

Runs notice_probe with a stub URL handler (an `xdg-open` first on PATH, and a desktop entry that
is the default for http URLs under temporary XDG folders), then checks: the notice appears with its
title, the page is not opened while it is up, the user-interface thread keeps running meanwhile,
dismissing it from outside (Return) lets the worker go on, and then the page is opened, once.
"""
import os
import queue
import subprocess
import sys
import tempfile
import threading
import time

PAGE_URL = "http://127.0.0.1:9/vs/1.html?notice-test"
TITLE = "信息："


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main():
    probe = sys.argv[1:]
    tmp = tempfile.mkdtemp(prefix="orvane-notice-")
    log = os.path.join(tmp, "opened.log")
    bin_dir = os.path.join(tmp, "bin")
    os.makedirs(bin_dir)
    stub = os.path.join(bin_dir, "xdg-open")
    with open(stub, "w") as f:
        f.write('#!/bin/sh\necho "$@" >> "%s"\n' % log)
    os.chmod(stub, 0o755)
    data = os.path.join(tmp, "data")
    config = os.path.join(tmp, "config")
    os.makedirs(os.path.join(data, "applications"))
    os.makedirs(config)
    with open(os.path.join(data, "applications", "orvane-stub.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=stub\nExec=%s %%u\n"
                "MimeType=x-scheme-handler/http;\n" % stub)
    with open(os.path.join(config, "mimeapps.list"), "w") as f:
        f.write("[Default Applications]\nx-scheme-handler/http=orvane-stub.desktop\n")
    env = dict(os.environ)
    env.update(PATH=bin_dir + ":" + env.get("PATH", ""), XDG_DATA_HOME=data,
               XDG_CONFIG_HOME=config, XDG_CACHE_HOME=os.path.join(tmp, "cache"))
    if "DISPLAY" not in env:
        fail("no DISPLAY")

    proc = subprocess.Popen(probe + [PAGE_URL], env=env, stdout=subprocess.PIPE,
                            stdin=subprocess.DEVNULL, text=True)
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(l.strip()) for l in proc.stdout] and None,
                     daemon=True).start()

    def expect(prefix, seconds):
        deadline = time.time() + seconds
        while time.time() < deadline:
            try:
                line = lines.get(timeout=0.1)
            except queue.Empty:
                continue
            print("probe: " + line)
            if line.startswith(prefix):
                return line
        proc.kill()
        fail("no '%s' from the probe within %s s" % (prefix, seconds))

    try:
        expect("notice-shown", 30)
        found = subprocess.run(["xdotool", "search", "--sync", "--name", "^%s$" % TITLE],
                               capture_output=True, text=True, timeout=15)
        windows = found.stdout.split()
        if not windows:
            fail("no window titled %s" % TITLE)
        time.sleep(1.0)
        if os.path.exists(log):
            fail("the page was opened while the notice was up")
        if proc.poll() is not None:
            fail("the probe ended while the notice was up")
        subprocess.run(["xdotool", "windowfocus", "--sync", windows[-1]], timeout=10)
        subprocess.run(["xdotool", "key", "Return"], timeout=10)
        dismissed = expect("notice-dismissed", 15)
        ticks = int(dismissed.split("ui-ticks=")[1])
        if ticks < 10:
            fail("the user-interface thread ran only %d timer ticks while the notice was up" % ticks)
        expect("url-opened", 15)
        expect("done", 15)
        if proc.wait(timeout=15) != 0:
            fail("the probe exited with %d" % proc.returncode)
        deadline = time.time() + 10
        while time.time() < deadline and not os.path.exists(log):
            time.sleep(0.05)
        time.sleep(0.3)
        if not os.path.exists(log):
            fail("the page was never opened")
        with open(log) as f:
            opened = f.read().split()
        print("opened: %s" % opened)
        if opened != [PAGE_URL]:
            fail("opened %s, expected %s once" % (opened, PAGE_URL))
    finally:
        if proc.poll() is None:
            proc.kill()
    print("PASS")


if __name__ == "__main__":
    main()
