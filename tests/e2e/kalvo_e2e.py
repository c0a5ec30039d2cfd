"""Drives the real Kalvo.exe under Wine from outside, as a user would: X input through
xdotool, the clipboard through a small tool run inside Wine, screenshots through
ImageMagick, and the catalogue file through SQLite.

The catalogue is only ever read from copies: a second SQLite on the Linux side sees none
of the locks Wine's SQLite takes, so opening the live file could checkpoint and remove a
log the running program still writes to.
"""

import argparse
import math
import os
import shutil
import signal
import sqlite3
import subprocess
import tempfile
import time

CLIENT_WIDTH = 638
CLIENT_HEIGHT = 431

# Client pixels of the main window's controls (centres are taken from these boxes).
CATEGORY_LIST = (13, 21, 152, 337)
UNIT_LIST = (185, 21, 152, 337)
RESULT_LIST = (375, 53, 237, 221)
VALUE_FIELD = (481, 25, 127, 21)
SOURCE_UNIT_FIELD = (381, 28, 99, 21)
KEYPAD = {
    "1": (381, 286), "2": (413, 286), "3": (445, 286), "4": (477, 286), "5": (509, 286),
    "6": (541, 286), "7": (381, 318), "8": (413, 318), "9": (445, 318), "0": (477, 318),
    ".": (509, 318), "sign": (541, 318), "backspace": (589, 286), "clear": (589, 318),
}
KEY_SIZE = 32
BUTTONS = {
    "category_edit": (11, 399), "category_new": (64, 399), "category_delete": (116, 399),
    "unit_edit": (187, 399), "unit_new": (240, 399), "unit_delete": (292, 399),
    "exit": (568, 399),
}
BUTTON_SIZE = (46, 28)
# The first row starts below a list's border and header; category rows carry a 16-pixel icon.
FIRST_ROW_OFFSET = 19
CATEGORY_ROW_HEIGHT = 17
UNIT_ROW_HEIGHT = 14
# OK of Unit Properties, in the dialog's client pixels.
UNIT_DIALOG_OK = (268, 263)

# Dialog and message box titles.
UNIT_DIALOG = "Unit Properties"
MESSAGE_BOX = "Kalvo"


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(message):
    print(message, flush=True)


def poll(what, probe, timeout, interval=0.05):
    """Calls probe until it returns something true; fails with `what` after timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = probe()
        except (sqlite3.DatabaseError, OSError) as error:
            last = None
            reason = error
        else:
            reason = None
        if last:
            return last
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}"
                          + (f" ({reason})" if reason else ""))
        time.sleep(interval)


def run(args, timeout=10, check_rc=True):
    result = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    if check_rc and result.returncode != 0:
        raise Failure(f"{' '.join(args)} failed ({result.returncode}): {result.stderr.strip()}")
    return result


def xdotool(*args, check_rc=True):
    return run(["xdotool", *map(str, args)], check_rc=check_rc).stdout


def wine():
    """The Wine loader of the build under test (32- or 64-bit), which ctest names."""
    return os.environ["KALVO_WINE"]


def driver_arguments():
    """The arguments every driver takes from ctest; a driver may add its own."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--program-dir", required=True,
                        help="the folder of the built Kalvo.exe and its starter Kalvo.mdb")
    parser.add_argument("--shots", required=True, help="folder for the screenshots")
    return parser


def require_environment():
    for name in ("DISPLAY", "WINEPREFIX"):
        check(os.environ.get(name), f"{name} is not set: run through tools/test.sh")
    check(os.access(os.environ.get("KALVO_WINE", ""), os.X_OK),
          "KALVO_WINE does not name a Wine loader: run through ctest")
    for tool in ("xdotool", "import", "convert"):
        check(shutil.which(tool), f"{tool} is not installed (tools/setup.sh installs it)")
    check(os.path.exists(os.environ.get("KALVO_CLIPBOARD_TOOL", "")),
          "KALVO_CLIPBOARD_TOOL does not name the clipboard tool: run through ctest")


# ---------------------------------------------------------------------------------------
# The catalogue file


def snapshot(folder, name="Kalvo.mdb", scratch=None):
    """Copies the catalogue and its log (not the shared-memory index, which SQLite
    rebuilds from the log) to a scratch folder and opens the copy."""
    scratch = scratch or tempfile.mkdtemp(prefix="kalvo-snap-")
    for suffix in ("", "-wal"):
        target = os.path.join(scratch, name + suffix)
        if os.path.exists(target):
            os.remove(target)
    for suffix in ("", "-wal"):
        source = os.path.join(folder, name + suffix)
        if os.path.exists(source):
            shutil.copyfile(source, os.path.join(scratch, name + suffix))
    path = os.path.join(scratch, name)
    check(os.path.exists(path), f"{os.path.join(folder, name)} does not exist")
    return Catalogue(path)


