// Surfaces: the dispatch by type and the flat cell plot in the axes' unit square.
#include <GL/gl.h>

#include <array>
#include <cstdio>
#include <functional>
#include <optional>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/surfaces/surface_grid.h"

namespace rizodozad {

namespace {

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

void set_edge_style(const Surface& surface) {
    print_mirror::screen_line_width(surface.line_width);
    draw::set_colour(color_to_rgb(surface.edge_color));
}

using Corner = std::optional<PointXY>;
using GridPoint = std::function<Corner(std::size_t, std::size_t)>;

// One cell plot being drawn: its records, and how grid point (i, j) is found.
struct CellPlot {
    Engine& engine;
    const Surface& surface;
    GridPoint point;
    Rgb plain_face = color_to_rgb(surface.face_color);

    draw::Point unit(const PointXY& p) const {
        return {engine.data_to_unit_x(p.x), engine.data_to_unit_y(p.y), 0};
    }

    // One cell as its own quadrilateral, skipped when a corner or its colour is missing.
    void quad(std::size_t i, std::size_t j, const std::array<Corner, 4>& corners) const {
        const auto colour = face_colour(surface, plain_face, i, j);
        if (!colour) return;
        std::array<draw::Point, 4> unit_corners{};
        for (std::size_t k = 0; k < corners.size(); ++k) {
            if (!corners[k]) return;
            unit_corners[k] = unit(*corners[k]);
        }
        draw::set_colour(*colour);
        draw::shape(GL_QUADS, unit_corners);
    }

    // Every cell of a rows x columns grid; along_row_first lists a cell's corners from
    // (i, j) along its row first, else along its column first.
    void cells(std::size_t rows, std::size_t columns, bool along_row_first) const {
        if (surface.face_color == "none") return;
        for (std::size_t i = 0; i + 1 < rows; ++i)
            for (std::size_t j = 0; j + 1 < columns; ++j) {
                const Corner across = point(i + 1, j + 1);
                if (along_row_first)
                    quad(i, j, {point(i, j), point(i, j + 1), across, point(i + 1, j)});
                else
                    quad(i, j, {point(i, j), point(i + 1, j), across, point(i, j + 1)});
            }
    }

    // A strip through the grid points `count` steps from (i, j), stopping where the data does.
    void strip(std::size_t i, std::size_t j, std::size_t di, std::size_t dj,
               std::size_t count) const {
        draw::Strip line;
        for (std::size_t k = 0; k < count; ++k) {
            const Corner p = point(i + k * di, j + k * dj);
            if (!p) return;
            line.add(unit(*p));
        }
    }
};

//-----------------------------------------------------------------------------
// [SECTION] The three forms of grid
//-----------------------------------------------------------------------------

// Index grid: the values' rows and columns spread evenly across the limits.
void draw_index_grid(Engine& engine, const Surface& surface, const Axes& axes) {
    std::printf("%s %s:%d\n", index_grid_report_function, index_grid_report_source,
                index_grid_report_line);
    const std::size_t nrows = surface.z_data.size();
    const std::size_t ncols = surface_grid::column_count(surface.z_data);
    const CellPlot plot{engine, surface, [&](std::size_t i, std::size_t j) {
                            return Corner(PointXY{index_grid_coordinate(axes.x_lim, j, ncols),
                                                  index_grid_coordinate(axes.y_lim, i, nrows)});
                        }};
    if (surface.edge_color != "none") {
        set_edge_style(surface);
        for (std::size_t i = 0; i < nrows; ++i)
            plot.strip(i, 0, 0, 1, ncols);
    }
    plot.cells(nrows, ncols, true);
}

// Vector grid: one line per grid row and per grid column, end to end.
void draw_vector_grid(Engine& engine, const Surface& surface) {
    const std::size_t nx = surface.x_data.front().size();
    const std::size_t ny = surface_grid::column_count(surface.y_data);
    if (nx == 0 || ny == 0) return;
    const CellPlot plot{engine, surface, [&](std::size_t i, std::size_t j) {
                            return surface_grid::grid_xy(surface, i, j);
                        }};
    if (surface.edge_color != "none") {
        set_edge_style(surface);
        for (std::size_t i = 0; i < ny; ++i)
            plot.strip(i, 0, 0, nx - 1, 2);
        for (std::size_t j = 0; j < nx; ++j)
            plot.strip(0, j, ny - 1, 0, 2);
    }
    plot.cells(ny, nx, false);
}

// Matrix grid: every grid point has its own coordinates; a strip stops where a
// short row ends.
void draw_matrix_grid(Engine& engine, const Surface& surface) {
    const std::size_t nrows = surface.x_data.size();
    const std::size_t ncols = surface_grid::column_count(surface.x_data);
    const CellPlot plot{engine, surface, [&](std::size_t i, std::size_t j) {
                            return surface_grid::grid_xy(surface, i, j);
                        }};
    if (surface.edge_color != "none") {
        set_edge_style(surface);
        for (std::size_t i = 0; i < nrows; ++i)
            plot.strip(i, 0, 0, 1, ncols);
        for (std::size_t j = 0; j < ncols; ++j)
            plot.strip(0, j, 1, 0, nrows);
    }
    plot.cells(nrows, ncols, true);
}

} // namespace

//-----------------------------------------------------------------------------
// Dispatch
//-----------------------------------------------------------------------------

void Engine::display_surface() {
    const Surface* surface = current_surface.get();
    if (surface == nullptr) return;
    if (app.debug != 0)
        std::printf("mode: %d handle: %4d Surface type %d, Z.size %d\n", mode, surface->handle,
                    surface->type, static_cast<int>(surface->z_data.size()));

    if (current_surface && current_surface->type == surface_type::cell_plot) display_surface_2d();
    if (current_surface && current_surface->type == surface_type::mesh) display_surface_3d();
    if (current_surface && current_surface->type == surface_type::filled_mesh) display_surface_3d();
    if (current_surface && current_surface->type == surface_type::contour) display_contour();
}

//-----------------------------------------------------------------------------
// Flat cell plot
//-----------------------------------------------------------------------------

void Engine::display_surface_2d() {
    const Surface* surface = current_surface.get();
    const Axes* axes = current_axes.get();
    if (surface == nullptr || axes == nullptr) return;

    if (surface->x_data.empty())
        draw_index_grid(*this, *surface, *axes);
    else if (surface->x_data.size() == 1)
        draw_vector_grid(*this, *surface);
    else
        draw_matrix_grid(*this, *surface);
}

} // namespace rizodozad
