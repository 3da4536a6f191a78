"""Sweeps: the product of values in a fixed order whatever runs the points (here, a thread
pool, a process pool, a Dask cluster), points that fail reported while the others finish,
and the command line's sweep (whole, or point by point and merged) giving the same table."""

import concurrent.futures
import multiprocessing
import subprocess

import numpy as np
import pytest

import fdtdlab
from conftest import PROGRAM

VALUES = {"layer[0].eps_r": [2.25, 4.0], "layer[0].last": range(330, 360, 29)}
POINTS = [(2.25, 330), (2.25, 359), (4.0, 330), (4.0, 359)]
FREQUENCIES = 200


@pytest.fixture(scope="module")
def slab():
    from conftest import SCENARIOS
    return fdtdlab.Scenario.from_toml(SCENARIOS / "slab.toml")


@pytest.fixture(scope="module")
def serial_table(slab):
    return fdtdlab.sweep(slab, VALUES)


def assert_same_table(a, b):
    assert list(a) == list(b)
    for column in a:
        np.testing.assert_array_equal(a[column], b[column], err_msg=column)


def test_points_come_in_product_order_with_their_spectra(slab, serial_table):
    assert list(serial_table) == [*VALUES, "frequency_hz", "R", "T", "R_theory", "T_theory"]
    assert {len(column) for column in serial_table.values()} == {len(POINTS) * FREQUENCIES}
    for k, (eps_r, last) in enumerate(POINTS):
        rows = slice(k * FREQUENCIES, (k + 1) * FREQUENCIES)
        assert set(serial_table["layer[0].eps_r"][rows]) == {eps_r}
        assert set(serial_table["layer[0].last"][rows]) == {last}
        point = fdtdlab.Scenario.from_string(slab.text, slab.file)
        point.set("layer[0].eps_r", eps_r)
        point.set("layer[0].last", last)
        sim = fdtdlab.Simulation(point)
        sim.run()
        spectra = sim.spectra()
        for column in ("frequency_hz", "R", "T", "R_theory", "T_theory"):
            np.testing.assert_array_equal(serial_table[column][rows], spectra[column])


def test_thread_and_process_pools_give_the_same_table(slab, serial_table):
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        assert_same_table(fdtdlab.sweep(slab, VALUES, executor=pool), serial_table)
    context = multiprocessing.get_context("forkserver")
    with concurrent.futures.ProcessPoolExecutor(2, mp_context=context) as pool:
        assert_same_table(fdtdlab.sweep(slab, VALUES, executor=pool), serial_table)


def test_a_dask_cluster_gives_the_same_table(slab, serial_table):
    distributed = pytest.importorskip("distributed")
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster:
        with distributed.Client(cluster) as client:
            assert_same_table(fdtdlab.sweep(slab, VALUES, executor=client), serial_table)


def test_failing_points_are_named_and_the_others_finish(slab):
    values = {"layer[0].last": [359, 900], "grid.courant": [1.0]}
    with pytest.warns(RuntimeWarning, match="point 1 .*outside the grid"):
        table = fdtdlab.sweep(slab, values)
    assert len(table["R"]) == FREQUENCIES
    [(index, settings, reason)] = table.failures
    assert (index, settings) == (1, {"layer[0].last": 900, "grid.courant": 1.0})
    assert "slab.toml:24:8" in reason


def test_sweeps_without_spectra_or_with_misplaced_keys_are_refused(slab):
    with pytest.raises(fdtdlab.ScenarioError, match="no table layer.4."):
        fdtdlab.sweep(slab, {"layer[4].eps_r": [1.0]})
    with pytest.raises(TypeError):
        fdtdlab.sweep(slab, {"layer[0].eps_r": [None]})
    vacuum = fdtdlab.Scenario.from_string(slab.text.split("[spectrum]")[0])
    with pytest.raises(ValueError, match="spectrum"):
        fdtdlab.sweep(vacuum, {"layer[0].eps_r": [2.0]})


def cli_sweep(*arguments):
    return subprocess.run([str(PROGRAM), "sweep", *arguments], capture_output=True, text=True)


def test_the_command_line_sweep_point_by_point_equals_one_sweep(tmp_path, slab, serial_table):
    settings = ["--set", "layer[0].eps_r=2.25,4.0", "--set", "layer[0].last=330,359"]
    whole = cli_sweep(slab.file, *settings, "--out", str(tmp_path / "whole"), "--jobs", "2")
    assert whole.returncode == 0, whole.stderr
    for k in range(len(POINTS)):
        part = cli_sweep(slab.file, *settings, "--out", str(tmp_path / "parts"), "--index", str(k))
        assert part.returncode == 0, part.stderr
    assert cli_sweep("--merge", str(tmp_path / "parts")).returncode == 0
    merged = (tmp_path / "parts" / "sweep.csv").read_bytes()
    assert merged == (tmp_path / "whole" / "sweep.csv").read_bytes()
    table = np.genfromtxt(tmp_path / "whole" / "sweep.csv", delimiter=",", names=True)
    for column, name in zip(serial_table, table.dtype.names):
        np.testing.assert_allclose(table[name], serial_table[column], rtol=1e-12, equal_nan=True)


def test_the_command_line_names_failing_points_and_missing_parts(tmp_path, slab):
    failing = cli_sweep(slab.file, "--set", "layer[0].last=359,900", "--out", str(tmp_path))
    assert failing.returncode == 4
    assert "point 1 (layer[0].last = 900)" in failing.stderr
    assert len((tmp_path / "sweep.csv").read_text().splitlines()) == 1 + FREQUENCIES
    settings = [slab.file, "--set", "layer[0].last=330,359", "--out", str(tmp_path / "parts")]
    assert cli_sweep(*settings, "--index", "1").returncode == 0
    merge = cli_sweep("--merge", str(tmp_path / "parts"))
    assert merge.returncode == 4 and "point 0 is missing" in merge.stderr
