// Drawing of a two-dimensional axes in the tidy layout: frame, grid, major and minor
// ticks, labels that share decimals, the rows of text around the frame and the
// read-out of the selected axes, all where the layout pass planned them.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rizodozad/axes/readout.h"
#include "rizodozad/axes/tidy_plan.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"
#include "rizodozad/core/print_mirror.h"

namespace rizodozad {

namespace {

constexpr double major_tick_px = 5;
constexpr double minor_tick_px = 3;

double text_px(const std::string& text) { return font::width_px(text); }

void segment_px(double x0, double y0, double x1, double y1) {
    draw::segment({x0, y0, 0}, {x1, y1, 0});
}

tidy::PixelBox frame_px(const Axes& axes, double ww, double wh) {
    const auto& p = axes.position;
    return {p[0] * ww, p[1] * wh, p[2] * ww, p[3] * wh};
}

tidy::ScreenAxis screen_axis(const std::array<double, 2>& lim, int scale, double length_px) {
    return {lim[0], lim[1], length_px, scale == axis_scale::logarithmic};
}

// The value at a fraction of the axis, along its own scale.
double value_at(const std::array<double, 2>& lim, int scale, double fraction) {
    if (scale == axis_scale::logarithmic && lim[0] > 0 && lim[1] > 0)
        return lim[0] * std::pow(lim[1] / lim[0], fraction);
    return lim[0] + (lim[1] - lim[0]) * fraction;
}

// The read-out of a selected axes: the captured point along the axes' own scales, and
// the nearest point of the nearest line, by its legend entry when names_lines is set.
std::string readout(const Axes& axes, const tidy::PixelBox& frame, const std::vector<Line>& lines,
                    bool names_lines) {
    const double fx = (axes.mouse_x - axes.x_lim[0]) / (axes.x_lim[1] - axes.x_lim[0]);
    const double fy = (axes.mouse_y - axes.y_lim[0]) / (axes.y_lim[1] - axes.y_lim[0]);
    const tidy::ScreenAxis x_axis = screen_axis(axes.x_lim, axes.x_scale, frame.width);
    const tidy::ScreenAxis y_axis = screen_axis(axes.y_lim, axes.y_scale, frame.height);
    const tidy::NearestPoint nearest = tidy::nearest_point(
        tidy::lines_of(axes, lines), fx * frame.width, fy * frame.height, x_axis, y_axis);
    return tidy::readout_text(value_at(axes.x_lim, axes.x_scale, fx),
                              value_at(axes.y_lim, axes.y_scale, fy), x_axis, y_axis, nearest,
                              names_lines ? axes.legend_names : std::vector<std::string>{});
}

using TextAt = std::function<void(double x, double baseline, const std::string& text)>;
using Place = std::function<double(double value)>; // data value to window pixels

void draw_frame(const Axes& axes, const tidy::PixelBox& frame) {
    print_mirror::set_line_width(axes.line_width);
    if (axes.selected) {
        print_mirror::screen_line_width(2 * axes.line_width); // wider on screen only
        print_mirror::line_width(axes.line_width);
    }
    const double right = frame.left + frame.width;
    const double top = frame.bottom + frame.height;
    draw::rectangle(GL_LINE_LOOP, frame.left, frame.bottom, right, top);
    print_mirror::set_line_width(axes.line_width);
}

// Grid lines at the major ticks, each with the style set again before it.
void draw_grid(const Axes& axes, const tidy::PixelBox& frame, const Place& x_at,
               const Place& y_at) {
    const auto pattern = print_mirror::grid_stipple(axes.grid_line_style);
    const auto stipple = [&] {
        if (pattern)
            print_mirror::stippled_lines(*pattern);
        else
            print_mirror::solid_lines();
    };
    if (axes.x_grid)
        for (double t : axes.x_tick) {
            stipple();
            segment_px(x_at(t), frame.bottom, x_at(t), frame.bottom + frame.height);
        }
    if (axes.y_grid)
        for (double t : axes.y_tick) {
            stipple();
            segment_px(frame.left, y_at(t), frame.left + frame.width, y_at(t));
        }
    print_mirror::solid_lines();
}

void draw_ticks(const Axes& axes, const tidy::PixelBox& frame, const Place& x_at,
                const Place& y_at) {
    const double direction = axes.tick_dir == "out" ? -1 : 1;
    for (const auto& [ticks, length] :
         {std::pair{&axes.x_tick, major_tick_px}, {&axes.x_minor_tick, minor_tick_px}})
        for (double t : *ticks)
            segment_px(x_at(t), frame.bottom, x_at(t), frame.bottom + direction * length);
    for (const auto& [ticks, length] :
         {std::pair{&axes.y_tick, major_tick_px}, {&axes.y_minor_tick, minor_tick_px}})
        for (double t : *ticks)
            segment_px(frame.left, y_at(t), frame.left + direction * length, y_at(t));
}

void draw_tick_labels(const Axes& axes, const tidy::PixelBox& frame, const Place& x_at,
                      const Place& y_at, const TextAt& text_at) {
    const std::vector<std::string> xl = tidy::labels_of(axes.x_tick, axes.x_scale).labels;
    const std::vector<std::string> yl = tidy::labels_of(axes.y_tick, axes.y_scale).labels;
    const double x_baseline = tidy::footer_baseline(frame, 0);
    for (std::size_t i = 0; i < xl.size(); ++i)
        text_at(x_at(axes.x_tick[i]) - text_px(xl[i]) / 2, x_baseline, xl[i]);
    const double centring = (tidy::text_ascent_px() - tidy::text_descent_px()) / 2;
    for (std::size_t i = 0; i < yl.size(); ++i)
        text_at(frame.left - tidy::tick_label_gap_px() - text_px(yl[i]),
                y_at(axes.y_tick[i]) - centring, yl[i]);
}

// Title, y header and read-out above the frame, x label and exponent below it.
void draw_header_and_footer(const Axes& axes, const tidy::PixelBox& slot,
                            const tidy::PixelBox& frame, const std::string& readout_text,
                            const TextAt& text_at) {
    const std::string y_header =
        tidy::joined(axes.y_label, tidy::labels_of(axes.y_tick, axes.y_scale).exponent);
    const std::string x_footer =
        tidy::joined(axes.x_label, tidy::labels_of(axes.x_tick, axes.x_scale).exponent);
    const auto [title_row, y_header_row, readout_row, x_footer_row] = axes.tidy_rows;
    const double room = slot.width - 2 * tidy::edge_gap_px();
    const auto fit = [&](const std::string& text) {
        return tidy::fitted(text, room, font::char_px);
    };
    if (title_row >= 0 && !axes.title.empty()) {
        const std::string title = fit(axes.title);
        text_at(tidy::title_left(slot, text_px(title)), tidy::header_baseline(frame, title_row),
                title);
    }
    if (y_header_row >= 0 && !y_header.empty())
        text_at(tidy::y_header_left(slot), tidy::header_baseline(frame, y_header_row),
                fit(y_header));
    if (readout_row >= 0 && !readout_text.empty()) {
        const std::string readout = fit(readout_text);
        text_at(tidy::readout_left(slot, frame, text_px(readout)),
                tidy::header_baseline(frame, readout_row), readout);
    }
    if (x_footer_row >= 0 && !x_footer.empty()) {
        const std::string footer = fit(x_footer);
        text_at(tidy::footer_left(slot, frame, text_px(footer)),
                tidy::footer_baseline(frame, x_footer_row), footer);
    }
}

} // namespace

void Engine::display_axes_2d_tidy() {
    const Axes* axes = current_axes.get();
    if (!axes) return;
    const double ww = app.window_width;
    const double wh = app.window_height;
    const auto& s = axes->tidy_slot_px;
    const tidy::PixelBox slot{s[0], s[1], s[2], s[3]};
    const tidy::PixelBox frame = frame_px(*axes, ww, wh);
    const TextAt text_at = [&](double x, double baseline, const std::string& text) {
        draw_string(static_cast<float>(x / ww), static_cast<float>(baseline / wh), text);
        draw::window_pixels(app.window_width, app.window_height);
    };
    const Place x_at = [&](double v) { return data_to_window_x(v) * ww; };
    const Place y_at = [&](double v) { return data_to_window_y(v) * wh; };

    draw::window_pixels(app.window_width, app.window_height);
    print_mirror::solid_lines();
    glColor3f(0, 0, 0);
    if (axes->box) {
        draw_frame(*axes, frame);
        draw_grid(*axes, frame, x_at, y_at);
        draw_ticks(*axes, frame, x_at, y_at);
        if (axes->show_tick_labels) draw_tick_labels(*axes, frame, x_at, y_at, text_at);
    }
    draw_header_and_footer(
        *axes, slot, frame,
        axes->selected ? readout(*axes, frame, line_list, app.readout_names_lines) : "", text_at);

    // The children draw in the frame's unit square.
    glViewport(static_cast<int>(frame.left), static_cast<int>(frame.bottom),
               static_cast<int>(frame.width), static_cast<int>(frame.height));
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
}

} // namespace rizodozad
