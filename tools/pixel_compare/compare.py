#!/usr/bin/env python3
"""Sets two pixel-probe dumps side by side, case by case.

    compare.py REFERENCE.txt PLATFORM.txt [--pictures DIR] [--strict]

Prints one row per case: its group, whether the results (return codes,
measures) and the pixels are identical, and how many pixels differ. Cases of
the group "font" are shown but never count as differences: the platform's
faces differ from Windows' by design. With --pictures, each differing case is
also written as a PNG (reference | platform | differences, 4x). With --strict
the exit status is 1 when a compared case differs.
"""
import argparse
import struct
import sys
import zlib


def read_dump(path):
    cases = {}
    order = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            fields = line.rstrip("\r\n").split("\t")
            if fields[0] == "setup":
                sys.exit(f"{path}: the probe could not start: {' '.join(fields[1:])}")
            if fields[0] != "case":
                continue
            if len(fields) != 7:
                sys.exit(f"{path}: malformed case line: {line[:80]!r}")
            _, group, name, result, width, height, hexdata = fields
            cases[name] = (group, result, int(width), int(height), bytes.fromhex(hexdata))
            order.append(name)
    return order, cases


def png(path, width, height, rows):
    raw = b"".join(b"\0" + bytes(row) for row in rows)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))


def colour(index):
    """A fixed false colour per palette index, the background dark."""
    if index == 200:
        return (24, 24, 24)
    named = {0: (0, 0, 0), 1: (255, 255, 255), 2: (255, 0, 0), 3: (0, 255, 0), 4: (0, 0, 255),
             5: (0, 255, 255), 6: (128, 128, 0), 7: (128, 128, 128), 8: (255, 255, 0), 253: (255, 0, 255)}
    if index in named:
        return named[index]
    return ((index * 7) & 255, (index * 13 + 50) & 255, 255 - index)


def picture(path, width, height, reference, platform, scale=4):
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            row += colour(reference[y * width + x])
        row += (90, 90, 90)
        for x in range(width):
            row += colour(platform[y * width + x])
        row += (90, 90, 90)
        for x in range(width):
            a, b = reference[y * width + x], platform[y * width + x]
            row += (255, 255, 255) if a != b else (60, 60, 60) if a != 200 else (0, 0, 0)
        wide = []
        for i in range(0, len(row), 3):
            wide += row[i:i + 3] * scale
        rows += [wide] * scale
    png(path, (3 * width + 2) * scale, height * scale, rows)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("reference")
    parser.add_argument("platform")
    parser.add_argument("--pictures")
    parser.add_argument("--strict", action="store_true")
    args = parser.parse_args()
    order, reference = read_dump(args.reference)
    _, platform = read_dump(args.platform)

    print(f"{'case':44} {'group':6} {'result':7} {'pixels':7} {'differing':>9}")
    compared = differing = 0
    for name in order:
        group, result, width, height, pixels = reference[name]
        if name not in platform:
            print(f"{name:44} {group:6} missing on the platform")
            differing += 1
            continue
        _, other_result, other_width, other_height, other_pixels = platform[name]
        same_result = result == other_result
        if (width, height) != (other_width, other_height):
            count = max(len(pixels), len(other_pixels))
        else:
            count = sum(a != b for a, b in zip(pixels, other_pixels))
        identical = same_result and count == 0
        line = f"{name:44} {group:6} {'yes' if same_result else 'NO':7} {'yes' if count == 0 else 'NO':7} {count:9}"
        if not same_result:
            line += f"   reference: {result}   platform: {other_result}"
        print(line)
        if group != "font":
            compared += 1
            differing += not identical
        if count and args.pictures and (width, height) == (other_width, other_height):
            safe = "".join(c if c.isalnum() else "_" for c in name)
            picture(f"{args.pictures}/{safe}.png", width, height, pixels, other_pixels)
    print(f"{compared - differing} of {compared} compared cases identical (font cases shown only)")
    return 1 if args.strict and differing else 0


if __name__ == "__main__":
    sys.exit(main())
