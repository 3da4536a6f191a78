// The window system's side of the live view: opening the one window, routing GLUT's
// callbacks to it, and the two ways of running a page in it, live or recorded.
#pragma once

#include <memory>
#include <optional>

#include "lab/view/page.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

// Opens the window; GLUT reads no options from the lab's command line.
void open_window();

// Shows the page until the window is closed or q is pressed; a recording in progress is
// finished either way. The environment variable redraw_report_variable makes every
// redraw print "redraw N".
void show_live(std::unique_ptr<Page> page);

// Runs the page to its end at steps_per_frame, a GIF frame per frame, and says where the
// run stopped; nothing when a frame could not be added. Exposes are drawn meanwhile.
std::optional<Progress> record_run(std::unique_ptr<Page> page, int steps_per_frame,
                                   rizodozad::GifRecorder& gif);

// The variable that makes the view print "redraw N" after every redraw (a test hook).
constexpr const char* redraw_report_variable = "FDTD_LAB_REPORT_REDRAWS";

} // namespace lab::view
