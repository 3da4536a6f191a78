// Boxes in window pixels, origin at the bottom left: the boxes of drawn strings, the
// slots and frames of the tidy layout, legend boxes. Plain arithmetic, no OpenGL.
#pragma once

namespace rizodozad::tidy {

struct PixelBox {
    double left = 0;
    double bottom = 0;
    double width = 0;
    double height = 0;
};

inline double right_of(const PixelBox& b) { return b.left + b.width; }
inline double top_of(const PixelBox& b) { return b.bottom + b.height; }

// Whether two boxes share more than their edges.
inline bool overlap(const PixelBox& a, const PixelBox& b) {
    return a.left < right_of(b) && b.left < right_of(a) && a.bottom < top_of(b) &&
           b.bottom < top_of(a);
}

} // namespace rizodozad::tidy
