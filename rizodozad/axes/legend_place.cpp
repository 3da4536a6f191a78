// Choosing the legend's corner by counting the data each candidate box would hide.
#include "rizodozad/axes/legend_place.h"

#include <algorithm>
#include <cmath>

namespace rizodozad::tidy {

namespace {

constexpr std::array<Corner, 4> corners_in_preference{Corner::top_right, Corner::top_left,
                                                      Corner::bottom_left, Corner::bottom_right};
constexpr int edge_stops = 8; // places along the top and bottom edges, corners included

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

int texts_under(const PixelBox& box, const std::vector<PixelBox>& texts) {
    return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                          [&](const PixelBox& t) { return overlap(box, t); }));
}

// Off the corners: evenly along the top and the bottom edge, then halfway up each side.
std::vector<PixelBox> places_off_corners(const PixelBox& area, double width, double height,
                                         double margin) {
    const double left = area.left + margin;
    const double room_x = area.width - 2 * margin - width;
    const double top = area.bottom + area.height - margin - height;
    const double bottom = area.bottom + margin;
    std::vector<PixelBox> places;
    for (double y : {top, bottom})
        for (int k = 1; k < edge_stops - 1; ++k)
            places.push_back({left + room_x * k / (edge_stops - 1), y, width, height});
    const double middle = area.bottom + (area.height - height) / 2;
    places.push_back({left, middle, width, height});
    places.push_back({left + room_x, middle, width, height});
    return places;
}

// Fewer texts covered first, then fewer data.
bool better(const LegendPlace& a, const LegendPlace& b) {
    return a.texts_covered != b.texts_covered ? a.texts_covered < b.texts_covered
                                              : a.covered < b.covered;
}

} // namespace

LegendPlace place_legend(const PixelBox& plot_area, double width_px, double height_px,
                         double margin_px, const std::vector<PixelLine>& lines,
                         const std::vector<PixelBox>& keep_clear) {
    LegendPlace best;
    bool first = true;
    const auto consider = [&](Corner corner, const PixelBox& box) {
        const LegendPlace place{corner, box, texts_under(box, keep_clear), covered_by(box, lines)};
        if (first || better(place, best)) best = place;
        first = false;
    };
    for (Corner corner : corners_in_preference)
        consider(corner, box_in_corner(corner, plot_area, width_px, height_px, margin_px));
    if (best.texts_covered == 0) return best;
    for (const PixelBox& box : places_off_corners(plot_area, width_px, height_px, margin_px))
        consider(Corner::along_edge, box);
    return best;
}

} // namespace rizodozad::tidy
