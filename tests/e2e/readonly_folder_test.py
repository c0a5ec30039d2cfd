#!/usr/bin/env python3
"""Kalvo installed in a program folder that refuses every write, as a protected folder
does on Windows: it starts without an error, works on a copy of its catalogue in the
user's %LOCALAPPDATA%\\Kalvo, keeps what was typed across a restart, and never writes
beside the program.

The folder is a tmpfs mounted read-only, which refuses writes even to root. Mounting needs
root; without it the test says so and is skipped (exit 77)."""

import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kalvo_e2e import (  # noqa: E402
    Kalvo, Screen, check, driver_arguments, inconsistencies, install, log, poll,
    require_environment, same_value, snapshot)

SKIPPED = 77


class ReadOnlyMount:
    """A tmpfs at `folder`, filled by `fill(folder)` and then remounted read-only."""

    def __init__(self, folder):
        self.folder = folder
        self.mounted = False

    def mount(self, fill):
        result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64m", "tmpfs", self.folder],
                                capture_output=True, text=True)
        if result.returncode != 0:
            return result.stderr.strip() or f"mount exited with {result.returncode}"
        self.mounted = True
        fill(self.folder)
        subprocess.run(["mount", "-o", "remount,ro", self.folder], check=True)
        return None

    def unmount(self):
        if self.mounted:
            # Lazily if still busy (a Wine process may be ending): it goes once it is free.
            if subprocess.run(["umount", self.folder]).returncode != 0:
                subprocess.run(["umount", "-l", self.folder], check=True)
            self.mounted = False


def user_catalogue_folder():
    """%LOCALAPPDATA%\\Kalvo of the prefix's user."""
    local = [p for p in glob.glob(os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*",
                                               "AppData", "Local"))
             if os.path.basename(os.path.dirname(os.path.dirname(p))) != "Public"]
    check(len(local) == 1, f"the Wine prefix has {len(local)} users' AppData\\Local folders")
    return os.path.join(local[0], "Kalvo")


def digest(folder):
    """Each file's name and content hash, so that any write shows."""
    return {name: hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest()
            for name in sorted(os.listdir(folder))}


def source_value(catalogue):
    category_id = catalogue.selected_categories()[0]
    category = catalogue.category(category_id)
    return category_id, catalogue.unit(category["SourceUnitId"])["UserValue"]


def run_twice(kalvo, folder, user_folder, screen, scratch):
    before = digest(folder)

    def user_copy_holds(value):
        def probe():
            with snapshot(user_folder, scratch=scratch) as catalogue:
                category_id, stored = source_value(catalogue)
                return same_value(value, stored) and not inconsistencies(catalogue, category_id)
        return probe

    log("first start: the catalogue beside the program cannot be written")
    kalvo.start()
    title = kalvo.wait_ready()
    check(title.startswith("Kalvo - "), f"the main window is titled {title!r}")
    screen.shot("first-start")
    check(os.path.exists(os.path.join(user_folder, "Kalvo.mdb")),
          f"no per-user copy of the catalogue in {user_folder}")
    for key in ("clear", "4", "2"):
        kalvo.click_key(key)
    poll("42 in the per-user catalogue", user_copy_holds(42.0), 10)
    kalvo.click_button("exit")
    kalvo.wait_exit()

    log("second start: the per-user copy is used again and still takes writes")
    kalvo.start()
    check(kalvo.wait_ready() == title, f"the second start shows {kalvo.title()!r}")
    poll("42 kept across the restart", user_copy_holds(42.0), 10)
    kalvo.click_key("7")
    poll("427 in the per-user catalogue", user_copy_holds(427.0), 10)
    screen.shot("second-start")
    kalvo.click_button("exit")
    kalvo.wait_exit()

    check(digest(folder) == before, "something beside the program was written")
    with snapshot(user_folder, scratch=scratch) as catalogue:
        check(catalogue.integrity() == ["ok"], "the per-user catalogue fails its check")


def main():
    parser = driver_arguments()
    args = parser.parse_args()
    require_environment()

    user_folder = user_catalogue_folder()
    shutil.rmtree(user_folder, ignore_errors=True)  # a copy from an earlier run
    scratch = tempfile.mkdtemp(prefix="kalvo-readonly-")
    folder = os.path.join(scratch, "Program")
    os.makedirs(folder)
    mount = ReadOnlyMount(folder)
    refused = mount.mount(lambda into: install(args.program_dir, into))
    if refused:
        log(f"SKIPPED: cannot mount a read-only program folder here ({refused})")
        return SKIPPED
    kalvo = Kalvo(folder)
    kalvo.log_path = os.path.join(scratch, "wine.log")  # the folder takes no log
    try:
        run_twice(kalvo, folder, user_folder, Screen(os.path.abspath(args.shots)), scratch)
    except Exception:
        log(f"FAILED; Kalvo's output is in {kalvo.log_path}")
        if kalvo.running():
            kalvo.kill()
        raise
    finally:
        mount.unmount()
    shutil.rmtree(user_folder, ignore_errors=True)
    shutil.rmtree(scratch, ignore_errors=True)
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