class Catalogue:
    def __init__(self, path):
        self.path = path
        self.db = sqlite3.connect(path)
        self.db.row_factory = sqlite3.Row

    def close(self):
        self.db.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def integrity(self):
        return [row[0] for row in self.db.execute("PRAGMA integrity_check")]

    def categories(self):
        """In the order the category list shows them (the table's own order)."""
        return self.db.execute("SELECT * FROM Category ORDER BY rowid").fetchall()

    def category(self, category_id):
        return self.db.execute("SELECT * FROM Category WHERE CategoryId = ?",
                               (category_id,)).fetchone()

    def selected_categories(self):
        return [r["CategoryId"] for r in
                self.db.execute("SELECT CategoryId FROM Category WHERE IsSelected = 1")]

    def units(self, category_id):
        """In the order of the unit list (by name, in the column's collation)."""
        return self.db.execute("SELECT * FROM Units WHERE CategoryId = ? ORDER BY UnitName",
                               (category_id,)).fetchall()

    def results(self, category_id):
        return [u for u in self.units(category_id) if u["IsSelected"]]

    def unit(self, unit_id):
        return self.db.execute("SELECT * FROM Units WHERE UnitId = ?", (unit_id,)).fetchone()


def ieee_div(a, b):
    """Division as the program's doubles do it: by zero it gives an infinity or NaN."""
    if b != 0.0:
        return a / b
    if a == 0.0 or math.isnan(a):
        return math.nan
    return math.copysign(math.inf, a) * math.copysign(1.0, b)


def convert(x, source, target):
    """The program's conversion of x from the source unit into the target unit."""
    s_mul, s_add, s_inv = source["FactorMul"], source["FactorAdd"], bool(source["IsInvertResult"])
    t_mul, t_add, t_inv = target["FactorMul"], target["FactorAdd"], bool(target["IsInvertResult"])
    if s_add != 0.0 or t_add != 0.0:
        r = ieee_div(x - s_add, s_mul) * t_mul + t_add
    elif s_inv:
        r = ieee_div(t_mul * x, s_mul)
    else:
        r = ieee_div(x, t_mul) * s_mul
    if s_inv != t_inv:
        r = ieee_div(1.0, r)
    return r


def same_value(expected, stored, tolerance=1e-12):
    if stored is None:  # SQLite keeps NaN as NULL
        return math.isnan(expected)
    if math.isnan(expected) or math.isinf(expected) or math.isinf(stored):
        return expected == stored or (math.isnan(expected) and math.isnan(stored))
    return math.isclose(expected, stored, rel_tol=tolerance, abs_tol=1e-300)


def inconsistencies(catalogue, category_id):
    """Units whose stored value does not follow from the source unit's stored value."""
    category = catalogue.category(category_id)
    units = catalogue.units(category_id)
    sources = [u for u in units if u["UnitId"] == category["SourceUnitId"]]
    if not sources:
        return [f"source unit {category['SourceUnitId']} is not a unit of the category"]
    source = sources[0]
    x = source["UserValue"]
    wrong = []
    for unit in units:
        expected = x if unit["UnitId"] == source["UnitId"] else convert(x, source, unit)
        if not same_value(expected, unit["UserValue"]):
            wrong.append(f"{unit['UnitName']} holds {unit['UserValue']!r}, "
                         f"expected {expected!r} from {x!r} {source['UnitName']}")
    return wrong


# ---------------------------------------------------------------------------------------
# The program under Wine


class Screen:
    """Screenshots into one folder, numbered in the order they are taken."""

    def __init__(self, folder):
        self.folder = folder
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        self.count = 0

    def shot(self, label):
        self.count += 1
        path = os.path.join(self.folder, f"{self.count:02d}-{label}.png")
        run(["import", "-window", "root", path], timeout=20)
        return path


def crop_pixels(png, box):
    """The RGB bytes of box = (x, y, width, height) of a screenshot."""
    x, y, w, h = box
    return subprocess.run(["convert", png, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "rgb:-"],
                          capture_output=True, check=True, timeout=20).stdout


def differing_pixels(a, b):
    return sum(1 for i in range(0, min(len(a), len(b)), 3) if a[i:i + 3] != b[i:i + 3])


