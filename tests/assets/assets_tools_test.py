#!/usr/bin/env python3
"""Tests of the picture tools: the generator's LZW encoder against the checker's decoder, and the
checker against damaged copies of the committed pictures."""

import importlib.machinery
import importlib.util
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RESOURCES = os.path.join(ROOT, "resources")


def load_tool(name):
    loader = importlib.machinery.SourceFileLoader(name.replace("-", "_"),
                                                  os.path.join(ROOT, "tools", name))
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
    loader.exec_module(module)
    return module


make = load_tool("make-assets")
check = load_tool("check-assets")


class LzwRoundTrip(unittest.TestCase):
    def test_encoded_data_decodes_to_the_same_indices(self):
        rng = random.Random(4)
        cases = {
            "one pixel": [7],
            "a white screen": [255] * (85 * 81),
            # Repeats a string right after defining it: the code the decoder has not seen yet.
            "KwKwK": [1, 1, 1, 1, 1, 1, 1, 2, 1, 2, 1, 2, 1],
            "a ramp of every index": list(range(256)) * 3,
            # Noise fills the 4096-entry table several times: clear codes and width resets.
            "noise": [rng.randrange(256) for _ in range(30000)],
            "noise on few colours": [rng.choice((0, 3, 255)) for _ in range(60000)],
        }
        for name, indices in cases.items():
            with self.subTest(name):
                data = make.lzw_encode(indices)
                self.assertEqual(check.lzw_decode(data, 8, len(indices)), indices)

    def test_noise_crosses_every_code_width_and_the_table_reset(self):
        rng = random.Random(9)
        data = make.lzw_encode([rng.randrange(256) for _ in range(30000)])
        # 30000 random bytes need far more than 4096 - 258 codes, so the table was reset.
        self.assertGreater(len(data) * 8, (4096 - 258) * 12)


def find_all(data, pattern):
    found, at = [], data.find(pattern)
    while at >= 0:
        found.append(at)
        at = data.find(pattern, at + 1)
    return found


def gces(gif):
    return [at for at in find_all(gif, b"\x21\xF9\x04") if gif[at + 8] == 0x2C]


def image_data_span(gif, frame):
    """Offsets of frame's LZW sub-blocks (from the minimum code size up to the terminator)."""
    start = gces(gif)[frame] + 8 + 10
    pos = start + 1
    while gif[pos]:
        pos += gif[pos] + 1
    return start, pos + 1


def replace_image_data(gif, frame, indices):
    start, end = image_data_span(gif, frame)
    return gif[:start] + bytes([8]) + make.sub_blocks(make.lzw_encode(indices)) + gif[end:]


def cut_image_data(gif, frame, keep):
    """Keeps only the first `keep` bytes of frame's LZW data: no end code any more."""
    start, end = image_data_span(gif, frame)
    return gif[:start] + bytes([8, keep]) + gif[start + 2:start + 2 + keep] + b"\0" + gif[end:]


def set_byte(offset, value):
    def change(data):
        data = bytearray(data)
        data[offset] = value
        return bytes(data)
    return change


def set_gce(frame, field, value):
    return lambda gif: set_byte(gces(gif)[frame] + field, value)(gif)


def set_descriptor_u16(frame, field, value):
    def change(gif):
        at = gces(gif)[frame] + 8 + field
        return gif[:at] + struct.pack("<H", value) + gif[at + 2:]
    return change


def ico_entry(image, field, value):
    return set_byte(6 + 16 * image + field, value)


def ico_dib_field(image, field, fmt, value):
    def change(ico):
        offset = struct.unpack_from("<I", ico, 6 + 16 * image + 12)[0]
        return ico[:offset + field] + struct.pack(fmt, value) + ico[offset + field + struct.calcsize(fmt):]
    return change


def ico_pixels(image, change_pixel):
    def change(ico):
        size, offset = ico[6 + 16 * image], struct.unpack_from("<I", ico, 6 + 16 * image + 12)[0]
        data = bytearray(ico)
        change_pixel(data, offset + 40, size)
        return bytes(data)
    return change


def opaque_everywhere(data, start, size):
    for i in range(size * size):
        data[start + 4 * i + 3] = 255


