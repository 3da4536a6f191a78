// The module's functions: the batch run fdtd-lab performs, the stack theory on its own, and
// the one sweep point that fdtdlab.sweep sends to its workers.
#include <pybind11/stl.h>

#include <csignal>
#include <cstdio>

#include "arrays.h"
#include "bindings.h"
#include "lab/analysis/theory.h"
#include "lab/cli/run_command.h"
#include "lab/cli/sweep_command.h"
#include "lab/scenario/scenario_edit.h"
#include "lab/scenario/scenario_reader.h"

namespace fdtdlab {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] The batch run
//-----------------------------------------------------------------------------

// run_batch stops at SIGINT and SIGTERM through handlers of its own; Python's come back
// afterwards. Returns fdtd-lab's exit status.
int run_batch_keeping_handlers(const std::string& scenario_path, const std::string& out_dir) {
    lab::load_scenario(scenario_path); // a refused scenario raises, with its position
    const auto interrupt_handler = std::signal(SIGINT, SIG_DFL);
    const auto terminate_handler = std::signal(SIGTERM, SIG_DFL);
    int status = lab::exit_ok;
    {
        py::gil_scoped_release unlocked;
        status = lab::run_batch({scenario_path, out_dir});
        std::fflush(stdout);
    }
    std::signal(SIGINT, interrupt_handler);
    std::signal(SIGTERM, terminate_handler);
    return status;
}

//-----------------------------------------------------------------------------
// [SECTION] Theory
//-----------------------------------------------------------------------------

const char* const optical_layer_doc = R"(A layer of an optical stack: complex relative
permittivity (eps_r - i sigma / (omega eps0) carries loss), permeability and thickness (m).)";

const char* const stack_reflection_doc = R"(R and T of layers between vacuum and an exit
half-space at normal incidence, from their characteristic matrices.

frequency_hz may be a number (R and T are then floats) or an array (arrays of its shape).
Returns a dict with keys R and T.)";

py::dict
stack_reflection_at(const std::vector<lab::OpticalLayer>& layers,
                    const py::array_t<double, py::array::c_style | py::array::forcecast>& f_hz,
                    std::complex<double> exit_eps_r, std::complex<double> exit_mu_r) {
    py::array_t<double> r(f_hz.request().shape), t(f_hz.request().shape);
    const double* f = f_hz.data();
    double* r_out = r.mutable_data();
    double* t_out = t.mutable_data();
    for (py::ssize_t k = 0; k < f_hz.size(); ++k) {
        const lab::Reflection rt = lab::stack_reflection(layers, f[k], exit_eps_r, exit_mu_r);
        r_out[k] = rt.R;
        t_out[k] = rt.T;
    }
    py::dict result;
    result["R"] = f_hz.ndim() == 0 ? py::object(py::float_(r_out[0])) : py::object(r);
    result["T"] = f_hz.ndim() == 0 ? py::object(py::float_(t_out[0])) : py::object(t);
    return result;
}

void bind_theory(py::module_& m) {
    py::class_<lab::OpticalLayer>(m, "OpticalLayer", optical_layer_doc)
        .def(
            py::init([](std::complex<double> eps_r, double thickness_m, std::complex<double> mu_r) {
                return lab::OpticalLayer{eps_r, mu_r, thickness_m};
            }),
            py::arg("eps_r"), py::arg("thickness_m"), py::arg("mu_r") = 1.0)
        .def_readonly("eps_r", &lab::OpticalLayer::eps_r, "Relative permittivity (complex).")
        .def_readonly("mu_r", &lab::OpticalLayer::mu_r, "Relative permeability (complex).")
        .def_readonly("thickness_m", &lab::OpticalLayer::thickness_m, "Thickness (m).");
    m.def("stack_reflection", &stack_reflection_at, py::arg("layers"), py::arg("frequency_hz"),
          py::arg("exit_eps_r") = std::complex<double>(1.0),
          py::arg("exit_mu_r") = std::complex<double>(1.0), stack_reflection_doc);
}

//-----------------------------------------------------------------------------
// [SECTION] A sweep point
//-----------------------------------------------------------------------------

// The spectra as a dict of arrays, or the reason the point has none as a str.
py::object sweep_point(const std::string& text, const std::string& path,
                       const lab::PointSettings& settings) {
    lab::PointResult result;
    {
        py::gil_scoped_release unlocked;
        result = lab::run_sweep_point(text, path, settings);
    }
    if (!result.spectra) return py::str(result.problem);
    return spectra_table(*result.spectra);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Python
//-----------------------------------------------------------------------------

void bind_functions(py::module_& m) {
    bind_theory(m);
    m.def("_run_batch", &run_batch_keeping_handlers, py::arg("scenario_path"), py::arg("out_dir"),
          "fdtd-lab run SCENARIO --out DIR; returns its exit status.");
    m.def("_run_point", &sweep_point, py::arg("text"), py::arg("path"), py::arg("settings"),
          "One sweep point: a dict of spectra, or the reason it has none.");
    m.def("_toml_literal", &toml_literal_of, py::arg("value"),
          "A bool, int, float or str written as TOML.");
    m.def("_with_value", &lab::with_value, py::arg("text"), py::arg("path"), py::arg("key"),
          py::arg("literal"),
          "The TOML text with the value at key set (ScenarioError when "
          "the key cannot be placed).");
}

} // namespace fdtdlab
