// Colour bars: an axes of type 2 drawn as a framed strip of colormap cells with
// tick marks and labels for the colour axis.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "rizodozad/core/print_mirror.h"
#include "rizodozad/rizodozad.h"

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

} // namespace

void ZarIdor::display_colorbar() {
    Axes* axes = current_axes.get();
    if (axes == nullptr) return;
    // A colour bar takes its colours from the engine's map the first time it is drawn.
    if (axes->colormap.empty()) axes->colormap = current_colormap;

    const float left = axes->position[0];
    const float bottom = axes->position[1];
    const float width = axes->position[2];
    const float height = axes->position[3];
    const float right = left + width;
    const float top = bottom + height;

    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    print_mirror::solid_lines();

    //-------------------------------------------------------------------------
    // Frame, tick marks and labels
    //-------------------------------------------------------------------------
    if (axes->box != 0) {
        print_mirror::set_line_width(axes->line_width);
        glColor3f(0, 0, 0);
        glBegin(GL_LINE_LOOP);
        glVertex2f(left, bottom);
        glVertex2f(right, bottom);
        glVertex2f(right, top);
        glVertex2f(left, top);
        glEnd();

        double y = 0;
        for (double t : axes->c_tick) {
            if (!colour_height(*axes, t, y)) continue;
            glBegin(GL_LINE_STRIP);
            glVertex2d(right, y);
            glVertex2d(right + tick_mark_length, y);
            glEnd();
        }
        const auto label_x = static_cast<float>(right + tick_mark_length);
        for (double t : axes->c_tick)
            if (colour_height(*axes, t, y))
                draw_string(label_x, static_cast<float>(y), format_tick_label(t));
    }

    //-------------------------------------------------------------------------
    // Cells, bottom to top, no more than the bar's own colormap holds
    //-------------------------------------------------------------------------
    const Colormap& colours = axes->colormap;
    const std::size_t cells = std::min(current_colormap.size(), colours.size());
    const auto n = static_cast<float>(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const float y0 = static_cast<float>(i) * height / n + bottom;
        const float y1 = static_cast<float>(i + 1) * height / n + bottom;
        glColor3f(colours[i][0], colours[i][1], colours[i][2]);
        glBegin(GL_QUADS);
        glVertex2f(left, y0);
        glVertex2f(right, y0);
        glVertex2f(right, y1);
        glVertex2f(left, y1);
        glEnd();
    }
}

} // namespace rizodozad
