"""Whether MinGW-w64's C runtime (under Wine) computes atan, sin and cos bit for bit as glibc
does. The relocation turns each hole by angles from atan and moves it with sin and cos (and the
stand-in host measures the distance with hypot), so the Windows and the Linux build can only write
byte-identical drawings when the two runtimes agree.

The arguments cover what the relocation feeds the functions (atan of ratios of coordinate
differences, sin and cos of angles in (-pi/2, pi) and of their sums with pi/2) and a spread of
other values. glibc's results come from glibc itself: atan, sin and cos through Python's math
module, which calls the C library, hypot through ctypes (Python's math.hypot is its own)."""

import ctypes
import math
import os
import random
import struct
import sys

import winetest

LIBM = ctypes.CDLL("libm.so.6")
LIBM.hypot.restype = ctypes.c_double
LIBM.hypot.argtypes = (ctypes.c_double, ctypes.c_double)

# Each function takes an argument pair (x, y).
FUNCTIONS = (("atan", lambda x, y: math.atan(x)), ("sin", lambda x, y: math.sin(x)),
             ("cos", lambda x, y: math.cos(x)), ("hypot", LIBM.hypot))


def bits(value):
    return struct.unpack("<Q", struct.pack("<d", value))[0]


def from_bits(word):
    return struct.unpack("<d", struct.pack("<Q", word))[0]


def argument_groups():
    """{group: [(x, y)]}: what the relocation computes, then a spread of other values. y is the
    second argument of hypot: the other coordinate difference of a move."""
    rng = random.Random(20240611)
    ratios, angles, others = [], [], []
    for _ in range(1500):  # atan of dy/dx between a hole's old and new centre; hypot(dx, dy)
        dy = rng.uniform(-1000, 1000) * 10 ** rng.randint(-6, 0)
        dx = rng.uniform(-1000, 1000) * 10 ** rng.randint(-6, 0)
        ratios.append((dy / dx if dx else dy, dx))
    for _ in range(1500):  # theta and pi/2 + theta
        theta = rng.uniform(-math.pi / 2, math.pi / 2)
        angles += [(theta, 1.0), (math.pi * 0.5 + theta, 1.0)]
    for _ in range(1000):
        others.append((rng.uniform(-1, 1) * 10 ** rng.uniform(-8, 8), rng.uniform(-1e3, 1e3)))
    exact = [0.0, -0.0, 1.0, -1.0, math.pi / 4, math.pi / 2, -math.pi / 2, math.pi,
             4 * math.atan(1.0)]
    return {
        "exact angles (0, pi/2, pi, ...)": [(x, 0.0) for x in exact],
        "atan of coordinate ratios": ratios,
        "angles in (-pi/2, pi)": angles,
        "other magnitudes": others,
    }


def run_probe(wine, probe, values):
    feed = "".join("%016x %016x\n" % (bits(x), bits(y)) for x, y in values).encode()
    output = wine.run([probe], input=feed, timeout=90).stdout.decode().split("\n")
    rows = [line.split() for line in output if line.strip()]
    if len(rows) != len(values):
        raise AssertionError("math_probe answered %d of %d arguments" % (len(rows), len(values)))
    return [[int(word, 16) for word in row] for row in rows]


def compare(group, values, rows):
    """Prints how many results differ per function; the number of differences."""
    total = 0
    for index, (name, function) in enumerate(FUNCTIONS):
        found = [(v, from_bits(row[index]), function(*v)) for v, row in zip(values, rows)
                 if row[index] != bits(function(*v))]
        total += len(found)
        print("%-32s %-5s: %4d of %4d differ" % (group, name, len(found), len(values)))
        for (x, y), mingw, glibc in found[:3]:
            shown = x.hex() + (", " + y.hex() if name == "hypot" else "")
            print("    %s(%s): MinGW-w64 %s, glibc %s" % (name, shown, mingw.hex(), glibc.hex()))
    return total


def main():
    args = winetest.arguments()
    winetest.require_wine()
    probe = os.path.join(args.bin, "math_probe.exe")
    winetest.require_files(probe)
    wine = winetest.Wine(args.work)
    wine.ensure_prefix()
    groups = argument_groups()
    values = [v for group in groups.values() for v in group]
    try:
        rows = run_probe(wine, probe, values)
    finally:
        wine.shutdown()
    differences, at = 0, 0
    for group, group_values in groups.items():
        differences += compare(group, group_values, rows[at:at + len(group_values)])
        at += len(group_values)
    if differences:
        print("the two C runtimes do not agree bit for bit: the Windows and the Linux build may "
              "relocate holes to positions that differ in the last bits")
        sys.exit(1)
    print("atan, sin, cos and hypot agree bit for bit on all %d arguments" % len(values))


if __name__ == "__main__":
    main()
