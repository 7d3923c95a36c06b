"""Drawings of real parts (parts.py) corrected to the 0.5 grid around 0,0 with every hole: each
hole's centre lands exactly on the grid, what belongs to a hole (centre marks, thread arcs,
hidden counterbores, attributes, a circle drawn twice) moves with it and keeps its orientation,
and everything else (outlines, centre lines, pads, dimensions, a block inserted at scale 0) keeps
every number. ezdxf reads and audits the output; in the file's text every changed number is
written as a drafter would type it: a centre as the shortest decimal of its grid value, any other
number without the rounding of the arithmetic (30.5, not 30.499999999999996; 0, not 5.55e-18)."""
import csv
import math
import os
import re

import ezdxf

import dxftest
import parts
from check_dxf import entities, lw_points, open_audited

# Attributes that are points: a belonging's points move by its hole's translation.
POINTS = ("center", "start", "end", "location", "insert", "align_point")
# Group codes of points: the only numbers a correction may rewrite.
POINT_CODES = {10, 20, 11, 21}
TRANSLATION_TOLERANCE = 1e-9
SUMMARY = re.compile(r"(\d+) holes? moved, of (\d+) kinds?")


# --- the file's text -------------------------------------------------------------------------

def records(path):
    """The file's group code / value pairs, each with the handle of the entity (or table
    entry, object) it belongs to: [(code, value, handle, type)]."""
    with open(path, "rb") as data:
        lines = data.read().decode("latin-1").splitlines()
    pairs, handle, kind = [], None, None
    for i in range(0, len(lines) - 1, 2):
        code, value = int(lines[i]), lines[i + 1]
        if code == 0:
            handle, kind = None, value.strip()
        elif code in (5, 105) and handle is None:
            handle = value.strip()
        pairs.append((code, value, handle, kind))
    return pairs


def significant(text):
    """The significant digits of a number's text: '30.50' -> '305', '0.010' -> '1'."""
    mantissa = text.strip().lower().lstrip("+-").split("e")[0]
    return mantissa.replace(".", "").lstrip("0").rstrip("0")


def rounding_of(value, scale):
    """The shorter decimal that `value` is the arithmetic's rounding of (within a few units in
    the last place of the point's larger coordinate), or None."""
    tolerance = 4 * math.ulp(scale)
    if value != 0 and abs(value) <= tolerance:
        return 0.0
    for digits in range(1, len(significant(repr(value)))):
        shorter = float("%.*e" % (digits - 1, value))
        if shorter != value and abs(shorter - value) <= tolerance:
            return shorter
    return None


