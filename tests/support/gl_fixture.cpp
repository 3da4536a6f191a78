#include "tests/support/gl_fixture.h"

#include <GL/gl.h>

namespace testsupport {

void reset_gl_state() {
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glLineWidth(1);
    glPointSize(1);
    glLineStipple(1, 0xFFFF);
    glDisable(GL_LINE_STIPPLE);
    glDisable(GL_DEPTH_TEST);
    glRasterPos2f(0, 0);
}

void size_like_window(rizodozad::ZarIdor& engine) {
    engine.window_width = window_width;
    engine.window_height = window_height;
}

} // namespace testsupport
