// The read-out of a click in a plot: the pointer's data coordinates with the digits
// the axes resolve, and the data point nearest to it. Pure arithmetic, no OpenGL.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad::tidy {

// One axis as the screen shows it.
struct ScreenAxis {
    double lower = 0;
    double upper = 1;
    double length_px = 1;
    bool logarithmic = false;
};

// Pixels from the axis' start to value; NaN where the value has no place (non-positive
// on a logarithmic axis, or a degenerate axis).
double pixel_along(const ScreenAxis& axis, double value);

// The value with as many digits as one pixel of the axis resolves at that value: fixed
// decimals for magnitudes within 1e-3..1e6 or within a pixel of zero, else scientific
// notation. Never "-0".
std::string format_readout_value(double value, const ScreenAxis& axis);

struct NearestPoint {
    bool found = false;
    std::size_t line = 0;  // position in the list of lines given
    std::size_t index = 0; // the point's index in that line's data
    double x = 0;
    double y = 0;
};

// The line passing closest to the pointer (by its drawn segments, in pixels), and of
// that line the data point closest to the pointer. The pointer is given in pixels from
// the plot area's bottom left corner. Points that cannot be drawn are skipped; nothing
// is found when no line has a drawable point.
NearestPoint nearest_point(const std::vector<const Line*>& lines, double pointer_x_px,
                           double pointer_y_px, const ScreenAxis& x_axis, const ScreenAxis& y_axis);

// "(x, y)" of the pointer, then "  nearest: NAME (x, y)" when a point was found: NAME is
// the line's entry in line_names when it has a non-empty one, else "line N", counted from 1.
std::string readout_text(double x, double y, const ScreenAxis& x_axis, const ScreenAxis& y_axis,
                         const NearestPoint& nearest,
                         const std::vector<std::string>& line_names = {});

} // namespace rizodozad::tidy
