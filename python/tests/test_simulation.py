"""Simulations from Python: the field views, stepping, probes, blow-ups and spectra, held
against the physics (exact transport at S = 1, Fabry-Perot theory, energy balance)."""

import gc

import numpy as np
import pytest

import fdtdlab

# Vacuum at the magic time step (S = 1): a pulse moves exactly one cell per step.
VACUUM = """[grid]
cells = 800
cell_size = 1e-3
courant = 1.0
steps = 500

[boundary]
left = "abc"
right = "abc"

[source]
type = "soft"
cell = 100
waveform = "gaussian"
delay = 40
width = 8

[[probe]]
name = "near"
cell = 200

[[probe]]
name = "far"
cell = 300
"""


@pytest.fixture
def vacuum():
    return fdtdlab.Simulation(fdtdlab.Scenario.from_string(VACUUM))


def test_a_pulse_in_vacuum_moves_one_cell_per_step(vacuum):
    vacuum.step(200)
    before = vacuum.ez.copy()
    vacuum.step(150)
    shifted = before[150:600]  # right of the source, where only the right-going pulse is
    assert np.abs(shifted).max() > 0.1
    np.testing.assert_allclose(vacuum.ez[300:750], shifted, atol=1e-12 * np.abs(shifted).max())


def test_probes_see_the_pulse_one_step_per_cell_apart(vacuum):
    vacuum.run()
    near, far = vacuum.probes["near"], vacuum.probes["far"]
    assert len(near.ez) == len(near.hy) == vacuum.step_index == 500
    assert np.argmax(far.ez) - np.argmax(near.ez) == far.cell - near.cell


def test_field_views_share_the_solvers_memory_and_follow_it(vacuum):
    ez, hy = vacuum.ez, vacuum.hy
    assert np.shares_memory(ez, vacuum.ez) and np.shares_memory(hy, vacuum.hy)
    vacuum.step(150)
    assert np.abs(ez).max() > 0.1
    np.testing.assert_array_equal(ez, vacuum.ez.copy())
    vacuum.reset()
    assert vacuum.step_index == 0 and not ez.any()
    assert np.shares_memory(ez, vacuum.ez)


def test_field_views_refuse_writes_and_keep_the_simulation_alive(vacuum):
    vacuum.step(150)
    ez = vacuum.ez
    with pytest.raises(ValueError):
        ez[0] = 1.0
    with pytest.raises(ValueError):
        ez.setflags(write=True)
    saved = ez.copy()
    del vacuum
    gc.collect()
    np.testing.assert_array_equal(ez, saved)


def test_time_and_positions_follow_the_grid(vacuum):
    vacuum.step(10)
    dt_s = 1e-3 / 299792458.0  # S dx / c0
    assert vacuum.time_s == pytest.approx(10 * dt_s, rel=1e-9)
    assert vacuum.x_m[799] == pytest.approx(0.799)
    assert len(vacuum.x_m) == len(vacuum.ez) == len(vacuum.hy) == 800


def test_a_run_that_blows_up_raises_with_its_step():
    from conftest import SCENARIOS
    sim = fdtdlab.Simulation(fdtdlab.Scenario.from_toml(SCENARIOS / "instability.toml"))
    with pytest.raises(fdtdlab.UnstableRun) as raised:
        sim.run()
    assert 0 < raised.value.step == sim.step_index < sim.total_steps
    assert np.isfinite(sim.ez).all()
    with pytest.raises(fdtdlab.UnstableRun):
        sim.step()


def test_negative_step_counts_are_refused(vacuum):
    with pytest.raises(ValueError):
        vacuum.step(-1)


def test_slab_spectra_follow_fabry_perot_and_conserve_energy(slab_path):
    sim = fdtdlab.Simulation(fdtdlab.Scenario.from_toml(slab_path))
    sim.run()
    spec = sim.spectra()
    assert set(spec) == {"frequency_hz", "R", "T", "R_theory", "T_theory", "phase_r_rad",
                         "phase_t_rad", "phase_r_theory_rad", "phase_t_theory_rad"}
    resolved = spec["frequency_hz"] <= 37.5e9  # 40 cells per wavelength in the slab
    np.testing.assert_allclose(spec["R"][resolved], spec["R_theory"][resolved], atol=5e-3)
    np.testing.assert_allclose((spec["R"] + spec["T"]), 1.0, atol=1e-3)


def test_a_scenario_without_spectrum_has_empty_spectra(vacuum):
    vacuum.step(5)
    assert all(len(column) == 0 for column in vacuum.spectra().values())
