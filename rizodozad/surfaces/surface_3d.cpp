// Surfaces as meshes in the three-dimensional view: two triangles per grid cell,
// then the grid lines.
#include <GL/gl.h>

#include <optional>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/surfaces/surface_grid.h"

namespace rizodozad {

namespace {

using surface_grid::PointXYZ;

// A data point as a point of the cube -1..1 spanned by the axes' limits.
draw::Point in_cube(const Axes& axes, const PointXYZ& p) {
    return {unit_cube_coordinate(p.x, axes.x_lim), unit_cube_coordinate(p.y, axes.y_lim),
            unit_cube_coordinate(p.z, axes.z_lim)};
}

void triangle(const Axes& axes, const PointXYZ& a, const PointXYZ& b, const PointXYZ& c) {
    draw::shape(GL_TRIANGLES,
                std::array<draw::Point, 3>{in_cube(axes, a), in_cube(axes, b), in_cube(axes, c)});
}

// Both triangles of cell (i, j) share the diagonal (i, j) - (i+1, j+1).
void draw_faces(const Surface& surface, const Axes& axes) {
    const bool vector_form = surface.x_data.size() == 1;
    const bool flat = surface.face_color == "flat";
    const Rgb plain = color_to_rgb(surface.face_color);
    const std::size_t nrows = surface.z_data.size();
    const std::size_t ncols = surface_grid::column_count(surface.z_data);
    for (std::size_t i = 0; i + 1 < nrows; ++i) {
        for (std::size_t j = 0; j + 1 < ncols; ++j) {
            const Rgb* colour = flat ? surface_grid::element(surface.c_data, i, j) : &plain;
            const auto p00 = surface_grid::grid_xyz(surface, i, j);
            const auto p01 = surface_grid::grid_xyz(surface, i, j + 1);
            const auto p10 = surface_grid::grid_xyz(surface, i + 1, j);
            const auto p11 = surface_grid::grid_xyz(surface, i + 1, j + 1);
            if (colour == nullptr || !p00 || !p01 || !p10 || !p11) continue;
            draw::set_colour(*colour);
            triangle(axes, *p00, vector_form ? *p10 : *p01, *p11);
            triangle(axes, *p00, vector_form ? *p01 : *p10, *p11);
        }
    }
}

// A strip per grid row, then per grid column, each ending where the data does.
void draw_edges(const Surface& surface, const Axes& axes) {
    print_mirror::screen_line_width(surface.line_width);
    draw::set_colour(color_to_rgb(surface.edge_color));
    const std::size_t nrows = surface.z_data.size();
    const std::size_t ncols = surface_grid::column_count(surface.z_data);
    const auto strip = [&](std::size_t i, std::size_t j, std::size_t di, std::size_t dj,
                           std::size_t count) {
        draw::Strip line;
        for (std::size_t k = 0; k < count; ++k) {
            const auto p = surface_grid::grid_xyz(surface, i + k * di, j + k * dj);
            if (!p) return;
            line.add(in_cube(axes, *p));
        }
    };
    for (std::size_t i = 0; i < nrows; ++i)
        strip(i, 0, 0, 1, ncols);
    for (std::size_t j = 0; j < ncols; ++j)
        strip(0, j, 1, 0, nrows);
}

} // namespace

void Engine::display_surface_3d() {
    const Surface* surface = current_surface.get();
    const Axes* axes = current_axes.get();
    if (surface == nullptr || axes == nullptr || surface->x_data.empty()) return;
    if (surface->face_color != "none") draw_faces(*surface, *axes);
    if (surface->edge_color != "none") draw_edges(*surface, *axes);
}

} // namespace rizodozad
