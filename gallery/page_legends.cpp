// Page 7: legends and a figure text. Each plot names its lines in a box that takes the
// corner hiding the least data; a status line sits at the window's bottom edge.
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::ZarIdor;

constexpr int curve_points = 60;
using rizodozad::axis_scale::logarithmic;
constexpr float curve_width = 1.5f;
constexpr Limits time_range{0.0, 10.0};
constexpr Limits response_range{-1.0, 1.0};
constexpr Limits power_range{1.0, 1e4};
constexpr Limits power_values{1.0, 1e8};
constexpr double decay_time = 4.0;
constexpr float status_x_px = 6;
constexpr float status_y_px = 6;

void plot_named(ZarIdor& engine, const std::vector<double>& x, const std::vector<double>& y,
                const char* color, const char* style) {
    engine.plot(x, y);
    engine.set(color);
    engine.set(style);
    engine.set_line_width(curve_width);
}

void responses(ZarIdor& engine) {
    engine.layer("responses");
    rizodozad::Axes* axes = panel(engine, 1, 2, 1, "Damped responses");
    engine.fix_limits(time_range, response_range);
    if (axes != nullptr) {
        axes->x_label = "time (s)";
        axes->y_label = "x (m)";
    }
    const std::vector<double> t = rizodozad::linspace(time_range[0], time_range[1], curve_points);
    plot_named(engine, t, sampled(t, [](double v) { return std::exp(-v / decay_time); }), "k", ":");
    plot_named(engine, t,
               sampled(t, [](double v) { return std::exp(-v / decay_time) * std::cos(2 * v); }),
               "b", "-");
    plot_named(engine, t,
               sampled(t, [](double v) { return -std::exp(-v / decay_time) * std::sin(v); }), "r",
               "- -");
    engine.set("o");
    engine.legend({"envelope", "cos(2t) damped", "-sin(t) damped"});
}

void powers(ZarIdor& engine) {
    engine.layer("powers");
    rizodozad::Axes* axes = panel(engine, 1, 2, 2, "Powers of x on log-log axes");
    engine.fix_limits(power_range, power_values);
    if (axes != nullptr) {
        axes->x_scale = logarithmic;
        axes->y_scale = logarithmic;
        axes->x_label = "x";
    }
    std::vector<double> x;
    for (int i = 0; i < curve_points; ++i)
        x.push_back(std::pow(power_range[1], static_cast<double>(i) / (curve_points - 1)));
    plot_named(engine, x, sampled(x, [](double v) { return v; }), "b", "-");
    plot_named(engine, x, sampled(x, [](double v) { return v * v; }), "r", "- -");
    plot_named(engine, x, sampled(x, [](double v) { return std::sqrt(v); }), "dg", "-.");
    engine.legend({"x", "x^2", "sqrt(x)"});
}

} // namespace

void compose_legends_page(ZarIdor& engine) {
    responses(engine);
    powers(engine);
    engine.figure_text(status_x_px, status_y_px,
                       "figure_text: a status line at window pixel (6, 6)");
}

} // namespace gallery
