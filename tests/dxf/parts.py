"""Drawings of real parts as a drafter draws them, written with ezdxf, each with what a correction
to the 0.5 grid around 0,0 must do to every model space entity, by handle:

    "hole"          its centre lands exactly on the grid
    "belongs:H"     it moves with the hole whose main entity has handle H: the same translation,
                    its orientation kept (arc angles, line directions)
    "stays"         not one of its numbers changes

Entities outside the model space (block contents, dimension blocks, tables, objects) stay.

Run as a script to write every part and its expectations:  /usr/bin/python3 parts.py FOLDER
"""
import json
import math
import os
import sys

import ezdxf

UNIT = 0.5
MM, INCH = 4, 1  # $INSUNITS


class Drawing:
    """A drawing and the expectation of each of its model space entities."""

    def __init__(self, name, units=MM, version="R2010"):
        self.name = name
        self.doc = ezdxf.new(version, setup=True, units=units)
        self.msp = self.doc.modelspace()
        self.expect = {}
        self.stale = []  # dimensions tarnell must name as measuring to moved holes
        self.kinds = None  # how many kinds of hole tarnell must find, where that is plain
        self.flattened = []  # inserts to write at scale 0, which ezdxf itself refuses to write

    def layer(self, name, linetype="Continuous"):
        if name not in self.doc.layers:
            if linetype not in self.doc.linetypes:
                add_linetype(self.doc, linetype)
            self.doc.layers.add(name, linetype=linetype)
        return name

    def hole(self, entity):
        self.expect[entity.dxf.handle] = "hole"
        return entity

    def belongs(self, entity, hole):
        self.expect[entity.dxf.handle] = "belongs:" + hole.dxf.handle
        return entity

    def stays(self, entity):
        self.expect[entity.dxf.handle] = "stays"
        return entity

    def save(self, path):
        """Writes the drawing; each flattened insert gets its zero scales after its insertion
        point, as a CAD program that allows them writes them."""
        self.doc.saveas(path)
        if not self.flattened:
            return
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        for handle in self.flattened:
            at = next(k for k in range(0, len(lines) - 1, 2)
                      if lines[k].strip() == "5" and lines[k + 1] == handle)
            at = next(k for k in range(at, len(lines) - 1, 2) if lines[k].strip() == "30")
            lines[at + 2:at + 2] = [" 41", "0.0", " 42", "0.0", " 43", "0.0"]
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))

    def finished(self):
        """The part, once every model space entity has its expectation and every hole centre
        lies clearly between a grid point and a tie of rounding (so that it moves, to one
        answer)."""
        for e in self.msp:
            assert e.dxf.handle in self.expect, (self.name, e.dxftype(), e.dxf.handle)
            if self.expect[e.dxf.handle] == "hole":
                for v in centre(e):
                    off = abs(v / UNIT - round(v / UNIT))
                    assert 0.01 <= off <= 0.49, (self.name, e.dxf.handle, v)
        return self


def grid(v):
    """The grid coordinate nearest v (base point 0,0)."""
    return round(v / UNIT) * UNIT


def add_linetype(doc, name):
    patterns = {"HIDDEN": [0.375, 0.25, -0.125], "CENTER": [2.0, 1.25, -0.25, 0.25, -0.25]}
    doc.linetypes.add(name, patterns[name], description=name.title())


def centre(e):
    """The centre of a hole entity: a circle's, an insert's point, or the middle of a circle
    drawn as a closed polyline of two half circles."""
    kind = e.dxftype()
    if kind in ("CIRCLE", "ARC"):
        return (e.dxf.center.x, e.dxf.center.y)
    if kind == "INSERT":
        return (e.dxf.insert.x, e.dxf.insert.y)
    if kind == "LWPOLYLINE":
        (x0, y0), (x1, y1) = [p[:2] for p in e.get_points("xy")][:2]
        return ((x0 + x1) / 2, (y0 + y1) / 2)
    raise ValueError("no hole entity: " + kind)


def centre_mark(part, hole, reach, layer):
    """Two short lines crossing at the hole's centre, each `reach` beyond its circle."""
    x, y = centre(hole)
    half = hole.dxf.radius + reach
    for start, end in (((x - half, y), (x + half, y)), ((x, y - half), (x, y + half))):
        part.belongs(part.msp.add_line(start, end, dxfattribs={"layer": layer}), hole)


def rectangle(part, x0, y0, x1, y1, layer):
    part.stays(part.msp.add_lwpolyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], close=True,
                                       dxfattribs={"layer": part.layer(layer)}))


