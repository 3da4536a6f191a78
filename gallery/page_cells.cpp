// Page 3: a cell plot coloured from the colormap, its colour bar, and contour lines of
// the same values in a layer of their own, drawn over the cells.
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::Matrix;
using rizodozad::ZarIdor;

constexpr int grid_points = 41; // per side
constexpr Limits plane{-3.0, 3.0};
constexpr Limits value_range{-1.0, 1.0};
constexpr double level_step = 0.25;

// Two bumps of opposite sign on a slow wave: values within -1..1.
double landscape(double x, double y) {
    const double hill = std::exp(-((x - 1.0) * (x - 1.0) + (y - 0.5) * (y - 0.5)));
    const double hollow = std::exp(-((x + 1.2) * (x + 1.2) + (y + 1.0) * (y + 1.0)) / 1.5);
    return 0.8 * hill - 0.8 * hollow + 0.2 * std::sin(x) * std::cos(y);
}

Matrix sample_landscape(const std::vector<double>& x, const std::vector<double>& y) {
    Matrix z;
    for (double yi : y) {
        std::vector<double>& row = z.emplace_back();
        for (double xj : x)
            row.push_back(landscape(xj, yi));
    }
    return z;
}

// Zero, where the line wanders through the flat plain between the bumps, and levels on
// both sides of it.
std::vector<double> contour_levels() {
    std::vector<double> levels{0.0};
    for (double level = level_step; level < value_range[1]; level += level_step) {
        levels.push_back(-level);
        levels.push_back(level);
    }
    return levels;
}

} // namespace

void compose_cells_page(ZarIdor& engine) {
    const std::vector<double> x = rizodozad::linspace(plane[0], plane[1], grid_points);
    const std::vector<double> y = rizodozad::linspace(plane[0], plane[1], grid_points);
    const Matrix z = sample_landscape(x, y);

    engine.layer("cells");
    rizodozad::Axes* cells = panel(engine, 1, 1, 1, "Cell plot with colour bar and contours");
    engine.fix_limits(plane, plane);
    if (cells != nullptr) cells->c_lim = value_range;
    const int surface = engine.surface(Matrix{x}, Matrix{y}, z);
    engine.set(surface, "EdgeColor", "none"); // 40 x 40 cell borders would hide the colours
    engine.colorbar();

    // The overlay axes lies exactly on the cells and has no frame and no ticks: only
    // its contour lines show, and its layer switches them on and off.
    engine.layer("contours");
    rizodozad::Axes* overlay = panel(engine, 1, 1, 1, "");
    engine.fix_limits(plane, plane);
    if (overlay != nullptr) overlay->box = 0;
    engine.contour(x, y, z, contour_levels());
}

} // namespace gallery
