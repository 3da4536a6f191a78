#include "lab/view/label_rows.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

namespace lab::view {

namespace {

struct Extent {
    double left, right;
};

bool clears(const std::vector<Extent>& row, Extent e, double gap_px) {
    return std::all_of(row.begin(), row.end(), [&](const Extent& other) {
        return e.right + gap_px <= other.left || other.right + gap_px <= e.left;
    });
}

} // namespace

std::vector<std::optional<int>> label_rows(const std::vector<LabelSpot>& labels, int max_rows,
                                           double gap_px) {
    // First the labels whose text is new, left to right; then the repeats.
    std::vector<std::size_t> order(labels.size());
    std::iota(order.begin(), order.end(), 0);
    std::set<std::string> seen;
    std::vector<bool> repeat(labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i)
        repeat[i] = !seen.insert(labels[i].text).second;
    std::stable_partition(order.begin(), order.end(), [&](std::size_t i) { return !repeat[i]; });

    std::vector<std::vector<Extent>> rows(static_cast<std::size_t>(std::max(0, max_rows)));
    std::vector<std::optional<int>> placed(labels.size());
    for (std::size_t i : order) {
        const Extent e{labels[i].left_px, labels[i].left_px + labels[i].width_px};
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (!clears(rows[r], e, gap_px)) continue;
            rows[r].push_back(e);
            placed[i] = static_cast<int>(r);
            break;
        }
    }
    return placed;
}

// With n rows a side, the top's lowest box bottom, (frame - top_baseline) - (n - 1) row
// - descent, stays above the bottom's highest box top, (n - 1) row + ascent.
int label_rows_per_edge(double frame_px, double top_baseline_px, double row_px, double text_px,
                        int max_rows) {
    const double between_px = frame_px - top_baseline_px - text_px;
    if (between_px < 0 || row_px <= 0) return 0;
    const int rows = 1 + static_cast<int>(std::floor(between_px / (2 * row_px)));
    return std::clamp(rows, 0, max_rows);
}

} // namespace lab::view
