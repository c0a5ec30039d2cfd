#!/usr/bin/env python3
"""A user's session with a fresh install, driven from outside with real X input: choose a
category, type a value, change the source unit, show and hide results, copy values, add
and delete a unit through Unit Properties, exit; then start again and find the same state
in the catalogue file and in the window."""

import os
import shutil
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kalvo_e2e import (  # noqa: E402
    MESSAGE_BOX, RESULT_LIST, SOURCE_UNIT_FIELD, UNIT_LIST, VALUE_FIELD, Failure, InstallFolder,
    Screen, check, crop_pixels, differing_pixels, driver_arguments, inconsistencies, install, log,
    require_environment, same_value)

CATEGORY = "Temperature"
NEW_SOURCE = "kelvin (K)"
SHOWN = "degree Réaumur (°Ré)"
HIDDEN = "degree Rankine (°R)"
COPIED = "degree Fahrenheit (°F)"
KEPT_UNIT = "e2e kept unit"
DELETED_UNIT = "e2e deleted unit"


class Session(InstallFolder):
    def __init__(self, folder, screen):
        super().__init__(folder, "kalvo-e2e-snap-")
        self.screen = screen

    def shot(self, label):
        self.kalvo.move_pointer_away()  # no hover highlight, no tooltip
        time.sleep(0.2)
        path = self.screen.shot(label)
        log(f"  screenshot {path}")
        return path

    def category_id(self, name):
        with self.catalogue() as catalogue:
            for row, category in enumerate(catalogue.categories()):
                if category["CategoryName"] == name:
                    return category["CategoryId"], row
        raise Failure(f"the catalogue has no category {name!r}")

    def unit_row(self, category_id, name):
        with self.catalogue() as catalogue:
            names = [u["UnitName"] for u in catalogue.units(category_id)]
        check(name in names, f"no unit {name!r} in the unit list {names}")
        return names.index(name)

    def result_row(self, category_id, name):
        with self.catalogue() as catalogue:
            names = [u["UnitName"] for u in catalogue.results(category_id)]
        check(name in names, f"no unit {name!r} in the result list {names}")
        return names.index(name)

    def unit_named(self, catalogue, category_id, name):
        found = [u for u in catalogue.units(category_id) if u["UnitName"] == name]
        return found[0] if found else None


def consistent_with(category_id, source_name, value):
    """The category's source is source_name holding value, and every unit follows it."""

    def probe(catalogue):
        category = catalogue.category(category_id)
        source = catalogue.unit(category["SourceUnitId"])
        return (source is not None and source["UnitName"] == source_name
                and same_value(value, source["UserValue"])
                and not inconsistencies(catalogue, category_id))

    return probe


def main():
    parser = driver_arguments()
    args = parser.parse_args()
    require_environment()

    folder = tempfile.mkdtemp(prefix="kalvo-e2e-")
    screen = Screen(os.path.abspath(args.shots))
    log(f"install folder {folder}\nscreenshots in {screen.folder}")
    install(args.program_dir, folder)
    session = Session(folder, screen)
    kalvo = session.kalvo
    started = time.monotonic()
    try:
        run_session(session, kalvo)
    except Exception:
        log(f"FAILED; the install folder {folder} and the screenshots are kept")
        if kalvo.running():
            session.shot("at-failure")
            kalvo.kill()
        raise
    shutil.rmtree(folder, ignore_errors=True)
    shutil.rmtree(session.scratch, ignore_errors=True)
    log(f"passed in {time.monotonic() - started:.1f} s")


def source_category_count():
    """How many categories the catalogue's sources define: one "category:" line each."""
    sources = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                           "catalogue", "source")
    count = 0
    for name in os.listdir(sources):
        with open(os.path.join(sources, name), encoding="utf-8") as source:
            count += sum(1 for line in source if line.startswith("category:"))
    return count


