#!/usr/bin/python3
"""Every speed goal measured in one go, for a quiet machine (about six minutes quiet, more when shared):

    bench/speed_goals.py [--build build/release] [--repeats 5] [--peer-repeats 5]

  solver     cell updates per second at 1e6 and 1e7 cells, one and two threads, plain steps
             and blocks of steps (bench_lab_step), and the share of a non-temporal triad's
             bandwidth that the bytes they move reach           goal: blocks >= 1.5e9 /s
  peers      fdtd-lab run against MEEP at 1e6 cells x 1000 steps, whole processes
             interleaved (bench/peers.py, which installs python3-meep when it is missing)
                                                                goal: MEEP / lab >= 3
  view       one step per frame on 1e6 cells and on 1e6-step histories against 1e3 cells,
             steps per second under the window's cap of 60 frames (bench_lab_view)
                                                                goal: >= 90 %
             the slab's redraw against its plain-OpenGL floor   goal: <= 2
  fdtd1d     its redraw against its floor (bench_redraw)        goal: <= 1.25
             matplotlib's redraw of the same picture (bench/peer_matplotlib.py) over an idle
             turn of fdtd1d (one step, bench_step, and one redraw)   goal: >= 20

Figures are medians of the repetitions; the load average is printed before and after each
part, since a shared machine lowers every figure (ratios measured side by side suffer less).
Pictures are drawn under xvfb-run.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset"]
FRAME_CAP_PER_S = 60.0
NT_BYTES_PER_ELEMENT = 24.0  # a triad with non-temporal stores: two reads, one write
PLAIN_BYTES_PER_CELL_STEP = 48.0  # two sweeps, each reading two arrays and writing one
BLOCK_STEPS = 32  # bench_lab_step's blocks: Ez and Hy read and written once per block
BLOCKED_BYTES_PER_CELL_STEP = 32.0 / BLOCK_STEPS


def load():
    return "/".join(f"{x:.1f}" for x in os.getloadavg())


def medians(program, regex, repeats, display=False, extra=()):
    """Median real time (s) and counters of every benchmark matching regex, by name."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        command = [program, f"--benchmark_filter={regex}", f"--benchmark_repetitions={repeats}",
                   "--benchmark_enable_random_interleaving=true",
                   f"--benchmark_out={out.name}", "--benchmark_out_format=json", *extra]
        subprocess.run((XVFB if display else []) + command, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        runs = json.load(open(out.name))["benchmarks"]
    found = {}
    for run in runs:
        if run.get("aggregate_name", "median") != "median":
            continue
        if run.get("run_type") == "iteration" and repeats > 1:
            continue
        seconds = run["real_time"] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1}[run["time_unit"]]
        found[run["run_name"]] = dict(run, seconds=seconds)
    return found


def goal(met):
    return "met" if met else "MISSED"


def solver(build, repeats):
    print(f"\n== solver (bench_lab_step), load {load()}")
    sizes = {"1e6": 1_000_000, "1e7": 10_000_000}
    regex = "(BM_LabStep|BM_LabStepSerial|BM_LabBlocked|BM_Triad<true>)/(1000000|10000000)"
    m = medians(os.path.join(build, "bench/bench_lab_step"), regex, repeats)
    rate = lambda name: m.get(name, {}).get("items_per_second", float("nan"))
    nt = lambda n, team: m.get(f"BM_Triad<true>/{n}/{team}/real_time", {}).get(
        "bytes_per_second", float("nan"))
    print(f"{'cells':>6} {'threads':>7} {'plain /s':>10} {'blocks /s':>10} {'nt triad':>9} "
          f"{'plain share':>11} {'block share':>11}  goal 1.5e9")
    for label, n in sizes.items():
        for team, plain in ((1, f"BM_LabStepSerial/{n}/real_time"), (2, f"BM_LabStep/{n}/real_time")):
            blocks = rate(f"BM_LabBlocked/{n}/{team}/real_time")
            floor = nt(n, team)
            print(f"{label:>6} {team:>7} {rate(plain):10.3g} {blocks:10.3g} {floor / 1e9:8.3g}G "
                  f"{rate(plain) * PLAIN_BYTES_PER_CELL_STEP / floor:11.2f} "
                  f"{blocks * BLOCKED_BYTES_PER_CELL_STEP / floor:11.3f}  {goal(blocks >= 1.5e9)}")
    print(f"(two threads: plain steps on the grid's own team; load after {load()})")


