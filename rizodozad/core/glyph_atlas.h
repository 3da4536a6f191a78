// Strings of the 12-pixel Helvetica bitmap font drawn as textured quads of one texture
// made from the font's own glyphs: the same pixels as glutBitmapCharacter, at a fraction
// of its cost on a software renderer.
#pragma once

#include <GL/gl.h>

#include <array>
#include <string>

namespace rizodozad {

class GlyphAtlas {
  public:
    GlyphAtlas() = default;
    ~GlyphAtlas();
    GlyphAtlas(const GlyphAtlas&) = delete;
    GlyphAtlas& operator=(const GlyphAtlas&) = delete;

    // Draws text at the current raster position in the current raster colour, and moves
    // the raster position past it, as the bitmap characters would. Nothing is drawn when
    // the raster position is invalid. False when the atlas cannot be made here (the
    // window is smaller than its scratch area); the caller then draws bitmaps.
    bool draw(const std::string& text);

    // Where a glyph lies in the texture and relative to the pen, in pixels.
    struct Glyph {
        int left = 0; // offset of the glyph's box from the pen position
        int bottom = 0;
        int width = 0; // 0 for glyphs without pixels
        int height = 0;
        int texture_x = 0;
        int texture_y = 0;
        int advance = 0;
    };

  private:
    bool build();
    void draw_quads(const std::string& text, const GLfloat raster[4]) const;

    GLuint texture_ = 0;
    // Quads are placed in window pixels through a viewport as large as OpenGL allows, so
    // that no window size is asked for on every string and glyphs anywhere in the window
    // are reached.
    std::array<GLint, 2> quad_viewport_{1, 1};
    bool built_ = false;
    std::array<Glyph, 256> glyphs_{};
};

// Draws text at the current raster position with glutBitmapCharacter, byte by byte.
void draw_bitmap_string(const std::string& text);

} // namespace rizodozad
