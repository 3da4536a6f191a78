#include "rizodozad/core/feedback_estimate.h"

#include <algorithm>

#include "rizodozad/core/column_reduction.h"

namespace rizodozad::eps {

namespace {

// Sizes of feedback tokens with colour (GL_3D_COLOR: seven values per vertex).
constexpr std::size_t vertex_floats = 7;
constexpr std::size_t segment_floats = 1 + 2 * vertex_floats;
constexpr std::size_t triangle_floats = 2 + 3 * vertex_floats;

constexpr std::size_t marker_segments = 20;   // the circle, the marker with most segments
constexpr std::size_t error_bar_segments = 4; // the bar and its three crossbars
constexpr std::size_t cell_floats = 2 * triangle_floats + 4 * segment_floats;
constexpr std::size_t corner_floats = triangle_floats + segment_floats;
// Frame, ticks, grid, labels and the layer list of one axes, with room to spare.
constexpr std::size_t axes_floats = 1 << 16;

std::size_t line_floats(const Line& line, std::size_t columns) {
    const std::size_t n = std::min(line.x_data.size(), line.y_data.size());
    const std::size_t polyline = worth_reducing(n, static_cast<double>(columns))
                                     ? static_cast<std::size_t>(4 * (columns + 1))
                                     : n;
    const std::size_t markers = line.marker != "none" ? n * marker_segments : 0;
    const std::size_t bars = line.error_bar ? n * error_bar_segments : 0;
    return (polyline + markers + bars) * segment_floats;
}

std::size_t grid_cells(const Matrix& z) {
    std::size_t cells = 0;
    for (const auto& row : z)
        cells += row.size();
    return cells;
}

} // namespace

std::size_t feedback_floats_needed(const Engine& engine) {
    // A line can be no wider than the window.
    const auto columns =
        static_cast<std::size_t>(std::max(0, engine.app.window_width) * export_columns_per_pixel);
    std::size_t floats = (engine.axes_list.size() + 1) * axes_floats;
    for (const Line& line : engine.line_list)
        floats += line_floats(line, columns);
    for (const Surface& surface : engine.surface_list)
        floats += grid_cells(surface.z_data) * cell_floats;
    for (const Patch& patch : engine.patch_list)
        floats += grid_cells(patch.x_data) * corner_floats;
    return floats;
}

} // namespace rizodozad::eps
