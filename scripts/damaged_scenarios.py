#!/usr/bin/env python3
"""The damaged set: copies of the fixture scenario, each with one file
damaged (missing, empty, halved, garbled, LF or mixed line ends, a bad id, a
huge or negative number, a garbage row, a short row), loaded with
check_scenario; and copies of a game saved from it (check_scenario keeps
its saved copy) with one of the files only a save has damaged. A copy
passes when

- check_scenario ends with exit 1 and a line naming the damaged file, or
- it loads (exit 0) and no row is lost in silence: each list read from the
  damaged file holds at least as many records as the file has data rows,
  less the WARNING lines naming the file and a line, and every other count
  equals the undamaged load's unless a WARNING names the damaged file.

Any other exit code (a crash, a sanitizer report) fails. LF and mixed line
ends must load exactly as the undamaged copy, without a WARNING.

The named cases (NAMED_CASES) damage a file in one known way and expect a
given outcome: refused (exit 1) with an ERROR line naming the file, or
loaded with a WARNING naming it; where the damage sits on a line, the
message gives that line. No case may print a language key instead of its
text (a "log: " line that is a bare key).

usage: damaged_scenarios.py CHECK_SCENARIO FIXTURE_FOLDER [JOBS]
"""
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

# The files the loader reads, and the count each one's rows make.
COUNTED = {
    "countries.csv": "countries", "cities.csv": "cities", "land_units.csv": "land", "air_units.csv": "air",
    "naval_units.csv": "naval", "fleets.csv": "fleets", "commanders.csv": "commanders", "sea_nodes.csv": "seanodes",
}
# Files a scenario may leave out.
OPTIONAL = {"airrecon_units.csv", "airship_attacks.csv"}
TEXT_FILES = [
    "Info.ini", "consts.csv", "flags.txt", "cities.csv", "commanders.csv", "land_units.csv", "air_units.csv",
    "fleets.csv", "naval_units.csv", "countries.csv", "unit_names.csv", "airship_attacks.csv",
    "airrecon_units.csv", "relations.csv", "losses.csv", "cities_diagram.csv", "sea_nodes.csv", "sea_edges.csv",
    "convoys.csv", "ai_data.csv",
]
BINARY_FILES = ["map.tdw", "reports.dat"]
# The files only a saved game has.
SAVE_FILES = ["topography.csv", "cities_supply_info.csv", "cities_convoy_info.csv", "auto_events.csv", "reports.dat"]
# Files of ";"-separated rows of numbers (after any name column).
ROW_FILES = [f for f in TEXT_FILES + SAVE_FILES
             if f.endswith(".csv") and f not in ("consts.csv", "ai_data.csv", "unit_names.csv", "topography.csv")]
LINE_END = re.compile(rb"\r\n|\n|\r")


def lines_of(data):
    return LINE_END.split(data)


def data_rows(data):
    """The rows a reader takes as records: not empty, not only ';', not a comment."""
    rows = 0
    for line in lines_of(data):
        stripped = line.strip(b";")
        if not stripped or line.lstrip(b";").startswith(b"#"):
            continue
        rows += 1
    return rows


def first_data_line(lines):
    for i, line in enumerate(lines):
        if line.strip(b";") and not line.lstrip(b";").startswith(b"#"):
            return i
    return None


def with_first_row(data, change):
    lines = data.split(b"\r\n")
    i = first_data_line(lines)
    if i is None:
        return None
    changed = change(lines[i].split(b";"))
    if changed is None:
        return None
    if isinstance(changed, tuple):  # a row inserted after the first one
        lines.insert(i + 1, changed[0])
    else:
        lines[i] = b";".join(changed)
    return b"\r\n".join(lines)


def set_field(index, value):
    def change(fields):
        if len(fields) <= index:
            return None
        fields = list(fields)
        fields[index] = value
        return fields
    return change


def garbage_row(fields):
    return (b";".join([b"A"] * len(fields)),)


