#include "lab/view/window_web.h"

#include <GL/glut.h>
#include <emscripten.h>

#include <csignal>
#include <utility>

#include "lab/view/window.h"
#include "lab/view/window_scale.h"
#include "lab/view/window_system.h"

namespace lab::view {

// A page receives no signals: its tab simply closes.
volatile std::sig_atomic_t stop_signal = 0;

//-----------------------------------------------------------------------------
// [SECTION] The window's callbacks, as the desktop's window.h names them
//-----------------------------------------------------------------------------

Window::Window(std::unique_ptr<Page> shown, double scale)
    : page(std::move(shown)), fixed_scale(scale) {}

// Nothing records in the browser.
void finish_recording(Window&) {}

void handle_display(Window& w) {
    w.page->picture().display_cycle();
    w.page->drawn();
    ++w.redraws;
}

void handle_reshape(Window& w, int width, int height) {
    rizodozad::ZarIdor& picture = w.page->picture();
    picture.window_width = width;
    picture.window_height = height;
    // Text and lines follow the canvas, as the desktop's follow its window.
    const double scale = w.fixed_scale > 0 ? w.fixed_scale : scale_for_window_height(height);
    picture.set_text_scale(scale);
    picture.set_line_scale(scale);
    if (picture.next_pass() == rizodozad::display_mode::display) glViewport(0, 0, width, height);
    picture.rebuild();
    handle_display(w);
}

// A frame of steps when the pacing allows; the browser calls it once per animation frame.
void handle_idle(Window& w) {
    const auto now = FramePacer::Clock::now();
    if (w.page->running() &&
        w.pacer.wait_before_frame(now) <= FramePacer::Clock::duration::zero()) {
        w.pacer.frame_started(now);
        w.page->advance_frame();
    }
    if (w.page->needs_redraw()) handle_display(w);
}

void handle_keyboard(Window& w, unsigned char key) {
    const bool was_running = w.page->running();
    switch (w.page->command(command_for_key(w.page->keys(), key))) {
    case Effect::export_eps:
    case Effect::export_pictures:
        w.page->say(web::pictures_desktop_only);
        break;
    case Effect::toggle_gif:
        w.page->say(web::gif_desktop_only);
        break;
    case Effect::write_csv:
    case Effect::quit: // a page has no window to close
    case Effect::none:
        break;
    }
    if (w.page->running() && !was_running) w.pacer.forget();
}

void handle_mouse(Window& w, int button, int state, int x, int y) {
    if (w.page->mouse(button, state, x, y)) handle_display(w);
}

void handle_motion(Window& w, int x, int y) {
    if (w.page->drag(x, y)) handle_display(w);
}

//-----------------------------------------------------------------------------
// [SECTION] The one window of the page
//-----------------------------------------------------------------------------

namespace {

std::unique_ptr<Window> live;
int width_px = window_width_px;
int height_px = window_height_px;

void on_frame() {
    if (live) handle_idle(*live);
}
void on_mouse(int button, int state, int x, int y) {
    if (live) handle_mouse(*live, button, state, x, y);
}
void on_motion(int x, int y) {
    if (live) handle_motion(*live, x, y);
}

} // namespace

void open_window() {
    static char name[] = "fdtd-lab";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(window_width_px, window_height_px);
    glutCreateWindow(window_title);
    glutMouseFunc(on_mouse);
    glutMotionFunc(on_motion);
    constexpr int browser_paced = 0; // requestAnimationFrame
    emscripten_set_main_loop(on_frame, browser_paced, false);
}

void show_live(std::unique_ptr<Page> page, double) { web::show(std::move(page)); }

std::optional<Recorded> record_run(std::unique_ptr<Page>, const RecordingSpan&,
                                   rizodozad::GifRecorder&, double) {
    return std::nullopt;
}

namespace web {

void show(std::unique_ptr<Page> page) {
    live = std::make_unique<Window>(std::move(page));
    handle_reshape(*live, width_px, height_px);
}

Page* shown() { return live ? live->page.get() : nullptr; }

void press_key(unsigned char key) {
    if (live) handle_keyboard(*live, key);
}

void resize(int width, int height) {
    width_px = width;
    height_px = height;
    if (live) handle_reshape(*live, width, height);
}

void redraw() {
    if (live) handle_display(*live);
}

void say(const std::string& message) {
    if (live) live->page->say(message);
}

} // namespace web

} // namespace lab::view
