// The fields of a one-dimensional grid and their update coefficients, as every part of a
// step reads and writes them.
#pragma once

#include <vector>

#include "lab/solver/coefficient_spans.h"

namespace lab {

// Hy[i] lies half a cell to the right of Ez[i]; Hy[cells - 1] lies beyond the last Ez node
// and stays zero.
struct FieldArrays {
    std::vector<double> ez, hy; // V/m and A/m
    CoefficientSpans coefficients;
};

} // namespace lab
