// The window system's side of the live view: opening the one window, routing GLUT's
// callbacks to it, and the two ways of running a page in it, live or recorded.
#pragma once

#include <memory>
#include <optional>

#include "lab/view/page.h"
#include "lab/view/recording_span.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

// Opens the window; GLUT reads no options from the lab's command line.
void open_window();

// Shows the page until the window is closed or q is pressed; a recording in progress is
// finished either way. The environment variable redraw_report_variable makes every
// redraw print "redraw N".
// A scale above 0 fixes the text and line scale; 0 follows the window's height.
void show_live(std::unique_ptr<Page> page, double scale = 0);

// What a recording took: the steps of its first and last frames and where the run stood.
struct Recorded {
    int first_step = 0;
    Progress end;
};

// Runs the page over the span, a GIF frame at the span's first step and then every
// steps_per_frame steps; nothing when a frame could not be added. Exposes are drawn
// meanwhile.
std::optional<Recorded> record_run(std::unique_ptr<Page> page, const RecordingSpan& span,
                                   rizodozad::GifRecorder& gif, double scale = 0);

// The variable that makes the view print "redraw N" after every redraw (a test hook).
constexpr const char* redraw_report_variable = "FDTD_LAB_REPORT_REDRAWS";

} // namespace lab::view
