#!/usr/bin/python3
"""The lab solver's update loop written with numpy, for a ratio against bench_lab_step.

Needs python3-numpy (Debian: apt-get install --no-install-recommends python3-numpy);
without it the script says so and exits 0. For 1e3 .. 1e7 cells it times one step
(Hy sweep, then Ez sweep with per-cell coefficients, as the lab does) and prints the
median of several repetitions as cell updates per second.

With arguments CELLS STEPS OUT_FOLDER it runs the common problem of bench/peers.py
instead (see peer_problem.py) and writes its probe table at the end.
"""
import math
import os
import statistics
import sys
import time

try:
    import numpy as np
except ImportError:
    print("numpy is not installed: peer benchmark skipped")
    sys.exit(0)

CELL_COUNTS = [10**k for k in range(3, 8)]
REPETITIONS = 5
MIN_SECONDS = 0.5  # per repetition, as Google Benchmark's default


def make_grid(cells):
    """Vacuum at S = 0.9 in units where eta0 = 1: ca = 1, cb = db = S."""
    ez = np.zeros(cells)
    hy = np.zeros(cells)
    ca = np.ones(cells)
    cb = np.full(cells, 0.9)
    db = np.full(cells, 0.9)
    ez[cells // 2] = 1.0
    return ez, hy, ca, cb, db


def step(ez, hy, ca, cb, db):
    """One leapfrog step in place, the same arithmetic per cell as the lab's sweeps."""
    hy[:-1] += db[:-1] * (ez[1:] - ez[:-1])
    ez[1:-1] = ca[1:-1] * ez[1:-1] + cb[1:-1] * (hy[1:-1] - hy[:-2])


def updates_per_second(cells):
    grid = make_grid(cells)
    rates = []
    for _ in range(REPETITIONS):
        steps = 0
        start = time.perf_counter()
        while True:
            step(*grid)
            steps += 1
            elapsed = time.perf_counter() - start
            if elapsed >= MIN_SECONDS:
                break
        rates.append(steps * cells / elapsed)
    return statistics.median(rates)


def common_problem(cells, steps, out):
    """The slab between two walls, a soft Gaussian pulse, two probes read every step."""
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import peer_problem

    place = peer_problem.layout(cells)
    s = peer_problem.COURANT
    ez, hy = np.zeros(cells), np.zeros(cells)
    ca, db = np.ones(cells), np.full(cells, s)
    cb = np.full(cells, s)
    cb[place["slab_first"]:place["slab_last"] + 1] /= peer_problem.SLAB_EPS_R
    probes = list(place["probes"].values())
    columns = np.zeros((2 * len(probes), steps))
    for n in range(steps):
        step(ez, hy, ca, cb, db)
        pulse = (n - peer_problem.PULSE_DELAY_STEPS) / peer_problem.PULSE_WIDTH_STEPS
        ez[place["source"]] += math.exp(-pulse * pulse)
        columns[0::2, n] = ez[probes]
        columns[1::2, n] = hy[probes]
    os.makedirs(out, exist_ok=True)
    peer_problem.write_probe_table(os.path.join(out, "probes.csv"), place["probes"], columns)
    print(f"numpy: {cells} cells, {steps} steps")


def main():
    if len(sys.argv) == 4:
        common_problem(int(float(sys.argv[1])), int(sys.argv[2]), sys.argv[3])
        return
    print(f"{'cells':>10} {'updates/s':>14}")
    for cells in CELL_COUNTS:
        print(f"{cells:>10} {updates_per_second(cells):>14.4g}")


if __name__ == "__main__":
    main()
