// Drawing of the current line: its polyline in its line style, a marker at every
// point and, when asked for, error bars; in the unit square of a two-dimensional
// axes or in the cube of a three-dimensional one.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

#include "rizodozad/core/column_reduction.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/lines/line_sample.h"

namespace rizodozad {

namespace {

constexpr int circle_vertices = 20;
constexpr float vertical_bar_reach = 2; // the bar is twice as tall as the other markers

//-----------------------------------------------------------------------------
// [SECTION] Line styles
//-----------------------------------------------------------------------------

// Sets the stipple state of a line style; false for "none", which draws no polyline.
// A style outside the table leaves the stipple state as earlier drawing left it.
bool apply_line_style(const std::string& style) {
    if (style == "none") return false;
    if (style == "-") print_mirror::solid_lines();
    if (style == "- -") print_mirror::stippled_lines(print_mirror::dashed_pattern);
    if (style == ":") print_mirror::stippled_lines(print_mirror::dotted_pattern);
    if (style == "-.") print_mirror::stippled_lines(print_mirror::dash_dot_pattern);
    return true;
}

//-----------------------------------------------------------------------------
// [SECTION] Markers
//-----------------------------------------------------------------------------

enum class Marker {
    none,
    point,
    plus,
    cross,
    diamond,
    triangle_up,
    triangle_down,
    circle,
    star,
    square,
    vertical_bar
};

constexpr std::pair<const char*, Marker> marker_names[] = {
    {".", Marker::point},       {"+", Marker::plus},        {"x", Marker::cross},
    {"d", Marker::diamond},     {"^", Marker::triangle_up}, {"v", Marker::triangle_down},
    {"o", Marker::circle},      {"*", Marker::star},        {"s", Marker::square},
    {"|", Marker::vertical_bar}};

// Every other string, ">", "<", "p" and "h" among them, draws no marker.
Marker marker_of(const std::string& name) {
    for (const auto& [text, marker] : marker_names)
        if (name == text) return marker;
    return Marker::none;
}

// Half the extent of a marker, in the axes' unit square.
struct MarkerExtent {
    float hx = 0;
    float hy = 0;
};

void strip(float x0, float y0, float x1, float y1) {
    draw::shape(GL_LINE_STRIP, std::array<draw::Point, 2>{{{x0, y0, 0}, {x1, y1, 0}}});
}

void loop(std::initializer_list<std::pair<float, float>> corners) {
    std::vector<draw::Point> points;
    for (const auto& [x, y] : corners)
        points.push_back({x, y, 0});
    draw::shape(GL_LINE_LOOP, points);
}

void dot(float x, float y, float z, float point_size) {
    print_mirror::screen_point_size(point_size);
    draw::shape(GL_POINTS, std::array<draw::Point, 1>{{{x, y, z}}});
}

void plus_strips(float px, float py, MarkerExtent e) {
    strip(px - e.hx, py, px + e.hx, py);
    strip(px, py - e.hy, px, py + e.hy);
}

void cross_strips(float px, float py, MarkerExtent e) {
    strip(px - e.hx, py - e.hy, px + e.hx, py + e.hy);
    strip(px + e.hx, py - e.hy, px - e.hx, py + e.hy);
}

void ellipse(float px, float py, MarkerExtent e) {
    std::array<draw::Point, circle_vertices> points{};
    for (int k = 0; k < circle_vertices; ++k) {
        const double a = k * (2 * pi) / circle_vertices;
        points[static_cast<std::size_t>(k)] = {px + e.hx * std::cos(a), py + e.hy * std::sin(a), 0};
    }
    draw::shape(GL_LINE_LOOP, points);
}

void draw_marker_2d(Marker marker, float px, float py, MarkerExtent e, float point_size) {
    switch (marker) {
    case Marker::point:
        dot(px, py, 0, point_size);
        break;
    case Marker::plus:
        plus_strips(px, py, e);
        break;
    case Marker::cross:
        cross_strips(px, py, e);
        break;
    case Marker::diamond:
        loop({{px, py + e.hy}, {px + e.hx, py}, {px, py - e.hy}, {px - e.hx, py}});
        break;
    case Marker::triangle_up:
        loop({{px, py + e.hy}, {px + e.hx, py - e.hy}, {px - e.hx, py - e.hy}});
        break;
    case Marker::triangle_down:
        loop({{px, py - e.hy}, {px + e.hx, py + e.hy}, {px - e.hx, py + e.hy}});
        break;
    case Marker::circle:
        ellipse(px, py, e);
        break;
    case Marker::star:
        plus_strips(px, py, e);
        cross_strips(px, py, e);
        break;
    case Marker::square:
        loop({{px - e.hx, py - e.hy},
              {px - e.hx, py + e.hy},
              {px + e.hx, py + e.hy},
              {px + e.hx, py - e.hy}});
        break;
    case Marker::vertical_bar:
        strip(px, py - vertical_bar_reach * e.hy, px, py + vertical_bar_reach * e.hy);
        break;
    case Marker::none:
        break;
    }
}

// Three-dimensional axes know only the point and the plus.
void draw_marker_3d(Marker marker, float x, float y, float z, MarkerExtent e, float point_size) {
    if (marker == Marker::point) {
        dot(x, y, z, point_size);
    } else if (marker == Marker::plus) {
        draw::shape(GL_LINE_STRIP,
                    std::array<draw::Point, 2>{{{x - e.hx, y, z}, {x + e.hx, y, z}}});
        draw::shape(GL_LINE_STRIP,
                    std::array<draw::Point, 2>{{{x, y - e.hy, z}, {x, y + e.hy, z}}});
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Two- and three-dimensional passes
//-----------------------------------------------------------------------------

// A point is drawn only when every sequence read for it holds a value there.
std::size_t covered_points(std::initializer_list<const std::vector<double>*> sequences) {
    std::size_t count = (*sequences.begin())->size();
    for (const auto* sequence : sequences)
        count = std::min(count, sequence->size());
    return count;
}

void draw_error_bars(Engine& engine, const Line& line, MarkerExtent extent) {
    print_mirror::solid_lines();
    const std::size_t bars =
        covered_points({&line.x_data, &line.y_data, &line.error_upper, &line.error_lower});
    const float hx = extent.hx;
    for (std::size_t i = 0; i < bars; ++i) {
        const float px = engine.data_to_unit_x(line.x_data[i]);
        const float py = engine.data_to_unit_y(line.y_data[i]);
        const float upper = engine.data_to_unit_y(line.y_data[i] + line.error_upper[i]);
        const float lower = engine.data_to_unit_y(line.y_data[i] - line.error_lower[i]);
        strip(px, upper, px, lower);
        strip(px - hx, py, px + hx, py);
        strip(px - hx, upper, px + hx, upper);
        strip(px - hx, lower, px + hx, lower);
    }
}

// The columns a polyline is reduced to: one per pixel of the axes on screen, finer for
// an export, which is read at print resolution.
double polyline_columns() {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double pixels = viewport[2];
    return print_mirror::page_open() ? pixels * export_columns_per_pixel : pixels;
}

// A polyline with many more points than its axes has columns keeps only what the columns
// can show; markers and error bars are drawn from every point all the same.
template <class PointAt> void draw_polyline_2d(std::size_t n, const PointAt& point) {
    draw::Strip polyline;
    const auto add = [&](const PlotPoint& p) { polyline.add({p.x, p.y, 0}); };
    const double columns = polyline_columns();
    if (worth_reducing(n, columns)) {
        reduce_to_columns(n, point, columns, add);
        return;
    }
    for (std::size_t i = 0; i < n; ++i)
        add(point(i));
}

void draw_line_2d(Engine& engine, const Line& line, MarkerExtent extent) {
    const std::size_t n = covered_points({&line.x_data, &line.y_data});
    const auto point = [&](std::size_t i) {
        return PlotPoint{engine.data_to_unit_x(line.x_data[i]),
                         engine.data_to_unit_y(line.y_data[i])};
    };

    if (apply_line_style(line.line_style)) draw_polyline_2d(n, point);

    if (line.marker != "none") {
        print_mirror::solid_lines();
        const Marker marker = marker_of(line.marker);
        for (std::size_t i = 0; i < n; ++i) {
            const auto [px, py] = point(i);
            draw_marker_2d(marker, px, py, extent, line.line_width);
        }
    }

    if (line.error_bar) draw_error_bars(engine, line, extent);
}

// Scales are ignored in three dimensions: every axis maps its limits onto -1..1.
void draw_line_3d(const Axes& axes, const Line& line, MarkerExtent extent) {
    const std::size_t n = covered_points({&line.x_data, &line.y_data, &line.z_data});
    const auto vertex = [&](std::size_t i) {
        return std::array<float, 3>{unit_cube_coordinate(line.x_data[i], axes.x_lim),
                                    unit_cube_coordinate(line.y_data[i], axes.y_lim),
                                    unit_cube_coordinate(line.z_data[i], axes.z_lim)};
    };

    if (apply_line_style(line.line_style)) {
        draw::Strip polyline;
        for (std::size_t i = 0; i < n; ++i) {
            const auto [x, y, z] = vertex(i);
            polyline.add({x, y, z});
        }
    }

    if (line.marker != "none") {
        print_mirror::solid_lines();
        const Marker marker = marker_of(line.marker);
        for (std::size_t i = 0; i < n; ++i) {
            const auto [x, y, z] = vertex(i);
            draw_marker_3d(marker, x, y, z, extent, line.line_width);
        }
    }
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Line renderer
//-----------------------------------------------------------------------------

void Engine::display_line() {
    const Line* line = current_line.get();
    if (!line) return;
    if (app.debug) std::printf("mode: %d handle: %4d Line \n", mode, line->handle);

    draw::set_colour(color_to_rgb(line->color));
    print_mirror::screen_line_width(line->line_width);
    print_mirror::screen_point_size(line->line_width);
    print_mirror::line_width(line->line_width);
    print_mirror::point_size(line->line_width);

    const Axes* axes = current_axes.get();
    if (!axes) return;
    const MarkerExtent extent{line->marker_size / static_cast<float>(app.window_width),
                              line->marker_size / static_cast<float>(app.window_height)};
    if (axes->type == axes_type::two_d) draw_line_2d(*this, *line, extent);
    if (axes->type == axes_type::three_d) draw_line_3d(*axes, *line, extent);
}

void draw_line_sample(const Line& line, float x0, float x1, float y, float half_width,
                      float half_height) {
    const Rgb rgb = color_to_rgb(line.color);
    glColor3f(rgb[0], rgb[1], rgb[2]);
    print_mirror::screen_line_width(line.line_width);
    print_mirror::line_width(line.line_width);
    print_mirror::point_size(line.line_width);
    if (apply_line_style(line.line_style)) strip(x0, y, x1, y);
    print_mirror::solid_lines();
    draw_marker_2d(marker_of(line.marker), (x0 + x1) / 2, y, {half_width, half_height},
                   line.line_width);
}

} // namespace rizodozad
