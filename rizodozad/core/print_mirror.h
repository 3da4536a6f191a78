// While an EPS page is open, renderers hand their width, point-size and stipple
// changes and their strings to GL2PS as well; outside a page the mirrors do nothing.
// Widths and sizes are given at scale 1: screen and page get them times the line scale
// in force, and the page's font size follows the text scale.
#pragma once

#include <optional>
#include <string>

namespace rizodozad::print_mirror {

bool page_open();
void line_width(float width);
void point_size(float size);
void stipple(bool enabled); // call after glLineStipple: GL2PS reads the pattern OpenGL holds
void text(const std::string& text); // "Arial" 12 at the current raster position

// Stipple patterns of the dashed, dotted and dash-dot styles, drawn with factor 1.
constexpr unsigned short dashed_pattern = 0xF0F0;
constexpr unsigned short dotted_pattern = 0xCCCC;
constexpr unsigned short dash_dot_pattern = 0x087F;

// The stipple pattern of a grid style, or none for a solid grid; unknown styles are dotted.
std::optional<unsigned short> grid_stipple(const std::string& style);

// The OpenGL state change followed by its mirror, the pairing nearly every renderer wants.
void solid_lines();
void stippled_lines(unsigned short pattern);
void set_line_width(float width);
// The screen's width or point size alone, for what is drawn wider on screen than in print.
void screen_line_width(float width);
void screen_point_size(float size);

} // namespace rizodozad::print_mirror
