// Line records: create-or-match, storing data and widening the axes' data extents.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "rizodozad/core/create_or_match.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

constexpr int linear_scale = 0;
constexpr int log_scale = 1;

// A configuration pass refills the points; colours and styles stay as set.
void forget_points(Line& line) {
    line.x_data.clear();
    line.y_data.clear();
    line.z_data.clear();
    line.error_upper.clear();
    line.error_lower.clear();
}

// Strict comparisons, so a NaN never moves an extent.
void widen(double v, double& min, double& max) {
    if (v < min) min = v;
    if (v > max) max = v;
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

int ZarIdor::create_line() {
    return detail::create_or_match(
        *this, detail::KindSlot<Line>{line_list, current_line, line_counter, kind::line, "Line"},
        detail::children_of(current_axes), forget_points);
}

// A hidden layer's lines hold no points, so they neither draw nor widen the
// extents. Before any line of the pass is matched there is nowhere to store.
int ZarIdor::line(std::vector<double> x, std::vector<double> y) {
    const int handle = create_line();
    const bool layer_shown = !current_layer || current_layer->visible != 0;
    if (layer_shown && current_line) {
        current_line->x_data = std::move(x);
        current_line->y_data = std::move(y);
        update_data_range();
    }
    return handle;
}

int ZarIdor::plot(std::vector<double> x, std::vector<double> y) {
    return line(std::move(x), std::move(y));
}

// Returns 0, a handle that names no record, when there is nothing to plot.
int ZarIdor::plot_y(std::vector<double> y) {
    const int n = static_cast<int>(y.size());
    if (n == 0) return 0;
    return plot(linspace(0.0, n - 1.0, n), std::move(y));
}

// On a logarithmic x axis only positive values can be the lower end.
void ZarIdor::update_data_range() {
    Axes* axes = current_axes.get();
    const Line* line = current_line.get();
    if (axes == nullptr || line == nullptr) return;

    if (axes->x_scale == linear_scale) {
        for (double v : line->x_data)
            widen(v, axes->data_x_min, axes->data_x_max);
    } else if (axes->x_scale == log_scale) {
        for (double v : line->x_data) {
            if (v < axes->data_x_min && v > 0) axes->data_x_min = v;
            if (v > axes->data_x_max) axes->data_x_max = v;
        }
    }
    for (double v : line->y_data)
        widen(v, axes->data_y_min, axes->data_y_max);
    for (double v : line->z_data)
        widen(v, axes->data_z_min, axes->data_z_max);
}

} // namespace rizodozad
