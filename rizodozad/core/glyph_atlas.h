// Strings of the carried 12-pixel Helvetica drawn as textured quads of one texture made
// from the glyph data: at scale 1 the same pixels as the font's bitmaps, at a fraction of
// their cost on a software renderer, and magnified without blur at larger scales.
#pragma once

#include <GL/gl.h>

#include <array>
#include <string>

#include "rizodozad/core/glyph_data.h"
#include "rizodozad/core/raster_pen.h"

namespace rizodozad {

class GlyphAtlas {
  public:
    GlyphAtlas() = default;
    ~GlyphAtlas();
    GlyphAtlas(const GlyphAtlas&) = delete;
    GlyphAtlas& operator=(const GlyphAtlas&) = delete;

    // Draws text from the pen in the current colour, each font pixel scale window pixels
    // wide and high, at the pen's depth.
    void draw(const std::string& text, const raster_pen::Pen& pen, float scale);

    // Where a glyph's bitmap lies in the texture and relative to the pen, in font pixels.
    struct Glyph {
        int left = 0; // offset of the bitmap from the pen position
        int bottom = 0;
        int width = 0; // 0 for glyphs without lit pixels
        int height = 0;
        int texture_x = 0;
        int texture_y = 0;
        int advance = 0;
    };

  private:
    void build();
    void draw_quads(const std::string& text, const raster_pen::Pen& pen, float scale) const;

    GLuint texture_ = 0;
    std::array<int, 2> texture_size_{1, 1};
    // Quads are placed in window pixels through a viewport as large as OpenGL allows, so
    // that no window size is asked for on every string and glyphs anywhere in the window
    // are reached.
    std::array<GLint, 2> quad_viewport_{1, 1};
    std::array<Glyph, glyph_data::glyph_count> glyphs_{};
};

} // namespace rizodozad
