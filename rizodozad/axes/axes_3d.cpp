// Three-dimensional axes: an orthographic view orbiting the origin, three axis
// lines along edges of the data cube, their ticks, labels and names.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"

namespace rizodozad {

namespace {

constexpr double view_half_extent = 1.8; // orthographic box in x and y
constexpr double view_near = -1.5;
constexpr double view_far = 3.0;
constexpr float tick_length = 1.05f;
constexpr float label_distance = 1.2f;
constexpr float name_distance = 1.4f;
constexpr double degrees_per_turn = 360.0;
constexpr double degrees_per_half_turn = 180.0;
constexpr double quarter_turn = 90.0;
constexpr int char_width_px = 6;
constexpr float half_char_height_px = 6.0f;

// The cube edges that carry the axis lines: D is the y of the x axis line,
// E the x of the y axis line. Both lie on the side turned away from the eye.
struct AxisEdges {
    float d = 1;
    float e = 1;
};

// The azimuth folded into 0..360; a long drag can leave any value, even a negative one.
float folded_azimuth(float azimuth) {
    double a = std::fmod(static_cast<double>(azimuth), degrees_per_turn);
    if (!std::isfinite(a)) return 0;
    if (a < 0) a += degrees_per_turn;
    const float folded = static_cast<float>(a);
    return folded < degrees_per_turn ? folded : 0.0f;
}

AxisEdges axis_edges(float azimuth) {
    const float a = folded_azimuth(azimuth);
    if (a < quarter_turn) return {1, 1};
    if (a < 2 * quarter_turn) return {1, -1};
    if (a < 3 * quarter_turn) return {-1, -1};
    return {-1, 1};
}

void set_camera(const Axes& axes) {
    const double az = axes.view_azimuth * pi / degrees_per_half_turn;
    const double el = axes.view_elevation * pi / degrees_per_half_turn;
    const auto& target = axes.camera_target;
    const auto& up = axes.camera_up;
    gluLookAt(std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el), target[0],
              target[1], target[2], up[0], up[1], up[2]);
}

// The three axis lines along the cube edges and their tick marks.
void draw_axis_lines(const Axes& axes, AxisEdges edges) {
    const float d = edges.d;
    const float e = edges.e;
    draw::set_colour(draw::black);
    draw::segment({-1, d, -1}, {1, d, -1});
    draw::segment({e, -1, -1}, {e, 1, -1});
    draw::segment({d, -e, -1}, {d, -e, 1});

    for (double t : axes.x_tick) {
        const float u = unit_cube_coordinate(t, axes.x_lim);
        draw::segment({u, d, -1}, {u, tick_length * d, -1});
    }
    for (double t : axes.y_tick) {
        const float u = unit_cube_coordinate(t, axes.y_lim);
        draw::segment({e, u, -1}, {tick_length * e, u, -1});
    }
    for (double t : axes.z_tick) {
        const float u = unit_cube_coordinate(t, axes.z_lim);
        draw::segment({d, -e, u}, {tick_length * d, -e, u});
    }
}

// Tick labels beyond the tick marks, and the axis names further out.
void draw_axis_labels(Engine& engine, const Axes& axes, AxisEdges edges) {
    const float d = edges.d;
    const float e = edges.e;
    if (axes.show_tick_labels != 0) {
        for (double t : axes.x_tick)
            engine.draw_string_3d(unit_cube_coordinate(t, axes.x_lim), label_distance * d, -1,
                                  format_tick_label(t));
        for (double t : axes.y_tick)
            engine.draw_string_3d(label_distance * e, unit_cube_coordinate(t, axes.y_lim), -1,
                                  format_tick_label(t));
        for (double t : axes.z_tick)
            engine.draw_string_3d(label_distance * d, -e, unit_cube_coordinate(t, axes.z_lim),
                                  format_tick_label(t));
    }
    engine.draw_string_3d(0, name_distance * d, -1, "x");
    engine.draw_string_3d(name_distance * e, 0, -1, "y");
    engine.draw_string_3d(name_distance * d, -e, 0, "z");
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] View, axis lines, tick labels and names
//-----------------------------------------------------------------------------

void Engine::display_axes_3d() {
    const Axes* axes = current_axes.get();
    if (axes == nullptr) return;

    draw::fraction_viewport(axes->position_3d, app.window_width, app.window_height);
    glLoadIdentity();
    glOrtho(-view_half_extent, view_half_extent, -view_half_extent, view_half_extent, view_near,
            view_far);
    set_camera(*axes);
    if (axes->box == 0) return;

    const AxisEdges edges = axis_edges(axes->view_azimuth);
    draw_axis_lines(*axes, edges);
    draw_axis_labels(*this, *axes, edges);
}

// Centred on the point: half its width left, half a character height down.
void Engine::draw_string_3d(float x, float y, float z, const std::string& text) {
    const auto n = static_cast<int>(text.size());
    const double width = app.tidy_layout ? font::width_px(text) : n * char_width_px;
    const draw::TextAnchor anchor{x, y, z, static_cast<float>(-width / 2), -half_char_height_px};
    // In the tidy layout a label that would cross another text or the window's edge is
    // left out: turned views bring labels of different axes together.
    if (app.tidy_layout && collides_with_drawn(draw::text_box(anchor, text), drawn_texts,
                                               app.window_width, app.window_height))
        return;
    if (const auto box = draw::text(anchor, text); box && !text.empty())
        drawn_texts.push_back(*box);
}

} // namespace rizodozad