def peers(build, repeats):
    print(f"\n== fdtd-lab run against MEEP at 1e6 cells (bench/peers.py), load {load()}",
          flush=True)
    subprocess.run([sys.executable, os.path.join(HERE, "peers.py"), "--lab",
                    os.path.join(build, "lab/fdtd-lab"), "--cells", "1e6", "--repeats",
                    str(repeats), "--numpy-cells", "1e5"], check=False)
    print("goal: MEEP / lab >= 3 (wall, quiet machine)")


def view(build, repeats):
    print(f"\n== the lab's view (bench_lab_view), load {load()}", flush=True)
    regex = "BM_FrameAtScale|BM_Redraw/large:0|BM_RedrawFloor/large:0"
    m = medians(os.path.join(build, "bench/bench_lab_view"), regex, repeats, display=True)
    steps_per_s = lambda line: min(FRAME_CAP_PER_S,
                                   1 / m[f"BM_FrameAtScale/line:{line}/real_time"]["seconds"])
    small = steps_per_s(2)
    for name, line in (("1e6 cells", 3), ("1e6-step histories", 4)):
        share = steps_per_s(line) / small
        print(f"1 step/frame, {name:<19} {steps_per_s(line):6.1f} steps/s against {small:6.1f} "
              f"on 1e3 cells: {100 * share:5.1f} %   goal >= 90 %: {goal(share >= 0.9)}")
    redraw = m["BM_Redraw/large:0/real_time"]["seconds"]
    floor = m["BM_RedrawFloor/large:0/real_time"]["seconds"]
    print(f"slab redraw {1e3 * redraw:.2f} ms, floor {1e3 * floor:.2f} ms: "
          f"{redraw / floor:.2f} x   goal <= 2: {goal(redraw / floor <= 2)}")


def matplotlib_redraw_s():
    sys.path.insert(0, HERE)
    import peer_matplotlib  # noqa: E402 (says so and leaves when matplotlib is missing)
    figure = peer_matplotlib.fdtd_figure()
    figure.canvas.draw()
    return peer_matplotlib.median_ms(figure.canvas.draw) / 1e3


def fdtd1d(build, repeats):
    print(f"\n== fdtd1d (bench_redraw, bench_step, matplotlib), load {load()}", flush=True)
    m = medians(os.path.join(build, "bench/bench_redraw"), "BM_Redraw$|BM_TrueFloor", repeats,
                display=True)
    redraw, floor = m["BM_Redraw"]["seconds"], m["BM_TrueFloor"]["seconds"]
    print(f"redraw {1e3 * redraw:.3f} ms, floor {1e3 * floor:.3f} ms: {redraw / floor:.2f} x   "
          f"goal <= 1.25: {goal(redraw / floor <= 1.25)}")
    step = medians(os.path.join(build, "bench/bench_step"), "BM_StepBackToBack/policy:2",
                   repeats)["BM_StepBackToBack/policy:2"]["seconds"]
    peer = matplotlib_redraw_s()
    turn = step + redraw
    print(f"idle turn {1e3 * turn:.3f} ms (step {1e6 * step:.2f} us), matplotlib redraw "
          f"{1e3 * peer:.1f} ms: {peer / turn:.1f} x   goal >= 20: {goal(peer / turn >= 20)}")


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--build", default="build/release")
    p.add_argument("--repeats", type=int, default=5, help="of each benchmark")
    p.add_argument("--peer-repeats", type=int, default=5, help="of the lab/MEEP pair")
    a = p.parse_args()
    print(f"speed goals, {os.cpu_count()} cores, load average (1/5/15 min) {load()}")
    solver(a.build, a.repeats)
    view(a.build, a.repeats)
    fdtd1d(a.build, a.repeats)
    peers(a.build, a.peer_repeats)
    print(f"\nload average at the end {load()}")


if __name__ == "__main__":
    main()
