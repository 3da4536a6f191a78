// The two-dimensional decoration of an axes (frame, read-out, grid, ticks, labels,
// title) and the black bitmap text that renderers write at window positions.
#include <GL/gl.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Sizes, in normalised window units or pixels
//-----------------------------------------------------------------------------

constexpr double tick_length = 0.01; // window units
constexpr double text_gap = 0.01;    // window units, between the frame and the texts around it
// The layout counts every character of the bitmap font as 6 by 12 pixels.
constexpr double char_width_px = 6;
constexpr double char_height_px = 12;
constexpr double tick_label_width_px = 24; // tick labels are placed as if 4 characters wide
constexpr double x_label_drop_px = 24;     // the x label hangs below the tick labels

//-----------------------------------------------------------------------------
// [SECTION] Grid line styles
//-----------------------------------------------------------------------------

void set_stipple(std::optional<GLushort> pattern) {
    if (pattern)
        print_mirror::stippled_lines(*pattern);
    else
        print_mirror::solid_lines();
}

// The read-out of a selected axes, as long as its values need: 1e300 prints 300 digits.
std::string mouse_readout(double x, double y) {
    constexpr const char* pattern = "Mouse:(%f,%f)";
    const int length = std::snprintf(nullptr, 0, pattern, x, y);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, x, y);
    return text;
}

//-----------------------------------------------------------------------------
// [SECTION] Decoration steps
//-----------------------------------------------------------------------------

// The frame of the axes in window fractions, in the float the position holds.
struct AxesBox {
    float left;
    float bottom;
    float width;
    float height;
    float right() const { return left + width; }
    float top() const { return bottom + height; }
};

AxesBox box_of(const Axes& axes) {
    return {axes.position[0], axes.position[1], axes.position[2], axes.position[3]};
}

// A selected axes is framed twice as wide on screen but keeps its width in a print.
void draw_frame(const Axes& axes, const AxesBox& f) {
    print_mirror::set_line_width(axes.line_width);
    if (axes.selected) {
        print_mirror::screen_line_width(2 * axes.line_width);
        print_mirror::line_width(axes.line_width);
    }
    draw::set_colour(draw::black);
    draw::rectangle(GL_LINE_LOOP, f.left, f.bottom, f.right(), f.top());
}

// Grid lines, each with the style set again before it.
void draw_grid(Engine& engine, const Axes& axes, const AxesBox& f) {
    const std::optional<GLushort> grid_pattern = print_mirror::grid_stipple(axes.grid_line_style);
    if (axes.x_grid) {
        print_mirror::set_line_width(axes.line_width);
        for (const double t : axes.x_tick) {
            set_stipple(grid_pattern);
            const double x = engine.data_to_window_x(t);
            draw::segment({x, f.bottom, 0}, {x, f.top(), 0});
        }
    }
    if (axes.y_grid) {
        for (const double t : axes.y_tick) {
            set_stipple(grid_pattern);
            const double y = engine.data_to_window_y(t);
            draw::segment({f.left, y, 0}, {f.right(), y, 0});
        }
    }
}

void draw_ticks(Engine& engine, const Axes& axes, const AxesBox& f) {
    const double reach = tick_length * (axes.tick_dir == "out" ? -1 : 1);
    set_stipple(std::nullopt);
    for (const double t : axes.x_tick) {
        const double x = engine.data_to_window_x(t);
        draw::segment({x, f.bottom, 0}, {x, f.bottom + reach, 0});
    }
    const double ww = engine.app.window_width;
    const double wh = engine.app.window_height;
    if (axes.show_tick_labels)
        for (const double t : axes.x_tick)
            engine.draw_string(
                static_cast<float>(engine.data_to_window_x(t) - (tick_label_width_px / ww) / 2),
                static_cast<float>(f.bottom - text_gap - char_height_px / wh),
                format_tick_label(t));
    for (const double t : axes.y_tick) {
        const double y = engine.data_to_window_y(t);
        draw::segment({f.left, y, 0}, {f.left + reach, y, 0});
    }
    if (axes.show_tick_labels)
        for (const double t : axes.y_tick)
            engine.draw_string(
                static_cast<float>(f.left - tick_label_width_px / ww - text_gap),
                static_cast<float>(engine.data_to_window_y(t) - (char_height_px / 2) / wh),
                format_tick_label(t));
}

// Title and axis labels, centred for characters of the nominal width.
void draw_names(Engine& engine, const Axes& axes, const AxesBox& f) {
    const double ww = engine.app.window_width;
    const double wh = engine.app.window_height;
    const auto centred_left = [&](const std::string& text) {
        return static_cast<float>(f.left + f.width / 2.0 - (text.size() * char_width_px / ww) / 2);
    };
    const auto above = static_cast<float>(f.top() + text_gap);
    engine.draw_string(centred_left(axes.title), above, axes.title);
    engine.draw_string(centred_left(axes.x_label),
                       static_cast<float>(f.bottom - text_gap - x_label_drop_px / wh),
                       axes.x_label);
    engine.draw_string(f.left, above, axes.y_label);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Two-dimensional decoration
//-----------------------------------------------------------------------------

void Engine::display_axes_2d() {
    const Axes* axes = current_axes.get();
    if (!axes) return;
    const AxesBox frame = box_of(*axes);

    draw::window_unit_square(app.window_width, app.window_height);
    set_stipple(std::nullopt);
    if (axes->box) {
        draw_frame(*axes, frame);
        if (axes->selected)
            draw_string(frame.left, static_cast<float>(frame.top() + text_gap),
                        mouse_readout(axes->mouse_x, axes->mouse_y));
        draw_grid(*this, *axes, frame);
        draw_ticks(*this, *axes, frame);
    }
    draw_names(*this, *axes, frame);

    // The children draw in the axes' unit square.
    draw::unit_square_in(axes->position, app.window_width, app.window_height);
}

//-----------------------------------------------------------------------------
// [SECTION] Window text
//-----------------------------------------------------------------------------

void Engine::draw_string(float x, float y, const std::string& text) {
    draw::window_unit_square(app.window_width, app.window_height);
    if (const auto box = draw::text({x, y}, text); box && !text.empty())
        drawn_texts.push_back(*box);
}

} // namespace rizodozad
