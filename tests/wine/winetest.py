"""What the Wine tests share: the private Wine prefix of the build, a Korean font for the
dialogs, an X server of their own, and running Windows programs with bounded waits.

The prefix lives in the build folder (<work>/prefix) and is created on first use with
`wineboot -i`; a lock file keeps two tests from creating it at once. The tests that use it hold
the CTest resource lock "wine_prefix", so one wineserver serves one test at a time and is shut
down when the test ends.
"""

import argparse
import contextlib
import fcntl
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77  # the exit code CTest reports as a skipped test

FONT_DIR = "/usr/share/fonts/truetype/nanum"
KOREAN_FONTS = ["NanumGothic.ttf", "NanumGothicCoding.ttf"]

# Wine's own prompts for Mono and Gecko are not wanted; its debug output neither, unless
# TARNELL_WINEDEBUG asks for some (for example "err+all" when a run fails with no output).
BASE_ENV = {
    "WINEDEBUG": os.environ.get("TARNELL_WINEDEBUG", "-all"),
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
    "WINEARCH": "win64",
}

# The dialogs' fonts: "돋움체" (template 17001) and "MS Shell Dlg" (template 12000) are shown
# with NanumGothic; Tahoma, Wine's user-interface font (window captions), falls back to it for
# Hangul. Wine draws the window frames itself, as no window manager runs on the test display.
FONT_SETUP_REG = """Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]
"MS Shell Dlg"="NanumGothic"
"MS Shell Dlg 2"="NanumGothic"
"\ub3cb\uc6c0\uccb4"="NanumGothicCoding"
"\ub3cb\uc6c0"="NanumGothic"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"\ub3cb\uc6c0\uccb4"="NanumGothicCoding"
"\ub3cb\uc6c0"="NanumGothic"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):{tahoma_link}

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Decorated"="N"
"Managed"="N"
"""


def multi_sz_hex(*texts):
    data = "".join(t + "\0" for t in texts) + "\0"
    return ",".join("%02x" % b for b in data.encode("utf-16-le"))


def arguments(extra=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="folder of the Windows build's programs")
    parser.add_argument("--work", required=True, help="folder for the prefix and the outputs")
    parser.add_argument("--source", required=True, help="the source tree")
    parser.add_argument("--native-bin", default="", help="folder of the native build's tarnell")
    if extra:
        extra(parser)
    args = parser.parse_args()
    for name in ("bin", "work", "source", "native_bin"):
        if getattr(args, name):
            setattr(args, name, os.path.abspath(getattr(args, name)))
    return args


def find_wine():
    for candidate in ("wine64", "/usr/lib/wine/wine64", "wine"):
        path = shutil.which(candidate) or (candidate if os.access(candidate, os.X_OK) else None)
        if path:
            return path
    return None


def find_wineserver():
    for candidate in ("wineserver", "/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver"):
        path = shutil.which(candidate) or (candidate if os.access(candidate, os.X_OK) else None)
        if path:
            return path
    return None


