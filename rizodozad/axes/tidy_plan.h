// The plan of one axes in the tidy layout: its frame, ticks, labels and the rows of
// text around it. Pure arithmetic; text widths come from the caller's font.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rizodozad/axes/tick_labels.h"
#include "rizodozad/axes/tidy_frame.h"
#include "rizodozad/records.h"

namespace rizodozad::tidy {

using TextWidth = double (*)(const std::string& text); // pixels

// Major ticks with their labels and minor ticks of one axis, sized to its length.
struct AxisMarks {
    std::vector<double> majors;
    std::vector<double> minors;
    AxisLabels labels;
};

// linear_scale 0, log_scale 1 (any other scale is linear). Labels that would stand
// closer than min_spacing_px are not produced: the step grows until they fit.
AxisMarks axis_marks(const std::array<double, 2>& lim, int scale, double length_px,
                     double min_spacing_px);

// Rows of text around the frame, counted from the frame outwards; -1 for a text not
// shown. The x tick labels, when shown, take footer row 0.
struct TextRows {
    int title = -1;
    int y_header = -1; // the y label and the y axis' common exponent
    int readout = -1;
    int x_footer = -1; // the x label and the x axis' common exponent
    int header_count = 0;
    int footer_count = 0;
};

// Texts given up, in this order, while the slot is too small for the frame and them all.
constexpr int drop_nothing = 0;
constexpr int drop_x_footer = 1;
constexpr int drop_readout = 2;
constexpr int drop_y_header = 3;
constexpr int drop_title = 4;

struct AxesPlan {
    PixelBox slot;
    PixelBox frame;
    AxisMarks x;
    AxisMarks y;
    std::string y_header;
    std::string x_footer; // the x label and the x axis' common exponent
    TextRows rows;
    double colorbar_reach_px = 0; // room right of the frame for a colour bar, 0 without
    FrameNeeds needs;             // the margins the frame leaves
};

// Plans a two-dimensional axes in its slot. colorbar_labels_px is the width of the
// widest label of its colour bar, negative when it has none. The margins are at least
// those of floor, so that axes laid over one another can share one frame.
AxesPlan plan_axes(const Axes& axes, const PixelBox& slot, double colorbar_labels_px,
                   TextWidth width_of, const FrameNeeds& floor = {});

// The larger of each margin.
FrameNeeds widest_needs(const FrameNeeds& a, const FrameNeeds& b);
bool same_needs(const FrameNeeds& a, const FrameNeeds& b);

// The labels of an axis' major ticks: decade labels when all are powers of ten on a
// logarithmic axis, else shared decimals with a common exponent.
AxisLabels labels_of(const std::vector<double>& majors, int scale);

// The rows of the axes' texts; the y header shares the title's row when both fit.
TextRows text_rows(const Axes& axes, const PixelBox& slot, const std::string& y_header,
                   const std::string& x_footer, bool x_tick_labels, int dropped,
                   TextWidth width_of);

// Where texts of the header start, clamped into the slot: the title centred on it, the
// y header at its left, the read-out at the frame's left.
double title_left(const PixelBox& slot, double title_px);
double y_header_left(const PixelBox& slot);
double readout_left(const PixelBox& slot, const PixelBox& frame, double readout_px);
// The x footer centred under the frame, clamped into the slot.
double footer_left(const PixelBox& slot, const PixelBox& frame, double footer_px);

// The lines among the axes' children, in drawing order.
std::vector<const Line*> lines_of(const Axes& axes, const std::vector<Line>& lines);

// Labels of a colour bar's ticks: shared decimals, and the common exponent, if any,
// after the topmost one (a bar has no row of its own for it).
std::vector<std::string> colour_bar_labels(const std::vector<double>& ticks);

// A label and its axis' common exponent, two spaces apart when both are there.
std::string joined(const std::string& label, const std::string& exponent);

} // namespace rizodozad::tidy
