// Colour bars: an axes of type 2 drawn as a framed strip of colormap cells with
// tick marks and labels for the colour axis.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/axes/tidy_frame.h"
#include "rizodozad/axes/tidy_plan.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"

namespace rizodozad {

namespace {

constexpr double tick_mark_length = 0.01; // window fraction, to the right of the bar

// Window height fraction of colour value t; false when the colour axis has no
// extent (equal or non-finite limits) or t lies beyond what OpenGL's floats reach.
bool colour_height(const Axes& axes, double t, double& y) {
    const double lower = axes.c_lim[0];
    const double range = axes.c_lim[1] - lower;
    if (!std::isfinite(range) || range == 0) return false;
    y = axes.position[1] + axes.position[3] * (t - lower) / range;
    return std::isfinite(static_cast<float>(y));
}

// The bar's rectangle in window fractions, in the float the position holds.
struct Bar {
    float left;
    float bottom;
    float right;
    float top;
    float height;
};

Bar bar_of(const Axes& axes) {
    const auto& [left, bottom, width, height] = axes.position;
    return {left, bottom, left + width, bottom + height, height};
}

// tick_length: window fraction; the tidy layout's labels leave a fixed pixel length for it.
void draw_frame_and_marks(const Axes& axes, const Bar& bar, double tick_length) {
    print_mirror::set_line_width(axes.line_width);
    draw::set_colour(draw::black);
    draw::rectangle(GL_LINE_LOOP, bar.left, bar.bottom, bar.right, bar.top);
    double y = 0;
    for (double t : axes.c_tick)
        if (colour_height(axes, t, y))
            draw::shape(GL_LINE_STRIP, std::array<draw::Point, 2>{
                                           {{bar.right, y, 0}, {bar.right + tick_length, y, 0}}});
}

// Cells, bottom to top, no more than the bar's own colormap holds.
void draw_cells(const Colormap& colours, std::size_t cells, const Bar& bar) {
    const float height = bar.height;
    const auto n = static_cast<float>(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const float y0 = static_cast<float>(i) * height / n + bar.bottom;
        const float y1 = static_cast<float>(i + 1) * height / n + bar.bottom;
        draw::set_colour(colours[i]);
        draw::rectangle(GL_QUADS, bar.left, y0, bar.right, y1);
    }
}

} // namespace

// Labels sharing decimals, centred on their ticks, beyond tick marks of fixed pixel length.
void Engine::draw_tidy_colour_labels(const Axes& bar) {
    const std::vector<std::string> labels = tidy::colour_bar_labels(bar.c_tick);
    const double ww = app.window_width;
    const double wh = app.window_height;
    const double label_left = (bar.position[0] + bar.position[2]) * ww + tidy::colorbar_tick_px() +
                              tidy::tick_label_gap_px();
    const double centring = (tidy::text_ascent_px() - tidy::text_descent_px()) / 2;
    double y = 0;
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (colour_height(bar, bar.c_tick[i], y))
            draw_string(static_cast<float>(label_left / ww),
                        static_cast<float>((y * wh - centring) / wh), labels[i]);
}

void Engine::display_colorbar() {
    Axes* axes = current_axes.get();
    if (axes == nullptr) return;
    // A colour bar takes its colours from the engine's map the first time it is drawn.
    if (axes->colormap.empty()) axes->colormap = current_colormap;
    const Bar bar = bar_of(*axes);

    draw::window_unit_square(app.window_width, app.window_height);
    print_mirror::solid_lines();
    if (axes->box != 0) {
        const double tick_length =
            app.tidy_layout ? tidy::colorbar_tick_px() / app.window_width : tick_mark_length;
        draw_frame_and_marks(*axes, bar, tick_length);
        const auto label_x = static_cast<float>(bar.right + tick_mark_length);
        double y = 0;
        if (app.tidy_layout)
            draw_tidy_colour_labels(*axes);
        else
            for (double t : axes->c_tick)
                if (colour_height(*axes, t, y))
                    draw_string(label_x, static_cast<float>(y), format_tick_label(t));
    }
    draw_cells(axes->colormap, std::min(current_colormap.size(), axes->colormap.size()), bar);
}

} // namespace rizodozad
