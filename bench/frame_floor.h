// The floor of a redraw: the segments and characters an engine frame drew, captured
// through feedback mode and drawn again with plain OpenGL the cheapest way found here
// (segments from one vertex array, each character a textured quad of one glyph texture).
// Shared by the redraw benchmarks.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "rizodozad/rizodozad.h"

namespace benchsupport {

// What one frame of the application draws, in window pixels.
struct FrameContents {
    std::vector<GLfloat> segments;   // x0 y0 x1 y1 per segment
    std::vector<GLfloat> characters; // x y per character
};

// Runs a display cycle of the engine in feedback mode and keeps what it drew.
FrameContents capture_frame_contents(rizodozad::ZarIdor& engine);

// A texture holding a box-shaped glyph: what it shows does not change the cost of a quad.
GLuint make_glyph_texture();

// Quad corners and texture coordinates of every character, in window pixels.
struct GlyphQuads {
    std::vector<GLfloat> corners;
    std::vector<GLfloat> texture_coordinates;
};
GlyphQuads glyph_quads(const FrameContents& frame);

// The frame drawn again on a window of width x height pixels, and swapped.
void draw_true_floor(const FrameContents& frame, const GlyphQuads& quads, GLuint texture, int width,
                     int height);

} // namespace benchsupport
