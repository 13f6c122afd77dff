#!/usr/bin/env python3
"""Orvane's figures against Debian's surf on the same local page; bench/run starts this on a
virtual display with the builds ready. Prints every figure as min / median / max over RUNS runs and
writes them, with the machine and the date, to bench/RESULTS.md.

usage: bench/measure.py LINUX_BUILD_DIR WIN32_EXE WIN64_EXE_OR_EMPTY PORT RUNS
"""
import datetime
import http.server
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD, WIN32_EXE, WIN64_EXE, PORT, RUNS = (sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]),
                                           int(sys.argv[5]))
SITE = os.path.join(ROOT, "demo/site")
TITLE = "Orvane 演示首页 · Demo landing page"
TICKS = os.sysconf("SC_CLK_TCK")
URL = f"http://127.0.0.1:{PORT}/gs.html"
STALLED = {"on": False}  # while on, /gs.html never finishes: the loading picture stays up


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=SITE, **kwargs)

    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path == "/vs/1.txt":  # the installed version: no notice, the check ends
            self.send_response(200)
            self.send_header("Content-Length", "3")
            self.end_headers()
            self.wfile.write(b"1.0")
        elif self.path == "/gs.html" and STALLED["on"]:
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.end_headers()
            self.wfile.write(b"<html><head><title>stalled</title></head><body>")
            self.wfile.flush()
            deadline = time.monotonic() + 60
            try:
                while STALLED["on"] and time.monotonic() < deadline:
                    time.sleep(0.2)
            except OSError:
                pass
        else:
            super().do_GET()


def xdotool(*args):
    r = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    return r.stdout.strip() if r.returncode == 0 else ""


def status_kib(pid, field):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    parent = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(parent, []).append(int(entry))
            except (OSError, ValueError, IndexError):
                pass
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def cpu_seconds(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS
    except OSError:
        return 0.0


def cpu_percent(pid, seconds):
    before = cpu_seconds(pid)
    time.sleep(seconds)
    return (cpu_seconds(pid) - before) / seconds * 100


class Run:
    """One start of a program with a private home, ended by its id."""

    def __init__(self, command):
        self.home = tempfile.mkdtemp(prefix="orvane-bench-")
        env = dict(os.environ, HOME=self.home, XDG_CACHE_HOME=self.home + "/.cache",
                   XDG_DATA_HOME=self.home + "/.local/share",
                   XDG_CONFIG_HOME=self.home + "/.config")
        self.start = time.monotonic()
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = ""

    def ms(self):
        return (time.monotonic() - self.start) * 1000

    def wait_mapped(self, seconds=30):
        while time.monotonic() - self.start < seconds and self.process.poll() is None:
            self.window = xdotool("search", "--onlyvisible", "--pid", str(self.process.pid))
            self.window = self.window.split("\n")[0]
            if self.window:
                return self.ms()
            time.sleep(0.003)
        return None

    def wait_title(self, seconds=30):
        while time.monotonic() - self.start < seconds and self.process.poll() is None:
            if TITLE in xdotool("getwindowname", self.window):
                return self.ms()
            time.sleep(0.003)
        return None

    def settle_until(self, seconds_after_start):
        time.sleep(max(0.0, seconds_after_start - (time.monotonic() - self.start)))

    def end(self):
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def measure(command):
    """Start, map, load, peak memory and idle CPU, then CPU with the page never finishing."""
    runs = []
    for _ in range(RUNS):
        STALLED["on"] = False
        run = Run(command)
        try:
            mapped = run.wait_mapped()
            loaded = run.wait_title() if mapped else None
            run.settle_until(9)  # Orvane's update check (6 s after start) is over
            idle = cpu_percent(run.process.pid, 5)
            helpers = descendants(run.process.pid)
            ui_peak = status_kib(run.process.pid, "VmHWM")
            engine_peak = sum(status_kib(p, "VmHWM") for p in helpers)
        finally:
            run.end()
        STALLED["on"] = True
        run = Run(command)
        try:
            run.wait_mapped()
            run.settle_until(3)
            animating = cpu_percent(run.process.pid, 5)
        finally:
            STALLED["on"] = False
            run.end()
        if mapped is None or loaded is None:
            print(f"{command[0]}: the window or the page did not show", file=sys.stderr)
            continue
        runs.append({"mapped": mapped, "loaded": loaded, "ui_peak": ui_peak / 1024,
                     "engine_peak": engine_peak / 1024, "idle": idle, "animating": animating})
    return runs


def pane_roundtrip():
    out = subprocess.run([os.path.join(BUILD, "bench/orvane_pane_roundtrip")], capture_output=True,
                         text=True, timeout=60).stdout.split()
    return [float(v) for v in out[:3]]


def wine_window_shown():
    """Start to a shown window of the Windows build under Wine (the prefix tools/lib.sh made)."""
    if not WIN64_EXE or not os.path.exists(WIN64_EXE):
        return []
    times = []
    prefix = os.environ["ORVANE_WINEPREFIX"]
    for _ in range(RUNS):
        start = time.monotonic()
        process = subprocess.Popen([os.path.join(ROOT, "tools/wine-exec"), WIN64_EXE],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        shown = None
        while time.monotonic() - start < 30 and shown is None:
            if xdotool("search", "--onlyvisible", "--name", "^Orvane$"):
                shown = (time.monotonic() - start) * 1000
            time.sleep(0.003)
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix))
        process.wait()
        subprocess.run(["wineserver", "-w"], env=dict(os.environ, WINEPREFIX=prefix))
        if shown is not None:
            times.append(shown)
    return times