def flange(bylayer):
    """A flange: outline and bore concentric, a bolt circle centre line through six bolt holes,
    each bolt hole with its centre mark."""
    part = Drawing("flange-bylayer" if bylayer else "flange")
    cx, cy = 100.13, 79.88
    part.stays(part.msp.add_circle((cx, cy), 62.5, dxfattribs={"layer": part.layer("OUTLINE")}))
    part.hole(part.msp.add_circle((cx, cy), 20, dxfattribs={"layer": part.layer("HOLES")}))
    centre_layer = part.layer("CENTER", "CENTER")
    if bylayer:
        line = {"layer": centre_layer}
    else:
        line = {"layer": "0", "linetype": "CENTER"}
    part.stays(part.msp.add_circle((cx, cy), 45, dxfattribs=line))
    for k in range(6):
        angle = math.radians(15 + 60 * k)
        bolt = part.hole(part.msp.add_circle(
            (cx + 45 * math.cos(angle), cy + 45 * math.sin(angle)), 4.5,
            dxfattribs={"layer": "HOLES"}))
        centre_mark(part, bolt, 2, centre_layer)
    return part.finished()


def pcb():
    """A board's drill drawing: every drill on the top and the bottom drill layer, and
    counterbored mounting holes whose counterbore is on a layer of its own."""
    part = Drawing("pcb")
    rectangle(part, 0, 0, 100, 80, "BOARD")
    top, bottom = part.layer("Drill_Top"), part.layer("Drill_Bottom")
    pitch = 2.54
    drills = [((10.16 + pitch * i, y), 0.5) for i in range(10) for y in (20.32, 22.86)]
    drills += [((40.64 + pitch * i, y), 0.4) for i in range(7) for y in (50.8, 58.42)]
    drills += [((x, y), 0.65) for x in (70.1, 75.18, 80.26) for y in (20.3, 30.46)]
    mounting = [(5.08, 5.08), (94.92, 5.08), (94.92, 74.92)]
    drills += [(p, 1.6) for p in mounting]
    for (x, y), radius in drills:
        p = (round(x, 4), round(y, 4))
        for layer in (top, bottom):
            part.hole(part.msp.add_circle(p, radius, dxfattribs={"layer": layer}))
    for p in mounting:
        part.hole(part.msp.add_circle(p, 3.0, dxfattribs={"layer": part.layer("COUNTERBORE")}))
    return part.finished()


def tapped():
    """Tapped holes drawn with their three-quarter thread arc, plain holes of the tap drill's
    size, and a drill with its counterbore hidden below (a dashed concentric circle)."""
    part = Drawing("tapped")
    rectangle(part, 0, 0, 120, 60, "OUTLINE")
    holes, thread = part.layer("HOLES"), part.layer("THREAD")
    for (x, y), start in (((20.2, 15.3), 0), ((50.35, 15.1), 30), ((80.4, 44.85), 100)):
        drill = part.hole(part.msp.add_circle((x, y), 2.5, dxfattribs={"layer": holes}))
        part.belongs(part.msp.add_arc((x, y), 3.0, start, start + 270,
                                      dxfattribs={"layer": thread}), drill)
    for p in ((20.1, 45.2), (100.3, 15.15)):
        part.hole(part.msp.add_circle(p, 2.5, dxfattribs={"layer": holes}))
    drill = part.hole(part.msp.add_circle((100.15, 44.9), 3.3, dxfattribs={"layer": holes}))
    part.belongs(part.msp.add_circle((100.15, 44.9), 5.5, dxfattribs={
        "layer": part.layer("HIDDEN", "HIDDEN"), "linetype": "HIDDEN"}), drill)
    return part.finished()


def block_holes():
    """A hole block (circle on the base point, centre mark, point, attribute definition)
    inserted with its attributes, and once at scale 0, which draws nothing."""
    part = Drawing("block-holes")
    block = part.doc.blocks.new(name="HOLE_M5")
    block.add_circle((0, 0), 2.75)
    block.add_line((-4, 0), (4, 0))
    block.add_line((0, -4), (0, 4))
    block.add_point((0, 0))
    block.add_attdef("NO", (3.5, 3.5), "H?", height=2.5)
    layer = part.layer("HOLES")
    for number, (x, y) in enumerate(((15.3, 10.2), (40.1, 10.35), (65.4, 30.15)), 1):
        insert = part.hole(part.msp.add_blockref("HOLE_M5", (x, y), dxfattribs={"layer": layer}))
        part.belongs(insert.add_attrib("NO", "H%d" % number, (x + 3.5, y + 3.5),
                                       dxfattribs={"height": 2.5}), insert)
    flat = part.stays(part.msp.add_blockref("HOLE_M5", (90.2, 30.3), dxfattribs={"layer": layer}))
    part.flattened.append(flat.dxf.handle)
    part.stays(flat.add_attrib("NO", "H0", (90.2, 30.3), dxfattribs={"height": 2.5}))
    return part.finished()


