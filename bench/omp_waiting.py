#!/usr/bin/python3
"""How the OpenMP team's waiting weighs on `fdtd-lab run` (bench/peer_problem.py's line),
quiet and beside busy processes:

    bench/omp_waiting.py --lab build/release/lab/fdtd-lab [--cells 1e6] [--steps 1000]
                         [--repeats 3] [--busy 0,2]

fdtd-lab waits passively unless told otherwise; GOMP_SPINCOUNT=300000 gives it back the
runtime's own default (spin a while, then sleep). For every count of busy processes (each an
endless loop, started for that part and ended by its id), the two are run interleaved and
the medians of wall and CPU time (user + system of the run) are printed with the load.
"""
import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import peer_problem  # noqa: E402

POLICIES = {"passive (default)": {}, "spin (runtime default)": {"GOMP_SPINCOUNT": "300000"}}


def timed_run(lab, scenario, out, extra_env):
    """Wall and CPU seconds of one whole run."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    env = {k: v for k, v in os.environ.items() if k not in ("OMP_WAIT_POLICY", "GOMP_SPINCOUNT")}
    subprocess.run([lab, "run", scenario, "--out", out], check=True, env=dict(env, **extra_env),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def part(lab, scenario, out, repeats, busy):
    loops = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(busy)]
    try:
        times = {name: [] for name in POLICIES}
        for k in range(repeats):
            order = list(POLICIES.items())
            for name, env in order[k % 2:] + order[:k % 2]:
                times[name].append(timed_run(lab, scenario, out, env))
        load = "/".join(f"{x:.1f}" for x in os.getloadavg())
        for name, runs in times.items():
            wall = statistics.median(w for w, _ in runs)
            cpu = statistics.median(c for _, c in runs)
            print(f"{busy:>5} {name:<24} {wall:8.2f} {cpu:8.2f}   {load}", flush=True)
    finally:
        for loop in loops:
            loop.kill()
            loop.wait()


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--lab", required=True)
    p.add_argument("--cells", type=float, default=1e6)
    p.add_argument("--steps", type=int, default=1000)
    p.add_argument("--repeats", type=int, default=3)
    p.add_argument("--busy", default="0,2", help="counts of busy processes beside the runs")
    a = p.parse_args()
    with tempfile.TemporaryDirectory(dir="/dev/shm") as scratch:
        scenario = os.path.join(scratch, "line.toml")
        with open(scenario, "w", encoding="utf-8") as f:
            f.write(peer_problem.lab_scenario(int(a.cells), a.steps))
        print(f"{int(a.cells):.0e} cells x {a.steps} steps, medians of {a.repeats}\n"
              f"{'busy':>5} {'team waits':<24} {'wall s':>8} {'CPU s':>8}   load 1/5/15 min")
        for busy in (int(b) for b in a.busy.split(",")):
            part(a.lab, scenario, os.path.join(scratch, "out"), a.repeats, busy)


if __name__ == "__main__":
    main()
