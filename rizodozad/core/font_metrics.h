// Widths of strings in the 12-pixel bitmap font that every text is drawn in, and the
// boxes of drawn strings.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad {

namespace tidy {

// The 12-pixel bitmap font: a string's box reaches this far above and below its
// baseline, and rows of text stand this far apart.
constexpr double text_ascent_px = 10;
constexpr double text_descent_px = 3;
constexpr double text_height_px = text_ascent_px + text_descent_px;
constexpr double row_pitch_px = 16;
constexpr double edge_gap_px = 2; // between the outermost texts and the edge of their room

} // namespace tidy

namespace font {

double char_px(unsigned char c);
double width_px(const std::string& text);

} // namespace font

// Whether a string's box would leave the window or cross one of the strings already
// drawn; true as well for a string that cannot be placed (no box).
bool collides_with_drawn(const std::optional<DrawnText>& box, const std::vector<DrawnText>& drawn,
                         int window_width, int window_height);

// Where a figure text goes in the tidy layout: its box moved inside the window.
DrawnText figure_text_box(const FigureText& text, int window_width, int window_height);

} // namespace rizodozad