def read_clipboard():
    """The clipboard's sequence number and text, read inside Wine by a small tool of the
    tests (KALVO_CLIPBOARD_TOOL): the X clipboard would add Wine's hand-over of the X
    selection, which can lag behind or miss a copy."""
    result = subprocess.run([wine(), os.environ["KALVO_CLIPBOARD_TOOL"]], capture_output=True,
                            timeout=20)
    check(result.returncode == 0, f"the clipboard tool failed: {result.stderr!r}")
    sequence, _, text = result.stdout.decode("utf-8", "replace").partition("\n")
    return int(sequence), text


class InstallFolder:
    """An install folder under test, whose catalogue is read from fresh copies."""

    def __init__(self, folder, snapshot_prefix):
        self.folder = folder
        self.scratch = tempfile.mkdtemp(prefix=snapshot_prefix)
        self.kalvo = Kalvo(folder)

    def catalogue(self):
        return snapshot(self.folder, scratch=self.scratch)

    def wait_file(self, what, probe, timeout=10):
        """Polls a fresh copy of the catalogue until probe(catalogue) is true."""

        def attempt():
            with self.catalogue() as catalogue:
                return probe(catalogue)

        return poll(f"the catalogue file to show {what}", attempt, timeout)


class Kalvo:
    """One run of Kalvo.exe from an install folder."""

    def __init__(self, folder, log_name="wine.log"):
        self.folder = folder
        self.exe = os.path.join(folder, "Kalvo.exe")
        self.log_path = os.path.join(folder, log_name)
        self.proc = None
        self.window = None
        self.origin = None

    # --- process

    def start(self):
        logfile = open(self.log_path, "ab")
        # The absolute path: the process's command line is then this path, which tells our
        # process from any other Kalvo on the machine.
        self.proc = subprocess.Popen([wine(), self.exe], cwd=self.folder, stdout=logfile,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        logfile.close()
        self.window = None
        self.origin = None
        return self

    @property
    def pid(self):
        return self.proc.pid

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def is_our_process(self):
        """Wine replaces its loader by the program in the same process; make sure the pid
        is that of our Kalvo.exe before signalling it."""
        try:
            with open(f"/proc/{self.pid}/cmdline", "rb") as f:
                command = f.read().split(b"\0")[0].decode("utf-8", "replace")
        except OSError:
            return False
        return command == self.exe

    def kill(self):
        """SIGKILL, as a crash or a power-off of the program would end it."""
        if not self.running():
            return False
        check(self.is_our_process(),
              f"process {self.pid} is not {self.exe}; refusing to signal it")
        os.kill(self.pid, signal.SIGKILL)
        self.proc.wait(timeout=10)
        return True

    def wait_exit(self, timeout=30):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"Kalvo did not end within {timeout} s")

    # --- windows

    def windows(self):
        """Visible top-level windows of the process: {id: title}."""
        out = xdotool("search", "--onlyvisible", "--pid", self.pid, "--class", ".",
                      check_rc=False)
        found = {}
        for line in out.split():
            title = xdotool("getwindowname", line, check_rc=False).strip()
            if title != "Default IME":
                found[line] = title
        return found

    def geometry(self, window):
        out = xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def wait_ready(self, timeout=60):
        """Waits for the main window, shown and centred, and returns its title."""

        def probe():
            check(self.running(), f"Kalvo ended with {self.proc.returncode} before its window "
                                  f"appeared; see {self.log_path}")
            for window, title in self.windows().items():
                if title.startswith("Kalvo - "):
                    x, y, w, h = self.geometry(window)
                    if (x, y) != (0, 0):  # placed at the top left, then centred
                        return window
            return None

        self.window = poll("the main window", probe, timeout)
        self.origin = client_origin(self.geometry(self.window), CLIENT_WIDTH, CLIENT_HEIGHT)
        return self.title()

    def title(self):
        return xdotool("getwindowname", self.window).strip()

    def wait_title(self, title, timeout=10):
        poll(f"window title {title!r} (it is {self.title()!r})", lambda: self.title() == title,
             timeout)

    def wait_window(self, title, timeout=10):
        """A visible window of the program with this title (a dialog, a message box)."""
        return poll(f"a window titled {title!r}",
                    lambda: next((w for w, t in self.windows().items() if t == title), None),
                    timeout)

    def wait_window_gone(self, window, timeout=10):
        poll(f"window {window} to close", lambda: window not in self.windows(), timeout)

    def wait_popup_menu(self, timeout=5):
        """The pop-up menu: an untitled window whose corner is at the pointer (a tooltip,
        the other untitled kind, opens below it)."""
        location = dict(line.split("=", 1) for line in
                        xdotool("getmouselocation", "--shell").split())
        pointer = int(location["X"]), int(location["Y"])

        def probe():
            for window, title in self.windows().items():
                if title == "" and self.geometry(window)[:2] == pointer:
                    return window
            return None

        return poll(f"the pop-up menu at {pointer}", probe, timeout)

    # --- input

    def screen_point(self, x, y, origin=None):
        ox, oy = origin or self.origin
        return ox + x, oy + y

    def click(self, x, y, button=1, origin=None):
        sx, sy = self.screen_point(x, y, origin)
        xdotool("mousemove", sx, sy, "click", button)

    def click_key(self, name):
        x, y = KEYPAD[name]
        self.click(x + KEY_SIZE // 2, y + KEY_SIZE // 2)

    def click_button(self, name):
        x, y = BUTTONS[name]
        self.click(x + BUTTON_SIZE[0] // 2, y + BUTTON_SIZE[1] // 2)

    def click_row(self, box, row, row_height, button):
        x, y, w, h = box
        py = y + FIRST_ROW_OFFSET + row * row_height + row_height // 2
        check(py < y + h - 4, f"row {row} is below the visible part of the list")
        self.click(x + 50, py, button=button)

    def click_category_row(self, row, button=1):
        self.click_row(CATEGORY_LIST, row, CATEGORY_ROW_HEIGHT, button)

    def click_unit_row(self, row, button=1):
        self.click_row(UNIT_LIST, row, UNIT_ROW_HEIGHT, button)

    def click_result_row(self, row, button=1):
        self.click_row(RESULT_LIST, row, UNIT_ROW_HEIGHT, button)

    def menu_command(self, open_menu, key):
        """Opens a pop-up menu with open_menu() and picks the item by its underlined letter."""
        open_menu()
        menu = self.wait_popup_menu()
        xdotool("key", key)
        self.wait_window_gone(menu)

    def keys(self, *names):
        xdotool("key", "--delay", 30, *names)

    def type_text(self, text):
        xdotool("type", "--delay", 30, "--", text)

    def move_pointer_away(self):
        xdotool("mousemove", 1, 1)

    def dialog_origin(self, window):
        # Dialogs have the frame and caption of the main window.
        x, y, w, h = self.geometry(window)
        main = self.geometry(self.window)
        frame = (main[2] - CLIENT_WIDTH) // 2
        caption = main[3] - CLIENT_HEIGHT - 2 * frame
        return x + frame, y + frame + caption

    def fill_unit_dialog(self, name=None, factor=None, shift=None, toggle_invert=False):
        """Types into Unit Properties (the name field has the focus, its text selected) and
        presses OK. Fields left as None keep their text."""
        dialog = self.wait_window(UNIT_DIALOG)
        if name is not None:
            self.type_text(name)
        if factor is not None or shift is not None or toggle_invert:
            self.keys("Tab")  # to Factor; the dialog selects the field's text
            if factor is not None:
                self.type_text(factor)
            self.keys("Tab")  # to Shift
            if shift is not None:
                self.type_text(shift)
            if toggle_invert:
                self.keys("Tab", "space")
        ok_x, ok_y = UNIT_DIALOG_OK
        self.click(ok_x + BUTTON_SIZE[0] // 2, ok_y + BUTTON_SIZE[1] // 2,
                   origin=self.dialog_origin(dialog))
        self.wait_window_gone(dialog)

    def copy_value(self):
        """Ctrl+C over the main window copies the value; returns the clipboard text."""
        return self.copy_with(lambda: self.keys("ctrl+c"))

    def copy_with(self, action, timeout=15):
        """Runs action() and returns what it put on the clipboard."""
        before, _ = read_clipboard()

        def copied():
            sequence, text = read_clipboard()
            return text if sequence != before and text else None

        action()
        return poll("the program's copy on the clipboard", copied, timeout)


def client_origin(geometry, client_width, client_height):
    """Screen position of the client area. Wine draws the frame of an unmanaged window
    itself: equal borders left, right and below, the caption above."""
    x, y, w, h = geometry
    frame = (w - client_width) // 2
    caption = h - client_height - 2 * frame
    return x + frame, y + frame + caption


def install(program_dir, folder):
    """A fresh install: the program and the starter catalogue, nothing else."""
    for name in ("Kalvo.exe", "Kalvo.mdb"):
        source = os.path.join(program_dir, name)
        check(os.path.exists(source), f"{source} is missing: build Kalvo first")
        shutil.copyfile(source, os.path.join(folder, name))
    os.chmod(os.path.join(folder, "Kalvo.exe"), 0o755)
