#!/usr/bin/env python3
"""End-to-end test of the display back end.

Starts its own Xvfb on a free display, runs e2e_form on it, clicks and types with xdotool
as a person would, saves a screenshot of the screen and checks its colours, closes the
form with the close button the layer draws on the caption and checks the program ends with
exit code 0. The same script is played through the headless robot, and the messages the
form received must be the same both ways.

Exit codes: 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool).
"""
import argparse
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77

# One action a line, in client coordinates of the pad or the entry; the program plays it
# with the robot, this driver with xdotool.
SCRIPT = [
    "click pad 30 30",
    "click edit 10 10",
    "type Hi Жё1",
    "key BackSpace",
    "click pad 100 50",
    "click close",
]
EXPECTED_TEXT = "Hi Жё"
PAD_COLOUR = "286EC8"  # RGB(40, 110, 200)
ENTRY_COLOUR = "FFFFFF"

# Leak suppressions for SDL and the X11 libraries, added to those in force.
LSAN_SDL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan-sdl.supp")


def fail(msg):
    print("FAILED: " + msg, flush=True)
    sys.exit(1)


def start_xvfb(out_dir):
    """Starts Xvfb on a display it picks itself; returns (process, display)."""
    read_fd, write_fd = os.pipe()
    log = open(os.path.join(out_dir, "xvfb.log"), "w")
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_fd,), stdout=log, stderr=log)
    os.close(write_fd)
    data = b""
    deadline = time.time() + 10
    while not data.endswith(b"\n") and time.time() < deadline:
        ready, _, _ = select.select([read_fd], [], [], 0.2)
        if ready:
            chunk = os.read(read_fd, 64)
            if not chunk:
                break
            data += chunk
        if proc.poll() is not None:
            break
    os.close(read_fd)
    if not data.strip():
        proc.kill()
        fail("Xvfb did not start (see xvfb.log)")
    return proc, ":" + data.decode().strip()


def lsan_env(env, out_dir):
    """Adds the X11 and SDL suppressions to whatever leak suppressions are in force."""
    opts = env.get("LSAN_OPTIONS", "")
    with open(LSAN_SDL) as f:
        lines = [l for l in f.read().splitlines() if l and not l.startswith("#")]
    kept = []
    for part in opts.split(":"):
        if part.startswith("suppressions="):
            try:
                with open(part[len("suppressions="):]) as f:
                    lines = f.read().splitlines() + lines
            except OSError:
                pass
        elif part:
            kept.append(part)
    path = os.path.join(out_dir, "lsan.supp")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    kept.append("suppressions=" + path)
    env["LSAN_OPTIONS"] = ":".join(kept)
    return env


def read_log(path):
    try:
        with open(path, encoding="utf-8") as f:
            return f.read().splitlines()
    except OSError:
        return []


def wait_for_line(path, predicate, timeout, proc=None):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for line in read_log(path):
            if predicate(line):
                return True
        if proc is not None and proc.poll() is not None:
            return False
        time.sleep(0.05)
    return False


def wait_quiet(path, proc, quiet=0.3, timeout=5.0):
    """Waits until the log has stopped growing (the program handled the input)."""
    deadline = time.time() + timeout
    last = len(read_log(path))
    still_since = time.time()
    while time.time() < deadline and proc.poll() is None:
        time.sleep(0.05)
        n = len(read_log(path))
        if n != last:
            last, still_since = n, time.time()
        elif time.time() - still_since >= quiet:
            return


def positions(lines):
    at = {}
    for line in lines:
        w = line.split()
        if len(w) == 4 and w[0] == "at":
            at[w[1]] = (int(w[2]), int(w[3]))
    return at


def events(lines):
    """What the form received: everything but the geometry lines."""
    return [l for l in lines if not l.startswith("at ") and l != "ready"]


def xdo(display, *args):
    env = dict(os.environ, DISPLAY=display)
    subprocess.run(["xdotool"] + list(args), env=env, check=True, timeout=15, stdout=subprocess.DEVNULL)


def compare(robot, display):
    """Same messages in the same order; key releases may come in another order (xdotool
    lets go of Shift before the letter, the robot after it), so they are compared as a set."""
    def split(ev):
        ups = sorted(l for l in ev if " keyup " in l)
        return [l for l in ev if " keyup " not in l], ups
    r_main, r_up = split(robot)
    d_main, d_up = split(display)
    if r_main != d_main or r_up != d_up:
        import difflib
        diff = "\n".join(difflib.unified_diff(r_main + ["--- key releases"] + r_up,
                                              d_main + ["--- key releases"] + d_up,
                                              "robot", "display", lineterm=""))
        fail("the form received different input on the display than through the robot:\n" + diff)


