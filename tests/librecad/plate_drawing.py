#!/usr/bin/python3
"""The drawing of the LibreCAD session test, and the check of what LibreCAD saved.

plate_drawing.py make FILE.dxf
    writes a plate: an outline, drills (one on its grid point), a counterbore, a tapped hole with
    its thread arc, a drill drawn as a closed polyline, one drawn as two arcs, a centre mark and
    a slot.
plate_drawing.py check FILE.dxf corrected|drills|original
    checks every entity of the saved file: after the correction of every hole (base point 0,0,
    move unit 0.5, a range over every hole but the slot) each hole and what belongs to it stands
    on the grid, arcs keep their angles, and the outline and the slot are where they were; after
    the correction of the drills alone (the holes like the one at 30.26,10.1), only they and their
    centre mark moved; after undo, everything is where it was drawn."""
import math
import sys

import ezdxf

# Each entity: its kind, its layer, its numbers as drawn and after the correction. The drills and
# their centre mark come first (one drill stands on its grid point already).
DRILLS = 5
PLATE = [
    ("circle", "HOLES", ((10.02, 9.97), 3), ((10, 10), 3)),
    ("circle", "HOLES", ((30.26, 10.1), 3), ((30.5, 10), 3)),
    ("line", "CENTER", ((6.02, 9.97), (14.02, 9.97)), ((6, 10), (14, 10))),
    ("line", "CENTER", ((10.02, 5.97), (10.02, 13.97)), ((10, 6), (10, 14))),
    ("circle", "HOLES", ((50, 40), 3), None),
    ("polyline", "OUTLINE", ([(0, 0, 0), (150, 0, 0), (150, 90, 0), (0, 90, 0)], True), None),
    ("circle", "HOLES", ((60.13, 20.21), 6), ((60, 20), 6)),
    ("circle", "HOLES", ((60.13, 20.21), 3.5), ((60, 20), 3.5)),
    ("circle", "TAPPED", ((90.31, 20.4), 2.5), ((90.5, 20.5), 2.5)),
    ("arc", "TAPPED", ((90.31, 20.4), 3, 0, 270), ((90.5, 20.5), 3, 0, 270)),
    ("polyline", "HOLES", ([(38.4, 60.3, 1), (42.4, 60.3, 1)], True),
     ([(38.5, 60.5, 1), (42.5, 60.5, 1)], True)),
    ("arc", "HOLES", ((100.2, 60.17), 2.5, 0, 180), ((100, 60), 2.5, 0, 180)),
    ("arc", "HOLES", ((100.2, 60.17), 2.5, 180, 360), ((100, 60), 2.5, 180, 360)),
    ("polyline", "HOLES", ([(125, 38, 0), (135, 38, 1), (135, 42, 0), (125, 42, 1)], True), None),
]


def make(path):
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4
    msp = doc.modelspace()
    for layer in ("OUTLINE", "HOLES", "TAPPED", "CENTER"):
        doc.layers.add(layer)
    for kind, layer, drawn, _ in PLATE:
        attributes = {"layer": layer}
        if kind == "circle":
            msp.add_circle(drawn[0], drawn[1], dxfattribs=attributes)
        elif kind == "arc":
            msp.add_arc(drawn[0], drawn[1], drawn[2], drawn[3], dxfattribs=attributes)
        elif kind == "line":
            msp.add_line(drawn[0], drawn[1], dxfattribs=attributes)
        else:
            points, closed = drawn
            msp.add_lwpolyline(points, format="xyb", close=closed, dxfattribs=attributes)
    doc.saveas(path)


def angle(a):
    """An angle in degrees within [0, 360)."""
    a = math.fmod(a, 360.0)
    return a + 360.0 if a < 0 else a


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def numbers_of(entity):
    """The entity's kind, layer and numbers, in the form of PLATE."""
    kind = entity.dxftype()
    layer = entity.dxf.layer
    if kind == "CIRCLE":
        c = entity.dxf.center
        return "circle", layer, ((c.x, c.y), entity.dxf.radius)
    if kind == "ARC":
        c = entity.dxf.center
        return "arc", layer, ((c.x, c.y), entity.dxf.radius, angle(entity.dxf.start_angle),
                              angle(entity.dxf.end_angle))
    if kind == "LINE":
        s, e = entity.dxf.start, entity.dxf.end
        return "line", layer, ((s.x, s.y), (e.x, e.y))
    if kind == "LWPOLYLINE":
        return "polyline", layer, ([(x, y, b) for x, y, b in entity.get_points("xyb")],
                                   entity.closed)
    if kind == "POLYLINE":
        return "polyline", layer, ([(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge)
                                    for v in entity.vertices], entity.is_closed)
    return kind.lower(), layer, None


def flat(value):
    """Every number of a nested tuple or list, in order; booleans as 0 or 1."""
    if isinstance(value, (tuple, list)):
        return [n for v in value for n in flat(v)]
    return [float(value)]


def same(kind, found, wanted):
    if kind == "arc":
        wanted = (wanted[0], wanted[1], angle(wanted[2]), angle(wanted[3]))
    a, b = flat(found), flat(wanted)
    return len(a) == len(b) and all(close(x, y) for x, y in zip(a, b))


def check(path, state):
    doc = ezdxf.readfile(path)
    found = [numbers_of(e) for e in doc.modelspace()]
    bad = 0
    for k, (kind, layer, drawn, corrected) in enumerate(PLATE):
        moved = state == "corrected" or (state == "drills" and k < DRILLS)
        wanted = corrected if moved and corrected is not None else drawn
        matches = [f for f in found if f[0] == kind and f[1] == layer and same(kind, f[2], wanted)]
        if not matches:
            print("MISSING %s on %s: %r" % (kind, layer, wanted))
            bad += 1
            continue
        found.remove(matches[0])
    for extra in found:
        print("UNEXPECTED %r" % (extra,))
        bad += 1
    print("OK" if bad == 0 else "FAIL")
    return 1 if bad else 0


def main(argv):
    if len(argv) == 3 and argv[1] == "make":
        make(argv[2])
        return 0
    if len(argv) == 4 and argv[1] == "check" and argv[3] in ("corrected", "drills", "original"):
        return check(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
