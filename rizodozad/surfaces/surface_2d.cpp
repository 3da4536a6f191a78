// Surfaces: the dispatch by type and the flat cell plot in the axes' unit square.
#include <GL/gl.h>

#include <array>
#include <cstdio>
#include <optional>

#include "rizodozad/rizodozad.h"
#include "rizodozad/surfaces/surface_grid.h"

namespace rizodozad {

namespace {

namespace surface_type {
constexpr int cell_plot = 0;
constexpr int mesh = 1;
constexpr int mesh_alike = 2; // drawn exactly like a mesh
constexpr int contour = 3;
} // namespace surface_type

// Where the index grid is reported; kept as the engine has always printed it.
constexpr const char* index_grid_report_function = "display_surface_2d";
constexpr const char* index_grid_report_source = "..\\rizodozad\\rizodozad";
constexpr int index_grid_report_line = 2345;

using surface_grid::PointXY;

// Coordinate k of n evenly spaced points across a limit pair; a single point sits
// at the lower limit rather than dividing by zero.
double index_grid_coordinate(const std::array<double, 2>& lim, std::size_t k, std::size_t n) {
    if (n < 2) return lim[0];
    return lim[0] + (lim[1] - lim[0]) * static_cast<float>(k) / static_cast<float>(n - 1);
}

// The colour of cell (i, j): its own from c_data for "flat", else the one face colour.
// Empty when c_data does not reach the cell.
std::optional<Rgb> face_colour(const Surface& surface, const Rgb& plain, std::size_t i,
                               std::size_t j) {
    if (surface.face_color != "flat") return plain;
    const Rgb* own = surface_grid::element(surface.c_data, i, j);
    if (own == nullptr) return std::nullopt;
    return *own;
}

void set_colour(const Rgb& c) { glColor3f(c[0], c[1], c[2]); }

void set_edge_style(const Surface& surface) {
    glLineWidth(surface.line_width);
    set_colour(color_to_rgb(surface.edge_color));
}

} // namespace

//-----------------------------------------------------------------------------
// Dispatch
//-----------------------------------------------------------------------------

void ZarIdor::display_surface() {
    const Surface* surface = current_surface.get();
    if (surface == nullptr) return;
    if (debug != 0)
        std::printf("mode: %d handle: %4d Surface type %d, Z.size %d\n", mode, surface->handle,
                    surface->type, static_cast<int>(surface->z_data.size()));

    if (current_surface && current_surface->type == surface_type::cell_plot) display_surface_2d();
    if (current_surface && current_surface->type == surface_type::mesh) display_surface_3d();
    if (current_surface && current_surface->type == surface_type::mesh_alike) display_surface_3d();
    if (current_surface && current_surface->type == surface_type::contour) display_contour();
}

//-----------------------------------------------------------------------------
// Flat cell plot
//-----------------------------------------------------------------------------

void ZarIdor::display_surface_2d() {
    const Surface* surface = current_surface.get();
    const Axes* axes = current_axes.get();
    if (surface == nullptr || axes == nullptr) return;

    const bool draw_edges = surface->edge_color != "none";
    const bool draw_faces = surface->face_color != "none";
    const Rgb plain_face = color_to_rgb(surface->face_color);
    const auto vertex = [this](const PointXY& p) {
        glVertex2d(data_to_unit_x(p.x), data_to_unit_y(p.y));
    };
    // One cell as its own quadrilateral, skipped when a corner or its colour is missing.
    const auto quad = [&](std::size_t i, std::size_t j,
                          const std::array<std::optional<PointXY>, 4>& corners) {
        const auto colour = face_colour(*surface, plain_face, i, j);
        if (!colour) return;
        for (const auto& corner : corners)
            if (!corner) return;
        set_colour(*colour);
        glBegin(GL_QUADS);
        for (const auto& corner : corners)
            vertex(*corner);
        glEnd();
    };

    if (surface->x_data.empty()) {
        // Index grid: the values' rows and columns spread evenly across the limits.
        std::printf("%s %s:%d\n", index_grid_report_function, index_grid_report_source,
                    index_grid_report_line);
        const std::size_t nrows = surface->z_data.size();
        const std::size_t ncols = surface_grid::column_count(surface->z_data);
        const auto point = [&](std::size_t i, std::size_t j) {
            return std::optional<PointXY>(PointXY{index_grid_coordinate(axes->x_lim, j, ncols),
                                                  index_grid_coordinate(axes->y_lim, i, nrows)});
        };
        if (draw_edges) {
            set_edge_style(*surface);
            for (std::size_t i = 0; i < nrows; ++i) {
                glBegin(GL_LINE_STRIP);
                for (std::size_t j = 0; j < ncols; ++j)
                    vertex(*point(i, j));
                glEnd();
            }
        }
        if (draw_faces)
            for (std::size_t i = 0; i + 1 < nrows; ++i)
                for (std::size_t j = 0; j + 1 < ncols; ++j)
                    quad(i, j,
                         {point(i, j), point(i, j + 1), point(i + 1, j + 1), point(i + 1, j)});
        return;
    }

    const auto point = [surface](std::size_t i, std::size_t j) {
        return surface_grid::grid_xy(*surface, i, j);
    };

    if (surface->x_data.size() == 1) {
        // Vector grid: one line per grid row and per grid column, end to end.
        const std::size_t nx = surface->x_data.front().size();
        const std::size_t ny = surface_grid::column_count(surface->y_data);
        if (nx == 0 || ny == 0) return;
        const auto two_point_strip = [&](const PointXY& from, const PointXY& to) {
            glBegin(GL_LINE_STRIP);
            vertex(from);
            vertex(to);
            glEnd();
        };
        if (draw_edges) {
            set_edge_style(*surface);
            for (std::size_t i = 0; i < ny; ++i)
                two_point_strip(*point(i, 0), *point(i, nx - 1));
            for (std::size_t j = 0; j < nx; ++j)
                two_point_strip(*point(0, j), *point(ny - 1, j));
        }
        if (draw_faces)
            for (std::size_t i = 0; i + 1 < ny; ++i)
                for (std::size_t j = 0; j + 1 < nx; ++j)
                    quad(i, j,
                         {point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1)});
        return;
    }

    // Matrix grid: every grid point has its own coordinates; a strip stops where
    // a short row ends.
    const std::size_t nrows = surface->x_data.size();
    const std::size_t ncols = surface_grid::column_count(surface->x_data);
    if (draw_edges) {
        set_edge_style(*surface);
        for (std::size_t i = 0; i < nrows; ++i) {
            glBegin(GL_LINE_STRIP);
            for (std::size_t j = 0; j < ncols && point(i, j); ++j)
                vertex(*point(i, j));
            glEnd();
        }
        for (std::size_t j = 0; j < ncols; ++j) {
            glBegin(GL_LINE_STRIP);
            for (std::size_t i = 0; i < nrows && point(i, j); ++i)
                vertex(*point(i, j));
            glEnd();
        }
    }
    if (draw_faces)
        for (std::size_t i = 0; i + 1 < nrows; ++i)
            for (std::size_t j = 0; j + 1 < ncols; ++j)
                quad(i, j, {point(i, j), point(i, j + 1), point(i + 1, j + 1), point(i + 1, j)});
}

} // namespace rizodozad
