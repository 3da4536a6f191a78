// Page 2: logarithmic axes. On a logarithmic x axis log10(x) is a straight line, on a
// logarithmic y axis an exponential is, and on log-log axes every power of x is.
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::ZarIdor;

constexpr int curve_points = 100;
using rizodozad::axis_scale::logarithmic;
constexpr float curve_width = 1.5f;
constexpr float marker_size = 10.0f;
constexpr float marker_outline = 1.0f;
constexpr int whole_numbers = 10;   // 1, 2, ..., 10: one marker on each
constexpr double linear_rise = 1.5; // 1 + 1.5 x meets 2^x at both ends

// Each logarithmic range spans at most one decade, so the evenly stepped ticks the
// engine chooses stay far enough apart to be read.
constexpr Limits decade{1.0, 10.0};
constexpr Limits unit{0.0, 1.0};
constexpr Limits short_log_range{1.0, 4.0};
constexpr Limits exponent_x{0.0, 2.0};

void plot_curve(ZarIdor& engine, const std::vector<double>& x, const std::vector<double>& y,
                const char* color, const char* style) {
    engine.plot(x, y);
    engine.set(color);
    engine.set(style);
    engine.set_line_width(curve_width);
}

void logarithmic_x(ZarIdor& engine) {
    engine.layer("log x");
    rizodozad::Axes* axes =
        panel(engine, 2, 1, 1, "Logarithmic x: log10(x) is straight, (x - 1) / 9 bends");
    engine.fix_limits(decade, unit);
    if (axes != nullptr) axes->x_scale = logarithmic;

    const std::vector<double> x = rizodozad::linspace(decade[0], decade[1], curve_points);
    plot_curve(engine, x, sampled(x, [](double v) { return std::log10(v); }), "b", "-");
    plot_curve(engine, x, sampled(x, [](double v) { return (v - 1.0) / 9.0; }), "r", "- -");

    const std::vector<double> whole = rizodozad::linspace(decade[0], decade[1], whole_numbers);
    engine.plot(whole, sampled(whole, [](double v) { return std::log10(v); }));
    engine.set("b");
    engine.set("o");
    set_marker_size(engine, marker_size);
    engine.set_line_width(marker_outline);
}

void logarithmic_y(ZarIdor& engine) {
    engine.layer("log y");
    rizodozad::Axes* axes = panel(engine, 2, 2, 3, "Logarithmic y: 2^x is straight");
    engine.fix_limits(exponent_x, short_log_range);
    if (axes != nullptr) axes->y_scale = logarithmic;

    const std::vector<double> x = rizodozad::linspace(exponent_x[0], exponent_x[1], curve_points);
    plot_curve(engine, x, sampled(x, [](double v) { return std::pow(2.0, v); }), "dg", "-");
    plot_curve(engine, x, sampled(x, [](double v) { return 1.0 + linear_rise * v; }), "m", ":");
}

void log_log(ZarIdor& engine) {
    struct Power {
        double exponent;
        double last_x; // where the curve leaves the axes
        const char* color;
    };
    constexpr Power powers[] = {
        {2.0, 2.0, "r"}, {1.0, 4.0, "k"}, {0.5, 4.0, "b"}, {-1.0, 4.0, "dg"}};
    constexpr double inverse_scale = 4.0; // 4 / x runs through the whole range

    engine.layer("log-log");
    rizodozad::Axes* axes = panel(engine, 2, 2, 4, "Log-log: x^2, x, x^0.5, 4/x");
    engine.fix_limits(short_log_range, short_log_range);
    if (axes != nullptr) {
        axes->x_scale = logarithmic;
        axes->y_scale = logarithmic;
    }

    for (const Power& p : powers) {
        const std::vector<double> x =
            rizodozad::linspace(short_log_range[0], p.last_x, curve_points);
        const double scale = p.exponent < 0 ? inverse_scale : 1.0;
        plot_curve(engine, x,
                   sampled(x, [&p, scale](double v) { return scale * std::pow(v, p.exponent); }),
                   p.color, "-");
    }
}

} // namespace

void compose_log_axes_page(ZarIdor& engine) {
    logarithmic_x(engine);
    logarithmic_y(engine);
    log_log(engine);
}

} // namespace gallery
