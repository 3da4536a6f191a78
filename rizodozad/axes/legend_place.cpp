// Choosing the legend's corner by counting the data each candidate box would hide.
#include "rizodozad/axes/legend_place.h"

#include <algorithm>
#include <cmath>

namespace rizodozad::tidy {

namespace {

constexpr std::array<Corner, 4> corners_in_preference{Corner::top_right, Corner::top_left,
                                                      Corner::bottom_left, Corner::bottom_right};

PixelBox box_in_corner(Corner corner, const PixelBox& area, double width, double height,
                       double margin) {
    const bool right = corner == Corner::top_right || corner == Corner::bottom_right;
    const bool top = corner == Corner::top_right || corner == Corner::top_left;
    const double left = right ? area.left + area.width - margin - width : area.left + margin;
    const double bottom = top ? area.bottom + area.height - margin - height : area.bottom + margin;
    return {left, bottom, width, height};
}

bool finite(const PixelPoint& p) { return std::isfinite(p[0]) && std::isfinite(p[1]); }

bool inside(const PixelPoint& p, const PixelBox& box) {
    return p[0] >= box.left && p[0] <= box.left + box.width && p[1] >= box.bottom &&
           p[1] <= box.bottom + box.height;
}

// Whether segment a-b meets the box (Liang-Barsky clipping of the parameter range).
bool crosses(const PixelPoint& a, const PixelPoint& b, const PixelBox& box) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{a[0] - box.left, box.left + box.width - a[0], a[1] - box.bottom,
                                  box.bottom + box.height - a[1]};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

int covered_by(const PixelBox& box, const std::vector<PixelLine>& lines) {
    int covered = 0;
    for (const PixelLine& line : lines)
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (!finite(line[i])) continue;
            const bool in = inside(line[i], box);
            covered += in ? 1 : 0;
            const bool has_next = i + 1 < line.size() && finite(line[i + 1]);
            if (has_next && !in && !inside(line[i + 1], box) && crosses(line[i], line[i + 1], box))
                ++covered;
        }
    return covered;
}

} // namespace

LegendPlace place_legend(const PixelBox& plot_area, double width_px, double height_px,
                         double margin_px, const std::vector<PixelLine>& lines) {
    LegendPlace best;
    bool first = true;
    for (Corner corner : corners_in_preference) {
        const PixelBox box = box_in_corner(corner, plot_area, width_px, height_px, margin_px);
        const int covered = covered_by(box, lines);
        if (first || covered < best.covered) best = {corner, box, covered};
        first = false;
    }
    return best;
}

} // namespace rizodozad::tidy
