// Widths of strings in the 12-pixel bitmap font that every text is drawn in, and the
// boxes of drawn strings.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad {

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
