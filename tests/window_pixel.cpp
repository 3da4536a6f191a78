// Kept apart from the tests: Xlib's macros (None, Bool) clash with GoogleTest.
#include "window_pixel.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

namespace testsupport {

std::array<bool, 3> window_pixel_lit(int x, int y) {
    glFinish();
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) return {};
    XSync(display, False);
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    const unsigned long pixel = XGetPixel(image, 0, 0);
    const std::array<bool, 3> lit{(pixel & image->red_mask) != 0, (pixel & image->green_mask) != 0,
                                  (pixel & image->blue_mask) != 0};
    XDestroyImage(image);
    return lit;
}

namespace {

// The 8-bit level of one channel of an X pixel, whatever its mask.
std::uint8_t channel_level(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / top);
}

} // namespace

std::vector<std::uint8_t> window_rgb(int width, int height) {
    glFinish();
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) return {};
    XSync(display, False);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rgb.push_back(channel_level(pixel, image->red_mask));
            rgb.push_back(channel_level(pixel, image->green_mask));
            rgb.push_back(channel_level(pixel, image->blue_mask));
        }
    XDestroyImage(image);
    return rgb;
}

} // namespace testsupport
