#!/usr/bin/python3
"""The common problem of bench/peers.py (see peer_problem.py) run by MEEP, for a ratio
against fdtd-lab run. Usage: peer_meep.py CELLS STEPS OUT_FOLDER

MEEP comes from Debian's python3-meep, which bench/peers.py installs when it is missing
(nothing else installs it); without it this script says so and exits 0. MEEP works in
units of a length a: here a is 20 cells (resolution 20), the source is its Gaussian pulse
(a Gaussian-modulated sine at a vacuum wavelength of 20 cells) on Ex, added to the field as
the lab's soft source is, and a step function reads Ex and Hy at both probes after every
step. The probe table is written at the end. A line "seconds after import: S" gives the time from after
`import meep` (which loads matplotlib and IPython too) to the end.
"""
import os
import sys
import time

try:
    import meep as mp
except ImportError:
    print("meep is not installed (Debian: python3-meep): peer skipped")
    sys.exit(0)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peer_problem  # noqa: E402

RESOLUTION = 20  # cells per unit length a
PULSE_FREQUENCY = 1.0  # c / a: a wavelength of 20 cells in vacuum
PULSE_BANDWIDTH = 0.5


def position(cell, cells):
    """The z of a cell's node in MEEP's cell, which is centred on 0."""
    return mp.Vector3(0, 0, (cell - cells / 2) / RESOLUTION)


def simulation(cells):
    place = peer_problem.layout(cells)
    thickness = place["slab_last"] - place["slab_first"] + 1
    slab = mp.Block(size=mp.Vector3(mp.inf, mp.inf, thickness / RESOLUTION),
                    center=position(place["slab_first"] + thickness / 2, cells),
                    material=mp.Medium(epsilon=peer_problem.SLAB_EPS_R))
    pulse = mp.Source(mp.GaussianSource(PULSE_FREQUENCY, fwidth=PULSE_BANDWIDTH),
                      component=mp.Ex, center=position(place["source"], cells))
    return mp.Simulation(cell_size=mp.Vector3(0, 0, cells / RESOLUTION), dimensions=1,
                         resolution=RESOLUTION, Courant=peer_problem.COURANT,
                         geometry=[slab], sources=[pulse])


def main():
    cells, steps, out = int(float(sys.argv[1])), int(sys.argv[2]), sys.argv[3]
    start = time.perf_counter()
    mp.verbosity(0)
    sim = simulation(cells)
    place = peer_problem.layout(cells)
    points = [position(cell, cells) for cell in place["probes"].values()]
    columns = [[] for _ in range(2 * len(points))]

    def record(sim):
        for i, point in enumerate(points):
            columns[2 * i].append(sim.get_field_point(mp.Ex, point).real)
            columns[2 * i + 1].append(sim.get_field_point(mp.Hy, point).real)

    # Half a step short of the end, so that rounding cannot add a step.
    sim.run(record, until=(steps - 0.5) * peer_problem.COURANT / RESOLUTION)
    os.makedirs(out, exist_ok=True)
    peer_problem.write_probe_table(os.path.join(out, "probes.csv"), place["probes"], columns)
    print(f"meep: {cells} cells, {len(columns[0])} steps")
    print(f"seconds after import: {time.perf_counter() - start:.6g}")


if __name__ == "__main__":
    main()
