#!/usr/bin/env python3
"""Plants the small faults of tools/mutants.tsv one at a time and says which
the tests catch.

Each row names a file, an exact text that occurs once in it (<NL> for a line
break), what to put instead, the tests (a ctest pattern) that should notice, and what the fault
breaks. The faults are planted in a clone of the committed tree under
build-mutants/, so the working tree stays free to edit; each is built
incrementally and its tests run. A fault that no longer applies (its text is
gone or not unique) is "stale"; one that does not compile is "invalid"; both
are faults of the list, to mend. Not part of CI: a full round takes about a
minute a fault.

usage: tools/mutants.py [--only TEXT] [--list FILE]
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
WORK = ROOT / "build-mutants"
TREE = WORK / "tree"
BUILD = TREE / "build"


def run(command, cwd=None, timeout=None):
    return subprocess.run(command, cwd=cwd, timeout=timeout, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace")


def rows(path):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 5:
            sys.exit(f"{path}:{number}: expected 5 fields separated by tabs, found {len(fields)}")
        yield number, fields


def prepare():
    """A clone of HEAD, configured as the plain build with the unit tests too."""
    WORK.mkdir(exist_ok=True)
    if not (TREE / ".git").exists():
        run(["git", "clone", "--quiet", str(ROOT), str(TREE)]).check_returncode()
    run(["git", "fetch", "--quiet", str(ROOT), "HEAD"], cwd=TREE).check_returncode()
    run(["git", "reset", "--quiet", "--hard", "FETCH_HEAD"], cwd=TREE).check_returncode()
    shared = TREE.parent / "shared"
    if not shared.exists() and (ROOT.parent / "shared").exists():
        shared.symlink_to(ROOT.parent / "shared")
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    run(["cmake", "-S", str(TREE), "-B", str(BUILD), "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
         "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g0 -DNDEBUG", "-DTESSERA_TESTS=unit;e2e;qt", *launcher]).check_returncode()
    print("building the unplanted tree...", flush=True)
    built = run(["cmake", "--build", str(BUILD), f"-j{os.cpu_count() or 2}"])
    if built.returncode != 0:
        sys.exit(built.stdout[-3000:])


def plant(fields):
    """The fault's outcome: caught, survived, stale or invalid, and seconds taken."""
    path, find, replace, tests, _ = fields
    # A fault across lines writes its line breaks as <NL> (\n is C's own).
    find, replace = find.replace("<NL>", "\n"), replace.replace("<NL>", "\n")
    target = TREE / path
    if not target.exists():
        return "stale"
    original = target.read_text(encoding="utf-8")
    if original.count(find) != 1:
        return "stale"
    target.write_text(original.replace(find, replace, 1), encoding="utf-8")
    try:
        built = run(["cmake", "--build", str(BUILD), f"-j{os.cpu_count() or 2}"], timeout=1200)
        if built.returncode != 0:
            return "invalid"
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        tested = subprocess.run(["ctest", "--test-dir", str(BUILD), "-R", tests, "--timeout", "300",
                                 f"-j{os.cpu_count() or 2}", "--no-tests=error"], env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
        return "caught" if tested.returncode != 0 else "survived"
    finally:
        target.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", default=str(ROOT / "tools" / "mutants.tsv"))
    parser.add_argument("--only", default="", help="run only the faults whose row holds this text")
    arguments = parser.parse_args()
    chosen = [(n, f) for n, f in rows(pathlib.Path(arguments.list)) if arguments.only in "\t".join(f)]
    prepare()
    tally = {}
    survivors = []
    for number, fields in chosen:
        started = time.monotonic()
        outcome = plant(fields)
        tally[outcome] = tally.get(outcome, 0) + 1
        if outcome != "caught":
            survivors.append((number, outcome, fields))
        print(f"{outcome:9} {time.monotonic() - started:5.0f}s  line {number:3}  {fields[0]}: {fields[4]}", flush=True)
    # The last fault's files are restored: build them back, so the tree is whole for the next round.
    run(["cmake", "--build", str(BUILD), f"-j{os.cpu_count() or 2}"])
    total = sum(tally.values())
    caught = tally.get("caught", 0)
    print(f"\n{caught} of {total} caught ({100 * caught // max(total, 1)}%); " +
          ", ".join(f"{k} {v}" for k, v in sorted(tally.items()) if k != "caught"))
    for number, outcome, fields in survivors:
        print(f"  {outcome}: line {number}: {fields[0]}: {fields[4]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
