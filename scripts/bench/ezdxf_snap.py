#!/usr/bin/python3
"""What a user would write instead of Tarnell: read a DXF with ezdxf, move every circle's centre
onto the 0.5 grid around 0,0, save.    ezdxf_snap.py IN.dxf OUT.dxf"""
import sys

import ezdxf

UNIT = 0.5


def main():
    doc = ezdxf.readfile(sys.argv[1])
    for circle in doc.modelspace().query("CIRCLE"):
        c = circle.dxf.center
        circle.dxf.center = (round(c.x / UNIT) * UNIT, round(c.y / UNIT) * UNIT, c.z)
    doc.saveas(sys.argv[2])


if __name__ == "__main__":
    main()
