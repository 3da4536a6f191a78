// Scenarios built in code for the lab's tests, and small measurements on their results.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "lab/scenario/scenario.h"

namespace labtest {

constexpr double cell_size_m = 1e-3;

// A vacuum line with a soft Gaussian source at its middle. The pulse starts from
// exp(-36), not from a step: at S = 1 a step leaves a grid-scale ripple that moves left
// and right at once, so no absorbing end can take it away.
inline lab::Scenario vacuum_line(int cells, double courant, int steps, lab::Boundary ends) {
    lab::Scenario s;
    s.grid = {cells, cell_size_m, courant, steps, false};
    s.boundary = {ends, ends, 20};
    s.source.cell = cells / 2;
    s.source.delay_steps = 60.0;
    return s;
}

inline double largest(const std::vector<double>& values, std::size_t first, std::size_t last) {
    double m = 0.0;
    for (std::size_t i = first; i <= last && i < values.size(); ++i)
        m = std::max(m, std::fabs(values[i]));
    return m;
}

} // namespace labtest
