"""Sweeps: a scenario run at every combination of a few changed values, on any executor.

Points travel as TOML text and settings (plain picklable values), so a process pool or a
Dask cluster runs them as well as a thread pool; the table is in point order whatever ran it.
"""

import itertools
import os
import warnings

import numpy as np

from . import _core

_SPECTRA_COLUMNS = ("frequency_hz", "R", "T", "R_theory", "T_theory")


class SweepTable(dict):
    """A sweep's table: equal-length numpy arrays by column (the swept keys, then
    frequency_hz, R, T, R_theory, T_theory), one row per point and frequency, points in
    order with the last key changing fastest.

    failures lists the points that have no rows: (index, {key: value}, reason).
    """

    def __init__(self, columns, failures):
        super().__init__(columns)
        self.failures = failures


def _run_point(text, path, settings):
    """One point (module level, so that it pickles): spectra, or why there are none."""
    return _core._run_point(text, path, settings)


def _scenario_of(scenario):
    if isinstance(scenario, _core.Scenario):
        return scenario
    return _core.Scenario.from_toml(os.fspath(scenario))


def _points(scenario, values):
    """The product of the values, as (values, settings) per point; ScenarioError when a key
    cannot be placed in the scenario, TypeError for a value TOML cannot hold."""
    keys = list(values)
    lists = [list(values[key]) for key in keys]
    for key, options in zip(keys, lists):
        if not options:
            raise ValueError(f"sweep: no values for {key}")
        _core._with_value(scenario.text, scenario.file, key, _core._toml_literal(options[0]))
    points = []
    for combination in itertools.product(*lists):
        settings = [(key, _core._toml_literal(v)) for key, v in zip(keys, combination)]
        points.append((combination, settings))
    return keys, points


def _results(tasks, executor):
    if executor is None:
        return [_run_point(*task) for task in tasks]
    # concurrent.futures executors and dask.distributed clients both submit and return
    # futures with result().
    futures = [executor.submit(_run_point, *task) for task in tasks]
    return [future.result() for future in futures]


def _table(keys, points, results):
    columns = {name: [] for name in (*keys, *_SPECTRA_COLUMNS)}
    failures = []
    for index, ((combination, _), result) in enumerate(zip(points, results)):
        if isinstance(result, str):
            failures.append((index, dict(zip(keys, combination)), result))
            continue
        rows = len(result["frequency_hz"])
        for key, value in zip(keys, combination):
            columns[key].append(np.full(rows, value))
        for name in _SPECTRA_COLUMNS:
            columns[name].append(result[name])
    table = {name: np.concatenate(parts) if parts else np.empty(0)
             for name, parts in columns.items()}
    return SweepTable(table, failures)


def sweep(scenario, values, executor=None):
    """Runs the scenario at every combination of values and returns one SweepTable.

    scenario is a Scenario or a file; values maps key paths such as "layer[0].eps_r" to the
    values each takes (any iterable, e.g. a range). executor may be None (points run here,
    one after another), any concurrent.futures.Executor or a dask.distributed.Client.

    A point the scenario checks refuse or that blows up gets no rows: a RuntimeWarning
    names it and why, table.failures lists it, and the other points still finish.
    """
    scenario = _scenario_of(scenario)
    if not scenario.has_spectrum:
        raise ValueError(f"sweep: {scenario.file} has no [spectrum] section")
    keys, points = _points(scenario, values)
    tasks = [(scenario.text, scenario.file, settings) for _, settings in points]
    table = _table(keys, points, _results(tasks, executor))
    for index, settings, reason in table.failures:
        warnings.warn(f"sweep point {index} {settings}: {reason}", RuntimeWarning, stacklevel=2)
    return table
