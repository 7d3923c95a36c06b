"""The same session file through the native tarnell (Linux, terminal dialogs, file-backed
registry) and through tarnell.exe under Wine (Tarnell.dll, real dialogs driven by window
messages, the Windows registry), each from an empty registry, with the same drawing. Both runs
must write byte-identical drawings, show the same transcript (the terminal view's drawing of the
dialogs aside) and leave the same "Method" in their registry.

Sessions: examples/*.session and tests/wine/sessions/*.session (every dialog action); those
named dxf-* run on the DXF plate, whose written bytes must be the same too."""

import difflib
import glob
import os
import re
import subprocess
import sys

import winetest

TIMEOUT_S = 60
# Lines of the terminal view's picture of a dialog: the frame and its rows.
DIALOG_PICTURE = re.compile(r"^(\+--|\|)")


def transcript_of(raw):
    text = raw.decode("utf-8", errors="replace").replace("\r\n", "\n")
    return [line for line in text.split("\n") if not DIALOG_PICTURE.match(line)]


def native_method(reg_path):
    """"Method" of the native run's registry file, or None."""
    if not os.path.exists(reg_path):
        return None
    with open(reg_path, "rb") as hive:
        data = hive.read()
    text = data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode()
    found = re.findall(r'^"Method"="([^"]*)"', text, re.MULTILINE)
    return found[-1] if found else None


def windows_method(wine):
    result = wine.run(["reg", "query", "HKCU\\SOFTWARE\\Quillstone\\ZET\\Tarnell", "/v",
                       "Method"], check=False)
    found = re.search(r"Method\s+REG_SZ\s+(\S*)", result.stdout.decode(errors="replace"))
    return found.group(1) if found else None


def drawing_of(source, session):
    """The drawing a session runs on: the DXF plate for sessions named dxf-*, else the sample."""
    if os.path.basename(session).startswith("dxf-"):
        return os.path.join(source, "examples", "plate.dxf")
    return os.path.join(source, "examples", "sample.drawing")


def output_name(drawing, side):
    return side + os.path.splitext(drawing)[1]


def run_native(native, session, drawing, out_dir):
    reg = os.path.join(out_dir, "native-registry.reg")
    if os.path.exists(reg):
        os.remove(reg)
    output = os.path.join(out_dir, output_name(drawing, "native"))
    env = dict(os.environ, TARNELL_REGISTRY=reg)
    result = subprocess.run([native, "--session", session, "-o", output, drawing], env=env,
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=TIMEOUT_S)
    return result, output, native_method(reg)


def run_windows(wine, exe, session, drawing, out_dir):
    wine.run(["reg", "delete", "HKCU\\SOFTWARE\\Quillstone", "/f"], check=False)
    output = os.path.join(out_dir, output_name(drawing, "windows"))
    result = wine.run([exe, "--session", winetest.windows_path(session), "-o",
                       winetest.windows_path(output), winetest.windows_path(drawing)],
                      timeout=TIMEOUT_S, check=False)
    return result, output, windows_method(wine)


def read(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as data:
        return data.read()


def compare(name, native, windows):
    """The differences between the two runs of one session, as readable lines."""
    problems = []
    (native_result, native_out, native_reg), (win_result, win_out, win_reg) = native, windows
    if native_result.returncode != 0 or win_result.returncode != 0:
        problems.append("exit codes: native %d, Windows %d\n%s" % (
            native_result.returncode, win_result.returncode,
            win_result.stderr.decode(errors="replace")))
    native_drawing, win_drawing = read(native_out), read(win_out)
    if native_drawing != win_drawing:
        diff = difflib.unified_diff(
            (native_drawing or b"").decode().splitlines(),
            (win_drawing or b"").decode().splitlines(), "native", "windows", lineterm="", n=0)
        problems.append("the drawings differ:\n" + "\n".join(list(diff)[:40]))
    native_lines = transcript_of(native_result.stdout)
    win_lines = transcript_of(win_result.stdout)
    if native_lines != win_lines:
        diff = difflib.unified_diff(native_lines, win_lines, "native", "windows", lineterm="",
                                    n=1)
        problems.append("the transcripts differ:\n" + "\n".join(list(diff)[:40]))
    if native_reg != win_reg:
        problems.append("Method left in the registry: native %r, Windows %r" % (
            native_reg, win_reg))
    return ["%s: %s" % (name, p) for p in problems]


def main():
    args = winetest.arguments()
    winetest.require_wine()
    native = os.path.join(args.native_bin, "tarnell") if args.native_bin else ""
    if not native or not os.path.exists(native):
        print("no native tarnell to compare with (configure with -DTARNELL_NATIVE_BIN=<folder>): "
              + (native or "none given"))
        sys.exit(winetest.SKIP)
    exe = os.path.join(args.bin, "tarnell.exe")
    winetest.require_files(exe, os.path.join(args.bin, "Tarnell.dll"))
    sessions = sorted(glob.glob(os.path.join(args.source, "examples", "*.session")) +
                      glob.glob(os.path.join(args.source, "tests", "wine", "sessions",
                                             "*.session")))
    failures = []
    with winetest.started(args.work, display=True) as wine:
        for session in sessions:
            name = os.path.basename(session)
            out_dir = os.path.join(args.work, "sessions", name)
            os.makedirs(out_dir, exist_ok=True)
            drawing = drawing_of(args.source, session)
            found = compare(name, run_native(native, session, drawing, out_dir),
                            run_windows(wine, exe, session, drawing, out_dir))
            print("%s: %s" % (name, "same" if not found else "DIFFERENT"))
            failures += found
    winetest.exit_on_failures(failures)
    print("%d sessions give the same drawing, transcript and registry on Linux and under Wine"
          % len(sessions))


if __name__ == "__main__":
    main()
