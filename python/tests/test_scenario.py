"""Scenarios from files and strings, values set by key path, and the errors Python sees:
the same text fdtd-lab prints, split into file, line, column and message."""

import pickle
import subprocess

import pytest

import fdtdlab

BAD_SOURCE_CELL = """[grid]
cells = 100
cell_size = 1e-3
steps = 10

[source]
cell = 150
"""


def test_a_bad_scenario_raises_what_fdtd_lab_prints(tmp_path, program):
    path = tmp_path / "bad.toml"
    path.write_text(BAD_SOURCE_CELL)
    with pytest.raises(fdtdlab.ScenarioError) as raised:
        fdtdlab.Scenario.from_toml(path)
    printed = subprocess.run([program, "run", str(path), "--out", str(tmp_path / "out")],
                             capture_output=True, text=True)
    assert printed.returncode == 2
    assert printed.stderr.strip() == str(raised.value)
    error = raised.value
    assert (error.file, error.line, error.column) == (str(path), 7, 8)
    assert error.message.startswith("source cell 150")


@pytest.mark.parametrize("key, value, line, fragment", [
    ("layer[0].last", 900, 24, "outside the grid"),
    ("grid.courant", 1.5, 8, "courant"),
    ("source.waveform", "square", 18, "allowed: gaussian"),
    ("grid.cells", 2.5, 6, "must be an integer"),
])
def test_a_refused_value_is_located_where_it_was_set(slab_path, key, value, line, fragment):
    scenario = fdtdlab.Scenario.from_toml(slab_path)
    before = scenario.text
    with pytest.raises(fdtdlab.ScenarioError) as raised:
        scenario.set(key, value)
    assert raised.value.line == line
    assert fragment in raised.value.message
    assert scenario.text == before


def test_set_changes_only_the_value_and_adds_missing_keys(slab_path):
    scenario = fdtdlab.Scenario.from_toml(slab_path)
    original = scenario.text.splitlines()
    scenario.set("layer[0].eps_r", 2.25)
    scenario.set("boundary.pml_cells", 12)
    edited = scenario.text.splitlines()
    assert edited[edited.index("[boundary]") + 1] == "pml_cells = 12"
    edited.remove("pml_cells = 12")
    expected = ["eps_r = 2.25" if line == "eps_r = 4.0" else line for line in original]
    assert edited == expected


def test_keys_with_no_place_in_the_scenario_are_refused(slab_path):
    scenario = fdtdlab.Scenario.from_toml(slab_path)
    with pytest.raises(fdtdlab.ScenarioError, match="no table layer.3."):
        scenario.set("layer[3].eps_r", 2.0)
    with pytest.raises(fdtdlab.ScenarioError, match="names a table"):
        scenario.set("grid", 2.0)


@pytest.mark.parametrize("call", [
    lambda s: s.set("layer[0].eps_r", [2.0]),
    lambda s: s.set("layer[0].eps_r", None),
    lambda s: s.set(3, 2.0),
    lambda s: fdtdlab.Scenario.from_toml(3),
    lambda s: fdtdlab.Simulation("slab.toml"),
    lambda s: fdtdlab.Simulation(s).step("ten"),
    lambda s: fdtdlab.stack_reflection([1.0], 1e9),
])
def test_wrong_argument_types_raise_type_error(slab_path, call):
    with pytest.raises(TypeError):
        call(fdtdlab.Scenario.from_toml(slab_path))


def test_a_scenario_pickles_as_its_text(slab_path):
    scenario = fdtdlab.Scenario.from_toml(slab_path)
    scenario.set("layer[0].eps_r", 9.0)
    copy = pickle.loads(pickle.dumps(scenario))
    assert (copy.text, copy.file) == (scenario.text, scenario.file)


def test_from_string_names_its_source_in_messages():
    with pytest.raises(fdtdlab.ScenarioError) as raised:
        fdtdlab.Scenario.from_string(BAD_SOURCE_CELL, name="inline")
    assert raised.value.file == "inline"
    assert raised.value.line == 7


def test_every_public_name_is_documented():
    for name in fdtdlab.__all__:
        assert getattr(fdtdlab, name).__doc__, name
    for method in ("from_toml", "from_string", "set"):
        assert getattr(fdtdlab.Scenario, method).__doc__
    for method in ("step", "run", "reset", "spectra"):
        assert getattr(fdtdlab.Simulation, method).__doc__


def test_a_missing_plain_table_is_added_at_the_end():
    scenario = fdtdlab.Scenario.from_string(BAD_SOURCE_CELL.replace("150", "50"))
    scenario.set("boundary.left", "mur")
    assert scenario.text.endswith("\n[boundary]\nleft = 'mur'\n")
    with pytest.raises(fdtdlab.ScenarioError, match="allowed: pec"):
        scenario.set("boundary.right", "glass")
