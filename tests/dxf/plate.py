"""A plate with holes of several kinds, written with ezdxf: the sample drawing and the test
drawings of every DXF version are made by this one function.

Run as a script to write one file:  /usr/bin/python3 plate.py OUT.dxf [VERSION]
"""
import sys

import ezdxf


def add_outline(msp, points, version, layer):
    """A closed polyline of (x, y, bulge) vertices: LWPOLYLINE from R2000 on, POLYLINE in R12."""
    attribs = {"layer": layer}
    if version == "R12":
        return msp.add_polyline2d([(x, y, 0, 0, b) for x, y, b in points], format="xyseb",
                                  close=True, dxfattribs=attribs)
    return msp.add_lwpolyline([(x, y, 0, 0, b) for x, y, b in points], format="xyseb",
                              close=True, dxfattribs=attribs)


def make_plate(version="R2010"):
    doc = ezdxf.new(version, setup=True, units=4)  # millimetres
    for name in ("OUTLINE", "HOLES", "TAPPED", "SLOTS", "NOTES"):
        doc.layers.add(name)
    msp = doc.modelspace()

    # The plate outline and a centre line: other elements that must survive untouched.
    add_outline(msp, [(0, 0, 0), (160, 0, 0), (160, 100, 0), (0, 100, 0)], version, "OUTLINE")
    msp.add_line((0, 50), (160, 50), dxfattribs={"layer": "NOTES"})

    # Plain drills of three diameters, a little off the 0.5 grid.
    drills = [((10.02, 9.97), 3), ((30.26, 10.04), 3), ((49.9, 9.78), 3), ((10.04, 30.3), 4),
              ((30.12, 30.31), 4), ((70.2, 10.1), 5), ((90.37, 9.8), 5)]
    for centre, radius in drills:
        msp.add_circle(centre, radius, dxfattribs={"layer": "HOLES"})

    # A counterbore: two concentric circles on one layer are one hole.
    msp.add_circle((120.13, 20.21), 6, dxfattribs={"layer": "HOLES"})
    msp.add_circle((120.13, 20.21), 3.5, dxfattribs={"layer": "HOLES"})

    # A tapped hole on its own layer, with application data that must survive.
    doc.appids.new("TARNELL_TEST")
    tapped = msp.add_circle((140.31, 20.4), 2.5, dxfattribs={"layer": "TAPPED"})
    tapped.set_xdata("TARNELL_TEST", [(1000, "M6x1"), (1040, 6.0)])

    # A centre mark on a drill and a thread on the tapped hole: they move with their hole.
    for start, end in (((44.9, 9.78), (54.9, 9.78)), ((49.9, 4.78), (49.9, 14.78))):
        msp.add_line(start, end, dxfattribs={"layer": "NOTES"})
    msp.add_arc((140.31, 20.4), 3, 0, 270, dxfattribs={"layer": "TAPPED"})

    # A hole drawn as four arcs of one circle.
    for start in (0, 90, 180, 270):
        msp.add_arc((100.22, 60.17), 4, start, start + 90, dxfattribs={"layer": "HOLES"})

    # A hole drawn as a closed polyline of two half circles.
    add_outline(msp, [(126.9, 60.4, 1), (133.1, 60.4, 1)], version, "HOLES")

    # A block hole: a block of two circles on its base point, inserted twice.
    block = doc.blocks.new(name="DRILL_M8")
    block.add_circle((0, 0), 4)
    block.add_circle((0, 0), 3.4)
    msp.add_blockref("DRILL_M8", (20.3, 80.15), dxfattribs={"layer": "HOLES"})
    msp.add_blockref("DRILL_M8", (50.1, 80.4), dxfattribs={"layer": "HOLES"})

    # A slot (long hole): never moved.
    add_outline(msp, [(70, 75, 0), (90, 75, 1), (90, 85, 0), (70, 85, 1)], version, "SLOTS")

    # A circle seen from below (extrusion 0,0,-1): its OCS X runs the other way.
    msp.add_circle((-140.2, 80.3), 3, dxfattribs={"layer": "HOLES", "extrusion": (0, 0, -1)})

    # Text and a dimension.
    msp.add_text("PLATE 160x100", dxfattribs={"layer": "NOTES", "height": 3}).set_placement(
        (5, 92))
    dim = msp.add_linear_dim(base=(0, -10), p1=(0, 0), p2=(160, 0),
                             dxfattribs={"layer": "NOTES"})
    dim.render()
    return doc


def main(argv):
    out = argv[1]
    version = argv[2] if len(argv) > 2 else "R2010"
    doc = make_plate(version)
    doc.saveas(out)


if __name__ == "__main__":
    main(sys.argv)
