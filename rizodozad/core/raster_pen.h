// Where text starts on the window, and the bitmap characters that captures see: the one
// place where the desktop's OpenGL (raster position, glBitmap) and the browser's (which
// has neither) differ for text.
#pragma once

#include <optional>
#include <string>

namespace rizodozad::raster_pen {

// A string's starting point in window pixels (origin at the bottom left) and its depth
// in the depth buffer's range.
struct Pen {
    float x = 0;
    float y = 0;
    float z = 0;
};

// The pen at a point of the current projection moved by whole pixels on the window, as
// the raster position would be; nothing when the point lies outside the view, where
// OpenGL would draw no bitmap either. On the desktop the raster position is left there.
std::optional<Pen> place(float x, float y, float z, float shift_x_px, float shift_y_px);

// The same worked out from the current matrices and viewport alone: what the browser
// uses, and what the raster position must agree with.
std::optional<Pen> projected(float x, float y, float z, float shift_x_px, float shift_y_px);

// Moves the raster position on by the drawn text's advance, as bitmap characters would.
void advance(float advance_px);

// Draws the string as bitmaps from the carried glyphs at the raster position, each
// advancing by its width times scale: what feedback captures (GL2PS's among them) see.
// Draws nothing where there are no bitmaps.
void draw_bitmaps(const std::string& text, float scale);

} // namespace rizodozad::raster_pen
