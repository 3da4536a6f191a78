// The window system's side of the live view: opening the one window, routing GLUT's
// callbacks to it, and the two ways of running a page in it, live or recorded.
#pragma once

#include <csignal>
#include <memory>
#include <optional>

#include "lab/view/page.h"
#include "lab/view/recording_span.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

// Opens the window; GLUT reads no options from the lab's command line.
void open_window();

// A signal that is to end the view or the recording, set by the program's handler and
// read between frames; 0 while none came. A recording then ends without its file.
extern volatile std::sig_atomic_t stop_signal;

// Shows the page until the window is closed (by its window manager or destroyed from
// outside) or q is pressed; a recording in progress is finished either way. A stop_signal
// ends it too, with the recording thrown away. The environment variable redraw_report_variable
// makes every redraw print "redraw N".
// A scale above 0 fixes the text and line scale; 0 follows the window's height.
void show_live(std::unique_ptr<Page> page, double scale = 0);

// What a recording took: the steps of its first and last frames and where the run stood.
struct Recorded {
    int first_step = 0;
    Progress end;
    bool window_closed = false; // the window went before the span's end
};

// Runs the page over the span, a GIF frame at the span's first step and then every
// steps_per_frame steps; nothing when a frame could not be added. Exposes are drawn
// meanwhile. A window destroyed from outside or a stop_signal ends it early.
std::optional<Recorded> record_run(std::unique_ptr<Page> page, const RecordingSpan& span,
                                   rizodozad::GifRecorder& gif, double scale = 0);

// The variable that makes the view print "redraw N" after every redraw (a test hook).
constexpr const char* redraw_report_variable = "FDTD_LAB_REPORT_REDRAWS";

} // namespace lab::view
