// Shared-decimal tick labels with a common exponent, and decade labels.
#include "rizodozad/axes/tick_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rizodozad::tidy {

namespace {

constexpr double largest_plain = 1e4; // from here on a common exponent is shown
constexpr double smallest_plain = 1e-3;
constexpr int exponent_group = 3; // engineering exponents: 1e3, 1e-6 ...
constexpr int most_decimals = 12;
constexpr double exactness = 1e-9; // of the step: what "shows the value exactly" allows

std::string printed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string label = text;
    // "-0.00" is zero: only a digit other than 0 earns the sign.
    if (label[0] == '-' && label.find_first_of("123456789") == std::string::npos) label.erase(0, 1);
    return label;
}

double largest_magnitude(const std::vector<double>& ticks) {
    double largest = 0;
    for (double t : ticks)
        if (std::isfinite(t)) largest = std::max(largest, std::fabs(t));
    return largest;
}

double smallest_gap(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    double gap = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double d = values[i] - values[i - 1];
        if (d > 0 && (gap == 0 || d < gap)) gap = d;
    }
    return gap;
}

int common_exponent(double largest) {
    if (largest == 0 || (largest < largest_plain && largest >= smallest_plain)) return 0;
    const int e = static_cast<int>(std::floor(std::log10(largest)));
    return static_cast<int>(std::floor(double(e) / exponent_group)) * exponent_group;
}

// The fewest decimals at which every value prints within a sliver of the step.
int decimals_needed(const std::vector<double>& values, double step) {
    if (step <= 0) return 0;
    for (int d = 0; d < most_decimals; ++d) {
        const double unit = std::pow(10.0, -d);
        const bool exact = std::all_of(values.begin(), values.end(), [&](double v) {
            return std::fabs(v - std::round(v / unit) * unit) <= exactness * step;
        });
        if (exact) return d;
    }
    return most_decimals;
}

} // namespace

AxisLabels format_axis_labels(const std::vector<double>& ticks) {
    AxisLabels result;
    const int exponent = common_exponent(largest_magnitude(ticks));
    const double scale = std::pow(10.0, -exponent);
    std::vector<double> scaled;
    for (double t : ticks)
        if (std::isfinite(t)) scaled.push_back(t * scale);
    // A lone tick is told apart from nothing: its own size is the scale.
    const double gap = smallest_gap(scaled);
    const double step = gap > 0 ? gap : largest_magnitude(scaled);
    const int decimals = decimals_needed(scaled, step);
    for (double t : ticks)
        result.labels.push_back(std::isfinite(t) ? printed(t * scale, decimals) : std::string());
    if (exponent != 0) result.exponent = "x1e" + std::to_string(exponent);
    return result;
}

std::vector<std::string> format_decade_labels(const std::vector<double>& powers) {
    const bool plain = std::all_of(powers.begin(), powers.end(), [](double p) {
        return p >= smallest_plain * (1 - exactness) && p < largest_plain * (1 + exactness);
    });
    std::vector<std::string> labels;
    for (double p : powers) {
        const int e = static_cast<int>(std::lround(std::log10(p)));
        labels.push_back(plain ? printed(std::pow(10.0, e), std::max(0, -e))
                               : "1e" + std::to_string(e));
    }
    return labels;
}

} // namespace rizodozad::tidy