def start_form(args, env, name, at):
    log = os.path.join(args.out, name + ".log")
    if os.path.exists(log):
        os.remove(log)
    err = open(os.path.join(args.out, name + ".stderr"), "w")
    proc = subprocess.Popen([args.program, "--log", log, "--at", at], env=env, stdout=err, stderr=err)
    err.close()
    if not wait_for_line(log, lambda l: l == "ready", 20, proc):
        fail(name + ": the form did not come up:\n" + "\n".join(read_log(log)))
    r = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(proc.pid)],
                       env=env, capture_output=True, text=True, timeout=15)
    if r.returncode != 0 or not r.stdout.split():
        fail(name + ": the form's window was not mapped")
    return proc, log, r.stdout.split()[0]


def expect_exit(name, proc, log, out_dir):
    try:
        rc = proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        fail(name + ": the program did not end when its window was closed:\n" +
             "\n".join(read_log(log)[-8:]))
    if rc != 0:
        with open(os.path.join(out_dir, name + ".stderr")) as f:
            fail("%s: the program ended with exit code %d:\n%s" % (name, rc, f.read()[-6000:]))
    lines = read_log(log)
    if "form close" not in lines or lines[-1] != "exit 0":
        fail(name + ": the form did not close cleanly:\n" + "\n".join(lines[-8:]))


def paste_target(args, env, target):
    """What the clipboard's owner answers for a target: its type name, a line break, the bytes."""
    r = subprocess.run([args.xtool, "paste", target], env=env, capture_output=True, timeout=15)
    if r.returncode != 0:
        fail("cannot read the clipboard as %s: %s" % (target, r.stderr.decode(errors="replace")))
    return r.stdout


