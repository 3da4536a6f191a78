// The tidy frame of an axes inside its slot.
#include "rizodozad/axes/tidy_frame.h"

#include <algorithm>

namespace rizodozad::tidy {

namespace {

// The default rectangle of an axes within its cell, as fractions of the cell.
constexpr double cell_left = 0.13;
constexpr double cell_bottom = 0.11;
constexpr double cell_width = 0.775;
constexpr double cell_height = 0.815;
constexpr double min_frame_px = 1;
const std::string ellipsis = "...";

PixelBox from_edges(double left, double bottom, double right, double top) {
    return {left, bottom, std::max(0.0, right - left), std::max(0.0, top - bottom)};
}

} // namespace

PixelBox slot_around(const std::array<float, 4>& position, double window_width_px,
                     double window_height_px) {
    const double width = position[2] / cell_width;
    const double height = position[3] / cell_height;
    const double left = std::max(0.0, (position[0] - cell_left * width) * window_width_px);
    const double bottom = std::max(0.0, (position[1] - cell_bottom * height) * window_height_px);
    const double right = std::min(window_width_px, left + width * window_width_px);
    const double top = std::min(window_height_px, bottom + height * window_height_px);
    return from_edges(left, bottom, right, top);
}

PixelBox clear_of(const PixelBox& slot, const std::vector<PixelBox>& obstacles) {
    PixelBox clear = slot;
    for (const PixelBox& o : obstacles) {
        if (!overlap(clear, o)) continue;
        const double l = clear.left, b = clear.bottom, r = right_of(clear), t = top_of(clear);
        // Each candidate keeps the part of the slot on one side of the obstacle.
        const std::array<PixelBox, 4> sides{from_edges(l, b, std::min(r, o.left), t),
                                            from_edges(std::max(l, right_of(o)), b, r, t),
                                            from_edges(l, b, r, std::min(t, o.bottom)),
                                            from_edges(l, std::max(b, top_of(o)), r, t)};
        clear = *std::max_element(sides.begin(), sides.end(), [](const auto& x, const auto& y) {
            return x.width * x.height < y.width * y.height;
        });
    }
    return clear;
}

PixelBox frame_within(const PixelBox& slot, const FrameNeeds& needs) {
    const double top_margin = frame_gap_px() + needs.header_rows * row_pitch_px();
    const double bottom_margin = frame_gap_px() + needs.footer_rows * row_pitch_px();
    double left = slot.left + needs.left_px + edge_gap_px();
    double right = right_of(slot) - needs.right_px - edge_gap_px();
    double bottom = slot.bottom + (needs.footer_rows > 0 ? bottom_margin : edge_gap_px());
    double top = top_of(slot) - (needs.header_rows > 0 ? top_margin : edge_gap_px());
    if (right - left < min_frame_px) left = right = (left + right) / 2;
    if (top - bottom < min_frame_px) bottom = top = (bottom + top) / 2;
    return {left, bottom, std::max(min_frame_px, right - left),
            std::max(min_frame_px, top - bottom)};
}

double header_baseline(const PixelBox& frame, int row) {
    return top_of(frame) + frame_gap_px() + row * row_pitch_px() + text_descent_px();
}

double footer_baseline(const PixelBox& frame, int row) {
    return frame.bottom - frame_gap_px() - row * row_pitch_px() - text_ascent_px();
}

std::string fitted(const std::string& text, double max_px, double (*char_px)(unsigned char)) {
    double width = 0;
    for (unsigned char c : text)
        width += char_px(c);
    if (width <= max_px) return text;
    double dots = 0;
    for (unsigned char c : ellipsis)
        dots += char_px(c);
    std::string kept;
    double used = dots;
    for (unsigned char c : text) {
        if (used + char_px(c) > max_px) break;
        used += char_px(c);
        kept.push_back(static_cast<char>(c));
    }
    return kept.empty() ? std::string() : kept + ellipsis;
}

} // namespace rizodozad::tidy
