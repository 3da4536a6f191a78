// Where the frame of an axes goes in the tidy layout: the rectangle it may use, minus
// the margins its texts need. Pure arithmetic in window pixels, no OpenGL.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rizodozad/axes/legend_place.h"
#include "rizodozad/core/font_metrics.h"

namespace rizodozad::tidy {

// Gaps and widths at the text scale in force, like the texts they keep apart; given for
// the font's own size.
// Between the frame and the first row of texts around it: more than half a text's
// height, so that a tick label centred on a corner clears the row beside it.
inline double frame_gap_px() { return font::scaled_px(8); }
inline double tick_label_gap_px() { return font::scaled_px(6); }   // y tick label to frame
inline double min_x_label_gap_px() { return font::scaled_px(12); } // between x tick labels

// A colour bar beside a plot: its gap to the frame, its width and its tick marks.
inline double colorbar_gap_px() { return font::scaled_px(8); }
inline double colorbar_width_px() { return font::scaled_px(12); }
inline double colorbar_tick_px() { return font::scaled_px(4); }

// The rectangle an axes may fill: the one its default margins (those of a subplot
// cell) would surround, so that neighbouring subplots get disjoint slots; clipped to
// the window.
PixelBox slot_around(const std::array<float, 4>& position, double window_width_px,
                     double window_height_px);

// The slot with every obstacle that overlaps it cut away, from the side where the
// least is lost.
PixelBox clear_of(const PixelBox& slot, const std::vector<PixelBox>& obstacles);

struct FrameNeeds {
    int header_rows = 0; // rows of text above the frame
    int footer_rows = 0; // rows below it, the tick labels counted
    double left_px = 0;  // reach of the texts left of the frame
    double right_px = 0; // reach of the texts and colour bar right of it
};

// The frame inside the slot with room for what needs says; never smaller than one pixel.
PixelBox frame_within(const PixelBox& slot, const FrameNeeds& needs);

// Baselines of the k-th row of text above and below the frame (k from 0, nearest first).
double header_baseline(const PixelBox& frame, int row);
double footer_baseline(const PixelBox& frame, int row);

// The text cut at the end (with "...") to fit max_px at char_px(c) per character;
// empty when not even the first character and the dots fit.
std::string fitted(const std::string& text, double max_px, double (*char_px)(unsigned char));

} // namespace rizodozad::tidy