def clipboard_and_closing(args, env, display):
    """Text copied in one program is pasted in another through the desktop's clipboard;
    one closes on the window manager's request, the other on Alt+F4."""
    procs = []
    try:
        a, a_log, _ = start_form(args, env, "copy", "60,90")
        procs.append(a)
        b, b_log, b_win = start_form(args, env, "paste", "520,90")
        procs.append(b)
        wait_quiet(a_log, a)
        wait_quiet(b_log, b)
        ax, ay = positions(read_log(a_log))["edit"]
        bx, by = positions(read_log(b_log))["edit"]
        # Without a window manager the keyboard follows the pointer.
        xdo(display, "mousemove", str(ax + 10), str(ay + 10))
        xdo(display, "click", "1")
        xdo(display, "type", "--delay", "30", "Вставка 42")
        xdo(display, "key", "ctrl+c")
        if not wait_for_line(a_log, lambda l: l == "edit copy", 20, a):
            fail("copy: Ctrl+C did not reach the entry:\n" + "\n".join(read_log(a_log)))
        # Other programs get the text as UTF8_STRING and, in Latin-1, as STRING (what the
        # entry holds: a typed character may go missing on the way through xdotool).
        held = [l[len("edit text "):] for l in read_log(a_log) if l.startswith("edit text ")][-1]
        latin1 = "".join(ch if ord(ch) < 256 else "?" for ch in held).encode("latin-1")
        targets = paste_target(args, env, "TARGETS")
        for t in (b"UTF8_STRING", b"STRING", b"TEXT"):
            if t not in targets.split(b"\n", 1)[-1].split():
                fail("the clipboard does not offer %s: %r" % (t.decode(), targets))
        for target, expected in (("UTF8_STRING", b"UTF8_STRING\n" + held.encode()),
                                 ("STRING", b"STRING\n" + latin1)):
            got = paste_target(args, env, target)
            if got != expected:
                fail("the clipboard gave %r for %s (expected %r)" % (got, target, expected))
        xdo(display, "mousemove", str(bx + 10), str(by + 10))
        xdo(display, "click", "1")
        xdo(display, "key", "ctrl+v")
        if not wait_for_line(b_log, lambda l: l == "edit text " + held, 20, b):
            fail("paste: the text copied in the other program did not arrive:\n" +
                 "\n".join(read_log(b_log)))
        # A program offering only STRING (Latin-1) is understood too.
        offer = subprocess.Popen([args.xtool, "offer-latin1", "Café ±1"], env=env,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        procs.append(offer)
        if offer.stdout.readline().strip() != b"owned":
            fail("the Latin-1 clipboard owner did not start")
        xdo(display, "key", "ctrl+v")
        if not wait_for_line(b_log, lambda l: l == "edit text " + held + "Café ±1", 20, b):
            fail("paste: text offered only as STRING did not arrive:\n" + "\n".join(read_log(b_log)))
        r = subprocess.run([args.xtool, "close", b_win], env=env, capture_output=True, text=True,
                           timeout=15)
        if r.returncode != 0:
            fail("cannot ask the window to close: " + r.stderr)
        expect_exit("paste", b, b_log, args.out)
        # The other window had the keyboard; a click gives it back to this one.
        xdo(display, "mousemove", str(ax + 10), str(ay + 10))
        xdo(display, "click", "1")
        wait_quiet(a_log, a)
        xdo(display, "key", "alt+F4")
        expect_exit("copy", a, a_log, args.out)
        print("e2e clipboard: text went from one program to another; closed by the window "
              "manager's request and by Alt+F4 with exit code 0", flush=True)
    finally:
        for p in procs:
            if p.poll() is None:
                p.kill()
                p.wait()


def window_geometry(env, win):
    """The window's absolute x, y, width and height on the screen."""
    r = subprocess.run(["xwininfo", "-id", win], env=env, capture_output=True, text=True, timeout=15)
    g = {}
    for line in r.stdout.splitlines():
        k, _, v = line.strip().partition(":")
        g[k] = v.strip()
    try:
        return (int(g["Absolute upper-left X"]), int(g["Absolute upper-left Y"]), int(g["Width"]),
                int(g["Height"]))
    except (KeyError, ValueError):
        fail("cannot read the geometry of window %s:\n%s" % (win, r.stdout + r.stderr))


def wait_geometry(env, win, want, timeout=10):
    deadline = time.time() + timeout
    g = window_geometry(env, win)
    while g != want and time.time() < deadline:
        time.sleep(0.1)
        g = window_geometry(env, win)
    return g


def press_caption(display, x, y, times, gap):
    """Presses and releases the left button at a point `times` times, as a hand does
    (a tenth of a second down), `gap` seconds apart."""
    args = ["mousemove", str(x), str(y)]
    for i in range(times):
        if i:
            args += ["sleep", str(gap)]
        args += ["mousedown", "1", "sleep", "0.1", "mouseup", "1"]
    xdo(display, *args)


def wait_work_area(env, bound):
    """The root window's work area once the window manager has taken the panel's strip
    from it (its height below the screen's 768), read again and again for up to `bound`
    seconds: the manager applies a new strut in its own time, later on a loaded machine.
    Returns (area or None, the last value read)."""
    deadline = time.time() + bound
    seen = ""
    while True:
        r = subprocess.run(["xprop", "-root", "_NET_WORKAREA"], env=env, capture_output=True,
                           text=True, timeout=15)
        seen = r.stdout.strip()
        try:
            nums = [int(n) for n in r.stdout.partition("=")[2].replace(",", " ").split()]
        except ValueError:
            nums = []
        if len(nums) >= 4 and nums[3] < 768:
            return tuple(nums[:4]), seen
        if time.time() > deadline:
            return None, seen
        time.sleep(0.1)


def drag_steps(x, y, by):
    """xdotool arguments that press at (x, y), move by `by` in five steps and let go."""
    steps = ["mousemove", str(x), str(y), "mousedown", "1"]
    for i in range(1, 6):
        steps += ["sleep", "0.05", "mousemove", str(x + by[0] * i // 5), str(y + by[1] * i // 5)]
    return steps + ["sleep", "0.1", "mouseup", "1"]


def drag_caption_without_window_manager(args, env, display):
    """With no window manager on the display, dragging the caption with the mouse moves
    the window by as much as the pointer went: the program's own moving loop does it."""
    if not shutil.which("xwininfo"):
        print("e2e caption drag: SKIPPED, xwininfo not installed", flush=True)
        return
    r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True,
                       text=True, timeout=15) if shutil.which("xprop") else None
    if r is not None and "window id" in r.stdout:
        fail("a window manager runs already; the caption drag needs a display without one")
    f, f_log, f_win = None, None, None
    try:
        f, f_log, f_win = start_form(args, env, "drag", "60,90")
        wait_quiet(f_log, f)
        cx, cy = positions(read_log(f_log))["caption"]
        before = window_geometry(env, f_win)
        xdo(display, *drag_steps(before[0] + cx, before[1] + cy, (40, 25)))
        want = (before[0] + 40, before[1] + 25, before[2], before[3])
        after = wait_geometry(env, f_win, want)
        if after != want:
            fail("dragging the caption by (40, 25) without a window manager moved the window "
                 "from %s to %s (expected %s)" % (before, after, want))
        r = subprocess.run([args.xtool, "close", f_win], env=env, capture_output=True, text=True,
                           timeout=15)
        if r.returncode != 0:
            fail("cannot ask the window to close: " + r.stderr)
        expect_exit("drag", f, f_log, args.out)
        print("e2e caption drag: without a window manager the window moved from %s to %s" %
              (before[:2], after[:2]), flush=True)
    finally:
        if f is not None and f.poll() is None:
            f.kill()
            f.wait()


def maximise_under_window_manager(args, env, display):
    """Under a window manager with a panel reserving the screen's bottom, double-clicking
    the caption maximises the window to the work area (nothing off-screen, the panel left
    free) and double-clicking again restores it; two single clicks do neither."""
    wm = next((w for w in ("openbox",) if shutil.which(w)), None)
    if not wm or not shutil.which("xwininfo") or not shutil.which("xprop"):
        print("e2e maximise: SKIPPED, no window manager (openbox) or xwininfo/xprop installed",
              flush=True)
        return
    procs = []
    try:
        wm_proc = subprocess.Popen([wm], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        procs.append(wm_proc)
        deadline = time.time() + 15
        while True:
            r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                               capture_output=True, text=True, timeout=15)
            if "window id" in r.stdout:
                break
            if time.time() > deadline:
                fail("the window manager did not start")
            time.sleep(0.1)
        panel = subprocess.Popen([args.xtool, "panel", "40"], env=env, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
        procs.append(panel)
        if panel.stdout.readline().strip() != b"mapped":
            fail("the panel did not start")
        area, seen = wait_work_area(env, 30)
        if not area:
            fail("the window manager does not reserve the panel's strip within 30 s: " + seen)
        f, f_log, f_win = start_form(args, env, "maximise", "60,90")
        procs.append(f)
        wait_quiet(f_log, f)
        cx, cy = positions(read_log(f_log))["caption"]
        normal = window_geometry(env, f_win)
        press_caption(display, normal[0] + cx, normal[1] + cy, 2, 0.7)
        time.sleep(0.5)
        g = window_geometry(env, f_win)
        if g[2:] != normal[2:]:
            fail("two single clicks on the caption changed the window's size: %s -> %s" % (normal, g))
        normal = g
        press_caption(display, normal[0] + cx, normal[1] + cy, 2, 0.1)
        g = wait_geometry(env, f_win, area)
        if g != area:
            fail("maximised by a double click on the caption, the window is at %s; the work "
                 "area is %s" % (g, area))
        shot = os.path.join(args.out, "e2e_maximised.png")
        subprocess.run([args.xtool, "shot", shot], env=env, capture_output=True, timeout=30)
        press_caption(display, area[0] + cx, area[1] + cy, 2, 0.1)
        g = wait_geometry(env, f_win, normal)
        if g != normal:
            fail("a second double click did not restore the window: %s (was %s)" % (g, normal))
        r = subprocess.run([args.xtool, "close", f_win], env=env, capture_output=True, text=True,
                           timeout=15)
        if r.returncode != 0:
            fail("cannot ask the window to close: " + r.stderr)
        expect_exit("maximise", f, f_log, args.out)
        print("e2e maximise: under %s the window filled the work area %s and came back; "
              "screenshot %s" % (wm, area, shot), flush=True)
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                p.kill()
                p.wait()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--program", required=True)
    ap.add_argument("--xtool", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()

    missing = [t for t in ("Xvfb", "xdotool") if not shutil.which(t)]
    if missing:
        print("SKIPPED: the end-to-end test needs " + " and ".join(missing) +
              " (Debian packages xvfb, xdotool)", flush=True)
        return SKIP

    os.makedirs(args.out, exist_ok=True)
    env = lsan_env(dict(os.environ), args.out)
    # The program would ask the desktop's file chooser on the session bus it inherits.
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    script_path = os.path.join(args.out, "script.txt")
    with open(script_path, "w", encoding="utf-8") as f:
        f.write("\n".join(SCRIPT) + "\n")

    # The same script through the headless robot.
    robot_log = os.path.join(args.out, "robot.log")
    r = subprocess.run([args.program, "--log", robot_log, "--robot", script_path], env=env,
                       capture_output=True, text=True, timeout=60)
    if r.returncode != 0:
        fail("the robot run ended with %d:\n%s" % (r.returncode, r.stderr[-4000:]))

    xvfb, display = start_xvfb(args.out)
    proc = None
    try:
        env["DISPLAY"] = display
        env.pop("SDL_VIDEODRIVER", None)  # the back end's own default (x11)
        display_log = os.path.join(args.out, "display.log")
        if os.path.exists(display_log):
            os.remove(display_log)
        err = open(os.path.join(args.out, "display.stderr"), "w")
        proc = subprocess.Popen([args.program, "--log", display_log], env=env, stdout=err, stderr=err)
        if not wait_for_line(display_log, lambda l: l == "ready", 20, proc):
            fail("the form did not come up:\n" + "\n".join(read_log(display_log)))
        try:
            xdo(display, "search", "--sync", "--onlyvisible", "--pid", str(proc.pid))
        except subprocess.TimeoutExpired:
            fail("the form's window was not mapped")
        wait_quiet(display_log, proc)
        at = positions(read_log(display_log))
        for name in ("pad", "edit", "close"):
            if name not in at:
                fail("the program told no position of " + name)

        for action in SCRIPT:
            words = action.split(" ")
            if words[0] == "click":
                if words[1] == "close":
                    # What the screen shows just before the form goes.
                    shot = os.path.join(args.out, "e2e_form.png")
                    px, py = at["pad"]
                    ex, ey = at["edit"]
                    s = subprocess.run([args.xtool, "shot", shot, str(px + 5), str(py + 50),
                                        str(ex + 200), str(ey + 14)],
                                       env=env, capture_output=True, text=True, timeout=30)
                    if s.returncode != 0:
                        fail("no screenshot: " + s.stderr)
                    colours = [l.split()[2] for l in s.stdout.splitlines()]
                    if colours != [PAD_COLOUR, ENTRY_COLOUR]:
                        fail("the screen shows %s where the pad and the entry are drawn "
                             "(expected %s, %s); see %s" % (colours, PAD_COLOUR, ENTRY_COLOUR, shot))
                    print("screenshot: " + shot, flush=True)
                    x, y = at["close"]
                else:
                    ox, oy = at[words[1]]
                    x, y = ox + int(words[2]), oy + int(words[3])
                xdo(display, "mousemove", str(x), str(y))
                xdo(display, "click", "1")
            elif words[0] == "type":
                xdo(display, "type", "--delay", "60", action[len("type "):])
            elif words[0] == "key":
                xdo(display, "key", words[1])
            wait_quiet(display_log, proc)

        try:
            rc = proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            fail("the program did not end when its window was closed:\n" +
                 "\n".join(read_log(display_log)[-8:]))
        err.close()
        if rc != 0:
            with open(os.path.join(args.out, "display.stderr")) as f:
                fail("the program ended with exit code %d:\n%s" % (rc, f.read()[-6000:]))

        robot_events = events(read_log(robot_log))
        display_events = events(read_log(display_log))
        compare(robot_events, display_events)
        if "edit text " + EXPECTED_TEXT not in display_events:
            fail("the entry does not hold %r:\n%s" % (EXPECTED_TEXT, "\n".join(display_events)))
        for needed in ("pad click 2", "form close"):
            if needed not in display_events:
                fail("%r missing from what the form received:\n%s" % (needed, "\n".join(display_events)))
        if display_events[-1] != "exit 0":
            fail("the program did not finish cleanly:\n" + "\n".join(display_events[-5:]))
        print("e2e form: %d input messages as through the robot; exit code 0" % len(display_events),
              flush=True)
        clipboard_and_closing(args, env, display)
        drag_caption_without_window_manager(args, env, display)
        # Last: the window manager stays until Xvfb goes.
        maximise_under_window_manager(args, env, display)
        return 0
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
            proc.wait()
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            xvfb.kill()


if __name__ == "__main__":
    sys.exit(main())
