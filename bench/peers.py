#!/usr/bin/python3
"""fdtd-lab run against its peers on one problem (peer_problem.py: a soft Gaussian pulse,
an eps_r = 4 slab, two probes read every step), as whole processes run interleaved:

    bench/peers.py --lab build/release/lab/fdtd-lab [--cells 1e3,1e4,1e5,1e6,1e7]
                   [--steps 1000] [--repeats 5] [--numpy-cells 1e6] [--meep-cells 1e7]

For every size each repetition runs the lab, MEEP (peer_meep.py) and numpy
(peer_numpy_lab.py) once, in an order that turns from one repetition to the next, and the
table gives the median wall time of each and the peers' times over the lab's, then the same
for CPU time (user + system, which a loaded machine disturbs less), with the load average
before and after the size; MEEP's time after `import meep` (which also loads
matplotlib and IPython) is given beside its whole process. The lab's time includes writing fields.csv (one
row per cell) and probes.csv as it goes; the peers keep the probe values and write
probes.csv at the end. Outputs go to a scratch folder in /dev/shm (fsync is free there).

MEEP is Debian's python3-meep: when `import meep` fails this script installs it with
apt-get (nothing else does), unless --no-install; a peer that cannot run is left out and
said so. Whatever fdtd-lab --lab names is run as it is.
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import peer_problem  # noqa: E402

PYTHON = "/usr/bin/python3"  # Debian's, where python3-numpy and python3-meep are
MEEP_PACKAGE = "python3-meep"


def has_module(name):
    return subprocess.run([PYTHON, "-c", f"import {name}"], capture_output=True).returncode == 0


def install_meep():
    """True when meep can be imported, installing Debian's package if it is missing."""
    if has_module("meep"):
        return True
    print(f"installing {MEEP_PACKAGE} (apt-get) for the MEEP peer ...", flush=True)
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.STDOUT}
    subprocess.run(["apt-get", "update"], **quiet)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", MEEP_PACKAGE],
                   env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"), **quiet)
    if has_module("meep"):
        return True
    print(f"{MEEP_PACKAGE} would not install or import: the MEEP peer is left out")
    return False


def children_cpu_seconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(command):
    """Wall and CPU (user + system) seconds of one whole process, and its seconds after its
    imports when it says them (a line "seconds after import: S"); None when it failed."""
    cpu_before, start = children_cpu_seconds(), time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    seconds, cpu = time.perf_counter() - start, children_cpu_seconds() - cpu_before
    if done.returncode != 0:
        print(f"failed ({done.returncode}): {' '.join(command)}\n{done.stderr.decode()}")
        return None
    said = [line for line in done.stdout.decode().split("\n")
            if line.startswith("seconds after import:")]
    return seconds, cpu, float(said[0].split(":")[1]) if said else None


def commands(args, cells, scratch, meep):
    """The programs to run at this size, by name."""
    scenario = os.path.join(scratch, f"common-{cells}.toml")
    with open(scenario, "w", encoding="utf-8") as out:
        out.write(peer_problem.lab_scenario(cells, args.steps))
    runs = {"lab": [args.lab, "run", scenario, "--out", os.path.join(scratch, "lab")]}
    if meep and cells <= args.meep_cells:
        runs["meep"] = [PYTHON, os.path.join(HERE, "peer_meep.py"), str(cells),
                        str(args.steps), os.path.join(scratch, "meep")]
    if cells <= args.numpy_cells:
        runs["numpy"] = [PYTHON, os.path.join(HERE, "peer_numpy_lab.py"), str(cells),
                         str(args.steps), os.path.join(scratch, "numpy")]
    return runs


def measure(runs, repeats):
    """Median wall seconds of each program over interleaved repetitions, of MEEP after its
    import ("meep run"), and median CPU seconds (as "NAME cpu")."""
    times = {}
    names = list(runs)
    for r in range(repeats):
        for name in names[r % len(names):] + names[:r % len(names)]:
            result = timed(runs[name])
            if result is None:
                continue
            seconds, cpu, after_import = result
            times.setdefault(name, []).append(seconds)
            times.setdefault(name + " cpu", []).append(cpu)
            if after_import is not None:
                times.setdefault(name + " run", []).append(after_import)
    return {name: statistics.median(t) for name, t in times.items()}


def load():
    return os.getloadavg()[0]


def time_and_ratio(medians, peer, lab):
    t = medians.get(peer)
    return [f"{t:.3g}", f"{t / lab:.2f}"] if t and lab else ["-", "-"]


def row(cells, medians, load_before, load_after):
    lab, lab_cpu = medians.get("lab"), medians.get("lab cpu")
    cols = [f"1e{len(str(cells)) - 1}", f"{lab:.3g}" if lab else "-"]
    for peer in ("meep", "meep run", "numpy"):
        cols += time_and_ratio(medians, peer, lab)
    cols.append(f"{lab_cpu:.3g}" if lab_cpu else "-")
    for peer in ("meep cpu", "numpy cpu"):
        cols += time_and_ratio(medians, peer, lab_cpu)
    cols.append(f"{load_before:.1f} / {load_after:.1f}")
    return "| " + " | ".join(cols) + " |"


def parse():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--lab", required=True, help="the fdtd-lab program to time")
    p.add_argument("--cells", default="1e3,1e4,1e5,1e6,1e7")
    p.add_argument("--steps", type=int, default=1000)
    p.add_argument("--repeats", type=int, default=5)
    p.add_argument("--numpy-cells", type=float, default=1e6, help="largest size for numpy")
    p.add_argument("--meep-cells", type=float, default=1e7, help="largest size for MEEP")
    p.add_argument("--no-install", action="store_true", help="never install python3-meep")
    return p.parse_args()


def main():
    args = parse()
    meep = has_module("meep") if args.no_install else install_meep()
    scratch = tempfile.mkdtemp(prefix="fdtd-peers-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    print(f"{time.strftime('%Y-%m-%d %H:%M')}, {os.cpu_count()} cores, {args.steps} steps, "
          f"medians of {args.repeats} interleaved runs, seconds per whole process\n")
    print("| cells | lab s | MEEP s | MEEP / lab | MEEP after import s | that / lab | numpy s "
          "| numpy / lab | lab CPU s | MEEP CPU s | MEEP / lab | numpy CPU s | numpy / lab "
          "| load before / after |")
    print("|" + "---|" * 14)
    try:
        for cells in (int(float(c)) for c in args.cells.split(",")):
            before = load()
            medians = measure(commands(args, cells, scratch, meep), args.repeats)
            print(row(cells, medians, before, load()), flush=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
