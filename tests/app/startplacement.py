#!/usr/bin/env python3
"""The built viewer started under a window manager (openbox) on screens of
800x600 and 1024x768: the main window, its frame included, opens at the
screen's top-left corner and lies wholly on the screen, its bottom in sight.
Each size is run twice: with the window manager ready before the viewer
starts, and with the window manager held back (stopped) until the viewer has
placed its window and gone on to its first work, so that the frame comes
only after the placement.

usage: startplacement.py VIEWER
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True   # no cache of the shared helpers in the source tree
from startquestions import (Failure, Viewer, desktop_environment, settings_row, start_x_server,
                            tools_present, wait_for)

SCREENS = ((800, 600), (1024, 768))


def tool(env, *args):
    done = subprocess.run(list(args), env=env, capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""


def frame_of(env, window):
    """The frame of a window the window manager has framed, as (x, y, width,
    height); None while it has no frame."""
    extents = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", tool(env, "xprop", "-id", window, "_NET_FRAME_EXTENTS"))
    if not extents:
        return None
    left, right, top, bottom = map(int, extents.groups())
    if not top:
        return None
    info = tool(env, "xwininfo", "-id", window)
    numbers = {key: int(value) for key, value in
               re.findall(r"(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s*(-?\d+)", info)}
    if len(numbers) != 4:
        return None
    return (numbers["Absolute upper-left X"] - left, numbers["Absolute upper-left Y"] - top,
            numbers["Width"] + left + right, numbers["Height"] + top + bottom)


def start_window_manager(env):
    manager = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("the window manager",
             lambda: manager.poll() is None and "window id" in tool(env, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
    return manager


def check_placement(viewer_program, work, screen, late):
    name = "%dx%d%s" % (screen + (" late" if late else "",))
    env = desktop_environment(os.path.join(work, name.replace(" ", "-")))
    home = env["KELMON_HOME"] = os.path.join(work, name.replace(" ", "-"), "program")
    server, env["DISPLAY"] = start_x_server("%dx%d" % screen)
    manager = viewer = None
    try:
        manager = start_window_manager(env)
        if late:
            manager.send_signal(signal.SIGSTOP)
        viewer = Viewer(viewer_program, env)
        if late:
            # The settings row is made by the first work after the window
            # was shown and placed; only then may the window manager frame it.
            wait_for("the database's settings row (%s)" % name,
                     lambda: viewer.must_live("before its database was made") or settings_row(
                         os.path.join(home, "kelmon.mdb")))
            manager.send_signal(signal.SIGCONT)
        window = viewer.window("ケルモンデジタル")
        seen = []

        def placed():
            viewer.must_live("while its window was placed")
            frame = frame_of(env, window)
            seen[:] = [frame]
            return frame and frame[:2] == (0, 0) and frame[2] <= screen[0] and frame[3] <= screen[1]

        try:
            wait_for("the main window inside the screen", placed)
        except Failure:
            raise Failure("%s: the main window's frame (x, y, width, height) is %s, the screen %dx%d"
                          % ((name, seen[0] if seen else None) + screen))
    finally:
        if viewer:
            viewer.stop()
        if manager:
            manager.send_signal(signal.SIGCONT)
            manager.terminate()
            manager.wait()
        server.terminate()
        server.wait()


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    if not tools_present("Xvfb", "xdotool", "openbox", "xprop", "xwininfo"):
        return 1
    work = tempfile.mkdtemp(prefix="kelmon-place-")
    failures = []
    try:
        for screen in SCREENS:
            for late in (False, True):
                try:
                    check_placement(os.path.abspath(sys.argv[1]), work, screen, late)
                except Failure as failure:
                    failures.append(str(failure))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
