"""The plate drawing written by ezdxf at every DXF version it writes: read back unchanged when
nothing is selected, and with every hole corrected, read by ezdxf again with its audit clean, the
same entities and handles, and only the moved holes' numbers changed, to the report's centres."""
import os

import dxftest
from check_dxf import check
from plate import make_plate

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]
HOLES = 14  # the plate's holes, the slot not among them


def moved_count(report):
    with open(report, encoding="utf-8") as lines:
        return sum(1 for line in lines if line.startswith("hole ") and " moved;" in line)


def one_version(args, version, quit):
    problems = []
    source = os.path.join(args.work, "plate-%s.dxf" % version)
    make_plate(version).saveas(source)
    same = os.path.join(args.work, "same-%s.dxf" % version)
    result = dxftest.run(args, "--session", quit, "-o", same, source)
    if result.returncode != 0 or dxftest.read(same) != dxftest.read(source):
        problems.append("%s: nothing selected, yet the file came back changed (exit %d)"
                        % (version, result.returncode))
    for base, unit in (("0,0", "0.5"), ("0.05,-0.05", "0.1")):
        out = os.path.join(args.work, "out-%s-%s.dxf" % (version, unit))
        report = os.path.join(args.work, "report-%s-%s.txt" % (version, unit))
        result = dxftest.run(args, "--base", base, "--unit", unit, "--all", "-o", out,
                             "--report", report, source)
        if result.returncode != 0:
            problems.append("%s: exit %d\n%s" % (version, result.returncode,
                                                 result.stderr.decode(errors="replace")))
            continue
        if moved_count(report) != HOLES:
            problems.append("%s unit %s: %d holes moved, not %d"
                            % (version, unit, moved_count(report), HOLES))
        problems += ["%s unit %s: %s" % (version, unit, p) for p in check(source, out, report)]
    return problems


def main():
    args = dxftest.arguments()
    quit = dxftest.quit_session(args)
    problems = []
    for version in VERSIONS:
        problems += one_version(args, version, quit)
    dxftest.finish(problems, "%d DXF versions read, corrected and written back as ezdxf reads "
                             "them" % len(VERSIONS))


if __name__ == "__main__":
    main()
