// What the live window shows: a page composes its picture on the engine, takes the
// commands of its keys and the mouse, and steps its run a frame at a time. The window,
// the recording and the exports hold a page through this interface only, so a new kind
// of picture (a field over a plane, say) is a new page in files of its own.
#pragma once

#include <string>

#include "lab/view/controls.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

// Where a page's run stands, for recordings and their progress line.
struct Progress {
    int step = 0;        // steps taken
    int total_steps = 0; // of a full run
    bool finished = false;
    std::string blow_up;                // why the run stopped early; empty unless it blew up
    double field_energy_j_per_m2 = 0.0; // held in the grid now (see field_energy.h)
};

class Page {
  public:
    virtual ~Page() = default;

    // The engine the page composes its picture in; the window displays, exports and
    // captures it.
    virtual rizodozad::ZarIdor& picture() = 0;

    // The page's keys, for their bindings and the help.
    virtual const KeyTable& keys() const = 0;
    // What a key means to the page; what needs the window comes back as an effect.
    virtual Effect command(Command command) = 0;
    // A press or release of a mouse button (the codes of rizodozad::mouse, which are
    // GLUT's), in window pixels from the top left; true when the window is to draw again.
    virtual bool mouse(int button, int state, int x_px, int y_px) = 0;
    // The pointer moved with a button held; true when the picture changed.
    virtual bool drag(int x_px, int y_px) = 0;

    // The steps of one frame while running; false when nothing was stepped.
    virtual bool advance_frame() = 0;
    virtual bool running() const = 0;
    virtual void set_steps_per_frame(int steps) = 0;
    virtual Progress progress() const = 0;

    // A line of news under the status line.
    virtual void say(std::string message) = 0;
    // Whether the picture shows the status line and the news (a recording may leave them out).
    virtual void show_status(bool shown) = 0;
    // Set by every change that shows; cleared once the picture is drawn.
    virtual bool needs_redraw() const = 0;
    virtual void drawn() = 0;
};

} // namespace lab::view
