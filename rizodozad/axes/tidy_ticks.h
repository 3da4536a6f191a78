// Tick values sized to the axis on screen: how many fit depends on its length in
// pixels. Pure arithmetic, no OpenGL.
#pragma once

#include <vector>

namespace rizodozad::tidy {

// Ticks at whole multiples of a step of 1, 2 or 5 times a power of ten, between lower
// and upper (either order; returned ascending). The step is the smallest whose ticks
// stand at least min_spacing_px apart over an axis length_px long; at least two ticks
// whenever the range holds two of the coarsest step. Empty for a degenerate or
// non-finite range or a non-positive length.
std::vector<double> linear_ticks(double lower, double upper, double length_px,
                                 double min_spacing_px);

struct LogTicks {
    std::vector<double> majors; // labelled
    std::vector<double> minors; // unlabelled
};

// Ticks of a logarithmic axis over lower..upper (either order; both must be positive).
// Majors stand at powers of ten, every decade or every 2nd, 5th, 10th ... when the
// decades are too narrow for min_spacing_px; minors at 2..9 times each power of ten
// while a decade is wide enough for them, else at the skipped powers. A range that
// holds fewer than two powers of ten falls back to linear majors, with minors at the
// 1..9 multiples of its powers of ten that are not majors.
LogTicks decade_ticks(double lower, double upper, double length_px, double min_spacing_px);

} // namespace rizodozad::tidy
