"""What the DXF tests share: their command line, running tarnell, and failing with a list."""
import argparse
import os
import subprocess
import sys

TIMEOUT_S = 300


def arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tarnell", required=True, help="the tarnell binary")
    parser.add_argument("--work", required=True, help="a folder for the test's files")
    parser.add_argument("--source", required=True, help="the source tree")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    return args


def run(args, *words):
    """Runs tarnell with a registry of the test's own; returns the finished process."""
    env = dict(os.environ, TARNELL_REGISTRY=os.path.join(args.work, "registry.reg"))
    return subprocess.run([args.tarnell, *words], env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=TIMEOUT_S)


def quit_session(args):
    """A session that leaves at once: the drawing is saved as it was read."""
    path = os.path.join(args.work, "quit.session")
    with open(path, "w", encoding="utf-8") as session:
        session.write("quit\n")
    return path


def read(path):
    with open(path, "rb") as data:
        return data.read()


def finish(problems, summary):
    for problem in problems:
        print(problem)
    if problems:
        sys.exit(1)
    print(summary)
