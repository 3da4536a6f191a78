#include "lab/view/dragging.h"

#include <algorithm>
#include <cmath>

#include "lab/view/plot_data.h"

namespace lab::view {

namespace {

double column_of(const PlotFrame& frame, double x_mm) {
    const double along = (x_mm - frame.x_min) / (frame.x_max - frame.x_min);
    return frame.left_px + along * (frame.right_px - frame.left_px);
}

double node_mm(const Scenario& s, int cell) { return cell * s.grid.cell_size_m * mm_per_m; }

} // namespace

std::optional<MarkerId> marker_at(const Scenario& s, const PlotFrame& frame, int x_px, int y_px) {
    if (y_px < frame.top_px || y_px > frame.bottom_px || x_px < frame.left_px - grab_distance_px ||
        x_px > frame.right_px + grab_distance_px)
        return std::nullopt;
    std::optional<MarkerId> nearest;
    double nearest_distance = grab_distance_px;
    const auto consider = [&](int cell, MarkerId id) {
        const double distance = std::fabs(column_of(frame, node_mm(s, cell)) - x_px);
        if (distance > nearest_distance) return;
        nearest_distance = distance;
        nearest = id;
    };
    for (std::size_t k = 0; k < s.probes.size(); ++k)
        consider(s.probes[k].cell, MarkerId{false, k});
    consider(s.source.cell, MarkerId{true, 0}); // the source wins a tie
    return nearest;
}

int cell_at(const Scenario& s, const PlotFrame& frame, int x_px) {
    const double along = (x_px - frame.left_px) / (frame.right_px - frame.left_px);
    const double x_mm = frame.x_min + along * (frame.x_max - frame.x_min);
    const long cell = std::lround(x_mm / (s.grid.cell_size_m * mm_per_m));
    return static_cast<int>(std::clamp<long>(cell, 0, s.grid.cells - 1));
}

} // namespace lab::view
