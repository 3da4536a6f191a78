// Where the labels along the space plot go so that none prints over another: the layers'
// labels hang in rows from the top of the plot, the source's and probes' stand in rows on
// its bottom. Plain arithmetic on pixel extents, tested without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lab::view {

// A label's text and where it starts, in pixels from the plot's left edge.
struct LabelSpot {
    double left_px = 0.0;
    std::string text;
};

// Width of a label in pixels, from the 12-pixel Helvetica the engine writes with.
double label_width_px(const std::string& text);

// The row of each label (0 nearest the plot's edge), at most max_rows rows: each takes the
// first row where it clears every label already there by label_gap_px. A label that fits
// in no row is left out (nothing), so that labels are never drawn over each other; a label
// whose text is already shown is the first to go, so that a periodic stack keeps one label
// per material and its shading tells the rest.
std::vector<std::optional<int>> label_rows(const std::vector<LabelSpot>& labels, int max_rows);

constexpr double label_gap_px = 6.0;
constexpr double label_row_px = 14.0; // from one row to the next

} // namespace lab::view
