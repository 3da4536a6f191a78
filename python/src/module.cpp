// fdtdlab._core: the lab's solver, scenarios, spectra and theory for Python.
#include "bindings.h"

PYBIND11_MODULE(_core, m) {
    m.doc() = "The C++ core of fdtdlab: scenarios, simulations, batch runs and theory.";
    fdtdlab::bind_errors(m);
    fdtdlab::bind_scenario(m);
    fdtdlab::bind_simulation(m);
    fdtdlab::bind_functions(m);
}
