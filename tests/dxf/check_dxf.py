"""Checks a DXF file that tarnell wrote against the file it read, with ezdxf as the independent
reader: the output opens and passes ezdxf's audit, holds the same entities with the same handles,
and differs from the input only in the positions of holes that the report says were moved, each
moved centre exactly the report's new centre.

    /usr/bin/python3 check_dxf.py IN.dxf OUT.dxf REPORT.txt
Exits 1 with one line per problem.
"""
import math
import re
import sys

import ezdxf

# Attributes a correction may change, by entity type; every other attribute must stay equal.
MOVABLE = {
    "CIRCLE": {"center"},
    "ARC": {"center", "start_angle", "end_angle"},
    "INSERT": {"insert"},
    "ATTRIB": {"insert", "align_point"},
    # A hole's centre mark moves with it, without turning.
    "LINE": {"start", "end"},
    "LWPOLYLINE": set(),
    "POLYLINE": set(),
    "VERTEX": {"location", "bulge"},
}

REPORT_LINE = re.compile(r"^hole \d+ element \d+: (\S+),(\S+) -> (\S+),(\S+) (moved|redrawn|unchanged)(?:;.*)?$")


def read_report(path):
    moves = {}
    with open(path, encoding="utf-8") as report:
        for line in report:
            m = REPORT_LINE.match(line.rstrip("\n"))
            if m and m.group(5) in ("moved", "redrawn"):
                old = (float(m.group(1)), float(m.group(2)))
                moves[old] = (float(m.group(3)), float(m.group(4)))
    return moves


def open_audited(path, problems):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    for error in auditor.errors:
        problems.append(f"{path}: ezdxf audit: {error.message}")
    return doc


def entities(doc):
    return {e.dxf.handle: e for e in doc.entitydb.values() if e.dxf.hasattr("handle")}


def lw_points(e):
    """A polyline's vertices as (x, y, bulge), for LWPOLYLINE and POLYLINE alike."""
    if e.dxftype() == "LWPOLYLINE":
        return list(e.get_points("xyb"))
    if e.dxftype() == "POLYLINE":
        return [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in e.vertices]
    return None


def centre_of(e):
    """The drawing centre of a moved hole entity, as the report gives it."""
    kind = e.dxftype()
    if kind in ("CIRCLE", "ARC", "INSERT"):
        p = e.dxf.center if kind != "INSERT" else e.dxf.insert
        if kind != "INSERT" and tuple(e.dxf.extrusion) == (0, 0, -1):
            return (-p.x, p.y)
        return (p.x, p.y)
    if kind == "LINE":
        return ((e.dxf.start.x + e.dxf.end.x) / 2, (e.dxf.start.y + e.dxf.end.y) / 2)
    if kind in ("LWPOLYLINE", "POLYLINE"):
        pts = lw_points(e)
        return ((pts[0][0] + pts[1][0]) / 2, (pts[0][1] + pts[1][1]) / 2)
    return None


def compare_entity(handle, a, b, moves, problems, moved_seen):
    if a.dxftype() != b.dxftype():
        problems.append(f"entity {handle}: type {a.dxftype()} became {b.dxftype()}")
        return
    kind = a.dxftype()
    movable = MOVABLE.get(kind, set())
    da, db = a.dxfattribs(), b.dxfattribs()
    changed = {k for k in set(da) | set(db) if da.get(k) != db.get(k)}
    points_changed = kind in ("LWPOLYLINE", "POLYLINE") and lw_points(a) != lw_points(b)
    if changed - movable:
        problems.append(f"entity {handle} ({kind}): {sorted(changed - movable)} changed")
    if not changed and not points_changed:
        return
    if kind in ("VERTEX", "ATTRIB"):
        return  # judged with its POLYLINE's or INSERT's hole through the report's centres
    if kind == "LINE" and math.dist(b.dxf.end - b.dxf.start, a.dxf.end - a.dxf.start) > 1e-9:
        problems.append(f"entity {handle} (LINE) turned as it moved")
    old, new = centre_of(a), centre_of(b)
    if old is None:
        problems.append(f"entity {handle} ({kind}) moved but is not a hole")
        return
    target = moves.get(old) or next((moves[k] for k in moves if math.dist(k, old) < 2e-9 * max(abs(old[0]), abs(old[1]), 1)), None)
    if target is None:
        problems.append(f"entity {handle} ({kind}) moved from {old} but the report has no such move")
        return
    moved_seen.add(target)
    exact = kind in ("CIRCLE", "ARC", "INSERT")
    if (exact and new != target) or (not exact and math.dist(new, target) > 2e-9 * max(abs(new[0]), abs(new[1]), 1)):
        problems.append(f"entity {handle} ({kind}): centre {new}, the report says {target}")


def check(input_path, output_path, report_path, new_audit_errors_only=False):
    """The problems of the output; with new_audit_errors_only, audit errors that the input has
    as well (files of other programs) are not the output's."""
    problems = []
    known = []
    before = open_audited(input_path, known)
    after = open_audited(output_path, problems)
    if new_audit_errors_only:
        known_messages = {p.split(": ezdxf audit: ", 1)[1] for p in known}
        problems = [p for p in problems if p.split(": ezdxf audit: ", 1)[1] not in known_messages]
    moves = read_report(report_path) if report_path else {}
    ea, eb = entities(before), entities(after)
    if set(ea) != set(eb):
        problems.append(f"handles differ: lost {sorted(set(ea) - set(eb))[:5]}, "
                        f"new {sorted(set(eb) - set(ea))[:5]}")
    if len(before.modelspace()) != len(after.modelspace()):
        problems.append(f"model space holds {len(after.modelspace())} entities, "
                        f"not {len(before.modelspace())}")
    moved_seen = set()
    for handle in sorted(set(ea) & set(eb)):
        compare_entity(handle, ea[handle], eb[handle], moves, problems, moved_seen)
    for target in set(moves.values()) - moved_seen:
        problems.append(f"the report moves a hole to {target}, but no entity went there")
    return problems


def main(argv):
    problems = check(argv[1], argv[2], argv[3] if len(argv) > 3 else None)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
