#!/usr/bin/python3
"""The lab's page against the desktop: the page's size (and gzipped), the time from opening
it to its first frame in headless Chromium, frames per second of slab.toml at 10 steps per
frame, and a solver step in WebAssembly against the native one. The desktop figures come
from bench_lab_view (BM_Frame and BM_Steps for slab at 10 steps per frame), run under
xvfb-run when there is no display.

Usage: bench/web_bench.py [BUILD_DIR]   (the native build; default build/release)"""
import gzip
import json
import os
import shutil
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "web"))
import browser  # noqa: E402

LOADS = 5               # openings timed to the first frame
STEPS_PER_FRAME = 10
MEASURED_MS = 5000      # of paced frames
TIMED_STEPS = 20000     # of the solver alone, paused


def page_sizes():
    with open(browser.PAGE, "rb") as f:
        data = f.read()
    return len(data), len(gzip.compress(data, 9))


def first_frame_ms(driver):
    times = []
    for _ in range(LOADS):
        browser.open_page(driver)
        times.append(driver.execute_script("return fdtdLab.firstFrameMs;"))
    return statistics.median(times)


# Frames the browser paces (requestAnimationFrame and the page's schedule of 60 per
# second), and the cost of a frame unpaced: 10 steps and a redraw, back to back.
PACED = """
const done = arguments[0];
fdtdLab.load(fdtdLab.shipped('slab.toml'), 'slab.toml');
fdtdLab.stepsPerFrame(%d); fdtdLab.run(true);
let offered = 0;
const count = () => { ++offered; requestAnimationFrame(count); };
requestAnimationFrame(count);
const start = performance.now(), steps = fdtdLab.stepCount();
setTimeout(() => done([(fdtdLab.stepCount() - steps) / %d, offered,
                       (performance.now() - start) / 1000]), %d);
""" % (STEPS_PER_FRAME, STEPS_PER_FRAME, MEASURED_MS)

UNPACED = """
fdtdLab.load(fdtdLab.shipped('slab.toml'), 'slab.toml'); fdtdLab.run(false);
const frames = 200, start = performance.now();
for (let i = 0; i < frames; ++i) { fdtdLab.step(%d); fdtdLab.redraw(); }
return frames / ((performance.now() - start) / 1000);
""" % STEPS_PER_FRAME

STEPS = """
fdtdLab.load(fdtdLab.shipped('slab.toml'), 'slab.toml'); fdtdLab.run(false);
let done = 0; const start = performance.now();
while (done < %d) { const before = fdtdLab.stepCount(); fdtdLab.step(100);
  if (fdtdLab.stepCount() == before) fdtdLab.key('0'); else done += fdtdLab.stepCount() - before; }
return (performance.now() - start) * 1e3 / done;
""" % TIMED_STEPS


def desktop_figures(build_dir):
    """frames/s of BM_Frame and microseconds per step of BM_Steps, slab at 10 steps/frame."""
    program = os.path.join(build_dir, "bench", "bench_lab_view")
    command = [program, "--benchmark_filter=BM_(Frame|Steps)/large:0/steps:%d(/real_time)?$"
               % STEPS_PER_FRAME, "--benchmark_format=json"]
    if not os.environ.get("DISPLAY") and shutil.which("xvfb-run"):
        command = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24"] + command
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        seconds = b["real_time"] / 1e3  # milliseconds per frame
        if b["name"].startswith("BM_Frame"):
            figures["frames_per_s"] = 1 / seconds
        else:
            figures["us_per_step"] = seconds * 1e6 / STEPS_PER_FRAME
    return figures


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(browser.ROOT, "build", "release")
    browser.build_page()
    driver, reason = browser.start_chromium(log_browser=False)
    if driver is None:
        sys.exit(f"web_bench: {reason}")
    try:
        size, gzipped = page_sizes()
        print(f"page: {size / 1e6:.2f} MB, gzipped {gzipped / 1e6:.2f} MB")
        print(f"first frame: {first_frame_ms(driver):.0f} ms after opening (median of {LOADS})")
        frames, offered, seconds = driver.execute_async_script(PACED)
        print(f"slab, {STEPS_PER_FRAME} steps/frame, paced: {frames / seconds:.1f} frames/s "
              f"of {offered / seconds:.1f} animation frames/s the browser offered")
        print(f"slab, {STEPS_PER_FRAME} steps/frame, unpaced: "
              f"{driver.execute_script(UNPACED):.1f} frames/s")
        wasm_us = driver.execute_script(STEPS)
    finally:
        driver.quit()
    desktop = desktop_figures(build_dir)
    print(f"desktop (bench_lab_view, unpaced): {desktop['frames_per_s']:.1f} frames/s")
    print(f"step of slab (both runs): wasm {wasm_us:.2f} us, native {desktop['us_per_step']:.2f} us, "
          f"ratio {wasm_us / desktop['us_per_step']:.2f}")


if __name__ == "__main__":
    main()
