// Lines over data the program keeps: read in place while the pass composes, then stored as
// what the axes' pixel columns can show, which the line renderer draws exactly as it would
// have drawn the whole line (its own reduction keeps the same points of either).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "rizodozad/core/column_reduction.h"
#include "rizodozad/core/creator_support.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"

namespace rizodozad {

namespace {

// The renderer's own transform onto the unit square (data_to_unit_x), for one axis.
struct UnitAxis {
    std::array<double, 2> lim;
    float operator()(double v) const {
        return static_cast<float>((v - lim[0]) / (lim[1] - lim[0]));
    }
};

bool linear_2d(const Axes& axes) {
    return axes.type == axes_type::two_d && axes.x_scale == axis_scale::linear &&
           axes.y_scale == axis_scale::linear;
}

// x never decreases: the columns follow one another, each found by bisection.
bool ascending(const std::vector<double>& x, std::size_t n) {
    bool sorted = true;
    for (std::size_t i = 1; i < n; ++i)
        sorted &= x[i - 1] <= x[i]; // false for NaN too
    return sorted;
}

// Markers and error bars are drawn at every point, so such a line keeps them all.
bool drawn_as_polyline_only(const Line& line) {
    return line.marker == "none" && line.error_bar == 0;
}

} // namespace

int Engine::plot_kept(const std::vector<double>& x, const std::vector<double>& y) {
    const int handle = create_line();
    Line* line = creator_support::matched(current_line, handle);
    if (!creator_support::layer_shown(*this) || line == nullptr || !current_axes) return handle;
    update_data_range(x, y, line->z_data);
    kept_lines.push_back({static_cast<std::size_t>(handle_index(handle)),
                          static_cast<std::size_t>(handle_index(current_axes->handle)), &x, &y});
    return handle;
}

double Engine::line_columns(const Axes& axes) const {
    const double ww = app.window_width;
    // As the two layouts set the children's viewport (display_axes_2d_tidy, unit_square_in).
    const int pixels = app.tidy_layout
                           ? static_cast<int>(axes.position[2] * ww)
                           : static_cast<int>(static_cast<float>(ww) * axes.position[2]);
    return print_mirror::page_open() ? pixels * export_columns_per_pixel : pixels;
}

void Engine::store_kept_lines() {
    for (const KeptLine& kept : kept_lines) {
        if (kept.line_index >= line_list.size() || kept.axes_index >= axes_list.size()) continue;
        Line& line = line_list[kept.line_index];
        const Axes& axes = axes_list[kept.axes_index];
        const std::vector<double>& x = *kept.x;
        const std::vector<double>& y = *kept.y;
        const std::size_t n = std::min(x.size(), y.size());
        const double columns = line_columns(axes);
        const UnitAxis unit_x{axes.x_lim}, unit_y{axes.y_lim};
        const bool reducible = linear_2d(axes) && drawn_as_polyline_only(line) &&
                               worth_reducing(n, columns) && ascending(x, n) &&
                               std::isfinite(unit_x(x[0])) && std::isfinite(unit_x(x[n - 1]));
        if (!reducible) {
            line.x_data.assign(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
            line.y_data.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));
            continue;
        }
        line.x_data.clear();
        line.y_data.clear();
        reduce_sorted_indices_to_columns(
            n, [&](std::size_t i) { return unit_x(x[i]); },
            [&](std::size_t i) { return unit_y(y[i]); }, columns,
            [&](std::size_t i) {
                line.x_data.push_back(x[i]);
                line.y_data.push_back(y[i]);
            });
    }
    kept_lines.clear();
}

} // namespace rizodozad