def run_session(session, kalvo):
    with session.catalogue() as catalogue:
        check(catalogue.integrity() == ["ok"], "the starter catalogue fails the integrity check")
        starter_categories = len(catalogue.categories())
        check(starter_categories == source_category_count(),
              f"the starter catalogue has {starter_categories} categories, its sources "
              f"{source_category_count()}")
        selected = catalogue.selected_categories()
        check(len(selected) == 1, f"the starter catalogue selects categories {selected}")
        first_title = "Kalvo - " + catalogue.category(selected[0])["CategoryName"]

    log("start Kalvo")
    kalvo.start()
    check(kalvo.wait_ready() == first_title, f"the first title is {kalvo.title()!r}")
    session.shot("started")

    log(f"choose the category {CATEGORY}")
    category_id, row = session.category_id(CATEGORY)
    kalvo.click_category_row(row)
    kalvo.wait_title(f"Kalvo - {CATEGORY}")
    session.wait_file(f"{CATEGORY} as the selected category",
                      lambda c: c.selected_categories() == [category_id])
    with session.catalogue() as catalogue:
        first_source = catalogue.unit(catalogue.category(category_id)["SourceUnitId"])["UnitName"]
    session.shot("category-chosen")

    log("type 37.5 on the keypad")
    for key in ("clear", "3", "7", ".", "5"):
        kalvo.click_key(key)
    session.wait_file(f"37.5 {first_source} converted into every unit",
                      consistent_with(category_id, first_source, 37.5))
    check(float(kalvo.copy_value()) == 37.5, "Ctrl+C does not copy the typed 37.5")
    session.shot("value-typed")

    log(f"set {NEW_SOURCE} as the source unit from the unit list's menu")
    row = session.unit_row(category_id, NEW_SOURCE)
    with session.catalogue() as catalogue:
        kelvin_value = session.unit_named(catalogue, category_id, NEW_SOURCE)["UserValue"]
    kalvo.menu_command(lambda: kalvo.click_unit_row(row, button=3), "s")
    session.wait_file(f"{NEW_SOURCE} as the source unit",
                      consistent_with(category_id, NEW_SOURCE, kelvin_value))
    copied = float(kalvo.copy_value())
    check(copied == kelvin_value,
          f"the value field holds {copied} after the source changed, not {kelvin_value}")

    log("clear with Escape and type 300 on the keyboard")
    kalvo.keys("Escape", "3", "0", "0")
    session.wait_file(f"300 {NEW_SOURCE} converted",
                      consistent_with(category_id, NEW_SOURCE, 300.0))
    with session.catalogue() as catalogue:
        celsius = session.unit_named(catalogue, category_id, "degree Celsius (°C)")["UserValue"]
    check(abs(celsius - 26.85) < 1e-9, f"300 K shows as {celsius} °C")
    session.shot("source-changed")

    log(f"show {SHOWN} in the result list (Enter on the unit list), hide {HIDDEN}")
    with session.catalogue() as catalogue:
        check(not session.unit_named(catalogue, category_id, SHOWN)["IsSelected"],
              f"{SHOWN} is already a result in the starter catalogue")
        check(session.unit_named(catalogue, category_id, HIDDEN)["IsSelected"],
              f"{HIDDEN} is not a result in the starter catalogue")
    kalvo.click_unit_row(session.unit_row(category_id, SHOWN))
    kalvo.keys("Return")
    session.wait_file(f"{SHOWN} shown in the result list",
                      lambda c: session.unit_named(c, category_id, SHOWN)["IsSelected"] == 1)
    shown_result = session.shot("result-shown")
    row = session.result_row(category_id, HIDDEN)
    kalvo.menu_command(lambda: kalvo.click_result_row(row, button=3), "h")
    session.wait_file(f"{HIDDEN} hidden",
                      lambda c: session.unit_named(c, category_id, HIDDEN)["IsSelected"] == 0)
    hidden_result = session.shot("result-hidden")
    changed = differing_pixels(crop_pixels(shown_result, screen_box(kalvo, RESULT_LIST)),
                               crop_pixels(hidden_result, screen_box(kalvo, RESULT_LIST)))
    check(changed > 0, "the result list looks the same after a row was hidden")

    log(f"copy the value of {COPIED} from the result list's menu")
    with session.catalogue() as catalogue:
        expected = session.unit_named(catalogue, category_id, COPIED)["UserValue"]
    row = session.result_row(category_id, COPIED)
    text = kalvo.copy_with(lambda: kalvo.menu_command(
        lambda: kalvo.click_result_row(row, button=3), "c"))
    log(f"  clipboard: {text!r}")
    check(float(text) == expected, f"Copy value gave {text!r}; {COPIED} holds {expected!r}")

    log(f"add the unit {KEPT_UNIT!r} through Unit Properties")
    kalvo.click_button("unit_new")
    kalvo.fill_unit_dialog(name=KEPT_UNIT, factor="2.5", shift="7")
    session.wait_file(f"{KEPT_UNIT} with factor 2.5 and shift 7",
                      lambda c: (lambda u: u is not None and u["FactorMul"] == 2.5
                                 and u["FactorAdd"] == 7.0)(
                          session.unit_named(c, category_id, KEPT_UNIT)))
    session.shot("unit-added")

    log(f"add the unit {DELETED_UNIT!r}, then select it and delete it")
    kalvo.click_button("unit_new")
    kalvo.fill_unit_dialog(name=DELETED_UNIT)
    session.wait_file(f"{DELETED_UNIT} added",
                      lambda c: session.unit_named(c, category_id, DELETED_UNIT) is not None)
    with session.catalogue() as catalogue:
        units_before = len(catalogue.units(category_id))
    kalvo.click_unit_row(session.unit_row(category_id, DELETED_UNIT))
    kalvo.click_button("unit_delete")
    box = kalvo.wait_window(MESSAGE_BOX)
    session.shot("delete-question")
    kalvo.keys("y")
    kalvo.wait_window_gone(box)
    session.wait_file(f"{DELETED_UNIT} deleted and nothing else",
                      lambda c: session.unit_named(c, category_id, DELETED_UNIT) is None
                      and len(c.units(category_id)) == units_before - 1)
    session.shot("unit-deleted")

    log("type 295.5 so every unit, the new one too, holds its value")
    kalvo.keys("Escape", "2", "9", "5", "period", "5")
    session.wait_file("295.5 K converted into every unit",
                      consistent_with(category_id, NEW_SOURCE, 295.5))
    check(float(kalvo.copy_value()) == 295.5, "Ctrl+C does not copy 295.5")
    # The category list has the focus after a start; give it the focus here too, by a click
    # on the row already selected, so the two screenshots can be compared.
    kalvo.click_category_row(session.category_id(CATEGORY)[1])
    before_exit = session.shot("before-exit")
    with session.catalogue() as catalogue:
        before = state_of(catalogue, category_id)

    log("exit with the Exit button")
    kalvo.click_button("exit")
    check(kalvo.wait_exit() == 0, "Kalvo exited with an error")
    for leftover in ("Kalvo.mdb-wal", "Kalvo.mdb-shm", "Kalvo.mdb.tmp"):
        check(not os.path.exists(os.path.join(session.folder, leftover)),
              f"{leftover} is left after a clean exit")
    with session.catalogue() as catalogue:
        check(catalogue.integrity() == ["ok"], "the catalogue fails the integrity check after exit")
        check(len(catalogue.categories()) == starter_categories, "categories changed in number")
        after = state_of(catalogue, category_id)
        check(after == before, f"the file after exit differs from the file before:\n"
                               f"{before}\n{after}")
        check_final_state(session, catalogue, category_id)

    log("start again")
    kalvo.start()
    check(kalvo.wait_ready() == f"Kalvo - {CATEGORY}",
          f"after the restart the title is {kalvo.title()!r}")
    check(float(kalvo.copy_value()) == 295.5, "after the restart the value is not 295.5")
    after_restart = session.shot("after-restart")
    for label, box in (("unit list", UNIT_LIST), ("result list", RESULT_LIST),
                       ("value field", VALUE_FIELD), ("source unit", SOURCE_UNIT_FIELD)):
        changed = differing_pixels(crop_pixels(before_exit, screen_box(kalvo, box)),
                                   crop_pixels(after_restart, screen_box(kalvo, box)))
        check(changed == 0, f"the {label} shows {changed} pixels otherwise after the restart "
                            f"(compare {before_exit} with {after_restart})")
    with session.catalogue() as catalogue:
        check(state_of(catalogue, category_id) == before, "the start changed the stored state")

    kalvo.click_button("exit")
    check(kalvo.wait_exit() == 0, "the second run exited with an error")
    with session.catalogue() as catalogue:
        check(catalogue.integrity() == ["ok"], "the catalogue fails the integrity check")
        check_final_state(session, catalogue, category_id)


