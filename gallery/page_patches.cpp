// Page 5: patches. Regular polygons filled with colours of their own in two dimensions,
// and a pyramid of coloured faces in three-dimensional axes that turn with the mouse.
#include <array>
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::Colormap;
using rizodozad::Matrix;
using rizodozad::ZarIdor;

using rizodozad::pi;
constexpr float outline_width = 1.5f;

//-----------------------------------------------------------------------------
// [SECTION] Polygons in the plane
//-----------------------------------------------------------------------------

constexpr Limits plane{0.0, 12.0};
constexpr double polygon_radius = 1.6;

struct Polygon {
    int corners;
    double centre_x;
    double centre_y;
    const char* fill;
};

// Three to eight corners, in two rows of three.
constexpr std::array<Polygon, 6> polygons{{{3, 2.0, 8.0, "r"},
                                           {4, 6.0, 8.0, "uo"},
                                           {5, 10.0, 8.0, "y"},
                                           {6, 2.0, 3.5, "ug"},
                                           {7, 6.0, 3.5, "uc"},
                                           {8, 10.0, 3.5, "lm"}}};

// Corners on a circle, turned so that the bottom edge is level.
void add_polygon(Matrix& x, Matrix& y, const Polygon& p) {
    std::vector<double>& xs = x.emplace_back();
    std::vector<double>& ys = y.emplace_back();
    const double first_angle = -pi / 2 + pi / p.corners;
    for (int k = 0; k < p.corners; ++k) {
        const double angle = first_angle + 2 * pi * k / p.corners;
        xs.push_back(p.centre_x + polygon_radius * std::cos(angle));
        ys.push_back(p.centre_y + polygon_radius * std::sin(angle));
    }
}

void flat_polygons(ZarIdor& engine) {
    engine.layer("polygons");
    panel(engine, 1, 2, 1, "Polygons, 3 to 8 corners");
    engine.fix_limits(plane, plane);
    Matrix x;
    Matrix y;
    Colormap fills;
    for (const Polygon& p : polygons) {
        add_polygon(x, y, p);
        fills.push_back(rizodozad::color_to_rgb(p.fill));
    }
    engine.patch(x, y, fills);
    engine.set("k");
    engine.set_line_width(outline_width);
}

//-----------------------------------------------------------------------------
// [SECTION] A pyramid in space
//-----------------------------------------------------------------------------

constexpr Limits footprint{-1.0, 1.0};
constexpr Limits height{0.0, 1.5};
constexpr double base_half = 0.8;
constexpr double apex_height = 1.3;

struct Face {
    std::vector<std::array<double, 3>> corners;
    const char* fill;
};

std::vector<Face> pyramid_faces() {
    const std::array<double, 3> apex{0.0, 0.0, apex_height};
    const std::array<std::array<double, 3>, 4> base{{{-base_half, -base_half, 0.0},
                                                     {base_half, -base_half, 0.0},
                                                     {base_half, base_half, 0.0},
                                                     {-base_half, base_half, 0.0}}};
    const std::array<const char*, 4> side_fills{"r", "dg", "b", "uo"};
    std::vector<Face> faces{{{base[0], base[1], base[2], base[3]}, "lb"}};
    for (std::size_t k = 0; k < base.size(); ++k)
        faces.push_back({{base[k], base[(k + 1) % base.size()], apex}, side_fills[k]});
    return faces;
}

void pyramid(ZarIdor& engine) {
    engine.layer("pyramid");
    engine.subplot(1, 2, 2);
    rizodozad::Axes* axes = engine.current_axes();
    engine.fix_limits(footprint, footprint);
    engine.fix_z_limits(height);
    if (axes != nullptr) axes->type = rizodozad::axes_type::three_d;
    Matrix x;
    Matrix y;
    Matrix z;
    Colormap fills;
    for (const Face& face : pyramid_faces()) {
        std::vector<double>& xs = x.emplace_back();
        std::vector<double>& ys = y.emplace_back();
        std::vector<double>& zs = z.emplace_back();
        for (const auto& corner : face.corners) {
            xs.push_back(corner[0]);
            ys.push_back(corner[1]);
            zs.push_back(corner[2]);
        }
        fills.push_back(rizodozad::color_to_rgb(face.fill));
    }
    engine.patch(x, y, z, fills);
    engine.set("k");
    engine.set_line_width(outline_width);
}

} // namespace

void compose_patches_page(ZarIdor& engine) {
    flat_polygons(engine);
    pyramid(engine);
}

} // namespace gallery
