#!/usr/bin/env python3
"""Kills Kalvo.exe (SIGKILL) at random moments and checks the catalogue each time.

Storm rounds: an edit confirmed in Unit Properties (add, rename or delete a unit) and seen
in the file, then a storm of value keys from the keyboard, then the kill. The catalogue
must open, pass the integrity check and still hold every confirmed edit; after the next
start every unit of the category must hold the value that follows from the source unit's.

Compaction rounds: on a catalogue made large, kills shortly after the start and shortly
after Exit, while the file is compacted. The catalogue (or a copy that the next start
restores) must open, pass the integrity check and hold every category and unit.

Every random choice comes from one seed, printed first; --seed replays a run.
"""

import contextlib
import os
import random
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kalvo_e2e import (  # noqa: E402
    MESSAGE_BOX, UNIT_DIALOG, Catalogue, Failure, InstallFolder, Kalvo, Screen, check,
    driver_arguments, inconsistencies, install, log, require_environment, snapshot)

CATEGORY = "Temperature"
STORM_KEYS = ["0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "period", "minus", "plus",
              "BackSpace", "Escape"]
STORM_WEIGHTS = [3] * 10 + [1, 1, 1, 1, 1]  # mostly digits, so values grow long
MAX_ADDED_UNITS = 5


@contextlib.contextmanager
def opened(label, open_copy):
    """A copy of the catalogue; one SQLite cannot read is a failure of the round."""
    try:
        with open_copy() as catalogue:
            yield catalogue
    except sqlite3.DatabaseError as error:
        raise Failure(f"{label}: the catalogue does not read: {error}")


class StormThread(threading.Thread):
    """Presses random keys, one xdotool call each (a key is always released), until told
    to stop."""

    def __init__(self, rng):
        super().__init__(daemon=True)
        self.keys = [rng.choices(STORM_KEYS, STORM_WEIGHTS)[0] for _ in range(2000)]
        self.stop = threading.Event()
        self.sent = 0

    def run(self):
        for key in self.keys:
            if self.stop.is_set():
                return
            subprocess.run(["xdotool", "key", key], capture_output=True, timeout=10)
            self.sent += 1


