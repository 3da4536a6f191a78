// Surfaces as meshes in the three-dimensional view: two triangles per grid cell,
// then the grid lines.
#include <GL/gl.h>

#include <optional>

#include "rizodozad/rizodozad.h"
#include "rizodozad/surfaces/surface_grid.h"

namespace rizodozad {

namespace {

using surface_grid::PointXYZ;

// Sends a data point as a vertex of the cube -1..1 spanned by the axes' limits.
void cube_vertex(const Axes& axes, const PointXYZ& p) {
    glVertex3d(unit_cube_coordinate(p.x, axes.x_lim), unit_cube_coordinate(p.y, axes.y_lim),
               unit_cube_coordinate(p.z, axes.z_lim));
}

void triangle(const Axes& axes, const PointXYZ& a, const PointXYZ& b, const PointXYZ& c) {
    glBegin(GL_TRIANGLES);
    cube_vertex(axes, a);
    cube_vertex(axes, b);
    cube_vertex(axes, c);
    glEnd();
}

} // namespace

void ZarIdor::display_surface_3d() {
    const Surface* surface = current_surface.get();
    const Axes* axes = current_axes.get();
    if (surface == nullptr || axes == nullptr || surface->x_data.empty()) return;

    // The vector form has one row of x and one of y, the matrix form a full grid of each.
    const bool vector_form = surface->x_data.size() == 1;
    const std::size_t nrows = surface->z_data.size();
    const std::size_t ncols = surface_grid::column_count(surface->z_data);
    const auto point = [surface](std::size_t i, std::size_t j) {
        return surface_grid::grid_xyz(*surface, i, j);
    };

    //-------------------------------------------------------------------------
    // Faces: both triangles of a cell share the diagonal (i, j) - (i+1, j+1)
    //-------------------------------------------------------------------------
    if (surface->face_color != "none") {
        const bool flat = surface->face_color == "flat";
        const Rgb plain = color_to_rgb(surface->face_color);
        for (std::size_t i = 0; i + 1 < nrows; ++i) {
            for (std::size_t j = 0; j + 1 < ncols; ++j) {
                const Rgb* colour = flat ? surface_grid::element(surface->c_data, i, j) : &plain;
                const auto p00 = point(i, j);
                const auto p01 = point(i, j + 1);
                const auto p10 = point(i + 1, j);
                const auto p11 = point(i + 1, j + 1);
                if (colour == nullptr || !p00 || !p01 || !p10 || !p11) continue;
                glColor3f((*colour)[0], (*colour)[1], (*colour)[2]);
                if (vector_form) {
                    triangle(*axes, *p00, *p10, *p11);
                    triangle(*axes, *p00, *p01, *p11);
                } else {
                    triangle(*axes, *p00, *p01, *p11);
                    triangle(*axes, *p00, *p10, *p11);
                }
            }
        }
    }

    //-------------------------------------------------------------------------
    // Edges: a strip per grid row, then per grid column, each ending where the data does
    //-------------------------------------------------------------------------
    if (surface->edge_color != "none") {
        glLineWidth(surface->line_width);
        const Rgb edge = color_to_rgb(surface->edge_color);
        glColor3d(edge[0], edge[1], edge[2]);
        for (std::size_t i = 0; i < nrows; ++i) {
            glBegin(GL_LINE_STRIP);
            for (std::size_t j = 0; j < ncols && point(i, j); ++j)
                cube_vertex(*axes, *point(i, j));
            glEnd();
        }
        for (std::size_t j = 0; j < ncols; ++j) {
            glBegin(GL_LINE_STRIP);
            for (std::size_t i = 0; i < nrows && point(i, j); ++i)
                cube_vertex(*axes, *point(i, j));
            glEnd();
        }
    }
}

} // namespace rizodozad
