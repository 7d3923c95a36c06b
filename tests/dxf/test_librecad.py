"""The corrected plate opens in a real CAD program: LibreCAD's console converter prints it."""
import os
import subprocess

import dxftest


def main():
    args = dxftest.arguments()
    out = os.path.join(args.work, "plate-corrected.dxf")
    result = dxftest.run(args, "--base", "0,0", "--unit", "0.5", "--all", "-o", out,
                         os.path.join(args.source, "examples", "plate.dxf"))
    problems = [] if result.returncode == 0 else ["tarnell: exit %d" % result.returncode]
    pdf = os.path.join(args.work, "plate-corrected.pdf")
    if os.path.exists(pdf):
        os.remove(pdf)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               XDG_RUNTIME_DIR=os.path.join(args.work, "runtime"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
    printed = subprocess.run(["librecad", "dxf2pdf", "-a", "-m", out], cwd=args.work, env=env,
                             stdin=subprocess.DEVNULL, capture_output=True, timeout=180)
    if printed.returncode != 0 or not os.path.exists(pdf):
        problems.append("librecad dxf2pdf: exit %d, no %s\n%s" % (
            printed.returncode, pdf, printed.stdout.decode(errors="replace")))
    else:
        data = dxftest.read(pdf)
        if not data.startswith(b"%PDF") or b"/Type /Page" not in data or len(data) < 10000:
            problems.append("%s is no printed drawing (%d bytes)" % (pdf, len(data)))
    dxftest.finish(problems, "LibreCAD printed the corrected plate to " + pdf)


if __name__ == "__main__":
    main()
