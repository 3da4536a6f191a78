// Three-dimensional axes: an orthographic view orbiting the origin, three axis
// lines along edges of the data cube, their ticks, labels and names.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "rizodozad/core/print_mirror.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

constexpr double view_half_extent = 1.8; // orthographic box in x and y
constexpr double view_near = -1.5;
constexpr double view_far = 3.0;
constexpr float tick_length = 1.05f;
constexpr float label_distance = 1.2f;
constexpr float name_distance = 1.4f;
constexpr double pi = 3.141592653589793;
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

void segment(float x0, float y0, float z0, float x1, float y1, float z1) {
    glBegin(GL_LINES);
    glVertex3f(x0, y0, z0);
    glVertex3f(x1, y1, z1);
    glEnd();
}

void set_viewport(const std::array<float, 4>& rect, int window_width, int window_height) {
    const auto ww = static_cast<float>(window_width);
    const auto wh = static_cast<float>(window_height);
    glViewport(static_cast<int>(ww * rect[0]), static_cast<int>(wh * rect[1]),
               static_cast<int>(ww * rect[2]), static_cast<int>(wh * rect[3]));
}

void set_camera(const Axes& axes) {
    const double az = axes.view_azimuth * pi / degrees_per_half_turn;
    const double el = axes.view_elevation * pi / degrees_per_half_turn;
    const auto& target = axes.camera_target;
    const auto& up = axes.camera_up;
    gluLookAt(std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el), target[0],
              target[1], target[2], up[0], up[1], up[2]);
}

} // namespace

void ZarIdor::display_axes_3d() {
    const Axes* axes = current_axes.get();
    if (axes == nullptr) return;

    set_viewport(axes->position_3d, window_width, window_height);
    glLoadIdentity();
    glOrtho(-view_half_extent, view_half_extent, -view_half_extent, view_half_extent, view_near,
            view_far);
    set_camera(*axes);
    if (axes->box == 0) return;

    const AxisEdges edges = axis_edges(axes->view_azimuth);
    const float d = edges.d;
    const float e = edges.e;

    //-------------------------------------------------------------------------
    // Axis lines and ticks
    //-------------------------------------------------------------------------
    glColor3f(0, 0, 0);
    segment(-1, d, -1, 1, d, -1);
    segment(e, -1, -1, e, 1, -1);
    segment(d, -e, -1, d, -e, 1);

    for (double t : axes->x_tick) {
        const float u = unit_cube_coordinate(t, axes->x_lim);
        segment(u, d, -1, u, tick_length * d, -1);
    }
    for (double t : axes->y_tick) {
        const float u = unit_cube_coordinate(t, axes->y_lim);
        segment(e, u, -1, tick_length * e, u, -1);
    }
    for (double t : axes->z_tick) {
        const float u = unit_cube_coordinate(t, axes->z_lim);
        segment(d, -e, u, tick_length * d, -e, u);
    }

    //-------------------------------------------------------------------------
    // Tick labels and axis names
    //-------------------------------------------------------------------------
    if (axes->show_tick_labels != 0) {
        for (double t : axes->x_tick)
            draw_string_3d(unit_cube_coordinate(t, axes->x_lim), label_distance * d, -1,
                           format_tick_label(t));
        for (double t : axes->y_tick)
            draw_string_3d(label_distance * e, unit_cube_coordinate(t, axes->y_lim), -1,
                           format_tick_label(t));
        for (double t : axes->z_tick)
            draw_string_3d(label_distance * d, -e, unit_cube_coordinate(t, axes->z_lim),
                           format_tick_label(t));
    }
    draw_string_3d(0, name_distance * d, -1, "x");
    draw_string_3d(name_distance * e, 0, -1, "y");
    draw_string_3d(name_distance * d, -e, 0, "z");
}

void ZarIdor::draw_string_3d(float x, float y, float z, const std::string& text) {
    const auto n = static_cast<int>(text.size());
    glColor3f(0, 0, 0);
    glRasterPos3d(x, y, z);
    // Centre the text on the point: half its width left, half a character height down.
    glBitmap(0, 0, 0, 0, static_cast<float>(-(n * char_width_px) / 2), -half_char_height_px,
             nullptr);
    print_mirror::text(text);
    for (char c : text)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, c);
}

} // namespace rizodozad
