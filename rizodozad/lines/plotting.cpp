// Line records: create-or-match, storing data and widening the axes' data extents.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "rizodozad/axes/data_extents.h"
#include "rizodozad/core/create_or_match.h"
#include "rizodozad/core/creator_support.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

// A configuration pass refills the points; colours and styles stay as set.
void forget_points(Line& line) {
    line.x_data.clear();
    line.y_data.clear();
    line.z_data.clear();
    line.error_upper.clear();
    line.error_lower.clear();
}

} // namespace

std::vector<double> linspace(double min, double max, int n) {
    const int count = std::max(n, 1);
    if (count == 1) return {min};
    std::vector<double> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values[static_cast<std::size_t>(i)] = (i * (max - min)) / (count - 1) + min;
    return values;
}

int Engine::create_line() {
    return detail::create_or_match(
        *this, detail::KindSlot<Line>{line_list, current_line, line_counter, kind::line, "Line"},
        detail::children_of(current_axes), forget_points);
}

// A hidden layer's lines hold no points, so they neither draw nor widen the
// extents. Before any line of the pass is matched there is nowhere to store.
int Engine::line(std::vector<double> x, std::vector<double> y) {
    const int handle = create_line();
    if (creator_support::layer_shown(*this) && current_line) {
        current_line->x_data = std::move(x);
        current_line->y_data = std::move(y);
        update_data_range(current_line->x_data, current_line->y_data, current_line->z_data);
    }
    return handle;
}

int Engine::plot(std::vector<double> x, std::vector<double> y) {
    return line(std::move(x), std::move(y));
}

// Returns 0, a handle that names no record, when there is nothing to plot.
int Engine::plot_y(std::vector<double> y) {
    const int n = static_cast<int>(y.size());
    if (n == 0) return 0;
    return plot(linspace(0.0, n - 1.0, n), std::move(y));
}

// On a logarithmic x or y axis only positive values can be the lower end, so the
// automatic limits, and with them the ticks, leave out what has no logarithm. Fixed
// limits never read the extents: a long line is not scanned for them.
void Engine::update_data_range(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<double>& z) {
    Axes* axes = current_axes.get();
    if (axes == nullptr) return;
    if (axes->x_lim_mode == limit_mode::automatic)
        data_extents::widen(*axes, data_extents::Axis::x, x);
    if (axes->y_lim_mode == limit_mode::automatic)
        data_extents::widen(*axes, data_extents::Axis::y, y);
    if (axes->z_lim_mode == limit_mode::automatic)
        data_extents::widen(*axes, data_extents::Axis::z, z);
}

} // namespace rizodozad
