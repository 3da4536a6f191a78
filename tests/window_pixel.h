// What the X server shows in the current GL window: the picture the last buffer
// swap delivered, which reading the front buffer through OpenGL does not give here.
#pragma once

#include <array>

namespace testsupport {

// Whether red, green and blue are lit at pixel (x, y), counted from the top left.
std::array<bool, 3> window_pixel_lit(int x, int y);

} // namespace testsupport
