#!/usr/bin/env python3
"""The release zip as a Windows user takes it: what it holds, and the program started under
Wine from an empty folder it was unpacked into, found on the display, closed with its Exit
button, leaving a catalogue that still opens.

Takes DISPLAY and WINEPREFIX from the environment (tools/test.sh gives a private Xvfb
display and prefix)."""
import argparse
import glob
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

ARGS = None
FILES = ["Kalvo/Kalvo.exe", "Kalvo/Kalvo.mdb", "Kalvo/ReadMe.txt"]
# The main window's client area is its background bitmap; Exit sits at (568, 399), 46 x 28.
CLIENT_SIZE = (638, 431)
EXIT_CENTRE = (568 + 23, 399 + 14)


def unpack(into):
    with zipfile.ZipFile(ARGS.zip) as archive:
        archive.extractall(into)
    return os.path.join(into, "Kalvo")


def open_catalogue(path):
    return sqlite3.connect("file:%s?mode=ro" % path, uri=True)


def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30)
    return result.returncode, result.stdout.strip()


def visible_windows_of(pid):
    """The ids of the visible X windows whose name starts with "Kalvo" and that belong to the
    process: other programs may share the display."""
    code, out = xdotool("search", "--onlyvisible", "--name", "^Kalvo")
    if code != 0:
        return []
    ids = []
    for window in out.split():
        code, owner = xdotool("getwindowpid", window)
        if code == 0 and owner == str(pid):
            ids.append(window)
    return ids


class ReleaseZipContents(unittest.TestCase):
    def test_holds_exactly_the_program_its_catalogue_and_the_readme_in_one_folder(self):
        with zipfile.ZipFile(ARGS.zip) as archive:
            self.assertIsNone(archive.testzip())
            files = sorted(n for n in archive.namelist() if not n.endswith("/"))
        self.assertEqual(files, FILES)

    def test_program_is_the_one_just_built(self):
        with zipfile.ZipFile(ARGS.zip) as archive:
            packed = archive.read("Kalvo/Kalvo.exe")
        with open(ARGS.built_exe, "rb") as built:
            self.assertTrue(packed == built.read(), "the zip holds another Kalvo.exe than the build's")

    def test_program_loads_wininet_and_shell32_only_when_it_needs_them(self):
        """The rates download and a read-only catalogue load them on demand: loaded with the
        program, each costs start-up time and memory."""
        dump = subprocess.run([ARGS.objdump, "-p", ARGS.built_exe], capture_output=True,
                              text=True, check=True).stdout
        imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
        self.assertIn("user32.dll", imported)
        self.assertFalse(imported & {"wininet.dll", "shell32.dll"}, sorted(imported))

    def test_readme_is_plain_windows_text_about_running_and_the_catalogue(self):
        with zipfile.ZipFile(ARGS.zip) as archive:
            raw = archive.read("Kalvo/ReadMe.txt")
        self.assertTrue(raw.endswith(b"\r\n"), "the last line ends without CRLF")
        self.assertNotRegex(raw, rb"(?<!\r)\n", "a line ends without CR")
        self.assertNotIn(b"\r\r", raw)
        text = raw.decode("ascii")  # plain text: any encoding shows it the same
        self.assertRegex(text, r"^Kalvo \d+\.\d+")
        for needed in ("Kalvo.exe", "Kalvo.mdb", "beside"):
            self.assertIn(needed, text)

    def test_catalogue_is_a_sound_starter_catalogue(self):
        with tempfile.TemporaryDirectory(prefix="kalvo-release-") as temp:
            catalogue = os.path.join(unpack(temp), "Kalvo.mdb")
            db = open_catalogue(catalogue)
            try:
                self.assertEqual(db.execute("PRAGMA integrity_check").fetchall(), [("ok",)])
                sources = glob.glob(os.path.join(ARGS.catalogue_sources, "*.txt"))
                self.assertEqual(db.execute("SELECT count(*) FROM Category").fetchone()[0],
                                 len(sources))
                self.assertEqual(
                    db.execute("SELECT count(*) FROM Category WHERE IsSelected").fetchone()[0], 1)
                self.assertEqual(db.execute("SELECT count(*) FROM Units WHERE CategoryId NOT IN "
                                            "(SELECT CategoryId FROM Category)").fetchone()[0], 0)
            finally:
                db.close()


class ReleaseRunsFromAnUnpackedFolder(unittest.TestCase):
    def setUp(self):
        for name in ("DISPLAY", "WINEPREFIX"):
            self.assertTrue(os.environ.get(name), "%s is not set" % name)
        self.temp = tempfile.TemporaryDirectory(prefix="kalvo-release-")
        self.addCleanup(self.temp.cleanup)
        self.folder = unpack(os.path.join(self.temp.name, "unpacked"))
        self.assertEqual(sorted(os.listdir(self.folder)), [f.split("/")[1] for f in FILES])
        db = open_catalogue(os.path.join(self.folder, "Kalvo.mdb"))
        self.selected = db.execute("SELECT CategoryName FROM Category WHERE IsSelected").fetchone()[0]
        db.close()

    def test_starts_shows_its_catalogue_and_exits_on_exit_leaving_it_sound(self):
        # Started from another folder: the catalogue must be found beside the program.
        program = subprocess.Popen([ARGS.wine, os.path.join(self.folder, "Kalvo.exe")],
                                   cwd=self.temp.name, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop, program)

        window = None
        deadline = time.monotonic() + 60
        while window is None and time.monotonic() < deadline:
            self.assertIsNone(program.poll(), "Kalvo ended before its window was shown")
            windows = visible_windows_of(program.pid)
            window = windows[0] if windows else None
            if window is None:
                time.sleep(0.2)
        self.assertIsNotNone(window, "no Kalvo window appeared within 60 s")
        time.sleep(0.5)  # let it finish painting before the click

        # The title names the category the unpacked catalogue marks as selected.
        self.assertEqual(xdotool("getwindowname", window)[1], "Kalvo - " + self.selected)
        # The window is sized to the skin's client area plus the frame and caption Wine draws
        # (none when a window manager decorates it).
        code, geometry = xdotool("getwindowgeometry", window)
        size = re.search(r"Geometry: (\d+)x(\d+)", geometry)
        self.assertTrue(code == 0 and size, geometry)
        width, height = int(size.group(1)), int(size.group(2))
        frame = (width - CLIENT_SIZE[0]) // 2
        caption = height - CLIENT_SIZE[1] - frame
        self.assertTrue(0 <= frame <= 10 and frame <= caption <= 40, geometry)

        xdotool("mousemove", "--window", window, str(frame + EXIT_CENTRE[0]),
                str(caption + EXIT_CENTRE[1]), "click", "1")
        try:
            program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.fail("Kalvo did not end within 30 s of a click on Exit")

        # A clean end folds the journal in and leaves no compaction copy behind.
        self.assertEqual(sorted(os.listdir(self.folder)), [f.split("/")[1] for f in FILES])
        db = open_catalogue(os.path.join(self.folder, "Kalvo.mdb"))
        try:
            self.assertEqual(db.execute("PRAGMA integrity_check").fetchall(), [("ok",)])
            self.assertGreater(db.execute("SELECT count(*) FROM Units").fetchone()[0], 0)
        finally:
            db.close()

    @staticmethod
    def stop(program):
        # Only the process this test started.
        if program.poll() is None:
            program.kill()
            program.wait(timeout=30)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--built-exe", required=True)
    parser.add_argument("--catalogue-sources", required=True)
    parser.add_argument("--objdump", required=True, help="the toolchain's objdump")
    parser.add_argument("--wine", required=True, help="the Wine loader of the build under test")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
