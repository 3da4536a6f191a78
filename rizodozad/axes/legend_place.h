// Where a legend box goes: the corner of the plot area where it hides no text and the
// least of the data. Pure arithmetic in window pixels, no OpenGL.
#pragma once

#include <array>
#include <vector>

#include "rizodozad/core/pixel_box.h"

namespace rizodozad::tidy {

using PixelPoint = std::array<double, 2>;  // x, y in window pixels
using PixelLine = std::vector<PixelPoint>; // a polyline's vertices in order

// along_edge: a place off the corners, taken only when every corner covers a text.
enum class Corner { top_right, top_left, bottom_left, bottom_right, along_edge };

struct LegendPlace {
    Corner corner = Corner::top_right;
    PixelBox box;
    int texts_covered = 0; // the boxes of keep_clear it overlaps
    int covered = 0;       // vertices inside plus segments crossing it without one inside
};

// The legend box of the given size, inset by margin_px from the plot area's edges, in
// the corner where it covers the fewest data: each vertex inside counts one, and so
// does each segment that crosses the box with neither end inside. Ties go to the
// first corner in the order top right, top left, bottom left, bottom right.
// Non-finite vertices (gaps) are skipped.
// A box that overlaps one of keep_clear (the texts drawn in the plot) is never taken
// while another covers fewer of them: when every corner covers a text, places along
// the top and bottom edges and halfway up the sides are tried as well.
LegendPlace place_legend(const PixelBox& plot_area, double width_px, double height_px,
                         double margin_px, const std::vector<PixelLine>& lines,
                         const std::vector<PixelBox>& keep_clear = {});

} // namespace rizodozad::tidy
