#!/usr/bin/env python3
"""run.sh puts its sample paper into the folder the viewer reads: the
per-user data folder that follows XDG_DATA_HOME, or KELMON_HOME when set, and
only while that folder has no database (a file without a byte is none). run.sh is run from a copy of the tree
whose set-up does nothing and whose viewer only notes that it was started.

usage: runscript.py RUN_SH FOLDER_TOOL GENPAPER
"""
import os
import shutil
import subprocess
import sys
import tempfile

STUB_VIEWER = """#!/bin/sh
echo started >> "$(dirname "$0")/viewer-started"
"""


def make_tree(run_sh, folder_tool, genpaper, root):
    os.makedirs(os.path.join(root, "scripts"))
    os.makedirs(os.path.join(root, "build"))
    shutil.copy(run_sh, os.path.join(root, "run.sh"))
    write_executable(os.path.join(root, "scripts", "setup.sh"), "#!/bin/sh\nexit 0\n")
    write_executable(os.path.join(root, "build", "kelmon"), STUB_VIEWER)
    os.symlink(folder_tool, os.path.join(root, "build", "kelmon_folder"))
    os.symlink(genpaper, os.path.join(root, "build", "kelmon_genpaper"))


def write_executable(path, text):
    with open(path, "w") as f:
        f.write(text)
    os.chmod(path, 0o755)


def archives_under(top):
    """Paths (relative to top) of every archive below top, sorted."""
    found = []
    for folder, _, files in os.walk(top):
        found += [os.path.relpath(os.path.join(folder, f), top) for f in files if f.lower().endswith(".lzh")]
    return sorted(found)


def run_case(root, work, env_changes, expected_folder, database=None):
    """Runs run.sh with env_changes, with database (bytes) as kelmon.mdb in
    expected_folder when given; the one archive must lie in
    expected_folder/receive, none when the database holds anything."""
    users = os.path.join(work, "users")
    shutil.rmtree(users, ignore_errors=True)
    env = {k: v for k, v in os.environ.items() if k not in ("KELMON_HOME", "XDG_DATA_HOME")}
    env["HOME"] = os.path.join(users, "home")
    env.update({k: os.path.join(users, v) for k, v in env_changes.items()})
    expected = os.path.join(users, expected_folder)
    if database is not None:
        os.makedirs(expected)
        with open(os.path.join(expected, "kelmon.mdb"), "wb") as f:
            f.write(database)
    with_database = bool(database)
    started = os.path.join(root, "build", "viewer-started")
    if os.path.exists(started):
        os.remove(started)
    done = subprocess.run([os.path.join(root, "run.sh")], env=env, capture_output=True, text=True, timeout=120)
    if done.returncode != 0 or not os.path.exists(started):
        return "run.sh ended with %d before the viewer: %s" % (done.returncode, done.stderr.strip())
    want = [] if with_database else [os.path.join(expected_folder, "receive")]
    got = sorted(set(os.path.dirname(p) for p in archives_under(users)))
    if got != want or (not with_database and len(archives_under(users)) != 1):
        return "archives at %s, expected one in %s" % (archives_under(users), want)
    return None


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    run_sh, folder_tool, genpaper = (os.path.abspath(a) for a in sys.argv[1:])
    work = tempfile.mkdtemp(prefix="kelmon-run-")
    failures = []
    try:
        root = os.path.join(work, "tree")
        make_tree(run_sh, folder_tool, genpaper, root)
        cases = [
            ("XDG_DATA_HOME set", {"XDG_DATA_HOME": "data"}, "data/kelmon", None),
            ("neither set", {}, "home/.local/share/kelmon", None),
            ("KELMON_HOME over XDG_DATA_HOME", {"XDG_DATA_HOME": "data", "KELMON_HOME": "mine"}, "mine", None),
            ("XDG_DATA_HOME set, database there", {"XDG_DATA_HOME": "data"}, "data/kelmon", b"SQLite format 3\0"),
            ("XDG_DATA_HOME set, database without a byte", {"XDG_DATA_HOME": "data"}, "data/kelmon", b""),
        ]
        for name, env_changes, expected_folder, database in cases:
            problem = run_case(root, work, env_changes, expected_folder, database)
            if problem:
                failures.append("%s: %s" % (name, problem))
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
