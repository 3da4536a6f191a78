// While an EPS page is open, renderers hand their width, point-size and stipple
// changes and their strings to GL2PS as well; outside a page these do nothing.
#pragma once

#include <string>

namespace rizodozad::print_mirror {

bool page_open();
void line_width(float width);
void point_size(float size);
void stipple(bool enabled); // call after glLineStipple: GL2PS reads the pattern OpenGL holds
void text(const std::string& text); // "Arial" 12 at the current raster position

} // namespace rizodozad::print_mirror
