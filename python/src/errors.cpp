// C++ errors as the Python exceptions of fdtdlab._errors: ScenarioError carries the text
// fdtd-lab prints, UnstableRun the step where the run stopped.
#include <exception>

#include "bindings.h"
#include "lab/scenario/scenario_reader.h"

namespace fdtdlab {

namespace {

void raise(const char* name, const py::tuple& arguments) {
    const py::object type = py::module_::import("fdtdlab._errors").attr(name);
    const py::object error = type(*arguments);
    PyErr_SetObject(type.ptr(), error.ptr());
}

} // namespace

void bind_errors(py::module_&) {
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const lab::ScenarioFileError& error) {
            raise("ScenarioError", py::make_tuple(error.what()));
        } catch (const UnstableRunError& error) {
            raise("UnstableRun", py::make_tuple(error.what(), error.step()));
        }
    });
}

} // namespace fdtdlab
