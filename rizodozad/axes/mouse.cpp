// Selecting axes with the left button, reading off data coordinates in the selected
// axes, and turning three-dimensional axes by dragging.
#include <algorithm>
#include <cstddef>
#include <iostream>

#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

constexpr float min_elevation = -90.0f;
constexpr float max_elevation = 90.0f;
constexpr float full_turn = 360.0f;

// A point in normalised window coordinates: the window is the unit square, origin lower left.
struct WindowPoint {
    float x = 0;
    float y = 0;
};

// Both borders count as inside.
bool hits(const Axes& axes, WindowPoint p) {
    const auto& [left, bottom, width, height] = axes.position;
    return left <= p.x && p.x <= left + width && bottom <= p.y && p.y <= bottom + height;
}

// Data coordinates of p, linear over the limits whatever the axes' scales.
void capture(Axes& axes, WindowPoint p) {
    const auto& [left, bottom, width, height] = axes.position;
    const float fraction_x = (p.x - left) / width;
    const float fraction_y = (p.y - bottom) / height;
    axes.mouse_x = axes.x_lim[0] + (axes.x_lim[1] - axes.x_lim[0]) * fraction_x;
    axes.mouse_y = axes.y_lim[0] + (axes.y_lim[1] - axes.y_lim[0]) * fraction_y;
}

} // namespace

void Engine::axes_click(int button, int state, int x, int y) {
    if (button != mouse::left_button || state != mouse::pressed) return;
    mouse_down_x = static_cast<float>(x);
    mouse_down_y = static_cast<float>(y);
    // In floats: a press far outside the window must not overflow the flip of y.
    const auto height = static_cast<float>(app.window_height);
    const WindowPoint p{static_cast<float>(x) / static_cast<float>(app.window_width),
                        (height - static_cast<float>(y)) / height};
    if (app.debug_mouse) std::cout << "Left click: " << p.x << " " << p.y << "\n";

    // A press inside an axes that the previous press highlighted reads off its data there.
    // Every highlighted axes captures, not only the last one: the empty axes that a
    // composition stacks over its plots would otherwise keep a plot's read-out at zero.
    for (std::size_t k = 0; k < axes_list.size(); ++k) {
        Axes& axes = axes_list[k];
        const bool highlighted = axes.selected != 0 || static_cast<int>(k) == selected_axes;
        if (!highlighted || axes.visible == 0 || !hits(axes, p) || axes.mouse_capture != 1)
            continue;
        current_axes.select(k);
        capture(axes, p);
        if (app.debug_mouse)
            std::cout << "mouse capture: " << axes.mouse_x << " " << axes.mouse_y << "\n";
    }

    // Every visible axes under the point is marked; the last of them is the selection.
    selected_axes = -1;
    for (std::size_t k = 0; k < axes_list.size(); ++k) {
        current_axes.select(k);
        Axes& axes = axes_list[k];
        axes.selected = 0;
        if (axes.visible == 0 || !hits(axes, p)) continue;
        selected_axes = static_cast<int>(k);
        axes.selected = 1;
        if (axes.type == axes_type::three_d) {
            drag_start_azimuth = axes.view_azimuth;
            drag_start_elevation = axes.view_elevation;
        }
    }
    if (app.debug_mouse) std::cout << "selected axes" << selected_axes << "\n";
}

void Engine::axes_drag(int x, int y) {
    // The first axes, the one the engine makes for itself, is never turned.
    for (std::size_t k = 1; k < axes_list.size(); ++k) {
        current_axes.select(k);
        Axes& axes = axes_list[k];
        if (axes.selected == 0 || axes.type != axes_type::three_d) continue;
        // Angles are absolute from the press, so a drag accumulates no rounding.
        float azimuth = drag_start_azimuth - (static_cast<float>(x) - mouse_down_x);
        const float elevation =
            std::clamp((static_cast<float>(y) - mouse_down_y) + drag_start_elevation, min_elevation,
                       max_elevation);
        if (azimuth > full_turn) azimuth -= full_turn;
        if (azimuth < 0) azimuth += full_turn;
        axes.view_elevation = elevation;
        axes.view_azimuth = azimuth;
    }
}

} // namespace rizodozad
