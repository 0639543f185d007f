#!/usr/bin/env python3
"""End-to-end test of Cyrillic typing into the unicode edit and combo box.

Starts its own Xvfb, sets the keyboard layouts "us,ru" with setxkbmap, runs e2e_uni_form,
clicks into the edit and the combo box and types Russian words with xdotool, and checks
that both controls hold exactly those words. Escape closes the form.

Exit codes: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool or setxkbmap).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_e2e  # noqa: E402  (Xvfb start, log reading, leak suppressions)

SKIP = 77
EDIT_WORD = "Привет"
COMBO_WORD = "Ёж"


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True)
    p.add_argument("--out", required=True)
    args = p.parse_args()
    for tool in ("Xvfb", "xdotool", "setxkbmap"):
        if not shutil.which(tool):
            print("SKIPPED: no " + tool)
            return SKIP
    os.makedirs(args.out, exist_ok=True)
    xvfb, display = run_e2e.start_xvfb(args.out)
    try:
        env = run_e2e.lsan_env(dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11"), args.out)
        subprocess.run(["setxkbmap", "-display", display, "us,ru", "-option", "grp:alt_shift_toggle"],
                       env=env, check=True, timeout=15)
        log = os.path.join(args.out, "uni.log")
        err = open(os.path.join(args.out, "uni.stderr"), "w")
        proc = subprocess.Popen([args.program, "--log", log], env=env, stdout=err, stderr=err)
        err.close()
        if not run_e2e.wait_for_line(log, lambda l: l == "ready", 20, proc):
            run_e2e.fail("the form did not come up:\n" + "\n".join(run_e2e.read_log(log)))
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(proc.pid)],
                       env=env, capture_output=True, timeout=15)
        at = run_e2e.positions(run_e2e.read_log(log))
        for name, word in (("edit", EDIT_WORD), ("combo", COMBO_WORD)):
            x, y = at[name]
            run_e2e.xdo(display, "mousemove", str(x), str(y), "click", "1")
            time.sleep(0.2)
            run_e2e.xdo(display, "type", "--delay", "40", word)
            run_e2e.wait_quiet(log, proc)
        lines = run_e2e.read_log(log)
        edit = [l for l in lines if l.startswith("edit text ")]
        combo = [l for l in lines if l.startswith("combo text ")]
        run_e2e.xdo(display, "key", "Escape")
        try:
            proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            run_e2e.fail("the form did not close on Escape")
        if not edit or edit[-1] != "edit text " + EDIT_WORD:
            run_e2e.fail("the unicode edit holds %r, not %r" % (edit[-1:] or None, EDIT_WORD))
        if not combo or combo[-1] != "combo text " + COMBO_WORD:
            run_e2e.fail("the unicode combo box holds %r, not %r" % (combo[-1:] or None, COMBO_WORD))
        print("PASSED")
        return 0
    finally:
        xvfb.kill()


if __name__ == "__main__":
    sys.exit(main())
