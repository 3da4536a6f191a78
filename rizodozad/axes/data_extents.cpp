// Widening of an axes' data extents by the values of its children.
#include "rizodozad/axes/data_extents.h"

namespace rizodozad::data_extents {

namespace {

// How values of one axis enter its extents.
enum class Rule { linear, positive_lower, ignored };

Rule rule_of(const Axes& axes, Axis axis) {
    if (axis == Axis::x) {
        if (axes.x_scale == axis_scale::linear) return Rule::linear;
        return axes.x_scale == axis_scale::logarithmic ? Rule::positive_lower : Rule::ignored;
    }
    if (axis == Axis::y && axes.y_scale == axis_scale::logarithmic) return Rule::positive_lower;
    return Rule::linear;
}

struct Extent {
    double& min;
    double& max;
};

Extent extent_of(Axes& axes, Axis axis) {
    switch (axis) {
    case Axis::x:
        return {axes.data_x_min, axes.data_x_max};
    case Axis::y:
        return {axes.data_y_min, axes.data_y_max};
    default:
        return {axes.data_z_min, axes.data_z_max};
    }
}

// The running extremes stay in locals: the values could alias the extents as far as the
// compiler knows, which would cost a store per value on long lines.
void widen_by(Extent extent, Rule rule, const std::vector<double>& values) {
    if (rule == Rule::ignored) return;
    double min = extent.min;
    double max = extent.max;
    const bool linear = rule == Rule::linear;
    for (double v : values) {
        if (v < min && (linear || v > 0)) min = v;
        if (v > max) max = v;
    }
    extent.min = min;
    extent.max = max;
}

} // namespace

void widen(Axes& axes, Axis axis, const std::vector<double>& values) {
    widen_by(extent_of(axes, axis), rule_of(axes, axis), values);
}

void widen(Axes& axes, Axis axis, const Matrix& rows) {
    for (const auto& row : rows)
        widen(axes, axis, row);
}

} // namespace rizodozad::data_extents
