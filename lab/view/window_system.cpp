#include "lab/view/window_system.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "lab/view/window.h"

namespace lab::view {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] The one window GLUT's callbacks serve
//-----------------------------------------------------------------------------

Window* live = nullptr;

void on_display() { handle_display(*live); }
void on_reshape(int width, int height) { handle_reshape(*live, width, height); }
void on_idle() { handle_idle(*live); }
void on_keyboard(unsigned char key, int, int) { handle_keyboard(*live, key); }
void on_mouse(int button, int state, int x, int y) { handle_mouse(*live, button, state, x, y); }
void on_motion(int x, int y) { handle_motion(*live, x, y); }

// Exposes and resizes are drawn whether live or recording.
void register_drawing(Window& w) {
    live = &w;
    glutDisplayFunc(on_display);
    glutReshapeFunc(on_reshape);
}

void register_input(Window& w) {
    w.idle_callback = on_idle;
    glutKeyboardFunc(on_keyboard);
    glutMouseFunc(on_mouse);
    glutMotionFunc(on_motion);
}

void show_progress(const Progress& progress, bool last) {
    if (isatty(STDERR_FILENO) == 0) return;
    std::fprintf(stderr, "\rrecording: step %d/%d", progress.step, progress.total_steps);
    if (last) std::fprintf(stderr, "\n");
}

} // namespace

void open_window() {
    static char name[] = "fdtd-lab";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(window_width_px, window_height_px);
    glutCreateWindow(window_title);
}

void show_live(std::unique_ptr<Page> page, double scale) {
    static std::unique_ptr<Window> window; // outlives the main loop, which may exit()
    window = std::make_unique<Window>(std::move(page), scale);
    window->report_redraws = std::getenv(redraw_report_variable) != nullptr;
    register_drawing(*window);
    register_input(*window);
    glutMainLoop();
    finish_recording(*window); // the window was closed
}

namespace {

bool add_frame(Page& page, rizodozad::GifRecorder& gif) {
    const long long at_ms = static_cast<long long>(gif.frame_count()) * gif.interval_ms();
    return gif.add_frame(page.picture().capture_picture(), at_ms);
}

// Steps the page, while it runs, to a given step in one frame of its own.
void skip_to(Page& page, int step) {
    if (step <= page.progress().step) return;
    page.set_steps_per_frame(step - page.progress().step);
    page.advance_frame();
}

} // namespace

std::optional<Recorded> record_run(std::unique_ptr<Page> page, const RecordingSpan& span,
                                   rizodozad::GifRecorder& gif, double scale) {
    Window w(std::move(page), scale);
    register_drawing(w); // nothing but exposes reaches a recording
    w.page->command(Command::run_pause);
    skip_to(*w.page, span.from_step);
    RecordingEnd end(span);
    const Recorded started{w.page->progress().step, {}};
    for (;;) {
        const Progress at = w.page->progress();
        if (!add_frame(*w.page, gif)) return std::nullopt;
        glutMainLoopEvent();
        const bool last = end.last_frame(at) || !w.page->running();
        show_progress(at, last);
        if (last) break;
        w.page->set_steps_per_frame(end.steps_to_next(at));
        w.page->advance_frame();
    }
    return Recorded{started.first_step, w.page->progress()};
}

} // namespace lab::view
