#include "lab/view/window.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "lab/view/outputs.h"

namespace lab::view {

namespace {

constexpr const char* gif_file_name = "out.gif";

void keep_idle_in_step(Window& w) { glutIdleFunc(w.session.running() ? w.idle_callback : nullptr); }

void redraw_if_needed(Window& w) {
    if (w.session.needs_redraw()) glutPostRedisplay();
}

void toggle_recording(Window& w) {
    if (w.gif) {
        finish_recording(w);
        return;
    }
    w.gif = std::make_unique<rizodozad::GifRecorder>(gif_file_name, gif_frame_interval_ms);
    w.gif_first_step = w.last_recorded_step = w.session.run().step_count();
    w.session.say(std::string("recording ") + absolute(gif_file_name) +
                  ": a frame per frame that steps; g stops");
}

void carry_out(Window& w, Effect effect) {
    switch (effect) {
    case Effect::export_eps:
        w.picture.print_eps();
        break;
    case Effect::export_pictures:
        w.session.say(export_pictures(w.picture));
        break;
    case Effect::write_csv:
        w.session.say(write_tables(w.session.experiment()));
        break;
    case Effect::toggle_gif:
        toggle_recording(w);
        break;
    case Effect::quit:
        finish_recording(w);
        std::exit(EXIT_SUCCESS);
    case Effect::none:
        break;
    }
}

} // namespace

void finish_recording(Window& w) {
    if (!w.gif) return;
    const std::size_t frames = w.gif->frame_count();
    const bool written = w.gif->finish();
    char text[512];
    if (written)
        std::snprintf(text, sizeof text, "wrote %s: %zu frames, steps %d to %d",
                      absolute(w.gif->path()).c_str(), frames, w.gif_first_step + 1,
                      w.last_recorded_step);
    else
        std::snprintf(text, sizeof text, "no GIF written: %s",
                      frames == 0 ? "no step was taken while recording" : "see the messages");
    w.gif.reset();
    std::printf("%s\n", text);
    std::fflush(stdout);
    w.session.say(text);
}

void handle_display(Window& w) {
    const int step = w.session.run().step_count();
    if (w.gif && step != w.last_recorded_step) {
        const long long at_ms = static_cast<long long>(w.gif->frame_count()) * w.gif->interval_ms();
        w.gif->add_frame(w.picture.capture_picture(), at_ms);
        w.last_recorded_step = step;
    } else {
        w.picture.display_cycle();
    }
    w.session.drawn();
    ++w.redraws;
    if (w.report_redraws) {
        std::printf("redraw %lld\n", w.redraws);
        std::fflush(stdout);
    }
}

void handle_reshape(Window& w, int width, int height) {
    w.picture.window_width = width;
    w.picture.window_height = height;
    if (w.picture.next_pass() == rizodozad::display_mode::display) glViewport(0, 0, width, height);
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
    w.session.advance_frame();
    redraw_if_needed(w);
    keep_idle_in_step(w);
}

void handle_keyboard(Window& w, unsigned char key) {
    const bool was_running = w.session.running();
    const int step_before = w.session.run().step_count();
    carry_out(w, w.session.command(command_for_key(key)));
    if (w.session.running() && !was_running) w.pacer.forget();
    // Keys come faster than redraws; a recording still gets a frame for every step key.
    if (w.gif && w.session.run().step_count() != step_before) handle_display(w);
    redraw_if_needed(w);
    keep_idle_in_step(w);
}

void handle_mouse(Window& w, int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) return;
    const PlotFrame frame = w.picture.space_frame();
    const Scenario& s = w.session.run().scenario();
    if (state == GLUT_DOWN) w.dragged = marker_at(s, frame, x, y);
    if (!w.dragged) {
        w.picture.axes_click(button, state, x, y);
        glutPostRedisplay();
        return;
    }
    const int cell = cell_at(s, frame, x);
    if (state == GLUT_DOWN) {
        w.picture.show_dragged(w.dragged, cell);
    } else {
        if (w.dragged->is_source)
            w.session.move_source(cell);
        else
            w.session.move_probe(w.dragged->probe, cell);
        w.picture.show_dragged(std::nullopt, 0);
        w.dragged.reset();
    }
    glutPostRedisplay();
}

void handle_motion(Window& w, int x, int) {
    if (!w.dragged) return;
    w.picture.show_dragged(w.dragged,
                           cell_at(w.session.run().scenario(), w.picture.space_frame(), x));
    glutPostRedisplay();
}

} // namespace lab::view
