// Public creators of surfaces: cell plots, meshes, filled surfaces and contours.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "rizodozad/axes/data_extents.h"
#include "rizodozad/core/creator_support.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

using data_extents::Axis;

//-----------------------------------------------------------------------------
// [SECTION] The look of each kind of surface
//-----------------------------------------------------------------------------

struct SurfaceLook {
    int type;
    const char* face_color;
    const char* edge_color;
};

constexpr SurfaceLook cell_plot_look{surface_type::cell_plot, "flat", "k"};
constexpr SurfaceLook wire_mesh_look{surface_type::mesh, "none", "b"};
constexpr SurfaceLook filled_surface_look{surface_type::filled_mesh, "flat", "k"};
constexpr SurfaceLook contour_look{surface_type::contour, "none",
                                   "k"}; // contours are drawn black whatever is set

constexpr std::array<double, 2> default_c_lim{0, 1};

void give_look(Surface& surface, const SurfaceLook& look) {
    surface.type = look.type;
    surface.face_color = look.face_color;
    surface.edge_color = look.edge_color;
}

//-----------------------------------------------------------------------------
// [SECTION] Cell colours
//-----------------------------------------------------------------------------

// The colormap entry of value v: c_lim is cut into as many equal bins as the map has
// entries, as a colour bar shows them; values beyond c_lim take the end colours, and
// a NaN or a colour axis without extent takes the first.
Rgb colour_of(const Colormap& colormap, const std::array<double, 2>& c_lim, double v) {
    const double range = c_lim[1] - c_lim[0];
    double t = std::isfinite(range) && range != 0 ? (v - c_lim[0]) / range : 0;
    if (!(t > 0)) t = 0;
    const auto last = static_cast<double>(colormap.size() - 1);
    const double bin = std::min(std::floor(t * static_cast<double>(colormap.size())), last);
    return colormap[static_cast<std::size_t>(bin)];
}

// One colour per value of z, row by row; none without a colormap.
std::vector<std::vector<Rgb>> cell_colours(const Colormap& colormap,
                                           const std::array<double, 2>& c_lim, const Matrix& z) {
    std::vector<std::vector<Rgb>> colours;
    if (colormap.empty()) return colours;
    colours.reserve(z.size());
    for (const auto& row : z) {
        std::vector<Rgb>& out = colours.emplace_back();
        out.reserve(row.size());
        for (double v : row)
            out.push_back(colour_of(colormap, c_lim, v));
    }
    return colours;
}

//-----------------------------------------------------------------------------
// [SECTION] Grids
//-----------------------------------------------------------------------------

// Grid coordinates in one of the two forms the renderers know; anything else
// (no rows, or a vector form with an empty row) is no grid at all.
enum class GridForm { none, vector, matrix };

GridForm form_of(const Matrix& x, const Matrix& y) {
    if (x.size() > 1 && !y.empty()) return GridForm::matrix;
    if (x.size() == 1 && !y.empty() && !x.front().empty() && !y.front().empty())
        return GridForm::vector;
    return GridForm::none;
}

// Stores z (and the grid, unless it is the index grid) in the surface, colours its
// cells and widens the axes by what the renderers place by data.
void store_grid(Engine& engine, Surface& surface, Matrix x, Matrix y, Matrix z, bool index_grid) {
    Axes* axes = engine.current_axes.get();
    surface.c_data =
        cell_colours(engine.current_colormap, axes != nullptr ? axes->c_lim : default_c_lim, z);
    if (!index_grid) {
        if (x.size() == 1) y.resize(1); // the vector form reads only the first row of y
        surface.x_data = std::move(x);
        surface.y_data = std::move(y);
    }
    surface.z_data = std::move(z);
    if (axes == nullptr) return;
    data_extents::widen(*axes, Axis::x, surface.x_data);
    data_extents::widen(*axes, Axis::y, surface.y_data);
    data_extents::widen(*axes, Axis::z, surface.z_data);
}

// Creates or matches a surface of the given look and fills it when the layer is shown.
int grid_surface(Engine& engine, const SurfaceLook& look, Matrix x, Matrix y, Matrix z,
                 bool index_grid) {
    const int handle = engine.create_surface();
    Surface* surface = creator_support::matched(engine.current_surface, handle);
    if (surface == nullptr) return handle;
    if (creator_support::just_created(engine)) give_look(*surface, look);
    const bool has_grid = index_grid || form_of(x, y) != GridForm::none;
    if (creator_support::layer_shown(engine) && has_grid)
        store_grid(engine, *surface, std::move(x), std::move(y), std::move(z), index_grid);
    return handle;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Creators
//-----------------------------------------------------------------------------

int Engine::surface(Matrix z) {
    return grid_surface(*this, cell_plot_look, {}, {}, std::move(z), true);
}

int Engine::surface(Matrix x, Matrix y, Matrix z) {
    return grid_surface(*this, cell_plot_look, std::move(x), std::move(y), std::move(z), false);
}

int Engine::mesh(Matrix x, Matrix y, Matrix z) {
    return grid_surface(*this, wire_mesh_look, std::move(x), std::move(y), std::move(z), false);
}

int Engine::surf(Matrix x, Matrix y, Matrix z) {
    return grid_surface(*this, filled_surface_look, std::move(x), std::move(y), std::move(z),
                        false);
}

// The contour renderer reads one row of x and one of y, so both must hold values.
int Engine::contour(std::vector<double> x, std::vector<double> y, Matrix z,
                    std::vector<double> levels) {
    const int handle = create_surface();
    Surface* surface = creator_support::matched(current_surface, handle);
    if (surface == nullptr) return handle;
    if (creator_support::just_created(*this)) give_look(*surface, contour_look);
    surface->contour_levels.clear();
    if (!creator_support::layer_shown(*this) || x.empty() || y.empty() || z.empty()) return handle;

    surface->x_data = {std::move(x)};
    surface->y_data = {std::move(y)};
    surface->z_data = std::move(z);
    surface->contour_levels = std::move(levels);
    if (Axes* axes = current_axes.get()) {
        data_extents::widen(*axes, Axis::x, surface->x_data);
        data_extents::widen(*axes, Axis::y, surface->y_data);
        data_extents::widen(*axes, Axis::z, surface->z_data);
    }
    return handle;
}

} // namespace rizodozad