def screen_box(kalvo, box):
    x, y, w, h = box
    sx, sy = kalvo.screen_point(x, y)
    return sx, sy, w, h


def state_of(catalogue, category_id):
    """What a start restores: the selections and the category's units with their values."""
    category = catalogue.category(category_id)
    return (catalogue.selected_categories(),
            {k: category[k] for k in ("SourceUnitId", "CurrentUnitId", "TargetUnitId")},
            [tuple(u) for u in catalogue.units(category_id)])


def check_final_state(session, catalogue, category_id):
    check(catalogue.selected_categories() == [category_id], "another category is selected")
    source = catalogue.unit(catalogue.category(category_id)["SourceUnitId"])
    check(source["UnitName"] == NEW_SOURCE and source["UserValue"] == 295.5,
          f"the source is {source['UnitName']} holding {source['UserValue']}")
    check(not inconsistencies(catalogue, category_id), inconsistencies(catalogue, category_id))
    check(session.unit_named(catalogue, category_id, SHOWN)["IsSelected"] == 1, f"{SHOWN} hidden")
    check(session.unit_named(catalogue, category_id, HIDDEN)["IsSelected"] == 0, f"{HIDDEN} shown")
    kept = session.unit_named(catalogue, category_id, KEPT_UNIT)
    check(kept is not None and (kept["FactorMul"], kept["FactorAdd"]) == (2.5, 7.0),
          f"{KEPT_UNIT} is lost or changed")
    check(session.unit_named(catalogue, category_id, DELETED_UNIT) is None,
          f"{DELETED_UNIT} came back")


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