def text_problems(before, after, expect):
    """Problems of the changed numbers in the file's text; each entity that must stay but
    changed is named once."""
    if len(before) != len(after) or any(a[0] != b[0] for a, b in zip(before, after)):
        return ["the file's group codes changed (%d pairs, were %d)" % (len(after), len(before))]
    problems, named = [], set()
    for i, ((code, old, handle, kind), (_, new, _, _)) in enumerate(zip(before, after)):
        if old == new:
            continue
        role = expect.get(handle, "stays")
        where = "entity %s (%s)" % (handle, kind) if handle else "pair %d (in %s)" % (i, kind)
        rewritable = code in POINT_CODES or (role == "hole" and kind == "LWPOLYLINE"
                                             and code == 42)
        if role == "stays" or not rewritable:
            if (handle, kind) not in named:
                named.add((handle, kind))
                problems.append("%s, which stays, changed: group %d %r -> %r"
                                % (where, code, old.strip(), new.strip()))
            continue
        try:
            value = float(new)
        except ValueError:
            problems.append("%s: group %d written %r, no number" % (where, code, new))
            continue
        if len(significant(new)) > len(significant(repr(value))):
            problems.append("%s: group %d written %r, longer than %r" % (where, code,
                                                                         new.strip(),
                                                                         repr(value)))
        if role == "hole" and kind in ("CIRCLE", "ARC", "INSERT") and code in (10, 20):
            target = parts.grid(float(old))
            if value != target:
                problems.append("%s: centre %s written %r, the grid value is %r"
                                % (where, "xy"[code // 10 - 1], new.strip(), repr(target)))
            continue
        partner = after[i + 1] if code < 20 else after[i - 1]
        scale = max(abs(value), abs(float(partner[1])) if abs(partner[0] - code) == 10 else 0)
        shorter = rounding_of(value, scale)
        if shorter is not None:
            problems.append("%s: group %d written %r, the rounding of %r"
                            % (where, code, new.strip(), repr(shorter)))
    return problems


# --- the entities, as ezdxf reads them -------------------------------------------------------

def points_of(e):
    found = {name: e.dxf.get(name) for name in POINTS if e.dxf.hasattr(name)}
    if e.dxftype() == "LWPOLYLINE":
        for k, (x, y, _) in enumerate(lw_points(e)):
            found["vertex %d" % k] = (x, y, 0.0)
    return found


def other_changes(a, b):
    """The names of the attributes, not points, that differ."""
    da, db = a.dxfattribs(), b.dxfattribs()
    changed = {k for k in set(da) | set(db) if da.get(k) != db.get(k)} - set(POINTS)
    if a.dxftype() == "LWPOLYLINE" and [p[2] for p in lw_points(a)] != [p[2] for p in lw_points(b)]:
        changed.add("bulges")
    return sorted(changed)


def hole_problem(a, b):
    x, y = parts.centre(a)
    target = (parts.grid(x), parts.grid(y))
    new = parts.centre(b)
    if new != target:
        return "centre %r, not the grid point %r" % (new, target)
    changed = other_changes(a, b)
    if a.dxftype() == "LWPOLYLINE":
        # A circle of two half circles may be run the other way round once moved.
        changed = [name for name in changed if name != "bulges"]
        pa, pb = lw_points(a), lw_points(b)
        da, db = math.dist(pa[0][:2], pa[1][:2]), math.dist(pb[0][:2], pb[1][:2])
        if abs(da - db) > TRANSLATION_TOLERANCE:
            return "diameter %r became %r" % (da, db)
    return "%s changed" % changed if changed else None


def belonging_problem(a, b, hole_a, hole_b):
    (xa, ya), (xb, yb) = parts.centre(hole_a), parts.centre(hole_b)
    delta = (xb - xa, yb - ya)
    changed = other_changes(a, b)
    if changed:
        return "%s changed (its orientation must stay)" % changed
    pa, pb = points_of(a), points_of(b)
    for name, old in pa.items():
        new = pb[name]
        moved = (new[0] - old[0], new[1] - old[1])
        if (abs(moved[0] - delta[0]) > TRANSLATION_TOLERANCE
                or abs(moved[1] - delta[1]) > TRANSLATION_TOLERANCE or new[2] != old[2]):
            return "%s moved by %r, its hole by %r" % (name, moved, delta)
    return None


def entity_problems(ea, eb, expect):
    problems = []
    for handle, role in sorted(expect.items()):
        a, b = ea[handle], eb.get(handle)
        if b is None or b.dxftype() != a.dxftype():
            problems.append("entity %s (%s) is gone" % (handle, a.dxftype()))
            continue
        if role == "hole":
            found = hole_problem(a, b)
        elif role.startswith("belongs:"):
            main = role.split(":", 1)[1]
            found = belonging_problem(a, b, ea[main], eb[main]) if main in eb else "no hole"
        else:
            continue  # judged in the text: not a byte of it may change
        if found:
            problems.append("entity %s (%s, %s): %s" % (handle, a.dxftype(), role, found))
    return problems


# --- what tarnell lists and reports of a part ------------------------------------------------

NOT_A_HOLE = re.compile(r"not a hole: circle .* handle ([0-9A-F]+), layer .*: (.+)$")
KIND_LINE = re.compile(r"^  kind \d+: (\d+) holes?,")


def listing_problems(args, part, source, eb):
    """--list names as no hole only entities that stay, and counts as many holes as the CSV
    report of a correction has rows; each row's new centre is its old one on the grid, as the
    corrected file (read by ezdxf) holds it."""
    listed = dxftest.run(args, "--list", source)
    lines = listed.stdout.decode(errors="replace").splitlines()
    problems = [] if listed.returncode == 0 else ["--list exit %d" % listed.returncode]
    for line in lines:
        found = NOT_A_HOLE.search(line)
        if found and part.expect.get(found.group(1)) != "stays":
            problems.append("--list: %s is no hole (%s), yet it is expected to move"
                            % (found.group(1), found.group(2)))
    holes = sum(int(m.group(1)) for m in map(KIND_LINE.match, lines) if m)
    table = os.path.join(args.work, part.name + "-report.csv")
    dxftest.run(args, "--base", "0,0", "--unit", str(parts.UNIT), "--all", "--report", table,
                source)
    with open(table, newline="", encoding="utf-8") as data:
        rows = list(csv.DictReader(data))
    if len(rows) != holes:
        problems.append("the CSV report has %d rows, --list counts %d holes" % (len(rows), holes))
    for row in rows:
        old = (float(row["old X"]), float(row["old Y"]))
        new = (float(row["new X"]), float(row["new Y"]))
        if new != (parts.grid(old[0]), parts.grid(old[1])) or row["status"] != "moved":
            problems.append("CSV row of %s: %r -> %r %s" % (row["handle"], old, new, row["status"]))
        entity = eb.get(row["handle"])
        if part.expect.get(row["handle"]) == "hole" and entity is not None:
            if tuple(parts.centre(entity)) != new:
                problems.append("CSV row of %s says %r, the file %r"
                                % (row["handle"], new, parts.centre(entity)))
    return problems


# --- one part --------------------------------------------------------------------------------

def what_tarnell_said(result):
    """tarnell's messages, summary and error stream, without the transcript of the run."""
    out = result.stdout.decode(errors="replace").splitlines()
    err = result.stderr.decode(errors="replace").splitlines()
    return [line for line in out if line.startswith(("[message box]", "! ", "tarnell:"))] + err


def one_part(args, part):
    """The part's problems and tarnell's words."""
    source = os.path.join(args.work, part.name + ".dxf")
    out = os.path.join(args.work, part.name + "-corrected.dxf")
    report = os.path.join(args.work, part.name + "-report.txt")
    part.save(source)
    if os.path.exists(out):
        os.remove(out)
    result = dxftest.run(args, "--base", "0,0", "--unit", str(parts.UNIT), "--all", "-o", out,
                         "--report", report, source)
    said = what_tarnell_said(result)
    problems = [] if result.returncode == 0 else ["exit %d" % result.returncode]
    if not os.path.exists(out):
        return problems + ["no output written"], said
    known = []
    before = open_audited(source, known)
    try:
        after = open_audited(out, problems)
    except ezdxf.DXFError as error:
        return problems + ["ezdxf cannot read the output: %s" % error], said
    known = {p.split(": ezdxf audit: ", 1)[1] for p in known}
    problems = [p for p in problems if p.split(": ezdxf audit: ", 1)[-1] not in known]
    ea, eb = entities(before), entities(after)
    if set(ea) != set(eb):
        problems.append("handles differ: lost %s, new %s" % (sorted(set(ea) - set(eb))[:5],
                                                             sorted(set(eb) - set(ea))[:5]))
    problems += entity_problems(ea, eb, part.expect)
    problems += text_problems(records(source), records(out), part.expect)
    problems += listing_problems(args, part, source, eb)
    with open(report, encoding="utf-8") as text:
        reported = text.read()
    for handle in part.stale:
        if not any(handle in line and "not updated" in line for line in said):
            problems.append("dimension %s is not named in the summary as not updated" % handle)
        if "dimension %s " % handle not in reported:
            problems.append("dimension %s is not named in the report" % handle)
    summary = next((SUMMARY.search(line) for line in said if SUMMARY.search(line)), None)
    if part.kinds is not None and (summary is None or int(summary.group(2)) != part.kinds):
        problems.append("%s kinds of hole found, not %d"
                        % (summary.group(2) if summary else "no summary:", part.kinds))
    return problems, said


def main():
    args = dxftest.arguments()
    problems = []
    made = parts.all_parts()
    for part in made:
        found, said = one_part(args, part)
        roles = list(part.expect.values())
        counts = ", ".join("%d %s" % (sum(r.split(":")[0] == k for r in roles), k)
                           for k in ("hole", "belongs", "stays"))
        summary = next((line for line in said if SUMMARY.search(line)), "no summary")
        print("%-15s %-4s (%s) %d problems; %s" % (part.name, "ok" if not found else "FAIL",
                                                   counts, len(found), summary))
        problems += ["%s: %s" % (part.name, p) for p in found]
    dxftest.finish(problems, "%d drawings of parts corrected: every hole on the grid, what "
                             "belongs to it moved with it, the rest untouched" % len(made))


if __name__ == "__main__":
    main()
