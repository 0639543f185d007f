#!/usr/bin/env python3
"""End-to-end test of the drop-down editor on the display back end.

Runs e2e_dropdown under its own Xvfb twice, once with the openbox window manager and once
bare, and plays what a new user would do with xdotool: F4 opens the pop-up while the form's
caption stays active (checked in a screenshot), a click on an xmessage window closes it as
cancelled, a click on the drop button closes it without opening it again, a drag of the
size grip by (+40, +30) grows it by 40 x 30 and it opens again at that size, and the value
goes to and comes from the desktop's clipboard through xclip by the type's rules.

Exit codes: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool, xclip or xmessage).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_e2e import SKIP, fail, start_xvfb, lsan_env, read_log, wait_for_line, positions, xdo  # noqa: E402

ACTIVE_CAPTION_BLUE = 140  # the active Luna caption is strongly blue; an inactive one is pale


def shot(args, env, path, points):
    r = subprocess.run([args.xtool, "shot", path] + [str(v) for p in points for v in p], env=env,
                       capture_output=True, text=True, timeout=30)
    if r.returncode != 0:
        fail("no screenshot: " + r.stderr)
    colours = []
    for line in r.stdout.splitlines():
        w = line.split()
        if len(w) == 3:
            colours.append(tuple(int(w[2][i:i + 2], 16) for i in (0, 2, 4)))
    return colours


def last_popup(lines):
    for line in reversed(lines):
        w = line.split()
        if line.startswith("popup shown"):
            return tuple(int(v) for v in w[2:6])
    return None


def count(lines, text):
    return sum(1 for l in lines if l == text)


def run_session(args, env, display, name):
    log = os.path.join(args.out, name + ".log")
    if os.path.exists(log):
        os.remove(log)
    err = open(os.path.join(args.out, name + ".stderr"), "w")
    proc = subprocess.Popen([args.program, "--log", log, "--at", "60,60"], env=env, stdout=err, stderr=err)
    err.close()
    helper = None
    try:
        if not wait_for_line(log, lambda l: l == "ready", 20, proc):
            fail(name + ": the form did not come up:\n" + "\n".join(read_log(log)))
        time.sleep(1.0)  # the window manager's placement settles
        at = positions(read_log(log))
        if "edit" not in at:
            fail(name + ": no places told:\n" + "\n".join(read_log(log)))
        ex, ey = at["edit"]
        bx, by = at["button"]
        cx, cy = at["caption"]
        xdo(display, "mousemove", str(ex + 30), str(ey + 8), "click", "1")
        time.sleep(0.3)

        # F4 opens; the form's caption stays active.
        xdo(display, "key", "F4")
        if not wait_for_line(log, lambda l: l.startswith("popup shown"), 5, proc):
            fail(name + ": F4 did not open the pop-up:\n" + "\n".join(read_log(log)))
        time.sleep(0.4)
        lines = read_log(log)
        if lines[-1] == "caption active=0" or "caption active=1" not in lines:
            fail(name + ": the caption did not stay active:\n" + "\n".join(lines))
        png = os.path.join(args.out, name + "-open.png")
        (caption,) = shot(args, env, png, [(cx, cy)])
        if caption[2] < ACTIVE_CAPTION_BLUE or caption[2] - caption[0] < 60:
            fail("%s: the caption looks inactive in %s: %s" % (name, png, caption))
        print("%s: screenshot %s" % (name, png), flush=True)

        # A click on another program's window closes it as cancelled.
        helper = subprocess.Popen(["xmessage", "-geometry", "+600+500", "another program"], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        r = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "Xmessage"], env=env,
                           capture_output=True, text=True, timeout=15)
        if r.returncode != 0:
            fail(name + ": xmessage did not show")
        time.sleep(0.5)
        before = len(read_log(log))
        # Pressed as a person presses, for a moment.
        xdo(display, "mousemove", "640", "520", "mousedown", "1")
        time.sleep(0.15)
        xdo(display, "mouseup", "1")
        if not wait_for_line(log, lambda l: l == "dropup cancelled=1", 5, proc):
            fail(name + ": a click on xmessage did not close the pop-up:\n" + "\n".join(read_log(log)[before:]))
        helper.kill()
        helper.wait()
        helper = None
        time.sleep(0.3)

        # A click on the drop button of the open pop-up closes it and does not open it again.
        xdo(display, "mousemove", str(ex + 30), str(ey + 8), "click", "1")
        time.sleep(0.4)
        xdo(display, "key", "F4")
        time.sleep(0.5)
        lines = read_log(log)
        shown = count(lines, "popup hidden")
        xdo(display, "mousemove", str(bx), str(by), "click", "1")
        time.sleep(0.8)
        lines = read_log(log)
        if count(lines, "popup hidden") != shown + 1 or lines[-1].startswith("popup shown"):
            fail(name + ": the drop button did not just close the pop-up:\n" + "\n".join(lines))

        # The grip: +40, +30, and the next opening keeps the size.
        xdo(display, "key", "F4")
        time.sleep(0.5)
        x, y, w, h = last_popup(read_log(log))
        gx, gy = x + w - 5, y + h - 5
        xdo(display, "mousemove", str(gx), str(gy))
        time.sleep(0.2)
        xdo(display, "mousedown", "1")
        for i in range(1, 5):
            xdo(display, "mousemove", str(gx + 10 * i), str(gy + (30 * i) // 4))
            time.sleep(0.1)
        xdo(display, "mouseup", "1")
        time.sleep(0.3)
        xdo(display, "key", "Escape")
        time.sleep(0.4)
        xdo(display, "key", "F4")
        time.sleep(0.5)
        x2, y2, w2, h2 = last_popup(read_log(log))
        if (w2, h2) != (w + 40, h + 30):
            fail("%s: the grip drag gave %dx%d, not %dx%d" % (name, w2, h2, w + 40, h + 30))
        xdo(display, "key", "Escape")
        time.sleep(0.3)

        # The clipboard through xclip.
        xdo(display, "key", "Home", "shift+End", "ctrl+c")
        time.sleep(0.5)
        r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=env, capture_output=True, text=True,
                           timeout=10)
        if r.stdout != "1.25":
            fail("%s: xclip read %r from the clipboard" % (name, r.stdout))
        for text, want in (("7a", "1.25"), ("3.5", "3.50")):
            subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text, env=env, text=True, timeout=10)
            time.sleep(0.3)
            xdo(display, "key", "Home", "shift+End", "ctrl+v")
            time.sleep(0.6)
            lines = read_log(log)
            texts = [l[5:] for l in lines if l.startswith("text ")]
            got = texts[-1] if texts else "1.25"
            if got != want:
                fail("%s: pasting %r left %r, not %r" % (name, text, got, want))
        print("%s: passed" % name, flush=True)
    finally:
        if helper:
            helper.kill()
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
    for tool in ("Xvfb", "xdotool", "xclip", "xmessage"):
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
