// Axis limits, tick values and tick labels: pure functions, no OpenGL.
#pragma once

#include <string>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad {

// Tick values at 1, 2 or 5 times a power of ten between lower and upper (either order).
std::vector<double> compute_ticks(double lower, double upper);

// The label of a tick value: one decimal more than the value needs, and a trailing blank.
std::string format_tick_label(double x);

// Automatic limits from the data extents, then the x, y, z and colour ticks.
void configure_axes(Axes& axes);

} // namespace rizodozad
