#!/usr/bin/python3
"""What Python costs around the lab: the overhead of one sim.step() call, and a 64-point
sweep of slab.toml run serially, on a thread pool, on a process pool and on a Dask
LocalCluster of two single-threaded workers.

Run with the module importable, e.g. from the repository root:
    PYTHONPATH=build/release/python bench/python_bench.py
Prints the best of a few repetitions; the machine's other load shows in the figures.
"""
import concurrent.futures
import multiprocessing
import pathlib
import sys
import time

import numpy as np

import fdtdlab

ROOT = pathlib.Path(__file__).resolve().parents[1]
SLAB = ROOT / "lab" / "scenarios" / "slab.toml"
CALLS = 10_000
REPETITIONS = 5
WORKERS = 2
# 8 x 8 = 64 points: permittivity and last cell of the slab.
SWEEP = {"layer[0].eps_r": [1.5, 1.75, 2.0, 2.25, 2.5, 3.0, 3.5, 4.0],
         "layer[0].last": range(310, 390, 10)}
# A grid small enough that the call, not the step, would dominate.
TINY = """[grid]
cells = 16
cell_size = 1e-3
steps = 1000000000
[source]
cell = 8
"""


def best_of(action, repetitions=REPETITIONS):
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        action()
        times.append(time.perf_counter() - start)
    return min(times)


def step_overhead(scenario):
    """Seconds per call of step(1) beyond the same steps taken by one step(CALLS)."""
    sim = fdtdlab.Simulation(scenario)

    def one_by_one():
        for _ in range(CALLS):
            sim.step(1)

    per_call = best_of(one_by_one) / CALLS
    per_step = best_of(lambda: sim.step(CALLS)) / CALLS
    return per_call, per_step


def report_overhead():
    for name, scenario in (("16 cells", fdtdlab.Scenario.from_string(TINY)),
                           ("slab.toml", fdtdlab.Scenario.from_toml(SLAB))):
        per_call, per_step = step_overhead(scenario)
        print(f"step(1) x {CALLS} on {name}: {per_call * 1e6:.3f} us per call, "
              f"step({CALLS}): {per_step * 1e6:.3f} us per step, "
              f"overhead {(per_call - per_step) * 1e6:.3f} us per call")


def timed_sweep(executor=None):
    start = time.perf_counter()
    table = fdtdlab.sweep(SLAB, SWEEP, executor=executor)
    return time.perf_counter() - start, table


def report_sweeps():
    serial, reference = timed_sweep()
    print(f"64-point sweep, serial: {serial:.2f} s")
    with concurrent.futures.ThreadPoolExecutor(WORKERS) as pool:
        report("thread pool", serial, reference, *timed_sweep(pool))
    context = multiprocessing.get_context("forkserver")
    with concurrent.futures.ProcessPoolExecutor(WORKERS, mp_context=context) as pool:
        pool.submit(int).result()  # workers started before the clock runs
        report("process pool", serial, reference, *timed_sweep(pool))
    try:
        import distributed
    except ImportError:
        print("distributed is not installed: the Dask figure is skipped")
        return
    with distributed.LocalCluster(n_workers=WORKERS, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster:
        with distributed.Client(cluster) as client:
            report("Dask LocalCluster", serial, reference, *timed_sweep(client))


def report(name, serial, reference, seconds, table):
    same = all(np.array_equal(table[c], reference[c]) or
               np.array_equal(table[c], reference[c], equal_nan=True) for c in reference)
    print(f"64-point sweep, {name} ({WORKERS} workers): {seconds:.2f} s, "
          f"{serial / seconds:.2f}x serial, table {'identical' if same else 'DIFFERENT'}")


if __name__ == "__main__":
    report_overhead()
    report_sweeps()
    sys.exit(0)
