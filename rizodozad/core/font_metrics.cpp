// Character widths from the font itself, and whether a string's box is clear.
#include "rizodozad/core/font_metrics.h"

#include <GL/freeglut.h>

#include "rizodozad/core/pixel_box.h"

namespace rizodozad {

namespace font {

double char_px(unsigned char c) { return glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, c); }

double width_px(const std::string& text) {
    double width = 0;
    for (unsigned char c : text)
        width += char_px(c);
    return width;
}

} // namespace font

bool collides_with_drawn(const std::optional<DrawnText>& box, const std::vector<DrawnText>& drawn,
                         int window_width, int window_height) {
    if (!box) return true;
    if (box->left < 0 || box->bottom < 0 || box->left + box->width > window_width ||
        box->bottom + box->height > window_height)
        return true;
    const tidy::PixelBox b{box->left, box->bottom, box->width, box->height};
    for (const DrawnText& d : drawn)
        if (tidy::overlap(b, {d.left, d.bottom, d.width, d.height})) return true;
    return false;
}

} // namespace rizodozad
