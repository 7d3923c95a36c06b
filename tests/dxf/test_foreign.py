"""DXF files that Debian packages ship, written by other programs: with nothing selected each
comes back byte for byte; with every hole corrected it differs only in the moved holes' numbers,
as ezdxf reads them."""
import glob
import os
import sys

import dxftest
from check_dxf import check

# Every n-th file of the packages' DXF files, so the test stays short.
STRIDE = 12
FOLDERS = ["/usr/share/librecad"]


def foreign_files():
    files = []
    for folder in FOLDERS:
        files += glob.glob(os.path.join(folder, "**", "*.dxf"), recursive=True)
    return sorted(files)[::STRIDE]


def one_file(args, path, index, quit):
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
    files = foreign_files()
    if not files:
        print("no DXF files of other programs found in %s" % FOLDERS)
        sys.exit(1)
    quit = dxftest.quit_session(args)
    problems, corrected = [], 0
    for index, path in enumerate(files):
        found, moved = one_file(args, path, index, quit)
        problems += found
        corrected += moved
    dxftest.finish(problems, "%d files of other programs kept byte for byte; %d with holes "
                             "corrected as ezdxf reads them" % (len(files), corrected))


if __name__ == "__main__":
    main()
