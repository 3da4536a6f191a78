// Where the labels along the space plot go so that none prints over another: the layers'
// labels hang in rows from the top of the plot, the source's and probes' stand in rows on
// its bottom. Plain arithmetic on pixel extents, tested without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lab::view {

// A label's text, where it starts in pixels from the plot's left edge, and its width as the
// engine draws it.
struct LabelSpot {
    double left_px = 0.0;
    std::string text;
    double width_px = 0.0;
};

// The row of each label (0 nearest the plot's edge), at most max_rows rows: each takes the
// first row where it clears every label already there by gap_px. A label that fits
// in no row is left out (nothing), so that labels are never drawn over each other; a label
// whose text is already shown is the first to go, so that a periodic stack keeps one label
// per material and its shading tells the rest.
std::vector<std::optional<int>> label_rows(const std::vector<LabelSpot>& labels, int max_rows,
                                           double gap_px);

// How many rows fit at each of the top and bottom of a plot frame frame_px tall without a
// row from the top reaching one from the bottom: rows row_px apart, texts text_px tall,
// the top's first baseline top_baseline_px below the top edge, the bottom's first on the
// bottom edge. At least 0, at most max_rows.
int label_rows_per_edge(double frame_px, double top_baseline_px, double row_px, double text_px,
                        int max_rows);

// At the font's own size; the picture multiplies them by its text scale.
constexpr double label_gap_px = 6.0;
constexpr double label_row_px = 14.0; // from one row to the next

} // namespace lab::view
