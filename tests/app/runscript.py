#!/usr/bin/env python3
"""run.sh puts its sample paper into the viewer's folder while it holds no
database (a file without a byte is none). It runs from a copy of the tree whose
set-up does nothing and whose viewer only notes its start. The real viewer,
started with the same variables, makes its database in that folder.

usage: runscript.py RUN_SH FOLDER_TOOL GENPAPER VIEWER
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

# (case, variables set to folders under the users' root, the viewer's folder,
# kelmon.mdb written there first or None, a paper expected)
CASES = [
    ("XDG_DATA_HOME set", {"XDG_DATA_HOME": "data"}, "data/kelmon", None, True),
    ("neither set", {}, "home/.local/share/kelmon", None, True),
    ("KELMON_HOME over XDG_DATA_HOME", {"XDG_DATA_HOME": "data", "KELMON_HOME": "mine"}, "mine", None, True),
    ("a database there", {"XDG_DATA_HOME": "data"}, "data/kelmon", b"SQLite format 3\0", False),
    ("a database without a byte there", {"XDG_DATA_HOME": "data"}, "data/kelmon", b"", True),
]


def viewer_database(viewer, users, env):
    """Starts the viewer until a kelmon.mdb appears under users; its folder."""
    proc = subprocess.Popen([viewer], env=dict(env, QT_QPA_PLATFORM="offscreen"),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline, found = time.monotonic() + 120, []
    while not found and proc.poll() is None and time.monotonic() < deadline:
        time.sleep(0.05)
        found = [os.path.relpath(d, users) for d, _, files in os.walk(users) if "kelmon.mdb" in files]
    proc.kill()
    proc.wait()
    return found[0] if found else None


def main(run_sh, folder_tool, genpaper, viewer):
    failures = []
    with tempfile.TemporaryDirectory(prefix="kelmon-run-") as work:
        tree, users = os.path.join(work, "tree"), os.path.join(work, "users")
        started = pathlib.Path(tree, "build", "kelmon-started")
        for path, text in (("scripts/setup.sh", "exit 0"), ("build/kelmon", 'echo >> "$0-started"')):
            os.makedirs(os.path.dirname(os.path.join(tree, path)))
            pathlib.Path(tree, path).write_text("#!/bin/sh\n" + text + "\n")
            os.chmod(os.path.join(tree, path), 0o755)
        shutil.copy(run_sh, tree)
        for name, tool in (("kelmon_folder", folder_tool), ("kelmon_genpaper", genpaper)):
            os.symlink(tool, os.path.join(tree, "build", name))
        for name, variables, folder, database, paper in CASES:
            shutil.rmtree(users, ignore_errors=True)
            if database is not None:
                os.makedirs(os.path.join(users, folder))
                pathlib.Path(users, folder, "kelmon.mdb").write_bytes(database)
            env = {k: v for k, v in os.environ.items() if k not in ("KELMON_HOME", "XDG_DATA_HOME")}
            env.update({k: os.path.join(users, v) for k, v in dict(variables, HOME="home").items()})
            done = subprocess.run([os.path.join(tree, "run.sh")], env=env, capture_output=True, text=True, timeout=120)
            papers = [os.path.relpath(d, users) for d, _, files in os.walk(users) for f in files if f.endswith(".lzh")]
            if done.returncode != 0 or not started.exists():
                failures.append("%s: run.sh ended with %d before the viewer: %s" % (name, done.returncode, done.stderr))
            elif papers != ([folder + "/receive"] if paper else []):
                failures.append("%s: papers in %s, expected %s" % (name, papers, "one in " + folder if paper else "none"))
            started.unlink(missing_ok=True)
            if database is None:
                shutil.rmtree(users)
                if (used := viewer_database(viewer, users, env)) != folder:
                    failures.append("%s: the viewer's database in %s, expected in %s" % (name, used, folder))
    print("\n".join("FAIL: " + f for f in failures) or "PASS")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*(os.path.abspath(a) for a in sys.argv[1:5])))
