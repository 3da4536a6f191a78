"""The lab's page in headless Chromium: it opens from file:// cleanly, draws the fields,
answers keys, buttons and a marker dragged with the mouse, gives the same CSV tables as
`fdtd-lab run`, keeps running on a bad scenario and opens the scenario a link carries.

Usage: test_page.py [FDTD_LAB]   (the desktop program; default build/release/lab/fdtd-lab)
Exits 77 (skipped) only when Chromium cannot start here."""
import base64
import csv
import glob
import io
import os
import re
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import browser  # noqa: E402

SCENARIOS = sorted(glob.glob(os.path.join(browser.ROOT, "lab", "scenarios", "*.toml")))
RELATIVE_TOLERANCE = 1e-12  # the browser's libm may differ from glibc's in the last digit
FDTD_LAB = os.path.join(browser.ROOT, "build", "release", "lab", "fdtd-lab")
driver = None


def run_to_end(name):
    """Steps the shown scenario to its end, as `fdtd-lab run` does."""
    return driver.execute_script(
        "fdtdLab.run(false); let before;"
        "do { before = fdtdLab.stepCount(); fdtdLab.step(1000); }"
        "while (fdtdLab.stepCount() != before); return fdtdLab.stepCount();")


def rows(text):
    return list(csv.reader(io.StringIO(text)))


def same_value(a, b, angle):
    """Within the tolerance relative to the values; an angle's, like that of the complex
    number it is the argument of, is in radians: a relative error e of z moves arg z by e."""
    if a == b:
        return True
    if a == "" or b == "":
        return False
    x, y = float(a), float(b)
    scale = max(abs(x), abs(y), 1.0 if angle else 0.0)
    return abs(x - y) <= RELATIVE_TOLERANCE * scale


def table_difference(browser_text, desktop_text):
    """The first difference between two CSV tables, or ''."""
    ours, theirs = rows(browser_text), rows(desktop_text)
    if len(ours) != len(theirs):
        return f"{len(ours)} rows against {len(theirs)}"
    if ours and ours[0] != theirs[0]:
        return f"header {ours[0]} against {theirs[0]}"
    for number, (mine, other) in enumerate(zip(ours, theirs)):
        if len(mine) != len(other):
            return f"row {number}: {len(mine)} columns against {len(other)}"
        for column, (a, b) in enumerate(zip(mine, other)):
            if not same_value(a, b, ours[0][column].endswith("_rad")):
                return f"row {number} column {ours[0][column]}: {a} against {b}"
    return ""


def matches(pixel, colour, tolerance=40):
    return all(abs(c - want) <= tolerance for c, want in zip(pixel, colour))


def pixels_of_colour(png, colour):
    from PIL import Image
    image = Image.open(io.BytesIO(png)).convert("RGB")
    return sum(1 for p in image.getdata() if matches(p, colour))


def vertical_line(png, colour):
    """The column (x, middle y) in the screenshot where the colour runs tallest: a marker's
    dashed line crosses the whole plot, where curves and legend samples lie flat."""
    from PIL import Image
    image = Image.open(io.BytesIO(png)).convert("RGB")
    width, height = image.size
    pixels = image.load()
    best = (0, 0, 0)
    for x in range(width):
        rows = [y for y in range(height) if matches(pixels[x, y], colour)]
        if len(rows) > best[0]:
            best = (len(rows), x, rows[len(rows) // 2])
    return best[1], best[2]


class Page(unittest.TestCase):
    def setUp(self):
        browser.open_page(driver)

    def test_opens_cleanly_and_runs_slab(self):
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])
        self.assertRegex(driver.execute_script("return fdtdLab.status();"), r"^step \d+/\d+")
        start = driver.execute_script("return fdtdLab.stepCount();")
        driver.execute_async_script("requestAnimationFrame(() => requestAnimationFrame(arguments[0]));")
        self.assertGreater(driver.execute_script("return fdtdLab.stepCount();"), start)

    def test_curves_show_in_their_colours(self):
        driver.execute_script("fdtdLab.run(false); fdtdLab.step(120);")
        driver.execute_async_script("requestAnimationFrame(arguments[0]);")
        shot = driver.get_screenshot_as_png()
        for name, colour in (("Ez, red", (255, 0, 0)), ("Hy, blue", (0, 0, 255))):
            self.assertGreater(pixels_of_colour(shot, colour), 50, name)

    def test_keys_and_buttons_steer_as_on_the_desktop(self):
        status = lambda: driver.execute_script("return fdtdLab.status();")
        driver.execute_script("fdtdLab.run(false); fdtdLab.key('0');")
        self.assertIn("paused", status())
        self.assertRegex(status(), r"^step 0/")
        driver.find_element("css selector", "button[data-key='n']").click()
        self.assertRegex(status(), r"^step 1/")
        steps = lambda: re.search(r"(\d+) steps?/frame", status()).group(1)
        before = steps()
        driver.execute_script("fdtdLab.key('+');")
        self.assertEqual((before, steps()), ("1", "2"))
        driver.find_element("css selector", "button[data-key='-']").click()
        self.assertEqual(steps(), "1")
        ends = lambda: re.search(r"ends (\S+)", status()).group(1)
        left_before = ends().split("|")[0]
        driver.execute_script("fdtdLab.key('[');")
        self.assertNotEqual(ends().split("|")[0], left_before)
        driver.find_element("css selector", "button[data-key=' ']").click()
        self.assertNotIn("paused", status())

    def test_bad_scenario_is_refused_and_the_old_one_runs_on(self):
        driver.execute_script("fdtdLab.run(true);")
        driver.find_element("id", "edit").click()
        editor = driver.find_element("id", "source")
        text = editor.get_attribute("value")
        bad = text.replace("[grid]", "[grid]\ncells = \"many\"", 1)
        driver.execute_script("arguments[0].value = arguments[1];", editor, bad)
        driver.find_element("id", "apply").click()
        error = driver.find_element("id", "error").text
        self.assertRegex(error, r"^slab\.toml:\d+:\d+: ")
        line = int(error.split(":")[1])
        self.assertIn("cells", bad.splitlines()[line - 1])
        start = driver.execute_script("return fdtdLab.stepCount();")
        driver.execute_async_script("requestAnimationFrame(() => requestAnimationFrame(arguments[0]));")
        self.assertGreater(driver.execute_script("return fdtdLab.stepCount();"), start)

    def test_links_carry_the_scenario(self):
        with open(os.path.join(browser.ROOT, "lab", "scenarios", "pml.toml"), encoding="utf-8") as f:
            text = f.read().replace("steps = ", "steps = 1", 1)  # a count no shipped file has
        total = int(re.search(r"^steps = (\d+)", text, re.M).group(1))
        code = base64.urlsafe_b64encode(text.encode()).decode().rstrip("=")
        browser.open_page(driver, "#scenario=" + code)
        self.assertRegex(driver.execute_script("return fdtdLab.status();"), rf"/{total}\b")
        driver.execute_script("location.hash = 'name=slab';")
        driver.execute_async_script("setTimeout(arguments[0], 100);")
        self.assertEqual(driver.find_element("id", "picker").get_attribute("value"), "slab.toml")
        link = driver.execute_script("return fdtdLab.link();")
        self.assertTrue(link.endswith("#name=slab"), link)