def spread(values, fmt):
    if not values:
        return "n/a"
    return " / ".join(fmt.format(v) for v in (min(values), statistics.median(values), max(values)))


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", PORT), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    orvane = measure([os.path.join(BUILD, "orvane")])
    surf = measure(["surf", URL]) if shutil.which("surf") else []
    STALLED["on"] = False
    server.shutdown()
    roundtrip = pane_roundtrip()
    shown = wine_window_shown()

    rows = []
    figures = [("start → window mapped", "mapped", "ms", "{:.0f}", None),
               ("start → landing page loaded", "loaded", "ms", "{:.0f}", None),
               ("peak RSS, UI process", "ui_peak", "MiB", "{:.1f}", None),
               ("peak RSS, engine processes", "engine_peak", "MiB", "{:.1f}", None),
               ("CPU idle, lable hidden", "idle", "% of a core", "{:.2f}", "0.0 %"),
               ("CPU while lable animates", "animating", "% of a core", "{:.2f}", "< 0.5 %")]
    for label, key, unit, fmt, target in figures:
        ours = [r[key] for r in orvane]
        theirs = [r[key] for r in surf]
        ratio = "n/a"
        if ours and theirs and statistics.median(theirs) > 0:
            ratio = f"{statistics.median(ours) / statistics.median(theirs):.2f}"
        elif ours and theirs:
            ratio = "1.00" if statistics.median(ours) == 0 else "∞"
        goal = "ratio ≤ 1.0" + (f"; {target}" if target else "")
        rows.append((f"{label} ({unit})", spread(ours, fmt), spread(theirs, fmt), ratio, goal))
    rows.append(("SetPaneText round trip from the worker (ms, 200 writes)",
                 " / ".join(f"{v:.3f}" for v in roundtrip) if roundtrip else "n/a", "—", "—",
                 "< 10 ms"))
    size = os.path.getsize(WIN32_EXE) if os.path.exists(WIN32_EXE) else None
    dlls = sorted(f for f in os.listdir(os.path.dirname(WIN32_EXE)) if f.lower().endswith(".dll")) \
        if size else []
    rows.append(("orvane.exe (32-bit) size (KiB)", f"{size / 1024:.1f}" if size else "n/a", "—",
                 "—", "< 300 KiB; DLLs beside it: " + (", ".join(dlls) if dlls else "none")))
    rows.append(("Windows build under Wine (x86-64): start → window shown (ms)",
                 spread(shown, "{:.0f}"), "—", "—", "(printed only)"))

    lines = ["# Benchmark results", "",
             f"- Date: {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC",
             f"- Machine: {platform.node()}, {platform.platform()}, {os.cpu_count()} cores, "
             f"{cpu_model()}", f"- Runs: {RUNS} per figure (min / median / max); Xvfb display; "
             f"page http://127.0.0.1:{PORT}/gs.html (demo/site)",
             f"- surf: {surf_version()}", "- Reproduce: `bench/run`", "",
             "| Figure | Orvane | surf | Orvane/surf | Target |", "|---|---|---|---|---|"]
    lines += [f"| {' | '.join(r)} |" for r in rows]
    text = "\n".join(lines) + "\n"
    print(text)
    with open(os.path.join(ROOT, "bench/RESULTS.md"), "w") as f:
        f.write(text)
    return 0 if orvane else 1


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def surf_version():
    r = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "surf"], capture_output=True,
                       text=True)
    return r.stdout or "not installed"


if __name__ == "__main__":
    sys.exit(main())
