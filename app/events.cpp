#include "app/events.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr std::chrono::milliseconds idle_pause{1};

constexpr unsigned char key_escape = 27;
constexpr unsigned char key_space = ' ';

bool below_step_limit(const FDTD& app) {
    return app.max_steps == 0 || app.step_count < app.max_steps + 1;
}

void toggle_running(FDTD& app) { app.running = app.running == 0 ? 1 : 0; }

} // namespace

void handle_display(FDTD& app) { app.display_cycle(); }

void handle_reshape(FDTD& app, int width, int height) {
    app.window_width = width;
    app.window_height = height;
    // Between cycles the display pass applies the stored size itself.
    if (app.next_pass() == rizodozad::display_mode::display) glViewport(0, 0, width, height);
}

void handle_idle(FDTD& app) {
    if (below_step_limit(app)) {
        app.step();
        glutPostRedisplay();
    }
    std::this_thread::sleep_for(idle_pause);
}

void handle_mouse(FDTD& app, int button, int state, int x, int y) {
    app.layer_list_click(button, state, x, y);
    app.axes_click(button, state, x, y);
    app.display_cycle(); // show the new selection at once
}

void handle_motion(FDTD& app, int x, int y) { app.axes_drag(x, y); }

void handle_passive_motion(FDTD& app, int x, int y) {
    const bool list_was_shown = app.layer_list_shown();
    app.pointer_x = x;
    app.pointer_y = y;
    // After the last step nothing else asks for a redraw: the list would not come or go.
    if (app.layer_list_shown() != list_was_shown) glutPostRedisplay();
}

void handle_keyboard(FDTD& app, unsigned char key, int, int) {
    switch (key) {
    case 'p':
        app.print_eps();
        break;
    case 'q':
    case 'x':
    case key_escape:
        std::exit(EXIT_SUCCESS);
    case key_space:
    case 'r':
        toggle_running(app);
        break;
    default:
        break;
    }
}
