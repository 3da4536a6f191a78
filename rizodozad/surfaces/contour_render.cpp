// Contour lines of a surface: every traced polyline as a black strip in the axes' unit square.
#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/surfaces/contours.h"
#include "rizodozad/surfaces/grid_fingerprint.h"

namespace rizodozad {

namespace {

constexpr float contour_line_width = 2.0f;

// The points of a block whose header states `stated`: a count beyond the columns left
// is cut to them, so every strip is closed.
std::size_t block_points(double stated, std::size_t columns_left) {
    if (stated >= 0 && stated <= static_cast<double>(columns_left))
        return static_cast<std::size_t>(stated);
    return stated > 0 ? columns_left : 0;
}

// The surface's contour lines, traced again only when its grid or levels changed: the
// configuration pass refills the data on every redraw, mostly with the same values.
const ContourMatrix& traced_lines(Surface& surface) {
    const std::vector<double>& x = surface.x_data.front();
    const std::vector<double>& y = surface.y_data.front();
    const std::uint64_t fingerprint =
        grid_fingerprint(x, y, surface.z_data, surface.contour_levels);
    if (!surface.contour_traced || surface.contour_fingerprint != fingerprint) {
        surface.contour_lines = trace_contours(x, y, surface.z_data, surface.contour_levels);
        surface.contour_fingerprint = fingerprint;
        surface.contour_traced = true;
    }
    return surface.contour_lines;
}

} // namespace

void Engine::display_contour() {
    Surface* surface = current_surface.get();
    if (surface == nullptr) return;
    if (surface->x_data.empty() || surface->y_data.empty() || surface->z_data.empty()) return;

    const ContourMatrix& matrix = traced_lines(*surface);

    print_mirror::solid_lines();
    print_mirror::set_line_width(contour_line_width);
    draw::set_colour(draw::black);

    // Each block is a header column (level, point count) and then its points.
    const std::size_t columns = std::min(matrix[0].size(), matrix[1].size());
    for (std::size_t header = 0; header < columns;) {
        const std::size_t count = block_points(matrix[1][header], columns - header - 1);
        draw::Strip line;
        for (std::size_t c = header + 1; c <= header + count; ++c)
            line.add({data_to_unit_x(matrix[0][c]), data_to_unit_y(matrix[1][c]), 0});
        header += count + 1;
    }
}

} // namespace rizodozad