def closed_bulge_circle(msp, x0, y, diameter, layer):
    """A circle as a CAD program writes it as a polyline: two vertices with bulge 1, the second
    at the first plus a diameter that carries the program's rounding."""
    x1 = x0 + diameter
    assert x1 - x0 == diameter, (x0, diameter)
    return msp.add_lwpolyline([(x0, y, 1), (x1, y, 1)], format="xyb", close=True,
                              dxfattribs={"layer": layer})


def float_noise():
    """Radii and diameters with the rounding CAD programs leave in them: still one size each."""
    part = Drawing("float-noise")
    layer = part.layer("HOLES")
    for p, radius in (((10.1, 10.2), 1.75), ((20.3, 10.1), 1.7499999999999893),
                      ((30.2, 10.4), 1.750000000000007), ((40.4, 10.15), 1.75)):
        part.hole(part.msp.add_circle(p, radius, dxfattribs={"layer": layer}))
    for x0, diameter in ((10.2, 2.0049999999973807), (20.35, 2.005000000000109)):
        part.hole(closed_bulge_circle(part.msp, x0, 30.1, diameter, layer))
    part.kinds = 2
    return part.finished()


def far_entity():
    """Small holes by the origin and a line a 10^12 long far away: the drawing's size must not
    blur the holes' positions."""
    part = Drawing("far-entity")
    layer = part.layer("HOLES")
    for p in ((1.1, 2.2), (5.3, 2.15), (9.4, 6.35)):
        part.hole(part.msp.add_circle(p, 1, dxfattribs={"layer": layer}))
    part.stays(part.msp.add_line((1e12, 1e12), (2e12, 1e12), dxfattribs={"layer": "0"}))
    return part.finished()


def inch():
    """A drawing in inches: quarter-inch holes."""
    part = Drawing("inch", units=INCH)
    rectangle(part, 0, 0, 4, 3, "OUTLINE")
    layer = part.layer("HOLES")
    for p in ((1.13, 0.87), (3.61, 0.92), (1.13, 2.12), (3.38, 2.16)):
        part.hole(part.msp.add_circle(p, 0.125, dxfattribs={"layer": layer}))
    return part.finished()


def dimensions():
    """Holes measured by a linear, a diameter and a radius dimension: the dimensions keep
    their numbers (a correction does not redraw them), and tarnell names each as not updated."""
    part = Drawing("dimensions")
    rectangle(part, 0, 0, 80, 60, "OUTLINE")
    layer, notes = part.layer("HOLES"), part.layer("DIMENSIONS")
    a = part.hole(part.msp.add_circle((20.3, 30.2), 3, dxfattribs={"layer": layer}))
    b = part.hole(part.msp.add_circle((60.1, 30.4), 3, dxfattribs={"layer": layer}))
    dims = [
        part.msp.add_linear_dim(base=(0, 45), p1=centre(a), p2=centre(b),
                                dxfattribs={"layer": notes}),
        part.msp.add_diameter_dim(centre(a), radius=3, angle=45, dxfattribs={"layer": notes}),
        part.msp.add_radius_dim(centre(b), radius=3, angle=135, dxfattribs={"layer": notes}),
    ]
    for dim in dims:
        dim.render()
        part.stays(dim.dimension)
        part.stale.append(dim.dimension.dxf.handle)
    return part.finished()


def filled_ring():
    """A filled ring (a closed polyline circle with a width: a pad, no hole) and a circle drawn
    twice, one exactly on top of the other."""
    part = Drawing("filled-ring")
    layer = part.layer("HOLES")
    part.stays(part.msp.add_lwpolyline([(29.2, 20.1, 1), (31.2, 20.1, 1)], format="xyb",
                                       close=True, dxfattribs={"layer": layer,
                                                               "const_width": 0.5}))
    twin = part.hole(part.msp.add_circle((50.3, 20.4), 2, dxfattribs={"layer": layer}))
    part.belongs(part.msp.add_circle((50.3, 20.4), 2, dxfattribs={"layer": layer}), twin)
    part.hole(part.msp.add_circle((70.15, 20.35), 2, dxfattribs={"layer": layer}))
    return part.finished()


MAKERS = [lambda: flange(False), lambda: flange(True), pcb, tapped, block_holes, float_noise,
          far_entity, inch, dimensions, filled_ring]


def all_parts():
    return [make() for make in MAKERS]


def main(argv):
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    for part in all_parts():
        part.save(os.path.join(folder, part.name + ".dxf"))
        with open(os.path.join(folder, part.name + ".json"), "w", encoding="utf-8") as out:
            json.dump(part.expect, out, indent=1, sort_keys=True)


if __name__ == "__main__":
    main(sys.argv)
