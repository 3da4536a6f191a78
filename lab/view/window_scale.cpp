#include "lab/view/window_scale.h"

#include <algorithm>
#include <cmath>

namespace lab::view {

namespace {

// Each this many pixels of height add half a step; rounding keeps windows up to about
// 900 pixels tall at the font's own size.
constexpr double height_per_half_step_px = 380;

} // namespace

double scale_for_window_height(int height_px) {
    const double half_steps = std::round(height_px / height_per_half_step_px);
    return std::max(1.0, half_steps / 2);
}

} // namespace lab::view
