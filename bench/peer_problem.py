"""The problem fdtd-lab and its peers run alike in bench/peers.py: a line of CELLS cells
between two perfect electric walls at Courant number 0.5, a soft Gaussian source, a slab of
eps_r = 4 a tenth of the line thick and two probes whose Ez (Ex) and Hy are taken after
every step, for STEPS steps. Positions are fractions of the line, so every size holds the
same picture.
"""

COURANT = 0.5
SLAB_EPS_R = 4.0
PULSE_DELAY_STEPS = 60
PULSE_WIDTH_STEPS = 10
CELL_SIZE_M = 1e-4


def layout(cells):
    """Cells of the source, the slab's first and last, and the two probes."""
    slab_first = cells // 2
    return {
        "source": cells // 6,
        "slab_first": slab_first,
        "slab_last": slab_first + max(cells // 10, 1) - 1,
        "probes": {"reflected": cells // 3, "transmitted": 5 * cells // 6},
    }


def lab_scenario(cells, steps):
    """The problem as an fdtd-lab scenario file."""
    place = layout(cells)
    probes = "".join(f'\n[[probe]]\nname = "{name}"\ncell = {cell}\n'
                     for name, cell in place["probes"].items())
    return f"""[grid]
cells = {cells}
cell_size = {CELL_SIZE_M}
courant = {COURANT}
steps = {steps}

[boundary]
left = "pec"
right = "pec"

[source]
type = "soft"
cell = {place["source"]}
waveform = "gaussian"
delay = {PULSE_DELAY_STEPS}
width = {PULSE_WIDTH_STEPS}

[[layer]]
first = {place["slab_first"]}
last = {place["slab_last"]}
eps_r = {SLAB_EPS_R}
{probes}"""


def write_probe_table(path, names, columns):
    """probes.csv as the peers write it at the end: step, then Ez and Hy of each probe."""
    with open(path, "w", encoding="utf-8") as table:
        table.write("step," + ",".join(f"{n}_Ez,{n}_Hy" for n in names) + "\n")
        for step, row in enumerate(zip(*columns)):
            table.write(f"{step}," + ",".join(repr(float(v)) for v in row) + "\n")
