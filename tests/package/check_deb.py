#!/usr/bin/env python3
"""Checks the Debian package as built: its name, its control fields, and the files it installs.

The package is unpacked into a scratch root with dpkg -x; it must hold the program in /usr/bin, the
desktop entry and the icon in each hicolor size, and nothing else, and declare the libraries the
program needs, WebKitGTK first, so that apt pulls them in on a clean machine.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

import package_checks

ICON_SIZES = (16, 24, 32, 48, 128, 256)
NEEDED = ("libwebkit2gtk-4.1-0", "libgtk-3-0", "libcurl4", "libgif7")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def main():
    parser = package_checks.arguments(__doc__)
    args = parser.parse_args()

    arch = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True,
                          check=True).stdout.strip()
    deb = package_checks.find(args.dir, "%s_%s_%s.deb" % (args.name, args.version, arch))
    if not deb:
        return 1
    failures = []

    fields = {}
    for field in ("Package", "Version", "Architecture", "Depends", "Maintainer", "Description"):
        fields[field] = subprocess.run(["dpkg-deb", "-f", deb, field], capture_output=True,
                                       text=True, check=True).stdout.strip()
    print("Depends: " + fields["Depends"])
    for field, want in (("Package", args.name), ("Version", args.version), ("Architecture", arch)):
        if fields[field] != want:
            failures.append("%s is %r, not %r" % (field, fields[field], want))
    depends = [alt.split("(")[0].strip() for dep in fields["Depends"].split(",")
               for alt in dep.split("|")]
    for package in NEEDED:
        if package not in depends:
            failures.append("Depends does not name " + package)
    for field in ("Maintainer", "Description"):
        if not fields[field]:
            failures.append(field + " is empty")

    root = tempfile.mkdtemp(prefix="orvane-deb-")
    try:
        subprocess.run(["dpkg", "-x", deb, root], check=True)
        files = sorted(os.path.relpath(os.path.join(d, f), root)
                       for d, _, names in os.walk(root) for f in names)
        program = "usr/bin/" + args.name
        desktop = "usr/share/applications/%s.desktop" % args.name
        icons = ["usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, args.name)
                 for s in ICON_SIZES]
        expected = sorted([program, desktop] + icons)
        if files != expected:
            failures.append("the package installs %s, not %s" % (files, expected))

        path = os.path.join(root, program)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                if f.read(4) != b"\x7fELF":
                    failures.append(program + " is not an ELF program")
            if not os.access(path, os.X_OK):
                failures.append(program + " is not executable")
        for size, icon in zip(ICON_SIZES, icons):
            path = os.path.join(root, icon)
            if os.path.isfile(path) and png_size(path) != (size, size):
                failures.append("%s is %s, not a %dx%d PNG" % (icon, png_size(path), size, size))

        path = os.path.join(root, desktop)
        if os.path.isfile(path):
            entry = {}
            with open(path, encoding="utf-8") as f:
                lines = f.read().splitlines()
            if not lines or lines[0] != "[Desktop Entry]":
                failures.append("the desktop entry does not start with [Desktop Entry]")
            for line in lines[1:]:
                if "=" in line:
                    key, value = line.split("=", 1)
                    entry[key] = value
            for key, want in (("Type", "Application"), ("Name", args.product),
                              ("Exec", args.name), ("Icon", args.name), ("Terminal", "false")):
                if entry.get(key) != want:
                    failures.append("desktop entry %s=%r, not %r" % (key, entry.get(key), want))
            validate = shutil.which("desktop-file-validate")
            if validate:
                check = subprocess.run([validate, path], capture_output=True, text=True)
                if check.returncode != 0:
                    failures.append("desktop-file-validate: " + check.stdout + check.stderr)
    finally:
        shutil.rmtree(root, ignore_errors=True)

    return package_checks.verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
