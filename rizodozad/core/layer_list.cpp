// The layer list: a column of check boxes with the layer names at the left edge
// of the window, shown while the pointer is there. A press toggles a layer, a
// quick second press shows that layer alone.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <array>
#include <cstddef>
#include <iterator>
#include <string>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/test_hooks.h"

namespace rizodozad {

namespace {

constexpr int row_pitch = 20;
constexpr int row_top = 3;
constexpr int box_left = 4;
constexpr int box_right = 18;
constexpr int box_height = 14;
constexpr int name_left = 22;
constexpr int name_baseline = 11;
constexpr float list_line_width = 2;
constexpr Rgb list_colour{0, 0, 1};

constexpr int hit_left = 2; // a press hits a row within these columns, borders included
constexpr int hit_right = 19;

constexpr double double_press_seconds = 0.05;
constexpr double ms_per_second = 1000.0;

void draw_box(int y) {
    const double top = y + box_height;
    draw::shape(GL_LINE_STRIP, std::array<draw::Point, 5>{{{box_left, double(y), 0},
                                                           {box_left, top, 0},
                                                           {box_right, top, 0},
                                                           {box_right, double(y), 0},
                                                           {box_left, double(y), 0}}});
}

// x and offset below the row top of each corner of the tick.
constexpr int check_mark[][2] = {{10, 2}, {9, 12}, {16, 4}};

void draw_check_mark(int y) {
    std::array<draw::Point, std::size(check_mark)> corners{};
    for (std::size_t k = 0; k < corners.size(); ++k)
        corners[k] = {double(check_mark[k][0]), double(y + check_mark[k][1]), 0};
    draw::shape(GL_LINE_STRIP, corners);
}

void draw_name(int y, const std::string& name) {
    draw::text({name_left, static_cast<float>(y + name_baseline)}, name, list_colour);
}

} // namespace

bool Engine::layer_list_shown() const { return app.pointer_x < layer_strip_width_px; }

void Engine::display_layer_list() {
    if (!layer_list_shown()) return;

    // Pixel coordinates, origin at the top left as for mouse events.
    glViewport(0, 0, app.window_width, app.window_height);
    glLoadIdentity();
    gluOrtho2D(0, app.window_width, app.window_height, 0);
    print_mirror::solid_lines();
    print_mirror::set_line_width(list_line_width);
    draw::set_colour(list_colour);

    for (std::size_t i = 0; i < layer_list.size(); ++i) {
        const Layer& layer = layer_list[i];
        const int y = row_top + row_pitch * static_cast<int>(i);
        draw_box(y);
        if (layer.visible == 1) draw_check_mark(y);
        draw_name(y, layer.name);
    }
}

void Engine::layer_list_click(int button, int state, int x, int y) {
    if (button != mouse::left_button || state != mouse::pressed) return;
    test_hooks::layer_list_click_at(app, button, state, x, y, glutGet(GLUT_ELAPSED_TIME));
}

void test_hooks::layer_list_click_at(ZarIdor& app, int button, int state, int x, int y,
                                     int elapsed_ms) {
    if (button != mouse::left_button || state != mouse::pressed) return;
    Engine& engine = internals(app);
    if (x < hit_left || x > hit_right) return;

    auto& layers = engine.layer_list;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const int row = row_pitch * static_cast<int>(i);
        if (y <= row || y >= row + row_pitch) continue;

        Layer& hit = layers[i];
        hit.visible = hit.visible == 0 ? 1 : 0;
        engine.layer_click_time = elapsed_ms;
        const int since_ms = engine.layer_click_time - engine.layer_last_click_time;
        if (since_ms / ms_per_second < double_press_seconds) {
            for (Layer& layer : layers)
                layer.visible = 0;
            hit.visible = 1;
        }
        engine.layer_last_click_time = engine.layer_click_time;
    }
}

} // namespace rizodozad
