// Page 1: the four line styles, line widths, the marker symbols and error bars,
// one quarter of the window each.
#include <array>
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::ZarIdor;

using rizodozad::pi;
constexpr int curve_points = 120;
constexpr int rows = 2;
constexpr int columns = 2;

// Curves are stacked: each one a small wave around its own level.
constexpr double wave_height = 0.3;
constexpr Limits wave_x{0.0, 2.0 * pi};
constexpr Limits stacked_y{0.0, 5.0};

std::vector<double> wave_at(const std::vector<double>& x, double level) {
    return sampled(x, [level](double v) { return level + wave_height * std::sin(2.0 * v); });
}

void line_styles(ZarIdor& engine) {
    struct Style {
        const char* style;
        const char* color;
    };
    constexpr std::array<Style, 4> styles{{{"-", "b"}, {"- -", "r"}, {":", "dg"}, {"-.", "m"}}};
    constexpr float width = 1.5f;

    engine.layer("line styles");
    panel(engine, rows, columns, 1, "Line styles  -   - -   :   -.");
    engine.fix_limits(wave_x, stacked_y);
    const std::vector<double> x = rizodozad::linspace(wave_x[0], wave_x[1], curve_points);
    double level = 4.0;
    for (const Style& s : styles) {
        engine.plot(x, wave_at(x, level));
        engine.set(s.color);
        engine.set(s.style);
        engine.set_line_width(width);
        level -= 1.0;
    }
}

void line_widths(ZarIdor& engine) {
    constexpr std::array<float, 4> widths{0.5f, 1.0f, 2.0f, 4.0f};

    engine.layer("line widths");
    panel(engine, rows, columns, 2, "Line widths 0.5, 1, 2, 4");
    engine.fix_limits(wave_x, stacked_y);
    const std::vector<double> x = rizodozad::linspace(wave_x[0], wave_x[1], curve_points);
    double level = 4.0;
    for (float width : widths) {
        engine.plot(x, wave_at(x, level));
        engine.set("db");
        engine.set_line_width(width);
        level -= 1.0;
    }
}

void markers(ZarIdor& engine) {
    struct Marker {
        const char* symbol;
        const char* color;
    };
    constexpr std::array<Marker, 10> symbols{{{".", "k"},
                                              {"+", "r"},
                                              {"x", "b"},
                                              {"d", "dg"},
                                              {"^", "m"},
                                              {"v", "dc"},
                                              {"o", "uo"},
                                              {"*", "um"},
                                              {"s", "ub"},
                                              {"|", "ubr"}}};
    constexpr int points_per_row = 9;
    constexpr float marker_size = 10.0f;
    constexpr float point_width = 4.0f; // a point marker is as large as the line is wide
    constexpr float outline_width = 1.0f;

    engine.layer("markers");
    panel(engine, rows, columns, 3, "Markers  .  +  x  d  ^  v  o  *  s  |");
    engine.fix_limits({0.0, points_per_row + 1.0}, {0.0, symbols.size() + 1.0});
    const std::vector<double> x = rizodozad::linspace(1.0, points_per_row, points_per_row);
    double row = symbols.size();
    for (const Marker& m : symbols) {
        engine.plot(x, std::vector<double>(x.size(), row));
        engine.set(m.color);
        engine.set(m.symbol);
        set_marker_size(engine, marker_size);
        engine.set_line_width(m.symbol[0] == '.' ? point_width : outline_width);
        row -= 1.0;
    }
}

void error_bars(ZarIdor& engine) {
    // Readings around the line y = 0.5 x + 0.5, each with its own spread.
    constexpr std::array<double, 10> scatter{0.3, -0.2, 0.4, 0.1, -0.4, 0.2, -0.1, 0.5, -0.3, 0.1};
    constexpr double slope = 0.5;
    constexpr double intercept = 0.5;
    constexpr double base_error = 0.3;
    constexpr double error_growth = 0.06; // errors widen along x
    constexpr double lower_share = 0.7;   // the spread reaches less far below than above
    constexpr Limits reading_y{0.0, 7.0};
    constexpr float marker_size = 8.0f;
    constexpr float width = 1.0f;

    engine.layer("error bars");
    panel(engine, rows, columns, 4, "Error bars and a fitted line");
    engine.fix_limits({0.0, scatter.size() + 1.0}, reading_y);
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> upper;
    std::vector<double> lower;
    for (std::size_t i = 0; i < scatter.size(); ++i) {
        const double xi = static_cast<double>(i + 1);
        x.push_back(xi);
        y.push_back(slope * xi + intercept + scatter[i]);
        const double spread = base_error + error_growth * xi;
        upper.push_back(spread);
        lower.push_back(lower_share * spread);
    }

    const std::vector<double> fit_x{0.0, scatter.size() + 1.0};
    engine.plot(fit_x, sampled(fit_x, [](double v) { return slope * v + intercept; }));
    engine.set("r");
    engine.set("- -");

    engine.plot(x, y);
    engine.set("k");
    engine.set("o");
    set_marker_size(engine, marker_size);
    engine.set_line_width(width);
    if (rizodozad::Line* line = engine.current_line()) {
        line->error_bar = 1;
        line->error_upper = upper;
        line->error_lower = lower;
    }
}

} // namespace

void compose_lines_page(ZarIdor& engine) {
    line_styles(engine);
    line_widths(engine);
    markers(engine);
    error_bars(engine);
}

} // namespace gallery
