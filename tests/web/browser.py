"""Headless Chromium on the lab's page, shared by the browser tests and bench/web_bench.py."""
import os
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAGE = os.path.join(ROOT, "build", "web", "fdtd-lab.html")
CHROMEDRIVER = "/usr/bin/chromedriver"
SKIPPED = 77  # what CTest counts as a skip
WINDOW = (1000, 720)


def build_page():
    """scripts/web: a no-op when the page is up to date."""
    subprocess.run([os.path.join(ROOT, "scripts", "web")], check=True, stdout=subprocess.DEVNULL)
    return PAGE


def start_chromium(log_browser=True):
    """A headless Chromium with software WebGL, or None (with the reason) when it cannot start."""
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError as error:
        return None, f"python3-selenium is missing ({error})"
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--use-gl=swiftshader",
                 "--enable-unsafe-swiftshader", "--disable-dev-shm-usage",
                 f"--window-size={WINDOW[0]},{WINDOW[1]}"):
        options.add_argument(flag)
    if log_browser:
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    try:
        driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    except Exception as error:  # no browser, no driver, or it died at start
        return None, f"Chromium could not start: {str(error).splitlines()[0]}"
    driver.set_script_timeout(600)
    return driver, ""


def open_page(driver, fragment=""):
    driver.get("file://" + PAGE + fragment)
    driver.execute_async_script("window.fdtdLab.ready.then(arguments[0]);")


def skip(reason):
    print(f"SKIPPED: {reason}", file=sys.stderr)
    sys.exit(SKIPPED)
