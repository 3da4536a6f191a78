#include "lab/view/window_web.h"

#include <GL/glut.h>
#include <emscripten.h>

#include <algorithm>
#include <csignal>
#include <utility>

#include "lab/view/controls.h"
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

//----- [SECTION] Frames at the desktop view's pace -----
// The desktop view sleeps until a frame is due, at most max_frames_per_second. A page
// cannot sleep: the browser offers animation frames at the display's rate, and at 60 Hz
// their jitter put about half of them a little under 1/60 s after the last, where a pacer
// that measures from the last frame turned them down and the run lost a whole frame each
// time. Here frames are due on a fixed schedule, and an animation frame up to half a frame
// early takes one: 60 frames per second from a 60 Hz or 120 Hz display, every frame a slow
// machine draws.
namespace {

constexpr double frame_interval_ms = 1000.0 / max_frames_per_second;
constexpr double early_allowance_ms = frame_interval_ms / 2;

double next_frame_due_ms = 0;

bool frame_due(double now_ms) {
    if (now_ms < next_frame_due_ms - early_allowance_ms) return false;
    // A machine that fell behind, or a run resumed, starts a new schedule rather than
    // catching up in bursts.
    next_frame_due_ms =
        std::max(next_frame_due_ms, now_ms - early_allowance_ms) + frame_interval_ms;
    return true;
}

} // namespace

// A frame of steps when one is due; the browser calls it once per animation frame.
void handle_idle(Window& w) {
    if (w.page->running() && frame_due(emscripten_get_now())) w.page->advance_frame();
    if (w.page->needs_redraw()) handle_display(w);
}

void handle_keyboard(Window& w, unsigned char key) {
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
