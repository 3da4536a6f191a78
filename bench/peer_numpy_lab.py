#!/usr/bin/python3
"""The lab solver's update loop written with numpy, for a ratio against bench_lab_step.

Needs python3-numpy (Debian: apt-get install --no-install-recommends python3-numpy);
without it the script says so and exits 0. For 1e3 .. 1e7 cells it times one step
(Hy sweep, then Ez sweep with per-cell coefficients, as the lab does) and prints the
median of several repetitions as cell updates per second.
"""
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


def main():
    print(f"{'cells':>10} {'updates/s':>14}")
    for cells in CELL_COUNTS:
        print(f"{cells:>10} {updates_per_second(cells):>14.4g}")


if __name__ == "__main__":
    main()
