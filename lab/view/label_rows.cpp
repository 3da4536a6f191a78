#include "lab/view/label_rows.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace lab::view {

namespace {

constexpr double label_char_px = 7.0; // the font's widest lower-case letters and digits

struct Extent {
    double left, right;
};

bool clears(const std::vector<Extent>& row, Extent e) {
    return std::all_of(row.begin(), row.end(), [&](const Extent& other) {
        return e.right + label_gap_px <= other.left || other.right + label_gap_px <= e.left;
    });
}

} // namespace

double label_width_px(const std::string& text) {
    return label_char_px * static_cast<double>(text.size());
}

std::vector<std::optional<int>> label_rows(const std::vector<LabelSpot>& labels, int max_rows) {
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
        const Extent e{labels[i].left_px, labels[i].left_px + label_width_px(labels[i].text)};
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (!clears(rows[r], e)) continue;
            rows[r].push_back(e);
            placed[i] = static_cast<int>(r);
            break;
        }
    }
    return placed;
}

} // namespace lab::view
