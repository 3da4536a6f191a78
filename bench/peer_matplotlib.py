#!/usr/bin/python3
"""The pictures of bench_redraw and bench_scaling drawn and exported with matplotlib (Agg),
so that the engine's figures can be set beside a widely used plotting library's.

Needs python3-matplotlib (Debian: apt-get install --no-install-recommends python3-matplotlib);
without it the script says so and exits 0. Prints the median of several runs per case:

  fdtd1d picture   redraw (canvas.draw) and EPS export into memory
  line of N        redraw, EPS export and its size, N = 1e3 .. 1e6
  contours n x n   redraw of contours already computed, and contour() plus redraw
"""
import io
import math
import statistics
import sys
import time

try:
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    import numpy as np
except ImportError:
    print("matplotlib is not installed: peer benchmarks skipped")
    sys.exit(0)

WINDOW_INCHES = (8, 4)  # 800 x 400 pixels at 100 dpi, the engine's window
DPI = 100
REPEATS = 15
GRID_CELLS = 200
STEP_LIMIT = 1000
PROBE_CELL = 50
ETA0 = 120 * math.pi
SOURCE_DELAY = 30.0
SOURCE_WIDTH = 100.0
CONTOUR_LEVELS = 10


def median_ms(action, repeats=REPEATS):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        action()
        times.append((time.perf_counter() - start) * 1e3)
    return statistics.median(times)


def eps_bytes(figure):
    buffer = io.BytesIO()
    figure.savefig(buffer, format="eps")
    return buffer.getbuffer().nbytes


def fdtd_run():
    """The 1D leapfrog run of fdtd1d: Ez, Hz after 1001 steps and the history of Ez[50]."""
    ez = np.zeros(GRID_CELLS)
    hz = np.zeros(GRID_CELLS)
    history = []
    for step in range(STEP_LIMIT + 1):
        hz[:-1] += (ez[1:] - ez[:-1]) / ETA0
        ez[1:] += (hz[1:] - hz[:-1]) * ETA0
        ez[0] = math.exp(-((step - SOURCE_DELAY) ** 2) / SOURCE_WIDTH)
        history.append(ez[PROBE_CELL])
    return ez, hz, np.array(history)


def fdtd_figure():
    ez, hz, history = fdtd_run()
    cells = np.arange(GRID_CELLS)
    figure, (top, middle, bottom) = plt.subplots(3, 1, figsize=WINDOW_INCHES, dpi=DPI)
    top.plot(cells, ez, "r", linewidth=0.5)
    top.set(title="Ez in space", xlim=(0, GRID_CELLS), ylim=(-2, 2))
    middle.plot(cells, hz, "b", linewidth=0.5)
    middle.set(title="Hz in space")
    bottom.plot(history, "b", linewidth=0.5)
    bottom.set(title="Ez at point x[50]", xlim=(0, len(history)), ylim=(-1, 1))
    return figure


def line_figure(n):
    i = np.arange(n, dtype=float)
    y = np.sin(2 * math.pi * 5 * i / n) + 0.3 * np.sin(i * 1.7)
    figure, axes = plt.subplots(figsize=WINDOW_INCHES, dpi=DPI)
    axes.plot(i, y, "b", linewidth=0.5)
    return figure


def contour_grid(n):
    x = np.linspace(0, 1, n)
    gx, gy = np.meshgrid(x, x)

    def peak(dx, dy, width):
        return np.exp(-(dx * dx + dy * dy) / (2 * width * width))

    z = peak(gx - 0.35, gy - 0.4, 0.15) + 0.6 * peak(gx - 0.7, gy - 0.65, 0.1)
    levels = [k / (CONTOUR_LEVELS + 1.0) for k in range(1, CONTOUR_LEVELS + 1)]
    return x, z, levels


def report(name, **figures):
    values = "  ".join(f"{key} {value:9.2f}" for key, value in figures.items())
    print(f"{name:<22} {values}", flush=True)


def main():
    print(f"matplotlib {matplotlib.__version__}, Agg, {WINDOW_INCHES[0] * DPI} x "
          f"{WINDOW_INCHES[1] * DPI} pixels, medians of {REPEATS} runs (ms, kB)")
    figure = fdtd_figure()
    figure.canvas.draw()
    report("fdtd1d", redraw_ms=median_ms(figure.canvas.draw),
           export_ms=median_ms(lambda: eps_bytes(figure)), eps_kB=eps_bytes(figure) / 1024)
    plt.close(figure)

    for exponent in range(3, 7):
        figure = line_figure(10**exponent)
        figure.canvas.draw()
        report(f"line 1e{exponent}", redraw_ms=median_ms(figure.canvas.draw),
               export_ms=median_ms(lambda: eps_bytes(figure), repeats=5),
               eps_kB=eps_bytes(figure) / 1024)
        plt.close(figure)

    for n in (256, 512, 1024):
        x, z, levels = contour_grid(n)
        figure, axes = plt.subplots(figsize=WINDOW_INCHES, dpi=DPI)
        axes.contour(x, x, z, levels, colors="k")
        figure.canvas.draw()

        def trace_and_draw():
            axes.clear()
            axes.contour(x, x, z, levels, colors="k")
            figure.canvas.draw()

        report(f"contours {n}x{n}", redraw_ms=median_ms(figure.canvas.draw, repeats=5),
               trace_and_redraw_ms=median_ms(trace_and_draw, repeats=5))
        plt.close(figure)


if __name__ == "__main__":
    main()