class StormRounds(InstallFolder):
    def __init__(self, rng, folder, screen):
        super().__init__(folder, "kalvo-crash-snap-")
        self.rng = rng
        self.screen = screen
        # UnitId -> (name, factor, shift, invert) of every unit an edit left, and the ids an
        # edit deleted: what the file must hold after any kill.
        self.confirmed = {}
        self.deleted = set()
        self.names = 0

    def start(self):
        self.kalvo.start()
        return self.kalvo.wait_ready()

    def prepare(self):
        with self.catalogue() as catalogue:
            self.categories = [c["CategoryName"] for c in catalogue.categories()]
            row = self.categories.index(CATEGORY)
            self.category_id = catalogue.categories()[row]["CategoryId"]
            self.starter_units = {u["UnitId"] for u in catalogue.units(self.category_id)}
        self.start()
        self.kalvo.click_category_row(row)
        self.kalvo.wait_title(f"Kalvo - {CATEGORY}")
        self.wait_file(f"{CATEGORY} selected",
                       lambda c: c.selected_categories() == [self.category_id])

    def unit_rows(self):
        with self.catalogue() as catalogue:
            return [u["UnitId"] for u in catalogue.units(self.category_id)]

    def new_name(self):
        self.names += 1
        return f"crash unit {self.names:03d}"

    def add_unit(self):
        name = self.new_name()
        factor = f"{self.rng.uniform(0.01, 100):.6g}"
        shift = "0" if self.rng.random() < 0.5 else f"{self.rng.uniform(-50, 50):.4g}"
        invert = self.rng.random() < 0.25
        self.kalvo.click_button("unit_new")
        self.kalvo.fill_unit_dialog(name=name, factor=factor, shift=shift, toggle_invert=invert)
        props = (name, float(factor), float(shift), int(invert))

        def added(catalogue):
            for unit in catalogue.units(self.category_id):
                if unit["UnitName"] == name:
                    return unit
            return None

        unit = self.wait_file(f"the new unit {name}", added)
        got = (unit["UnitName"], unit["FactorMul"], unit["FactorAdd"], unit["IsInvertResult"])
        check(got == props, f"the dialog stored {got}, typed {props}")
        self.confirmed[unit["UnitId"]] = props
        return f"added {name} (factor {factor}, shift {shift}, invert {invert})"

    def select_unit(self, unit_id):
        row = self.unit_rows().index(unit_id)
        self.kalvo.click_unit_row(row)
        self.wait_file("the clicked unit as the current one",
                       lambda c: c.category(self.category_id)["CurrentUnitId"] == unit_id)

    def rename_unit(self, unit_id):
        old = self.confirmed[unit_id][0]
        name = self.new_name()
        self.select_unit(unit_id)
        self.kalvo.click_button("unit_edit")
        self.kalvo.wait_window(UNIT_DIALOG)
        # The name field has the focus with its text selected: the dialog is the unit's.
        shown = self.kalvo.copy_with(lambda: self.kalvo.keys("ctrl+c"))
        check(shown == old, f"Unit Properties shows {shown!r}, not the clicked {old!r}")
        self.kalvo.fill_unit_dialog(name=name)
        self.wait_file(f"{old} renamed {name}",
                       lambda c: (c.unit(unit_id) or {"UnitName": None})["UnitName"] == name)
        self.confirmed[unit_id] = (name,) + self.confirmed[unit_id][1:]
        return f"renamed {old} to {name}"

    def delete_unit(self, unit_id):
        name = self.confirmed[unit_id][0]
        self.select_unit(unit_id)
        self.kalvo.click_button("unit_delete")
        box = self.kalvo.wait_window(MESSAGE_BOX)
        self.kalvo.keys("y")
        self.kalvo.wait_window_gone(box)
        self.wait_file(f"{name} deleted", lambda c: c.unit(unit_id) is None)
        del self.confirmed[unit_id]
        self.deleted.add(unit_id)
        return f"deleted {name}"

    def edit(self):
        live = sorted(self.confirmed)
        if len(live) < 2:
            kind = "add"
        elif len(live) >= MAX_ADDED_UNITS:
            kind = self.rng.choice(["rename", "delete"])
        else:
            kind = self.rng.choice(["add", "rename", "delete"])
        if kind == "add":
            return self.add_unit()
        unit_id = self.rng.choice(live)
        return self.rename_unit(unit_id) if kind == "rename" else self.delete_unit(unit_id)

    def check_after_kill(self, label):
        with opened(label, self.catalogue) as catalogue:
            verdict = catalogue.integrity()
            check(verdict == ["ok"], f"{label}: integrity check says {verdict}")
            names = [c["CategoryName"] for c in catalogue.categories()]
            check(names == self.categories, f"{label}: the categories are now {names}")
            units = {u["UnitId"]: u for u in catalogue.units(self.category_id)}
            for unit_id, props in self.confirmed.items():
                unit = units.get(unit_id)
                check(unit is not None, f"{label}: the confirmed unit {props[0]} is lost")
                got = (unit["UnitName"], unit["FactorMul"], unit["FactorAdd"],
                       unit["IsInvertResult"])
                check(got == props, f"{label}: unit {unit_id} holds {got}, confirmed {props}")
            back = self.deleted & set(units)
            check(not back, f"{label}: deleted units {sorted(back)} are back")
            expected = self.starter_units | set(self.confirmed)
            check(set(units) == expected,
                  f"{label}: the category holds units {sorted(set(units) ^ expected)} too many or "
                  f"too few")
            source = catalogue.category(self.category_id)["SourceUnitId"]
            check(source in units, f"{label}: the source unit {source} is not in the category")
            return units[source]["UserValue"]

    def check_after_start(self, label):
        title = self.kalvo.title()
        check(title == f"Kalvo - {CATEGORY}", f"{label}: the window shows {title!r}")
        with opened(label, self.catalogue) as catalogue:
            verdict = catalogue.integrity()
            check(verdict == ["ok"], f"{label}: integrity check says {verdict}")
            wrong = inconsistencies(catalogue, self.category_id)
            check(not wrong, f"{label}: after the start the stored values disagree:\n  "
                             + "\n  ".join(wrong))
            category = catalogue.category(self.category_id)
            return catalogue.unit(category["SourceUnitId"])["UserValue"]

    def run(self, rounds):
        self.prepare()
        value_at_kill = None
        for n in range(1, rounds + 1):
            label = f"storm round {n}"
            if n > 1:
                self.start()
            shown = self.check_after_start(label)
            # The start shows the value of the kill and recalculates from it, so it stores the
            # same source value again (a large one once came back as 0).
            check(value_at_kill is None or shown == value_at_kill,
                  f"{label}: the start turned the stored source value {value_at_kill!r} "
                  f"into {shown!r}")
            what = self.edit()
            delay = self.rng.uniform(0.0, 1.5)
            storm = StormThread(self.rng)
            storm.start()
            time.sleep(delay)
            killed = self.kalvo.kill()
            storm.stop.set()
            storm.join(timeout=20)
            check(killed, f"{label}: Kalvo was no longer running at the kill")
            value_at_kill = self.check_after_kill(label)
            log(f"{label}: {what}; killed after {delay:.2f} s and {storm.sent} keys; "
                f"file ok, source value {value_at_kill!r}")
            if n == 1:
                self.screen.shot("storm-round-1-after-kill")
        self.start()
        self.check_after_start("after the last storm round")
        self.screen.shot("storm-after-last-start")
        self.kalvo.click_button("exit")
        check(self.kalvo.wait_exit() == 0, "Kalvo exited with an error")
        self.check_after_kill("after the clean exit")
        check(not os.path.exists(os.path.join(self.folder, "Kalvo.mdb-wal")),
              "a log is left after the clean exit")
        shutil.rmtree(self.scratch, ignore_errors=True)


