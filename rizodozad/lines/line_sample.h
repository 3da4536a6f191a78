// A short stretch of a line in its colour, width, style and marker, as a legend shows it.
#pragma once

#include "rizodozad/records.h"

namespace rizodozad {

// Draws from (x0, y) to (x1, y) in the current coordinates, with the line's marker in
// the middle, half_width by half_height in those coordinates.
void draw_line_sample(const Line& line, float x0, float x1, float y, float half_width,
                      float half_height);

} // namespace rizodozad
