"""Whether the Windows build (under Wine) computes ExactAtan, ExactSin, ExactCos and the host's
distance (ZetAriLen2Pnts) bit for bit as the native build does. The relocation turns each hole by
angles from atan and moves it with sin and cos by half the host's distance, so the two builds can
only write byte-identical drawings when these agree. They are our own double-double functions and
a plain square root, not the C runtimes' (which differ in the last bit between glibc and
MinGW-w64/msvcrt).

The arguments cover what the relocation feeds the functions (atan of ratios of coordinate
differences, sin and cos of angles in (-pi/2, 2.5 pi), distances of coordinate differences) and a
spread of other values. The same probe, math_probe, is built natively (in the native build's
folder) and for Windows; both read the same argument pairs."""

import math
import os
import random
import struct
import subprocess
import sys

import winetest

FUNCTIONS = ("ExactAtan", "ExactSin", "ExactCos", "distance")
# ExactSin and ExactCos reduce arguments up to 2^20 themselves and hand larger ones to the C
# runtime (the relocation's angles stay below 3 pi): those are not compared.
REDUCED_LIMIT = 2.0 ** 20


def compared(name, x):
    return name not in ("ExactSin", "ExactCos") or not abs(x) > REDUCED_LIMIT or math.isinf(x)


def bits(value):
    return struct.unpack("<Q", struct.pack("<d", value))[0]


def from_bits(word):
    return struct.unpack("<d", struct.pack("<Q", word))[0]


def argument_groups():
    """{group: [(x, y)]}: what the relocation computes, then a spread of other values. The
    distance is measured from (0, 0) to (x, y)."""
    rng = random.Random(20240611)
    ratios, moves, angles, others = [], [], [], []
    for _ in range(5000):  # atan of dy/dx between a hole's old and new centre
        dy = rng.uniform(-1000, 1000) * 10 ** rng.randint(-6, 0)
        dx = rng.uniform(-1000, 1000) * 10 ** rng.randint(-6, 0)
        ratios.append((dy / dx if dx else dy, dx))
        moves.append((dx, dy))
    for _ in range(5000):  # theta and pi/2 + theta
        theta = rng.uniform(-math.pi / 2, 2 * math.pi)
        angles += [(theta, 1.0), (math.pi * 0.5 + theta, 1.0)]
    for _ in range(1000):
        others.append((rng.uniform(-1, 1) * 10 ** rng.uniform(-12, 6),
                       rng.uniform(-1, 1) * 10 ** rng.uniform(-300, 300)))
    inf, nan = float("inf"), float("nan")
    exact = [0.0, -0.0, 1.0, -1.0, math.pi / 4, math.pi / 2, -math.pi / 2, math.pi,
             1.5 * math.pi, 2 * math.pi, 4 * math.atan(1.0), 2.0 ** 20, -(2.0 ** 20), 2.0 ** 64,
             1e300, 5e-324, inf, -inf, nan]
    return {
        "exact angles and edge cases": [(x, y) for x in exact for y in (0.0, 3.0, inf, nan)],
        "atan of coordinate ratios": ratios,
        "distances of moves": moves,
        "angles in (-pi/2, 2.5 pi)": angles,
        "other magnitudes": others,
    }


def parse(output, values, who):
    rows = [line.split() for line in output.decode().split("\n") if line.strip()]
    if len(rows) != len(values) or any(len(row) != len(FUNCTIONS) for row in rows):
        raise AssertionError("%s math_probe printed %d rows for %d arguments" % (
            who, len(rows), len(values)))
    return [[int(word, 16) for word in row] for row in rows]


def feed(values):
    return "".join("%016x %016x\n" % (bits(x), bits(y)) for x, y in values).encode()


def run_windows(wine, probe, values):
    return parse(wine.run([probe], input=feed(values), timeout=90).stdout, values, "the Windows")


def run_native(probe, values):
    result = subprocess.run([probe], input=feed(values), capture_output=True, timeout=90,
                            check=True)
    return parse(result.stdout, values, "the native")


def compare(group, values, native, windows):
    """Prints how many results differ per function; the number of differences."""
    total = 0
    for index, name in enumerate(FUNCTIONS):
        pairs = [(v, n[index], w[index]) for v, n, w in zip(values, native, windows)
                 if compared(name, v[0])]
        found = [(v, n, w) for v, n, w in pairs if n != w]
        total += len(found)
        print("%-30s %-9s: %4d of %4d differ" % (group, name, len(found), len(pairs)))
        for (x, y), n, w in found[:3]:
            shown = x.hex() + (", " + y.hex() if name == "distance" else "")
            print("    %s(%s): native %s, Windows %s" % (
                name, shown, from_bits(n).hex(), from_bits(w).hex()))
    return total


def main():
    args = winetest.arguments()
    winetest.require_wine()
    probe = os.path.join(args.bin, "math_probe.exe")
    native_probe = os.path.join(args.native_bin, "math_probe")
    winetest.require_files(probe, native_probe)
    groups = argument_groups()
    values = [v for group in groups.values() for v in group]
    native = run_native(native_probe, values)
    with winetest.started(args.work) as wine:
        windows = run_windows(wine, probe, values)
    differences, at = 0, 0
    for group, group_values in groups.items():
        end = at + len(group_values)
        differences += compare(group, group_values, native[at:end], windows[at:end])
        at = end
    if differences:
        print("the native and the Windows build do not agree bit for bit: they may relocate "
              "holes to positions that differ in the last bits")
        sys.exit(1)
    print("ExactAtan, ExactSin, ExactCos and the distance agree bit for bit on all %d arguments "
          "(ExactSin and ExactCos on the %d up to 2^20)" % (
              len(values), sum(1 for x, _ in values if compared("ExactSin", x))))


if __name__ == "__main__":
    main()
