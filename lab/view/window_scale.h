// How large the view draws its text and lines for a window of a given size: the font's
// own 12 pixels up to about 900 pixels of height, growing with it beyond, so that a
// classroom's projector shows a large window's labels as clearly as a small one's.
#pragma once

namespace lab::view {

// The text and line scale for a window this many pixels tall: 1, then half steps.
double scale_for_window_height(int height_px);

} // namespace lab::view