def flip_a_mask_bit(data, start, size):
    data[start + size * size * 4 + 4 * (size // 2)] ^= 0x10


# (what is damaged, file, damage, what the checker must say)
DAMAGE = [
    ("GIF87a header", "loading.gif", lambda g: b"GIF87a" + g[6:], "not GIF89a"),
    ("screen width", "loading.gif", set_byte(6, 84), "not 85 x 81"),
    ("colour 255", "loading.gif", set_byte(13 + 3 * 255 + 1, 0), "colour 255 is (255, 0, 255)"),
    ("background index", "loading.gif", set_byte(11, 0), "background index 0"),
    ("loop count", "loading.gif", lambda g: g.replace(b"NETSCAPE2.0\x03\x01\x00", b"NETSCAPE2.0\x03\x01\x02"),
     "NETSCAPE2.0 with loop count 0"),
    ("delay", "loading.gif", set_gce(3, 4, 7), "frame 3: delay 7"),
    ("disposal", "loading.gif", set_gce(5, 3, (2 << 2) | 1), "frame 5: disposal 2"),
    ("transparency flag", "loading.gif", set_gce(2, 3, 1 << 2), "frame 2: transparent index 255 (flag 0)"),
    ("transparent index", "loading.gif", set_gce(7, 6, 254), "frame 7: transparent index 254"),
    ("partial frame moved", "loading.gif", set_descriptor_u16(6, 3, 6), "frame 6: at 4,6"),
    ("first frame not full", "loading.gif", set_descriptor_u16(0, 5, 84), "frame 0: at 0,0 size 84x81"),
    ("block between control and image", "loading.gif",
     lambda g: g[:gces(g)[2] + 8] + b"\x21\xFE\x02hi\x00" + g[gces(g)[2] + 8:],
     "frame 2: no graphic control extension right before"),
    ("short image data", "loading.gif", lambda g: replace_image_data(g, 1, [255] * (77 * 70 - 1)),
     "frame 1: LZW data holds 5389 indices, not 77 x 70"),
    ("image data cut short", "loading.gif",
     lambda g: cut_image_data(g, 4, 10),
     "frame 4: LZW data"),
    ("a partial frame that changes nothing", "loading.gif",
     lambda g: replace_image_data(g, 4, [255] * (77 * 70)),
     "frame 4 shows the same picture as the frame before it"),
    ("a blank first frame", "loading.gif", lambda g: replace_image_data(g, 0, [0] * (85 * 81)),
     "frame 0 composes to a blank picture"),
    ("image count", "orvane.ico", set_byte(4, 3), "3 images, not 4"),
    ("sizes out of order", "orvane.ico", ico_entry(1, 0, 24), "image 1: directory says 24x32"),
    ("colour count", "orvane.ico", ico_entry(2, 2, 16), "image 2: colour count 16"),
    ("bit count in the directory", "orvane.ico", ico_entry(0, 6, 24), "image 0: directory says 1 planes, 24 bits"),
    ("bitmap height not doubled", "orvane.ico", ico_dib_field(3, 8, "<i", 16), "image 3: bitmap 16x16"),
    ("bitmap of 24 bits", "orvane.ico", ico_dib_field(1, 14, "<H", 24), "image 1: bitmap with 1 planes, 24 bits"),
    ("no alpha", "orvane.ico", ico_pixels(2, opaque_everywhere), "image 2: alpha is all 255"),
    ("mask against alpha", "orvane.ico", ico_pixels(0, flip_a_mask_bit), "image 0: AND mask disagrees"),
    ("no AND mask", "orvane.ico", lambda i: i[:-64], "image 3: runs past the end"),
    ("hand-edited PNG", "orvane-128.png", lambda p: p + b"\0", "orvane-128.png: differs from a fresh run"),
]


class CheckerFindsDamage(unittest.TestCase):
    def test_committed_files_pass(self):
        run = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "check-assets")],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

    def test_each_damage_is_reported(self):
        for what, name, damage, message in DAMAGE:
            with self.subTest(what), tempfile.TemporaryDirectory() as copy:
                for entry in os.listdir(RESOURCES):
                    if entry.endswith((".gif", ".ico", ".png")):
                        shutil.copy(os.path.join(RESOURCES, entry), copy)
                path = os.path.join(copy, name)
                with open(path, "rb") as f:
                    data = f.read()
                damaged = damage(data)
                self.assertNotEqual(damaged, data)
                with open(path, "wb") as f:
                    f.write(damaged)
                run = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "check-assets"), copy],
                                     capture_output=True, text=True)
                self.assertEqual(run.returncode, 1, run.stdout + run.stderr)
                self.assertIn(message, run.stdout)
                self.assertIn("%s: differs from a fresh run" % name, run.stdout)


if __name__ == "__main__":
    unittest.main()
