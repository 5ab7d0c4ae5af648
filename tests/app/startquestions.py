#!/usr/bin/env python3
"""The built viewer on an X server of its own without a window manager: each
start-up question is left open past the splash's time, then answered by key;
the viewer must live on and do what the answer says.

usage: startquestions.py VIEWER GENPAPER
"""
import contextlib
import os
import pathlib
import select
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

LEFT_OPEN = 5.0      # seconds a question stays unanswered
PATIENCE = 60.0      # longest wait for a window or a result (a loaded machine, a sanitizer build)


class Failure(Exception):
    pass


def start_x_server(screen="1280x1024"):
    """An Xvfb of the given screen size on a display it finds free itself;
    returns (process, display)."""
    read_end, write_end = os.pipe()
    # -noreset: the server would otherwise start over each time a viewer ends,
    # and the next viewer could come to it in between and find no display.
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen + "x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    # The number ends with a newline, which may come in a write of its own.
    line, deadline = b"", time.monotonic() + PATIENCE
    while (not line.endswith(b"\n") and select.select([read_end], [], [], max(0, deadline - time.monotonic()))[0]
           and (chunk := os.read(read_end, 16))):
        line += chunk
    os.close(read_end)
    number = line.decode().strip() if line.endswith(b"\n") else ""
    if not number:
        server.kill()
        raise Failure("Xvfb did not start")
    return server, ":" + number


def wait_for(what, check):
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        result = check()
        if result:
            return result
        time.sleep(0.2)
    raise Failure("waited in vain for " + what)


def output(env, *command):
    """What a tool printed, or "" when it failed."""
    done = subprocess.run(command, env=env, capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""


class Viewer:
    def __init__(self, program, env):
        self.env = env
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen([program], env=env, stdout=self.log, stderr=subprocess.STDOUT)

    def must_live(self, when):
        if self.process.poll() is not None:
            self.log.seek(0)
            raise Failure("the viewer ended (status %s) %s:\n%s"
                          % (self.process.returncode, when, self.log.read().decode(errors="replace").strip()))

    def xdotool(self, *args):
        return output(self.env, "xdotool", *args).split()

    def window(self, title):
        def find():
            self.must_live("while waiting for the window " + title)
            found = self.xdotool("search", "--onlyvisible", "--name", "^" + title.replace(".", r"\.") + "$")
            return found[-1] if found else None
        return wait_for("the window " + title, find)

    def press(self, title, key):
        window = self.window(title)
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", key)
        return window

    def answer(self, title, key):
        self.window(title)
        time.sleep(LEFT_OPEN)
        self.must_live("with the question %s left open" % title)
        box = self.press(title, key)
        wait_for("the question %s to close" % title,
                 lambda: box not in self.xdotool("search", "--onlyvisible", "--name", "."))
        self.must_live("after the question %s was answered" % title)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def query(database, sql, read_only=False):
    # Read-only opens never make the file the viewer is to make.
    target = pathlib.Path(database).as_uri() + ("?mode=ro" if read_only else "?mode=rw")
    with contextlib.closing(sqlite3.connect(target, timeout=10, uri=True)) as connection, connection:
        return connection.execute(sql).fetchall()


def settings_row(database):
    try:
        return query(database, "select regstflag from m_kanri where kanricode = 1", read_only=True)
    except sqlite3.Error:
        return None


def desktop_environment(work):
    """The environment of programs on the test's X server: home and desktop
    folders of their own under work, Qt on X."""
    env = dict(os.environ)
    for name, folder in (("HOME", "h"), ("XDG_CONFIG_HOME", "c"), ("XDG_CACHE_HOME", "k"),
                         ("XDG_RUNTIME_DIR", "r")):
        env[name] = os.path.join(work, folder)
        os.makedirs(env[name], mode=0o700)
    env["QT_QPA_PLATFORM"] = "xcb"
    return env


def run(viewer_program, genpaper, work):
    env = desktop_environment(work)
    home = os.path.join(work, "program")
    env["KELMON_HOME"] = home
    server, env["DISPLAY"] = start_x_server()
    database = os.path.join(home, "kelmon.mdb")
    receive = os.path.join(home, "receive")
    viewer = None
    try:
        # A first start makes the program folder and its database.
        viewer = Viewer(viewer_program, env)
        wait_for("the database's settings row",
                 lambda: viewer.must_live("before its database was made") or settings_row(database))
        viewer.window("ケルモンデジタル")
        viewer.stop()

        # An archive waiting, the offer on: Yes opens the registration, which
        # registers the archive.
        query(database, "update m_kanri set regstflag = 1, checkflag = 1 where kanricode = 1")
        os.makedirs(receive, exist_ok=True)
        subprocess.run([genpaper, "--out", receive, "--no-photos"], check=True, stdout=subprocess.DEVNULL)
        archives = os.listdir(receive)
        if len(archives) != 1:
            raise Failure("expected one generated archive, found %s" % archives)
        viewer = Viewer(viewer_program, env)
        viewer.answer("登録の確認です...", "Return")
        viewer.press("デジタル紙面を登録します...", "alt+r")
        viewer.press("登録の確認です...", "Return")   # the dialog's own question
        wait_for("the archive to be registered and backed up",
                 lambda: not os.listdir(receive) and archives[0] in os.listdir(os.path.join(home, "backup")))
        viewer.must_live("after the registration")
        viewer.stop()

        # A database over 10,000,000 bytes, the check on, another archive
        # waiting: No to the size warning goes on to the registration offer
        # with no deletion dialog; No to the offer leaves the archive waiting.
        with open(database, "r+b") as f:
            f.truncate(max(os.path.getsize(database), 11000000))
        subprocess.run([genpaper, "--out", receive, "--no-photos", "--venue", "5"], check=True,
                       stdout=subprocess.DEVNULL)
        archives = os.listdir(receive)
        viewer = Viewer(viewer_program, env)
        viewer.answer("警告です...", "Escape")
        viewer.window("登録の確認です...")
        if viewer.xdotool("search", "--onlyvisible", "--name", "^古いデジタル紙面を削除します"):
            raise Failure("the deletion dialog opened though the size warning was answered No")
        viewer.answer("登録の確認です...", "Escape")
        main_window = viewer.window("ケルモンデジタル")
        if os.listdir(receive) != archives:
            raise Failure("the waiting archive changed though the offer was answered No")
        # With no window manager to hand the keyboard on, the main window
        # must have it back once the questions closed: a key typed with no
        # window focused by hand reaches its menu.
        wait_for("the keyboard back at the main window",
                 lambda: viewer.xdotool("getwindowfocus") == [main_window])
        viewer.xdotool("key", "ctrl+m")
        viewer.window("デジタル紙面を登録します...")
        viewer.stop()

        # Yes to the same warning opens the deletion dialog.
        viewer = Viewer(viewer_program, env)
        viewer.answer("警告です...", "Return")
        viewer.window("古いデジタル紙面を削除します...")
        viewer.must_live("with the deletion dialog open")
    finally:
        if viewer:
            viewer.stop()
        server.terminate()
        server.wait()


def tools_present(*tools):
    """False, after saying which, when a tool the test runs is not installed."""
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing:
        print("FAIL: missing " + ", ".join(missing) + " (scripts/setup.sh installs them)")
    return not missing


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    if not tools_present("Xvfb", "xdotool"):
        return 1
    work = tempfile.mkdtemp(prefix="kelmon-start-")
    try:
        run(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), work)
    except Failure as failure:
        print("FAIL:", failure)
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