class Dragging(unittest.TestCase):
    """A probe marker dragged with the mouse moves the probe, as on the desktop."""
    PROBE, OTHER = (255, 0, 255), (0, 128, 0)  # the first two probes' marker colours
    PROBE_CELL, OTHER_CELL, SOURCE_CELL, TARGET_CELL = 200, 500, 100, 130
    PULSE_DELAY_STEPS = 60  # slab's gaussian peaks at the source then

    def first_probe_peak_step(self, steps):
        driver.execute_script("fdtdLab.step(arguments[0]);", steps)
        table = rows(driver.execute_script("return fdtdLab.csv('probes.csv');"))
        values = [abs(float(row[2])) for row in table[1:]]
        return int(table[1 + values.index(max(values))][0])

    def test_a_dragged_probe_marker_moves_the_probe(self):
        from selenium.webdriver.common.action_chains import ActionChains
        browser.open_page(driver)
        driver.execute_script("fdtdLab.run(false); fdtdLab.key('0'); fdtdLab.redraw();")
        shot = driver.get_screenshot_as_png()
        (probe_x, y), (other_x, _) = vertical_line(shot, self.PROBE), vertical_line(shot, self.OTHER)
        px_per_cell = (other_x - probe_x) / (self.OTHER_CELL - self.PROBE_CELL)
        target_x = round(probe_x + (self.TARGET_CELL - self.PROBE_CELL) * px_per_cell)
        drag = ActionChains(driver)  # in window pixels, as the screenshot counts them
        drag.w3c_actions.pointer_action.move_to_location(probe_x, y).pointer_down()
        drag.w3c_actions.pointer_action.move_to_location((probe_x + target_x) // 2, y)
        drag.w3c_actions.pointer_action.move_to_location(target_x, y).pointer_up()
        drag.perform()
        message = driver.execute_script("return fdtdLab.message();")
        cell = int(re.search(r"moved to cell (\d+)", message).group(1))
        self.assertLessEqual(abs(cell - self.TARGET_CELL), 1, message)
        driver.execute_script("fdtdLab.redraw();")
        moved_x, _ = vertical_line(driver.get_screenshot_as_png(), self.PROBE)
        self.assertLessEqual(abs(moved_x - target_x), 1)
        # At a Courant number of 1 the pulse crosses a cell per step.
        arrival = self.PULSE_DELAY_STEPS + cell - self.SOURCE_CELL
        self.assertLessEqual(abs(self.first_probe_peak_step(250) - arrival), 2)


class Tables(unittest.TestCase):
    """Every shipped scenario run to its end gives fdtd-lab run's tables."""

    def test_every_shipped_scenario(self):
        browser.open_page(driver)
        for path in SCENARIOS:
            name = os.path.basename(path)
            with self.subTest(scenario=name), tempfile.TemporaryDirectory() as out:
                subprocess.run([FDTD_LAB, "run", path, "--out", out], check=False,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                with open(path, encoding="utf-8") as f:
                    self.assertEqual(driver.execute_script(
                        "return fdtdLab.load(arguments[0], arguments[1]);", f.read(), name), "")
                run_to_end(name)
                for table in ("fields.csv", "probes.csv", "spectra.csv"):
                    desktop = os.path.join(out, table)
                    ours = driver.execute_script("return fdtdLab.csv(arguments[0]);", table)
                    if not os.path.exists(desktop):
                        self.assertEqual(ours, "", table)
                        continue
                    with open(desktop, encoding="utf-8") as f:
                        self.assertEqual(table_difference(ours, f.read()), "", table)


def main():
    global driver, FDTD_LAB
    if len(sys.argv) > 1:
        FDTD_LAB = sys.argv.pop(1)
    browser.build_page()
    driver, reason = browser.start_chromium()
    if driver is None:
        browser.skip(reason)
    try:
        result = unittest.main(exit=False, verbosity=2).result
    finally:
        driver.quit()
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
