#!/usr/bin/env python3
"""Checks the Windows zip as built: it holds orvane.exe alone, a GUI program that needs only DLLs
every Windows has; unzipped into an empty folder and started under Wine, it shows its window, ends
when asked, and leaves nothing behind in its folder.

Where this machine runs no 32-bit code, a 32-bit zip is checked without being started (the x86-64
build's zip, checked by the same script, is started instead).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

import package_checks

# DLLs of every Windows installation that the program may import.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "windowscodecs.dll",
    "wininet.dll", "uuid.dll", "version.dll", "ws2_32.dll",
}
FORMATS = {"win32": "pei-i386", "win64": "pei-x86-64"}
OBJDUMP = {"win32": "i686-w64-mingw32-objdump", "win64": "x86_64-w64-mingw32-objdump"}


def can_run_32bit():
    try:
        return subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True,
                              timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def wait_for_window(title, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                               capture_output=True, text=True)
        if found.returncode == 0 and found.stdout.strip():
            return True
        time.sleep(0.2)
    return False


def run_from(folder, exe, args, failures):
    proc = subprocess.Popen([args.wine_exec, exe], cwd=folder, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for_window(args.product, 60):
            failures.append("no window titled %s appeared" % args.product)
        else:
            print("the window of %s is shown" % args.product)
        poke = subprocess.run([args.wine_exec, args.poke, "exit"], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        if poke.returncode != 0:
            failures.append("could not ask the program to end (poke: %d)" % poke.returncode)
        code = proc.wait(timeout=30)
        if code != 0:
            failures.append("the program ended with exit code %d" % code)
    except subprocess.TimeoutExpired:
        failures.append("the program did not end when asked")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    if os.listdir(folder) != [os.path.basename(exe)]:
        failures.append("the program left files in its folder: %s" % sorted(os.listdir(folder)))


def main():
    parser = package_checks.arguments(__doc__)
    parser.add_argument("--arch", required=True, choices=sorted(FORMATS))
    parser.add_argument("--wine-exec", help="runs a Windows program (tools/wine-exec)")
    parser.add_argument("--poke", help="the helper that asks the running program to end")
    args = parser.parse_args()

    package = package_checks.find(args.dir, "%s-%s-%s.zip" % (args.name, args.version, args.arch))
    if not package:
        return 1
    failures = []
    with zipfile.ZipFile(package) as z:
        names = z.namelist()
    exe_name = args.name + ".exe"
    if names != [exe_name]:
        print("FAIL: the zip holds %s, not %s alone" % (names, exe_name))
        return 1

    folder = tempfile.mkdtemp(prefix="orvane-zip-")
    try:
        with zipfile.ZipFile(package) as z:
            z.extractall(folder)
        exe = os.path.join(folder, exe_name)
        headers = subprocess.run([OBJDUMP[args.arch], "-p", exe], capture_output=True, text=True,
                                 check=True).stdout
        if "file format %s" % FORMATS[args.arch] not in headers:
            failures.append("orvane.exe is not %s" % FORMATS[args.arch])
        if not re.search(r"^Subsystem\s+0+2\s+\(Windows GUI\)", headers, re.M):
            failures.append("orvane.exe is not a GUI-subsystem program")
        dlls = {d.lower() for d in re.findall(r"^\s*DLL Name: (\S+)", headers, re.M)}
        print("imports: " + ", ".join(sorted(dlls)))
        if not dlls or not dlls <= SYSTEM_DLLS:
            failures.append("orvane.exe needs DLLs Windows does not have: %s"
                            % sorted(dlls - SYSTEM_DLLS))
        if args.arch == "win32" and not can_run_32bit():
            print("this machine runs no 32-bit code: the zip's contents are checked, the program "
                  "is not started (the x86-64 build's zip is started instead)")
        elif not args.wine_exec or not args.poke:
            failures.append("--wine-exec and --poke are needed to start the program")
        else:
            run_from(folder, exe, args, failures)
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    return package_checks.verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
