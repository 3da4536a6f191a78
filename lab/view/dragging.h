// Dragging the source and probe markers along the space plot, in window pixels (counted
// from the top left, as the window system reports them), without OpenGL.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab::view {

// A plot's rectangle in window pixels and the x range it shows.
struct PlotFrame {
    double left_px = 0, right_px = 0, top_px = 0, bottom_px = 0;
    double x_min = 0, x_max = 1;
};

// The source is marker 0, probe k is marker k + 1.
struct MarkerId {
    bool is_source = true;
    std::size_t probe = 0;
};

// A marker is grabbed by a press within this many pixels of its line.
constexpr double grab_distance_px = 6.0;

// The marker under a press, if any: the nearest within grab_distance_px, inside the plot.
std::optional<MarkerId> marker_at(const Scenario& scenario, const PlotFrame& frame, int x_px,
                                  int y_px);

// The cell whose node is nearest to pixel column x_px, kept inside the grid.
int cell_at(const Scenario& scenario, const PlotFrame& frame, int x_px);

} // namespace lab::view