def windows_path(path):
    """The path as Windows programs under Wine see it (drive Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Wine:
    def __init__(self, work):
        self.work = os.path.abspath(work)
        self.prefix = os.path.join(self.work, "prefix")
        self.wine = find_wine()
        self.wineserver = find_wineserver()
        self.display = None

    def env(self):
        env = dict(os.environ)
        env.update(BASE_ENV)
        env["WINEPREFIX"] = self.prefix
        env.pop("DISPLAY", None)
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def start_server(self):
        """Starts the prefix's wineserver, kept running until shutdown(). Started here with no
        pipes of the test's, it cannot keep a pipe of a program's output open after that program
        has ended."""
        subprocess.run([self.wineserver, "-p"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def run(self, args, timeout=60, input=None, cwd=None, check=True):
        """Runs a Windows program to its end. Its output goes through files, not pipes: Wine's
        helper processes (wineserver, explorer) may inherit a pipe and hold it open long after
        the program has ended.

        A program expected to succeed that ends with 1 having printed nothing at all is run once
        more, and says so. None of the programs run here ends so of itself; Wine does, most
        likely when the program loses its wineserver while the prefix's session starts or ends.
        It was seen about once in 40 runs of the Wine tests, in a different test each time."""
        result = self._run_once(args, timeout, input, cwd)
        if check and result.returncode == 1 and not result.stdout and not result.stderr:
            print("winetest: %s ended with 1 and printed nothing; run once more"
                  % " ".join(args))
            self.start_server()
            result = self._run_once(args, timeout, input, cwd)
        if check and result.returncode != 0:
            raise AssertionError("%s exited with %d\n--- stdout\n%s\n--- stderr\n%s" % (
                " ".join(args), result.returncode, result.stdout.decode(errors="replace"),
                result.stderr.decode(errors="replace")))
        return result

    def _run_once(self, args, timeout, input, cwd):
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            completed = subprocess.run(
                [self.wine] + list(args), env=self.env(), input=input,
                stdin=None if input is not None else subprocess.DEVNULL, stdout=out,
                stderr=err, timeout=timeout, cwd=cwd or self.work)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(completed.args, completed.returncode,
                                               out.read(), err.read())

    def popen(self, args, **kwargs):
        return subprocess.Popen([self.wine] + list(args), env=self.env(), cwd=self.work,
                                **kwargs)

    def shutdown(self):
        """Ends this prefix's wineserver and every Windows process of the prefix."""
        if self.wineserver and os.path.isdir(self.prefix):
            subprocess.run([self.wineserver, "-k"], env=self.env(), capture_output=True,
                           timeout=30)
            subprocess.run([self.wineserver, "-w"], env=self.env(), capture_output=True,
                           timeout=30)

    def ensure_prefix(self):
        """Creates the prefix on first use: wineboot, then the Korean fonts."""
        os.makedirs(self.work, exist_ok=True)
        ready = os.path.join(self.prefix, ".tarnell-ready")
        with open(os.path.join(self.work, "prefix.lock"), "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(ready):
                self.start_server()
                return
            if os.path.isdir(self.prefix):
                shutil.rmtree(self.prefix)
            self.run(["wineboot", "-i"], timeout=240)
            self._install_fonts()
            self.shutdown()
            self.start_server()
            with open(ready, "w") as marker:
                marker.write("created by the Tarnell Wine tests\n")

    def _install_fonts(self):
        fonts = os.path.join(self.prefix, "drive_c", "windows", "Fonts")
        os.makedirs(fonts, exist_ok=True)
        for name in KOREAN_FONTS:
            source = os.path.join(FONT_DIR, name)
            if os.path.exists(source):
                shutil.copy(source, fonts)
        reg = os.path.join(self.work, "fonts.reg")
        text = FONT_SETUP_REG.replace(
            "{tahoma_link}", multi_sz_hex("NanumGothic.ttf,NanumGothic"))
        with open(reg, "w", encoding="utf-16", newline="\r\n") as out:
            out.write(text)
        self.run(["reg", "import", windows_path(reg)], timeout=60)


@contextlib.contextmanager
def x_server(timeout=30):
    """An Xvfb of the test's own, on a display number it picks itself (-displayfd)."""
    if not shutil.which("Xvfb"):
        print("Xvfb is not installed")
        sys.exit(SKIP)
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
         "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        number = b""
        deadline = time.monotonic() + timeout
        while not number.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                raise AssertionError("Xvfb did not start within %d s" % timeout)
            chunk = os.read(read_end, 16)
            if not chunk:
                raise AssertionError("Xvfb ended before it was ready")
            number += chunk
        yield ":" + number.decode().strip()
    finally:
        os.close(read_end)
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait(timeout=10)


@contextlib.contextmanager
def started(work, display=False):
    """Wine in the tests' prefix (made on first use), with an X server of its own when display is
    asked for; every Windows process of the prefix is ended after."""
    wine = Wine(work)
    wine.ensure_prefix()
    with x_server() if display else contextlib.nullcontext() as shown:
        wine.display = shown
        try:
            yield wine
        finally:
            wine.shutdown()


def require_files(*paths):
    missing = [p for p in paths if not os.path.exists(p)]
    if missing:
        raise AssertionError("not built: " + ", ".join(missing))


def exit_on_failures(failures):
    """Prints each failure and ends the test with exit code 1 when there is any."""
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        sys.exit(1)


def require_wine():
    wine = find_wine()
    if not wine:
        print("wine64 is not installed")
        sys.exit(SKIP)
