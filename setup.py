"""fdtdlab: the FDTD lab from Python, built from the project's CMake targets."""

from skbuild import setup

setup(
    name="fdtdlab",
    version="0.1.0",
    description="The fdtd-lab solver, scenarios, spectra and sweeps from Python",
    packages=["fdtdlab"],
    package_dir={"fdtdlab": "python/fdtdlab"},
    python_requires=">=3.9",
    install_requires=["numpy"],
    cmake_install_dir="python",
    # The module and the libraries it wraps, without the programs, tests and benchmarks.
    cmake_args=[
        "-DCMAKE_BUILD_TYPE=Release",
        "-DRIZODOZAD_BUILD_TESTS=OFF",
        "-DRIZODOZAD_BUILD_BENCHMARKS=OFF",
        "-DRIZODOZAD_BUILD_PYTHON=ON",
    ],
    cmake_install_target="install_fdtdlab",
)
