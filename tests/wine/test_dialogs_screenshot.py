"""The plug-in's real dialogs under Wine, opened the way a user opens them in tarnell.exe: Enter
at the base-point prompt opens the mode dialog (17001), a range in the all-hole mode opens the
move-unit dialog (12000). Each window is found by its title on a display of the test's own,
photographed (mode-dialog.png, move-unit-dialog.png) and closed with Cancel through
the dialog driver."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import winetest

MODE_TITLE = "\uad6c\uba4d\uc704\uce58\ubcf4\uc815"  # 구멍위치보정
UNIT_TITLE = "\uc774\ub3d9\ub2e8\uc704"  # 이동단위
WAIT_S = 30


class Session:
    """tarnell.exe fed line by line; its output goes to a file that is read as it grows."""

    def __init__(self, wine, exe, drawing, work):
        self.output_path = os.path.join(work, "dialogs-transcript.txt")
        self.output = open(self.output_path, "wb")
        self.process = wine.popen([exe, winetest.windows_path(drawing)], stdin=subprocess.PIPE,
                                  stdout=self.output, stderr=subprocess.STDOUT)

    def type(self, line):
        self.process.stdin.write((line + "\n").encode("utf-8"))
        self.process.stdin.flush()

    def transcript(self):
        with open(self.output_path, "rb") as text:
            return text.read().decode("utf-8", errors="replace").replace("\r\n", "\n")

    def wait_for_prompts(self, count, what):
        """Waits until the dialog driver has asked for an action `count` times in all."""
        deadline = time.monotonic() + WAIT_S
        while self.transcript().count("dialog> ") < count:
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("no dialog prompt %s:\n%s" % (what, self.transcript()))
            time.sleep(0.05)

    def finish(self):
        self.process.stdin.close()
        try:
            self.process.wait(timeout=WAIT_S)
        finally:
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait(timeout=10)
            self.output.close()


def x_run(display, args, timeout=WAIT_S):
    env = dict(os.environ, DISPLAY=display)
    return subprocess.run(args, env=env, capture_output=True, timeout=timeout, check=True)


def find_window(display, title):
    """The X window of the dialog with that title, as soon as it is mapped."""
    found = x_run(display, ["xdotool", "search", "--sync", "--onlyvisible", "--name",
                            "^%s$" % title]).stdout.split()
    if not found:
        raise AssertionError("no window titled %s" % title)
    return found[0].decode()


def photograph(display, window, title, target):
    name = x_run(display, ["xdotool", "getwindowname", window]).stdout.decode("utf-8").strip()
    if name != title:
        raise AssertionError("window title %r, expected %r" % (name, title))
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with tempfile.NamedTemporaryFile(suffix=".png", dir=os.path.dirname(target),
                                     delete=False) as partial:
        pass
    try:
        x_run(display, ["import", "-window", window, partial.name])
        os.replace(partial.name, target)
    finally:
        if os.path.exists(partial.name):
            os.remove(partial.name)
    print("%s: window %s photographed into %s" % (title, window, target))


def main():
    args = winetest.arguments()
    winetest.require_wine()
    for tool in ("xdotool", "import"):
        if not shutil.which(tool):
            print(tool + " is not installed")
            sys.exit(winetest.SKIP)
    exe = os.path.join(args.bin, "tarnell.exe")
    winetest.require_files(exe, os.path.join(args.bin, "Tarnell.dll"))
    drawing = os.path.join(args.source, "examples", "sample.drawing")
    # The pictures go to the build folder; TARNELL_SCREENSHOT_DIR=<repo>/docs refreshes the ones
    # the README shows.
    docs = os.environ.get("TARNELL_SCREENSHOT_DIR") or os.path.join(args.work, "screenshots")
    with winetest.started(args.work, display=True) as wine:
        display = wine.display
        wine.run(["reg", "delete", "HKCU\\SOFTWARE\\Quillstone", "/f"], check=False)
        session = Session(wine, exe, drawing, args.work)
        try:
            session.type("")  # Enter at the base-point prompt: the mode dialog
            session.wait_for_prompts(1, "for the mode dialog")
            window = find_window(display, MODE_TITLE)
            photograph(display, window, MODE_TITLE, os.path.join(docs, "mode-dialog.png"))
            session.type("cancel")
            session.type("tarnell")
            session.type("0,0")
            session.type("window -5,-5 90,85")
            session.wait_for_prompts(2, "for the move-unit dialog")
            session.type("click row 4")
            session.wait_for_prompts(3, "after a click on row 4")
            window = find_window(display, UNIT_TITLE)
            photograph(display, window, UNIT_TITLE,
                       os.path.join(docs, "move-unit-dialog.png"))
            session.type("cancel")
            session.type("quit")
        finally:
            session.finish()
    transcript = session.transcript()
    if "\ucde8\uc18c\ud558\uc168\uc2b5\ub2c8\ub2e4." not in transcript:  # 취소하셨습니다.
        raise AssertionError("the move-unit dialog was not cancelled:\n" + transcript)
    print("both dialogs opened, photographed and cancelled")


if __name__ == "__main__":
    main()
