// The bitmap font every text is drawn in, carried by the program as data: each glyph's
// bitmap, placed and advanced as OpenGL's glBitmap places it. The data is written at
// build time from the font tables of the GLUT library (see rizodozad/generator), so
// that the program draws its text without asking a bitmap-font API for anything.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace rizodozad::glyph_data {

constexpr int glyph_count = 256; // one glyph per byte value

struct BitmapFont {
    const char* source = ""; // the name the font's tables give themselves
    int height = 0;          // rows of every glyph's bitmap
    float origin_x = 0;      // the pen's place in each bitmap, from its lower left corner
    float origin_y = 0;
    // Width of each glyph's bitmap in pixels, which is also how far it moves the pen.
    std::array<std::uint8_t, glyph_count> width{};
    // Where each glyph's rows start in bits: lowest row first, each row whole bytes
    // with the leftmost pixel in the high bit.
    std::array<std::uint16_t, glyph_count> offset{};
    const std::uint8_t* bits = nullptr;
};

// The 12-pixel Helvetica.
extern const BitmapFont helvetica_12;

// Bytes in one row of a glyph's bitmap of the given width.
constexpr int row_bytes(int width) { return (width + 7) / 8; }

// Whether the pixel at column x, row y (from the bottom) of glyph c is lit.
inline bool lit(const BitmapFont& font, unsigned char c, int x, int y) {
    const std::ptrdiff_t row_start =
        static_cast<std::ptrdiff_t>(y) * row_bytes(font.width[c]) + font.offset[c];
    const std::uint8_t* row = font.bits + row_start;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

} // namespace rizodozad::glyph_data
