// Read-out digits and the nearest data point.
#include "rizodozad/axes/readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace rizodozad::tidy {

namespace {

constexpr double smallest_fixed = 1e-3; // magnitudes shown without an exponent
constexpr double largest_fixed = 1e6;
constexpr int most_digits = 15; // what a double holds
constexpr int data_digits = 6;  // a data point's own value, shown as %g does
constexpr double nowhere = std::numeric_limits<double>::quiet_NaN();

double squared(double v) { return v * v; }

std::string without_negative_zero(std::string text) {
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// Fixed notation of a huge value within a pixel of zero runs to hundreds of digits.
std::string printf_text(const char* format, int digits, double value) {
    const int length = std::snprintf(nullptr, 0, format, digits, value);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, digits, value);
    text.resize(static_cast<std::size_t>(length));
    return without_negative_zero(text);
}

// The data value that one pixel spans at value.
double one_pixel_of(const ScreenAxis& axis, double value) {
    if (!axis.logarithmic) return std::fabs(axis.upper - axis.lower) / axis.length_px;
    const double decades = std::fabs(std::log10(axis.upper / axis.lower));
    return std::fabs(value) * (std::pow(10.0, decades / axis.length_px) - 1);
}

// Squared pixel distance from p to the segment a-b.
double segment_distance2(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0.0;
    return squared(px - ax - t * dx) + squared(py - ay - t * dy);
}

struct LinePixels {
    std::vector<double> x, y; // NaN where a point cannot be drawn
};

LinePixels to_pixels(const Line& line, const ScreenAxis& x_axis, const ScreenAxis& y_axis) {
    LinePixels pixels;
    const std::size_t n = std::min(line.x_data.size(), line.y_data.size());
    for (std::size_t i = 0; i < n; ++i) {
        pixels.x.push_back(pixel_along(x_axis, line.x_data[i]));
        pixels.y.push_back(pixel_along(y_axis, line.y_data[i]));
    }
    return pixels;
}

bool drawable(const LinePixels& p, std::size_t i) {
    return std::isfinite(p.x[i]) && std::isfinite(p.y[i]);
}

// Squared distance from the pointer to the nearest drawn part of the line: a segment
// between two drawable points, or a lone drawable point.
double line_distance2(const LinePixels& p, double px, double py) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        if (!drawable(p, i)) continue;
        const bool next = i + 1 < p.x.size() && drawable(p, i + 1);
        const std::size_t j = next ? i + 1 : i;
        best = std::min(best, segment_distance2(px, py, p.x[i], p.y[i], p.x[j], p.y[j]));
    }
    return best;
}

std::size_t nearest_vertex(const LinePixels& p, double px, double py) {
    std::size_t nearest = 0;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        if (!drawable(p, i)) continue;
        const double d2 = squared(p.x[i] - px) + squared(p.y[i] - py);
        if (d2 < best) {
            best = d2;
            nearest = i;
        }
    }
    return nearest;
}

} // namespace

double pixel_along(const ScreenAxis& axis, double value) {
    if (!(axis.length_px > 0) || axis.upper == axis.lower) return nowhere;
    double fraction = (value - axis.lower) / (axis.upper - axis.lower);
    if (axis.logarithmic) {
        if (!(value > 0) || !(axis.lower > 0) || !(axis.upper > 0)) return nowhere;
        fraction = std::log10(value / axis.lower) / std::log10(axis.upper / axis.lower);
    }
    return fraction * axis.length_px;
}

std::string format_readout_value(double value, const ScreenAxis& axis) {
    if (!std::isfinite(value)) return value != value ? "nan" : (value > 0 ? "inf" : "-inf");
    const double pixel = one_pixel_of(axis, value);
    const int pixel_exponent =
        std::isfinite(pixel) && pixel > 0 ? static_cast<int>(std::floor(std::log10(pixel))) : 0;
    const double magnitude = std::fabs(value);
    // Within a pixel of zero the value is zero as far as the screen can tell.
    if (magnitude < pixel || (magnitude >= smallest_fixed && magnitude < largest_fixed))
        return printf_text("%.*f", std::clamp(-pixel_exponent, 0, most_digits), value);
    const int value_exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    const int digits = std::clamp(value_exponent - pixel_exponent + 1, 1, most_digits);
    return printf_text("%.*e", digits - 1, value);
}

NearestPoint nearest_point(const std::vector<const Line*>& lines, double pointer_x_px,
                           double pointer_y_px, const ScreenAxis& x_axis,
                           const ScreenAxis& y_axis) {
    NearestPoint nearest;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k] == nullptr) continue;
        const LinePixels pixels = to_pixels(*lines[k], x_axis, y_axis);
        const double d2 = line_distance2(pixels, pointer_x_px, pointer_y_px);
        if (!(d2 < best)) continue;
        best = d2;
        const std::size_t i = nearest_vertex(pixels, pointer_x_px, pointer_y_px);
        nearest = {true, k, i, lines[k]->x_data[i], lines[k]->y_data[i]};
    }
    return nearest;
}

std::string readout_text(double x, double y, const ScreenAxis& x_axis, const ScreenAxis& y_axis,
                         const NearestPoint& nearest, const std::vector<std::string>& line_names) {
    std::string text =
        "(" + format_readout_value(x, x_axis) + ", " + format_readout_value(y, y_axis) + ")";
    if (!nearest.found) return text;
    const bool named = nearest.line < line_names.size() && !line_names[nearest.line].empty();
    const std::string name =
        named ? line_names[nearest.line] : "line " + std::to_string(nearest.line + 1);
    return text + "  nearest: " + name + " (" + printf_text("%.*g", data_digits, nearest.x) + ", " +
           printf_text("%.*g", data_digits, nearest.y) + ")";
}

} // namespace rizodozad::tidy
