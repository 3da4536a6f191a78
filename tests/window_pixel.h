// What the X server shows in the current GL window: the picture the last buffer
// swap delivered, which reading the front buffer through OpenGL does not give here.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace testsupport {

// Whether red, green and blue are lit at pixel (x, y), counted from the top left.
std::array<bool, 3> window_pixel_lit(int x, int y);

// The top left width x height pixels as 8-bit red, green, blue, rows from the top;
// empty when the server gives no image.
std::vector<std::uint8_t> window_rgb(int width, int height);

} // namespace testsupport
