"""Paths shared by the tests of the Python module; ctest runs them from the source tree."""

import os
import pathlib

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = sorted((ROOT / "examples").glob("*.xml"))
TOOL_DATA = ROOT / "tests" / "data" / "tools"


@pytest.fixture(scope="session")
def gearfile():
    """The gearfile tool of the same build (ctest sets GEARFILE)."""
    path = os.environ.get("GEARFILE", str(ROOT / "build" / "dev" / "tools" / "gearfile" / "gearfile"))
    assert pathlib.Path(path).is_file(), f"no gearfile tool at {path}"
    return path
