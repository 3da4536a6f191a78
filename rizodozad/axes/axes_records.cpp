// Axes records: create-or-match and the subplot grid.
#include <array>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/create_or_match.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

// The default axes rectangle within its cell, as fractions of the cell.
constexpr double cell_left = 0.13;
constexpr double cell_bottom = 0.11;
constexpr double cell_width = 0.775;
constexpr double cell_height = 0.815;

constexpr double no_data_min = 1e99; // extents read "no data" until a child widens them
constexpr double no_data_max = -1e99;

void forget_data_extents(Axes& axes) {
    axes.data_x_min = no_data_min;
    axes.data_x_max = no_data_max;
    axes.data_y_min = no_data_min;
    axes.data_y_max = no_data_max;
    axes.data_z_min = no_data_min;
    axes.data_z_max = no_data_max;
}

std::array<float, 4> as_floats(double left, double bottom, double width, double height) {
    return {static_cast<float>(left), static_cast<float>(bottom), static_cast<float>(width),
            static_cast<float>(height)};
}

} // namespace

// Data extents are gathered afresh in every configuration pass; the axes always
// shows or hides with its layer.
int Engine::create_axes() {
    const int handle = detail::create_or_match(
        *this, detail::KindSlot<Axes>{axes_list, current_axes, axes_counter, kind::axes, "Axes "},
        detail::children_of(current_layer), forget_data_extents);
    if (current_axes && current_layer) current_axes->visible = current_layer->visible;
    return handle;
}

// An m by n grid of cells; p counts cells row by row from the top left, so with a
// single column p = 1 is the top row. Each axes keeps the default margins within
// its cell. A grid without rows or columns leaves the default rectangle.
int Engine::subplot(int m, int n, int p) {
    const int handle = create_axes();
    if (m < 1 || n < 1 || !current_axes) return handle;

    // Wide enough that no p, however far outside the grid, overflows the arithmetic.
    const long long cell = static_cast<long long>(p) - 1;
    const long long row_from_top = cell / n;
    const long long column = cell % n;
    const auto row = static_cast<double>(m - 1 - row_from_top); // counted from the bottom
    const double rows = m;
    const double columns = n;

    current_axes->position = as_floats((column + cell_left) / columns, (row + cell_bottom) / rows,
                                       cell_width / columns, cell_height / rows);
    current_axes->position_3d = as_floats(column / columns, row / rows, 1 / columns, 1 / rows);
    return handle;
}

void Engine::configure_every_axes() {
    for (Axes& axes : axes_list)
        configure_axes(axes);
}

//-----------------------------------------------------------------------------
// [SECTION] Fixed limits and the frame in pixels
//-----------------------------------------------------------------------------

void Engine::fix_x_limits(const Limits& x_lim) {
    if (!current_axes) return;
    current_axes->x_lim = x_lim;
    current_axes->x_lim_mode = limit_mode::manual;
}

void Engine::fix_y_limits(const Limits& y_lim) {
    if (!current_axes) return;
    current_axes->y_lim = y_lim;
    current_axes->y_lim_mode = limit_mode::manual;
}

void Engine::fix_z_limits(const Limits& z_lim) {
    if (!current_axes) return;
    current_axes->z_lim = z_lim;
    current_axes->z_lim_mode = limit_mode::manual;
}

// The position is a fraction of the window from the bottom left; pixels count from the top.
std::optional<FramePx> Engine::axes_frame_px(int handle) const {
    const int index = handle_index(handle);
    if (handle_kind(handle) != kind::axes || index < 0 ||
        static_cast<std::size_t>(index) >= axes_list.size())
        return std::nullopt;
    const std::array<float, 4>& p = axes_list[static_cast<std::size_t>(index)].position;
    const double w = app.window_width;
    const double h = app.window_height;
    return FramePx{p[0] * w, (p[0] + p[2]) * w, (1 - p[1] - p[3]) * h, (1 - p[1]) * h};
}

} // namespace rizodozad
