#!/usr/bin/env python3
"""Print the nominal values of every gear file in a folder as one table.

    PYTHONPATH=build/dev/python python3 examples/nominal_table.py examples   (from the build tree)

One row per nominal value (the names of `gearfile nominal`), one column per gear file; lengths in mm, angles in
degrees, "n/a" where the gear has no such value. Files that cannot be loaded are listed below the table with
the reason.
"""

import argparse
import pathlib
import sys

import gearrecords


def load_all(folder):
    """Nominal values by file stem, and the reasons of the files that failed, in file name order."""
    values, failures = {}, {}
    for path in sorted(pathlib.Path(folder).glob("*.xml")):
        try:
            gear = gearrecords.Gear(path)
        except gearrecords.GearFileError as error:
            failures[path.name] = str(error)
            continue
        if gear.geometry is None:
            failures[path.name] = "no geometry"
            continue
        values[path.stem] = gear.nominal()
    return values, failures


def cell(value):
    return f"{value:.4f}" if isinstance(value, float) else "n/a"


def table(values):
    """The lines of the table: names down, files across."""
    names = []  # each gear's names in its order; a name new to the table follows the name before it
    for nominal in values.values():
        at = 0
        for name in nominal:
            if name not in names:
                names.insert(at, name)
            at = names.index(name) + 1
    rows = [["value", *values]]
    rows += [[name, *(cell(nominal.get(name)) for nominal in values.values())] for name in names]
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    return ["  ".join(text.rjust(width) if i else text.ljust(width)
                      for i, (text, width) in enumerate(zip(row, widths))).rstrip()
            for row in rows]


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", help="folder of gear files (*.xml)")
    folder = parser.parse_args(argv).folder
    if not pathlib.Path(folder).is_dir():
        parser.error(f"not a folder: {folder}")
    values, failures = load_all(folder)
    if values:
        print("\n".join(table(values)))
    for name, reason in failures.items():
        print(f"{name}: {reason}")
    return 1 if failures or not values else 0


if __name__ == "__main__":
    sys.exit(main())
