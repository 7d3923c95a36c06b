"""DXF files that Debian packages ship, written by other programs: with nothing selected each
comes back byte for byte; with every hole corrected it differs only in the moved holes' numbers,
as ezdxf reads them."""
import glob
import os
import sys

import dxftest
from check_dxf import check

# The packages' folders of DXF files, each with its stride (every n-th file is taken) so that
# the test stays short: LibreCAD's part library (librecad-data, 1335 files) and the drawings of
# OpenSCAD's tests (openscad-testing-data, 33 files written by QCAD and LibreCAD with dxflib).
FOLDERS = [("/usr/share/librecad", 12), ("/usr/share/openscad/testdata", 1)]
# Files broken on purpose (decimal commas): refused, naming the file and the line, nothing written.
REFUSED = {"nothing-decimal-comma-separated.dxf": 10}


def foreign_files():
    """The files to take, and the folders that hold none."""
    files, empty = [], []
    for folder, stride in FOLDERS:
        found = sorted(glob.glob(os.path.join(folder, "**", "*.dxf"), recursive=True))
        files += found[::stride]
        if not found:
            empty.append(folder)
    return files, empty


def refused(args, path, index, line):
    out = os.path.join(args.work, "refused-%d.dxf" % index)
    if os.path.exists(out):
        os.remove(out)
    result = dxftest.run(args, "--base", "0,0", "--unit", "1", "--all", "-o", out, path)
    said = result.stderr.decode(errors="replace")
    if result.returncode != 2 or "%s:%d:" % (path, line) not in said or os.path.exists(out):
        return ["%s: not refused at line %d with nothing written (exit %d: %s)"
                % (path, line, result.returncode, said.strip())]
    return []


def one_file(args, path, index, quit):
    if os.path.basename(path) in REFUSED:
        return refused(args, path, index, REFUSED[os.path.basename(path)]), 0
    same = os.path.join(args.work, "same-%d.dxf" % index)
    result = dxftest.run(args, "--session", quit, "-o", same, path)
    if result.returncode != 0 or dxftest.read(same) != dxftest.read(path):
        return ["%s: nothing selected, yet it came back changed (exit %d: %s)"
                % (path, result.returncode, result.stderr.decode(errors="replace").strip())], 0
    out = os.path.join(args.work, "out-%d.dxf" % index)
    report = os.path.join(args.work, "report-%d.txt" % index)
    result = dxftest.run(args, "--base", "0,0", "--unit", "1", "--all", "-o", out, "--report",
                         report, path)
    if result.returncode == 1:  # no hole to correct: the file is written as it was
        same_again = dxftest.read(out) == dxftest.read(path)
        return ([] if same_again else ["%s: nothing corrected, yet it changed" % path]), 0
    if result.returncode != 0:
        return ["%s: exit %d: %s" % (path, result.returncode,
                                     result.stderr.decode(errors="replace").strip())], 0
    return ["%s: %s" % (path, p) for p in check(path, out, report, new_audit_errors_only=True)], 1


def main():
    args = dxftest.arguments()
    files, empty = foreign_files()
    if empty:
        print("no DXF files of other programs in %s (scripts/install-deps dxf installs them)"
              % ", ".join(empty))
        sys.exit(1)
    quit = dxftest.quit_session(args)
    problems, corrected = [], 0
    for index, path in enumerate(files):
        found, moved = one_file(args, path, index, quit)
        problems += found
        corrected += moved
    broken = sum(os.path.basename(path) in REFUSED for path in files)
    dxftest.finish(problems, "%d files of other programs kept byte for byte; %d with holes "
                             "corrected as ezdxf reads them; %d broken on purpose refused"
                   % (len(files) - broken, corrected, broken))


if __name__ == "__main__":
    main()
