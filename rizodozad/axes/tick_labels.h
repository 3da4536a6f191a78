// Labels for the ticks of one axis, formatted together. Pure arithmetic, no OpenGL.
#pragma once

#include <string>
#include <vector>

namespace rizodozad::tidy {

struct AxisLabels {
    std::vector<std::string> labels; // one per tick, in the ticks' order
    std::string exponent;            // the common factor, e.g. "x1e-3"; empty when none
};

// Labels sharing one number of decimals, the fewest that tell every tick apart and
// show each exactly. Where the largest magnitude is 1e4 or more, or below 1e-3, the
// values are divided by a common power of ten (a multiple of 3) named in exponent.
// Never "-0": a tick that rounds to zero reads as zero. Non-finite ticks read "".
AxisLabels format_axis_labels(const std::vector<double>& ticks);

// Labels of powers of ten on a logarithmic axis: plain numbers ("0.01", "1000") while
// all lie within 1e-3..1e4, otherwise "1e-5", "1e6".
std::vector<std::string> format_decade_labels(const std::vector<double>& powers);

} // namespace rizodozad::tidy
