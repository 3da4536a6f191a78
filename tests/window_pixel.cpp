// Kept apart from the tests: Xlib's macros (None, Bool) clash with GoogleTest.
#include "window_pixel.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xutil.h>

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

} // namespace testsupport
