// What the binding files of the fdtdlab module share: the scenario as Python holds it, the
// error a blown-up run raises, and one function per file that adds its part to the module.
#pragma once

#include <pybind11/pybind11.h>

#include <stdexcept>
#include <string>

#include "lab/analysis/experiment.h"
#include "lab/scenario/scenario.h"

namespace fdtdlab {

namespace py = pybind11;

// A scenario kept as its TOML text (so that values can be set by key path and sweep points
// sent to other processes as plain text) together with the checked model read from it.
class ScenarioHandle {
  public:
    static ScenarioHandle from_text(const std::string& text, const std::string& path);
    static ScenarioHandle from_file(const std::string& path);

    // Leaves the scenario as it was when the key path or the new value is refused.
    void set(const std::string& key_path, py::handle value);

    const std::string& text() const { return text_; }
    const std::string& path() const { return path_; }
    const lab::Scenario& model() const { return model_; }

  private:
    std::string text_;
    std::string path_;
    lab::Scenario model_;
};

// Stepping stopped because the fields blew up; Python sees fdtdlab.UnstableRun.
class UnstableRunError : public std::runtime_error {
  public:
    UnstableRunError(const std::string& message, int step)
        : std::runtime_error(message), step_(step) {}
    int step() const { return step_; }

  private:
    int step_;
};

// A Python bool, int, float or str as a TOML value; TypeError for anything else.
std::string toml_literal_of(py::handle value);

// Spectra as a dict of numpy arrays: frequency_hz, R, T, R_theory, T_theory (NaN where
// not measured or without theory).
py::dict spectra_table(const lab::Spectra& spectra);

void bind_errors(py::module_& m);
void bind_scenario(py::module_& m);
void bind_simulation(py::module_& m);
void bind_functions(py::module_& m);

} // namespace fdtdlab
