#!/usr/bin/env python3
"""run.sh puts its sample paper into the folder the viewer reads: KELMON_HOME,
else $XDG_DATA_HOME/kelmon, else ~/.local/share/kelmon; and only while that
folder holds no database (a file without a byte is none). run.sh runs from a
copy of the tree whose set-up does nothing and whose viewer only notes its start.

usage: runscript.py RUN_SH FOLDER_TOOL GENPAPER
"""
import os
import shutil
import subprocess
import sys
import tempfile

# (case, variables set to folders under the users' root, folder expected to
# get the paper, kelmon.mdb written there first or None, a paper expected)
CASES = [
    ("XDG_DATA_HOME set", {"XDG_DATA_HOME": "data"}, "data/kelmon", None, True),
    ("neither set", {}, "home/.local/share/kelmon", None, True),
    ("KELMON_HOME over XDG_DATA_HOME", {"XDG_DATA_HOME": "data", "KELMON_HOME": "mine"}, "mine", None, True),
    ("a database there", {"XDG_DATA_HOME": "data"}, "data/kelmon", b"SQLite format 3\0", False),
    ("a database without a byte there", {"XDG_DATA_HOME": "data"}, "data/kelmon", b"", True),
]


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    run_sh, folder_tool, genpaper = (os.path.abspath(a) for a in sys.argv[1:])
    work = tempfile.mkdtemp(prefix="kelmon-run-")
    failures = []
    try:
        tree, users = os.path.join(work, "tree"), os.path.join(work, "users")
        for sub in ("scripts", "build"):
            os.makedirs(os.path.join(tree, sub))
        shutil.copy(run_sh, os.path.join(tree, "run.sh"))
        for path, text in (("scripts/setup.sh", "exit 0\n"), ("build/kelmon", 'echo >> "$0-started"\n')):
            with open(os.path.join(tree, path), "w") as f:
                f.write("#!/bin/sh\n" + text)
            os.chmod(os.path.join(tree, path), 0o755)
        os.symlink(folder_tool, os.path.join(tree, "build", "kelmon_folder"))
        os.symlink(genpaper, os.path.join(tree, "build", "kelmon_genpaper"))
        for name, variables, folder, database, paper in CASES:
            shutil.rmtree(users, ignore_errors=True)
            if database is not None:
                os.makedirs(os.path.join(users, folder))
                with open(os.path.join(users, folder, "kelmon.mdb"), "wb") as f:
                    f.write(database)
            env = {k: v for k, v in os.environ.items() if k not in ("KELMON_HOME", "XDG_DATA_HOME")}
            env.update({k: os.path.join(users, v) for k, v in dict(variables, HOME="home").items()})
            done = subprocess.run([os.path.join(tree, "run.sh")], env=env, capture_output=True, text=True, timeout=120)
            papers = sorted(os.path.relpath(os.path.join(d, f), users)
                            for d, _, files in os.walk(users) for f in files if f.endswith(".lzh"))
            started = os.path.exists(os.path.join(tree, "build", "kelmon-started"))
            if done.returncode != 0 or not started:
                failures.append("%s: run.sh ended with %d before the viewer: %s" % (name, done.returncode, done.stderr))
            elif [os.path.dirname(p) for p in papers] != ([folder + "/receive"] if paper else []):
                failures.append("%s: papers at %s, expected %s" % (name, papers, "one in " + folder if paper else "none"))
            if started:
                os.remove(os.path.join(tree, "build", "kelmon-started"))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\n".join("FAIL: " + f for f in failures) or "PASS")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
