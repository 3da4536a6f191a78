// Contour lines of a surface: every traced polyline as a black strip in the axes' unit square.
#include <GL/gl.h>

#include <algorithm>

#include "rizodozad/core/print_mirror.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

constexpr float contour_line_width = 2.0f;

} // namespace

void ZarIdor::display_contour() {
    const Surface* surface = current_surface.get();
    if (surface == nullptr) return;
    if (surface->x_data.empty() || surface->y_data.empty() || surface->z_data.empty()) return;

    const ContourMatrix matrix = trace_contours(surface->x_data.front(), surface->y_data.front(),
                                                surface->z_data, surface->contour_levels);

    print_mirror::solid_lines();
    print_mirror::set_line_width(contour_line_width);
    glColor3f(0, 0, 0);

    // Each block is a header column (level, point count) and then its points.
    const std::size_t columns = std::min(matrix[0].size(), matrix[1].size());
    std::size_t position = 0; // 0 on a header, then 1..count on the block's points
    std::size_t count = 0;
    for (std::size_t c = 0; c < columns; ++c) {
        if (position == 0) {
            // A count beyond the columns left is cut to them, so every strip is closed.
            const double stated = matrix[1][c];
            const std::size_t left = columns - c - 1;
            count = stated >= 0 && stated <= static_cast<double>(left)
                        ? static_cast<std::size_t>(stated)
                        : (stated > 0 ? left : 0);
            glBegin(GL_LINE_STRIP);
        } else {
            glVertex2d(data_to_unit_x(matrix[0][c]), data_to_unit_y(matrix[1][c]));
        }
        if (position + 1 > count) {
            glEnd();
            position = 0;
        } else {
            ++position;
        }
    }
}

} // namespace rizodozad
