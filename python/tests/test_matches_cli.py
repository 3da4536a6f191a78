"""The module computes what fdtd-lab computes: fdtdlab.run writes the very files, and a
Simulation's fields, probes and spectra equal the CSV values to 1e-12, for every shipped
scenario."""

import subprocess

import numpy as np
import pytest

import fdtdlab
from conftest import PROGRAM, SCENARIOS

SHIPPED = sorted(SCENARIOS.glob("*.toml"))
UNSTABLE_STATUS = 3


def read_csv(path):
    table = np.genfromtxt(path, delimiter=",", names=True, dtype=float)
    return {name: np.atleast_1d(table[name]) for name in table.dtype.names}


def assert_close(actual, expected):
    np.testing.assert_allclose(actual, expected, rtol=1e-12, atol=1e-12 * np.nanmax(
        np.abs(expected), initial=1.0), equal_nan=True)


@pytest.fixture(scope="module", params=SHIPPED, ids=lambda path: path.stem)
def runs(request, tmp_path_factory):
    """The scenario run by fdtd-lab (its folder and status) and by a Simulation."""
    out = tmp_path_factory.mktemp(request.param.stem)
    status = subprocess.run([str(PROGRAM), "run",
                             str(request.param), "--out", str(out / "cli")],
                            capture_output=True).returncode
    sim = fdtdlab.Simulation(fdtdlab.Scenario.from_toml(request.param))
    try:
        sim.run()
    except fdtdlab.UnstableRun:
        pass
    return request.param, out, status, sim


def test_run_writes_the_files_fdtd_lab_writes(runs):
    scenario, out, status, _ = runs
    if status == UNSTABLE_STATUS:
        with pytest.raises(fdtdlab.UnstableRun):
            fdtdlab.run(scenario, out / "module")
    else:
        assert status == 0
        written = fdtdlab.run(scenario, out=out / "module")
        assert written
        for path in written:
            name = path.rsplit("/", 1)[-1]
            assert (out / "cli" / name).read_bytes() == (out / "module" / name).read_bytes()


def test_simulation_arrays_equal_the_csv_values(runs):
    _, out, status, sim = runs
    fields = read_csv(out / "cli" / "fields.csv")
    assert_close(sim.ez, fields["Ez"])
    assert_close(sim.hy, fields["Hy"])
    assert_close(sim.x_m, fields["x_m"])
    probes = read_csv(out / "cli" / "probes.csv")
    assert len(probes["step"]) == sim.step_index
    for name, probe in sim.probes.items():
        assert_close(probe.ez, probes[f"{name}_Ez"])
        assert_close(probe.hy, probes[f"{name}_Hy"])
    if (out / "cli" / "spectra.csv").exists() and status == 0:
        spectra = read_csv(out / "cli" / "spectra.csv")
        for column, values in sim.spectra().items():
            assert_close(values, spectra[column])
