// Sizes of strings in the 12-pixel bitmap font that every text is drawn in, at the
// text scale in force, and the boxes of drawn strings.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad {

namespace tidy {

// The 12-pixel bitmap font at the text scale in force: a string's box reaches this far
// above and below its baseline, and rows of text stand this far apart.
double text_ascent_px();
double text_descent_px();
double text_height_px();
double row_pitch_px();
double edge_gap_px(); // between the outermost texts and the edge of their room

} // namespace tidy

namespace font {

// Widths at the text scale in force; the font's own advance times the scale.
double char_px(unsigned char c);
double width_px(const std::string& text);
// A length given for text at scale 1 (a gap, a padding) at the text scale in force.
double scaled_px(double px_at_scale_1);

} // namespace font

// Whether a string's box would leave the window or cross one of the strings already
// drawn; true as well for a string that cannot be placed (no box).
bool collides_with_drawn(const std::optional<DrawnText>& box, const std::vector<DrawnText>& drawn,
                         int window_width, int window_height);

// Where a figure text goes in the tidy layout: its box moved inside the window.
DrawnText figure_text_box(const FigureText& text, int window_width, int window_height);

} // namespace rizodozad