def short_row(fields):
    kept = [f for f in fields if f][: max(1, len([f for f in fields if f]) // 2)]
    return kept


def garble(data, seed):
    rng = random.Random(seed)
    data = bytearray(data)
    alphabet = b"AZaz09;-#.\r\n\xff "
    for _ in range(6):
        if not data:
            break
        data[rng.randrange(len(data))] = alphabet[rng.randrange(len(alphabet))]
    return bytes(data)


def damages(name, data):
    """(case name, new bytes or None for a removed file) for one file."""
    out = [("missing", None), ("empty", b""), ("halved", data[: len(data) // 2]),
           ("garbled1", garble(data, name + "1")), ("garbled2", garble(data, name + "2"))]
    if name in BINARY_FILES:
        return out
    text = data.replace(b"\r\n", b"\n")
    out.append(("lf", text))
    ends, lines = [b"\r\n", b"\n", b"\r"], text.split(b"\n")
    out.append(("mixed", b"".join(line + ends[i % 3] for i, line in enumerate(lines[:-1])) + lines[-1]))
    if name == "Info.ini":
        out.append(("month0", data.replace(b"GameMonth=9", b"GameMonth=0")))
        out.append(("year_huge", data.replace(b"GameYear=1939", b"GameYear=4294967299")))
        out.append(("no_scenario_name", re.sub(rb"ScenarioName=[^\r\n]*", b"ScenarioName=", data)))
    if name in ROW_FILES:
        # The third field: a country id, a hex coordinate or a first cell.
        column = 2
        for case, change in (("bad_id", set_field(0, b"A")), ("huge", set_field(column, b"4294967299")),
                             ("negative", set_field(column, b"-2147483648")), ("nan", set_field(column, b"nan")),
                             ("garbage_row", garbage_row), ("short_row", short_row)):
            changed = with_first_row(data, change)
            if changed is not None:
                out.append((case, changed))
    if name == "consts.csv":
        out.append(("huge", with_first_row(data, set_field(1, b"4294967299"))))
    if name == "convoys.csv":
        # A departure sea node that does not exist, and one without a port city.
        out.append(("no_sea_node", with_first_row(data, set_field(4, b"99"))))
        out.append(("no_port_city", with_first_row(data, set_field(4, b"1"))))
    return [(case, bytes_) for case, bytes_ in out if bytes_ is not None or case == "missing"]


def header_only(data):
    """The file's comment lines (and an unnumbered header row) without its data rows."""
    kept = [l for l in data.split(b"\r\n") if l.startswith(b"#") or l.startswith(b";")]
    return b"\r\n".join(kept) + b"\r\n"


def replace_once(old, new):
    def change(data):
        return data.replace(old, new, 1) if old in data else None
    return change


def from_line_on(prefix, keep_before):
    """Cuts the file at its last line starting with prefix (keep_before lines kept)."""
    def change(data):
        lines = data.split(b"\r\n")
        at = [i for i, l in enumerate(lines) if l.startswith(prefix)]
        return b"\r\n".join(lines[: at[-1]]) + b"\r\n" if at else None
    return change


EVENT_LIST = b"data\\scenarios\\Fixture\\events\\e.xml\r\n"


def event_file(body):
    return (b'<?xml version="1.0"?>\n<events>\n<event eventID="1" countryID="1" visibleByPlayer="0" '
            b'oneTimeChecking="1">\n' + body + b"\n</event>\n</events>\n")


# (file, case, change of the file's bytes or a dict of files to write, outcome, the file the message names,
# whether it gives a line).
NAMED_CASES = [
    ("consts.csv", "base_strength_below_int", replace_once(b"LandBaseStrength;2.000000", b"LandBaseStrength;-2147483649"),
     "refused", "consts.csv", True),
    ("consts.csv", "level_cost_negative", lambda d: re.sub(rb"(LevelCostFactors;)[^;]*", rb"\1-1", d, 1)
     if b"LevelCostFactors;" in d else None, "refused", "consts.csv", True),
    ("ai_data.csv", "key_without_semicolon", replace_once(b"MakesSeaInvasions;0", b"MakesSeaInvasions 0"),
     "warned", "ai_data.csv", True),
    ("ai_data.csv", "country_section_missing", from_line_on(b"Country;", 0), "warned", "ai_data.csv", False),
    ("land_units.csv", "header_only", header_only, "warned", "land_units.csv", False),
    # Files that may hold their header alone, but never no bytes at all (an
    # empty naval_units.csv is refused: the fixture's cargo names its ship).
    ("air_units.csv", "empty", lambda d: b"", "warned", "air_units.csv", False),
    ("convoys.csv", "empty", lambda d: b"", "warned", "convoys.csv", False),
    ("flags.txt", "empty", lambda d: b"", "warned", "flags.txt", False),
    ("sea_edges.csv", "header_only", header_only, "warned", "sea_edges.csv", False),
    ("unit_names.csv", "header_only", header_only, "warned", "unit_names.csv", False),
    ("countries.csv", "header_only", header_only, "refused", "countries.csv", False),
    ("cities_diagram.csv", "header_only", header_only, "warned", "cities_diagram.csv", False),
    ("countries.csv", "short_row_is_an_error", lambda d: with_first_row(d, short_row), "refused", "countries.csv",
     True),
    ("Info.ini", "names_another_folder", replace_once(b"ScenarioName=Fixture", b"ScenarioName=Europe1939"),
     "refused", "Info.ini", False),
    ("events", "malformed", {"event_files.txt": EVENT_LIST, "events/e.xml": event_file(b"<title>x</titel>")},
     "refused", "e.xml", True),
    ("events", "cut", {"event_files.txt": EVENT_LIST, "events/e.xml": event_file(b"<title>x</title>")[:60]},
     "refused", "e.xml", True),
    ("events", "empty", {"event_files.txt": EVENT_LIST, "events/e.xml": b""}, "refused", "e.xml", True),
    ("events", "missing", {"event_files.txt": EVENT_LIST}, "refused", "e.xml", False),
    ("events", "month_139", {"event_files.txt": EVENT_LIST,
                             "events/e.xml": event_file(b'<beginDate day="1" month="139" year="1940"/>')},
     "refused", "e.xml", True),
    ("events", "unknown_method", {"event_files.txt": EVENT_LIST, "events/e.xml": event_file(
        b'<options><option optionID="1" chanceAI="1"><effects><effect method="Nope.Nothing"/></effects>'
        b'</option></options>')}, "refused", "e.xml", True),
    ("events", "another_folder", {"event_files.txt": b"data\\scenarios\\Other\\e.xml\r\n"}, "refused",
     "event_files.txt", True),
]
BARE_KEY = re.compile(r"^(reloaded: )?log: [a-z0-9]+(_[a-z0-9.,:?!()-]*)+$")


def judge_named(outcome, named, with_line, code, stdout):
    lines = stdout.splitlines()
    keys = [l for l in lines if BARE_KEY.match(l)]
    if keys:
        return "a language key without its text: " + keys[0]
    label = "ERROR" if outcome == "refused" else "WARNING"
    wanted = [l for l in lines if label in l and named.lower() in l.lower() and
              (not with_line or re.search(r"line \d+", l))]
    if outcome == "refused" and code != 1:
        return "not refused (exit %d)" % code
    if outcome == "warned" and code != 0:
        return "refused (exit %d): %s" % (code, " | ".join(lines[-2:]))
    if not wanted:
        return "no %s line naming %s%s: %s" % (label, named, " with its line" if with_line else "",
                                                " | ".join(lines[-3:]))
    if outcome == "refused" and any(l.startswith("WARNING") for l in lines[-3:] if named.lower() in l.lower()):
        return "the refusal is labelled WARNING"
    return None


def run(check, folder, keep=None):
    result = subprocess.run([check, folder] + ([keep] if keep else []), cwd=os.path.dirname(folder),
                            capture_output=True, timeout=120)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def counts_of(stdout):
    first = stdout.splitlines()[0] if stdout else ""
    return dict(pair.split("=") for pair in first.split() if "=" in pair)


def judge(name, case, original, damaged, code, stdout, base):
    lines = stdout.splitlines()
    lower = name.lower()
    if case in ("lf", "mixed") and code != 0:
        return "line ends made the load fail: " + " | ".join(lines[-2:])
    naming = [l for l in lines if lower in l.lower()]
    if code == 1:
        return None if naming else "exit 1 without a line naming " + name
    if code != 0:
        return "exit code %d" % code
    counts = counts_of(stdout)
    if set(counts) != set(base):
        return "no count line"
    warned = [l for l in naming if "WARNING" in l and re.search(r"line \d+", l)]
    if case in ("lf", "mixed"):
        if counts != base:
            return "line ends changed the counts: " + lines[0]
        if warned:
            return "line ends gave warnings: " + warned[0]
        return None
    if name in COUNTED:
        key = COUNTED[name]
        rows = data_rows(damaged) if damaged is not None else 0
        if int(counts[key]) + len(warned) < rows:
            return "%s=%s from %d rows with %d warnings" % (key, counts[key], rows, len(warned))
    others = {k: v for k, v in counts.items() if k != COUNTED.get(name)}
    if others != {k: v for k, v in base.items() if k != COUNTED.get(name)} and not warned:
        return "counts changed without a warning: " + lines[0]
    return None


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    check, fixture = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    jobs = int(sys.argv[3]) if len(sys.argv) == 4 else 3
    scenario = os.path.basename(os.path.normpath(fixture))
    root = tempfile.mkdtemp(prefix="tw_damaged_")
    try:
        base_folder = os.path.join(root, "base", scenario)
        shutil.copytree(fixture, base_folder)
        code, stdout = run(check, base_folder)
        if code != 0:
            print("the undamaged fixture does not load (exit %d):\n%s" % (code, stdout))
            return 1
        base = counts_of(stdout)
        for name, key in COUNTED.items():
            with open(os.path.join(fixture, name), "rb") as f:
                rows = data_rows(f.read())
            if rows != int(base[key]):
                print("%s: %s=%s but the file has %d rows" % (name, key, base[key], rows))
                return 1
        # A game saved from the fixture, in a game folder of its own.
        save_base = os.path.join(root, "save_base")
        shutil.copytree(fixture, os.path.join(save_base, "data", "scenarios", scenario))
        os.makedirs(os.path.join(save_base, "data", "save"))
        save_rel = os.path.join("data", "save", scenario + "Save")
        code, stdout = run(check, base_folder, os.path.join(save_base, save_rel))
        if code != 0:
            print("the fixture could not be saved (exit %d):\n%s" % (code, stdout))
            return 1
        code, stdout = run(check, os.path.join(save_base, save_rel))
        if code != 0 or counts_of(stdout) != base:
            print("the saved fixture does not load as the fixture (exit %d):\n%s" % (code, stdout))
            return 1

        cases = []

        def add(name, source, make_folder):
            with open(source, "rb") as f:
                original = f.read()
            for case, damaged in damages(name, original):
                folder = make_folder(case)
                target = os.path.join(folder, name)
                if damaged is None:
                    os.remove(target)
                else:
                    with open(target, "wb") as f:
                        f.write(damaged)
                cases.append((name, case, original, damaged, folder))

        def scenario_copy(name):
            def make(case):
                folder = os.path.join(root, "%s.%s" % (name, case), scenario)
                shutil.copytree(fixture, folder)
                return folder
            return make

        def save_copy(name):
            def make(case):
                game = os.path.join(root, "save.%s.%s" % (name, case))
                shutil.copytree(save_base, game, symlinks=True)
                return os.path.join(game, save_rel)
            return make

        for name in TEXT_FILES + ["map.tdw"]:
            add(name, os.path.join(fixture, name), scenario_copy(name))
        named_cases = []
        for name, case, change, outcome, named, with_line in NAMED_CASES:
            folder = scenario_copy(name)("named." + case)
            if isinstance(change, dict):
                for rel, data in change.items():
                    target = os.path.join(folder, rel)
                    os.makedirs(os.path.dirname(target), exist_ok=True)
                    with open(target, "wb") as f:
                        f.write(data)
            else:
                with open(os.path.join(folder, name), "rb") as f:
                    damaged = change(f.read())
                if damaged is None:
                    print("FAIL %s (%s): the fixture has nothing to damage" % (name, case))
                    return 1
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(damaged)
            named_cases.append((name, case, outcome, named, with_line, folder))
        for name in SAVE_FILES:
            add(name, os.path.join(save_base, save_rel, name), save_copy(name))

        def one(item):
            name, case, original, damaged, folder = item
            if case == "missing" and name in OPTIONAL:
                code, stdout = run(check, folder)
                return None if code == 0 else "an optional file's absence: exit %d" % code
            code, stdout = run(check, folder)
            if os.environ.get("TW_DAMAGED_VERBOSE"):
                shown = [l for l in stdout.splitlines()[1 if code == 0 else 0:] if name.lower() in l.lower()][:2]
                print("%-20s %-16s exit %d %s | %s" % (name, case, code, stdout.splitlines()[0] if code == 0 and
                      stdout else "", " || ".join(shown)))
            return judge(name, case, original, damaged, code, stdout, base)

        def one_named(item):
            name, case, outcome, named, with_line, folder = item
            code, stdout = run(check, folder)
            if os.environ.get("TW_DAMAGED_VERBOSE"):
                print("%-20s %-24s exit %d | %s" % (name, case, code, " || ".join(stdout.splitlines()[-2:])))
            return judge_named(outcome, named, with_line, code, stdout)

        with ThreadPoolExecutor(max_workers=jobs) as pool:
            results = list(pool.map(one, cases))
            named_results = list(pool.map(one_named, named_cases))
        failed = 0
        for (name, case, _, _, _), problem in zip(cases, results):
            if problem:
                failed += 1
                print("FAIL %s (%s): %s" % (name, case, problem))
        for (name, case, _, _, _, _), problem in zip(named_cases, named_results):
            if problem:
                failed += 1
                print("FAIL %s (%s): %s" % (name, case, problem))
        print("damaged set: %d copies, %d failed" % (len(cases) + len(named_cases), failed))
        return 1 if failed else 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
