#include "rizodozad/core/draw.h"

#include <GL/glu.h>

#include <cmath>

#include "rizodozad/core/font_metrics.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/core/raster_pen.h"
#include "rizodozad/core/scales.h"

namespace rizodozad::draw {

namespace {

bool finite_as_float(double v) { return std::isfinite(static_cast<float>(v)); }

GlyphAtlas* screen_atlas = nullptr; // set while a ScreenGlyphs lives

bool rendering_to_screen() {
    GLint render_mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &render_mode);
    return render_mode == GL_RENDER;
}

void unit_square_projection() {
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Colour and viewports
//-----------------------------------------------------------------------------

void set_colour(const Rgb& colour) { glColor3f(colour[0], colour[1], colour[2]); }

void fraction_viewport(const std::array<float, 4>& rect, int window_width, int window_height) {
    const auto ww = static_cast<float>(window_width);
    const auto wh = static_cast<float>(window_height);
    glViewport(static_cast<int>(ww * rect[0]), static_cast<int>(wh * rect[1]),
               static_cast<int>(ww * rect[2]), static_cast<int>(wh * rect[3]));
}

void window_unit_square(int window_width, int window_height) {
    glViewport(0, 0, window_width, window_height);
    unit_square_projection();
}

void window_pixels(int window_width, int window_height) {
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    gluOrtho2D(0, window_width, 0, window_height);
}

void unit_square_in(const std::array<float, 4>& rect, int window_width, int window_height) {
    fraction_viewport(rect, window_width, window_height);
    unit_square_projection();
}

//-----------------------------------------------------------------------------
// [SECTION] Text
//-----------------------------------------------------------------------------

namespace {

std::optional<raster_pen::Pen> pen_at(const TextAnchor& anchor) {
    if (!placeable({anchor.x, anchor.y, anchor.z})) return std::nullopt;
    return raster_pen::place(anchor.x, anchor.y, anchor.z, anchor.shift_x_px, anchor.shift_y_px);
}

DrawnText box_at(const raster_pen::Pen& pen, const std::string& text) {
    return DrawnText{text, pen.x, static_cast<float>(pen.y - tidy::text_descent_px()),
                     static_cast<float>(font::width_px(text)),
                     static_cast<float>(tidy::text_height_px())};
}

} // namespace

std::optional<DrawnText> text_box(const TextAnchor& anchor, const std::string& text) {
    const std::optional<raster_pen::Pen> pen = pen_at(anchor);
    if (!pen) return std::nullopt;
    return box_at(*pen, text);
}

std::optional<DrawnText> text(const TextAnchor& anchor, const std::string& text,
                              const Rgb& colour) {
    set_colour(colour); // before the raster position, which takes the colour with it
    const std::optional<raster_pen::Pen> pen = pen_at(anchor);
    if (!pen) return std::nullopt;
    print_mirror::text(text); // only while an export page is open
    const DrawnText box = box_at(*pen, text);
    const auto scale = static_cast<float>(scales::in_force().text);
    if (screen_atlas == nullptr || !rendering_to_screen()) {
        raster_pen::draw_bitmaps(text, scale);
    } else {
        screen_atlas->draw(text, *pen, scale);
        raster_pen::advance(box.width);
    }
    return box;
}

ScreenGlyphs::ScreenGlyphs(GlyphAtlas* atlas) : previous_(screen_atlas) { screen_atlas = atlas; }

ScreenGlyphs::~ScreenGlyphs() { screen_atlas = previous_; }

//-----------------------------------------------------------------------------
// [SECTION] Vertices
//-----------------------------------------------------------------------------

bool placeable(const Point& p) {
    return finite_as_float(p[0]) && finite_as_float(p[1]) && finite_as_float(p[2]);
}

void vertex(const Point& p) { glVertex3d(p[0], p[1], p[2]); }

void Strip::add(const Point& p) {
    if (!placeable(p)) {
        end();
        return;
    }
    if (!open_) glBegin(GL_LINE_STRIP);
    open_ = true;
    vertex(p);
}

void Strip::end() {
    if (open_) glEnd();
    open_ = false;
}

void segment(const Point& from, const Point& to) {
    shape(GL_LINES, std::array<Point, 2>{from, to});
}

void rectangle(GLenum mode, double left, double bottom, double right, double top) {
    shape(mode, std::array<Point, 4>{
                    {{left, bottom, 0}, {right, bottom, 0}, {right, top, 0}, {left, top, 0}}});
}

} // namespace rizodozad::draw
