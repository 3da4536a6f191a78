// Page 4: three-dimensional axes, which turn when dragged with the mouse: a wire mesh
// with a helix winding around it, and the same bump as a filled surface.
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::Matrix;
using rizodozad::ZarIdor;

using rizodozad::pi;
constexpr int grid_points = 25; // per side
constexpr int helix_points = 300;
constexpr double helix_turns = 3.0;
constexpr double helix_radius = 2.0;
constexpr float helix_width = 2.0f;
constexpr Limits plane{-2.5, 2.5}; // whole-number ticks, few enough to read
constexpr Limits height{0.0, 1.2};

double bump(double x, double y) { return std::exp(-(x * x + y * y)); }

struct Grid {
    Matrix x; // one row: x per grid column
    Matrix y; // one row: y per grid row
    Matrix z;
};

Grid bump_grid() {
    const std::vector<double> x = rizodozad::linspace(plane[0], plane[1], grid_points);
    const std::vector<double>& y = x; // a square grid
    Matrix z;
    for (double yi : y) {
        std::vector<double>& row = z.emplace_back();
        for (double xj : x)
            row.push_back(bump(xj, yi));
    }
    return {{x}, {y}, z};
}

rizodozad::Axes* cube(ZarIdor& engine, int cell) {
    engine.subplot(1, 2, cell);
    rizodozad::Axes* axes = engine.current_axes();
    engine.fix_limits(plane, plane);
    engine.fix_z_limits(height);
    if (axes != nullptr) axes->type = rizodozad::axes_type::three_d;
    return axes;
}

// The helix rises from the floor to the top of the box; plot() takes x and y only, so z
// is written into the line it made.
void helix(ZarIdor& engine) {
    const std::vector<double> t = rizodozad::linspace(0.0, 2.0 * pi * helix_turns, helix_points);
    engine.plot(sampled(t, [](double v) { return helix_radius * std::cos(v); }),
                sampled(t, [](double v) { return helix_radius * std::sin(v); }));
    engine.set("r");
    engine.set_line_width(helix_width);
    if (rizodozad::Line* line = engine.current_line())
        line->z_data = sampled(t, [&t](double v) { return height[1] * v / t.back(); });
}

} // namespace

void compose_mesh_page(ZarIdor& engine) {
    const Grid grid = bump_grid();

    engine.layer("mesh");
    cube(engine, 1);
    engine.mesh(grid.x, grid.y, grid.z);
    helix(engine);

    engine.layer("surface");
    cube(engine, 2);
    engine.surf(grid.x, grid.y, grid.z);
}

} // namespace gallery
