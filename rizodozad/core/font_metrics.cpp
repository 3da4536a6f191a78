// Character widths from the font itself, and whether a string's box is clear.
#include "rizodozad/core/font_metrics.h"

#include "rizodozad/core/glyph_data.h"
#include "rizodozad/core/pixel_box.h"
#include "rizodozad/core/scales.h"

namespace rizodozad {

namespace {

// The font at scale 1.
constexpr double ascent_px = 10;
constexpr double descent_px = 3;
constexpr double pitch_px = 16;
constexpr double gap_px = 2;

} // namespace

namespace tidy {

double text_ascent_px() { return font::scaled_px(ascent_px); }
double text_descent_px() { return font::scaled_px(descent_px); }
double text_height_px() { return font::scaled_px(ascent_px + descent_px); }
double row_pitch_px() { return font::scaled_px(pitch_px); }
double edge_gap_px() { return font::scaled_px(gap_px); }

} // namespace tidy

namespace font {

double scaled_px(double px_at_scale_1) { return px_at_scale_1 * scales::in_force().text; }

double char_px(unsigned char c) { return scaled_px(glyph_data::helvetica_12.width[c]); }

double width_px(const std::string& text) {
    double width = 0;
    for (unsigned char c : text)
        width += char_px(c);
    return width;
}

} // namespace font

bool collides_with_drawn(const std::optional<DrawnText>& box, const std::vector<DrawnText>& drawn,
                         int window_width, int window_height) {
    if (!box) return true;
    if (box->left < 0 || box->bottom < 0 || box->left + box->width > window_width ||
        box->bottom + box->height > window_height)
        return true;
    const tidy::PixelBox b{box->left, box->bottom, box->width, box->height};
    for (const DrawnText& d : drawn)
        if (tidy::overlap(b, {d.left, d.bottom, d.width, d.height})) return true;
    return false;
}

} // namespace rizodozad
