#include "lab/view/window.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "lab/analysis/wording.h"
#include "lab/view/outputs.h"
#include "lab/view/window_scale.h"

namespace lab::view {

namespace {

constexpr const char* gif_file_name = "out.gif";

void keep_idle_in_step(Window& w) { glutIdleFunc(w.page->running() ? w.idle_callback : nullptr); }

void redraw_if_needed(Window& w) {
    if (w.page->needs_redraw()) glutPostRedisplay();
}

void toggle_recording(Window& w) {
    if (w.gif) {
        finish_recording(w);
        return;
    }
    std::string refused;
    w.gif_folder_lock = lock_working_folder("not recording", 'g', refused);
    if (!w.gif_folder_lock) {
        std::printf("%s\n", refused.c_str());
        std::fflush(stdout);
        w.page->say(refused);
        return;
    }
    w.gif = std::make_unique<rizodozad::GifRecorder>(gif_file_name, gif_frame_interval_ms);
    w.gif_steps = RecordedSteps{};
    w.last_recorded_step = w.page->progress().step;
    w.page->say(std::string("recording ") + absolute(gif_file_name) +
                ": a frame per frame that steps; g stops");
}

void carry_out(Window& w, Effect effect) {
    switch (effect) {
    case Effect::export_eps:
        w.page->say(print_eps_file(w.page->picture()));
        break;
    case Effect::export_pictures:
        w.page->say(export_pictures(w.page->picture()));
        break;
    case Effect::toggle_gif:
        toggle_recording(w);
        break;
    case Effect::quit:
        finish_recording(w);
        std::exit(EXIT_SUCCESS);
    case Effect::write_csv: // a page writes its own tables
    case Effect::none:
        break;
    }
}

// Text and line widths for the window's size, unless the command line fixed them.
void set_scale(Window& w) {
    rizodozad::ZarIdor& picture = w.page->picture();
    const double scale =
        w.fixed_scale > 0 ? w.fixed_scale : scale_for_window_height(picture.window_height);
    picture.set_text_scale(scale);
    picture.set_line_scale(scale);
}

} // namespace

namespace {

std::string failure_text(const rizodozad::GifRecorder& gif) {
    return "cannot write " + absolute(gif.path()) + ": " + gif.failure();
}

} // namespace

Window::Window(std::unique_ptr<Page> shown, double scale)
    : page(std::move(shown)), fixed_scale(scale) {
    page->picture().window_width = window_width_px;
    page->picture().window_height = window_height_px;
    set_scale(*this);
}

void finish_recording(Window& w) {
    if (!w.gif) return;
    const std::size_t frames = w.gif->frame_count();
    const bool written = w.gif->finish();
    char text[512];
    if (written)
        std::snprintf(text, sizeof text, "wrote %s: %zu %s, %s", absolute(w.gif->path()).c_str(),
                      frames, plural(static_cast<long long>(frames), "frame", "frames"),
                      w.gif_steps.text().c_str());
    else
        std::snprintf(text, sizeof text, "no GIF written: %s",
                      frames == 0 && !w.gif->failed() ? "no step was taken while recording"
                                                      : failure_text(*w.gif).c_str());
    w.gif.reset();
    w.gif_folder_lock.reset();
    std::printf("%s\n", text);
    std::fflush(stdout);
    w.page->say(text);
}

namespace {

// A recording that cannot go on stops at once and says why, instead of showing
// "recording" over frames that go nowhere.
void record_frame(Window& w, int step) {
    const long long at_ms = static_cast<long long>(w.gif->frame_count()) * w.gif->interval_ms();
    w.last_recorded_step = step;
    if (w.gif->add_frame(w.page->picture().capture_picture(), at_ms)) {
        w.gif_steps.frame_at(step);
        return;
    }
    const std::string text = "recording stopped, no GIF written: " + failure_text(*w.gif);
    w.gif.reset(); // its temporary goes
    w.gif_folder_lock.reset();
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    w.page->say(text);
}

} // namespace

void handle_display(Window& w) {
    rizodozad::ZarIdor& picture = w.page->picture();
    const int step = w.page->progress().step;
    if (w.gif && step != w.last_recorded_step) {
        record_frame(w, step);
    } else {
        picture.display_cycle();
    }
    w.page->drawn();
    ++w.redraws;
    if (w.report_redraws) {
        std::printf("redraw %lld\n", w.redraws);
        std::fflush(stdout);
    }
}

void handle_reshape(Window& w, int width, int height) {
    rizodozad::ZarIdor& picture = w.page->picture();
    picture.window_width = width;
    picture.window_height = height;
    set_scale(w);
    if (picture.next_pass() == rizodozad::display_mode::display) glViewport(0, 0, width, height);
    glutPostRedisplay();
}

void handle_idle(Window& w) {
    const auto now = FramePacer::Clock::now();
    const auto wait = w.pacer.wait_before_frame(now);
    if (wait > FramePacer::Clock::duration::zero()) {
        std::this_thread::sleep_for(wait);
        return;
    }
    w.pacer.frame_started(now);
    w.page->advance_frame();
    redraw_if_needed(w);
    keep_idle_in_step(w);
}

void handle_keyboard(Window& w, unsigned char key) {
    const bool was_running = w.page->running();
    const int step_before = w.page->progress().step;
    carry_out(w, w.page->command(command_for_key(w.page->keys(), key)));
    if (w.page->running() && !was_running) w.pacer.forget();
    // Keys come faster than redraws; a recording still gets a frame for every step key.
    if (w.gif && w.page->progress().step != step_before) handle_display(w);
    redraw_if_needed(w);
    keep_idle_in_step(w);
}

void handle_mouse(Window& w, int button, int state, int x, int y) {
    if (w.page->mouse(button, state, x, y)) glutPostRedisplay();
}

void handle_motion(Window& w, int x, int y) {
    if (w.page->drag(x, y)) glutPostRedisplay();
}

} // namespace lab::view