# ---------------------------------------------------------------------------------------


def enlarge(path, units):
    """Adds a category with many units of long notes, so compaction takes its time."""
    db = sqlite3.connect(path)
    db.execute("PRAGMA journal_mode=DELETE")
    category = db.execute("INSERT INTO Category (CategoryName, Note) VALUES "
                          "('Bulk', 'many units, to make compaction slow')").lastrowid
    db.executemany("INSERT INTO Units (UnitName, CategoryId, FactorMul, FactorAdd, Note, "
                   "UserValue) VALUES (?, ?, ?, 0.0, ?, 0.0)",
                   ((f"bulk unit {i:06d}", category, 1.0 + i, f"note {i:06d} " * 20)
                    for i in range(units)))
    db.commit()
    db.close()
    check(not os.path.exists(path + "-journal"), "the enlarged catalogue left a journal")


class CopyWatcher(threading.Thread):
    """Notes when the compaction copy appears and goes, relative to the last lap."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.path = path
        self.stop = threading.Event()
        self.lock = threading.Lock()
        self.begin = time.monotonic()
        self.seen = None

    def run(self):
        while not self.stop.is_set():
            exists = os.path.exists(self.path)
            with self.lock:
                if exists:
                    now = time.monotonic() - self.begin
                    self.seen = (self.seen[0] if self.seen else now, now)
            time.sleep(0.002)

    def lap(self):
        """(seconds since the last lap, (first, last) sighting of the copy or None)."""
        with self.lock:
            now = time.monotonic()
            result = (now - self.begin, self.seen)
            self.begin = now
            self.seen = None
        return result


class CompactionRounds:
    def __init__(self, rng, folder, screen, units):
        self.rng = rng
        self.folder = folder
        self.screen = screen
        self.scratch = tempfile.mkdtemp(prefix="kalvo-compact-snap-")
        self.kalvo = Kalvo(folder)
        self.mdb = os.path.join(folder, "Kalvo.mdb")
        enlarge(self.mdb, units)
        with Catalogue(self.mdb) as catalogue:
            self.categories = [c["CategoryName"] for c in catalogue.categories()]
            self.units = catalogue.db.execute("SELECT count(*) FROM Units").fetchone()[0]
        self.copies_restored = 0

    def check_files(self, label):
        """The catalogue, or the compacted copy a start restores, is whole."""
        tmp = self.mdb + ".tmp"
        if os.path.exists(self.mdb):
            name, where = "Kalvo.mdb", "the catalogue"
        else:
            check(os.path.exists(tmp), f"{label}: the catalogue is gone and no copy is left")
            check(not os.path.exists(self.mdb + "-wal"),
                  f"{label}: only the copy is left, beside the log of the lost file")
            name, where = "Kalvo.mdb.tmp", "the copy left in place of the catalogue"
            self.copies_restored += 1
        with opened(label, lambda: snapshot(self.folder, name=name, scratch=self.scratch)) \
                as catalogue:
            verdict = catalogue.integrity()
            check(verdict == ["ok"], f"{label}: {where} fails the integrity check: {verdict}")
            names = [c["CategoryName"] for c in catalogue.categories()]
            check(names == self.categories, f"{label}: {where} holds categories {names}")
            count = catalogue.db.execute("SELECT count(*) FROM Units").fetchone()[0]
            check(count == self.units, f"{label}: {where} holds {count} of {self.units} units")
        return name

    def calibrate(self):
        """One clean run, timed: from the launch to the window and from Exit to the end, and
        when the compaction copy exists in each."""
        watcher = CopyWatcher(self.mdb + ".tmp")
        watcher.start()
        self.kalvo.start()
        self.kalvo.wait_ready(timeout=120)
        start_time, start_copy = watcher.lap()
        self.screen.shot("large-catalogue-started")
        watcher.lap()
        self.kalvo.click_button("exit")
        check(self.kalvo.wait_exit(timeout=120) == 0, "Kalvo exited with an error")
        exit_time, exit_copy = watcher.lap()
        watcher.stop.set()
        watcher.join()
        check(start_copy and exit_copy, "no compaction copy was seen at the start or at exit")
        self.check_files("after a clean run")
        log(f"large catalogue ({os.path.getsize(self.mdb) / 1e6:.0f} MB): the window after "
            f"{start_time:.2f} s, the copy from {start_copy[0]:.2f} to {start_copy[1]:.2f} s; "
            f"after Exit the end at {exit_time:.2f} s, the copy from {exit_copy[0]:.2f} to "
            f"{exit_copy[1]:.2f} s")
        return (start_time, start_copy), (exit_time, exit_copy)

    def copy_identity(self):
        try:
            status = os.stat(self.mdb + ".tmp")
        except FileNotFoundError:
            return None
        return status.st_ino, status.st_ctime_ns

    def wait_for_copy(self, stale, timeout=60):
        """Waits until the program writes a compaction copy (not one an earlier kill left);
        False when the program ended first."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            seen = self.copy_identity()
            if seen is not None and seen != stale:
                return True
            if not self.kalvo.running():
                return False
            time.sleep(0.002)
        raise Failure(f"no compaction copy appeared within {timeout} s")

    def run(self, rounds):
        spans = self.calibrate()
        ended_first = 0
        during_copy = 0
        for n in range(1, rounds + 1):
            at_start = n % 2 == 1
            # Every other round of each kind is aimed at the copy: the kill comes while it is
            # being written, at a random point of the time that took in the clean run.
            aimed = (n - 1) // 2 % 2 == 1
            length, (copy_from, copy_to) = spans[0 if at_start else 1]
            delay = (self.rng.uniform(0.0, copy_to - copy_from) if aimed
                     else self.rng.uniform(0.0, length * 1.1))
            moment = ("the copy appeared" if aimed
                      else "the launch" if at_start else "the click on Exit")
            label = f"compaction round {n} ({'start' if at_start else 'exit'})"
            stale = self.copy_identity()
            self.kalvo.start()
            if not at_start:
                self.kalvo.wait_ready(timeout=120)
                self.kalvo.click_button("exit")
            if not aimed or self.wait_for_copy(stale):
                time.sleep(delay)
            copy_at_kill = self.copy_identity() not in (None, stale)
            killed = self.kalvo.kill()
            if not killed:
                ended_first += 1
            elif copy_at_kill:
                during_copy += 1
            files = sorted(f for f in os.listdir(self.folder) if f.startswith("Kalvo.mdb"))
            kept = self.check_files(label)
            log(f"{label}: {'killed' if killed else 'had ended'} {delay:.2f} s after {moment}; "
                f"files {files}; {kept} ok")
        self.kalvo.start()
        title = self.kalvo.wait_ready(timeout=120)
        check(title.startswith("Kalvo - "), f"after the last round the window shows {title!r}")
        self.screen.shot("large-catalogue-after-rounds")
        self.kalvo.click_button("exit")
        check(self.kalvo.wait_exit(timeout=120) == 0, "Kalvo exited with an error")
        check(self.check_files("after the last clean run") == "Kalvo.mdb",
              "the last clean run left no catalogue")
        check(not os.path.exists(self.mdb + ".tmp"), "a clean run left the compaction copy")
        shutil.rmtree(self.scratch, ignore_errors=True)
        log(f"compaction rounds: {rounds - ended_first} kills ({during_copy} while the copy "
            f"was there), {ended_first} runs ended before the kill; only the copy was left "
            f"after {self.copies_restored}")


