// Where a legend box goes: the corner of the plot area where it hides the least of
// the data. Pure arithmetic in window pixels, no OpenGL.
#pragma once

#include <array>
#include <vector>

#include "rizodozad/core/pixel_box.h"

namespace rizodozad::tidy {

using PixelPoint = std::array<double, 2>;  // x, y in window pixels
using PixelLine = std::vector<PixelPoint>; // a polyline's vertices in order

enum class Corner { top_right, top_left, bottom_left, bottom_right };

struct LegendPlace {
    Corner corner = Corner::top_right;
    PixelBox box;
    int covered = 0; // vertices inside plus segments crossing it without one inside
};

// The legend box of the given size, inset by margin_px from the plot area's edges, in
// the corner where it covers the fewest data: each vertex inside counts one, and so
// does each segment that crosses the box with neither end inside. Ties go to the
// first corner in the order top right, top left, bottom left, bottom right.
// Non-finite vertices (gaps) are skipped.
LegendPlace place_legend(const PixelBox& plot_area, double width_px, double height_px,
                         double margin_px, const std::vector<PixelLine>& lines);

} // namespace rizodozad::tidy
