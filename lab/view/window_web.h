// The live view in a browser page: one window (the page's canvas) whose frames the
// browser paces, and what the page's script asks of it. The desktop's window_system.h
// calls open the same window; these add what the page's buttons and script need.
#pragma once

#include <memory>
#include <string>

#include "lab/view/page.h"

namespace lab::view::web {

// Shows a page in place of the one shown, if any; the first call starts the frames.
void show(std::unique_ptr<Page> page);
// The page shown; nullptr before the first show.
Page* shown();

// A key as the desktop's keyboard gives it; what the browser cannot do is said instead.
void press_key(unsigned char key);
void resize(int width_px, int height_px);
void redraw();

// Says what the page's own script did (a download, a refused load) under the status line.
void say(const std::string& message);

// What the browser cannot give of the desktop's outputs, said when its key is pressed.
constexpr const char* pictures_desktop_only =
    "EPS, PDF and SVG need the desktop fdtd-lab; the PNG button saves the picture";
constexpr const char* gif_desktop_only =
    "GIF recordings need the desktop fdtd-lab (fdtd-lab record)";

} // namespace lab::view::web
