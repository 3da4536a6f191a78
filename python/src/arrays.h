// numpy arrays over the lab's vectors: copies the caller owns, and read-only views that
// keep their owner alive and follow its later steps.
#pragma once

#include <pybind11/complex.h>
#include <pybind11/numpy.h>

#include <complex>
#include <vector>

namespace fdtdlab {

template <class T> pybind11::array_t<T> copy_of(const std::vector<T>& values) {
    return pybind11::array_t<T>(static_cast<pybind11::ssize_t>(values.size()), values.data());
}

// A view of values with owner as its base; writing into it is refused, since the solver
// owns the memory and overwrites it at every step.
inline pybind11::array_t<double> read_only_view(const std::vector<double>& values,
                                                pybind11::handle owner) {
    pybind11::array_t<double> view(static_cast<pybind11::ssize_t>(values.size()), values.data(),
                                   owner);
    view.attr("setflags")(pybind11::arg("write") = false);
    return view;
}

} // namespace fdtdlab
