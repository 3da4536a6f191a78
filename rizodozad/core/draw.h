// The drawing jobs every renderer shares: text, colour, viewports and vertices. Each
// job has one routine here, so a change to how text or vertices reach OpenGL (and,
// while an EPS page is open, GL2PS) is made in one place.
#pragma once

#include <GL/gl.h>

#include <array>
#include <optional>
#include <string>

#include "rizodozad/core/glyph_atlas.h"
#include "rizodozad/records.h"

namespace rizodozad::draw {

//-----------------------------------------------------------------------------
// [SECTION] Colour and viewports
//-----------------------------------------------------------------------------

constexpr Rgb black{0, 0, 0};

void set_colour(const Rgb& colour);

// The viewport of a rectangle given as window fractions (left, bottom, width, height).
void fraction_viewport(const std::array<float, 4>& rect, int window_width, int window_height);

// The whole window as the unit square 0..1 x 0..1: where axes decoration and window
// text are drawn.
void window_unit_square(int window_width, int window_height);

// The whole window in pixels, origin at the bottom left: where the tidy layout draws.
void window_pixels(int window_width, int window_height);

// A rectangle of window fractions as the unit square: where an axes' children draw.
void unit_square_in(const std::array<float, 4>& rect, int window_width, int window_height);

//-----------------------------------------------------------------------------
// [SECTION] Text
//-----------------------------------------------------------------------------

// Where a string starts: a point in the current projection, then moved by whole
// pixels on the window (to centre a label on its point, for instance).
struct TextAnchor {
    float x = 0;
    float y = 0;
    float z = 0;
    float shift_x_px = 0;
    float shift_y_px = 0;
};

// Every string goes through here: the carried Helvetica 12 at the text scale in force
// from the anchor, and the same string handed to the open EPS page. A string whose
// anchor cannot be placed is not drawn.
// On screen the glyphs come from the atlas of the ScreenGlyphs in force, when there is
// one; otherwise, and while GL2PS (or anyone) captures in feedback mode, they are bitmap
// characters, so a capture sees one bitmap per character and the EPS holds the text as
// text. Returns the box it was drawn in, in window pixels: where OpenGL put the raster
// position, as wide as the font's characters; empty when nothing was drawn.
std::optional<DrawnText> text(const TextAnchor& anchor, const std::string& text,
                              const Rgb& colour = black);

// Where text from the anchor would be drawn, without drawing it (the raster position
// is left there); empty when the anchor cannot be placed.
std::optional<DrawnText> text_box(const TextAnchor& anchor, const std::string& text);

// While an object of this kind lives, on-screen text is drawn from atlas (none: bitmaps).
// The display pass holds one around its drawing; the one before is restored at its end.
class ScreenGlyphs {
  public:
    explicit ScreenGlyphs(GlyphAtlas* atlas);
    ~ScreenGlyphs();
    ScreenGlyphs(const ScreenGlyphs&) = delete;
    ScreenGlyphs& operator=(const ScreenGlyphs&) = delete;

  private:
    GlyphAtlas* previous_;
};

//-----------------------------------------------------------------------------
// [SECTION] Vertices
//-----------------------------------------------------------------------------

// A point in the current projection; two-dimensional drawing leaves z at 0.
using Point = std::array<double, 3>;

// A NaN or an infinity (the logarithm of a value at or below zero, limits without
// extent, a value beyond float) must reach neither OpenGL nor the EPS page: a point
// is drawn only when every coordinate is finite as OpenGL's float.
bool placeable(const Point& p);

void vertex(const Point& p); // for callers that have checked placeable()

// A line strip that breaks where a point cannot be placed; a strip of placeable points
// is sent exactly as glBegin(GL_LINE_STRIP) ... glEnd() would send it.
class Strip {
  public:
    Strip() = default;
    Strip(const Strip&) = delete;
    Strip& operator=(const Strip&) = delete;
    ~Strip() { end(); }

    void add(const Point& p);
    void end();

  private:
    bool open_ = false;
};

// One straight piece as GL_LINES; nothing when either end cannot be placed.
void segment(const Point& from, const Point& to);

// A closed shape (GL_LINE_LOOP, GL_TRIANGLES, GL_QUADS, GL_POLYGON), drawn only when
// every corner can be placed.
template <class Corners> void shape(GLenum mode, const Corners& corners) {
    for (const Point& corner : corners)
        if (!placeable(corner)) return;
    glBegin(mode);
    for (const Point& corner : corners)
        vertex(corner);
    glEnd();
}

// An axis-aligned rectangle in the plane z = 0, corners counter-clockwise from the bottom
// left, as a shape of the given mode (GL_LINE_LOOP for a frame, GL_QUADS for a fill).
void rectangle(GLenum mode, double left, double bottom, double right, double top);

} // namespace rizodozad::draw
