"""The example script examples/nominal_table.py on the example gear files."""

import shutil
import subprocess
import sys

from conftest import EXAMPLES, ROOT, TOOL_DATA

SCRIPT = ROOT / "examples" / "nominal_table.py"


def run(folder):
    return subprocess.run([sys.executable, str(SCRIPT), str(folder)], capture_output=True, text=True)


def test_table_of_the_examples():
    result = run(ROOT / "examples")
    assert result.returncode == 0, result.stderr
    lines = result.stdout.splitlines()
    assert lines[0].split() == ["value", *(path.stem for path in EXAMPLES)]
    rows = {line.split()[0]: line.split()[1:] for line in lines[1:]}
    # spur_gear: d = z mn = 23 * 2, dv = d + 2 x mn = 46.8 (ISO 21771)
    spur = [path.stem for path in EXAMPLES].index("spur_gear")
    assert (rows["d_left"][spur], rows["dv_left"][spur]) == ("46.0000", "46.8000")
    # the asymmetrical gear has no symmetrical tooth thickness
    asymmetrical = [path.stem for path in EXAMPLES].index("asymmetrical_gear")
    assert rows["st"][asymmetrical] == "n/a"
    assert all(len(cells) == len(EXAMPLES) for cells in rows.values())


def test_files_that_do_not_load_are_listed_with_their_reason(tmp_path):
    shutil.copy(ROOT / "examples" / "spur_gear.xml", tmp_path)
    shutil.copy(TOOL_DATA / "old_version.xml", tmp_path)
    result = run(tmp_path)
    assert result.returncode == 1
    assert result.stdout.splitlines()[-1] == (
        "old_version.xml: invalid version of gear-object found: required=9.02-44, actual=9.02-43")
    assert result.stdout.splitlines()[0].split() == ["value", "spur_gear"]


def test_not_a_folder():
    result = run(ROOT / "no_such_folder")
    assert result.returncode == 2
    assert "not a folder" in result.stderr
