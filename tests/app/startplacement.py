#!/usr/bin/env python3
"""The built viewer under openbox on screens of 800x600 and 1024x768: the main
window's frame opens at the screen's top-left corner and lies wholly on it.
Each size runs with the window manager ready, and with it stopped until the
viewer has placed its window, so that the frame comes only after that.

usage: startplacement.py VIEWER
"""
import itertools
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True   # no cache of the shared helpers in the source tree
from startquestions import (Failure, Viewer, desktop_environment, output, settings_row, start_x_server,
                            tools_present, wait_for)


def frame_of(env, window):
    """The window's frame as (x, y, width, height); None while it has none."""
    extents = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)",
                        output(env, "xprop", "-id", window, "_NET_FRAME_EXTENTS"))
    place = re.findall(r"(?:Absolute upper-left [XY]|Width|Height):\s*(-?\d+)", output(env, "xwininfo", "-id", window))
    if not extents or len(place) != 4:
        return None
    left, right, top, bottom = map(int, extents.groups())
    x, y, width, height = map(int, place)
    return (x - left, y - top, width + left + right, height + top + bottom) if top else None


def check_placement(viewer_program, work, screen, late):
    name = "%dx%d%s" % (*screen, "-late" if late else "")
    env = desktop_environment(os.path.join(work, name))
    home = env["KELMON_HOME"] = os.path.join(work, name, "program")
    server, env["DISPLAY"] = start_x_server("%dx%d" % screen)
    manager = viewer = None
    try:
        manager = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("the window manager", lambda: manager.poll() is None and "window id" in output(
            env, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        if late:
            manager.send_signal(signal.SIGSTOP)
        viewer = Viewer(viewer_program, env)
        if late:
            # The viewer makes the settings row after it has shown and placed its window.
            wait_for("the settings row (%s)" % name, lambda: viewer.must_live("before its database was made")
                     or settings_row(os.path.join(home, "kelmon.mdb")))
            manager.send_signal(signal.SIGCONT)
        window = viewer.window("ケルモンデジタル")
        frame = [None]

        def placed():
            viewer.must_live("while its window was placed")
            x, y, width, height = frame[0] = frame_of(env, window) or (None,) * 4
            return (x, y) == (0, 0) and width <= screen[0] and height <= screen[1]

        try:
            wait_for("the main window inside the screen", placed)
        except Failure:
            raise Failure("%s: the main window's frame (x, y, width, height) is %s" % (name, frame[0]))
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
        for screen, late in itertools.product(((800, 600), (1024, 768)), (False, True)):
            try:
                check_placement(os.path.abspath(sys.argv[1]), work, screen, late)
            except Failure as failure:
                failures.append(str(failure))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("PASS")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
