// Tick values for a given pixel length, linear and by decades.
#include "rizodozad/axes/tidy_ticks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace rizodozad::tidy {

namespace {

constexpr std::array<double, 3> step_multipliers{1, 2, 5};
constexpr std::array<int, 4> decade_strides{1, 2, 5, 10}; // then 10 times each, and so on
constexpr int minors_per_decade = 8;                      // 2..9 times the power
constexpr double relative_slack = 1e-9; // limits that differ from a tick by rounding keep it
constexpr int longest_tick_list = 10000;
// Minor ticks need no room for labels, only to stay apart: the closest pair in a
// decade, 9 and 10 times the power, is log10(10/9) of a decade apart.
constexpr double min_minor_gap_px = 3;
const double narrowest_minor_gap = std::log10(10.0 / 9.0);

bool usable(double lower, double upper, double length_px) {
    return std::isfinite(lower) && std::isfinite(upper) && lower != upper && length_px > 0;
}

// Whole multiples k * step inside lo..hi; values are products, not running sums, so no
// rounding piles up, and a tick at zero is exactly zero. Far from zero, where a step
// is below the numbers' resolution, neighbours can coincide: they are kept once.
std::vector<double> multiples_within(double lo, double hi, double step) {
    const double slack = relative_slack * step;
    const double first = std::ceil((lo - slack) / step);
    const double count = std::floor((hi + slack) / step) - first + 1;
    std::vector<double> ticks;
    if (!(count > 0 && count <= longest_tick_list)) return ticks;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        const double k = first + i;
        ticks.push_back(k == 0 ? 0.0 : k * step);
    }
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
    return ticks;
}

// The n-th candidate step: 1, 2, 5, 10, 20, 50 ... times 10^exponent.
double nth_step(int n, int exponent) {
    const int decade = n / static_cast<int>(step_multipliers.size());
    return step_multipliers[n % step_multipliers.size()] * std::pow(10.0, exponent + decade);
}

int nth_stride(int n) {
    const int decade = n / static_cast<int>(decade_strides.size());
    return decade_strides[n % decade_strides.size()] * static_cast<int>(std::pow(10, decade));
}

// Powers 10^e for e from first to last that are multiples of stride.
std::vector<double> powers_of_ten(int first, int last, int stride) {
    std::vector<double> powers;
    const int start = static_cast<int>(std::ceil(double(first) / stride)) * stride;
    for (int e = start; e <= last; e += stride)
        powers.push_back(std::pow(10.0, e));
    return powers;
}

// k * 10^e for k in 1..9 over the decades that touch lo..hi, inside lo..hi, except
// those that exclude(k, e, value) rejects.
template <class Filter> std::vector<double> decade_multiples(double lo, double hi, Filter exclude) {
    std::vector<double> values;
    const int first = static_cast<int>(std::floor(std::log10(lo)));
    const int last = static_cast<int>(std::floor(std::log10(hi)));
    for (int e = first; e <= last; ++e)
        for (int k = 1; k <= minors_per_decade + 1; ++k) {
            const double v = k * std::pow(10.0, e);
            const double slack = relative_slack * v;
            if (v >= lo - slack && v <= hi + slack && !exclude(k, e, v)) values.push_back(v);
        }
    return values;
}

} // namespace

std::vector<double> linear_ticks(double lower, double upper, double length_px,
                                 double min_spacing_px) {
    if (!usable(lower, upper, length_px)) return {};
    const double lo = std::min(lower, upper);
    const double hi = std::max(lower, upper);
    const double smallest_step = (hi - lo) * std::max(min_spacing_px, 1.0) / length_px;
    if (!std::isfinite(smallest_step) || !(smallest_step > 0)) return {};
    const int exponent = static_cast<int>(std::floor(std::log10(smallest_step)));
    int n = 0;
    while (nth_step(n, exponent) < smallest_step * (1 - relative_slack))
        ++n;
    return multiples_within(lo, hi, nth_step(n, exponent));
}

LogTicks decade_ticks(double lower, double upper, double length_px, double min_spacing_px) {
    if (!usable(lower, upper, length_px) || !(lower > 0) || !(upper > 0)) return {};
    const double lo = std::min(lower, upper);
    const double hi = std::max(lower, upper);
    const int first = static_cast<int>(std::ceil(std::log10(lo) - relative_slack));
    const int last = static_cast<int>(std::floor(std::log10(hi) + relative_slack));
    LogTicks ticks;
    if (last - first < 1) {
        ticks.majors = linear_ticks(lo, hi, length_px, min_spacing_px);
        ticks.minors = decade_multiples(lo, hi, [&](int, int, double v) {
            return std::any_of(ticks.majors.begin(), ticks.majors.end(),
                               [&](double m) { return std::fabs(m - v) <= relative_slack * v; });
        });
        return ticks;
    }
    const double decade_px = length_px / (std::log10(hi) - std::log10(lo));
    int stride = 1;
    for (int n = 1; stride * decade_px < min_spacing_px && stride <= last - first; ++n)
        stride = nth_stride(n);
    ticks.majors = powers_of_ten(first, last, stride);
    if (stride > 1) {
        ticks.minors = decade_multiples(
            lo, hi, [stride](int k, int e, double) { return k != 1 || e % stride == 0; });
    } else if (decade_px * narrowest_minor_gap >= min_minor_gap_px) {
        ticks.minors = decade_multiples(lo, hi, [](int k, int, double) { return k == 1; });
    }
    return ticks;
}

} // namespace rizodozad::tidy
