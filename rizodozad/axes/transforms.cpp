// Coordinate transforms of the current axes: data values to normalised window
// coordinates, to the axes' unit square, and to the cube of three-dimensional views.
// Everything is computed in double and rounded to float at the end.
#include <cmath>

#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

// Where v lies between the two limits, 0 at the lower and 1 at the upper one.
double linear_fraction(double v, const std::array<double, 2>& lim) {
    return (v - lim[0]) / (lim[1] - lim[0]);
}

double log_fraction(double v, const std::array<double, 2>& lim) {
    return (std::log10(v) - std::log10(lim[0])) / (std::log10(lim[1]) - std::log10(lim[0]));
}

// Any scale other than logarithmic is treated as linear.
double scaled_fraction(double v, const std::array<double, 2>& lim, int scale) {
    return scale == axis_scale::logarithmic ? log_fraction(v, lim) : linear_fraction(v, lim);
}

} // namespace

float unit_cube_coordinate(double v, const std::array<double, 2>& lim) {
    return static_cast<float>((v - lim[0]) * 2 / (lim[1] - lim[0]) - 1);
}

float Engine::data_to_window_x(double x) {
    const Axes* axes = current_axes.get();
    if (!axes) return 0;
    const double left = axes->position[0];
    const double width = axes->position[2];
    double fraction = 0;
    if (axes->x_scale == axis_scale::logarithmic)
        fraction = x > 0 ? log_fraction(x, axes->x_lim) : -1; // no logarithm: left of the frame
    else
        fraction = linear_fraction(x, axes->x_lim);
    return static_cast<float>(width * fraction + left);
}

float Engine::data_to_window_y(double y) {
    const Axes* axes = current_axes.get();
    if (!axes) return 0;
    const double bottom = axes->position[1];
    const double height = axes->position[3];
    return static_cast<float>(bottom + height * scaled_fraction(y, axes->y_lim, axes->y_scale));
}

float Engine::data_to_unit_x(double x) {
    const Axes* axes = current_axes.get();
    if (!axes) return 0;
    return static_cast<float>(scaled_fraction(x, axes->x_lim, axes->x_scale));
}

float Engine::data_to_unit_y(double y) {
    const Axes* axes = current_axes.get();
    if (!axes) return 0;
    return static_cast<float>(scaled_fraction(y, axes->y_lim, axes->y_scale));
}

} // namespace rizodozad
