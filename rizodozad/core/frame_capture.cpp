// Reading the window's finished picture back from OpenGL.
#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

#include "rizodozad/core/engine.h"
#include "rizodozad/core/pictures.h"

namespace rizodozad {

namespace {

constexpr int bytes_per_pixel = 3;

// OpenGL hands rows bottom up; a Frame holds them top down.
void flip_rows(Frame& frame) {
    const std::size_t row_bytes = std::size_t(frame.width) * bytes_per_pixel;
    for (int top = 0, bottom = frame.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(frame.rgb.begin() + top * row_bytes,
                         frame.rgb.begin() + (top + 1) * row_bytes,
                         frame.rgb.begin() + bottom * row_bytes);
}

} // namespace

Frame capture_frame(int width, int height) {
    Frame frame;
    if (width <= 0 || height <= 0) return frame;
    frame.width = width;
    frame.height = height;
    frame.rgb.resize(std::size_t(width) * std::size_t(height) * bytes_per_pixel);

    GLint read_buffer = GL_BACK;
    GLint pack_alignment = 4;
    glGetIntegerv(GL_READ_BUFFER, &read_buffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack_alignment);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, pack_alignment);
    glReadBuffer(static_cast<GLenum>(read_buffer));
    flip_rows(frame);
    return frame;
}

Frame Engine::capture_picture() {
    Frame frame;
    capture_target_ = &frame;
    display_cycle();
    capture_target_ = nullptr;
    return frame;
}

} // namespace rizodozad
