"""Where the tests find the lab: its program, its scenarios and the docs, from CTest's
environment (or the source tree and the release build when run by hand)."""

import os
import pathlib

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]


def _from_environment(name, fallback):
    return pathlib.Path(os.environ.get(name, fallback))


SCENARIOS = _from_environment("FDTD_LAB_SCENARIOS", ROOT / "lab" / "scenarios")
PROGRAM = _from_environment("FDTD_LAB_PROGRAM", ROOT / "build" / "release" / "lab" / "fdtd-lab")
DOCS = _from_environment("FDTD_LAB_DOCS", ROOT / "docs")


@pytest.fixture
def slab_path():
    return SCENARIOS / "slab.toml"


@pytest.fixture
def program():
    return str(PROGRAM)
