// fdtdlab.Scenario: read from a file or a string, changed by key path, pickled as its text.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "bindings.h"
#include "lab/scenario/scenario_edit.h"
#include "lab/scenario/scenario_reader.h"

namespace fdtdlab {

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw lab::ScenarioFileError(path + ": cannot read: " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A str or an os.PathLike as a path; TypeError for anything else.
std::string path_of(const py::object& path) {
    return py::module_::import("os").attr("fspath")(path).cast<std::string>();
}

const char* const scenario_doc = R"(A lab scenario: grid, ends, source, layers, probes and spectrum.

It keeps its TOML text, so values can be changed by the key paths the error messages use
(``grid.cells``, ``layer[0].eps_r``) and it pickles as plain text. Every change is checked as
the file would be: a refused one raises ScenarioError and leaves the scenario as it was.)";

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] The scenario and its values
//-----------------------------------------------------------------------------

ScenarioHandle ScenarioHandle::from_text(const std::string& text, const std::string& path) {
    ScenarioHandle handle;
    handle.model_ = lab::checked_scenario(text, path);
    handle.text_ = text;
    handle.path_ = path;
    return handle;
}

ScenarioHandle ScenarioHandle::from_file(const std::string& path) {
    return from_text(read_file(path), path);
}

void ScenarioHandle::set(const std::string& key_path, py::handle value) {
    const std::string edited = lab::with_value(text_, path_, key_path, toml_literal_of(value));
    model_ = lab::checked_scenario(edited, path_);
    text_ = edited;
}

std::string toml_literal_of(py::handle value) {
    PyObject* object = value.ptr();
    if (PyBool_Check(object)) return lab::toml_literal(value.cast<bool>());
    if (PyUnicode_Check(object)) return lab::toml_literal(value.cast<std::string>());
    if (PyFloat_Check(object)) return lab::toml_literal(value.cast<double>());
    if (PyIndex_Check(object)) // int and numpy's integers
        return lab::toml_literal(
            py::int_(py::reinterpret_borrow<py::object>(value)).cast<long long>());
    if (py::hasattr(value, "dtype") && py::hasattr(value, "__float__")) // numpy's floats
        return lab::toml_literal(
            py::float_(py::reinterpret_borrow<py::object>(value)).cast<double>());
    throw py::type_error("a scenario value must be a bool, int, float or str, not " +
                         std::string(Py_TYPE(object)->tp_name));
}

//-----------------------------------------------------------------------------
// [SECTION] Python
//-----------------------------------------------------------------------------

void bind_scenario(py::module_& m) {
    py::class_<ScenarioHandle>(m, "Scenario", scenario_doc)
        .def_static(
            "from_toml",
            [](const py::object& path) { return ScenarioHandle::from_file(path_of(path)); },
            py::arg("path"), "Reads and checks a scenario file; ScenarioError when it is refused.")
        .def_static("from_string", &ScenarioHandle::from_text, py::arg("text"),
                    py::arg("name") = "<string>",
                    "Reads and checks a scenario from TOML text; name stands for the file in "
                    "messages.")
        .def("set", &ScenarioHandle::set, py::arg("key"), py::arg("value"),
             "Sets the value at a key path such as 'layer[0].eps_r' (bool, int, float or str).")
        .def_property_readonly("text", &ScenarioHandle::text, "The scenario's TOML text.")
        .def_property_readonly("file", &ScenarioHandle::path, "The file named in messages.")
        .def_property_readonly(
            "steps", [](const ScenarioHandle& s) { return s.model().grid.steps; },
            "Time steps of a full run.")
        .def_property_readonly(
            "cells", [](const ScenarioHandle& s) { return s.model().grid.cells; },
            "Ez nodes of the grid.")
        .def_property_readonly(
            "has_spectrum", [](const ScenarioHandle& s) { return s.model().spectrum.has_value(); },
            "Whether the scenario has a [spectrum] section.")
        .def("__repr__",
             [](const ScenarioHandle& s) {
                 return "<fdtdlab.Scenario " + s.path() + ": " +
                        std::to_string(s.model().grid.cells) + " cells, " +
                        std::to_string(s.model().grid.steps) + " steps>";
             })
        .def(py::pickle([](const ScenarioHandle& s) { return py::make_tuple(s.text(), s.path()); },
                        [](const py::tuple& state) {
                            return ScenarioHandle::from_text(state[0].cast<std::string>(),
                                                             state[1].cast<std::string>());
                        }));
}

} // namespace fdtdlab
