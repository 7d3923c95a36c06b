#!/usr/bin/python3
"""Makes the same round holes as a Tarnell drawing, a DXF (written by ezdxf) and a session.

    make_holes.py HOLES KINDS OUT_PREFIX [--no-dxf]

Holes of KINDS diameters stand in rows, each centre a little off a 0.5 grid; the session picks a
base point at 0,0, one window over every hole and move unit 0.5 (row 4 of the unit list).
"""
import math
import random
import sys


def holes(count, kinds):
    rng = random.Random(count * 100 + kinds)
    side = math.ceil(math.sqrt(count))
    for i in range(count):
        kind = i % kinds
        diameter = 2.0 + 0.5 * kind
        x = round((i % side) * 2.0 + rng.uniform(-0.2, 0.2), 4)
        y = round((i // side) * 2.0 + rng.uniform(-0.2, 0.2), 4)
        yield i + 1, kind, diameter, x, y


def write_drawing(path, count, kinds):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("tarnell-drawing 1\n")
        lines = []
        for n, kind, diameter, x, y in holes(count, kinds):
            lines.append(f"hole {n} hole={n}\n  item code1={kind + 1} value1={diameter!r} "
                         f"text=\"D{diameter!r}\"\n  circle {n} center={x!r},{y!r} "
                         f"radius={diameter / 2!r}\n")
            if len(lines) == 10000:
                out.write("".join(lines))
                lines = []
        out.write("".join(lines))


def write_dxf(path, count, kinds):
    import ezdxf
    doc = ezdxf.new()
    msp = doc.modelspace()
    for _, kind, diameter, x, y in holes(count, kinds):
        msp.add_circle((x, y), diameter / 2, dxfattribs={"layer": f"D{kind + 1}"})
    doc.saveas(path)


def write_session(path, count):
    side = math.ceil(math.sqrt(count))
    far = side * 2.0 + 10
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(f"0,0\nwindow -10,-10 {far},{far}\nclick row 4\nok\n")


def main():
    count, kinds, prefix = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    write_drawing(prefix + ".drawing", count, kinds)
    write_session(prefix + ".session", count)
    if "--no-dxf" not in sys.argv:
        write_dxf(prefix + ".dxf", count, kinds)


if __name__ == "__main__":
    main()
