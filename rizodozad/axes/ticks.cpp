// Automatic axis limits, tick values and tick labels. Plain arithmetic: no OpenGL here.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "rizodozad/axes/ticks.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Tick values
//-----------------------------------------------------------------------------

constexpr std::array<double, 3> step_multipliers{1, 2, 5};
constexpr int first_tick_offset = -2; // the search starts two steps below the aligned start
// Ordinary limits give a few dozen ticks at most; the cap only ends a search that
// the floating-point arithmetic cannot carry past the upper limit.
constexpr int max_tick_count = 1000;

// The smallest of q * 10^e, q in 1, 2, 5, with 10^e just below range / q. For a
// negative whole log10 the exponent is one below the floor: a range of 0.1 gives 0.01.
double tick_step(double range) {
    double step = std::numeric_limits<double>::infinity();
    for (double q : step_multipliers) {
        const double g = std::log10(range / q);
        double e = std::trunc(g);
        if (g < 0) e -= 1;
        step = std::min(step, q * std::pow(10.0, e));
    }
    return step;
}

//-----------------------------------------------------------------------------
// [SECTION] Tick labels
//-----------------------------------------------------------------------------

constexpr double label_scale = 1e6; // six decimals are inspected
constexpr double int32_limit = 2147483648.0;
constexpr int large_label_digits = 3; // from 100 upwards a label shows no decimals

// The decimal formats by the number of significant decimals 0..6: always one more.
constexpr std::array<const char*, 7> decimal_formats{"%.1f ", "%.2f ", "%.3f ", "%.4f ",
                                                     "%.5f ", "%.6f ", "%.7f "};
constexpr const char* whole_format = "%.0f ";
// Divisors whose remainder decides each decimal count, in the order they are tested.
constexpr std::array<std::int32_t, 6> decimal_divisors{1000000, 100000, 10000, 1000, 100, 10};

// |x| * 10^6 truncated to 32 bits; a value that does not fit (and NaN) becomes the
// most negative 32-bit integer, whose remainders are all non-zero.
std::int32_t scaled_magnitude(double x) {
    const double scaled = std::fabs(x * label_scale);
    if (!(scaled < int32_limit)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(scaled);
}

int significant_decimals(double x) {
    const std::int32_t n = scaled_magnitude(x);
    int decimals = 0;
    for (std::size_t k = 0; k < decimal_divisors.size(); ++k) {
        if (n % decimal_divisors[k] != 0) decimals = static_cast<int>(k) + 1;
    }
    return decimals;
}

bool has_whole_label(double x) {
    return x > 0 && std::trunc(std::log10(x)) + 1 >= large_label_digits;
}

std::string print_number(const char* format, double x) {
    const int length = std::snprintf(nullptr, 0, format, x);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, x);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

//-----------------------------------------------------------------------------
// [SECTION] Automatic limits
//-----------------------------------------------------------------------------

constexpr float linear_margin = 0.03f; // enters the arithmetic widened to double

void widen_to_data(double data_min, double data_max, float margin, std::array<double, 2>& lim) {
    const double d = data_max - data_min;
    lim = {data_min - d * margin, data_max + d * margin};
}

// Sets an automatic axis from its data and leaves in margin the factor it used, which
// the z axis takes over.
void fit_axis(int lim_mode, int scale, double data_min, double data_max, std::array<double, 2>& lim,
              float& margin) {
    if (lim_mode != limit_mode::automatic || !(data_max > data_min)) return;
    if (scale == axis_scale::linear) margin = linear_margin;
    if (scale == axis_scale::logarithmic) margin = 0;
    widen_to_data(data_min, data_max, margin, lim);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Public operations
//-----------------------------------------------------------------------------

std::vector<double> compute_ticks(double lower, double upper) {
    std::vector<double> ticks;
    if (!std::isfinite(lower) || !std::isfinite(upper) || lower == upper) return ticks;
    const double step = tick_step(std::fabs(upper - lower));
    if (!std::isfinite(step) || !(step > 0)) return ticks;

    const double start = lower - std::fmod(lower, step);
    const bool ascending = upper > lower;
    for (int i = first_tick_offset; i < max_tick_count; ++i) {
        const double offset = static_cast<double>(i) * step;
        const double v = ascending ? start + offset : start - offset;
        if (ascending ? v > upper : v < upper) break;
        if (ascending ? v >= lower : v <= lower) ticks.push_back(v);
    }
    return ticks;
}

std::string format_tick_label(double x) {
    if (has_whole_label(x)) return print_number(whole_format, x);
    const auto decimals = static_cast<std::size_t>(significant_decimals(x));
    return print_number(decimal_formats[decimals], x);
}

void configure_axes(Axes& axes) {
    float margin = 0;
    fit_axis(axes.x_lim_mode, axes.x_scale, axes.data_x_min, axes.data_x_max, axes.x_lim, margin);
    fit_axis(axes.y_lim_mode, axes.y_scale, axes.data_y_min, axes.data_y_max, axes.y_lim, margin);
    if (axes.z_lim_mode == limit_mode::automatic && axes.data_z_max > axes.data_z_min) {
        widen_to_data(axes.data_z_min, axes.data_z_max, margin, axes.z_lim);
    }

    axes.x_tick = compute_ticks(axes.x_lim[0], axes.x_lim[1]);
    axes.y_tick = compute_ticks(axes.y_lim[0], axes.y_lim[1]);
    axes.z_tick = compute_ticks(axes.z_lim[0], axes.z_lim[1]);
    axes.c_tick = compute_ticks(axes.c_lim[0], axes.c_lim[1]);
}

} // namespace rizodozad
