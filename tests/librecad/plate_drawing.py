#!/usr/bin/python3
"""The drawing of the LibreCAD session test, and the check of what LibreCAD saved.

plate_drawing.py make FILE.dxf
    writes a plate: an outline, drills (one on its grid point), a counterbore, a tapped hole with
    its thread arc, a drill drawn as a closed polyline, one drawn as two arcs, a centre mark and
    a slot.
plate_drawing.py check FILE.dxf corrected|drills|picked|original|corrected-with-new-drill
    checks every entity of the saved file: after the correction of every hole (base point 0,0,
    move unit 0.5, a range over every hole but the slot) each hole and what belongs to it stands
    on the grid, arcs keep their angles, and the outline and the slot are where they were; after
    the correction of the drills alone (the holes like the one at 30.26,10.1), only they and their
    centre mark moved; after that of the drills and the tapped hole (picked), only those; after
    undo, everything is where it was drawn; "corrected-with-new-drill" is "corrected" with a
    drill drawn at 105.2,75.3 while the command waited, on its grid point 105,75.5.
plate_drawing.py shown SHOT.png CALIBRATION LIT DARK
    checks a screenshot of LibreCAD for the command's highlight over the drawing view: every
    hole named in LIT (comma separated names of HOLES, or "none") is traced in a highlight colour
    along its outline, no hole of DARK is, and with LIT "none" no highlight stands anywhere on
    the plate. CALIBRATION is "PX,PY=X,Y;PX,PY=X,Y": two screen pixels and the drawing points
    LibreCAD gave for clicks there.
plate_drawing.py band SHOT.png CALIBRATION X1,Y1 PX,PY
    checks that a rubber band runs from the drawing point X1,Y1 to the screen pixel PX,PY."""
import math
import subprocess
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


# Holes of the plate by name, as circles: centre and radius.
HOLES = {
    "drill-a": ((10.02, 9.97), 3),
    "drill-b": ((30.26, 10.1), 3),
    "drill-c": ((50, 40), 3),
    "counterbore": ((60.13, 20.21), 6),
    "tapped": ((90.31, 20.4), 2.5),
    "arc-drill": ((100.2, 60.17), 2.5),
}
# What moves in the state "picked": the drills, their centre mark and the tapped hole.
PICKED = set(range(DRILLS)) | {8, 9}


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
    if state == "corrected-with-new-drill":
        state = "corrected"
        drill = [f for f in found if f[0] == "circle" and same("circle", f[2], ((105, 75.5), 3))]
        if drill:
            found.remove(drill[0])
        else:
            print("MISSING the drill drawn while the command waited, at 105,75.5")
            bad += 1
    for k, (kind, layer, drawn, corrected) in enumerate(PLATE):
        moved = (state == "corrected" or (state == "drills" and k < DRILLS) or
                 (state == "picked" and k in PICKED))
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


def read_screen(path):
    """The screenshot as (width, height, rgb bytes), through ImageMagick's binary PPM."""
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                         stdout=subprocess.PIPE).stdout
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, maximum, each after white space
        while ppm[at:at + 1].isspace():
            at += 1
        end = at
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[at:end])
        at = end
    return int(fields[1]), int(fields[2]), ppm[at + 1:]


def highlight(rgb):
    """The overlay's two blink colours (spring green, magenta), antialiased edges included;
    nothing LibreCAD draws by itself on this plate comes near them."""
    r, g, b = rgb
    return (g > 180 and r < 90 and 60 < b < 200) or (r > 170 and b > 170 and g < 90)


def band_colour(rgb):
    r, g, b = rgb
    return r < 90 and g > 150 and b > 190


class Screen:
    def __init__(self, path, calibration):
        self.width, self.height, self.rgb = read_screen(path)
        (p1, d1), (p2, d2) = [[tuple(map(float, xy.split(","))) for xy in pair.split("=")]
                              for pair in calibration.split(";")]
        self.sx = (p2[0] - p1[0]) / (d2[0] - d1[0])
        self.sy = (p2[1] - p1[1]) / (d2[1] - d1[1])
        self.origin = (p1[0] - self.sx * d1[0], p1[1] - self.sy * d1[1])

    def pixel_of(self, x, y):
        return self.origin[0] + self.sx * x, self.origin[1] + self.sy * y

    def colour(self, u, v):
        u, v = int(round(u)), int(round(v))
        if not (0 <= u < self.width and 0 <= v < self.height):
            return (0, 0, 0)
        at = 3 * (v * self.width + u)
        return tuple(self.rgb[at:at + 3])

    def near(self, u, v, test, reach=2):
        return any(test(self.colour(u + du, v + dv))
                   for du in range(-reach, reach + 1) for dv in range(-reach, reach + 1))

    def traced(self, name):
        """How many of 16 points along the hole's outline have a highlight pixel nearby."""
        (cx, cy), r = HOLES[name]
        points = [self.pixel_of(cx + r * math.cos(k * math.pi / 8), cy + r * math.sin(k * math.pi / 8))
                  for k in range(16)]
        return sum(1 for u, v in points if self.near(u, v, highlight))


def shown(path, calibration, lit, dark):
    screen = Screen(path, calibration)
    bad = 0
    for name in [n for n in lit.split(",") if n != "none"]:
        if screen.traced(name) < 14:
            print("NOT LIT %s (%d of 16 points)" % (name, screen.traced(name)))
            bad += 1
    for name in [n for n in dark.split(",") if n != "none"]:
        if screen.traced(name) > 0:
            print("LIT %s (%d of 16 points)" % (name, screen.traced(name)))
            bad += 1
    if lit == "none":
        u0, v0 = screen.pixel_of(0, 90)
        u1, v1 = screen.pixel_of(150, 0)
        stray = sum(1 for v in range(int(v0), int(v1)) for u in range(int(u0), int(u1))
                    if highlight(screen.colour(u, v)))
        if stray:
            print("HIGHLIGHT %d pixels on the plate" % stray)
            bad += 1
    print("OK" if bad == 0 else "FAIL")
    return 1 if bad else 0


def band(path, calibration, corner, cursor):
    """A dashed rectangle: every side has band pixels along its middle half."""
    screen = Screen(path, calibration)
    u0, v0 = screen.pixel_of(*map(float, corner.split(",")))
    u1, v1 = map(float, cursor.split(","))
    sides = [[(u0 + t * (u1 - u0), v) for t in [k / 40 for k in range(10, 31)]] for v in (v0, v1)]
    sides += [[(u, v0 + t * (v1 - v0)) for t in [k / 40 for k in range(10, 31)]] for u in (u0, u1)]
    bad = 0
    for side in sides:
        hits = sum(1 for u, v in side if screen.near(u, v, band_colour, 1))
        if hits < len(side) // 3:
            print("NO BAND along %r" % (side[len(side) // 2],))
            bad += 1
    print("OK" if bad == 0 else "FAIL")
    return 1 if bad else 0


def main(argv):
    if len(argv) == 3 and argv[1] == "make":
        make(argv[2])
        return 0
    if len(argv) == 4 and argv[1] == "check" and argv[3] in (
            "corrected", "drills", "picked", "original", "corrected-with-new-drill"):
        return check(argv[2], argv[3])
    if len(argv) == 6 and argv[1] == "shown":
        return shown(*argv[2:])
    if len(argv) == 6 and argv[1] == "band":
        return band(*argv[2:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
