#!/usr/bin/env python3
"""End-to-end test of the date-time picker on the display back end.

Runs e2e_datetime under its own Xvfb (with openbox when installed, and bare) and plays
what a new user would do with xdotool: a click in the date, F4 opens the month calendar
while the X focus stays on the program's window (xdotool getwindowfocus), a click on the
15th picks it and closes the calendar, and typed digits fill day, month and year and then
hop into the time part, where they fill the hours and minutes.

Exit codes: 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_e2e import SKIP, fail, start_xvfb, lsan_env, read_log, wait_for_line, positions, xdo  # noqa: E402


def x_focus(env):
    r = subprocess.run(["xdotool", "getwindowfocus"], env=env, capture_output=True, text=True, timeout=10)
    return r.stdout.strip()


def run_session(args, env, display, name):
    log = os.path.join(args.out, name + ".log")
    if os.path.exists(log):
        os.remove(log)
    err = open(os.path.join(args.out, name + ".stderr"), "w")
    proc = subprocess.Popen([args.program, "--log", log, "--at", "60,60"], env=env, stdout=err, stderr=err)
    err.close()
    try:
        if not wait_for_line(log, lambda l: l == "ready", 20, proc):
            fail(name + ": the form did not come up:\n" + "\n".join(read_log(log)))
        time.sleep(1.0)
        at = positions(read_log(log))
        ex, ey = at["edit"]
        xdo(display, "mousemove", str(ex), str(ey), "click", "1")
        time.sleep(0.4)
        before = x_focus(env)

        xdo(display, "key", "F4")
        if not wait_for_line(log, lambda l: l == "calendar shown", 5, proc):
            fail(name + ": F4 did not open the calendar:\n" + "\n".join(read_log(log)))
        time.sleep(0.4)
        after = x_focus(env)
        if not before or after != before:
            fail("%s: the X focus moved from %s to %s when the calendar opened" % (name, before, after))
        subprocess.run([args.xtool, "shot", os.path.join(args.out, name + "-calendar.png")], env=env,
                       capture_output=True, timeout=30)
        day = [l for l in read_log(log) if l.startswith("day ")][-1].split()
        xdo(display, "mousemove", day[1], day[2], "click", "1")
        if not wait_for_line(log, lambda l: l == "calendar hidden", 5, proc):
            fail(name + ": a click on a day did not close the calendar:\n" + "\n".join(read_log(log)))
        time.sleep(0.3)
        values = [l for l in read_log(log) if l.startswith("value ")]
        if not values or values[-1] != "value 2025-06-15 08:30":
            fail("%s: the day click gave %s" % (name, values[-1:] or "nothing"))

        for digit in "12072030":
            xdo(display, "type", digit)
            time.sleep(0.15)
        if not wait_for_line(log, lambda l: l == "focus time", 5, proc):
            fail(name + ": the year did not hop into the time:\n" + "\n".join(read_log(log)))
        for digit in "0945":
            xdo(display, "type", digit)
            time.sleep(0.15)
        time.sleep(0.4)
        values = [l for l in read_log(log) if l.startswith("value ")]
        if values[-1] != "value 2030-07-12 09:45":
            fail("%s: typing gave %s:\n%s" % (name, values[-1], "\n".join(read_log(log))))
        print("%s: passed" % name, flush=True)
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--program", required=True)
    ap.add_argument("--xtool", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("SKIPPED: %s is not installed" % tool, flush=True)
            sys.exit(SKIP)
    os.makedirs(args.out, exist_ok=True)
    modes = [("bare", None)]
    if shutil.which("openbox"):
        modes.insert(0, ("openbox", "openbox"))
    for name, wm in modes:
        xvfb, display = start_xvfb(args.out)
        manager = None
        try:
            env = lsan_env(dict(os.environ, DISPLAY=display), args.out)
            if wm:
                manager = subprocess.Popen([wm], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                time.sleep(1.0)
            run_session(args, env, display, name)
        finally:
            if manager:
                manager.kill()
            xvfb.kill()
            xvfb.wait()
    print("PASSED", flush=True)


if __name__ == "__main__":
    main()
