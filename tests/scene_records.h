// Helpers of the surface, patch, text and colour-bar tests: an engine holding one
// axes whose children are filled in by hand, the way a creator would, and an EPS
// page exported in memory.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gl2ps.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "rizodozad/core/engine.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/memory_eps.h"

namespace scene {

using rizodozad::make_handle;
namespace kind = rizodozad::kind;

constexpr float tolerance = 0.02f; // window pixels: feedback coordinates are not exact

// An engine sized like the test window with one current axes.
inline void add_axes(rizodozad::ZarIdor& engine, int type = 0) {
    rizodozad::Axes axes;
    axes.handle = make_handle(0, kind::axes);
    axes.type = type;
    internals(engine).axes_list.push_back(axes);
    internals(engine).current_axes.select(0);
    testsupport::size_like_window(engine);
}

inline void add_surface(rizodozad::ZarIdor& engine, const rizodozad::Surface& surface) {
    const int index = static_cast<int>(internals(engine).surface_list.size());
    internals(engine).surface_list.push_back(surface);
    internals(engine).surface_list.back().handle = make_handle(index, kind::surface);
    internals(engine).axes_list[0].children.push_back(make_handle(index, kind::surface));
    internals(engine).current_surface.select(static_cast<std::size_t>(index));
}

// The whole window as the unit square, as the 2D axes leave it for a full-window axes.
inline void unit_square_view() {
    glViewport(0, 0, testsupport::window_width, testsupport::window_height);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
}

// The cube -1..1 straight on: x and y fill the window, z = -1 comes back at depth 1.
inline void flat_cube_view() {
    glViewport(0, 0, testsupport::window_width, testsupport::window_height);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
}

inline bool near_point(const testsupport::FeedbackVertex& v, float x, float y) {
    return std::abs(v.x - x) < tolerance && std::abs(v.y - y) < tolerance;
}

// The EPS text of one GL2PS page of the whole window around draw().
inline std::string eps_page(const std::function<void()>& draw) {
    glViewport(0, 0, testsupport::window_width, testsupport::window_height);
    return testsupport::export_eps_in_memory(draw);
}

} // namespace scene
