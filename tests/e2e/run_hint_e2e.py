#!/usr/bin/env python3
"""A mark-up hint under Xvfb: the grid switches the application to mark-up hints, the hint
is shown over the grid while the form's entry keeps the focus, and a screenshot of the
screen is saved.

Exit codes: 0 passed, 1 failed, 77 skipped (no Xvfb).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_e2e import SKIP, fail, lsan_env, start_xvfb, wait_for_line  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--program", required=True)
    ap.add_argument("--xtool", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    if not shutil.which("Xvfb"):
        print("skipped: no Xvfb")
        return SKIP
    os.makedirs(args.out, exist_ok=True)
    xvfb, display = start_xvfb(args.out)
    try:
        env = dict(os.environ, DISPLAY=display)
        lsan_env(env, args.out)
        log = os.path.join(args.out, "hint.log")
        quit_file = os.path.join(args.out, "quit")
        if os.path.exists(quit_file):
            os.remove(quit_file)
        proc = subprocess.Popen([args.program, "--log", log, "--quit", quit_file], env=env)
        if not wait_for_line(log, lambda l: l == "ready", 30, proc):
            fail("the hint form did not get ready")
        shot = os.path.join(args.out, "markup_hint.png")
        r = subprocess.run([args.xtool, "shot", shot], env=env, capture_output=True, timeout=30)
        if r.returncode != 0:
            fail("no screenshot")
        open(quit_file, "w").close()
        proc.wait(timeout=30)
        lines = open(log).read().splitlines()
        if "focus entry yes" not in lines:
            fail("the form's entry lost the focus: %s" % lines)
        if "hint markup shown" not in lines:
            fail("no mark-up hint shown: %s" % lines)
        if proc.returncode != 0:
            fail("exit code %d" % proc.returncode)
        print("passed; screenshot " + shot)
        return 0
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)


if __name__ == "__main__":
    sys.exit(main())
