// The live window's state and what its window-system callbacks do, as plain functions of
// it, so that the callbacks in lab/view/window_system.cpp stay one line each.
#pragma once

#include <memory>
#include <utility>

#include "lab/analysis/folder_lock.h"
#include "lab/view/controls.h"
#include "lab/view/page.h"
#include "lab/view/recording_span.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

constexpr int window_width_px = 1000;
constexpr int window_height_px = 720;
constexpr const char* window_title = "FDTD lab";

// Recordings, live or unattended, play at this interval per frame (25 frames per second).
constexpr int gif_frame_interval_ms = 40;

struct Window {
    // A fixed_scale of 0 lets text and line widths follow the window's height.
    explicit Window(std::unique_ptr<Page> shown, double fixed_scale = 0);

    std::unique_ptr<Page> page;
    FramePacer pacer;
    std::unique_ptr<rizodozad::GifRecorder> gif;
    std::unique_ptr<FolderLock> gif_folder_lock; // held while recording, as record holds it
    RecordedSteps gif_steps;
    int last_recorded_step = 0;
    long long redraws = 0;
    bool report_redraws = false;       // prints "redraw N" after each one (a test hook)
    void (*idle_callback)() = nullptr; // registered while the run is running
    double fixed_scale = 0;
};

void handle_display(Window& w);
void handle_reshape(Window& w, int width, int height);
// One paced frame of steps while running; nothing is registered while paused.
void handle_idle(Window& w);
void handle_keyboard(Window& w, unsigned char key);
void handle_mouse(Window& w, int button, int state, int x, int y);
void handle_motion(Window& w, int x, int y);
// Finishes a recording in progress, so that quitting never loses it.
void finish_recording(Window& w);

} // namespace lab::view
