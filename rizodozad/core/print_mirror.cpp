#include "rizodozad/core/print_mirror.h"

#include <gl2ps.h>

#include <cmath>

#include "rizodozad/core/scales.h"
#include "rizodozad/core/text_escape.h"

namespace rizodozad::print_mirror {

namespace {

constexpr float font_size_at_scale_1 = 12;

float line_scaled(float width) { return width * static_cast<float>(scales::in_force().line); }

} // namespace

bool page_open() {
    GLint options = 0;
    return gl2psGetOptions(&options) == GL2PS_SUCCESS;
}

void line_width(float width) {
    if (page_open()) gl2psLineWidth(line_scaled(width));
}

void point_size(float size) {
    if (page_open()) gl2psPointSize(line_scaled(size));
}

void stipple(bool enabled) {
    if (!page_open()) return;
    if (enabled)
        gl2psEnable(GL2PS_LINE_STIPPLE);
    else
        gl2psDisable(GL2PS_LINE_STIPPLE);
}

namespace {

// GL2PS copies a string into the file as it is, so each format needs its own escapes.
std::string escaped_for_page(const std::string& text) {
    switch (gl2psGetFileFormat()) {
    case GL2PS_EPS:
    case GL2PS_PS:
        return text_escape::postscript_string(text);
    case GL2PS_PDF:
        return text_escape::pdf_string(text);
    case GL2PS_SVG:
        return text_escape::svg_text(text);
    default:
        return text;
    }
}

} // namespace

void text(const std::string& text) {
    const auto size =
        static_cast<GLshort>(std::lround(font_size_at_scale_1 * scales::in_force().text));
    if (page_open()) gl2psText(escaped_for_page(text).c_str(), "Arial", size);
}

void solid_lines() {
    glDisable(GL_LINE_STIPPLE);
    stipple(false);
}

void stippled_lines(unsigned short pattern) {
    constexpr GLint stipple_factor = 1;
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(stipple_factor, pattern);
    stipple(true);
}

void set_line_width(float width) {
    screen_line_width(width);
    line_width(width);
}

void screen_line_width(float width) { glLineWidth(line_scaled(width)); }

void screen_point_size(float size) { glPointSize(line_scaled(size)); }

std::optional<unsigned short> grid_stipple(const std::string& style) {
    if (style == "-") return std::nullopt;
    if (style == "- -") return dashed_pattern;
    if (style == "-.") return dash_dot_pattern;
    return dotted_pattern;
}

} // namespace rizodozad::print_mirror
