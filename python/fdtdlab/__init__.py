"""fdtdlab: the FDTD lab from Python.

Scenarios are the lab's TOML files; a Simulation steps one in C++ with its normalisation
run beside it, shows the fields as numpy arrays and gives R and T against theory.

    import fdtdlab
    sc = fdtdlab.Scenario.from_toml("lab/scenarios/slab.toml")
    sc.set("layer[0].eps_r", 2.25)
    sim = fdtdlab.Simulation(sc)
    sim.run()
    spec = sim.spectra()          # frequency_hz, R, T, R_theory, T_theory
    table = fdtdlab.sweep(sc, {"layer[0].eps_r": [1.5, 2.25, 4.0]})
"""

import os

from ._core import OpticalLayer, Probe, Scenario, Simulation, stack_reflection
from ._core import _run_batch
from ._errors import ScenarioError, UnstableRun
from ._sweep import SweepTable, sweep

__all__ = [
    "OpticalLayer",
    "Probe",
    "Scenario",
    "ScenarioError",
    "Simulation",
    "SweepTable",
    "UnstableRun",
    "run",
    "stack_reflection",
    "sweep",
]

_EXIT_OK, _EXIT_FAILED, _EXIT_BAD_INPUT, _EXIT_UNSTABLE, _EXIT_SIGNAL_BASE = 0, 1, 2, 3, 128
_RUN_FILES = ("fields.csv", "probes.csv", "spectra.csv")


def _steps_written(out):
    """Rows of probes.csv: one per step taken."""
    with open(os.path.join(out, "probes.csv"), encoding="utf-8") as probes:
        return sum(1 for _ in probes) - 1


def run(scenario, out):
    """Runs a scenario file to its end and writes the CSV files `fdtd-lab run` writes.

    Returns the paths written. Raises ScenarioError for a refused scenario, OSError when the
    folder or a file cannot be written, UnstableRun when the run blew up (fields.csv and
    probes.csv then hold the steps up to there), KeyboardInterrupt when a signal stopped it.
    """
    scenario, out = os.fspath(scenario), os.fspath(out)
    status = _run_batch(scenario, out)
    if status == _EXIT_UNSTABLE:
        raise UnstableRun(f"the run of {scenario} blew up", _steps_written(out))
    if status in (_EXIT_FAILED, _EXIT_BAD_INPUT):
        raise OSError(f"fdtd-lab run {scenario} --out {out} failed (status {status})")
    if status >= _EXIT_SIGNAL_BASE:
        raise KeyboardInterrupt(f"stopped by signal {status - _EXIT_SIGNAL_BASE}")
    return [os.path.join(out, name) for name in _RUN_FILES
            if name != "spectra.csv" or Scenario.from_toml(scenario).has_spectrum]