def main():
    parser = driver_arguments()
    parser.add_argument("--seed", type=int, default=int(os.environ.get("KALVO_CRASH_SEED", 1)))
    parser.add_argument("--rounds", type=int, default=30, help="storm rounds")
    parser.add_argument("--compaction-rounds", type=int, default=20)
    parser.add_argument("--bulk-units", type=int, default=60000)
    args = parser.parse_args()
    require_environment()
    log(f"seed {args.seed} (replay with --seed {args.seed})")
    rng = random.Random(args.seed)
    screen = Screen(os.path.abspath(args.shots))
    log(f"screenshots in {screen.folder}")
    started = time.monotonic()

    storm_folder = tempfile.mkdtemp(prefix="kalvo-crash-")
    compaction_folder = tempfile.mkdtemp(prefix="kalvo-compact-")
    install(args.program_dir, storm_folder)
    install(args.program_dir, compaction_folder)
    storm = compaction = None
    try:
        log(f"storm rounds in {storm_folder}")
        storm = StormRounds(rng, storm_folder, screen)
        storm.run(args.rounds)
        log(f"{args.rounds} storm rounds passed after {time.monotonic() - started:.1f} s")
        log(f"compaction rounds in {compaction_folder}")
        compaction = CompactionRounds(rng, compaction_folder, screen, args.bulk_units)
        compaction.run(args.compaction_rounds)
    except Exception:
        log(f"FAILED with seed {args.seed}; kept {storm_folder} and {compaction_folder}")
        for run in (storm, compaction):
            if run is not None and run.kalvo.running():
                screen.shot("at-failure")
                run.kalvo.kill()
        raise
    shutil.rmtree(storm_folder, ignore_errors=True)
    shutil.rmtree(compaction_folder, ignore_errors=True)
    log(f"passed in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
